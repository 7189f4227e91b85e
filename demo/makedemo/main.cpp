#include "app/JapaneseFonts.h"
#include "makedemo/DemoInstallation.h"

#include <QDate>
#include <QGuiApplication>
#include <cstdio>

// makedemo <folder>: lays out a demo school installation in folder (see
// DemoInstallation.h), with the roster's grades for today's school year.
int main(int argc, char** argv) {
    // The explanation video's frames are drawn with fonts, which needs a GUI application;
    // nothing is shown, so no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    mapJapaneseFonts();
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: makedemo <folder>\n");
        return 2;
    }
    const DemoInstallation demo = demoInstallationAt(arguments[1], QDate::currentDate());
    QString error;
    if (!layOutDemoInstallation(demo, &error)) {
        std::fprintf(stderr, "makedemo: %s\n", error.toUtf8().constData());
        return 1;
    }
    std::printf("demo installation laid out in %s\n  program folder: %s\n  data root: %s\n",
                demo.root.toUtf8().constData(), demo.programFolder.toUtf8().constData(),
                demo.dataRoot.toUtf8().constData());
    return 0;
}
