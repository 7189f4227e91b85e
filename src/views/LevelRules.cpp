#include "views/LevelRules.h"

#include "app/AppState.h"
#include "drill/RunFigures.h"

#include <algorithm>

namespace {

constexpr int noClearRequirement = 9999;

int offeredLevels(const AppState& state) {
    return std::clamp(state.profile.levelCount, 0, ProgramProfile::levelSlots - 1);
}

bool validLevel(int level) {
    return level >= 1 && level < ProgramProfile::levelSlots;
}

int cellOf(const AppState& state, int level) {
    return Statistics::cell(level, state.pupil.pupilIndex);
}

// Level 36 does not exist; it is never free of a clear requirement.
bool hasNoClearRequirement(const AppState& state, int level) {
    return validLevel(level) && state.criteria[level].clearPoints == noClearRequirement;
}

} // namespace

bool isLevelCleared(const AppState& state, int level) {
    if (!validLevel(level)) {
        return false;
    }
    const LevelCriteria& c = state.criteria[level];
    const int cell = cellOf(state, level);
    return state.stats.statJudgePoints[cell] >= c.clearPoints &&
           state.stats.statJudgeRuns[cell] >= c.clearCount;
}

bool isOverPractised(const AppState& state, int level) {
    if (!validLevel(level)) {
        return false;
    }
    const LevelCriteria& c = state.criteria[level];
    const int cell = cellOf(state, level);
    const bool tooManyRuns =
        c.overuseRuns != 0 && state.stats.statOveruseRuns[cell] >= c.overuseRuns;
    const bool tooManyPoints =
        c.overusePoints != 0 && state.stats.statOverusePoints[cell] >= c.overusePoints;
    return tooManyRuns || tooManyPoints;
}

bool isTeacher(const AppState& state) {
    return state.pupil.pupilName.trimmed() == QStringLiteral("先生");
}

bool nameContainsTeacher(const AppState& state) {
    return state.pupil.pupilName.contains(QStringLiteral("先生"));
}

LevelOpening applyLevelRules(AppState& state) {
    LevelOpening opening;
    const int count = offeredLevels(state);
    const int finalLevel = state.profile.finalLevel;
    state.views.clearedAtMenu = isLevelCleared(state, finalLevel) ? 1 : 0;

    opening.enabled[1] = true;
    bool blocked = false;
    const bool teacher = isTeacher(state);
    for (int i = 1; i <= count; ++i) {
        const bool practice = isPracticeLevel(state, i);
        if (practice) {
            opening.enabled[i] = true;
        }
        const bool opensNext = isLevelCleared(state, i) || teacher ||
                               state.profile.allLevelsOpen == 1 ||
                               hasNoClearRequirement(state, i + 1) || (practice && !blocked);
        if (!opensNext) {
            blocked = true;
            continue;
        }
        if (i < count) {
            opening.enabled[i + 1] = true;
            opening.overuseBanner[i + 1] = false;
            if (isOverPractised(state, i) && !practice && state.views.clearedAtMenu == 0) {
                opening.enabled[i] = false;
                opening.overuseBanner[i] = true;
            } else {
                opening.overuseBanner[i] = false;
            }
        }
    }
    return opening;
}
