#include "app/ProfileLoading.h"

#include "app/AppState.h"
#include "app/ExplanationAddress.h"

#ifndef MIRUNEA_PRINT_ENABLED
#error "MIRUNEA_PRINT_ENABLED (0 or 1) comes from the build (CMake option MIRUNEA_PRINT_ENABLED)"
#endif

std::vector<LevelName> drillLevelNames() {
    return {
        {1, QStringLiteral("レベル１")},      {2, QStringLiteral("レベル２")},
        {3, QStringLiteral("レベル３")},      {4, QStringLiteral("レベル４")},
        {5, QStringLiteral("混合")},          {6, QStringLiteral("混合")},
        {7, QStringLiteral("レベル３練習")},  {8, QStringLiteral("レベル３－１")},
        {9, QStringLiteral("レベル３－２")},  {10, QStringLiteral("レベル４練習")},
        {11, QStringLiteral("レベル４－1")},  {12, QStringLiteral("レベル４－２")},
        {13, QStringLiteral("レベル５練習")}, {14, QStringLiteral("レベル５－１")},
        {15, QStringLiteral("レベル５－２")}, {16, QStringLiteral("レベル６練習")},
        {17, QStringLiteral("レベル６－１")}, {18, QStringLiteral("レベル６－２")},
        {19, QStringLiteral("レベル７練習")}, {20, QStringLiteral("レベル７－1")},
        {21, QStringLiteral("レベル７－２")}, {22, QStringLiteral("レベル８練習")},
        {23, QStringLiteral("レベル８－１")}, {24, QStringLiteral("レベル８－２")},
    };
}

void storeLevelNames(ProgramProfile& profile, const std::vector<LevelName>& names) {
    for (const LevelName& entry : names) {
        if (entry.level < 1 || entry.level >= ProgramProfile::levelSlots) {
            continue;
        }
        profile.levelNames[entry.level] = entry.name;
        profile.levelTimed[entry.level] = 1;
    }
}

void fillEmptyLevelNames(ProgramProfile& profile) {
    for (int level = 1; level <= 12; ++level) {
        if (profile.levelNames[level].isEmpty()) {
            profile.levelNames[level] = QStringLiteral("ﾚﾍﾞﾙ") + QString::number(level);
        }
    }
}

void applyLevelProfile(ProgramProfile& profile, const std::vector<LevelName>& names) {
    profile.allLevelsOpen = 1;
    profile.levelCount = 1;
    profile.finalLevel = profile.levelCount;
    profile.levelNames.fill(QString());
    profile.levelTimed.fill(0);
    storeLevelNames(profile, names);
    fillEmptyLevelNames(profile);
}

void loadLevelProfile(AppState& state) {
    applyLevelProfile(state.profile, drillLevelNames());
    if (state.routes.openLevelMenu) {
        state.routes.openLevelMenu();
    }
}

void loadStartupProfile(AppState& state) {
    state.profile.programTitle = QStringLiteral("ミルネア");
    state.profile.printEnabled = MIRUNEA_PRINT_ENABLED;
    state.profile.explanationAvailable[1] = 1;
    state.profile.explanationUrl[1] = explanationAddress(state);
}
