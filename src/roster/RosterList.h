#pragma once

#include "roster/RosterFile.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct AppState;
struct Statistics;

// The display modes of the name list: which two figures each line shows.
enum RosterDisplayMode {
    runsTodayAndTotal = 0,   // 回数(今日／今まで）
    pointsTodayAndTotal = 1, // ポイント（今日／今まで）
    todayPointsAndRuns = 2,  // 本日（ポイント／回数）
    totalPointsAndRuns = 3,  // 今まで（ポイント／回数）
};

// A pupil's figures, each summed over levels 1..35.
struct PupilFigures {
    long long todayRuns = 0;
    long long todayPoints = 0;
    long long totalRuns = 0;
    long long totalPoints = 0;
};

// The figures of every pupil number 0..5000 from the statistics tables.
std::vector<PupilFigures> sumPupilFigures(const Statistics& stats);

// The fixed-width figures: "234回" / five blanks, "  12" / "  　", "   12回" / "     　",
// "     12" / seven blanks.
QString todayRunsText(long long runs);
QString todayPointsText(long long points);
QString totalRunsText(long long runs);
QString totalPointsText(long long points);
// Figure A, "/", figure B of the display mode.
QString figuresText(const PupilFigures& figures, int mode);

// Columns of the name column (grade label and blank excluded): 12, or 16 for a pre-school
// pupil in the modes that show a run count.
int nameColumns(int stage, int mode);

// The short grade label, a blank and the name cut and padded to its column.
QString gradeAndNameColumn(const ListedPupil& pupil, int mode);

// One pupil's line of the sort list: the birth year as four digits, the short grade
// label, a blank, the name in its column, the figures, "*" and the pupil number.
QString rosterSortLine(const ListedPupil& pupil, const PupilFigures& figures, int mode);

// The name list as the selection screen shows it.
struct RosterList {
    static QString header() { return QStringLiteral("－－－－－－"); }

    QStringList lines;      // the visible list: the header, then one line per pupil
    QStringList numberList; // per pupil line (no header): its text, "*" and the pupil number
    QStringList choices;    // per pupil line: the grade label and name the chosen-name label shows
    RosterReport report;    // what the roster read left out
    bool ended = false;     // the results file failed and the program is ending
};

// 名簿表示 without the widgets: recounts the results, reads the roster and builds the
// sorted, filtered lines. letEventsRun is called once the results are counted, before the
// roster is read, so that the wait panel stays painted.
RosterList buildRosterList(AppState& state, int mode, const QString& filter,
                           const std::function<void()>& letEventsRun = {});

// The pupil number after the last "*" of a number-list entry; -1 when there is none.
int pupilNoOfNumberEntry(const QString& entry);
