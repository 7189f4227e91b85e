#include "media/viewers/ExplanationViewers.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "app/ScreenHost.h"
#include "media/ExplanationEntry.h"
#include "media/viewers/FrmVideo.h"
#include "media/viewers/frmBrowser.h"

void wireExplanationViewers(AppState& state, const QString& playerFolder) {
    state.media.animationPlayerFolder = playerFolder;
    state.routes.openExplanationVideo = [&state] { openExplanationVideo(state); };
    state.routes.openExplanationAnimation = [&state] { openExplanationAnimation(state); };
}

void openExplanationVideo(AppState& state) {
    QWidget* window = state.media.videoWindow;
    if (!window) {
        window = new FrmVideo(videoFileOf(state.layout.drillDataFolder, state.media.currentMedia),
                              *state.env, state.host);
        state.media.videoWindow = window;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void openExplanationAnimation(AppState& state) {
    auto* window = new frmBrowser(state.media.currentMedia, state.layout.drillDataFolder,
                                  state.media.animationPlayerFolder, state.host);
    window->show();
    window->raise();
    window->activateWindow();
}
