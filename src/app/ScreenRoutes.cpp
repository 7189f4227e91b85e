#include "app/ScreenRoutes.h"

#include "app/AppState.h"
#include "result/ResultScreen.h"

void wireScreens(AppState& state) {
    // Each room adds the line that brings up its screen.
    state.routes.openResultScreen = [&state] { openResultScreen(state); };
    (void)state;
}
