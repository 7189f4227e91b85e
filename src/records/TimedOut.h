#pragma once

#include <cstdint>

// The seconds a timed-out run is recorded with.
inline constexpr std::int32_t timedOutSeconds = 99999;

// Whether a run's seconds stand for a timed-out run: the mark itself and every time from
// 90000 up, which no run that was finished can take (the clock stops a run long before).
// The lists mark such a run "×", the rankings "*失敗*", the graph leaves it off the chart
// and the export writes "時間切れ"; all of them ask this one rule.
constexpr bool isTimedOut(std::int32_t seconds) {
    return seconds >= 90000;
}
