#include "media/ViewerModule.h"

#include "app/AppState.h"
#include "app/Messages.h"
#include "app/ScreenHost.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>

QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
Q_GUI_EXPORT QOpenGLContext* qt_gl_global_share_context();
QT_END_NAMESPACE

namespace {

using OpenViewer = void (*)(AppState&);
using Prepare = void (*)();

// The web engine draws through an OpenGL context it shares with the window system's, and
// checks for it when its library loads. A program that sets the sharing up before its
// QApplication exists pays for an OpenGL context on every start; here it is made only
// when the viewers are first needed. It lives as long as the program.
void prepareSharedOpenGl() {
    if (!qt_gl_global_share_context()) {
        static QOpenGLContext* const context = [] {
            auto* made = new QOpenGLContext;
            made->create();
            return made;
        }();
        qt_gl_set_global_share_context(context);
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

void reportMissingModule(AppState& state, const QString& path, const QString& reason) {
    showMessage(state, state.host, QStringLiteral("解説"),
                QStringLiteral("解説を表示する部品 %1 を読み込めません。\n%2").arg(path, reason),
                MessageButtons::Ok, MessageIcon::Warning);
}

// Loads the module and points the routes at it; false (after the message) when it
// cannot be loaded, so the next press tries again.
bool loadViewerModule(AppState& state, const QString& path) {
    if (!QFileInfo::exists(path)) {
        reportMissingModule(state, path, QStringLiteral("ファイルがありません。"));
        return false;
    }
    prepareSharedOpenGl();
    // Never unloaded: the viewers' windows and the web engine live until the program ends.
    QLibrary module(path);
    const auto prepare = reinterpret_cast<Prepare>(module.resolve(viewerModulePrepare));
    const auto video = reinterpret_cast<OpenViewer>(module.resolve(viewerModuleOpenVideo));
    const auto animation = reinterpret_cast<OpenViewer>(module.resolve(viewerModuleOpenAnimation));
    if (!prepare || !video || !animation) {
        reportMissingModule(state, path, module.errorString());
        return false;
    }
    prepare();
    state.routes.openExplanationVideo = [&state, video] { video(state); };
    state.routes.openExplanationAnimation = [&state, animation] { animation(state); };
    return true;
}

} // namespace

void wireViewerModule(AppState& state, const QString& programDirectory) {
    state.media.animationPlayerFolder = programDirectory + QStringLiteral("/ruffle");
    const QString path = programDirectory + QLatin1Char('/') + viewerModuleFileName;
    // Each route loads the module and, once loaded, hands over to the module's own. Loading
    // replaces the very closure that runs, so it works on copies of what it captured.
    state.routes.openExplanationVideo = [&state, path] {
        AppState& s = state;
        if (loadViewerModule(s, QString(path))) {
            s.routes.openExplanationVideo();
        }
    };
    state.routes.openExplanationAnimation = [&state, path] {
        AppState& s = state;
        if (loadViewerModule(s, QString(path))) {
            s.routes.openExplanationAnimation();
        }
    };
}
