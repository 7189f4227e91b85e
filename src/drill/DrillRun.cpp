#include "drill/DrillRun.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "app/ScreenHost.h"
#include "app/ScreenOperation.h"
#include "drill/MainFrm.h"
#include "drill/RunFigures.h"

void startRun(AppState& state) {
    RunState& run = state.run;
    const QString refusal = levelRefusal(state, run.levelNo);
    if (!refusal.isEmpty()) {
        showMessage(state, state.host, QStringLiteral("注意"), refusal, MessageButtons::Ok,
                    MessageIcon::Warning);
        return;
    }
    run.runFinished = 0;
    run.endHandled = 0;
    run.judging = 0;
    run.confirmState = 0;
    run.correctCount = 0;
    run.timedOut = 0;
    letEventsRun(state);

    auto* screen = new MainFrm(state);
    if (state.host) {
        state.host->showScreen(screen);
        return;
    }
    // Without the program's window (a tool or a test), the drill is a window of its own.
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->resize(1024, 768);
    screen->show();
    screen->activate();
}
