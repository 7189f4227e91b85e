#pragma once

#include "roster/RosterEntry.h"
#include "text/ValueVerdict.h"

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
    QString fileError;                  // the file could not be read at all, or is empty
    std::vector<RosterProblem> skipped; // lines left out, in file order
    // Lines taken and listed that the school must still mend: a pupil number used twice
    // (both lines share one history), a birth year no pupil can have.
    std::vector<RosterProblem> doubtful;
    int stoppedAtLine = 0; // the first line not read because the tables were full

    bool clean() const {
        return fileError.isEmpty() && skipped.empty() && doubtful.empty() && stoppedAtLine == 0;
    }
};

// The value rules of a roster line; the reader, its tests and the health check ask these.
//
// The pupil number, read the lenient way: a whole number from 1 to 5000. A header line,
// "0", "abc" or full-width digits ("４２") would make pupil 0, whose runs are written and
// never counted.
ValueVerdict checkPupilNumber(const QString& text);
// The birth year against the school year: a grade index from -3 (幼-) to 15 is a pupil's;
// year 0 or 3000 is a typing slip. The teacher's own entry (a name holding "先生") has an
// adult's year and is not held to it.
ValueVerdict checkBirthYear(int birthYear, int schoolYear, const QString& name);
// The message for a pupil number that two lines hold.
QString sharedPupilNumberText(int pupilNo, int firstLine, int secondLine);

// One line taken from the file.
struct RosterLineRead {
    int line = 0; // 1-based line of the file
    RosterEntry entry;
    int status = 0;
    int gradeIndex = 0;
    int nameLength = 0; // characters of the name as written, before it is cut to 20
};

// The whole file read and judged, without touching the program's state: what the
// program lists and what the health check reports come from this one reading.
struct RosterRead {
    RosterReport report;
    std::vector<RosterLineRead> lines; // every line taken, in file order
};
RosterRead readRosterFile(const QString& path, int schoolYear);

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
