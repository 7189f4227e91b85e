#pragma once

#include <array>

// One level's teacher-set criteria: a line of "タイム回数データ.txt".
struct LevelCriteria {
    int targetSeconds = 0;
    int minimumSeconds = 0;
    int clearPoints = 0;
    int clearCount = 0;
    float pointFactor = 0;
    double overuseRuns = 0;
    double overusePoints = 0;
    double judgeDays = 0;
    double overuseDays = 0;
    double spare1 = 0;
    double spare2 = 0;
    double spare3 = 0;
};

// Slots 0..35; slot 0 receives the header line and is never read.
using CriteriaTable = std::array<LevelCriteria, 36>;
