// The grade rules: school year, grade index, labels, stage numbers, filters and marks.

#include "roster/GradeRules.h"
#include "support/TestInstallation.h"

#include <QtTest>

class GradeRulesTest : public QObject {
    Q_OBJECT

private slots:
    void schoolYearTurnsInTheStartMonth();
    void labelsAndStages_data();
    void labelsAndStages();
    void filterAcceptsItsGrades_data();
    void filterAcceptsItsGrades();
    void gradeMarks();
};

void GradeRulesTest::schoolYearTurnsInTheStartMonth() {
    // A pupil of the 2011 cohort is in grade 6 on 31 March 2024 and in grade 7 on 1 April.
    TestInstallation inst;
    inst.state.config.schoolYearStartMonth = 4;
    inst.env.setNow(QDateTime(QDate(2024, 3, 31), QTime(23, 59, 59)));
    updateSchoolYear(inst.state);
    QCOMPARE(inst.state.pupil.schoolYear, 2023);
    QCOMPARE(gradeIndexOf(inst.state, 2011), 6);
    inst.env.setNow(QDateTime(QDate(2024, 4, 1), QTime(0, 0, 0)));
    updateSchoolYear(inst.state);
    QCOMPARE(gradeIndexOf(inst.state, 2011), 7);

    QCOMPARE(schoolYearOf(QDate(2025, 1, 1), 4), 2024);
    QCOMPARE(schoolYearOf(QDate(2024, 12, 31), 4), 2024);
    QCOMPARE(schoolYearOf(QDate(2024, 1, 1), 1), 2024);
    // The index is a 16-bit value whatever the years.
    QCOMPARE(gradeIndexOf(32767, -32768), 32767);
    QCOMPARE(gradeIndexOf(-32768, 32767), -32768);
}

void GradeRulesTest::labelsAndStages_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("shortLabel");
    QTest::addColumn<QString>("fullLabel");
    QTest::addColumn<int>("stage");
    QTest::newRow("-5") << -5 << "幼-"
                        << "" << -11;
    QTest::newRow("-2") << -2 << "幼1"
                        << "" << -8;
    QTest::newRow("-1") << -1 << "幼2"
                        << "" << -7;
    QTest::newRow("0") << 0 << "幼3"
                       << "幼３" << -6;
    QTest::newRow("1") << 1 << "小1"
                       << "小１" << 1;
    QTest::newRow("6") << 6 << "小6"
                       << "小６" << 6;
    QTest::newRow("7") << 7 << "中1"
                       << "中１" << 1;
    QTest::newRow("9") << 9 << "中3"
                       << "中３" << 3;
    QTest::newRow("10") << 10 << "高1"
                        << "高１" << 1;
    QTest::newRow("12") << 12 << "高3"
                        << "" << 3;
    QTest::newRow("13") << 13 << "大+"
                        << "" << 4;
}

void GradeRulesTest::labelsAndStages() {
    QFETCH(int, index);
    QFETCH(QString, shortLabel);
    QFETCH(QString, fullLabel);
    QFETCH(int, stage);
    QCOMPARE(shortGradeLabel(index), shortLabel);
    QCOMPARE(fullGradeLabel(index), fullLabel);
    QCOMPARE(stageNumber(index), stage);
}

void GradeRulesTest::filterAcceptsItsGrades_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<int>>("accepted"); // within -6..14
    QList<int> all;
    for (int i = -6; i <= 14; ++i) {
        all << i;
    }
    QTest::newRow("全学年") << "全学年" << all;
    QTest::newRow("小学生全体") << "小学生全体" << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("中学生全体") << "中学生全体" << QList<int>{7, 8, 9};
    QTest::newRow("小１") << "小１" << QList<int>{1};
    QTest::newRow("中３") << "中３" << QList<int>{9};
    QTest::newRow("half-width digit") << "中1" << QList<int>{};
    QTest::newRow("part of a choice") << "中学生" << QList<int>{};
}

void GradeRulesTest::filterAcceptsItsGrades() {
    QFETCH(QString, filter);
    QFETCH(QList<int>, accepted);
    QList<int> got;
    for (int i = -6; i <= 14; ++i) {
        if (gradeFilterAccepts(filter, i)) {
            got << i;
        }
    }
    QCOMPARE(got, accepted);
    QCOMPARE(gradeFilterChoices(),
             (QStringList{"全学年", "中学生全体", "小学生全体", "中３", "中２", "中１", "小６",
                          "小５", "小４", "小３", "小２", "小１"}));
}

void GradeRulesTest::gradeMarks() {
    const QStringList marks = {"①", "②", "③", "④", "⑤", "⑥", "Ⅰ", "Ⅱ", "Ⅲ"};
    for (int i = 1; i <= 9; ++i) {
        QCOMPARE(gradeMark(i), marks.at(i - 1));
    }
    for (int i : {0, 10, 13}) {
        QCOMPARE(gradeMark(i), QStringLiteral("　"));
    }
}

QTEST_GUILESS_MAIN(GradeRulesTest)
#include "test_grade_rules.moc"
