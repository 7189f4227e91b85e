#pragma once

#include <QString>

struct AppState;

// The texts of the level menu's header and level columns, from the shared state.

// "ｽﾀｰﾄ(&1)": the "&" makes the digit the button's access key (Alt+1).
QString startCaption(int level);
// The criteria line: "目標=40秒 3回/100点(×1.5)", "目標=40秒 --------" or "◎=40点以上".
QString criteriaLine(const AppState& state, int level);
// The pupil's judging-period figures of a timed level: "最近7日=3回 / 120点".
QString recentLine(const AppState& state, int level);
// Today's figures "2回/34点", or "-----" without a run today.
QString todayFigures(const AppState& state, int level);
// All-time figures "12回/150点", or "------" when the level was never run.
QString totalFigures(const AppState& state, int level);
// "起動後12分": whole minutes since the name was picked (negative after midnight).
QString minutesSinceLoginText(const AppState& state);
// The pupil's counted runs today over all levels.
int todaysTotalRuns(const AppState& state);
QString totalRunsLine(int totalRuns);
// "小３ 山田太郎" and "ミルネア塾　本校:12".
QString pupilLine(const AppState& state);
QString schoolLine(const AppState& state);
// Points of the title: 20 when it is longer than 9 characters, else 24.
double titlePoints(const QString& title);
// A number written the short way the screens show it: 1.5, 1, -2.
QString shortNumber(double value);
