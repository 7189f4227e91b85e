#pragma once

#include "roster/RosterEntry.h"

#include <QString>
#include <cstdint>
#include <vector>

// The pupil who confirmed their name on the selection screen, and the roster the name
// list was built from.
struct CurrentPupil {
    static constexpr int maxRosterLines = 5000; // listed lines the tables hold (1..5000)
    static constexpr int maxPupilNo = 5000;     // pupil numbers 0..5000

    int pupilIndex = 0;  // 0..5000
    QString pupilName;   // padded as stored in the roster
    QString pupilGroup;  // full-width grade label such as "小１"
    int loginTime = 0;   // whole seconds since midnight at confirmation
    QString gradeFilter; // the selection screen's grade filter, taken over by the level menu

    // The listed roster lines in file order, positions 1..rosterLineCount (0 unused;
    // positions past the count hold empty entries).
    std::vector<RosterEntry> rosterEntries = std::vector<RosterEntry>(maxRosterLines + 1);
    // Per pupil number 0..5000, filled for every line read, listed or not, and kept
    // between reads: a pupil who leaves the file keeps their last values.
    std::vector<QString> rosterNames = std::vector<QString>(maxPupilNo + 1);  // padded to 20
    std::vector<QString> rosterGroups = std::vector<QString>(maxPupilNo + 1); // "小１" ...
    std::vector<std::int16_t> rosterBirthYears = std::vector<std::int16_t>(maxPupilNo + 1);
    // The pupil number of each listed line, positions 1..rosterLineCount.
    std::vector<int> rosterLinePupil = std::vector<int>(maxRosterLines + 1);
    int rosterLineCount = 0;
    int schoolYear = 0; // recomputed at every roster read
};
