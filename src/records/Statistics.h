#pragma once

#include <vector>

// Per level (0..35) and pupil (0..5000) figures rebuilt from the results file.
struct Statistics {
    static constexpr int levels = 36;
    static constexpr int pupils = 5001;
    static constexpr int cell(int level, int pupil) { return level * pupils + pupil; }
};
