// A whole run on the drill screen: set-up, the clock and its time bar, the time limit,
// the end of the run with its record, practice levels, refusals and leaving early.
#include "DrillFixture.h"
#include "app/FitLabel.h"

#include <QtTest>
#include <cmath>

namespace {
const QColor blue(0, 0, 255);
const QColor green(0, 255, 0);
const QColor lightGreen(128, 255, 128);
const QColor white(255, 255, 255);

// The colour of the time bar at a pixel from the track's left end.
QColor barAt(DrillFixture& f, int x) {
    QWidget* bar = f.find("sShape5");
    const QImage image = bar->grab().toImage();
    return image.pixelColor(x, bar->height() / 2);
}

// Answers right until the run has count net correct answers, thinking `thinkMs` first.
void answerRightUntil(DrillFixture& f, int count, int thinkMs) {
    while (f.state.run.correctCount < count) {
        f.env.advance(thinkMs);
        f.answerRight();
    }
}
} // namespace

class RunTest : public QObject {
    Q_OBJECT
private slots:
    void topPanelShowsThePupilTheLevelAndTheDaysRuns();
    void longNamesAreDrawnSmallerToFitTheirBoxes();
    void tenRightAnswersRecordOneRunAtTheLastTick();
    void theLastAnswerFinishesWithoutDrawingAProblem();
    void timeBarIsDrawnToTheLevelsScale();
    void runTimesOutAtFiveTimesTheLowestPassingTime();
    void timeOutWaitsWhileAnAnswerIsJudged();
    void runAcrossMidnightIsTimedOnTheSteadyClock();
    void minutesSinceTheNameWasChosen();
    void activatingAgainKeepsTheRunGoing();
    void levelsThatCannotBeTimedAreRefused_data();
    void levelsThatCannotBeTimedAreRefused();
    void practiceLevelReturnsToTheMenuWithoutARecord();
    void closingTheWindowDuringARunAsksAndRecordsNothing();
    void closingTheWindowAfterTheLastAnswerIsIgnored();
    void soundThatNeverPlaysEndsTheRunWithOneMessage();
};

void RunTest::topPanelShowsThePupilTheLevelAndTheDaysRuns() {
    DrillFixture f;
    f.start();
    QCOMPARE(f.text("sLabel2"), QStringLiteral("ミルネア"));
    QCOMPARE(f.text("sLabel14"), QStringLiteral("青葉教室"));
    QCOMPARE(f.text("sLabel7"), QStringLiteral("山田　花子")); // without the padding
    QCOMPARE(f.text("sLabel8"), QStringLiteral("レベル１"));
    QCOMPARE(f.text("sLabel12"), QStringLiteral("1"));
    QCOMPARE(f.text("sLabel11"), QStringLiteral("1"));
    QCOMPARE(f.text("sLabel9"), QStringLiteral("10"));
    QCOMPARE(f.host.windowTitle(), QStringLiteral("ミルネア"));
    const int shortTitlePixels = f.find("sLabel2")->font().pixelSize();

    // A title of more than nine characters is set smaller.
    DrillFixture g;
    g.state.profile.programTitle = QStringLiteral("ミルネア・ドリル十級");
    g.start();
    QVERIFY(g.find("sLabel2")->font().pixelSize() < shortTitlePixels);

    // The day's run numbers: over levels 1 to 15 only, and at this level.
    DrillFixture h;
    const int p = DrillFixture::pupil;
    h.state.stats.statRuns[Statistics::cell(1, p)] = 2;
    h.state.stats.statRuns[Statistics::cell(3, p)] = 1;
    h.state.stats.statRuns[Statistics::cell(15, p)] = 1;
    h.state.stats.statRuns[Statistics::cell(16, p)] = 5;
    h.state.stats.statRuns[Statistics::cell(1, p + 1)] = 9; // another pupil
    h.start();
    QCOMPARE(h.state.run.totalRuns, 4);
    QCOMPARE(h.text("sLabel12"), QStringLiteral("5"));
    QCOMPARE(h.text("sLabel11"), QStringLiteral("3"));
}

