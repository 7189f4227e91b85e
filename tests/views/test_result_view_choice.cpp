// What the level menu's result-view options build, from the view state alone: a click on
// Option2 changes the display and clicks the selected Option1 (best first for times; the
// all-time points, then every run, then today's points for points), and Option1 builds
// by the display kind.
#include "views/ResultViewChoice.h"

#include <QTest>

Q_DECLARE_METATYPE(ResultBuild)

class ResultViewChoiceTest : public QObject {
    Q_OBJECT
private slots:
    void theOptionsChooseTheBuild_data() {
        QTest::addColumn<int>("option2"); // -1: a click on Option1(option1) alone
        QTest::addColumn<int>("displayKind");
        QTest::addColumn<QString>("checked"); // which of Option1(1..3) is selected: "1", "23"
        QTest::addColumn<int>("option1");     // for Option1 alone; else the one clicked next
        QTest::addColumn<int>("kindAfter");
        QTest::addColumn<ResultBuild>("build");

        QTest::newRow("times, best") << 0 << 2 << u"1"_qs << 1 << 1 << ResultBuild::BestTimes;
        QTest::newRow("times, today") << 0 << 2 << u"2"_qs << 2 << 1 << ResultBuild::TodayRuns;
        QTest::newRow("times, none selected") << 0 << 2 << u""_qs << 0 << 1 << ResultBuild::Nothing;
        QTest::newRow("points, all-time first")
            << 1 << 1 << u"123"_qs << 1 << 2 << ResultBuild::PointsAllTime;
        QTest::newRow("points, every run before today")
            << 1 << 1 << u"23"_qs << 3 << 2 << ResultBuild::PeriodRuns;
        QTest::newRow("points, today") << 1 << 1 << u"2"_qs << 2 << 2 << ResultBuild::PointsToday;
        QTest::newRow("own times keep the kind")
            << 2 << 2 << u"1"_qs << 0 << 2 << ResultBuild::PersonalTimes;
        QTest::newRow("Option1 on kind 0 reads times")
            << -1 << 0 << u""_qs << 2 << 0 << ResultBuild::TodayRuns;
        QTest::newRow("Option1 all, points")
            << -1 << 2 << u""_qs << 3 << 2 << ResultBuild::PeriodRuns;
    }
    void theOptionsChooseTheBuild() {
        QFETCH(int, option2);
        QFETCH(int, displayKind);
        QFETCH(QString, checked);
        QFETCH(int, option1);
        QFETCH(int, kindAfter);
        QFETCH(ResultBuild, build);
        if (option2 < 0) {
            QCOMPARE(runsChoice(displayKind, option1), build);
            return;
        }
        const std::array<bool, 3> selected = {checked.contains(QLatin1Char('1')),
                                              checked.contains(QLatin1Char('2')),
                                              checked.contains(QLatin1Char('3'))};
        const DisplayChoice choice = displayChoice(option2, displayKind, selected);
        QCOMPARE(choice.displayKind, kindAfter);
        QCOMPARE(choice.option1Clicked, option1);
        QCOMPARE(choice.build, build);
        QCOMPARE(choice.showsGraphButton, option2 == 2);
        QCOMPARE(choice.hidesPeriodBox, option2 != 0);
    }
};

QTEST_APPLESS_MAIN(ResultViewChoiceTest)
#include "test_result_view_choice.moc"
