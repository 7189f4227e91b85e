#include "app/ScreenRoutes.h"

#include "app/AppState.h"
#include "drill/DrillRun.h"
#include "result/ResultScreen.h"

void wireScreens(AppState& state) {
    // Each room adds the line that brings up its screen.
    state.routes.openResultScreen = [&state] { openResultScreen(state); };
    state.routes.startRun = [&state] { startRun(state); };
}
