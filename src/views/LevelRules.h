#pragma once

#include "drill/RunFigures.h"

#include <array>

struct AppState;

// Which start buttons of the level menu are enabled and which levels show the
// over-practice banner "やりすぎ禁止". Indexed by level 1..35 (0 unused).
struct LevelOpening {
    std::array<bool, 36> enabled{};
    std::array<bool, 36> overuseBanner{};
};

// Tests on the current pupil (state.pupil.pupilIndex) at one level.
bool isLevelCleared(const AppState& state, int level);
bool isOverPractised(const AppState& state, int level);

// The teacher of the opening rules and of "データ処理": the trimmed roster name is exactly
// "先生". The print buttons accept any name that contains "先生".
bool isTeacher(const AppState& state);
bool nameContainsTeacher(const AppState& state);

// Decides which levels are open, starting from every button disabled and every banner
// hidden, and sets state.views.clearedAtMenu. Levels open one after another as the pupil
// clears them; practice levels are always open; a cleared level that has been practised
// too much recently is closed again, until the final level has been cleared.
LevelOpening applyLevelRules(AppState& state);
