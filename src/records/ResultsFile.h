#pragma once

struct AppState;

// The shared results file "成績累積データ.dat" of the drill's data folder.
// Failures are shown with their messages; false means the program is ending.

// Records the run of state.pupil.pupilIndex at level with state.run.resultTime: sets
// alreadyCleared and newBestFlags, keeps the best times, appends one record under the
// file's lock.
bool recordRun(AppState& state, int level);

// Rebuilds the statistics tables and best times from the newest records.
bool countResults(AppState& state);

// The points of one run of the given seconds at the level.
int runPoints(const AppState& state, int seconds, int level);
