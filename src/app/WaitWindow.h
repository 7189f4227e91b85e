#pragma once

struct AppState;

// BASEFRM, the small "Just a moment, please." window shown without blocking while the
// program works; showing it paints it before the caller goes on.
//
// BASEFRM's one control: Label19 "Just a moment, please.".
void showWaitWindow(AppState& state);
void closeWaitWindow(AppState& state);
