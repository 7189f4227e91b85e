// The rankings, the work rankings behind the graph's figures, the pupil chooser and the
// run lines of the result lists, over plain state.
#include "../roster/RosterTestFiles.h"
#include "app/AppState.h"
#include "records/ResultRecord.h"
#include "records/TimedOut.h"
#include "support/FakeEnvironment.h"
#include "support/TestInstallation.h"
#include "text/DayNumber.h"
#include "views/Rankings.h"
#include "views/ResultGraph.h"
#include "views/ResultLines.h"

#include <QTest>
#include <algorithm>
#include <random>

namespace {

constexpr int me = 3;

struct Fixture {
    FakeEnvironment env;
    AppState state;

    // pupils 1..count listed in that order; pupil p born so that odd pupils are in grade
    // 3 (小３) and even ones in grade 8 (中２).
    explicit Fixture(int count = 6) {
        state.env = &env;
        env.setNow(QDateTime(QDate(2024, 5, 15), QTime(14, 30, 0)));
        state.pupil.schoolYear = 2024;
        state.pupil.pupilIndex = me;
        state.profile.levelCount = 3;
        for (int i = 1; i <= 3; ++i) {
            state.profile.levelNames[i] = QStringLiteral("レベル%1").arg(i);
            state.profile.levelTimed[i] = i == 3 ? 0 : 1;
            state.criteria[i].targetSeconds = 40;
            state.criteria[i].pointFactor = 1.5f;
        }
        for (int p = 1; p <= count; ++p) {
            state.pupil.rosterLinePupil[p] = p;
            state.pupil.rosterNames[p] = QStringLiteral("生徒%1").arg(p).leftJustified(20);
            state.pupil.rosterBirthYears[p] = static_cast<std::int16_t>(p % 2 ? 2015 : 2010);
        }
        state.pupil.rosterLineCount = count;
    }
    void best(int level, int pupil, int seconds) {
        state.stats.bestSeconds[Statistics::cell(level, pupil)] = seconds;
    }
    void points(int level, int pupil, int total, int today) {
        state.stats.statTotalPoints[Statistics::cell(level, pupil)] = total;
        state.stats.statTodayPoints[Statistics::cell(level, pupil)] = today;
    }
    QStringList lines(int level, RankingKind kind, const QString& filter = "全学年", int period = 1,
                      RankingStyle style = RankingStyle::List) {
        QStringList out;
        for (const RankedLine& l :
             levelRankingLines(state, RankingChoice{filter, period}, level, kind, style)) {
            out << l.text;
        }
        return out;
    }
};

ResultRecord record(double date, QTime clock, int pupil, int level, int seconds) {
    ResultRecord r;
    r.runDate = date;
    r.runClock = dayFraction(clock);
    r.pupilNo = static_cast<std::int16_t>(pupil);
    r.level = static_cast<std::int16_t>(level);
    r.seconds = seconds;
    return r;
}

} // namespace

