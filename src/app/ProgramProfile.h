#pragma once

#include <QString>
#include <array>

// The per-drill constants the screens read.
struct ProgramProfile {
    static constexpr int levelSlots = 36;       // levels 0..35, 0 unused
    static constexpr int explanationSlots = 31; // slots 0..30

    QString programTitle;
    std::array<QString, levelSlots> levelNames{};
    std::array<int, levelSlots> levelTimed{};
    int levelCount = 0;
    int finalLevel = 0;
    int allLevelsOpen = 0;
    int printEnabled = 0;
    std::array<int, explanationSlots> explanationAvailable{};
    std::array<QString, explanationSlots> explanationUrl{};
};
