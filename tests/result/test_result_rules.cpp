// The judging of a recorded run, as plain functions over the state: the points curve of
// the screen and the points earned with the level's factor, the texts the pupil reads,
// the clear and over-practice figures counted from a results file on disk, which record
// message a run earns, and the retry rules.
#include "result/ResultRules.h"
#include "result/ResultTestSupport.h"

#include <QTest>

Q_DECLARE_METATYPE(RecordOutcome)
Q_DECLARE_METATYPE(RetryOffer)

namespace {

constexpr int pupil = ResultInstallation::pupil;

// Counts the results file into the statistics, as the result screen does first.
void count(ResultInstallation& inst) {
    QVERIFY(countResults(inst.state));
    QCOMPARE(inst.env.endedWith, -1);
}

} // namespace

class ResultRulesTest : public QObject {
    Q_OBJECT

private slots:
    void pointsCurve_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("points");
        QTest::newRow("0 s") << 0 << 60 << 55;
        QTest::newRow("half the target") << 30 << 60 << 11; // 0.5^3 x 50 + 5 = 11.25
        QTest::newRow("32 s") << 32 << 60 << 10;            // (28/60)^3 x 50 + 5 = 10.08
        QTest::newRow("59 s") << 59 << 60 << 5;
        QTest::newRow("at the target") << 60 << 60 << 5;
        QTest::newRow("just over") << 61 << 60 << 4;
        QTest::newRow("below twice") << 119 << 60 << 4;
        QTest::newRow("twice") << 120 << 60 << 1;
        QTest::newRow("below ten times") << 599 << 60 << 1;
        QTest::newRow("ten times") << 600 << 60 << 0;
        QTest::newRow("99997 s") << 99997 << 60 << 0;
        // Even a target that the time would meet gives nothing to a timed-out run.
        QTest::newRow("99998 s") << 99998 << 200000 << 0;
        QTest::newRow("timed out") << 99999 << 200000 << 0;
        // The screen takes the time itself where the results counter takes its first three
        // digits: 1000 s of 2000 is half the target (11), where "100" would make 47.
        QTest::newRow("four digits") << 1000 << 2000 << 11;
        QTest::newRow("no target") << 0 << 0 << 0;
    }
    void pointsCurve() {
        QFETCH(int, seconds);
        QFETCH(int, target);
        QFETCH(int, points);
        QCOMPARE(resultPoints(seconds, target), points);
    }

    void theScreenAndTheCounterDifferOnlyPastThreeDigits() {
        // Below 1000 s both rules agree; the counter's own curve is the records room's.
        for (int s : {0, 1, 29, 30, 59, 60, 61, 119, 120, 599, 600, 999}) {
            QCOMPARE(earnedPoints(resultPoints(s, 60), 1.5f), runPointsFor(s, 60, 1.5f));
        }
        QCOMPARE(runPointsFor(1000, 2000, 1.0f), 47);
        QCOMPARE(resultPoints(1000, 2000), 11);
    }

    void pointsEarned_data() {
        QTest::addColumn<int>("points");
        QTest::addColumn<float>("factor");
        QTest::addColumn<int>("earned");
        QTest::addColumn<QString>("label");
        QTest::newRow("11 x 1.5") << 11 << 1.5f << 16 << u"獲得ポイント：11点×1.5→16点"_qs;
        // 1.3 is held a little below 1.3 in single precision: 12.9999995 is cut to 12.
        QTest::newRow("10 x 1.3") << 10 << 1.3f << 12 << u"獲得ポイント：10点×1.3→12点"_qs;
        QTest::newRow("5 x 1.5") << 5 << 1.5f << 7 << u"獲得ポイント：5点×1.5→7点"_qs;
        QTest::newRow("a whole factor") << 55 << 2.0f << 110 << u"獲得ポイント：55点×2→110点"_qs;
        QTest::newRow("factor 1") << 4 << 1.0f << 4 << u"獲得ポイント：4点×1→4点"_qs;
        QTest::newRow("timed out") << 0 << 1.5f << 0 << u"獲得ポイント：0点×1.5→0点"_qs;
        QTest::newRow("0.1") << 55 << 0.1f << 5 << u"獲得ポイント：55点×0.1→5点"_qs;
    }
    void pointsEarned() {
        QFETCH(int, points);
        QFETCH(float, factor);
        QFETCH(int, earned);
        QFETCH(QString, label);
        QCOMPARE(earnedPoints(points, factor), earned);
        QCOMPARE(pointsText(points, factor, earnedPoints(points, factor)), label);
    }

    void textsOfTheScreen() {
        QCOMPARE(timeText(57), u"今の成績：57秒"_qs);
        QCOMPARE(timeText(0), u"今の成績：0秒"_qs);
        QCOMPARE(timeText(99997), u"今の成績：99997秒"_qs);
        QCOMPARE(timeText(99998), u"記録なし"_qs);
        QCOMPARE(timeText(99999), u"記録なし"_qs);
        QCOMPARE(dayRunsText(3), u"（3回目)"_qs);
        QCOMPARE(levelRunsText(2.0f), u" (このレベル　2回目)"_qs);
        QCOMPARE(levelRunsText(0.0f), u" (このレベル　0回目)"_qs);
        QCOMPARE(trimmedName(u"  山田　花子　　"_qs), u"山田　花子"_qs);
        QCOMPARE(trimmedName(u"　\t太郎 "_qs), u"太郎"_qs);
        QCOMPARE(trimmedName(u"　 　"_qs), QString());
    }

    void clearingNeedsThePointsAndTheRunsOfTheJudgingPeriod() {
        ResultInstallation inst;   // clear: 30 points and 3 runs within 30 days, factor 1.5
        inst.addRuns(1, {30, 30}); // 16 + 16 points, only two runs
        count(inst);
        QVERIFY(!levelCleared(inst.state, 1, pupil));

        inst.addRuns(1, {99999}); // a timed-out run is no run and earns nothing
        count(inst);
        QVERIFY(!levelCleared(inst.state, 1, pupil));

        inst.addRuns(1, {300}); // 1 x 1.5: the third run, 33 points
        count(inst);
        QVERIFY(levelCleared(inst.state, 1, pupil));
        QVERIFY(!levelCleared(inst.state, 2, pupil));
        QVERIFY(!levelCleared(inst.state, 1, pupil + 1));
    }

    void clearingAtExactlyTheClearPointsAndCount() {
        ResultInstallation inst;
        inst.addRuns(1, {30, 60, 60}); // 16 + 7 + 7 = 30 points in 3 runs
        count(inst);
        QVERIFY(levelCleared(inst.state, 1, pupil));

        inst.state.criteria[1].clearPoints = 31;
        QVERIFY(!levelCleared(inst.state, 1, pupil));
        inst.state.criteria[1].clearPoints = 30;
        inst.state.criteria[1].clearCount = 4;
        QVERIFY(!levelCleared(inst.state, 1, pupil));
    }

    void runsBeforeTheJudgingPeriodDoNotClear() {
        ResultInstallation inst;
        inst.addRuns(1, {30, 30, 30}, 30); // 30 days ago: outside the 30 days
        count(inst);
        QVERIFY(!levelCleared(inst.state, 1, pupil));
        inst.addRuns(1, {30, 30, 30}, 29);
        count(inst);
        QVERIFY(levelCleared(inst.state, 1, pupil));
    }

    void aLevelThatNeverClearsKeepsTheCoursePanelAway() {
        ResultInstallation inst;
        QVERIFY(!someLevelNeverClears(inst.state));
        inst.state.criteria[35].clearCount = 9999;
        QVERIFY(someLevelNeverClears(inst.state));
        inst.state.criteria[35].clearCount = 9998;
        QVERIFY(!someLevelNeverClears(inst.state));
    }

    void overPractice() {
        ResultInstallation inst;   // over-practice period: today only
        inst.addRuns(1, {30, 30}); // 32 points today
        inst.addRuns(1, {30, 30, 30, 30}, 1);
        count(inst);
        QVERIFY(!overPractised(inst.state, 1, pupil)); // no limits

        LevelCriteria& c = inst.state.criteria[1];
        c.overuseRuns = 3;
        QVERIFY(!overPractised(inst.state, 1, pupil));
        c.overuseRuns = 2;
        QVERIFY(overPractised(inst.state, 1, pupil));

        c.overuseRuns = 0;
        c.overusePoints = 33;
        QVERIFY(!overPractised(inst.state, 1, pupil));
        c.overusePoints = 32;
        QVERIFY(overPractised(inst.state, 1, pupil));
        c.overuseRuns = 50; // either limit is enough
        QVERIFY(overPractised(inst.state, 1, pupil));
    }

    void runsOfTheDayOverLevelsOneTo35() {
        ResultInstallation inst;
        inst.addRuns(1, {40, 50});
        inst.addRuns(2, {40});
        inst.addRuns(35, {40});
        inst.addRuns(16, {40});
        inst.addRuns(1, {99999});            // timed out: not counted
        inst.addRuns(1, {40}, 1);            // yesterday
        inst.addRuns(1, {40}, 0, pupil + 1); // another pupil
        count(inst);
        QCOMPARE(runsToday(inst.state, pupil), 5);
        QCOMPARE(runsToday(inst.state, pupil + 1), 1);
    }

    void recordMessageOrder_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("personalBest");
        QTest::addColumn<int>("schoolBest");
        QTest::addColumn<RecordOutcome>("outcome");
        QTest::newRow("timed out") << 99999 << 1 << 1 << RecordOutcome::TimedOut;
        QTest::newRow("personal best") << 50 << 1 << 0 << RecordOutcome::PersonalBest;
        QTest::newRow("both bests") << 50 << 1 << 1 << RecordOutcome::SchoolBest;
        QTest::newRow("school best alone") << 50 << 0 << 1 << RecordOutcome::SchoolBest;
        QTest::newRow("best over the passing time") << 500 << 1 << 0 << RecordOutcome::PersonalBest;
        QTest::newRow("fast, no best") << 30 << 0 << 0 << RecordOutcome::PassingTime;
        QTest::newRow("at the passing time") << 120 << 0 << 0 << RecordOutcome::PassingTime;
        QTest::newRow("a second slower") << 121 << 0 << 0 << RecordOutcome::Slower;
    }
    void recordMessageOrder() {
        QFETCH(int, seconds);
        QFETCH(int, personalBest);
        QFETCH(int, schoolBest);
        QFETCH(RecordOutcome, outcome);
        ResultInstallation inst; // lowest passing time 120 s
        inst.finishRun(seconds, personalBest, schoolBest);
        QCOMPARE(recordOutcome(inst.state), outcome);
    }

    void retryRules_data() {
        QTest::addColumn<bool>("overPractised");
        QTest::addColumn<bool>("cleared");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("clearedAtMenu");
        QTest::addColumn<RetryOffer>("offer");
        QTest::newRow("fresh") << false << false << 2 << 0 << RetryOffer::Offer;
        QTest::newRow("cleared, not over-practised")
            << false << true << 2 << 0 << RetryOffer::Offer;
        QTest::newRow("over-practised, not cleared")
            << true << false << 2 << 0 << RetryOffer::Offer;
        QTest::newRow("over-practised, final cleared")
            << true << true << 1 << 0 << RetryOffer::OfferAndHideClear;
        QTest::newRow("over-practised, final cleared, course done at the menu")
            << true << true << 1 << 1 << RetryOffer::OfferAndHideClear;
        QTest::newRow("over-practised, cleared, course not done")
            << true << true << 2 << 0 << RetryOffer::NextLevelOnly;
        QTest::newRow("over-practised, cleared, course done at the menu")
            << true << true << 2 << 1 << RetryOffer::Offer;
    }
    void retryRules() {
        QFETCH(bool, overPractised);
        QFETCH(bool, cleared);
        QFETCH(int, level);
        QFETCH(int, clearedAtMenu);
        QFETCH(RetryOffer, offer);
        ResultInstallation inst; // the final level is 1
        LevelCriteria& c = inst.state.criteria[level];
        c.overuseRuns = 3;
        c.clearPoints = cleared ? 30 : 100; // the runs come to 57 or 73 points
        inst.addRuns(level, overPractised ? std::vector<int>{30, 30} : std::vector<int>{30});
        inst.addRuns(level, {30, 30}, 2); // inside the judging period, not today
        inst.finishRun(40, 0, 0, level);
        inst.state.views.clearedAtMenu = clearedAtMenu;
        count(inst);
        QCOMPARE(::overPractised(inst.state, level, pupil), overPractised);
        QCOMPARE(levelCleared(inst.state, level, pupil), cleared);
        QCOMPARE(retryOffer(inst.state), offer);
    }

    void overPractisedByPointsAlone() {
        ResultInstallation inst;
        inst.state.criteria[2].overusePoints = 48;
        inst.addRuns(2, {30, 30});
        inst.finishRun(30, 0, 0, 2); // 48 points today in 3 runs: cleared and over-practised
        count(inst);
        QCOMPARE(retryOffer(inst.state), RetryOffer::NextLevelOnly);
        inst.state.criteria[2].overusePoints = 49;
        QCOMPARE(retryOffer(inst.state), RetryOffer::Offer);
    }
};

QTEST_MAIN(ResultRulesTest)
#include "test_result_rules.moc"
