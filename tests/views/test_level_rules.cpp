// The opening rules of the level menu and the texts of its columns, over plain state.
#include "app/AppState.h"
#include "support/FakeEnvironment.h"
#include "views/LevelMenuText.h"
#include "views/LevelRules.h"

#include <QTest>

namespace {

constexpr int pupil = 42;

int cell(int level) {
    return Statistics::cell(level, pupil);
}

struct Fixture {
    FakeEnvironment env;
    AppState state;

    // levels levels, all timed and named "レベルn", each needing 3 runs and 100 points.
    explicit Fixture(int levels, int allLevelsOpen) {
        state.env = &env;
        state.pupil.pupilIndex = pupil;
        state.pupil.pupilName = QStringLiteral("山田太郎            ");
        state.profile.levelCount = levels;
        state.profile.finalLevel = levels;
        state.profile.allLevelsOpen = allLevelsOpen;
        for (int i = 1; i <= levels; ++i) {
            state.profile.levelNames[i] = QStringLiteral("レベル%1").arg(i);
            state.profile.levelTimed[i] = 1;
            LevelCriteria& c = state.criteria[i];
            c.targetSeconds = 40;
            c.minimumSeconds = 60;
            c.clearPoints = 100;
            c.clearCount = 3;
            c.pointFactor = 1;
            c.judgeDays = 7;
            c.overuseDays = 1;
        }
    }
    void judged(int level, int runs, int points) {
        state.stats.statJudgeRuns[cell(level)] = runs;
        state.stats.statJudgePoints[cell(level)] = points;
    }
    void clear(int level) { judged(level, 3, 100); }
    void overused(int level, int runs, int points) {
        state.stats.statOveruseRuns[cell(level)] = runs;
        state.stats.statOverusePoints[cell(level)] = points;
    }
    QList<int> open() {
        const LevelOpening o = applyLevelRules(state);
        QList<int> levels;
        for (int i = 1; i <= state.profile.levelCount; ++i) {
            if (o.enabled[i]) {
                levels << i;
            }
        }
        return levels;
    }
    QList<int> banners() {
        const LevelOpening o = applyLevelRules(state);
        QList<int> levels;
        for (int i = 0; i < 36; ++i) {
            if (o.overuseBanner[i]) {
                levels << i;
            }
        }
        return levels;
    }
};

using Levels = QList<int>;

} // namespace

class TestLevelRules : public QObject {
    Q_OBJECT
private slots:
    void levelsOpenOneAfterAnother() {
        Fixture f(4, 0);
        QCOMPARE(f.open(), Levels({1}));
        // Enough points but one run short is not cleared.
        f.judged(1, 2, 500);
        QCOMPARE(f.open(), Levels({1}));
        f.clear(1);
        QCOMPARE(f.open(), Levels({1, 2}));
        f.clear(2);
        QCOMPARE(f.open(), Levels({1, 2, 3}));
        // Each level opens its successor on its own merit: a cleared level 3 opens level 4
        // while level 3 itself stays closed behind level 2.
        Fixture g(4, 0);
        g.clear(3);
        QCOMPARE(g.open(), Levels({1, 4}));
    }

    void allLevelsOpenOpensEverything() {
        Fixture f(3, 1);
        QCOMPARE(f.open(), Levels({1, 2, 3}));
        // Only the value 1 opens every level.
        Fixture g(3, 2);
        QCOMPARE(g.open(), Levels({1}));
    }

    void noClearRequirementOpensTheLevel() {
        Fixture f(3, 0);
        f.state.criteria[2].clearPoints = 9999;
        QCOMPARE(f.open(), Levels({1, 2}));
        // Level 2 itself is not cleared (9999 points are out of reach), so level 3 waits.
        f.clear(1);
        QCOMPARE(f.open(), Levels({1, 2}));
        f.state.criteria[3].clearPoints = 9999;
        QCOMPARE(f.open(), Levels({1, 2, 3}));
    }

