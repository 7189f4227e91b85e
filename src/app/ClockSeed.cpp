#include "app/ClockSeed.h"

#include "app/AppState.h"
#include "app/Environment.h"

std::uint32_t clockSeed(const QDateTime& now) {
    return static_cast<std::uint32_t>(now.time().msecsSinceStartOfDay() / 1000);
}

void reseedFromClock(AppState& state) {
    state.env->reseed(clockSeed(state.env->now()));
}
