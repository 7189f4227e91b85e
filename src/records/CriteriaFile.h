#pragma once

#include "records/LevelCriteria.h"

#include <QString>
#include <QStringList>
#include <vector>

struct AppState;

// "タイム回数データ.txt" of the drill's data folder: a header line, then one line of
// 12 fields per level, read as one comma/line item stream.

inline constexpr int criteriaFields = 12;
inline constexpr int criteriaLevels = 35; // room in the table for levels 1..35

// The header line every save writes (without its line end).
QString criteriaHeaderLine();
QString criteriaFilePath(const AppState& state);

struct CriteriaParse {
    bool ok = false;
    CriteriaTable table{};   // the previous table with slots 1..levels replaced
    int levels = 0;          // level lines read
    bool extraLines = false; // lines beyond level 35 were left unread
    QString error;           // why the text was refused (without the file name)
};

// Reads the criteria text over a copy of previous. The header lands in slot 0; a file
// that ends inside a line's 12 fields, or a value that does not fit its field, is
// refused. Only the first 35 level lines are read.
CriteriaParse parseCriteria(const QString& text, const CriteriaTable& previous);

// Reads "タイム回数データ.txt" of the drill's data folder into state.criteria.
// A missing, unreadable or short file is reported and ends the program (false).
// A file with more than 35 level lines is read up to level 35, with a message.
bool loadCriteria(AppState& state);

// Writes the file from the editor's level rows (row k - 1 holds level k, 12 cell texts
// written as they stand) under the fixed header line, CR LF, replacing the file
// atomically; then reloads the table. A row without exactly 12 cells, more than 35 rows,
// or a cell holding ",", a double quote or a line break is refused with a message and
// nothing is written (false, the program goes on).
bool saveCriteria(AppState& state, const std::vector<QStringList>& levelRows);
