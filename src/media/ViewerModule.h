#pragma once

#include <QString>

struct AppState;

// The explanation viewers (web engine and video widgets) live in a module beside the
// program, loaded the first time an explanation opens: most starts never open one and
// should not pay for loading those libraries and the OpenGL context they need.
inline const QString viewerModuleFileName = QStringLiteral("mirunea_viewers.so");

// The module's entry points (extern "C", so they are found by name).
inline constexpr const char* viewerModulePrepare = "mirunea_prepare_viewers";
inline constexpr const char* viewerModuleOpenVideo = "mirunea_open_explanation_video";
inline constexpr const char* viewerModuleOpenAnimation = "mirunea_open_explanation_animation";

// Points the explanation routes of state at the module in programDirectory (the folder
// that holds the program; the animation player's files are in its "ruffle"). A module
// that cannot be loaded is reported in a message, and the level menu stays as it was.
void wireViewerModule(AppState& state, const QString& programDirectory);
