#pragma once

#include <QString>

// One pupil's standing at one level against the whole school, as the level's work
// rankings give it: what the result graph prints beside each chart.
struct LevelFigures {
    QString timeRank;       // the rank text of the pupil's line in the ranking by time
    QString pointsRank;     // the rank text of the pupil's line in the ranking by points
    double pupilPoints = 0; // the pupil's points in the ranking by points
    int pointsHolders = 0;  // listed pupils whose points are above 0
    double pointsSum = 0;   // the points of those pupils added up
};
