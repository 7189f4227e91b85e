#pragma once

#include <functional>

// How one screen brings up another. The program wires these to the real screens at
// start-up (wireScreens); a test may set any of them to record the step instead.
struct ScreenRoutes {
    std::function<void()> openStudentSelection;  // the name list
    std::function<void()> openLevelMenu;         // the pupil's level menu
    std::function<void()> startRun;              // the drill screen on run.levelNo
    std::function<void()> openResultScreen;      // the result of the run just recorded
    std::function<void()> openRecordMaintenance; // the teacher's record maintenance
    std::function<void()> openCriteriaEditor;    // the teacher's criteria editor
    // The explanation viewers on media.currentMedia (wired by wireExplanationViewers).
    std::function<void()> openExplanationVideo;     // FrmVideo, beside the level menu
    std::function<void()> openExplanationAnimation; // frmBrowser, over everything
    std::function<void()> openWorksheet;            // the worksheet to print, over the screen
};

struct AppState;

// Points every route of state.routes at the program's real screens.
void wireScreens(AppState& state);
