#pragma once

struct AppState;

// Reads "タイム回数データ.txt" of the drill's data folder into state.criteria.
// A missing, unreadable or short file is reported and ends the program (false).
bool loadCriteria(AppState& state);
