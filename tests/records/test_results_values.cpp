// Records no copy of the program writes (negative seconds, a run date that is no day or
// lies after today): each goes through the real counter beside one good run and must add
// nothing to any statistic or best time, be counted, and be named to the school; the name
// list keeps working. A folder where the results file belongs is named with its path.

#include "RecordsTestSupport.h"
#include "records/DamagedRecords.h"
#include "records/TimeDistributions.h"
#include "roster/RosterList.h"
#include "support/TestInstallation.h"
#include "text/Cp932.h"

#include <QDir>
#include <QTest>
#include <limits>

namespace {

int today(TestInstallation& inst) {
    return dayNumber(inst.env.now().date());
}

ResultRecord withDate(ResultRecord r, double date) {
    r.runDate = date;
    return r;
}

} // namespace

class ResultsValuesTest : public QObject {
    Q_OBJECT

private slots:
    void damagedRecordsAddNothing_data();
    void damagedRecordsAddNothing();
    void aFolderInPlaceOfTheFileIsNamed();
};

void ResultsValuesTest::damagedRecordsAddNothing_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<double>("dateFromToday"); // added to today's day number
    QTest::addColumn<double>("date");          // used instead when not zero
    QTest::addColumn<int>("fault");            // RecordFault
    QTest::addColumn<QString>("word");         // what recordFaultText holds

    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto fault = [](RecordFault f) { return static_cast<int>(f); };
    QTest::newRow("-5 seconds") << -5 << 0.0 << 0.0 << fault(RecordFault::NegativeSeconds)
                                << "-5 秒";
    QTest::newRow("lowest seconds") << std::numeric_limits<int>::min() << 0.0 << 0.0
                                    << fault(RecordFault::NegativeSeconds) << "-2147483648";
    QTest::newRow("tomorrow") << 20 << 1.0 << 0.0 << fault(RecordFault::FutureDate) << "今日より後";
    QTest::newRow("1e300") << 20 << 0.0 << 1e300 << fault(RecordFault::FutureDate) << "今日より後";
    QTest::newRow("infinity") << 20 << 0.0 << inf << fault(RecordFault::BadDate) << "inf";
    QTest::newRow("minus infinity") << 20 << 0.0 << -inf << fault(RecordFault::BadDate) << "inf";
    QTest::newRow("NaN") << 20 << 0.0 << nan << fault(RecordFault::BadDate) << "nan";
}

void ResultsValuesTest::damagedRecordsAddNothing() {
    QFETCH(int, seconds);
    QFETCH(double, dateFromToday);
    QFETCH(double, date);
    QFETCH(int, fault);
    QFETCH(QString, word);

    TestInstallation inst;
    LevelCriteria& c = inst.state.criteria[1];
    c.targetSeconds = 30;
    c.minimumSeconds = 40;
    c.pointFactor = 1;
    c.judgeDays = 7;
    c.overuseDays = 7;
    const ResultRecord good = makeRecord(today(inst), 3600, 1, 1, 30); // 5 points
    const ResultRecord damaged = withDate(makeRecord(0, 3600, 1, 1, seconds),
                                          date != 0 ? date : today(inst) + dateFromToday);
    inst.writeBytes(resultsPath(inst), encodeAll({good, damaged, good}));

    const RecordFault expected = static_cast<RecordFault>(fault);
    QCOMPARE(recordFault(damaged, today(inst)), expected);
    QVERIFY(!isUsableRecord(damaged, today(inst)));
    QVERIFY(isUsableRecord(good, today(inst)));
    const QString faultText = recordFaultText(expected, damaged);
    QVERIFY2(faultText.contains(word, Qt::CaseInsensitive), qPrintable(faultText));

    // The name list is built from the count; the pupil's figures are the two good runs.
    inst.writeBytes(inst.dataRoot() + QStringLiteral("新名簿.txt"),
                    encodeCp932(QStringLiteral("1,2014,0,0,\"一\",0,\"\",\"\"\r\n")).value());
    const RosterList list = buildRosterList(inst.state, totalPointsAndRuns, "全学年");
    QVERIFY(!list.ended);
    QCOMPARE(list.numberList.size(), 1);
    const PupilFigures figures = sumPupilFigures(inst.state.stats)[1];
    QCOMPARE(figures.totalPoints, 10);
    QCOMPARE(figures.totalRuns, 2);
    QCOMPARE(figures.todayPoints, 10);
    const Statistics& s = inst.state.stats;
    const int cell = Statistics::cell(1, 1);
    QCOMPARE(s.statJudgePoints[cell], 10);
    QCOMPARE(s.statOverusePoints[cell], 10);
    QCOMPARE(s.bestSeconds[cell], 30);
    QCOMPARE(s.schoolBestSeconds[1], 30);
    QCOMPARE(s.loadedResults.size(), std::size_t(2));
    QCOMPARE(s.leftOutRecords[static_cast<std::size_t>(fault)], 1);
    QCOMPARE(s.damagedRecords(), 1);

    // The teacher is told which record it is.
    DamagedRecords found;
    QVERIFY(findDamagedRecords(inst.state, found));
    const QString notice = damagedRecordsNotice(inst.state, found);
    QVERIFY2(notice.contains(resultsPath(inst)) && notice.contains(QStringLiteral("1 件")) &&
                 notice.contains(QStringLiteral("記録の番号: 2\n")),
             qPrintable(notice));

    // The teacher's time distributions take the same runs.
    TimeDistributions tables;
    QVERIFY(refreshDistributions(inst.state, tables, nullptr));
    QCOMPARE(tables.runCountByLevel[1], 2);
}

void ResultsValuesTest::aFolderInPlaceOfTheFileIsNamed() {
    TestInstallation inst;
    QVERIFY(QDir().mkpath(resultsPath(inst)));
    QVERIFY(!countResults(inst.state));
    QCOMPARE(inst.env.endedWith, 1);
    QCOMPARE(inst.env.messages.size(), std::size_t(1));
    const QString text = inst.env.messages.front().text;
    QVERIFY2(text.contains(resultsPath(inst)) && text.contains(QStringLiteral("フォルダ")),
             qPrintable(text));
    // Appending says the same instead of writing.
    inst.env.messages.clear();
    inst.state.pupil.pupilIndex = 1;
    inst.state.run.levelNo = 1;
    QVERIFY(!appendResult(inst.state));
    QVERIFY(inst.env.messages.front().text.contains(resultsPath(inst)));
}

QTEST_GUILESS_MAIN(ResultsValuesTest)
#include "test_results_values.moc"
