// The entry points of the viewers' module (see media/ViewerModule.h), found by name when
// the program loads it. Everything else the viewers use is the program's own code.
#include "app/AppState.h"
#include "media/viewers/ExplanationViewers.h"
#include "media/viewers/MediaStartup.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT void mirunea_prepare_viewers() {
    prepareWebEngineStart();
}

extern "C" Q_DECL_EXPORT void mirunea_open_explanation_video(AppState& state) {
    openExplanationVideo(state);
}

extern "C" Q_DECL_EXPORT void mirunea_open_explanation_animation(AppState& state) {
    openExplanationAnimation(state);
}
