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
    e.name = name.leftJustified(20);
    return e;
}

// Columns from the start of the line to its "/".
int slashColumn(const QString& line) {
    return columnsOf(line.left(line.indexOf(QLatin1Char('/'))));
}

QList<int> pupilsOf(const RosterList& list) {
    QList<int> pupils;
    for (const QString& n : list.numberList) {
        pupils << pupilNoOfNumberEntry(n);
    }
    return pupils;
}

} // namespace

class RosterListTest : public QObject {
    Q_OBJECT

private slots:
    void figureTextsKeepTheirWidths();
    void figuresByMode();
    void preSchoolColumnShift();
    void namesAreFittedToTheColumn();
    void sortsByCohortThenName();
    void kanjiNamesSortByTheirReading();
    void filterKeepsHeaderFirst();
    void figuresComeFromTheResultsFile();
};

void RosterListTest::figureTextsKeepTheirWidths() {
    QCOMPARE(todayRunsText(0), QStringLiteral("     "));
    QCOMPARE(todayRunsText(1234), QStringLiteral("234回"));
    QCOMPARE(todayPointsText(0), QStringLiteral("  　"));
    QCOMPARE(todayPointsText(12345), QStringLiteral("2345"));
    QCOMPARE(totalRunsText(0), QStringLiteral("     　"));
    QCOMPARE(totalRunsText(12), QStringLiteral("   12回"));
    QCOMPARE(totalPointsText(0), QStringLiteral("       "));
    QCOMPARE(totalPointsText(123), QStringLiteral("    123"));
    // Whatever the value, each figure takes the same columns, zero included.
    for (long long v : {0LL, 1LL, 999LL, 1000LL, 99999999LL}) {
        QCOMPARE(columnsOf(todayRunsText(v)), 5);
        QCOMPARE(columnsOf(todayPointsText(v)), 4);
        QCOMPARE(columnsOf(totalRunsText(v)), 7);
        QCOMPARE(columnsOf(totalPointsText(v)), 7);
    }
}

void RosterListTest::figuresByMode() {
    QCOMPARE(figuresText({0, 0, 12, 0}, runsTodayAndTotal), QStringLiteral("     /   12回"));
    const PupilFigures f{3, 45, 120, 6789};
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
        // Two full-width columns further right for the pre-school pupil.
        QCOMPARE(slashColumn(rosterSortLine(littlePupil, f, mode)) -
                     slashColumn(rosterSortLine(schoolPupil, f, mode)),
                 4);
    }
    QCOMPARE(slashColumn(rosterSortLine(littlePupil, f, 1)),
             slashColumn(rosterSortLine(schoolPupil, f, 1)));
    QCOMPARE(rosterSortLine(schoolPupil, f, 1),
             QStringLiteral("2015小5 山田　　　　   2/      4*1"));
}

void RosterListTest::namesAreFittedToTheColumn() {
    const PupilFigures f{1, 1, 1, 1};
    const RosterEntry full = entry(7, 2015, QStringLiteral("山田"));
    const RosterEntry longName = entry(9, 2015, QStringLiteral("あいうえおかきくけこ"));
    const RosterEntry kana = entry(5, 2015, QStringLiteral("ｶﾀｶﾅ"));
    const RosterEntry mixed = entry(6, 2015, QStringLiteral("Ann 花子"));
    for (int mode = 0; mode < 4; ++mode) {
        const int expected = slashColumn(rosterSortLine({full, 5, "小5", 5}, f, mode));
        for (const RosterEntry* e : {&longName, &kana, &mixed}) {
            QCOMPARE(slashColumn(rosterSortLine({*e, 5, "小5", 5}, f, mode)), expected);
        }
        QVERIFY(rosterSortLine({longName, 5, "小5", 5}, f, mode)
                    .contains(QStringLiteral("小5 あいうえおか") + figuresText(f, mode)));
    }
    // A pre-school pupil keeps eight characters where the wider column applies.
    QVERIFY(gradeAndNameColumn({longName, 0, "幼3", -6}, 0) ==
            QStringLiteral("幼3 あいうえおかきく"));
    QVERIFY(gradeAndNameColumn({longName, 0, "幼3", -6}, 1) == QStringLiteral("幼3 あいうえおか"));
    // A character that would stick out is left out, never split; a blank fills its half.
    QCOMPARE(fitColumns(QStringLiteral("a山田"), 4), QStringLiteral("a山 "));
    QCOMPARE(fitColumns(QString::fromUcs4(U"𠮷野家"), 3), QString::fromUcs4(U"𠮷 "));
}

