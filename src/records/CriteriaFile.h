#pragma once

#include "records/LevelCriteria.h"
#include "text/ValueVerdict.h"

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

// The value rules of the criteria file; the loader, the editor, their tests and the
// health check ask these.
//
// One field of a level line (field 0..11): empty (read as 0, which the file uses for "no
// limit") or a text the lenient reading finds a number at the start of. A text without
// one ("x", "nan", "abc", full-width digits) would silently read as 0.
ValueVerdict checkCriteriaValue(int field, const QString& text);
// Why a level's criteria cannot run a level, or an empty text when they can: the time
// limit and the points divide by the two times, so both must be positive, and the points
// are multiplied by the factor, which must be a finite positive number.
QString levelCriteriaFault(const LevelCriteria& criteria);
// The character a cell may not hold because the file has no quoting ("," a double quote
// or a line break, the last told as "改行"); empty when the cell can be written.
QString refusedCellCharacter(const QString& cell);
// The column heading of field 0..11 as the messages name it.
QString criteriaFieldName(int field);

// A value of a level line read the lenient way although it is not a number.
struct CriteriaNote {
    int line = 0;  // 1-based line of the file
    int field = 0; // 0..11
    QString text;  // the value as written
    QString message;
};

struct CriteriaParse {
    bool ok = false;
    CriteriaTable table{};           // the previous table with slots 1..levels replaced
    int levels = 0;                  // level lines read
    bool extraLines = false;         // lines beyond level 35 were left unread
    QString error;                   // why the text was refused (without the file name)
    std::vector<CriteriaNote> notes; // values that are not numbers, in file order
    // Values the program reads but the editor could not write back (a "," or a double
    // quote inside a quoted value): saving from the editor would be refused.
    std::vector<CriteriaNote> unsavable;
};

// Reads the criteria text over a copy of previous. The header lands in slot 0; a file
// that ends inside a line's 12 fields, or a value that does not fit its field, is
// refused. Only the first 35 level lines are read.
CriteriaParse parseCriteria(const QString& text, const CriteriaTable& previous);

// Reads "タイム回数データ.txt" of the drill's data folder into state.criteria.
// A missing, unreadable or short file is reported and ends the program (false). Values
// that are not numbers are named in one message (the file, line, column and text) and
// read as the lenient rule gives.
// A file with more than 35 level lines is read up to level 35, with a message.
bool loadCriteria(AppState& state);

// Writes the file from the editor's level rows (row k - 1 holds level k, 12 cell texts
// written as they stand) under the fixed header line, CR LF, replacing the file
// atomically; then reloads the table. A row without exactly 12 cells, more than 35 rows,
// or a cell holding ",", a double quote or a line break is refused with a message and
// nothing is written (false, the program goes on).
bool saveCriteria(AppState& state, const std::vector<QStringList>& levelRows);