void RunTest::longNamesAreDrawnSmallerToFitTheirBoxes() {
    DrillFixture f;
    // Far longer than a school's name is: the demo school's name three times over.
    const QString longName = QStringLiteral("ミルネア学習塾　駅前教室　").repeated(3);
    f.state.config.schoolName = longName;
    f.start();
    auto* school = f.find<FitLabel>(QStringLiteral("sLabel14"));
    auto* pupil = f.find<FitLabel>(QStringLiteral("sLabel7"));
    QCOMPARE(school->text(), longName);
    // Too long to be read whole at a readable size: its beginning at three fifths of the
    // panel's size. The pupil's name is short enough to keep the panel's size.
    const FitLabel::Fitted shown = school->shown();
    QVERIFY(!shown.fits);
    QCOMPARE(shown.font.pixelSize(),
             static_cast<int>(std::lround(school->font().pixelSize() * 0.6)));
    QCOMPARE(pupil->shown().font, pupil->font());
    f.saveGrab(QStringLiteral("drill-long-school-name.png"));

    const QFont base = school->font();
    const QSize box = school->contentsRect().size();
    // A little too long: smaller, and whole.
    const QString aLittleLong(24, QChar(0x3042));
    const FitLabel::Fitted one = fitText(base, aLittleLong, box);
    QVERIFY(one.fits);
    QVERIFY(one.font.pixelSize() < base.pixelSize());
    QVERIFY(QFontMetrics(one.font).horizontalAdvance(aLittleLong) <= box.width());
    QVERIFY(one.font.pixelSize() >= std::lround(base.pixelSize() * 0.6));
    QCOMPARE(fitText(base, QString(), box).font, base);
}

void RunTest::tenRightAnswersRecordOneRunAtTheLastTick() {
    DrillFixture f;
    f.start();
    QCOMPARE(f.text("sLabel10"), QStringLiteral("0"));
    answerRightUntil(f, 9, 3000); // nine answers by 27 s
    f.env.advance(10800);         // 37.8 s: the clock last ticked at 37
    QCOMPARE(f.text("sLabel10"), QStringLiteral("37"));
    f.answerRight();
    QCOMPARE(f.rightCues(), 10);
    QCOMPARE(f.text("sLabel9"), QStringLiteral("0"));
    QCOMPARE(f.state.run.runFinished, 1);
    QCOMPARE(f.state.run.resultTime, 37);
    const QByteArray file = f.resultsFile();
    QCOMPARE(file.size(), 44);
    QCOMPARE(DrillFixture::recordSeconds(file, 0), 37);
    QCOMPARE(qFromLittleEndian<qint16>(file.constData() + 16), qint16(DrillFixture::pupil));
    QCOMPARE(qFromLittleEndian<qint16>(file.constData() + 18), qint16(1));
    // "成績記録中" on show; the result screen follows one second later.
    QVERIFY(f.shown("sPicture2"));
    QVERIFY(f.shown("lblsss1"));
    QVERIFY(!f.shown("lblsss2"));
    f.env.advance(999);
    QCOMPARE(f.resultScreens, 0);
    QCOMPARE(f.text("sLabel10"), QStringLiteral("37")); // the clock has stopped
    f.env.advance(1);
    QCOMPARE(f.resultScreens, 1);
    f.env.advance(600000);
    QCOMPARE(f.resultScreens, 1);
    QCOMPARE(f.resultsFile().size(), 44);
}

