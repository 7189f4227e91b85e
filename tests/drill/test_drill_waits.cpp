// The drill while its steps let window events run: the sounds of judging, the last
// answer recorded while another copy holds the results file, the time-out, and the
// question asked when the window is closed during a run. Whatever the pupil does
// meanwhile, the run ends once, is recorded once (or not at all) and exactly one screen
// is left.

#include "DrillFixture.h"
#include "app/WaitWindow.h"
#include "records/FileRetry.h"
#include "records/RecordsTestSupport.h"
#include "records/ResultsFile.h"
#include "support/WaitProbe.h"

#include <memory>

namespace {

// The routes bring up plain stand-ins, so the test sees which screen came.
struct Drill : DrillFixture {
    Drill() {
        state.routes.openResultScreen = [this] {
            ++resultScreens;
            // The result screen closes the wait window once it has evaluated the run.
            closeWaitWindow(state);
            showStandIn(state, QStringLiteral("ResultStandIn"));
        };
        state.routes.openLevelMenu = [this] {
            ++levelMenus;
            closeWaitWindow(state);
            showStandIn(state, QStringLiteral("LevelMenuStandIn"));
        };
    }
    QString resultsPath() const { return resultsFilePath(state); }
    int records() const { return static_cast<int>(resultsFile().size() / 44); }
    QString trouble() { return screenTrouble(host, state); }
    QString currentName() const {
        return host.current() ? host.current()->objectName() : QString();
    }
};

constexpr int timeLimitMs = 5 * 60 * 1000; // five times the level's lowest passing time

} // namespace

class DrillWaitsTest : public QObject {
    Q_OBJECT

private slots:
    void everythingWhileJudgingSounds();
    void theLastAnswerWaitsForAnotherCopy();
    void everythingWhileTheRunTimesOut();
    void aTimeOutWhileTheStopQuestionIsOpen_data();
    void aTimeOutWhileTheStopQuestionIsOpen();
};

void DrillWaitsTest::everythingWhileJudgingSounds() {
    Drill f;
    QPointer<MainFrm> drill = f.start();
    QVERIFY(drill);
    WaitProbe probe(f.host, f.state);
    probe.watchSoundsAndMessages(f.env);
    f.answerWrong(); // the wrong-answer cue: probed while it plays
    QVERIFY(probe.probes >= 1);
    QCOMPARE(probe.unguarded, 0);
    // The keys typed during the sound reached the drill after it, not during it: the
    // wrong answer was acknowledged by the held "++" and the run goes on.
    QVERIFY(f.wrongCues() >= 1);
    const QString trouble = f.trouble();
    QCOMPARE(f.state.run.confirmState, 0);
    QVERIFY(!f.shown(QStringLiteral("Commandkakunin2")));
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(f.host.current(), drill.data());
    QCOMPARE(f.state.run.runFinished, 0);
    QCOMPARE(f.records(), 0);
    QCOMPARE(f.resultScreens + f.levelMenus, 0);
}

void DrillWaitsTest::theLastAnswerWaitsForAnotherCopy() {
    Drill f;
    QPointer<MainFrm> drill = f.start();
    for (int i = 0; i < 9; ++i) {
        f.env.advance(2000);
        f.answerRight();
    }
    f.env.advance(2000);
    HeldResultsFile other(f.resultsPath());
    QVERIFY(other.holding());
    WaitProbe probe(f.host, f.state);
    int turns = 0;
    // The other copy lets go after three of the one-second waits.
    ClockPump pump(f.env, RetryRules::busyWaitMs, [&] {
        if (++turns == 3) {
            other.release();
        }
    });
    f.answerRight();
    QVERIFY(turns >= 3);
    QVERIFY(probe.probes >= 1);
    QCOMPARE(probe.unguarded, 0);
    QVERIFY(drill); // the drill outlived the wait that recorded its run
    f.env.advance(1000);
    const QString trouble = f.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(f.currentName(), QStringLiteral("ResultStandIn"));
    QCOMPARE(f.resultScreens, 1);
    QCOMPARE(f.levelMenus, 0);
    QCOMPARE(f.records(), 1);
    QCOMPARE(Drill::recordSeconds(f.resultsFile(), 0), f.state.run.resultTime);
    QVERIFY(f.state.run.resultTime < 99999);
}

