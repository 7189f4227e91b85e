#include "app/ScreenRoutes.h"

#include "app/AppState.h"
#include "drill/DrillRun.h"
#include "print/FormPrint0.h"
#include "records/CriteriaEditor.h"
#include "records/RecordMaintenanceScreen.h"
#include "result/ResultScreen.h"
#include "roster/StudentSelection.h"
#include "views/LevelMenu.h"

void wireScreens(AppState& state) {
    // Each room adds the line that brings up its screen.
    state.routes.openStudentSelection = [&state] { openStudentSelection(state); };
    state.routes.openLevelMenu = [&state] { openLevelMenu(state); };
    state.routes.startRun = [&state] { startRun(state); };
    state.routes.openResultScreen = [&state] { openResultScreen(state); };
    state.routes.openRecordMaintenance = [&state] { openRecordMaintenance(state); };
    state.routes.openCriteriaEditor = [&state] { openCriteriaEditor(state); };
    state.routes.openWorksheet = [&state] { openWorksheetScreen(state); };
}