void RunTest::theLastAnswerFinishesWithoutDrawingAProblem() {
    DrillFixture f;
    f.start();
    answerRightUntil(f, 9, 1000);
    const Problem last = f.problem();
    const QString shown[] = {f.box(1), f.box(2), f.box(3), f.box(4)};
    const QString answer = QString::number(f.blankValue());
    f.type(answer);
    f.space();
    QCOMPARE(f.state.run.runFinished, 1);
    QCOMPARE(f.problem().bigTerm, last.bigTerm);
    QCOMPARE(f.problem().multiplier, last.multiplier);
    QCOMPARE(f.problem().blankIndex, last.blankIndex);
    for (int box = 1; box <= 4; ++box) {
        const QString expected = box == last.blankIndex ? answer : shown[box - 1];
        QCOMPARE(f.box(box), expected);
    }
    // Keys after the end change nothing.
    f.type(QStringLiteral("5"));
    f.space();
    QCOMPARE(f.box(last.blankIndex), answer);
    QCOMPARE(f.rightCues() + f.wrongCues(), 10);
}

void RunTest::timeBarIsDrawnToTheLevelsScale() {
    DrillFixture f;
    f.state.criteria[1].targetSeconds = 30;
    f.state.criteria[1].minimumSeconds = 60; // the track stands for 300 s
    f.start();
    QCOMPARE(f.state.run.timeLimit, 300);
    QCOMPARE(f.state.run.barScale, 15015.0 / 300);
    // At 1024 x 768 the track is 1001 pixels: the target ends near 100, the lowest passing
    // time near 200.
    QCOMPARE(f.find("sShape5")->width(), 1001);
    QCOMPARE(barAt(f, 2), green);
    QCOMPARE(barAt(f, 97), green);
    QCOMPARE(barAt(f, 103), lightGreen);
    QCOMPARE(barAt(f, 197), lightGreen);
    QCOMPARE(barAt(f, 203), white);
    QCOMPARE(barAt(f, 1000), white);
    f.env.advance(100000); // a third of the limit
    QCOMPARE(f.text("sLabel10"), QStringLiteral("100"));
    QCOMPARE(barAt(f, 150), blue);
    QCOMPARE(barAt(f, 330), blue);
    QCOMPARE(barAt(f, 337), white);
}

void RunTest::runTimesOutAtFiveTimesTheLowestPassingTime() {
    DrillFixture f;
    f.start();
    answerRightUntil(f, 3, 2000);
    f.env.advance(299000 - 6000);
    QCOMPARE(f.text("sLabel10"), QStringLiteral("299"));
    QCOMPARE(f.state.run.timedOut, 0);
    QCOMPARE(barAt(f, 1000), white);
    f.env.advance(1000);
    QCOMPARE(f.state.run.timedOut, 1);
    QCOMPARE(f.text("sLabel10"), QStringLiteral("300"));
    QCOMPARE(barAt(f, 1000), blue); // the bar is full
    QVERIFY(f.shown("lblsss2"));
    QCOMPARE(f.text("lblsss2"), QStringLiteral("時間切れ"));
    QVERIFY(!f.shown("lblsss1"));
    f.saveGrab(QStringLiteral("drill-time-up.png"));
    const QByteArray file = f.resultsFile();
    QCOMPARE(file.size(), 44);
    QCOMPARE(DrillFixture::recordSeconds(file, 0), 99999);
    // The pupil can no longer answer.
    f.answerRight();
    QCOMPARE(f.rightCues(), 3);
    f.env.advance(1000);
    QCOMPARE(f.resultScreens, 1);
    QCOMPARE(f.resultsFile().size(), 44);
}

void RunTest::timeOutWaitsWhileAnAnswerIsJudged() {
    DrillFixture f;
    f.start();
    f.env.advance(299500);
    // The clock comes due while the wrong-answer cue plays.
    f.env.duringPlay = [&](const QString&) { f.env.advance(1000); };
    f.space();
    f.env.duringPlay = nullptr;
    QCOMPARE(f.state.run.timedOut, 0);
    QCOMPARE(f.wrongCues(), 1);
    QVERIFY(f.shown("Commandkakunin2"));
    f.env.advance(1000);
    QCOMPARE(f.state.run.timedOut, 1);
    QCOMPARE(DrillFixture::recordSeconds(f.resultsFile(), 0), 99999);
}

