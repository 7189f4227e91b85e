#include "media/ExplanationButton.h"

#include "app/AppState.h"
#include "media/ExplanationEntry.h"

void showExplanation(AppState& state, int level) {
    if (level < 0 || level >= ProgramProfile::explanationSlots) {
        return;
    }
    state.media.currentMedia = state.profile.explanationUrl[level];
    const auto& open = viewerFor(state.media.currentMedia) == ExplanationViewer::Animation
                           ? state.routes.openExplanationAnimation
                           : state.routes.openExplanationVideo;
    if (open) {
        open();
    }
}
