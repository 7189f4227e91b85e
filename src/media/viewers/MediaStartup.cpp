#include "media/viewers/MediaStartup.h"

#include "media/viewers/AnimationPage.h"

#include <QCoreApplication>
#include <QWebEngineUrlScheme>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

void prepareWebEngineStart() {
#ifdef Q_OS_UNIX
    // The web engine's sandbox refuses to run as root (the tests' and the demo's machine).
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
#endif
    QWebEngineUrlScheme scheme(animationScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Secure, so the player runs as on an https page; not local, so the page cannot read
    // file:// addresses (the handler decides what it serves).
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void prepareMediaRoom() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    prepareWebEngineStart();
}
