#pragma once

#include "app/ScreenHost.h"
#include "support/TestInstallation.h"

#include <QString>
#include <QTime>

class seisekitime1;

// Level names as the schools' profiles write them: "レベル1" and "レベル１".
QString levelNameWithDigit(int level);
QString levelNameWithWideDigit(int level);

// A school whose level menu offers `levels` timed levels, all open, with the same
// criteria, to pupil 42 山田太郎 of every grade, and the program's one window, sized but
// not shown yet. Tests add what their screen needs.
struct MenuSchool {
    explicit MenuSchool(int levels, QString (*levelName)(int) = levelNameWithDigit);

    TestInstallation t;
    ScreenHost host;

    // Appends a run through the records room, the way the drill records one, dated daysAgo
    // days back, at the time of day `at` or else the fake clock's.
    void recordRun(int daysAgo, int pupilNo, int level, int seconds, QTime at = QTime());

    // Shows the window, makes it the active one and opens the level menu on it.
    seisekitime1* open();

    // A control anywhere in the window; the test ends if there is none.
    template <typename W> W* find(const QString& name) {
        W* w = host.findChild<W*>(name);
        if (!w) {
            qFatal("no control %s", qPrintable(name));
        }
        return w;
    }
};
