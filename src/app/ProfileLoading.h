#pragma once

#include "app/ProgramProfile.h"

#include <QString>
#include <vector>

struct AppState;

// One entry of a drill's level-name table.
struct LevelName {
    int level = 0; // 1..35
    QString name;
};

// This drill's 24 level names. Entries 11 and 20 carry an ASCII "1", the others
// full-width digits; 5 and 6 are both "混合".
std::vector<LevelName> drillLevelNames();

// Stores the names and marks each stored level as timed (run with the time bar, judged
// and recorded). Entries the table does not name are left as they are.
void storeLevelNames(ProgramProfile& profile, const std::vector<LevelName>& names);

// Gives every still empty entry 1..12 the name "ﾚﾍﾞﾙ" followed by its number;
// entries from 13 on are never filled.
void fillEmptyLevelNames(ProgramProfile& profile);

// The level part of the profile from a name table, in the fixed order: every level
// open, one level offered, the final level, the names with their timed flags, the fill.
// The names and flags are cleared first, so rerunning restores the same profile.
void applyLevelProfile(ProgramProfile& profile, const std::vector<LevelName>& names);

// Run when a pupil has confirmed their name: the level profile of this drill, then the
// level menu (not waited for).
void loadLevelProfile(AppState& state);

// Run once by the start-up initialisation, after the folders are known: the title, no
// printing, and the explanation of slot 1 from its configured address.
void loadStartupProfile(AppState& state);
