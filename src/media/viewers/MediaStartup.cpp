#include "media/viewers/MediaStartup.h"

#include "media/viewers/AnimationPage.h"

#include <QCoreApplication>
#include <QWebEngineUrlScheme>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// In a build with AddressSanitizer (the tests' build), the web engine's own code (Debian's
// library, not instrumented) frees some of its objects with a sized delete whose size
// differs from the allocation's, which the sanitizer reports as new-delete-type-mismatch
// and aborts on. Every program that starts the web engine calls prepareMediaRoom, so this
// default is linked into exactly those; all other checks stay on, and ASAN_OPTIONS still
// overrides it.
extern "C" const char* __asan_default_options() {
    return "new_delete_type_mismatch=0";
}

void prepareMediaRoom() {
#ifdef Q_OS_UNIX
    // The web engine's sandbox refuses to run as root (the tests' and the demo's machine).
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
#endif
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QWebEngineUrlScheme scheme(animationScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Secure, so the player runs as on an https page; not local, so the page cannot read
    // file:// addresses (the handler decides what it serves).
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
}
