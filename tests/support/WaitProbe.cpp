#include "support/WaitProbe.h"

#include "app/AppState.h"
#include "app/Screen.h"
#include "app/ScreenHost.h"
#include "support/FakeEnvironment.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <vector>

namespace {

bool usable(const QWidget* widget) {
    return widget && widget->isVisible() && widget->isEnabled();
}

// The controls a pupil can reach with the mouse, found before any of them acts: a click
// may hide, disable or delete the others.
std::vector<QPointer<QWidget>> reachableControls(ScreenHost& host) {
    std::vector<QPointer<QWidget>> controls;
    const QList<QWidget*> all = host.findChildren<QWidget*>();
    for (QWidget* widget : all) {
        if (!usable(widget)) {
            continue;
        }
        if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractItemView*>(widget) ||
            qobject_cast<QComboBox*>(widget) || qobject_cast<QLineEdit*>(widget)) {
            controls.emplace_back(widget);
        }
    }
    return controls;
}

void clickControl(QWidget* control) {
    if (auto* view = qobject_cast<QAbstractItemView*>(control)) {
        // A click and a double-click on the first line, as a teacher opens a record.
        const QModelIndex first = view->model() ? view->model()->index(0, 0) : QModelIndex();
        if (!first.isValid()) {
            return;
        }
        const QPoint at = view->visualRect(first).center();
        QPointer<QWidget> viewport = view->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        if (viewport) {
            QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        }
        return;
    }
    QTest::mouseClick(control, Qt::LeftButton);
}

// The keys the screens answer to: the drill's digits, judging, "+" twice and the arrows,
// the lists' movement and Enter, Escape.
void pressKeys(ScreenHost& host) {
    const Qt::Key keys[] = {Qt::Key_1,         Qt::Key_Space, Qt::Key_Plus,   Qt::Key_Plus,
                            Qt::Key_Left,      Qt::Key_Up,    Qt::Key_Right,  Qt::Key_Down,
                            Qt::Key_Backspace, Qt::Key_Tab,   Qt::Key_Return, Qt::Key_Enter,
                            Qt::Key_Escape};
    for (Qt::Key key : keys) {
        QWidget* focus = QApplication::focusWidget();
        QWidget* target = focus && focus->window() == &host ? focus : &host;
        const char text = key == Qt::Key_Plus ? '+' : key == Qt::Key_1 ? '1' : 0;
        if (text) {
            QTest::keyClick(target, text);
        } else {
            QTest::keyClick(target, key);
        }
    }
}

void closePopups() {
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
}

} // namespace

bool probeEverything(ScreenHost& host, AppState& state) {
    Q_UNUSED(state);
    const bool busy = host.busy();
    for (const QPointer<QWidget>& control : reachableControls(host)) {
        if (usable(control)) {
            clickControl(control);
            closePopups();
        }
    }
    pressKeys(host);
    closePopups();
    host.close();
    return busy;
}

WaitProbe::WaitProbe(ScreenHost& host, AppState& state) : host_(host), state_(state) {
    connect(&host, &ScreenHost::busyChanged, this, [this](bool busy) {
        if (busy) {
            queue();
        }
    });
}

WaitProbe::~WaitProbe() {
    if (env_) {
        env_->duringPlay = nullptr;
        env_->duringMessage = nullptr;
    }
}

void WaitProbe::watchSoundsAndMessages(FakeEnvironment& env) {
    env_ = &env;
    env.duringPlay = [this, before = env.duringPlay](const QString& path) {
        if (!probing_ && probes < limit) {
            probeNow();
        }
        if (before) {
            before(path);
        }
    };
    env.duringMessage = [this, before = env.duringMessage](const FakeEnvironment::Message& m) {
        if (!probing_ && probes < limit) {
            probeNow();
        }
        if (before) {
            before(m);
        }
    };
}

void WaitProbe::queue() {
    if (probing_ || probes >= limit) {
        return;
    }
    // Runs from the next turn of an event loop: the busy step's own, when it runs one.
    QTimer::singleShot(0, this, [this] {
        if (host_.busy() && !probing_ && probes < limit) {
            probeNow();
        }
    });
}

void WaitProbe::probeNow() {
    probing_ = true;
    ++probes;
    screens << (host_.current() ? host_.current()->objectName() : QStringLiteral("(none)"));
    if (!probeEverything(host_, state_)) {
        ++unguarded;
    }
    if (afterProbe) {
        afterProbe();
    }
    probing_ = false;
}

QString screenTrouble(ScreenHost& host, AppState& state) {
    for (int turn = 0; turn < 20; ++turn) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    if (host.busy()) {
        return QStringLiteral("the window is still busy");
    }
    if (host.pending()) {
        return QStringLiteral("a switch of screen is still held");
    }
    Screen* current = host.current();
    if (!current) {
        return QStringLiteral("no screen");
    }
    if (!current->isVisible()) {
        return QStringLiteral("the screen %1 is hidden").arg(current->objectName());
    }
    if (!host.isVisible()) {
        return QStringLiteral("the window is closed");
    }
    QStringList others;
    const QWidgetList all = QApplication::allWidgets();
    for (QWidget* widget : all) {
        auto* screen = qobject_cast<Screen*>(widget);
        if (screen && screen != current) {
            others << screen->objectName();
        }
    }
    if (!others.isEmpty()) {
        return QStringLiteral("other screens alive: %1").arg(others.join(QLatin1Char(' ')));
    }
    if (state.waitWindow && state.waitWindow->isVisible()) {
        return QStringLiteral("the wait window is on show over %1").arg(current->objectName());
    }
    return {};
}

HeldResultsFile::HeldResultsFile(const QString& resultsPath) {
    process_.start(QStringLiteral(RESULTS_LOCK_HOLDER), {resultsPath});
    if (!process_.waitForStarted(30000)) {
        return;
    }
    QByteArray output;
    while (!output.contains('\n') && process_.state() == QProcess::Running) {
        process_.waitForReadyRead(30000);
        output += process_.readAllStandardOutput();
    }
    holding_ = output.startsWith("locked");
}

HeldResultsFile::~HeldResultsFile() {
    release();
}

void HeldResultsFile::release() {
    if (process_.state() == QProcess::NotRunning) {
        holding_ = false;
        return;
    }
    process_.write("go\n");
    process_.closeWriteChannel();
    process_.waitForFinished(30000);
    holding_ = false;
}

void showStandIn(AppState& state, const QString& name) {
    auto* screen = new Screen(state);
    screen->setObjectName(name);
    if (state.host) {
        state.host->showScreen(screen);
    }
}
