#pragma once

struct AppState;

// Starts a run of state.run.levelNo: resets the run's flags and brings up a fresh drill
// screen in the program's window, replacing the screen that asked for it. A level that
// cannot be run is refused with a message and the asking screen stays.
void startRun(AppState& state);
