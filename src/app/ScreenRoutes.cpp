#include "app/ScreenRoutes.h"

#include "app/AppState.h"
#include "roster/StudentSelection.h"

void wireScreens(AppState& state) {
    // Each room adds the line that brings up its screen.
    (void)state;
    state.routes.openStudentSelection = [&state] { openStudentSelection(state); };
}
