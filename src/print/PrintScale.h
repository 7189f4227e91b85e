#pragma once

struct AppState;

// Pixels per twip of the program's windows: the top-level window's scale (1 / 15 at
// 1024 × 768), so the print windows grow with the screens on larger displays.
double pixelsPerTwip(const AppState& state);
