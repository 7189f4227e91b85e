#pragma once

#include <array>
#include <cstdint>

// The level chosen and the run in progress; reset at the start of each run.
struct RunState {
    int levelNo = 0;
    int problemsPerRun = 0;
    int correctCount = 0;
    int judgement = 0;    // 0 none, 1 right, 2 wrong
    int judging = 0;      // 1 while an answer is judged and followed up
    int confirmState = 0; // 0 typing, 1 wrong answer on show, 2 first "+" received
    double runStartTimer = 0;
    std::int64_t runStartMonotonicMs = 0;
    int elapsedSeconds = 0;
    int timeLimit = 0;
    double barScale = 0;
    int runFinished = 0;
    int timedOut = 0;
    int endHandled = 0;
    int resultTime = 0;
    int totalRuns = 0;
    std::array<int, 2> newBestFlags{};
    int alreadyCleared = 0;
};
