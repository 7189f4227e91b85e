#pragma once

#include <QString>

struct AppState;

// The start-up initialisation, once, in this order: the program folder; the data root
// from the path file; the shared configuration; the drill's folder name; the drill's
// data folder and the sound folder; the start-up profile; the criteria; the sound table.
// executableDirectory is the folder holding the program (the application's directory
// in the real program). False when a step has failed: its message is shown and the
// program is ending, so the caller does nothing more.
bool initialiseProgram(AppState& state, const QString& executableDirectory);

// Run by the splash: the initialisation, then the name list.
void startProgram(AppState& state, const QString& executableDirectory);
