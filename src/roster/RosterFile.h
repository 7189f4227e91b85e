#pragma once

#include "roster/RosterEntry.h"

#include <QString>
#include <functional>
#include <vector>

struct AppState;

// A line of the roster that was not taken, and why.
struct RosterProblem {
    int line = 0; // 1-based line of the file
    QString what; // readable, Japanese
};

// What went wrong while reading the roster; nothing when the file was read in full.
struct RosterReport {
    QString path;
    QString fileError;                  // the file could not be read at all
    std::vector<RosterProblem> skipped; // lines left out, in file order
    int stoppedAtLine = 0;              // the first line not read because the tables were full

    bool clean() const { return fileError.isEmpty() && skipped.empty() && stoppedAtLine == 0; }
};

// A listed roster line as loadRoster hands it on.
struct ListedPupil {
    const RosterEntry& entry;
    int gradeIndex;
    QString shortLabel;
    int stage;
};
using ListedPupilSink = std::function<void(const ListedPupil&)>;
// Every line taken from the file, listed or not, with its grade index.
using RosterLineSink = std::function<void(const RosterEntry& entry, int gradeIndex)>;

// dataRoot followed directly by "新名簿.txt".
QString rosterFilePath(const AppState& state);

// Reads the roster afresh: recomputes the school year, fills rosterEntries, the
// per-pupil tables and the per-line tables, and hands each listed line, in file order,
// to onListed; every line taken, whatever its status, goes to onEveryLine. A missing or unreadable
// file gives an empty list; a malformed line is left out and the rest is read; past 5000 listed
// lines the read stops. The report says what was left out; showing it is the caller's choice
// (rosterReportText).
RosterReport loadRoster(AppState& state, const ListedPupilSink& onListed = {},
                        const RosterLineSink& onEveryLine = {});

// The message that tells the teacher what was left out, naming the file and the lines;
// empty when the report is clean.
QString rosterReportText(const RosterReport& report);
