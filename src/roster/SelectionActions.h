#pragma once

#include <QString>

struct AppState;
struct InstallLayout;
class QWidget;

// What the selection screen does beyond showing the list, without its widgets.

// The prompt of the chosen-name label while no name is chosen.
inline QString namePrompt() {
    return QStringLiteral("名前を選びなさい");
}

// The launcher of the drill family: "起動\プログラムメニューc.exe" in the folder beside
// the program folder, joined the native way (no ".exe" off Windows).
QString launcherFolder(const InstallLayout& layout);
QString launcherPath(const InstallLayout& layout);
// The argument the launcher is started with.
inline QString launcherArgument() {
    return QStringLiteral("001");
}

// Starts the launcher and ends the program. When the launcher cannot be started the
// pupil is told so, with its path, and the program still ends. Where the folder "起動" is
// missing altogether (the drill installed alone) the program ends quietly, with one line
// on standard error.
void leaveForLauncher(AppState& state, QWidget* parent);

// When another copy of the program already runs on this PC, shows the "注意" message and
// ends the program; true then, and the caller returns at once.
bool refuseSecondCopy(AppState& state, QWidget* parent);

// Fills the current-pupil fields for the chosen pupil number (0..5000): the login time,
// the number, the padded name and the full-width grade label.
void takePupil(AppState& state, int pupilNo);
