#pragma once

#include "records/RecordFile.h"

#include <functional>

struct AppState;

// Waits ms on the environment's clock while window events keep being handled, so the
// screen stays responsive (and a test's fake clock decides when the wait is over).
// False when the wait was cut short because the program is quitting.
bool waitResponsively(AppState& state, int ms);

// The waiting rules every operation on the results file follows.
struct RetryRules {
    static constexpr int busyWaitMs = 1000;    // a busy file: wait, then try again, no limit
    static constexpr int missingWaitMs = 5000; // an unreachable file: wait, then try again
    static constexpr int missingTries = 4;     // ... and give up at the fourth failure
    // A step under the lock that the disk or the share refused (a dropped connection):
    // tried again like an unreachable file, the lock kept meanwhile.
    static constexpr int refusedStepWaitMs = missingWaitMs;
    static constexpr int refusedStepTries = missingTries;
};

// Runs attempt until it ends other than Busy, or Missing for the fourth time. An attempt
// must leave nothing open behind it, since window events run during the waits.
// missingFailures counts the failures to reach the file across the steps of one operation.
FileResult retryFileStep(AppState& state, int& missingFailures,
                         const std::function<FileResult()>& attempt);

// Runs a step of a change under the file's lock (a write, a cut, a flush that finishes
// what the change began) until it succeeds or has failed refusedStepTries times, waiting
// refusedStepWaitMs between tries with the screen responsive. The lock stays held: the
// change is never left half done for a failure that passes.
FileResult retryLockedStep(AppState& state, const std::function<FileResult()>& step);