    void practiceLevelsAreAlwaysOpenAndOpenTheirSuccessorUntilBlocked() {
        Fixture f(4, 0);
        f.state.profile.levelNames[2] = QStringLiteral("レベル３練習");
        // Level 1 blocks; level 2 is practice, open, but the blocked marker stops it from
        // opening level 3.
        QCOMPARE(f.open(), Levels({1, 2}));

        Fixture g(3, 0);
        g.state.profile.levelNames[1] = QStringLiteral("レベル１練習");
        // Practice level 1 with nothing blocked yet opens level 2.
        QCOMPARE(g.open(), Levels({1, 2}));
    }

    void teacherOpensEveryLevelByExactName() {
        Fixture f(3, 0);
        f.state.pupil.pupilName = QStringLiteral("先生                  ");
        QVERIFY(isTeacher(f.state));
        QCOMPARE(f.open(), Levels({1, 2, 3}));

        f.state.pupil.pupilName = QStringLiteral("先生２");
        QVERIFY(!isTeacher(f.state));
        QVERIFY(nameContainsTeacher(f.state));
        QCOMPARE(f.open(), Levels({1}));

        f.state.pupil.pupilName = QStringLiteral("山田先生");
        QVERIFY(!isTeacher(f.state));
        QVERIFY(nameContainsTeacher(f.state));
        f.state.pupil.pupilName = QStringLiteral("山田");
        QVERIFY(!nameContainsTeacher(f.state));
    }

    void overPractiseClosesAClearedLevel() {
        Fixture f(3, 1);
        f.state.criteria[1].overuseRuns = 5;
        f.overused(1, 4, 0);
        QCOMPARE(f.open(), Levels({1, 2, 3}));
        QCOMPARE(f.banners(), Levels());
        f.overused(1, 5, 0);
        QCOMPARE(f.open(), Levels({2, 3}));
        QCOMPARE(f.banners(), Levels({1}));

        // The points half of the test on its own.
        Fixture g(3, 1);
        g.state.criteria[2].overusePoints = 50;
        g.overused(2, 0, 50);
        QCOMPARE(g.open(), Levels({1, 3}));
        QCOMPARE(g.banners(), Levels({2}));
    }

    void limitsOfZeroNeverClose() {
        Fixture f(3, 1);
        f.overused(1, 999, 99999);
        f.overused(2, 999, 99999);
        QCOMPARE(f.open(), Levels({1, 2, 3}));
        QCOMPARE(f.banners(), Levels());
    }

    void theLastAndTheOnlyLevelAreNeverClosed() {
        Fixture f(3, 1);
        f.state.criteria[3].overuseRuns = 1;
        f.overused(3, 10, 0);
        QCOMPARE(f.open(), Levels({1, 2, 3}));

        Fixture one(1, 1);
        one.state.criteria[1].overuseRuns = 1;
        one.overused(1, 10, 0);
        QCOMPARE(one.open(), Levels({1}));
        QCOMPARE(one.banners(), Levels());
    }

    void anUnclearedLevelIsNotClosedForOverPractice() {
        Fixture f(3, 0);
        f.state.criteria[1].overuseRuns = 2;
        f.overused(1, 2, 0);
        // Level 1 does not open level 2, so the closing step never reaches it.
        QCOMPARE(f.open(), Levels({1}));
        f.clear(1);
        QCOMPARE(f.open(), Levels({2}));
    }

    void practiceLevelsAreNotClosedForOverPractice() {
        Fixture f(3, 1);
        f.state.profile.levelNames[1] = QStringLiteral("レベル３練習");
        f.state.criteria[1].overuseRuns = 1;
        f.overused(1, 9, 0);
        QCOMPARE(f.open(), Levels({1, 2, 3}));
    }

