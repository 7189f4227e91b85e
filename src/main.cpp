#include "app/AppState.h"
#include "app/Firstfrm.h"
#include "app/JapaneseFonts.h"
#include "app/ScreenHost.h"
#include "app/ScreenRoutes.h"
#include "app/SystemEnvironment.h"
#include "media/ViewerModule.h"
#include "tools/CommandLine.h"

#include <QApplication>

// The launcher starts the program without arguments; the pupil is chosen on the name
// list. Fatal errors end it from inside (with a non-zero status) after their message;
// closing the last window ends it normally. The technician's tools (--check,
// --export-results) run without any window.
int main(int argc, char** argv) {
    if (isCommandLineTool(argc, argv)) {
        return runCommandLineTool(argc, argv);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mirunea"));
    mapJapaneseFonts();

    SystemEnvironment environment;
    AppState state;
    state.env = &environment;

    ScreenHost host;
    // The screens are drawn to scale, so the window fills the classroom display; it shows
    // with the first screen.
    host.setWindowState(Qt::WindowMaximized);
    state.host = &host;
    wireScreens(state);
    // The explanation viewers load on first use, from beside the program.
    wireViewerModule(state, QCoreApplication::applicationDirPath());

    Firstfrm splash(state, QCoreApplication::applicationDirPath());
    splash.load();
    return QApplication::exec();
}
