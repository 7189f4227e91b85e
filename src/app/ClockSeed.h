#pragma once

#include <QDateTime>
#include <cstdint>

struct AppState;

// The random source is reseeded from the clock when the splash, the name list and the
// drill screen load: the whole seconds since midnight of the environment's clock.
std::uint32_t clockSeed(const QDateTime& now);
void reseedFromClock(AppState& state);
