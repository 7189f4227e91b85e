#pragma once

#include <QString>

struct AppState;

// Points the explanation routes of state at the real viewers; playerFolder holds the
// animation player's files.
void wireExplanationViewers(AppState& state, const QString& playerFolder);

// The video window on state.media.currentMedia beside the level menu, or the open one
// brought forward (it keeps playing its file).
void openExplanationVideo(AppState& state);
// The browser window on state.media.currentMedia, modal over everything.
void openExplanationAnimation(AppState& state);
