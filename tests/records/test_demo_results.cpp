// The demo installation's results: plausible runs the screens can count.

#include "DemoResults.h"
#include "RecordsTestSupport.h"
#include "support/TestInstallation.h"

#include <QTest>
#include <set>

class DemoResultsTest : public QObject {
    Q_OBJECT

private slots:
    void writesPlausibleRunsUpToToday();
    void theCounterFindsFiguresForToday();
    void reportsAFolderItCannotWrite();
};

void DemoResultsTest::writesPlausibleRunsUpToToday() {
    TestInstallation inst;
    const QDate today(2026, 12, 9);
    QString error;
    QVERIFY2(writeDemoResults(inst.drillDataFolder(), today, &error, QStringLiteral("12345")),
             qPrintable(error));
    const QByteArray bytes =
        fileBytes(inst.drillDataFolder() + QStringLiteral("成績累積データ.dat"));
    QCOMPARE(bytes.size() % 44, 0);
    const std::vector<ResultRecord> runs = decodeAll(bytes);
    QVERIFY2(runs.size() >= 200 && runs.size() <= 800, qPrintable(QString::number(runs.size())));

    std::set<int> pupils, levels;
    const double lastDay = dayNumber(today);
    int todays = 0, timedOut = 0, olderThanMonth = 0, olderThanYear = 0, todayTimedOut = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const ResultRecord& r = runs[i];
        QVERIFY(r.pupilNo >= 1 && r.pupilNo <= 40);
        QVERIFY(r.level >= 1 && r.level <= 3);
        QVERIFY(r.runDate <= lastDay && r.runDate > lastDay - 3650);
        olderThanMonth += r.runDate < lastDay - 31;
        olderThanYear += r.runDate < lastDay - 366;
        todayTimedOut += r.runDate == lastDay && r.seconds == 99999;
        QVERIFY(r.runClock >= 0 && r.runClock < 1);
        QVERIFY(r.seconds == 99999 || (r.seconds >= 15 && r.seconds <= 300));
        QCOMPARE(r.schoolCodeText(), QStringLiteral("12345"));
        if (i > 0) { // in the order they were made
            const ResultRecord& before = runs[i - 1];
            QVERIFY(before.runDate < r.runDate ||
                    (before.runDate == r.runDate && before.runClock <= r.runClock));
        }
        pupils.insert(r.pupilNo);
        levels.insert(r.level);
        todays += r.runDate == lastDay;
        timedOut += r.seconds == 99999;
    }
    QCOMPARE(pupils.size(), std::size_t{39});
    QVERIFY(!pupils.count(33)); // a pupil without a run
    QVERIFY(olderThanMonth >= 1 && olderThanYear >= 1);
    QVERIFY(todayTimedOut >= 1);
    QCOMPARE(levels, (std::set<int>{1, 2, 3}));
    QVERIFY(todays >= 10);
    QVERIFY(timedOut >= 1 && timedOut < int(runs.size()) / 10);

    // The same demo every time.
    QVERIFY(writeDemoResults(inst.drillDataFolder(), today, &error, QStringLiteral("12345")));
    QCOMPARE(fileBytes(inst.drillDataFolder() + QStringLiteral("成績累積データ.dat")), bytes);
}

void DemoResultsTest::theCounterFindsFiguresForToday() {
    TestInstallation inst;
    inst.env.setNow(QDateTime(QDate(2026, 12, 9), QTime(21, 0)));
    for (int level = 1; level <= 3; ++level) {
        LevelCriteria& c = inst.state.criteria[static_cast<std::size_t>(level)];
        c.targetSeconds = 60;
        c.pointFactor = 1.0f;
        c.judgeDays = 7;
        c.overuseDays = 1;
    }
    QVERIFY(writeDemoResults(inst.drillDataFolder(), QDate(2026, 12, 9), nullptr));
    QVERIFY(countResults(inst.state));
    float today = 0;
    int total = 0;
    for (int pupil = 1; pupil <= 40; ++pupil) {
        for (int level = 1; level <= 3; ++level) {
            today += inst.state.stats.statRuns[Statistics::cell(level, pupil)];
            total += inst.state.stats.statTotalRuns[Statistics::cell(level, pupil)];
        }
    }
    QVERIFY(today >= 10);
    QVERIFY(total >= 200);
    QVERIFY(inst.state.stats.schoolBestSeconds[1] < 60);
    // Two pupils share the best time of level 1, and it is the school's best.
    const Statistics& stats = inst.state.stats;
    QCOMPARE(stats.bestSeconds[Statistics::cell(1, 2)], 17);
    QCOMPARE(stats.bestSeconds[Statistics::cell(1, 3)], 17);
    QCOMPARE(stats.schoolBestSeconds[1], 17);
    QCOMPARE(stats.bestSeconds[Statistics::cell(1, 33)], Statistics::noTime);
}

void DemoResultsTest::reportsAFolderItCannotWrite() {
    TestInstallation inst;
    const QString notAFolder = inst.root() + QStringLiteral("/file");
    inst.writeBytes(notAFolder, "x");
    QString error;
    QVERIFY(!writeDemoResults(notAFolder + QStringLiteral("/sub"), QDate(2026, 12, 9), &error));
    QVERIFY(error.contains(QStringLiteral("成績累積データ.dat")));
}

QTEST_GUILESS_MAIN(DemoResultsTest)
#include "test_demo_results.moc"
