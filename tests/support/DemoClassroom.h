#pragma once

#include "app/AppState.h"
#include "app/ScreenHost.h"
#include "makedemo/DemoInstallation.h"
#include "support/FakeEnvironment.h"

#include <QByteArray>
#include <QDate>
#include <QLabel>
#include <QListWidget>
#include <QString>
#include <QTemporaryDir>
#include <QTime>
#include <memory>
#include <vector>

class Firstfrm;

// The demo school, laid out as on a classroom PC, for the tests that go through the
// program's own start-up and screens.
namespace demoschool {

inline const QDate today(2026, 12, 9); // a Wednesday
inline const QTime visit(21, 40, 0);   // after the demo's afternoon runs
// A pupil of the demo who has run today already, at the first levels.
inline constexpr int pupilNo = 16;
inline const QString pupilName = QStringLiteral("田中　ひなた");

// One record of the results file, read straight from its bytes.
struct Run {
    double day = 0;
    int pupil = 0;
    int level = 0;
    int seconds = 0;
};
std::vector<Run> runsOf(const QByteArray& resultsFile);

// The row of the name list that shows the pupil, or -1.
int rowOfPupil(const QListWidget* list);

} // namespace demoschool

// The demo school and the program's one window on a fake classroom PC whose clock reads
// the evening of demoschool::today, the screens wired as the program wires them.
struct DemoClassroom {
    QTemporaryDir dir;
    DemoInstallation demo;
    FakeEnvironment env;
    AppState state;
    ScreenHost host;
    std::unique_ptr<Firstfrm> splash; // once startUp() has run

    DemoClassroom();
    ~DemoClassroom();

    // Start-up as the program makes it: the splash, and 100 ms later the initialisation
    // and the name list.
    void startUp();

    QString resultsPath() const;
    QByteArray resultsFile() const;

    template <class S> S* current() const { return qobject_cast<S*>(host.current()); }
    // A control of the screen on show; the test ends if there is none.
    template <class W> W* find(const QString& name) const {
        W* w = host.current() ? host.current()->findChild<W*>(name) : nullptr;
        if (!w) {
            qFatal("no control %s", qPrintable(name));
        }
        return w;
    }
    QString text(const QString& labelName) const;
    bool shown(const QString& name) const;

    // Keys go to the program's window, which hands them to whatever has the focus there,
    // as the classroom keyboard does.
    void press(Qt::Key key);
    void type(const QString& keys);

    // The window as the pupil sees it, saved among the test artefacts.
    void saveGrab(const QString& fileName);
};
