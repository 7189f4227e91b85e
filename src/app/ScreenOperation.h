#pragma once

#include <QPointer>
#include <QWidget>
#include <initializer_list>
#include <vector>

struct AppState;

// Marks a step that lets window events run (a wait, a message box, a sound, a list
// build) for as long as it lives. Meanwhile the program's window takes no input and holds
// back any switch of screen until the last such step has ended (see ScreenHost).
// Harmless where no window exists yet (start-up, tests without a window).
class ScreenOperation {
public:
    // The pupil's keys and clicks wait for the operation instead of being dropped, as they
    // would behind a sound that plays to its end: they reach the screen once it is over.
    struct HoldInput {};

    explicit ScreenOperation(AppState& state);
    ScreenOperation(AppState& state, HoldInput);
    // An operation that waits for the pupil: clicks and keys on these controls (and their
    // children) still reach them. A switch of screen they ask for is held until the
    // operation ends, so the operation should notice it was left and stop soon.
    ScreenOperation(AppState& state, std::initializer_list<QWidget*> expected);
    ~ScreenOperation();
    ScreenOperation(const ScreenOperation&) = delete;
    ScreenOperation& operator=(const ScreenOperation&) = delete;

private:
    AppState& state_;
    bool counted_ = false;
    bool holding_ = false;
    std::vector<QPointer<QWidget>> expected_;
};

// Lets the window events that are waiting run once (painting, timers), as one operation.
void letEventsRun(AppState& state);
