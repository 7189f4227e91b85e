// The result screen while its evaluation lets window events run and plays its sounds,
// and its two buttons: whatever the pupil does meanwhile, exactly one screen is left and
// "もう一度" on a level the drill refuses leaves the result usable.

#include "app/JapaneseFonts.h"
#include "app/ScreenHost.h"
#include "app/WaitWindow.h"
#include "drill/DrillRun.h"
#include "result/ResultScreen.h"
#include "result/ResultSession.h"
#include "result/ResultTestSupport.h"
#include "support/WaitProbe.h"

#include <QPushButton>
#include <QTest>

namespace {

struct Result : ResultInstallation {
    ScreenHost host;
    int levelMenus = 0;
    int runsStarted = 0;

    Result() {
        state.host = &host;
        state.routes.openLevelMenu = [this] {
            ++levelMenus;
            showStandIn(state, QStringLiteral("LevelMenuStandIn"));
        };
        state.routes.startRun = [this] {
            ++runsStarted;
            // The drill's set-up closes the wait window the result screen left up.
            closeWaitWindow(state);
            showStandIn(state, QStringLiteral("DrillStandIn"));
        };
        host.resize(1024, 768);
    }
    FrmSyuuryou* open() {
        host.show();
        showWaitWindow(state); // as the drill leaves it
        openResultScreen(state);
        return qobject_cast<FrmSyuuryou*>(host.current());
    }
    QPushButton* button(const char* name) const {
        return host.current()->findChild<QPushButton*>(QLatin1String(name));
    }
    QString trouble() { return screenTrouble(host, state); }
    QString currentName() const { return host.current()->objectName(); }
};

} // namespace

class ResultWaitsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { mapJapaneseFonts(); }
    void everythingWhileTheEvaluationPlays_data();
    void everythingWhileTheEvaluationPlays();
    void thePupilLeavesDuringTheEvaluation();
    void retryWithEverythingMeanwhile();
    void retryOnALevelTheDrillRefuses_data();
    void retryOnALevelTheDrillRefuses();
};

void ResultWaitsTest::everythingWhileTheEvaluationPlays_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("personalBest");
    QTest::addColumn<int>("schoolBest");
    QTest::newRow("personal best") << 50 << 1 << 0;
    QTest::newRow("school best") << 40 << 1 << 1;
    QTest::newRow("passing time") << 70 << 0 << 0;
    QTest::newRow("timed out") << 99999 << 0 << 0;
}

void ResultWaitsTest::everythingWhileTheEvaluationPlays() {
    QFETCH(int, seconds);
    QFETCH(int, personalBest);
    QFETCH(int, schoolBest);
    Result f;
    f.finishRun(seconds, personalBest, schoolBest);
    WaitProbe probe(f.host, f.state);
    probe.watchSoundsAndMessages(f.env);
    QPointer<FrmSyuuryou> screen = f.open();
    QVERIFY(screen);
    QVERIFY(probe.probes >= 1);
    QCOMPARE(probe.unguarded, 0);
    // The buttons come half a second later (unprobed: a click on them then is the pupil's
    // choice); nothing done during the evaluation left.
    probe.limit = probe.probes;
    f.env.advance(ResultSession::timerIntervalMs);
    QVERIFY(f.button("Command4")->isVisible());
    const QString trouble = f.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(f.host.current(), screen.data());
    QCOMPARE(f.levelMenus + f.runsStarted, 0);
}

// The buttons come while the record's sound plays; the pupil clicks the first thing they
// see as soon as events run again. The menu comes once the evaluation has returned.
void ResultWaitsTest::thePupilLeavesDuringTheEvaluation() {
    Result f;
    f.finishRun(50, 1, 0);
    f.env.duringPlay = [&](const QString&) { f.env.advance(ResultSession::timerIntervalMs); };
    WaitProbe probe(f.host, f.state);
    QPointer<FrmSyuuryou> screen = f.open();
    QVERIFY(probe.probes >= 1);
    QCOMPARE(probe.unguarded, 0);
    const QString trouble = f.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QVERIFY(!screen);
    QCOMPARE(f.currentName(), QStringLiteral("LevelMenuStandIn"));
    QCOMPARE(f.levelMenus, 1);
    QCOMPARE(f.runsStarted, 0);
    QCOMPARE(f.state.run.newBestFlags, (std::array<int, 2>{0, 0}));
}

void ResultWaitsTest::retryWithEverythingMeanwhile() {
    Result f;
    f.finishRun(70);
    f.open();
    f.env.advance(ResultSession::timerIntervalMs);
    QVERIFY(f.button("Command5")->isVisible());
    WaitProbe probe(f.host, f.state);
    QTest::mouseClick(f.button("Command5"), Qt::LeftButton);
    QVERIFY(probe.probes >= 1);
    QCOMPARE(probe.unguarded, 0);
    const QString trouble = f.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(f.currentName(), QStringLiteral("DrillStandIn"));
    QCOMPARE(f.runsStarted, 1);
    QCOMPARE(f.levelMenus, 0);
}

void ResultWaitsTest::retryOnALevelTheDrillRefuses_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("badTimes");
    QTest::newRow("no problem form") << 4 << false;
    QTest::newRow("no lowest passing time") << 1 << true;
}

void ResultWaitsTest::retryOnALevelTheDrillRefuses() {
    QFETCH(int, level);
    QFETCH(bool, badTimes);
    Result f;
    f.state.profile.levelCount = 4;
    f.state.profile.levelNames[4] = QStringLiteral("レベル４");
    f.state.profile.levelTimed[level] = 1;
    f.state.routes.startRun = [&f] {
        ++f.runsStarted;
        startRun(f.state); // the drill itself, which would refuse the level too
    };
    f.finishRun(70, 0, 0, level);
    QPointer<FrmSyuuryou> screen = f.open();
    f.env.advance(ResultSession::timerIntervalMs);
    if (badTimes) {
        f.state.criteria[level].minimumSeconds = 0; // changed by a teacher meanwhile
    }
    QVERIFY(f.button("Command5")->isVisible());
    QTest::mouseClick(f.button("Command5"), Qt::LeftButton);
    QCOMPARE(f.env.messages.size(), std::size_t(1));
    QCOMPARE(f.env.messages[0].title, QStringLiteral("注意"));
    QCOMPARE(f.runsStarted, 0);
    // The result stays, whole and usable: no hidden screen, no wait window over it.
    const QString trouble = f.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(f.host.current(), screen.data());
    QVERIFY(f.button("Command4")->isEnabled());
    QTest::mouseClick(f.button("Command4"), Qt::LeftButton);
    QVERIFY(f.trouble().isEmpty());
    QCOMPARE(f.currentName(), QStringLiteral("LevelMenuStandIn"));
}

QTEST_MAIN(ResultWaitsTest)
#include "test_result_waits.moc"
