#include "print/PrintScale.h"

#include "app/AppState.h"
#include "app/ScreenHost.h"
#include "app/TwipsLayout.h"

#include <algorithm>

double pixelsPerTwip(const AppState& state) {
    constexpr double designPixelsPerTwip = 1.0 / 15.0;
    if (!state.host || state.host->width() <= 0 || state.host->height() <= 0) {
        return designPixelsPerTwip;
    }
    const double sx = static_cast<double>(state.host->width()) / TwipsLayout::designWidth;
    const double sy = static_cast<double>(state.host->height()) / TwipsLayout::designHeight;
    return std::max(designPixelsPerTwip, std::min(sx, sy));
}
