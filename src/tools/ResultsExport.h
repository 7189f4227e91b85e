#pragma once

#include <QString>
#include <limits>
#include <vector>

struct AppState;

// The results file as a spreadsheet ("mirunea --export-results FILE.csv"): every whole
// record one row, in UTF-8 with a byte-order mark and CR LF line ends so that a
// double-click opens it in a spreadsheet program with the Japanese intact. The results
// file is only read.

// The header row, in this order.
QStringList resultsExportHeader();

// Which records become rows: run dates from fromDay to toDay (day numbers, both
// included; a record without a readable date is left out once either is set) and one
// pupil number (0 for every pupil).
struct ExportFilter {
    int fromDay = std::numeric_limits<int>::min();
    int toDay = std::numeric_limits<int>::max();
    int pupil = 0;
    bool datesSet() const {
        return fromDay != std::numeric_limits<int>::min() ||
               toDay != std::numeric_limits<int>::max();
    }
};

// The roster's name and short grade label ("小3") of every pupil number 0..5000; empty
// where the roster has none.
struct PupilLabels {
    std::vector<QString> names = std::vector<QString>(5001);
    std::vector<QString> grades = std::vector<QString>(5001);
};

struct ExportOutcome {
    bool ok = false;
    QString error;      // readable, naming the file, when !ok
    qint64 records = 0; // whole records in the results file
    qint64 rows = 0;    // rows written
};

// Writes the CSV file from the results file of state.layout, with the points of each usable run by
// runPoints over state.criteria and the level names of state.profile. Records no copy of the
// program writes (isUsableRecord) are written too, without points, and the note column says what
// is wrong with them. The target is replaced only when the whole file is written, and never when
// it is one of the school's files (tools/ExportTarget.h): then it is left as it was.
ExportOutcome exportResults(const AppState& state, const PupilLabels& pupils,
                            const ExportFilter& filter, const QString& csvPath);