class RankingsTest : public QObject {
    Q_OBJECT
private slots:
    void sortIsStableAfterTwoPassesAndOnePassReversesTies() {
        std::mt19937 random(7);
        for (int count : {0, 1, 2, 3, 5, 17, 64, 1000, 5000}) {
            std::vector<std::int64_t> keys(static_cast<std::size_t>(count) + 1);
            std::vector<int> items(static_cast<std::size_t>(count) + 1);
            for (int k = 1; k <= count; ++k) {
                keys[static_cast<std::size_t>(k)] = static_cast<std::int64_t>(random() % 7);
                items[static_cast<std::size_t>(k)] = k;
            }
            std::vector<std::pair<std::int64_t, int>> expected;
            for (int k = 1; k <= count; ++k) {
                expected.push_back({keys[static_cast<std::size_t>(k)], k});
            }
            std::stable_sort(expected.begin(), expected.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });

            auto onceKeys = keys;
            auto onceItems = items;
            rankingSortPass(count, onceKeys, onceItems);
            rankingSort(count, keys, items);
            for (int k = 1; k <= count; ++k) {
                const auto at = static_cast<std::size_t>(k);
                QCOMPARE(keys[at], expected[at - 1].first);
                QCOMPARE(items[at], expected[at - 1].second);
                QCOMPARE(onceKeys[at], expected[at - 1].first);
            }
            // One pass alone: every run of equal keys comes out reversed.
            for (int k = 1; k <= count;) {
                int end = k;
                while (end + 1 <= count &&
                       expected[static_cast<std::size_t>(end)].first == expected[k - 1].first) {
                    ++end;
                }
                for (int j = k; j <= end; ++j) {
                    QCOMPARE(onceItems[static_cast<std::size_t>(j)],
                             expected[static_cast<std::size_t>(end - (j - k)) - 1].second);
                }
                k = end + 1;
            }
        }
    }

    void timeRankingSharesRanksAndKeepsRosterOrder() {
        Fixture f;
        f.best(1, 1, 50);
        f.best(1, 2, 30);
        f.best(1, 3, 30); // ties with pupil 2, listed after them
        f.best(1, 4, 99998);
        f.best(1, 5, 31);
        // pupil 6 has no run
        const QStringList l = f.lines(1, RankingKind::Time);
        QCOMPARE(l, QStringList({
                        QStringLiteral("1Ⅱ生徒2　　    30 　"),
                        QStringLiteral("1●生徒3　　    30 ●"),
                        QStringLiteral("3③生徒5　　    31 　"),
                        QStringLiteral("4③生徒1　　    50 　"),
                        QStringLiteral("5Ⅱ生徒4　　*失敗* 　"),
                        QStringLiteral("--Ⅱ生徒6　　------ 　"),
                    }));
        // The grade selector hides lines but the ranks still count them.
        QCOMPARE(f.lines(1, RankingKind::Time, QStringLiteral("小３")),
                 QStringList({QStringLiteral("1●生徒3　　    30 ●"),
                              QStringLiteral("3③生徒5　　    31 　"),
                              QStringLiteral("4③生徒1　　    50 　")}));
        // The work list: ranks in three columns, "---" without a run.
        const QStringList work =
            f.lines(1, RankingKind::Time, QStringLiteral("全学年"), 1, RankingStyle::Work);
        QCOMPARE(work.first(), QStringLiteral("  1Ⅱ生徒2　　    30 　"));
        QCOMPARE(work.last(), QStringLiteral("---Ⅱ生徒6　　------ 　"));
    }

    void untimedLevelRanksHighestFirstAndNoRunLast() {
        Fixture f(4);
        f.best(3, 1, 70);
        f.best(3, 2, 90);
        // pupils 3 and 4 have no figure
        QCOMPARE(f.lines(3, RankingKind::Time),
                 QStringList({QStringLiteral("1Ⅱ生徒2　　    90 　"),
                              QStringLiteral("2③生徒1　　    70 　"),
                              QStringLiteral("--●生徒3　　------ ●"),
                              QStringLiteral("--Ⅱ生徒4　　------ 　")}));
    }

    void rankAboveNinetyNineShowsLastTwoDigits() {
        Fixture f(120);
        for (int p = 1; p <= 120; ++p) {
            f.best(1, p, 20 + p);
        }
        const QStringList l = f.lines(1, RankingKind::Time);
        QCOMPARE(l.size(), 120);
        QVERIFY(l[99].startsWith(QStringLiteral("00")));
        QVERIFY(l[100].startsWith(QStringLiteral("01")));
        QVERIFY(l[8].startsWith(QStringLiteral("9③")));
    }

    void pointsRankingsCumulativeAndToday() {
        Fixture f(5);
        f.points(1, 1, 100, 0);  // points only on earlier days
        f.points(1, 2, 100, 20); // same total, more today: before pupil 1
        f.points(1, 3, 40, 40);
        f.points(1, 4, 0, 0);
        f.points(1, 5, 150, 5);
        QCOMPARE(f.lines(1, RankingKind::Points),
                 QStringList({QStringLiteral("1③生徒5　　  5/  150"),
                              QStringLiteral("2Ⅱ生徒2　　 20/  100"),
                              QStringLiteral("2③生徒1　　  0/  100"),
                              QStringLiteral("4●生徒3　　 40/   40"),
                              QStringLiteral("5Ⅱ生徒4　　  0/    0")}));
        // Today's ranking leaves out the pupils without points today.
        QCOMPARE(f.lines(1, RankingKind::Points, QStringLiteral("全学年"), 2),
                 QStringList({QStringLiteral("1●生徒3　　 40/   40"),
                              QStringLiteral("2Ⅱ生徒2　　 20/  100"),
                              QStringLiteral("3③生徒5　　  5/  150")}));
        // Equal primary points share a rank even when the secondary differs.
        f.points(1, 5, 100, 5);
        const QStringList tied = f.lines(1, RankingKind::Points);
        QVERIFY(tied[0].startsWith(QStringLiteral("1Ⅱ生徒2")));
        QVERIFY(tied[1].startsWith(QStringLiteral("1③生徒5")));
        QVERIFY(tied[2].startsWith(QStringLiteral("1③生徒1")));
        QVERIFY(tied[3].startsWith(QStringLiteral("4●")));
    }

    void rankingHoldsEveryRosterLine() {
        Fixture f(5000);
        for (int p = 1; p <= 5000; ++p) {
            f.best(1, p, 5000 - p + 10); // the last pupil is the fastest
        }
        const QStringList l = f.lines(1, RankingKind::Time);
        QCOMPARE(l.size(), 5000);
        QVERIFY(l.first().contains(QStringLiteral("生徒500")));
        QCOMPARE(rankFigures(f.state, {QStringLiteral("全学年"), 1}, 1, 5000).timeRank,
                 QStringLiteral("  1"));
    }

    void rankFiguresFindThePupilByNumber() {
        Fixture f(4);
        // Pupil 1's name contains pupil 3's; pupil 3's name is longer than the column.
        f.state.pupil.rosterNames[1] = QStringLiteral("山田太郎").leftJustified(20);
        f.state.pupil.rosterNames[3] = QStringLiteral("山田").leftJustified(20);
        f.state.pupil.rosterNames[4] = QStringLiteral("長い名前の生徒").leftJustified(20);
        f.best(1, 1, 30);
        f.best(1, 3, 40);
        f.best(1, 4, 35);
        f.points(1, 1, 300, 10);
        f.points(1, 3, 100, 0);
        f.points(1, 4, 200, 7);
        const RankingChoice all{QStringLiteral("全学年"), 1};
        LevelFigures figures = rankFigures(f.state, all, 1, 3);
        QCOMPARE(figures.timeRank, QStringLiteral("  3"));
        QCOMPARE(figures.pointsRank, QStringLiteral("  3"));
        QCOMPARE(figures.pupilPoints, 100.0);
        QCOMPARE(figures.pointsHolders, 3);
        QCOMPARE(figures.pointsSum, 600.0);
        figures = rankFigures(f.state, all, 1, 4);
        QCOMPARE(figures.timeRank, QStringLiteral("  2"));
        QCOMPARE(figures.pupilPoints, 200.0);

        // Today's points: pupil 3 scored nothing today and has no line.
        figures = rankFigures(f.state, {QStringLiteral("全学年"), 2}, 1, 3);
        QCOMPARE(figures.pointsRank, QString());
        QCOMPARE(figures.pupilPoints, 0.0);
        QCOMPARE(figures.pointsHolders, 2);
        QCOMPARE(figures.pointsSum, 500.0);
        // A grade that leaves the pupil out: empty ranks; the holders are that grade's.
        figures = rankFigures(f.state, {QStringLiteral("中２"), 1}, 1, 3);
        QCOMPARE(figures.timeRank, QString());
        QCOMPARE(figures.pointsHolders, 1);
        QCOMPARE(figures.pointsSum, 200.0);
        // Nobody holding points: no holders.
        figures = rankFigures(f.state, all, 2, 3);
        QCOMPARE(figures.pointsHolders, 0);
        QCOMPARE(figures.timeRank, QStringLiteral("---"));
    }

    // The figures beside the graph are the statistics' own numbers: a total of 100000 or
    // more, which the list's five-character column cuts, still counts whole.
    void figuresTakeTheStatisticsWhole_data() {
        QTest::addColumn<int>("myTotal");
        QTest::addColumn<int>("otherTotal");
        QTest::addColumn<int>("holders");
        QTest::addColumn<double>("sum");
        QTest::newRow("five digits") << 99999 << 500 << 2 << 100499.0;
        QTest::newRow("a total of 100000") << 100000 << 500 << 2 << 100500.0;
        QTest::newRow("six digits both") << 123456 << 654321 << 2 << 777777.0;
        QTest::newRow("no points") << 0 << 700000 << 1 << 700000.0;
    }
    void figuresTakeTheStatisticsWhole() {
        QFETCH(int, myTotal);
        QFETCH(int, otherTotal);
        QFETCH(int, holders);
        QFETCH(double, sum);
        Fixture f(4);
        f.points(1, me, myTotal, 1);
        f.points(1, 1, otherTotal, 0);
        const LevelFigures figures = rankFigures(f.state, {QStringLiteral("全学年"), 1}, 1, me);
        QCOMPARE(figures.pupilPoints, double(myTotal));
        QCOMPARE(figures.pointsHolders, holders);
        QCOMPARE(figures.pointsSum, sum);
        QCOMPARE(figures.pointsRank,
                 myTotal >= otherTotal ? QStringLiteral("  1") : QStringLiteral("  2"));
    }

    // One rule for a timed-out run, in every room that shows one: today's list marks it
    // "×", the ranking shows a timed-out best as "*失敗*" (the mark itself is also what a
    // pupil without a run has), the graph shows no school best.
    void timedOutRunsReadAlikeEverywhere_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("rankingTime");
        QTest::newRow("89999") << 89999 << QStringLiteral(" 89999");
        QTest::newRow("90000") << 90000 << QStringLiteral("*失敗*");
        QTest::newRow("99998") << 99998 << QStringLiteral("*失敗*");
        QTest::newRow("the mark") << timedOutSeconds << QStringLiteral("------");
    }
    void timedOutRunsReadAlikeEverywhere() {
        QFETCH(int, seconds);
        QFETCH(QString, rankingTime);
        const bool timedOut = seconds >= 90000;
        QCOMPARE(isTimedOut(seconds), timedOut);
        Fixture f(2);
        const QString line =
            todayLine(f.state, record(dayNumber(QDate(2024, 5, 15)), QTime(9, 0), 1, 1, seconds));
        QCOMPARE(line.startsWith(QStringLiteral("　　×")), timedOut);
        f.best(1, 1, seconds);
        f.best(1, 2, 50);
        const QStringList ranking = f.lines(1, RankingKind::Time);
        QVERIFY2(ranking.last().contains(rankingTime), qPrintable(ranking.last()));
        GraphBlockData block;
        block.schoolBest = seconds;
        QCOMPARE(graphFigureLines(block)[3].endsWith(QStringLiteral("/     秒")), timedOut);
    }

    void pupilChooserListsRosterLines() {
        TestInstallation install;
        install.env.setNow(QDateTime(QDate(2024, 5, 15), QTime(10, 0)));
        AppState& state = install.state;
        state.config.schoolYearStartMonth = 4;
        rostertest::writeRoster(install,
                                rostertest::rosterLine(12, 2015, QStringLiteral("山田 太郎")) +
                                    rostertest::rosterLine(123, 2012, QStringLiteral("休会中"), 1) +
                                    rostertest::rosterLine(7, 2010, QStringLiteral("佐藤")));
        const QStringList lines = loadPupilChooser(state);
        QCOMPARE(lines, QStringList({QStringLiteral("小３ /  山田 太郎/12"),
                                     QStringLiteral("中２ /  佐藤/7")}));
        // A line with status 1 is not offered, yet its name and grade are stored.
        QCOMPARE(state.pupil.rosterNames[123].trimmed(), QStringLiteral("休会中"));
        QCOMPARE(state.pupil.rosterGroups[123], QStringLiteral("小６"));
        QCOMPARE(chooserLinePupil(QStringLiteral("小１ /  誰か/123")), 123);
        QCOMPARE(chooserLinePupil(QStringLiteral("a/b/c/45")), 45);
        QCOMPARE(chooserLinePupil(QStringLiteral("なし")), 0);
    }

    void pointsOfTheListsFollowTheCurve_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("points");
        QTest::newRow("0") << 0 << 55;
        QTest::newRow("20") << 20 << 11;
        QTest::newRow("40") << 40 << 5;
        QTest::newRow("41") << 41 << 4;
        QTest::newRow("80") << 80 << 1;
        QTest::newRow("400") << 400 << 0;
        QTest::newRow("timed out") << 99999 << 0;
    }
    void pointsOfTheListsFollowTheCurve() {
        QFETCH(int, seconds);
        QFETCH(int, points);
        Fixture f;
        // The level's factor of 1.5 is not applied by the lists.
        QCOMPARE(runPointsForList(f.state, 1, seconds), points);
    }

    void runLines() {
        Fixture f;
        const double today = dayNumber(QDate(2024, 5, 15));
        const ResultRecord run = record(today, QTime(13, 45, 10), 1, 1, 45);
        QCOMPARE(todayLine(f.state, run), QStringLiteral("  45秒 13:45③生徒1　　③4"));
        QCOMPARE(todayLine(f.state, record(today, QTime(9, 5, 7), 3, 1, 99999)),
                 QStringLiteral("　　× 09:05●生徒3　　●"));
        const ResultRecord jan = record(dayNumber(QDate(2004, 1, 13)), QTime(9, 5, 7), 2, 1, 20);
        QCOMPARE(allResultsLine(f.state, jan, ListKind::Time),
                 QStringLiteral("  20秒 01/13Ⅱ生徒2　　Ⅱ11"));
        QCOMPARE(allResultsLine(f.state, jan, ListKind::Points),
                 QStringLiteral("   11 01/13Ⅱ生徒2　　Ⅱ20秒"));
        QCOMPARE(personalLine(jan), QStringLiteral("2004/01/13 9:05:07  20秒"));
        QCOMPARE(personalLine(record(dayNumber(QDate(2004, 1, 13)), QTime(15, 0, 0), 3, 1, 99999)),
                 QStringLiteral("2004/01/13 15:00:00    ×"));
        // Record maintenance takes any seconds up to 99999: the lists show a failure from
        // 90000 on, and a run one second shorter as a time (cut to the field's width).
        const ResultRecord longest = record(today, QTime(9, 5, 7), 2, 1, 89999);
        QCOMPARE(todayLine(f.state, longest), QStringLiteral("9999秒 09:05Ⅱ生徒2　　Ⅱ0"));
        QCOMPARE(allResultsLine(f.state, longest, ListKind::Points),
                 QStringLiteral("    0 05/15Ⅱ生徒2　　Ⅱ89999秒"));
        // The field is five characters wide, so a four-digit time meets the clock.
        QCOMPARE(personalLine(longest), QStringLiteral("2024/05/15 9:05:079999秒"));
        const ResultRecord failed = record(today, QTime(9, 5, 7), 2, 1, 90000);
        QCOMPARE(todayLine(f.state, failed), QStringLiteral("　　× 09:05Ⅱ生徒2　　Ⅱ"));
        QCOMPARE(allResultsLine(f.state, failed, ListKind::Points),
                 QStringLiteral("　　× 05/15Ⅱ生徒2　　Ⅱ"));
        QCOMPARE(personalLine(failed), QStringLiteral("2024/05/15 9:05:07    ×"));
        // Blanks removed at both ends, then full-width spaces to five characters.
        QCOMPARE(nameColumn(QStringLiteral("  山田太郎次郎  "), true),
                 QStringLiteral("山田太郎次"));
        QCOMPARE(nameColumn(QStringLiteral("  山田  "), false), QStringLiteral("  山田　"));
    }

    void periodDays_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("weekday"); // Sunday 1 .. Saturday 7
        QTest::addColumn<int>("days");
        QTest::newRow("this week on Sunday") << 1 << 1 << 7;
        QTest::newRow("this week on Wednesday") << 1 << 4 << 3;
        QTest::newRow("this week on Monday") << 1 << 2 << 1;
        QTest::newRow("since last week on Sunday") << 2 << 1 << 14;
        QTest::newRow("since last week on Wednesday") << 2 << 4 << 10;
        QTest::newRow("month") << 3 << 4 << 30;
        QTest::newRow("year") << 4 << 4 << 365;
        QTest::newRow("until now") << 5 << 4 << 3650;
        QTest::newRow("other") << 9 << 4 << 77;
    }
    void periodDays() {
        QFETCH(int, choice);
        QFETCH(int, weekday);
        QFETCH(int, days);
        QCOMPARE(periodDaysFor(choice, weekday, 77), days);
    }
};

QTEST_GUILESS_MAIN(RankingsTest)
#include "test_rankings.moc"