    void clearingTheFinalLevelStopsOverPracticeClosing() {
        Fixture f(3, 1);
        f.state.criteria[1].overuseRuns = 2;
        f.overused(1, 2, 0);
        QCOMPARE(f.open(), Levels({2, 3}));
        QCOMPARE(f.state.views.clearedAtMenu, 0);

        f.clear(3);
        QCOMPARE(f.open(), Levels({1, 2, 3}));
        QCOMPARE(f.state.views.clearedAtMenu, 1);

        // clearedAtMenu follows the final level, not the last offered column.
        f.state.profile.finalLevel = 2;
        QCOMPARE(f.open(), Levels({2, 3}));
        QCOMPARE(f.state.views.clearedAtMenu, 0);
        // And it is recomputed, not kept, at every run of the rules.
        f.clear(2);
        applyLevelRules(f.state);
        QCOMPARE(f.state.views.clearedAtMenu, 1);
        f.judged(2, 0, 0);
        applyLevelRules(f.state);
        QCOMPARE(f.state.views.clearedAtMenu, 0);
    }

    void theTeacherIsSubjectToOverPractice() {
        Fixture f(2, 0);
        f.state.pupil.pupilName = QStringLiteral("先生");
        f.state.criteria[1].overuseRuns = 1;
        f.overused(1, 1, 0);
        QCOMPARE(f.open(), Levels({2}));
    }

    void thirtyFiveLevelsDoNotReadBeyondTheTable() {
        Fixture f(35, 0);
        for (int i = 1; i <= 35; ++i) {
            f.clear(i);
        }
        QCOMPARE(f.open().size(), 35);
    }

    void criteriaLines() {
        Fixture f(3, 1);
        LevelCriteria& c = f.state.criteria[1];
        c.pointFactor = 1.5f;
        QCOMPARE(criteriaLine(f.state, 1), QStringLiteral("目標=40秒 3回/100点(×1.5)"));
        c.pointFactor = 1;
        QCOMPARE(criteriaLine(f.state, 1), QStringLiteral("目標=40秒 3回/100点(×1)"));
        c.pointFactor = 1.3f; // held a little below 1.3, shown as typed
        QCOMPARE(criteriaLine(f.state, 1), QStringLiteral("目標=40秒 3回/100点(×1.3)"));
        c.clearPoints = 9999;
        QCOMPARE(criteriaLine(f.state, 1), QStringLiteral("目標=40秒 --------"));
        f.state.profile.levelTimed[2] = 0;
        f.state.criteria[2].targetSeconds = 80;
        QCOMPARE(criteriaLine(f.state, 2), QStringLiteral("◎=80点以上"));
    }

    void titleSizeAndTodaysRuns() {
        Fixture f(2, 1);
        QCOMPARE(titlePoints(QStringLiteral("１２３４５６７８９")), 24.0);
        QCOMPARE(titlePoints(QStringLiteral("１２３４５６７８９０")), 20.0);
        // Today's runs add up over every level of this pupil only.
        f.state.stats.statRuns[cell(1)] = 2;
        f.state.stats.statRuns[cell(35)] = 3;
        f.state.stats.statRuns[Statistics::cell(1, pupil + 1)] = 50;
        QCOMPARE(todaysTotalRuns(f.state), 5);
    }

    void minutesSinceTheNameWasPicked() {
        Fixture f(1, 1);
        f.env.setNow(QDateTime(QDate(2026, 12, 9), QTime(10, 30, 59)));
        f.state.pupil.loginTime = 10 * 3600;
        QCOMPARE(minutesSinceLoginText(f.state), QStringLiteral("起動後30分"));
        // Just after midnight the difference is negative and shown as it is.
        f.env.setNow(QDateTime(QDate(2026, 12, 10), QTime(0, 1, 0)));
        f.state.pupil.loginTime = 23 * 3600 + 59 * 60;
        QCOMPARE(minutesSinceLoginText(f.state), QStringLiteral("起動後-1438分"));
    }
};

QTEST_GUILESS_MAIN(TestLevelRules)
#include "test_level_rules.moc"
