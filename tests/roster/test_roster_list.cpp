// The name list without its widgets: figure widths, the name column, sorting, the grade
// filter and the figures recounted from the results file.

#include "RosterTestFiles.h"
#include "roster/ColumnText.h"
#include "roster/RosterList.h"

#include <QtTest>

using namespace rostertest;

namespace {

RosterEntry entry(int pupilNo, int birthYear, const QString& name) {
    RosterEntry e;
    e.pupilNo = static_cast<std::int16_t>(pupilNo);
    e.birthYear = static_cast<std::int16_t>(birthYear);
    e.name = name + QString(std::max<qsizetype>(0, 20 - name.size()), QLatin1Char(' '));
    return e;
}

// Columns from the start of the line to its "/".
int slashColumn(const QString& line) {
    return columnsOf(line.left(line.indexOf(QLatin1Char('/'))));
}

} // namespace

class RosterListTest : public QObject {
    Q_OBJECT

private slots:
    void figureTexts();
    void figuresKeepTheirWidths();
    void figuresByMode();
    void preSchoolColumnShift();
    void longNamesAreCut();
    void halfWidthNamesKeepTheColumns();
    void fitColumnsEdges();
    void sortsByCohortThenName();
    void filterKeepsHeaderFirst();
    void figuresComeFromTheResultsFile();
    void starInANameKeepsTheNumber();
    void emptyAndMissingRoster();
};

void RosterListTest::figureTexts() {
    QCOMPARE(todayRunsText(0), QStringLiteral("     "));
    QCOMPARE(todayRunsText(7), QStringLiteral("  7回"));
    QCOMPARE(todayRunsText(1234), QStringLiteral("234回"));
    QCOMPARE(todayPointsText(0), QStringLiteral("  　"));
    QCOMPARE(todayPointsText(12), QStringLiteral("  12"));
    QCOMPARE(todayPointsText(12345), QStringLiteral("2345"));
    QCOMPARE(totalRunsText(0), QStringLiteral("     　"));
    QCOMPARE(totalRunsText(12), QStringLiteral("   12回"));
    QCOMPARE(totalRunsText(1234567), QStringLiteral("34567回"));
    QCOMPARE(totalPointsText(0), QStringLiteral("       "));
    QCOMPARE(totalPointsText(123), QStringLiteral("    123"));
    QCOMPARE(totalPointsText(123456789), QStringLiteral("3456789"));
}

void RosterListTest::figuresKeepTheirWidths() {
    // Whatever the value, each figure takes the same columns, zero included.
    for (long long v : {0LL, 1LL, 12LL, 999LL, 1000LL, 65535LL, 99999999LL}) {
        QCOMPARE(columnsOf(todayRunsText(v)), 5);
        QCOMPARE(columnsOf(todayPointsText(v)), 4);
        QCOMPARE(columnsOf(totalRunsText(v)), 7);
        QCOMPARE(columnsOf(totalPointsText(v)), 7);
    }
}

void RosterListTest::figuresByMode() {
    const PupilFigures none{0, 0, 12, 0};
    QCOMPARE(figuresText(none, runsTodayAndTotal), QStringLiteral("     /   12回"));
    const PupilFigures f{3, 45, 120, 6789};
    QCOMPARE(figuresText(f, runsTodayAndTotal), QStringLiteral("  3回/  120回"));
    QCOMPARE(figuresText(f, pointsTodayAndTotal), QStringLiteral("  45/   6789"));
    QCOMPARE(figuresText(f, todayPointsAndRuns), QStringLiteral("  45/  3回"));
    QCOMPARE(figuresText(f, totalPointsAndRuns), QStringLiteral("   6789/  120回"));
}

void RosterListTest::preSchoolColumnShift() {
    const RosterEntry school = entry(1, 2015, QStringLiteral("山田"));
    const RosterEntry little = entry(2, 2021, QStringLiteral("山田"));
    const ListedPupil schoolPupil{school, 5, QStringLiteral("小5"), 5};
    const ListedPupil littlePupil{little, -1, QStringLiteral("幼2"), -7};
    const PupilFigures f{1, 2, 3, 4};
    for (int mode : {0, 2, 3}) {
        const QString a = rosterSortLine(schoolPupil, f, mode);
        const QString b = rosterSortLine(littlePupil, f, mode);
        // Two full-width columns further right for the pre-school pupil.
        QCOMPARE(slashColumn(b) - slashColumn(a), 4);
    }
    QCOMPARE(slashColumn(rosterSortLine(littlePupil, f, 1)),
             slashColumn(rosterSortLine(schoolPupil, f, 1)));
    QCOMPARE(rosterSortLine(schoolPupil, f, 1),
             QStringLiteral("2015小5 山田　　　　   2/      4*1"));
}