void RunTest::runAcrossMidnightIsTimedOnTheSteadyClock() {
    {
        DrillFixture f;
        f.env.setNow(QDateTime(QDate(2026, 12, 9), QTime(23, 59, 40)));
        f.start();
        answerRightUntil(f, 9, 4000); // 36 s, past midnight
        f.env.advance(14000);
        f.answerRight();
        QCOMPARE(f.env.now().time().hour(), 0);
        QCOMPARE(DrillFixture::recordSeconds(f.resultsFile(), 0), 50);
    }
    {
        DrillFixture f;
        f.env.setNow(QDateTime(QDate(2026, 12, 9), QTime(23, 58, 0)));
        f.start();
        f.env.advance(119000);
        QCOMPARE(f.text("sLabel10"), QStringLiteral("119"));
        f.env.advance(1000); // midnight
        QCOMPARE(f.text("sLabel10"), QStringLiteral("120"));
        f.env.advance(180000);
        QCOMPARE(f.state.run.timedOut, 1);
        QCOMPARE(DrillFixture::recordSeconds(f.resultsFile(), 0), 99999);
    }
}

void RunTest::minutesSinceTheNameWasChosen() {
    DrillFixture f;
    f.start(); // the name was chosen 59 s ago
    QCOMPARE(f.text("sLabel13"), QStringLiteral("0"));
    f.env.advance(10000);
    QCOMPARE(f.text("sLabel13"), QStringLiteral("1"));
    f.env.advance(120000);
    QCOMPARE(f.text("sLabel13"), QStringLiteral("3"));

    // After midnight the count is taken on the wall clock, as it always has been.
    DrillFixture g;
    g.state.pupil.loginTime = 23 * 3600 + 59 * 60; // 23:59:00
    g.env.setNow(QDateTime(QDate(2026, 12, 9), QTime(23, 59, 55)));
    g.start();
    QCOMPARE(g.text("sLabel13"), QStringLiteral("0"));
    g.env.advance(20000); // 00:00:15
    QCOMPARE(g.text("sLabel13"), QStringLiteral("-1438"));
}

void RunTest::activatingAgainKeepsTheRunGoing() {
    DrillFixture f;
    f.start();
    QCOMPARE(f.env.seeds.back(), 10u * 3600); // reseeded from the clock when loaded
    answerRightUntil(f, 2, 6000);
    f.env.advance(500);
    const Problem before = f.problem();
    const QString shown = f.box(before.blankIndex == 1 ? 2 : 1);
    f.env.randomValues = {0.1, 0.2, 0.3, 0.4};
    f.frm()->activate(); // the pupil switched to another window and back
    QCOMPARE(f.env.randomValues.size(), size_t(4));
    QCOMPARE(f.problem().bigTerm, before.bigTerm);
    QCOMPARE(f.box(before.blankIndex == 1 ? 2 : 1), shown);
    QCOMPARE(f.text("sLabel9"), QStringLiteral("8"));
    QCOMPARE(f.text("sLabel10"), QStringLiteral("12"));
    f.env.advance(500);
    QCOMPARE(f.text("sLabel10"), QStringLiteral("13"));
}

void RunTest::levelsThatCannotBeTimedAreRefused_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("minimum");
    QTest::newRow("lowest passing time 0") << 1 << 30 << 0;
    QTest::newRow("lowest passing time negative") << 1 << 30 << -5;
    QTest::newRow("target time 0") << 2 << 0 << 60;
    QTest::newRow("target time negative") << 3 << -1 << 60;
    QTest::newRow("no problem form") << 4 << 30 << 60;
}

void RunTest::levelsThatCannotBeTimedAreRefused() {
    QFETCH(int, level);
    QFETCH(int, target);
    QFETCH(int, minimum);
    DrillFixture f;
    f.state.run.levelNo = level;
    f.state.criteria[level].targetSeconds = target;
    f.state.criteria[level].minimumSeconds = minimum;
    f.start();
    QVERIFY(!f.frm());
    QCOMPARE(f.env.messages.size(), size_t(1));
    QCOMPARE(f.env.messages[0].title, QStringLiteral("注意"));
    QVERIFY(f.env.messages[0].text.contains(QStringLiteral("先生を呼びなさい")));
    QCOMPARE(f.env.activeTimers(), 0);
    QCOMPARE(f.env.endedWith, -1);
}

