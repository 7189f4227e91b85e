#pragma once

#include <QString>

// The pupil who confirmed their name on the selection screen.
struct CurrentPupil {
    int pupilIndex = 0;  // 0..5000
    QString pupilName;   // padded as stored in the roster
    QString pupilGroup;  // full-width grade label such as "小１"
    int loginTime = 0;   // whole seconds since midnight at confirmation
    QString gradeFilter; // the selection screen's grade filter, taken over by the level menu
};
