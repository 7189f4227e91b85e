#include "app/ScreenRoutes.h"

#include "app/AppState.h"
#include "drill/DrillRun.h"

void wireScreens(AppState& state) {
    // Each room adds the line that brings up its screen.
    (void)state;
    state.routes.startRun = [&state] { startRun(state); };
}
