// The results counter: which records count, in which period, and what it reads.

#include "RecordsTestSupport.h"
#include "support/TestInstallation.h"

#include <QFileInfo>
#include <QTest>
#include <algorithm>

namespace {

void setLevel(AppState& state, int level, int target, float factor, double judgeDays,
              double overuseDays) {
    LevelCriteria& c = state.criteria[static_cast<std::size_t>(level)];
    c.targetSeconds = target;
    c.minimumSeconds = target * 2;
    c.pointFactor = factor;
    c.judgeDays = judgeDays;
    c.overuseDays = overuseDays;
}

template <typename Table, typename T> bool allEqual(const Table& table, T value) {
    return std::all_of(table.begin(), table.end(), [value](T v) { return v == value; });
}

template <typename T> bool sameCells(const CellTable<T>& a, const CellTable<T>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

template <typename T> int at(const CellTable<T>& t, int level, int pupil) {
    return t[Statistics::cell(level, pupil)];
}

} // namespace

class ResultsCounterTest : public QObject {
    Q_OBJECT

private slots:
    void freshTablesAreEmptyAndApart();
    void emptyOrMissingFileCountsNothing();
    void periodsTakeTodayAndTheDaysBefore_data();
    void periodsTakeTodayAndTheDaysBefore();
    void readsOnlyTheNewestTwentyThousand();
    void ignoresATornTailAndNeverChangesTheFile();
    void skipsForeignAndUnusedRecords();
    void countsTheSampleFile();
    void schoolBestIsRebuiltFromPupilsUpTo1000();
    void aRecountMatchesACountAfresh();
    void aRecountForgetsBestsTheFileNoLongerHolds();
};

// The tables are slices of one block: each starts empty, and none reaches into another.
void ResultsCounterTest::freshTablesAreEmptyAndApart() {
    Statistics s;
    QVERIFY(allEqual(s.statTotalRuns, std::int16_t{0}));
    QVERIFY(allEqual(s.statTotalPoints, 0));
    QVERIFY(allEqual(s.statRuns, 0.0f));
    QVERIFY(allEqual(s.countedMark, std::uint8_t{0}));
    QVERIFY(allEqual(s.bestSeconds, Statistics::noTime));

    struct Span {
        const char* name;
        const void* begin;
        const void* end;
        std::size_t size;
    };
    auto span = [](const char* name, const auto& table) {
        return Span{name, table.begin(), table.end(), table.size()};
    };
    const std::vector<Span> spans{span("totalRuns", s.statTotalRuns),
                                  span("totalPoints", s.statTotalPoints),
                                  span("judgeRuns", s.statJudgeRuns),
                                  span("judgePoints", s.statJudgePoints),
                                  span("overuseRuns", s.statOveruseRuns),
                                  span("overusePoints", s.statOverusePoints),
                                  span("todayRuns", s.statRuns),
                                  span("todayPoints", s.statTodayPoints),
                                  span("best", s.bestSeconds),
                                  span("countedMark", s.countedMark)};
    for (std::size_t i = 0; i < spans.size(); ++i) {
        QCOMPARE(spans[i].size, std::size_t{Statistics::cells});
        for (std::size_t j = i + 1; j < spans.size(); ++j) {
            const bool apart = spans[i].end <= spans[j].begin || spans[j].end <= spans[i].begin;
            QVERIFY2(apart, qPrintable(QStringLiteral("%1 overlaps %2")
                                           .arg(QLatin1String(spans[i].name),
                                                QLatin1String(spans[j].name))));
        }
    }

    // A block hands out what it holds and no more.
    CellMemory memory(CellTable<std::int32_t>::footprint(100));
    CellTable<std::int32_t> fits(memory, 100);
    fits[99] = 7;
    QCOMPARE(fits[99], 7);
    QVERIFY_THROWS_EXCEPTION(std::bad_alloc, CellTable<std::uint8_t>(memory, 4096 * 1024));
}

void ResultsCounterTest::emptyOrMissingFileCountsNothing() {
    for (const bool missing : {true, false}) {
        TestInstallation inst;
        Statistics& s = inst.state.stats;
        // Figures left from an earlier count, in every table and at both ends of them, must
        // go: a count clears the cells the one before it filled.
        const int today = todayNumber(inst.env);
        setLevel(inst.state, 1, 30, 1.0f, 7, 7);
        setLevel(inst.state, 35, 30, 1.0f, 7, 7);
        writeResults(inst, {makeRecord(today, 0, 1, 1, 12), makeRecord(today, 0, 7, 1, 20),
                            makeRecord(today, 0, 5000, 35, 20)});
        QVERIFY(countResults(inst.state));
        QCOMPARE(at(s.statTotalRuns, 35, 5000), 1);
        QVERIFY(QFile::remove(resultsPath(inst)));
        if (!missing) {
            writeResults(inst, {});
        }

        QVERIFY(countResults(inst.state));
        QVERIFY(allEqual(s.statTotalRuns, std::int16_t{0}));
        QVERIFY(allEqual(s.statTotalPoints, 0));
        QVERIFY(allEqual(s.statJudgeRuns, std::int16_t{0}));
        QVERIFY(allEqual(s.statJudgePoints, 0));
        QVERIFY(allEqual(s.statOveruseRuns, std::int16_t{0}));
        QVERIFY(allEqual(s.statOverusePoints, 0));
        QVERIFY(allEqual(s.statRuns, 0.0f));
        QVERIFY(allEqual(s.statTodayPoints, 0));
        QVERIFY(allEqual(s.bestSeconds, Statistics::noTime));
        QVERIFY(allEqual(s.schoolBestSeconds, Statistics::noTime));
        QVERIFY(s.loadedResults.empty());
        QCOMPARE(inst.env.messages.size(), std::size_t{0});
        // Opening the file made it, empty.
        QVERIFY(QFileInfo::exists(resultsPath(inst)));
        QCOMPARE(QFileInfo(resultsPath(inst)).size(), 0);
    }
}

void ResultsCounterTest::periodsTakeTodayAndTheDaysBefore_data() {
    QTest::addColumn<QTime>("now");
    QTest::newRow("midnight") << QTime(0, 0, 0);
    QTest::newRow("one second past") << QTime(0, 0, 1);
    QTest::newRow("mid morning") << QTime(10, 0, 0);
    QTest::newRow("last second") << QTime(23, 59, 59);
}

void ResultsCounterTest::periodsTakeTodayAndTheDaysBefore() {
    QFETCH(QTime, now);
    TestInstallation inst;
    inst.env.setNow(QDateTime(QDate(2026, 12, 9), now));
    const int today = todayNumber(inst.env);
    AppState& state = inst.state;
    setLevel(state, 1, 30, 1.0f, 7, 1);
    setLevel(state, 2, 30, 1.0f, 0, 0);
    setLevel(state, 3, 1000, 1.0f, 7, 7);
    writeResults(inst, {
                           makeRecord(today - 7, 86399, 1, 1, 15),    // 11 points, a week ago
                           makeRecord(today - 6, 0, 1, 1, 30),        // 5 points, six days ago
                           makeRecord(today - 1, 86399, 1, 1, 99999), // timed out
                           makeRecord(today, 0, 1, 1, 31),            // 4 points, today
                           makeRecord(today, 3600, 1, 2, 15),         // periods of 0 days
                           makeRecord(today, 7200, 1, 3, 6000),       // a point, not counted
                           makeRecord(today + 1, 0, 2, 1, 30),        // a clock set wrong
                       });
    QVERIFY(countResults(state));
    const Statistics& s = state.stats;
    QCOMPARE(at(s.statTotalRuns, 1, 1), 3);
    QCOMPARE(at(s.statTotalPoints, 1, 1), 20);
    QCOMPARE(at(s.statJudgeRuns, 1, 1), 2); // six days ago and today
    QCOMPARE(at(s.statJudgePoints, 1, 1), 9);
    QCOMPARE(at(s.statOveruseRuns, 1, 1), 1); // one day: today only
    QCOMPARE(at(s.statOverusePoints, 1, 1), 4);
    QCOMPARE(s.statRuns[Statistics::cell(1, 1)], 1.0f);
    QCOMPARE(at(s.statTodayPoints, 1, 1), 4);

    QCOMPARE(at(s.statTotalRuns, 2, 1), 1);
    QCOMPARE(at(s.statTotalPoints, 2, 1), 11);
    QCOMPARE(at(s.statJudgeRuns, 2, 1), 0);
    QCOMPARE(at(s.statJudgePoints, 2, 1), 0);
    QCOMPARE(at(s.statOveruseRuns, 2, 1), 0);
    QCOMPARE(at(s.statOverusePoints, 2, 1), 0);
    QCOMPARE(s.statRuns[Statistics::cell(2, 1)], 1.0f);

    QCOMPARE(at(s.statTotalRuns, 3, 1), 0);
    QCOMPARE(at(s.statTotalPoints, 3, 1), 1);
    QCOMPARE(at(s.statJudgeRuns, 3, 1), 0);
    QCOMPARE(at(s.statJudgePoints, 3, 1), 1);
    QCOMPARE(s.statRuns[Statistics::cell(3, 1)], 0.0f);
    QCOMPARE(at(s.statTodayPoints, 3, 1), 1);

    // A record dated tomorrow (a clock set wrong) is no run yet: left out and counted.
    QCOMPARE(at(s.statJudgeRuns, 1, 2), 0);
    QCOMPARE(at(s.statTotalPoints, 1, 2), 0);
    QCOMPARE(at(s.bestSeconds, 1, 2), Statistics::noTime);
    QCOMPARE(s.damagedRecords(), 1);

    QCOMPARE(at(s.bestSeconds, 1, 1), 15);
    QCOMPARE(at(s.bestSeconds, 2, 1), 15);
    QCOMPARE(at(s.bestSeconds, 3, 1), 6000);
    QCOMPARE(s.schoolBestSeconds[1], 15);
    QCOMPARE(s.loadedResults.size(), std::size_t{6}); // tomorrow's record is not among them
}

void ResultsCounterTest::readsOnlyTheNewestTwentyThousand() {
    TestInstallation inst;
    const int today = todayNumber(inst.env);
    setLevel(inst.state, 1, 30, 1.0f, 7, 7);
    std::vector<ResultRecord> records;
    records.push_back(makeRecord(today, 100, 9, 1, 10)); // record 1: only pupil 9's run
    for (int i = 0; i < 20000; ++i) {
        records.push_back(makeRecord(today, 200, 1, 1, 40 + i % 7));
    }
    writeResults(inst, records);
    QVERIFY(countResults(inst.state));
    const Statistics& s = inst.state.stats;
    QCOMPARE(s.loadedResults.size(), std::size_t{20000});
    QCOMPARE(s.loadedResults.front().pupilNo, 1);
    QCOMPARE(at(s.bestSeconds, 1, 9), Statistics::noTime);
    QCOMPARE(at(s.statTotalRuns, 1, 9), 0);
    QCOMPARE(at(s.statTotalRuns, 1, 1), 20000);
    QCOMPARE(at(s.bestSeconds, 1, 1), 40);
    QCOMPARE(s.schoolBestSeconds[1], 40);

    // Without the last record, record 1 is inside the window again.
    records.pop_back();
    writeResults(inst, records);
    QVERIFY(countResults(inst.state));
    QCOMPARE(at(s.bestSeconds, 1, 9), 10);
    QCOMPARE(at(s.statTotalRuns, 1, 9), 1);
    QCOMPARE(s.schoolBestSeconds[1], 10);

    // The readers of the views number the records as they stand in the file.
    for (int i = 0; i < 10000; ++i) {
        records.push_back(makeRecord(today, 300, 2, 1, 50));
    }
    writeResults(inst, records);
    ResultsTail tail;
    QVERIFY(readResultsTail(inst.state, 20000, tail, QStringLiteral("Command7")));
    QCOMPARE(tail.totalRecords, 30000);
    QCOMPARE(tail.records.size(), std::size_t{20000});
    QCOMPARE(tail.records.front().number, 10001);
    QCOMPARE(tail.records.back().number, 30000);
    QCOMPARE(int(tail.records.back().record.pupilNo), 2);
}

void ResultsCounterTest::ignoresATornTailAndNeverChangesTheFile() {
    TestInstallation inst;
    const int today = todayNumber(inst.env);
    setLevel(inst.state, 1, 30, 1.0f, 7, 7);
    const QByteArray torn = encodeAll({makeRecord(today, 0, 3, 1, 5)}).left(20);
    writeResults(inst, {makeRecord(today, 0, 1, 1, 30), makeRecord(today, 0, 2, 1, 30)}, torn);
    const QByteArray before = fileBytes(resultsPath(inst));
    QVERIFY(countResults(inst.state));
    QCOMPARE(inst.state.stats.loadedResults.size(), std::size_t{2});
    QCOMPARE(at(inst.state.stats.statTotalRuns, 1, 3), 0);
    QCOMPARE(fileBytes(resultsPath(inst)), before);
    ResultsTail tail;
    QVERIFY(readResultsTail(inst.state, -1, tail, QStringLiteral("Command7")));
    QCOMPARE(tail.totalRecords, 2);
    QCOMPARE(fileBytes(resultsPath(inst)), before);
}

void ResultsCounterTest::skipsForeignAndUnusedRecords() {
    TestInstallation inst;
    const int today = todayNumber(inst.env);
    for (int level = 1; level <= 35; ++level) {
        setLevel(inst.state, level, 30, 1.0f, 7, 7);
    }
    writeResults(inst, {
                           makeRecord(today, 0, 7000, 99, 10), // foreign: both out
                           makeRecord(today, 0, 1, 36, 10),    // level past the table
                           makeRecord(today, 0, 1, -1, 10),    // negative level
                           makeRecord(today, 0, 5001, 1, 10),  // pupil past the table
                           makeRecord(today, 0, -3, 1, 10),    // negative pupil
                           makeRecord(today, 0, 0, 1, 10),     // pupil 0: not kept
                           makeRecord(today, 0, 4, 0, 10),     // level 0: not kept
                           makeRecord(-2, 0, 4, 2, 10),        // before day 0: not kept
                           makeRecord(today, 0, 5000, 35, 30), // the last cell of all
                           makeRecord(today, 0, 1, 1, 30),
                       });
    QVERIFY(countResults(inst.state));
    const Statistics& s = inst.state.stats;
    QCOMPARE(s.loadedResults.size(), std::size_t{2});
    QCOMPARE(at(s.statTotalRuns, 35, 5000), 1);
    QCOMPARE(at(s.statTotalRuns, 1, 1), 1);
    QCOMPARE(at(s.bestSeconds, 1, 1), 30);
    QCOMPARE(at(s.statTotalRuns, 2, 4), 0);
    QCOMPARE(at(s.bestSeconds, 2, 4), 10); // its best time still counts, as ever
    QCOMPARE(s.schoolBestSeconds[1], 30);
    for (const LoadedResult& r : s.loadedResults) {
        QVERIFY(r.level >= 1 && r.level <= 35 && r.pupilNo >= 1 && r.pupilNo <= 5000);
    }
    int sum = 0;
    for (const std::int16_t runs : s.statTotalRuns) {
        sum += runs;
    }
    QCOMPARE(sum, 2);

    ResultsTail tail;
    QVERIFY(readResultsTail(inst.state, -1, tail, QStringLiteral("Command7")));
    QCOMPARE(tail.totalRecords, 10);
    QCOMPARE(tail.records.size(), std::size_t{5}); // the three kept, pupil 0, level 0
    QCOMPARE(tail.records.front().number, 6);
}

void ResultsCounterTest::countsTheSampleFile() {
    TestInstallation inst;
    inst.copyFixture(QStringLiteral("results-sample.dat"), resultsPath(inst));
    inst.env.setNow(QDateTime(QDate(2026, 12, 3), QTime(12, 0)));
    for (int level = 1; level <= 3; ++level) {
        setLevel(inst.state, level, 30, 1.0f, 2, 1);
    }
    QVERIFY(countResults(inst.state));
    const Statistics& s = inst.state.stats;
    QCOMPARE(s.loadedResults.size(), std::size_t{5}); // records 1 to 5
    QCOMPARE(at(s.bestSeconds, 1, 1), 45);
    QCOMPARE(at(s.bestSeconds, 1, 2), Statistics::noTime); // 99999 beats nothing
    QCOMPARE(at(s.bestSeconds, 2, 1), 30);
    QCOMPARE(at(s.bestSeconds, 3, 4999), 12);
    QCOMPARE(at(s.bestSeconds, 1, 6), 61);
    QCOMPARE(s.schoolBestSeconds[1], 45);
    QCOMPARE(s.schoolBestSeconds[2], 30);
    QCOMPARE(s.schoolBestSeconds[3], Statistics::noTime); // pupil 4999 is past 1000
    QCOMPARE(at(s.statTotalRuns, 1, 1), 1);
    QCOMPARE(at(s.statTotalRuns, 1, 2), 0);
    QCOMPARE(at(s.statTotalPoints, 1, 1), 4);     // 45 s at 30: below twice 30
    QCOMPARE(at(s.statTotalPoints, 3, 4999), 15); // 12 s at 30: 15.8
    QCOMPARE(at(s.statJudgeRuns, 1, 1), 0);       // two days from 2026/12/02
    QCOMPARE(at(s.statJudgeRuns, 2, 1), 1);
    QCOMPARE(s.statRuns[Statistics::cell(3, 4999)], 1.0f); // today is 2026/12/03
    QCOMPARE(at(s.statTotalRuns, 1, 6), 1);                // 2004 still counts in the totals
    QCOMPARE(at(s.statJudgeRuns, 1, 6), 0);
}

void ResultsCounterTest::schoolBestIsRebuiltFromPupilsUpTo1000() {
    TestInstallation inst;
    const int today = todayNumber(inst.env);
    writeResults(inst, {makeRecord(today, 0, 1001, 1, 10), makeRecord(today, 0, 1000, 1, 20),
                        makeRecord(today, 0, 1, 1, 30)});
    QVERIFY(countResults(inst.state));
    QCOMPARE(inst.state.stats.schoolBestSeconds[1], 20);
    QCOMPARE(bestSeconds(inst.state, 1, 1001), 10);
    QCOMPARE(schoolBestSeconds(inst.state, 1), 20);
    QCOMPARE(bestSeconds(inst.state, 36, 1), Statistics::noTime);
    QCOMPARE(schoolBestSeconds(inst.state, -1), Statistics::noTime);
}

void ResultsCounterTest::aRecountMatchesACountAfresh() {
    // Two files sharing some cells and not others; the second counted after the first must
    // give the tables a first count of it gives.
    TestInstallation again;
    TestInstallation fresh;
    const int today = todayNumber(again.env);
    std::vector<ResultRecord> first;
    std::vector<ResultRecord> second;
    for (int i = 0; i < 600; ++i) {
        const int level = 1 + i % 35;
        first.push_back(makeRecord(today - i % 9, 0, 1 + (i * 37) % 5000, level, 10 + i % 80));
        second.push_back(makeRecord(today - i % 4, 0, 1 + (i * 11) % 700, level, 5 + i % 50));
    }
    for (TestInstallation* inst : {&again, &fresh}) {
        for (int level = 1; level <= 35; ++level) {
            setLevel(inst->state, level, 40, 1.3f, 3, 1);
        }
    }
    writeResults(again, first);
    QVERIFY(countResults(again.state));
    writeResults(again, second);
    QVERIFY(countResults(again.state));
    writeResults(fresh, second);
    QVERIFY(countResults(fresh.state));

    const Statistics& a = again.state.stats;
    const Statistics& f = fresh.state.stats;
    QVERIFY(sameCells(a.statTotalRuns, f.statTotalRuns));
    QVERIFY(sameCells(a.statTotalPoints, f.statTotalPoints));
    QVERIFY(sameCells(a.statJudgeRuns, f.statJudgeRuns));
    QVERIFY(sameCells(a.statJudgePoints, f.statJudgePoints));
    QVERIFY(sameCells(a.statOveruseRuns, f.statOveruseRuns));
    QVERIFY(sameCells(a.statOverusePoints, f.statOverusePoints));
    QVERIFY(sameCells(a.statRuns, f.statRuns));
    QVERIFY(sameCells(a.statTodayPoints, f.statTodayPoints));
    QVERIFY(sameCells(a.bestSeconds, f.bestSeconds));
    QCOMPARE(at(f.statTotalRuns, 1, 1), 1); // the second file was counted at all
}

// A read resets only the best times it knows were set: one a recorded run lowered must be
// among them, or a file corrected on another PC would leave it standing.
void ResultsCounterTest::aRecountForgetsBestsTheFileNoLongerHolds() {
    TestInstallation inst;
    const int today = todayNumber(inst.env);
    setLevel(inst.state, 2, 30, 1.0f, 7, 7);
    writeResults(inst, {makeRecord(today, 0, 4, 2, 25)});
    QVERIFY(countResults(inst.state));
    QCOMPARE(at(inst.state.stats.bestSeconds, 2, 4), 25);

    inst.state.pupil.pupilIndex = 9;
    inst.state.run.resultTime = 14;
    QVERIFY(recordRun(inst.state, 2));
    QCOMPARE(at(inst.state.stats.bestSeconds, 2, 9), 14);

    writeResults(inst, {});
    QVERIFY(countResults(inst.state));
    QCOMPARE(at(inst.state.stats.bestSeconds, 2, 4), Statistics::noTime);
    QCOMPARE(at(inst.state.stats.bestSeconds, 2, 9), Statistics::noTime);
    QVERIFY(inst.state.stats.bestCells.empty());
}

QTEST_GUILESS_MAIN(ResultsCounterTest)
#include "test_results_counter.moc"
