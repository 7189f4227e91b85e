// The result screen in the program's window, over a results file on disk: what the pupil
// reads and hears after a run, Timer1 that offers the buttons half a second later (and
// waits for a sound that is still playing), the retry rules, and where the buttons lead.
#include "app/JapaneseFonts.h"
#include "app/ScreenHost.h"
#include "app/WaitWindow.h"
#include "result/ResultScreen.h"
#include "result/ResultSession.h"
#include "result/ResultTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

namespace {

const QString personalBestText = u"新記録おめでとう"_qs;
const QString schoolBestText = u"！！！最高新記録！！！"_qs;

struct ResultScreenFixture : ResultInstallation {
    ScreenHost host;
    int levelMenus = 0;
    int runsStarted = 0;
    int levelOfRun = 0;
    bool waitWindowAtRun = false;
    bool resultHiddenAtRun = false;

    ResultScreenFixture() {
        state.host = &host;
        state.routes.openLevelMenu = [this] { ++levelMenus; };
        state.routes.startRun = [this] {
            ++runsStarted;
            levelOfRun = state.run.levelNo;
            waitWindowAtRun = state.waitWindow && state.waitWindow->isVisible();
            resultHiddenAtRun = screen() && !screen()->isVisible();
        };
        host.resize(1024, 768);
    }

    // The drill leaves the wait window up and opens the result screen of the run.
    FrmSyuuryou* open() {
        host.show();
        activate();
        showWaitWindow(state);
        openResultScreen(state);
        // The offscreen platform makes every window it shows active, the wait window too,
        // and leaves none active when that closes; a desktop keeps the program's window.
        activate();
        return screen();
    }
    void activate() {
        host.activateWindow();
        if (!QTest::qWaitForWindowActive(&host)) {
            qWarning("the window did not become active");
        }
    }

    FrmSyuuryou* screen() const { return qobject_cast<FrmSyuuryou*>(host.current()); }
    template <class W = QWidget> W* find(const QString& name) const {
        // The screen's own controls: the wait window has a Label19 of its own.
        W* w = screen() ? screen()->findChild<W*>(name) : nullptr;
        if (!w) {
            qFatal("no control %s", qPrintable(name));
        }
        return w;
    }
    QString text(const QString& name) const { return find<QLabel>(name)->text(); }
    bool shown(const QString& name) const { return find(name)->isVisible(); }
    QPushButton* menuButton() const { return find<QPushButton>(u"Command4"_qs); }
    QPushButton* retryButton() const { return find<QPushButton>(u"Command5"_qs); }
    bool buttonsOffered() const { return shown(u"Command4"_qs); }

    // The files played, by their names in the sound folder.
    QStringList played() const {
        QStringList names;
        for (const QString& path : env.played) {
            names << (path.startsWith(soundFolder()) ? path.mid(soundFolder().size()) : path);
        }
        return names;
    }

    // Clicks at a place of a control as the window system hands the click on later: the
    // pupil clicked while a sound played, and the click is handled when events run next.
    static void clickLater(QWidget* widget) {
        const QPointF at = QRectF(widget->rect()).center();
        const QPointF global = widget->mapToGlobal(at);
        QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                            Qt::LeftButton, Qt::LeftButton,
                                                            Qt::NoModifier));
        QCoreApplication::postEvent(widget,
                                    new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    }

    // A grab of the program's window for a reviewer, in the artefact folder.
    void saveGrab(const QString& fileName) {
        QDir().mkpath(QStringLiteral(MIRUNEA_ARTIFACTS_DIR));
        const QString path = QStringLiteral(MIRUNEA_ARTIFACTS_DIR "/") + fileName;
        QVERIFY2(host.grab().save(path), qPrintable(path));
    }
};

} // namespace

class ResultScreenTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { mapJapaneseFonts(); }

    void showsTheRunAndItsFigures() {
        ResultScreenFixture f; // target 60 s, factor 1.5, clear at 30 points in 3 runs
        f.addRuns(1, {45}, 1); // yesterday: 7 points
        f.addRuns(1, {70});    // 6 points
        f.addRuns(2, {45});
        f.addRuns(35, {45});
        f.addRuns(1, {40}, 0, ResultInstallation::pupil + 1);
        f.finishRun(30, 1, 0); // 16 points: 29 in 3 runs, one point short of clearing

        FrmSyuuryou* screen = f.open();
        QVERIFY(screen);
        QCOMPARE(f.host.windowTitle(), u"終了"_qs);
        QCOMPARE(f.text(u"Label15"_qs), u"ミルネア"_qs);
        QCOMPARE(f.text(u"Label16"_qs), u"レベル１"_qs);
        QCOMPARE(f.text(u"Label17"_qs), u"山田　花子"_qs);
        QCOMPARE(f.text(u"Label18"_qs), u"今の成績：30秒"_qs);
        QCOMPARE(f.text(u"Label19"_qs), u"獲得ポイント：11点×1.5→16点"_qs);
        QCOMPARE(f.text(u"Label13"_qs), u" (このレベル　2回目)"_qs);
        // Today's runs of every level, 1 to 35.
        QCOMPARE(f.text(u"Label14"_qs), u"（4回目)"_qs);
        QCOMPARE(f.state.run.totalRuns, 4);
        QVERIFY(f.shown(u"Label20"_qs));
        QCOMPARE(f.text(u"Label20"_qs), personalBestText);
        QCOMPARE(f.played(), QStringList{u"best.wav"_qs});

        QVERIFY(!f.shown(u"Label2"_qs));
        QVERIFY(!f.shown(u"Picture1"_qs));
        QVERIFY(!f.buttonsOffered());
        QVERIFY(!f.shown(u"Command5"_qs));

        // The flags of this run are spent and the wait window has gone.
        QCOMPARE(f.state.run.newBestFlags, (std::array<int, 2>{0, 0}));
        QVERIFY(!f.state.waitWindow);
        QCOMPARE(f.env.messages.size(), std::size_t(0));
        QCOMPARE(f.env.endedWith, -1);
    }

    void pointsLabel_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<float>("factor");
        QTest::addColumn<QString>("label");
        QTest::newRow("11 x 1.5") << 30 << 1.5f << u"獲得ポイント：11点×1.5→16点"_qs;
        QTest::newRow("10 x 1.3") << 32 << 1.3f << u"獲得ポイント：10点×1.3→12点"_qs;
        QTest::newRow("at the target") << 60 << 1.5f << u"獲得ポイント：5点×1.5→7点"_qs;
        QTest::newRow("over the target") << 61 << 1.0f << u"獲得ポイント：4点×1→4点"_qs;
        QTest::newRow("ten times the target") << 600 << 2.0f << u"獲得ポイント：0点×2→0点"_qs;
    }
    void pointsLabel() {
        QFETCH(int, seconds);
        QFETCH(float, factor);
        QFETCH(QString, label);
        ResultScreenFixture f;
        f.state.criteria[1].pointFactor = factor;
        f.finishRun(seconds);
        f.open();
        QCOMPARE(f.text(u"Label19"_qs), label);
        QCOMPARE(f.text(u"Label18"_qs), u"今の成績：%1秒"_qs.arg(seconds));
    }

    void recordMessageAndItsOneSound_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("personalBest");
        QTest::addColumn<int>("schoolBest");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("sounds");
        QTest::newRow("own best") << 50 << 1 << 0 << personalBestText
                                  << QStringList{u"best.wav"_qs};
        QTest::newRow("own and school best")
            << 50 << 1 << 1 << schoolBestText << QStringList{u"最高1.wav"_qs};
        QTest::newRow("school best")
            << 50 << 0 << 1 << schoolBestText << QStringList{u"最高1.wav"_qs};
        QTest::newRow("own best, slow")
            << 500 << 1 << 0 << personalBestText << QStringList{u"best.wav"_qs};
        QTest::newRow("no best, fast")
            << 30 << 0 << 0 << QString() << QStringList{u"passing.wav"_qs};
        QTest::newRow("no best, at the passing time")
            << 120 << 0 << 0 << QString() << QStringList{u"passing.wav"_qs};
        QTest::newRow("no best, a second slower") << 121 << 0 << 0 << QString() << QStringList{};
        QTest::newRow("timed out") << 99999 << 0 << 0 << u"時間切れ"_qs << QStringList{};
    }
    void recordMessageAndItsOneSound() {
        QFETCH(int, seconds);
        QFETCH(int, personalBest);
        QFETCH(int, schoolBest);
        QFETCH(QString, message);
        QFETCH(QStringList, sounds);
        ResultScreenFixture f; // lowest passing time 120 s
        f.finishRun(seconds, personalBest, schoolBest);
        f.open();
        QCOMPARE(f.shown(u"Label20"_qs), !message.isEmpty());
        if (!message.isEmpty()) {
            QCOMPARE(f.text(u"Label20"_qs), message);
        }
        QCOMPARE(f.played(), sounds);
        // Timer1's tick brings no sound of its own.
        f.env.advance(500);
        QVERIFY(f.buttonsOffered());
        QCOMPARE(f.played(), sounds);
    }

    void aTimedOutRun() {
        ResultScreenFixture f;
        f.addRuns(1, {40});
        f.finishRun(99999);
        f.open();
        QCOMPARE(f.text(u"Label18"_qs), u"記録なし"_qs);
        QCOMPARE(f.text(u"Label19"_qs), u"獲得ポイント：0点×1.5→0点"_qs);
        QCOMPARE(f.text(u"Label20"_qs), u"時間切れ"_qs);
        QVERIFY(f.shown(u"Label20"_qs));
        // The timed-out run is not one of the day's runs.
        QCOMPARE(f.text(u"Label13"_qs), u" (このレベル　1回目)"_qs);
        QCOMPARE(f.text(u"Label14"_qs), u"（1回目)"_qs);
        QVERIFY(f.played().isEmpty());
    }

    void newBestsAsTheRecordingStepFindsThem() {
        {
            ResultScreenFixture f;
            f.addRuns(1, {20}, 0, 3); // the school's best, by another pupil
            f.addRuns(1, {40, 50});
            f.recordRun(35);
            f.open();
            QCOMPARE(f.text(u"Label20"_qs), personalBestText);
            QCOMPARE(f.played(), QStringList{u"best.wav"_qs});
        }
        {
            ResultScreenFixture f;
            f.addRuns(1, {20}, 0, 3);
            f.addRuns(1, {40, 50});
            f.state.criteria[1].clearCount = 10; // 46 points in 3 runs would clear the course
            f.recordRun(19);
            f.open();
            QCOMPARE(f.text(u"Label20"_qs), schoolBestText);
            QCOMPARE(f.played(), QStringList{u"最高1.wav"_qs});
        }
        {
            ResultScreenFixture f;
            f.addRuns(1, {40, 50});
            f.recordRun(40); // equal to the pupil's best: no new best
            f.open();
            QVERIFY(!f.shown(u"Label20"_qs));
            QCOMPARE(f.played(), QStringList{u"passing.wav"_qs});
        }
    }

    void clearingTheFinalLevel() {
        ResultScreenFixture f;
        f.addRuns(1, {30, 30});
        f.finishRun(40, 1, 0); // 16 + 16 + 9 points in 3 runs: cleared
        f.open();
        QVERIFY(f.shown(u"Label2"_qs));
        QCOMPARE(f.text(u"Label2"_qs), u"このレベルクリア"_qs);
        QVERIFY(f.shown(u"Picture1"_qs));
        QCOMPARE(f.text(u"Label1"_qs), u"目標レベルクリア。おめでとう！"_qs);
        QVERIFY(f.shown(u"Label1"_qs));
        QVERIFY(!f.buttonsOffered());
        // The record sound first, then the course's.
        QCOMPARE(f.played(), (QStringList{u"best.wav"_qs, u"合格.wav"_qs}));
        f.saveGrab(u"result-course-cleared.png"_qs);

        // The buttons take the panel's place.
        f.env.advance(500);
        QVERIFY(!f.shown(u"Picture1"_qs));
        QVERIFY(f.buttonsOffered());
        QVERIFY(f.shown(u"Command5"_qs));
        QVERIFY(f.shown(u"Label2"_qs));
        f.saveGrab(u"result-course-cleared-buttons.png"_qs);
    }

    void theCourseWasClearedBeforeThisRun() {
        ResultScreenFixture f;
        f.addRuns(1, {30, 30, 30});
        f.finishRun(40, 1, 0);
        f.state.run.alreadyCleared = 1;
        f.open();
        QVERIFY(f.shown(u"Picture1"_qs));
        QCOMPARE(f.played(), QStringList{u"best.wav"_qs});
    }

    void clearingALevelBeforeTheFinalOne() {
        ResultScreenFixture f;
        f.addRuns(2, {30, 30});
        f.finishRun(40, 0, 0, 2);
        f.open();
        QVERIFY(f.shown(u"Label2"_qs));
        QCOMPARE(f.text(u"Label2"_qs), u"このレベルクリア"_qs);
        QVERIFY(!f.shown(u"Picture1"_qs));
        QCOMPARE(f.played(), QStringList{u"passing.wav"_qs});
    }

    void aLevelThatNeverClearsHidesTheCoursePanel() {
        ResultScreenFixture f;
        f.state.criteria[20].clearCount = 9999;
        f.addRuns(1, {30, 30});
        f.finishRun(130); // no best, slower than the passing time: no record sound
        f.open();
        QVERIFY(f.shown(u"Label2"_qs));
        QVERIFY(!f.shown(u"Picture1"_qs));
        // The course's sound does not look at that level.
        QCOMPARE(f.played(), QStringList{u"合格.wav"_qs});
    }

    void theFinalLevelNotYetCleared() {
        ResultScreenFixture f;
        f.addRuns(1, {30});
        f.finishRun(40, 1, 0); // two runs
        f.open();
        QVERIFY(!f.shown(u"Label2"_qs));
        QVERIFY(!f.shown(u"Picture1"_qs));
        QCOMPARE(f.played(), QStringList{u"best.wav"_qs});
    }

    void timer1OffersTheButtonsAfterHalfASecond() {
        ResultScreenFixture f;
        f.addRuns(1, {30, 30});
        f.finishRun(40);
        FrmSyuuryou* screen = f.open();
        QVERIFY(screen->session().timerActive());
        QVERIFY(f.shown(u"Picture1"_qs));
        f.env.advance(499);
        QVERIFY(!f.buttonsOffered());
        QVERIFY(!f.shown(u"Command5"_qs));
        QVERIFY(f.shown(u"Picture1"_qs));
        f.env.advance(1);
        QVERIFY(f.buttonsOffered());
        QVERIFY(f.shown(u"Command5"_qs));
        QVERIFY(!f.shown(u"Picture1"_qs));
        QVERIFY(!screen->session().timerActive());
        QCOMPARE(f.env.activeTimers(), 0);

        // Enter goes back to the menu.
        QCOMPARE(QApplication::focusWidget(), f.menuButton());
        QTest::keyClick(f.host.windowHandle(), Qt::Key_Return);
        QCOMPARE(f.levelMenus, 1);
        QCOMPARE(f.runsStarted, 0);
        QVERIFY(!f.menuButton()->isEnabled());
    }

    void theTickWaitsWhileASoundPlays() {
        ResultScreenFixture f;
        f.addRuns(1, {30, 30});
        f.finishRun(40, 1, 0); // the record sound, then the course's
        QStringList offeredDuring;
        f.env.duringPlay = [&](const QString& path) {
            f.env.advance(700); // each sound lasts 0.7 s
            if (f.buttonsOffered()) {
                offeredDuring << path.mid(f.soundFolder().size());
            }
        };
        f.open();
        QCOMPARE(f.played(), (QStringList{u"best.wav"_qs, u"合格.wav"_qs}));
        // Due during the first sound, the tick came after it, before the second.
        QCOMPARE(offeredDuring, QStringList{u"合格.wav"_qs});
        QVERIFY(f.buttonsOffered());
        QVERIFY(f.shown(u"Command5"_qs));
        QVERIFY(!f.shown(u"Picture1"_qs));
        QVERIFY(!f.screen()->session().timerActive());
        QCOMPARE(f.host.focusWidget(), f.menuButton());
    }

    void retryRules_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("overuseRuns");
        QTest::addColumn<int>("clearPoints");
        QTest::addColumn<int>("clearedAtMenu");
        QTest::addColumn<bool>("retry");
        QTest::addColumn<QString>("clearText"); // empty: Label2 hidden
        // Four runs today, 16 + 16 + 16 + 9 = 57 points.
        QTest::newRow("no limits") << 2 << 0 << 30 << 0 << true << u"このレベルクリア"_qs;
        QTest::newRow("under the limit") << 2 << 5 << 30 << 0 << true << u"このレベルクリア"_qs;
        QTest::newRow("over-practised, not cleared") << 2 << 4 << 100 << 0 << true << QString();
        QTest::newRow("over-practised, final level cleared")
            << 1 << 4 << 30 << 0 << true << QString();
        QTest::newRow("over-practised, cleared, course not done")
            << 2 << 4 << 30 << 0 << false << u"次のレベルへ進みましょう"_qs;
        QTest::newRow("over-practised, cleared, course done at the menu")
            << 2 << 4 << 30 << 1 << true << u"このレベルクリア"_qs;
    }
    void retryRules() {
        QFETCH(int, level);
        QFETCH(int, overuseRuns);
        QFETCH(int, clearPoints);
        QFETCH(int, clearedAtMenu);
        QFETCH(bool, retry);
        QFETCH(QString, clearText);
        ResultScreenFixture f; // the final level is 1
        f.state.criteria[level].overuseRuns = overuseRuns;
        f.state.criteria[level].clearPoints = clearPoints;
        f.state.views.clearedAtMenu = clearedAtMenu;
        f.addRuns(level, {30, 30, 30});
        f.finishRun(40, 0, 0, level);
        f.open();
        QVERIFY(!f.shown(u"Command5"_qs));
        f.env.advance(500);
        QVERIFY(f.buttonsOffered());
        QCOMPARE(f.shown(u"Command5"_qs), retry);
        QCOMPARE(f.shown(u"Label2"_qs), !clearText.isEmpty());
        if (!clearText.isEmpty()) {
            QCOMPARE(f.text(u"Label2"_qs), clearText);
        } else if (clearPoints == 30) {
            // The final level's clear label is emptied as well as hidden.
            QCOMPARE(f.text(u"Label2"_qs), QString());
        }
    }

    void overPractisedByPoints() {
        ResultScreenFixture f;
        f.state.criteria[2].overusePoints = 57;
        f.addRuns(2, {30, 30, 30});
        f.finishRun(40, 0, 0, 2);
        f.open();
        f.env.advance(500);
        QVERIFY(!f.shown(u"Command5"_qs));
        QCOMPARE(f.text(u"Label2"_qs), u"次のレベルへ進みましょう"_qs);
    }

    void toTheMenuByMouse() {
        ResultScreenFixture f;
        f.finishRun(40);
        f.open();
        f.env.advance(500);
        QTest::mouseClick(f.menuButton(), Qt::LeftButton);
        QCOMPARE(f.levelMenus, 1);
        QCOMPARE(f.runsStarted, 0);
        QVERIFY(!f.menuButton()->isEnabled());
        QTest::mouseClick(f.menuButton(), Qt::LeftButton);
        QTest::mouseClick(f.retryButton(), Qt::LeftButton);
        QCOMPARE(f.levelMenus, 1);
        QCOMPARE(f.runsStarted, 0);
    }

    void retryTheSameLevel() {
        ResultScreenFixture f;
        f.finishRun(40, 0, 0, 2);
        f.open();
        QVERIFY(!f.state.waitWindow);
        f.env.advance(500);
        QTest::mouseClick(f.retryButton(), Qt::LeftButton);
        QCOMPARE(f.runsStarted, 1);
        QCOMPARE(f.levelOfRun, 2);
        QCOMPARE(f.state.run.levelNo, 2);
        // The wait window is up and the result screen gone when the run starts.
        QVERIFY(f.waitWindowAtRun);
        QVERIFY(f.resultHiddenAtRun);
        QCOMPARE(f.levelMenus, 0);
        QVERIFY(!f.menuButton()->isEnabled());
        QTest::mouseClick(f.menuButton(), Qt::LeftButton);
        QCOMPARE(f.levelMenus, 0);
        QCOMPARE(f.runsStarted, 1);
    }

    void activatedAgain() {
        ResultScreenFixture f;
        f.finishRun(50, 1, 0);
        FrmSyuuryou* screen = f.open();
        QCOMPARE(f.played(), QStringList{u"best.wav"_qs});
        f.env.advance(500);
        QVERIFY(f.buttonsOffered());

        // Back from another window: the new best is not celebrated twice, its message
        // stays, the passing-time cue plays as the time deserves and Timer1 runs again.
        screen->activate();
        QCOMPARE(f.played(), (QStringList{u"best.wav"_qs, u"passing.wav"_qs}));
        QCOMPARE(f.text(u"Label20"_qs), personalBestText);
        QVERIFY(f.shown(u"Label20"_qs));
        QVERIFY(screen->session().timerActive());
        f.env.advance(500);
        QVERIFY(f.buttonsOffered());
        QCOMPARE(f.levelMenus, 0);
    }

    void leavingWhileTheEvaluationStillRuns() {
        ResultScreenFixture f;
        f.addRuns(1, {30, 30});
        f.finishRun(40, 1, 0);
        f.env.duringPlay = [&](const QString& path) {
            if (path.endsWith(u"best.wav"_qs)) {
                // A long sound: the tick is due meanwhile, and the pupil clicks where the
                // menu button is about to appear.
                f.env.advance(1500);
                ResultScreenFixture::clickLater(f.menuButton());
            }
        };
        f.open();
        QCOMPARE(f.levelMenus, 1);
        // The course's sound is not played over the level menu.
        QCOMPARE(f.played(), QStringList{u"best.wav"_qs});
        // The run's new-best flags are spent all the same, so the next run does not
        // announce a record it did not make, and the wait window does not stay over the
        // menu.
        QCOMPARE(f.state.run.newBestFlags, (std::array<int, 2>{0, 0}));
        QVERIFY(!f.state.waitWindow);
        QCOMPARE(f.env.endedWith, -1);
    }
};

QTEST_MAIN(ResultScreenTest)
#include "test_result_screen.moc"