void RosterListTest::longNamesAreCut() {
    const QString longName = QStringLiteral("あいうえおかきくけこ");
    const RosterEntry e = entry(9, 2015, longName);
    const RosterEntry shortOne = entry(8, 2015, QStringLiteral("あ"));
    const ListedPupil pupil{e, 5, QStringLiteral("小5"), 5};
    const ListedPupil shortPupil{shortOne, 5, QStringLiteral("小5"), 5};
    const PupilFigures f{};
    for (int mode = 0; mode < 4; ++mode) {
        const QString line = rosterSortLine(pupil, f, mode);
        QVERIFY(line.contains(QStringLiteral("小5 あいうえおか") + figuresText(f, mode)));
        QCOMPARE(slashColumn(line), slashColumn(rosterSortLine(shortPupil, f, mode)));
    }
    // A pre-school pupil keeps eight characters where the wider column applies.
    const ListedPupil little{e, 0, QStringLiteral("幼3"), -6};
    QVERIFY(rosterSortLine(little, f, 0).contains(QStringLiteral("幼3 あいうえおかきく ")));
    QVERIFY(rosterSortLine(little, f, 1).contains(QStringLiteral("幼3 あいうえおか ")));
}

void RosterListTest::halfWidthNamesKeepTheColumns() {
    const RosterEntry kana = entry(5, 2015, QStringLiteral("ｶﾀｶﾅ"));
    const RosterEntry mixed = entry(6, 2015, QStringLiteral("Ann 花子"));
    const RosterEntry full = entry(7, 2015, QStringLiteral("山田"));
    const PupilFigures f{1, 1, 1, 1};
    for (int mode = 0; mode < 4; ++mode) {
        const int expected = slashColumn(rosterSortLine({full, 5, "小5", 5}, f, mode));
        QCOMPARE(slashColumn(rosterSortLine({kana, 5, "小5", 5}, f, mode)), expected);
        QCOMPARE(slashColumn(rosterSortLine({mixed, 5, "小5", 5}, f, mode)), expected);
    }
}

void RosterListTest::fitColumnsEdges() {
    QCOMPARE(fitColumns(QString(), 4), QStringLiteral("　　"));
    QCOMPARE(fitColumns(QStringLiteral("abc"), 4), QStringLiteral("abc "));
    QCOMPARE(fitColumns(QStringLiteral("abcde"), 4), QStringLiteral("abcd"));
    // A full-width character that would stick out is left out, a blank fills its half.
    QCOMPARE(fitColumns(QStringLiteral("a山田"), 4), QStringLiteral("a山 "));
    // A character outside the basic plane counts once, two columns wide, and is not split.
    const QString wide = QString::fromUcs4(U"𠮷野家");
    QCOMPARE(fitColumns(wide, 4), QString::fromUcs4(U"𠮷野"));
    QCOMPARE(fitColumns(wide, 3), QString::fromUcs4(U"𠮷 "));
}

void RosterListTest::sortsByCohortThenName() {
    TestInstallation inst;
    inst.state.config.schoolYearStartMonth = 4;
    writeRoster(inst, rosterLine(10, 2013, "うえだ") + rosterLine(11, 2012, "さとう") +
                          rosterLine(12, 2013, "あおき") + rosterLine(13, 2013, "いとう") +
                          rosterLine(14, 2020, "わかば") + rosterLine(15, 2013, "あお"));
    const RosterList list = buildRosterList(inst.state, 1, QStringLiteral("全学年"));
    QVERIFY(!list.ended);
    QList<int> order;
    for (const QString& n : list.numberList) {
        order << pupilNoOfNumberEntry(n);
    }
    // Oldest cohort first; within a cohort by name, a shorter name before its longer ones.
    QCOMPARE(order, (QList<int>{11, 15, 12, 13, 10, 14}));
    QCOMPARE(list.lines.first(), RosterList::header());
    QCOMPARE(list.choices.first(), QStringLiteral("中2 さとう"));
    QCOMPARE(list.choices.last(), QStringLiteral("幼3 わかば"));
    QCOMPARE(list.lines.size(), list.numberList.size() + 1);
    for (int i = 0; i < list.numberList.size(); ++i) {
        QVERIFY(list.numberList[i].startsWith(list.lines[i + 1] + QLatin1Char('*')));
    }
}