void RosterListTest::sortsByCohortThenName() {
    TestInstallation inst;
    inst.state.config.schoolYearStartMonth = 4;
    writeRoster(inst, rosterLine(10, 2013, "うえだ") + rosterLine(11, 2012, "さとう") +
                          rosterLine(12, 2013, "あおき") + rosterLine(13, 2013, "いとう") +
                          rosterLine(14, 2020, "わかば") + rosterLine(15, 2013, "あお") +
                          rosterLine(16, 2013, "星*子"));
    const RosterList list = buildRosterList(inst.state, 1, QStringLiteral("全学年"));
    // Oldest cohort first; within a cohort by name, a shorter name before its longer ones.
    QCOMPARE(pupilsOf(list), (QList<int>{11, 15, 12, 13, 10, 16, 14}));
    QCOMPARE(list.lines.first(), RosterList::header());
    QCOMPARE(list.choices.first(), QStringLiteral("中2 さとう"));
    QCOMPARE(list.lines.size(), list.numberList.size() + 1);
    for (int i = 0; i < list.numberList.size(); ++i) {
        QVERIFY(list.numberList[i].startsWith(list.lines[i + 1] + QLatin1Char('*')));
    }
    // A "*" in a name does not lose the pupil number.
    QVERIFY(list.lines[6].contains(QStringLiteral("星*子")));
}

void RosterListTest::kanjiNamesSortByTheirReading() {
    TestInstallation inst;
    inst.state.config.schoolYearStartMonth = 4;
    // The school's code page lists kanji by their on reading: 加 (か), 高 (こう), 佐 (さ),
    // 渡 (と), 鈴 (れい); Unicode would put 佐藤 before 加藤 and 鈴木 before 高橋.
    writeRoster(inst, rosterLine(1, 2013, "渡辺") + rosterLine(2, 2013, "高橋") +
                          rosterLine(3, 2013, "鈴木") + rosterLine(4, 2013, "佐藤") +
                          rosterLine(5, 2013, "加藤"));
    const RosterList list = buildRosterList(inst.state, 1, QStringLiteral("全学年"));
    QCOMPARE(pupilsOf(list), (QList<int>{5, 2, 4, 1, 3}));
}

void RosterListTest::filterKeepsHeaderFirst() {
    TestInstallation inst; // school year 2026
    inst.state.config.schoolYearStartMonth = 4;
    writeRoster(inst, rosterLine(1, 2014, "小六") + rosterLine(2, 2013, "中一") +
                          rosterLine(3, 2011, "中三") + rosterLine(4, 2010, "高一") +
                          rosterLine(5, 2019, "小一"));
    const QList<QPair<QString, QList<int>>> cases = {{"中学生全体", {3, 2}},
                                                     {"小学生全体", {1, 5}},
                                                     {"小１", {5}},
                                                     {"中２", {}},
                                                     {"全学年", {4, 3, 2, 1, 5}}};
    for (const auto& [filter, shown] : cases) {
        const RosterList list = buildRosterList(inst.state, 0, filter);
        QCOMPARE(list.lines.first(), RosterList::header());
        QCOMPARE(pupilsOf(list), shown);
        QCOMPARE(inst.state.pupil.rosterLineCount, 5); // every pupil was read
    }
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
    QCOMPARE(runs.lines.mid(1),
             (QStringList{"中1 あおき　　　  2回/    3回", "中1 いとう　　　     /     　"}));
    const RosterList points = buildRosterList(inst.state, 1, QStringLiteral("全学年"));
    QCOMPARE(points.lines[1], QStringLiteral("中1 あおき　　　  22/     33"));
    QCOMPARE(points.numberList[0], points.lines[1] + QStringLiteral("*12"));
}

QTEST_GUILESS_MAIN(RosterListTest)
#include "test_roster_list.moc"
