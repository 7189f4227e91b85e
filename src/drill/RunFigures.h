#pragma once

#include <QString>

struct AppState;
class Environment;

// Seconds since midnight on the wall clock, with the fraction of the second.
double secondsSinceMidnight(Environment& env);

// Whole minutes since the pupil chose their name, counted on the wall clock from
// loginTime: negative once midnight has passed since then.
int minutesSinceLogin(AppState& state);

// The pupil's counted runs today at a level.
double todayRuns(const AppState& state, int level);

// The pupil's runs today over levels 1 to 15, as a whole number.
int totalRunsToday(const AppState& state);

// A practice level: its name contains "練"; it is never recorded.
bool isPracticeLevel(const AppState& state, int level);

// Why a level cannot be run, or an empty text when it can: it needs a problem form,
// and a timed level needs positive times and a positive point factor.
QString levelRefusal(const AppState& state, int level);
// The criteria part of that test alone: the time limit and the points divide by the two
// times and multiply by the point factor (levelCriteriaFault).
QString levelTimesRefusal(const AppState& state, int level);