void DrillWaitsTest::everythingWhileTheRunTimesOut() {
    Drill f;
    f.start();
    WaitProbe probe(f.host, f.state);
    probe.watchSoundsAndMessages(f.env);
    // Every tick lets window events run; the probe acts in the first ones and its keys
    // (a wrong "1", "++") reach the drill between the ticks.
    f.env.advance(timeLimitMs + 2000);
    QVERIFY(probe.probes >= 1);
    QCOMPARE(probe.unguarded, 0);
    const QString trouble = f.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    QCOMPARE(f.currentName(), QStringLiteral("ResultStandIn"));
    QCOMPARE(f.resultScreens, 1);
    QCOMPARE(f.records(), 1);
    QCOMPARE(Drill::recordSeconds(f.resultsFile(), 0), 99999);
}

void DrillWaitsTest::aTimeOutWhileTheStopQuestionIsOpen_data() {
    QTest::addColumn<bool>("timesOut");  // the limit passes while the question is open
    QTest::addColumn<int>("answerCode"); // a MessageAnswer
    QTest::newRow("time-out, yes") << true << int(MessageAnswer::Yes);
    QTest::newRow("time-out, no") << true << int(MessageAnswer::No);
    QTest::newRow("yes") << false << int(MessageAnswer::Yes);
    QTest::newRow("no") << false << int(MessageAnswer::No);
}

// The pupil closes the window a second before the limit; the question stays open while
// the clock runs out (and while the pupil clicks and types at the window behind it).
void DrillWaitsTest::aTimeOutWhileTheStopQuestionIsOpen() {
    QFETCH(bool, timesOut);
    QFETCH(int, answerCode);
    const auto answer = static_cast<MessageAnswer>(answerCode);
    Drill f;
    QPointer<MainFrm> drill = f.start();
    f.env.advance(timeLimitMs - 1000);
    WaitProbe probe(f.host, f.state);
    f.env.duringMessage = [&](const FakeEnvironment::Message&) {
        probe.probeNow();
        if (timesOut) {
            f.env.advance(3000); // the limit, the record and the second before the result
        }
    };
    f.env.answers.push_back(answer);
    f.host.close();
    f.env.duringMessage = nullptr;
    QCOMPARE(f.env.messages.size(), std::size_t(1));
    QVERIFY(f.env.messages[0].text.startsWith(QStringLiteral("途中でやめると")));
    QCOMPARE(probe.unguarded, 0);
    QVERIFY(f.host.isVisible()); // the window never closes during a run
    const QString trouble = f.trouble();
    QVERIFY2(trouble.isEmpty(), qPrintable(trouble));
    if (timesOut) {
        // The run ended by the clock is recorded once and its result follows, whatever
        // the answer.
        QCOMPARE(f.records(), 1);
        QCOMPARE(Drill::recordSeconds(f.resultsFile(), 0), 99999);
        QCOMPARE(f.resultScreens, 1);
        QCOMPARE(f.levelMenus, 0);
        QCOMPARE(f.currentName(), QStringLiteral("ResultStandIn"));
    } else if (answer == MessageAnswer::Yes) {
        QCOMPARE(f.records(), 0);
        QCOMPARE(f.levelMenus, 1);
        QCOMPARE(f.resultScreens, 0);
        QCOMPARE(f.currentName(), QStringLiteral("LevelMenuStandIn"));
    } else {
        QCOMPARE(f.records(), 0);
        QCOMPARE(f.host.current(), drill.data());
        // The run goes on and still times out once.
        f.env.advance(2000);
        QCOMPARE(f.records(), 1);
        f.env.advance(1000);
        QCOMPARE(f.resultScreens, 1);
        QVERIFY(f.trouble().isEmpty());
    }
}

QTEST_MAIN(DrillWaitsTest)
#include "test_drill_waits.moc"