void RunTest::practiceLevelReturnsToTheMenuWithoutARecord() {
    DrillFixture f;
    f.state.profile.levelNames[1] = QStringLiteral("レベル１練習");
    f.start();
    QCOMPARE(f.text("sLabel8"), QStringLiteral("レベル１練習"));
    QCOMPARE(f.text("sLabel12"), QStringLiteral("－"));
    QCOMPARE(f.text("sLabel11"), QStringLiteral("－"));
    answerRightUntil(f, 10, 2000);
    QCOMPARE(f.levelMenus, 1);
    QVERIFY(f.shown("lblsss1"));
    f.env.advance(5000);
    QCOMPARE(f.resultScreens, 0);
    QVERIFY(f.resultsFile().isEmpty());

    DrillFixture g;
    g.state.profile.levelNames[1] = QStringLiteral("レベル１練習");
    g.start();
    g.env.advance(300000);
    QCOMPARE(g.state.run.timedOut, 1);
    QVERIFY(g.shown("lblsss2"));
    QCOMPARE(g.levelMenus, 1);
    g.env.advance(5000);
    QCOMPARE(g.resultScreens, 0);
    QVERIFY(g.resultsFile().isEmpty());
}

void RunTest::closingTheWindowDuringARunAsksAndRecordsNothing() {
    DrillFixture f;
    f.start();
    answerRightUntil(f, 4, 3000);
    f.env.answers = {MessageAnswer::No};
    QVERIFY(!f.host.close());
    QCOMPARE(f.env.messages.size(), size_t(1));
    QVERIFY(f.host.isVisible());
    QCOMPARE(f.levelMenus, 0);
    f.answerRight(); // the run goes on
    QCOMPARE(f.state.run.correctCount, 5);

    f.env.answers = {MessageAnswer::Yes};
    QVERIFY(!f.host.close()); // the window stays: the level menu comes back in it
    QCOMPARE(f.levelMenus, 1);
    f.env.advance(600000);
    QCOMPARE(f.state.run.timedOut, 0);
    QCOMPARE(f.resultScreens, 0);
    QVERIFY(f.resultsFile().isEmpty());
}

void RunTest::closingTheWindowAfterTheLastAnswerIsIgnored() {
    DrillFixture f;
    f.start();
    answerRightUntil(f, 10, 1000);
    QVERIFY(!f.host.close());
    QVERIFY(f.env.messages.empty());
    f.env.advance(1000);
    QCOMPARE(f.resultScreens, 1);
    QCOMPARE(f.levelMenus, 0);
    QCOMPARE(f.resultsFile().size(), 44);
}

void RunTest::soundThatNeverPlaysEndsTheRunWithOneMessage() {
    DrillFixture f;
    f.env.soundOutcome = [](const QString&) {
        return SoundOutcome{false, QStringLiteral("装置がありません")};
    };
    f.start();
    answerRightUntil(f, 3, 1000); // three failed cues: the drill goes on
    QVERIFY(f.env.messages.empty());
    QCOMPARE(f.env.endedWith, -1);
    f.answerRight();
    // The program ends after the sound error alone, and the window goes although a run
    // was on: the drill neither keeps it nor asks about leaving the run.
    QCOMPARE(f.env.messages.size(), size_t(1));
    QCOMPARE(f.env.messages[0].title, QStringLiteral("音声エラー"));
    QCOMPARE(f.env.endedWith, 1);
    QVERIFY(!f.host.isVisible());
    QCOMPARE(f.levelMenus, 0);
    QVERIFY(f.resultsFile().isEmpty());
}

QTEST_MAIN(RunTest)
#include "test_run.moc"
