#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

struct AppState;

// The records the results counter leaves out as damaged (negative seconds, a run date
// that is no day or lies after today), found again with their numbers so the teacher can
// mend them on the record maintenance screen.
struct DamagedRecords {
    qint64 count = 0;            // in the window the counter reads
    std::vector<qint64> numbers; // the first of them, in file order
};

// Reads the newest records (the counter's window) with the readers' waiting rules and
// keeps the numbers of the first `listed` damaged ones. False when the file could not be
// read: the count is then unknown.
bool findDamagedRecords(AppState& state, DamagedRecords& found, int listed = 10);

// The teacher's notice: the file, how many records it skips and why, their numbers, and
// where to correct or delete them. Empty when there are none.
QString damagedRecordsNotice(const AppState& state, const DamagedRecords& found);
