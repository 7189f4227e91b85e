#include "app/ScreenRoutes.h"

#include "app/AppState.h"
#include "views/LevelMenu.h"

void wireScreens(AppState& state) {
    // Each room adds the line that brings up its screen.
    (void)state;
    state.routes.openLevelMenu = [&state] { openLevelMenu(state); };
}
