// The distribution tables beside the criteria grid and the two star lists built from
// them, from records in memory and from the results file itself.

#include "RecordsTestSupport.h"
#include "records/TimeDistributions.h"
#include "support/TestInstallation.h"

#include <QDir>
#include <QTest>

namespace {

QString starLine(int from, int stars) {
    return QStringLiteral("%1～").arg(from, 4) + QString(stars, QChar(0x2605));
}

// The runs of one pupil at one level, with the given times.
void addRuns(std::vector<ResultRecord>& records, int pupil, int level, std::vector<int> times) {
    for (const int seconds : times) {
        records.push_back(makeRecord(46000, 36000, pupil, level, seconds));
    }
}

} // namespace

class TimeDistributionsTest : public QObject {
    Q_OBJECT

private slots:
    void noResultsGiveUnitOneAndNoStars();
    void bucketsAndBestTimes();
    void timedOutRunFallsInTheLastBuckets();
    void largestBucketSetsTheStarUnit();
    void levelZeroAndForeignRecordsAreLeftOut();
    void readsTheResultsFileAndIgnoresATornTail();
};

void TimeDistributionsTest::noResultsGiveUnitOneAndNoStars() {
    const TimeDistributions tables = distributionsOf({});
    const QStringList all = allTimesList(tables, 3);
    QCOMPARE(all.size(), 1 + 101);
    QCOMPARE(all[0], QStringLiteral("レベル3 今まで0回  （★=1）"));
    QCOMPARE(all[1], QStringLiteral("   0～"));
    QCOMPARE(all[2], QStringLiteral("  10～"));
    QCOMPARE(all[101], QStringLiteral("1000～"));
    const QStringList best = bestTimesList(tables, 3);
    QCOMPARE(best.size(), 1 + 31);
    QCOMPARE(best[0], QStringLiteral("レベル3 （★=1）"));
    QCOMPARE(best[31], QStringLiteral(" 300～"));
}

void TimeDistributionsTest::bucketsAndBestTimes() {
    std::vector<ResultRecord> records;
    addRuns(records, 7, 2, {45, 38, 52}); // best 38
    addRuns(records, 8, 2, {31, 39});     // best 31
    addRuns(records, 7, 1, {12});         // another level
    const TimeDistributions t = distributionsOf(records);
    QCOMPARE(t.runCountByLevel[2], 5);
    QCOMPARE(t.runCountByLevel[1], 1);
    QCOMPARE(t.allTimesHistogram[3][2], 3); // 38, 31, 39
    QCOMPARE(t.allTimesHistogram[4][2], 1);
    QCOMPARE(t.allTimesHistogram[5][2], 1);
    QCOMPARE(t.bestTimesHistogram[3][2], 2); // 38 and 31, one per pupil
    QCOMPARE(t.bestTimesHistogram[4][2], 0);
    QCOMPARE(t.bestTimesHistogram[1][1], 1);

    const QStringList all = allTimesList(t, 2);
    QCOMPARE(all[0], QStringLiteral("レベル2 今まで5回  （★=1）"));
    QCOMPARE(all[1 + 3], starLine(30, 3));
    QCOMPARE(all[1 + 4], starLine(40, 1));
    QCOMPARE(all[1 + 5], starLine(50, 1));
    QCOMPARE(all[1 + 6], starLine(60, 0));
    const QStringList best = bestTimesList(t, 2);
    QCOMPARE(best[1 + 3], starLine(30, 2));
    QCOMPARE(best[1 + 4], starLine(40, 0));
}

