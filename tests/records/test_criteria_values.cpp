// What the criteria reader says of values that are not numbers: each broken variant goes
// through the real loader, must be named once (file, line, column, text), and a level
// whose factor or times cannot be used refuses to start with a word instead of scoring
// "(×0)". The editor takes full-width digits as the digits they show.

#include "drill/RunFigures.h"
#include "records/CriteriaFile.h"
#include "records/CriteriaGrid.h"
#include "records/ResultsFile.h"
#include "support/TestInstallation.h"
#include "text/Cp932.h"

#include <QtTest>

namespace {

QString criteriaPath(const TestInstallation& inst) {
    return inst.drillDataFolder() + QStringLiteral("タイム回数データ.txt");
}

void writeCriteria(const TestInstallation& inst, const QString& levelTwo) {
    const QString text = criteriaHeaderLine() +
                         QStringLiteral("\r\n60,90,100,5,1.5,20,0,7,1,,,\r\n") + levelTwo +
                         QStringLiteral("\r\n");
    inst.writeBytes(criteriaPath(inst), encodeCp932(text).value());
}

} // namespace

class CriteriaValuesTest : public QObject {
    Q_OBJECT

private slots:
    void notNumbersAreNamed_data();
    void notNumbersAreNamed();
    void editorTakesFullWidthDigits();
};

void CriteriaValuesTest::notNumbersAreNamed_data() {
    QTest::addColumn<QString>("levelTwo");  // line 3 of the file
    QTest::addColumn<QStringList>("named"); // what the start-up word holds; empty: no word
    QTest::addColumn<QString>("refusal");   // what the level's refusal holds; empty: it starts
    QTest::addColumn<int>("points");        // points of a 20-second run at level 2

    QTest::newRow("factor x") << "30,40,120,10,x,0,500,30,7,,,"
                              << QStringList{"3 行目", "ﾎﾟｲﾝﾄ倍率", "「x」"} << "ポイント倍率" << 0;
    QTest::newRow("factor nan") << "30,40,120,10,nan,0,500,30,7,,,"
                                << QStringList{"3 行目", "ﾎﾟｲﾝﾄ倍率", "「nan」"} << "ポイント倍率"
                                << 0;
    QTest::newRow("factor zero, written as a number")
        << "30,40,120,10,0,0,500,30,7,,," << QStringList{} << "ポイント倍率の設定（0）" << 0;
    QTest::newRow("negative factor")
        << "30,40,120,10,-1.5,0,500,30,7,,," << QStringList{} << "ポイント倍率の設定（-1.5）" << -9;
    QTest::newRow("time abc") << "abc,40,120,10,1,0,500,30,7,,,"
                              << QStringList{"3 行目", "目標Time", "「abc」"} << "目標タイム 0 秒"
                              << 0;
    QTest::newRow("full-width time")
        << "３０,40,120,10,1,0,500,30,7,,," << QStringList{"目標Time", "「３０」", "半角"}
        << "目標タイム 0 秒" << 0;
    QTest::newRow("two values, one word")
        << "30,40,120,10,1,zz,500,30,日,,," << QStringList{"禁回", "「zz」", "禁期間", "「日」"}
        << "" << 6;
    QTest::newRow("lenient reading kept")
        << " 30 ,40秒,120,10,1.0倍,,,30,7,,," << QStringList{} << "" << 6;
}

void CriteriaValuesTest::notNumbersAreNamed() {
    QFETCH(QString, levelTwo);
    QFETCH(QStringList, named);
    QFETCH(QString, refusal);
    QFETCH(int, points);

    TestInstallation inst;
    inst.state.profile.levelNames[2] = QStringLiteral("レベル２");
    inst.state.profile.levelTimed[2] = 1;
    writeCriteria(inst, levelTwo);
    QVERIFY(loadCriteria(inst.state));
    QCOMPARE(inst.env.endedWith, -1);

    if (named.isEmpty()) {
        QVERIFY(inst.env.messages.empty());
    } else {
        QCOMPARE(inst.env.messages.size(), std::size_t(1)); // once, all values in it
        const QString text = inst.env.messages.front().text;
        QVERIFY2(text.contains(criteriaPath(inst)), qPrintable(text));
        for (const QString& word : named) {
            QVERIFY2(text.contains(word), qPrintable(text + " / " + word));
        }
    }
    QCOMPARE(levelTimesRefusal(inst.state, 1), QString()); // the good level still starts
    const QString refused = levelTimesRefusal(inst.state, 2);
    if (refusal.isEmpty()) {
        QCOMPARE(refused, QString());
    } else {
        QVERIFY2(refused.contains(refusal) && refused.contains(QStringLiteral("レベル２")),
                 qPrintable(refused));
    }
    QCOMPARE(runPoints(inst.state, 20, 2), points);
}

void CriteriaValuesTest::editorTakesFullWidthDigits() {
    TestInstallation inst;
    writeCriteria(inst, QStringLiteral("30,40,120,10,1,0,500,30,7,,,"));
    QVERIFY(loadCriteria(inst.state));
    CriteriaGrid grid;
    QVERIFY(grid.load(inst.state));
    grid.setCurrent(2, 1);
    grid.editBoxToCell(QStringLiteral("２５"));
    QCOMPARE(grid.text(2, 1), QStringLiteral("25"));
    grid.setCurrent(2, 5);
    grid.editBoxToCell(QStringLiteral("１．５"));
    QCOMPARE(grid.text(2, 5), QStringLiteral("1.5"));
    grid.setCurrent(1, 6);
    grid.copyDown(QStringLiteral("－３"));
    QCOMPARE(grid.text(2, 6), QStringLiteral("-3"));
    QVERIFY(grid.save(inst.state));
    QVERIFY(inst.env.messages.empty());
    QCOMPARE(inst.state.criteria[2].targetSeconds, 25);
    QCOMPARE(inst.state.criteria[2].pointFactor, 1.5f);
    QCOMPARE(inst.state.criteria[2].overuseRuns, -3.0);
}

QTEST_MAIN(CriteriaValuesTest)
#include "test_criteria_values.moc"
