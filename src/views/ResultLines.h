#pragma once

#include <QString>

struct AppState;
struct ResultRecord;

// The lines of the level menu's result lists, one run or one pupil per line. The lists
// are shown in a fixed-pitch font: full-width characters (names, marks, "秒") take two
// half-width columns, so the fields below count characters and still line up.

// The points one run earns as the lists show them: the run's points before the level's
// point factor (0 s give 55, a run at the target 5, a timed-out run 0).
int runPointsForList(const AppState& state, int level, int seconds);

// "●" for the current pupil, otherwise the grade mark of the pupil's grade ("①".."⑥",
// "Ⅰ".."Ⅲ" or a full-width space).
QString pupilMark(const AppState& state, int pupilNo);
// The pupil's grade index from the roster's year of birth.
int pupilGradeIndex(const AppState& state, int pupilNo);
// The roster name with its blanks removed at both ends (the run lists) or at the end
// only (the rankings), padded with full-width spaces and cut to five characters.
QString nameColumn(const QString& rosterName, bool trimBothEnds);

// "09:05": the run's time of day as hours and minutes.
QString listClock(double runClock);
// "01/13": month and day of the run date.
QString listDate(double runDate);
// "45秒".
QString secondsText(int seconds);

// The marks and name of a record's pupil (1 to CurrentPupil::maxPupilNo: the lists take
// only records the value rules keep).
struct PupilColumns {
    QString mark;
    QString name;
};
PupilColumns runPupilColumns(const AppState& state, int pupilNo);

// Today's list: "  45秒 13:45①山田太郎　①11", or "　　× 13:45①山田太郎　①" for a
// timed-out run.
QString todayLine(const AppState& state, const ResultRecord& record);

enum class ListKind { Time = 1, Points = 2 };
// The all-results list: the time display "  45秒 01/13●山田太郎　●11" or the points
// display "   11 01/13●山田太郎　●45秒"; a timed-out run "　　× 01/13●山田太郎　●".
QString allResultsLine(const AppState& state, const ResultRecord& record, ListKind kind);
// The pupil's own runs: "2004/01/13 9:05:07  45秒"; a timed-out run shows "×" in
// place of the seconds ("2004/01/13 9:05:07    ×").
QString personalLine(const ResultRecord& record);

// Days back the all-results list covers for periodChoice 1..5 on a day whose weekday is
// sundayOne (Sunday 1 .. Saturday 7); any other choice keeps current.
int periodDaysFor(int periodChoice, int sundayOne, int current);
