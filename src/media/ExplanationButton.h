#pragma once

struct AppState;

// The level menu's "★解説★" of level i: remembers the level's explanation entry as the
// current one and opens the viewer its kind asks for (state.routes): the browser window
// over everything for an animation, else the video window beside the menu. An open video
// window is only brought forward and keeps playing what it plays.
void showExplanation(AppState& state, int level);