void TimeDistributionsTest::timedOutRunFallsInTheLastBuckets() {
    std::vector<ResultRecord> records;
    addRuns(records, 5, 4, {99999});
    addRuns(records, 6, 4, {99999, 305, 1000});
    const TimeDistributions t = distributionsOf(records);
    QCOMPARE(t.allTimesHistogram[100][4], 3);
    QCOMPARE(t.allTimesHistogram[30][4], 1);
    // Pupil 5's only run is the timed-out one; pupil 6's best is 305: both at 300 s.
    QCOMPARE(t.bestTimesHistogram[30][4], 2);
    QCOMPARE(allTimesList(t, 4)[1 + 100], starLine(1000, 3));
    QCOMPARE(bestTimesList(t, 4)[1 + 30], starLine(300, 2));
    QCOMPARE(timeBucket(-4, 30), 0);
    QCOMPARE(timeBucket(299, 30), 29);
}

void TimeDistributionsTest::largestBucketSetsTheStarUnit() {
    QCOMPARE(starUnit(0), 1);
    QCOMPARE(starUnit(19), 1);
    QCOMPARE(starUnit(25), 2);
    std::vector<ResultRecord> records;
    for (int pupil = 1; pupil <= 25; ++pupil) {
        addRuns(records, pupil, 1, {42}); // 25 runs in the 40 s bucket
    }
    for (int pupil = 1; pupil <= 5; ++pupil) {
        addRuns(records, pupil, 1, {71}); // 5 runs at 70 s
    }
    addRuns(records, 1, 1, {95}); // 1 run: half a star rounds up
    const TimeDistributions t = distributionsOf(records);
    const QStringList all = allTimesList(t, 1);
    QCOMPARE(all[0], QStringLiteral("レベル1 今まで31回  （★=2）"));
    QCOMPARE(all[1 + 4], starLine(40, 13)); // 12.5 + 0.5
    QCOMPARE(all[1 + 7], starLine(70, 3));  // 2.5 + 0.5
    QCOMPARE(all[1 + 9], starLine(90, 1));  // 0.5 + 0.5
    // Every pupil's best is 42 s.
    const QStringList best = bestTimesList(t, 1);
    QCOMPARE(best[0], QStringLiteral("レベル1 （★=2）"));
    QCOMPARE(best[1 + 4], starLine(40, 13));
    QCOMPARE(best[1 + 7], starLine(70, 0));
}

void TimeDistributionsTest::levelZeroAndForeignRecordsAreLeftOut() {
    std::vector<ResultRecord> records;
    addRuns(records, 3, 0, {40});
    addRuns(records, 3, 36, {40});
    addRuns(records, 6000, 1, {40});
    addRuns(records, 3, 35, {40});
    const TimeDistributions t = distributionsOf(records);
    QCOMPARE(t.runCountByLevel[0], 0);
    QCOMPARE(t.runCountByLevel[1], 0);
    QCOMPARE(t.runCountByLevel[35], 1);
    QCOMPARE(t.bestTimesHistogram[4][35], 1);
    QVERIFY(allTimesList(t, 36).isEmpty());
}

void TimeDistributionsTest::readsTheResultsFileAndIgnoresATornTail() {
    TestInstallation inst;
    std::vector<ResultRecord> records;
    addRuns(records, 2, 1, {20, 25});
    QByteArray bytes = encodeAll(records);
    bytes.append(QByteArray(30, '\x7f')); // a record cut short by a crash
    inst.writeBytes(resultsFilePath(inst.state), bytes);
    TimeDistributions tables;
    QString error;
    QVERIFY(refreshDistributions(inst.state, tables, &error));
    QCOMPARE(tables.runCountByLevel[1], 2);
    QCOMPARE(tables.allTimesHistogram[2][1], 2);
    QCOMPARE(tables.bestTimesHistogram[2][1], 1);

    // A results file that cannot be opened leaves the tables as they were.
    QFile::remove(resultsFilePath(inst.state));
    QDir().mkpath(resultsFilePath(inst.state)); // a folder in the file's place
    QVERIFY(!refreshDistributions(inst.state, tables, &error));
    QVERIFY2(error.contains(QStringLiteral("成績累積データ.dat")), qPrintable(error));
    QCOMPARE(tables.runCountByLevel[1], 2);
}

QTEST_GUILESS_MAIN(TimeDistributionsTest)
#include "test_time_distributions.moc"