void RosterListTest::filterKeepsHeaderFirst() {
    TestInstallation inst; // school year 2026
    inst.state.config.schoolYearStartMonth = 4;
    writeRoster(inst, rosterLine(1, 2014, "小六") + rosterLine(2, 2013, "中一") +
                          rosterLine(3, 2011, "中三") + rosterLine(4, 2010, "高一") +
                          rosterLine(5, 2019, "小一"));
    auto pupilsShown = [&](const QString& filter) {
        const RosterList list = buildRosterList(inst.state, 0, filter);
        [&] { QCOMPARE(list.lines.first(), RosterList::header()); }();
        QList<int> shown;
        for (const QString& n : list.numberList) {
            shown << pupilNoOfNumberEntry(n);
        }
        return shown;
    };
    QCOMPARE(pupilsShown(QStringLiteral("中学生全体")), (QList<int>{3, 2}));
    QCOMPARE(pupilsShown(QStringLiteral("小学生全体")), (QList<int>{1, 5}));
    QCOMPARE(pupilsShown(QStringLiteral("小１")), (QList<int>{5}));
    QCOMPARE(pupilsShown(QStringLiteral("全学年")), (QList<int>{4, 3, 2, 1, 5}));
    QCOMPARE(pupilsShown(QStringLiteral("中２")), QList<int>{});
    // Every pupil was read, whatever the filter showed.
    QCOMPARE(inst.state.pupil.rosterLineCount, 5);
}

void RosterListTest::figuresComeFromTheResultsFile() {
    TestInstallation inst; // today is 9 December 2026
    inst.state.config.schoolYearStartMonth = 4;
    setLevelOneCriteria(inst.state);
    writeRoster(inst, rosterLine(12, 2013, "あおき") + rosterLine(13, 2013, "いとう"));
    const QDate today(2026, 12, 9);
    writeResults(inst, resultRecord(today.addDays(-1), QTime(9, 0), 12, 1, 15) +
                           resultRecord(today, QTime(9, 0), 12, 1, 15) +
                           resultRecord(today, QTime(9, 5), 12, 1, 15) +
                           resultRecord(today, QTime(9, 9), 12, 1, 99999));
    const RosterList runs = buildRosterList(inst.state, 0, QStringLiteral("全学年"));
    QCOMPARE(runs.lines.size(), 3);
    QCOMPARE(runs.lines[1], QStringLiteral("中1 あおき　　　  2回/    3回"));
    QCOMPARE(runs.lines[2], QStringLiteral("中1 いとう　　　     /     　"));
    const RosterList points = buildRosterList(inst.state, 1, QStringLiteral("全学年"));
    QCOMPARE(points.lines[1], QStringLiteral("中1 あおき　　　  22/     33"));
    QCOMPARE(points.numberList[0], points.lines[1] + QStringLiteral("*12"));
}

void RosterListTest::starInANameKeepsTheNumber() {
    TestInstallation inst;
    writeRoster(inst, rosterLine(321, 2013, "星*子"));
    const RosterList list = buildRosterList(inst.state, 1, QStringLiteral("全学年"));
    QCOMPARE(list.numberList.size(), 1);
    QCOMPARE(pupilNoOfNumberEntry(list.numberList[0]), 321);
    QVERIFY(list.lines[1].contains(QStringLiteral("星*子")));
    QCOMPARE(pupilNoOfNumberEntry(QStringLiteral("no number")), -1);
}

void RosterListTest::emptyAndMissingRoster() {
    TestInstallation inst;
    writeRoster(inst, QString());
    RosterList list = buildRosterList(inst.state, 1, QStringLiteral("全学年"));
    QCOMPARE(list.lines, QStringList{RosterList::header()});
    QVERIFY(list.report.clean());

    QVERIFY(QFile::remove(rosterPath(inst)));
    list = buildRosterList(inst.state, 1, QStringLiteral("全学年"));
    QCOMPARE(list.lines, QStringList{RosterList::header()});
    QVERIFY(list.report.fileError.contains(rosterPath(inst)));
}

QTEST_GUILESS_MAIN(RosterListTest)
#include "test_roster_list.moc"
