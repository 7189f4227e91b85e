// Points of a run: the curve below the target, the steps above it, the factor as the
// 32-bit value of the criteria file.

#include "records/CriteriaFile.h"
#include "records/ResultsFile.h"
#include "support/TestInstallation.h"

#include <QTest>

class RunPointsTest : public QObject {
    Q_OBJECT

private slots:
    void followsTheCurveAndTheSteps_data();
    void followsTheCurveAndTheSteps();
    void usesTheFirstThreeDigitsOfLongTimes();
    void factorIsThe32BitValueCutDown();
    void factorFromTheCriteriaFile();
    void oddCriteriaGiveFiniteFigures();
};

void RunPointsTest::followsTheCurveAndTheSteps_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("points");
    QTest::newRow("half the target 30") << 30 << 15 << 11; // (15/30)^3*50+5 = 11.25
    QTest::newRow("at the target 30") << 30 << 30 << 5;
    QTest::newRow("just above 30") << 30 << 31 << 4;
    QTest::newRow("below twice 30") << 30 << 59 << 4;
    QTest::newRow("twice 30") << 30 << 60 << 1;
    QTest::newRow("below ten times 30") << 30 << 299 << 1;
    QTest::newRow("ten times 30") << 30 << 300 << 0;
    QTest::newRow("timed out") << 30 << 99999 << 0;
    QTest::newRow("instant run") << 30 << 0 << 55;
    QTest::newRow("quarter of 60") << 60 << 15 << 26; // (45/60)^3*50+5 = 26.09
    QTest::newRow("at the target 60") << 60 << 60 << 5;
    QTest::newRow("119 at 60") << 60 << 119 << 4;
    QTest::newRow("120 at 60") << 60 << 120 << 1;
    QTest::newRow("599 at 60") << 60 << 599 << 1;
    QTest::newRow("600 at 60") << 60 << 600 << 0;
    QTest::newRow("99998 counts nothing") << 20000 << 99998 << 0;
    QTest::newRow("99997 under a huge target") << 20000 << 99997 << 1;
}

void RunPointsTest::followsTheCurveAndTheSteps() {
    QFETCH(int, target);
    QFETCH(int, seconds);
    QFETCH(int, points);
    QCOMPARE(runPointsFor(seconds, target, 1.0f), points);
}

void RunPointsTest::usesTheFirstThreeDigitsOfLongTimes() {
    // With a target of 2000 s, 1234 s is taken as 123: (1877/2000)^3*50+5 = 46.3.
    QCOMPARE(runPointsFor(1234, 2000, 1.0f), 46);
    // 999 is still itself: (1001/2000)^3*50+5 = 11.27.
    QCOMPARE(runPointsFor(999, 2000, 1.0f), 11);
}

void RunPointsTest::factorIsThe32BitValueCutDown() {
    // 16 s at a target of 30 is worth 10 points (10.08).
    QCOMPARE(runPointsFor(16, 30, 1.0f), 10);
    // 1.3 as a 32-bit float lies a little below 1.3: 12.9999995 is cut to 12.
    QCOMPARE(runPointsFor(16, 30, 1.3f), 12);
    // 1.5 is exact: 5 points give 7.5, cut to 7.
    QCOMPARE(runPointsFor(30, 30, 1.5f), 7);
    QCOMPARE(runPointsFor(30, 30, 2.0f), 10);
    QCOMPARE(runPointsFor(99999, 30, 1.5f), 0);
}

void RunPointsTest::factorFromTheCriteriaFile() {
    TestInstallation inst;
    inst.writeBytes(inst.drillDataFolder() + QStringLiteral("タイム回数データ.txt"),
                    TestInstallation::fixtureBytes(QStringLiteral("criteria-cp932.txt")));
    QVERIFY(loadCriteria(inst.state));
    // Level 1: target 60, factor 1.5; level 3: target 30, factor 1.3.
    QCOMPARE(runPoints(inst.state, 60, 1), 7);
    QCOMPARE(runPoints(inst.state, 16, 3), 12);
    QCOMPARE(runPoints(inst.state, 16, 36), 0); // no such level
    QCOMPARE(runPoints(inst.state, 16, -1), 0);
}

void RunPointsTest::oddCriteriaGiveFiniteFigures() {
    // A level without a target earns nothing instead of dividing by zero.
    QCOMPARE(runPointsFor(0, 0, 1.0f), 0);
    QCOMPARE(runPointsFor(-5, 0, 1.0f), 0);
    QCOMPARE(runPointsFor(10, -30, 1.0f), 0);
    // A huge factor stays inside the 32-bit tables.
    QCOMPARE(runPointsFor(0, 30, 3.0e38f), std::numeric_limits<std::int32_t>::max());
    QCOMPARE(runPointsFor(0, 30, -3.0e38f), std::numeric_limits<std::int32_t>::min());
    // Foreign negative times use their text too: "-12" of -1234.
    QCOMPARE(runPointsFor(-1234, 30, 1.0f), 142); // (42/30)^3*50+5 = 142.2
}

QTEST_GUILESS_MAIN(RunPointsTest)
#include "test_run_points.moc"
