// The level menu's result lists as a pupil sees them: arriving on the cumulative points
// ranking, then every option, period and grade chosen with real clicks, over a results
// file and a roster on disk.
#include "../roster/RosterTestFiles.h"
#include "app/JapaneseFonts.h"
#include "records/ResultsFile.h"
#include "roster/RosterFile.h"
#include "support/MenuSchool.h"
#include "support/WaitProbe.h"
#include "views/LevelMenu.h"
#include "views/PersonalPanel.h"
#include "views/ResultLists.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace {

constexpr int me = 42;

struct School : MenuSchool {
    int runsStarted = 0;
    int selectionsOpened = 0;

    explicit School(int levels = 2, const QString& secondName = QStringLiteral("レベル２"))
        : MenuSchool(levels) {
        AppState& s = t.state;
        // A Wednesday.
        t.env.setNow(QDateTime(QDate(2024, 5, 15), QTime(10, 0, 0)));
        s.config.schoolYearStartMonth = 4;
        s.config.schoolCode = QStringLiteral("12345");
        s.config.seasonColor = 192 | (255 << 8) | (192 << 16);
        if (levels >= 2) {
            s.profile.levelNames[2] = secondName;
        }
        rostertest::writeRoster(t, rostertest::rosterLine(me, 2015, QStringLiteral("山田太郎")) +
                                       rostertest::rosterLine(7, 2015, QStringLiteral("佐藤花子")) +
                                       rostertest::rosterLine(8, 2012, QStringLiteral("鈴木一郎")) +
                                       rostertest::rosterLine(9, 2010, QStringLiteral("高橋")) +
                                       rostertest::rosterLine(10, 2015, QStringLiteral("田中")) +
                                       rostertest::rosterLine(11, 2015, QStringLiteral("休会"), 1));
        loadRoster(s);
        s.pupil.pupilGroup = QStringLiteral("小３");
        s.pupil.loginTime = 9 * 3600 + 45 * 60;
        s.routes.startRun = [this] { ++runsStarted; };
        s.routes.openStudentSelection = [this] { ++selectionsOpened; };
    }

    void run(int daysAgo, int pupil, int level, int seconds, QTime at = QTime(10, 0, 0)) {
        recordRun(daysAgo, pupil, level, seconds, at);
    }
    QByteArray existing() {
        QFile f(resultsFilePath(t.state));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Runs today for several pupils (one timed out), two pupils with the same best time,
    // a pupil without runs, runs older than a month and than a year.
    void standardRuns() {
        run(400, me, 1, 25, QTime(15, 0, 0));
        run(40, me, 1, 20);
        run(5, 8, 1, 20);
        run(3, me, 1, 40);
        run(2, 9, 1, 60);
        run(0, me, 1, 30, QTime(9, 5, 7));
        run(0, me, 1, 99999, QTime(9, 20, 0));
        run(0, 7, 1, 30, QTime(9, 30, 0));
        run(0, 7, 2, 45, QTime(13, 45, 0));
        run(0, 9, 3, 45); // a level above levelCount
    }

    QStringList lines(int level) {
        auto* view = find<QListView>(QStringLiteral("List5_%1").arg(level));
        QStringList out;
        for (int r = 0; r < view->model()->rowCount(); ++r) {
            out << view->model()->index(r, 0).data().toString();
        }
        return out;
    }
    void click(const QString& name) {
        QWidget* w = find<QWidget>(name);
        QVERIFY2(w->isVisible() && w->isEnabled(), qPrintable(name));
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2));
    }
    QString title() { return find<QLabel>(QStringLiteral("Label5"))->text(); }
    // Chooses an item of a combo box with the mouse, in its open list.
    void choose(const QString& comboName, const QString& text) {
        auto* combo = find<QComboBox>(comboName);
        QVERIFY(combo->isVisible());
        const int index = combo->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        QTest::mouseClick(combo, Qt::LeftButton);
        QAbstractItemView* view = combo->view();
        QTRY_VERIFY(view->isVisible());
        const QModelIndex item = view->model()->index(index, 0);
        view->scrollTo(item);
        view->setCurrentIndex(item);
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(!view->isVisible());
        QCOMPARE(combo->currentText(), text);
    }
};

void saveGrab(QWidget* widget, const QString& name) {
    const QString folder = QStringLiteral(MIRUNEA_ARTIFACTS_DIR);
    QDir().mkpath(folder);
    QVERIFY(widget->grab().save(folder + QLatin1Char('/') + name));
}

} // namespace

class TestResultViews : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { mapJapaneseFonts(); }

    void everyViewShowsItsLines() {
        School m;
        m.standardRuns();
        seisekitime1* menu = m.open();
        QVERIFY(menu);

        // On arrival: the all-time points ranking (the statistics apply the factor 1.5).
        QCOMPARE(m.title(), QStringLiteral("獲得ポイント（今まで順位）"));
        QVERIFY(m.find<QRadioButton>(QStringLiteral("Option1_1"))->isChecked());
        QCOMPARE(m.find<QRadioButton>(QStringLiteral("Option1_1"))->text(),
                 QStringLiteral("累計順"));
        QVERIFY(m.find<QRadioButton>(QStringLiteral("Option2_1"))->isChecked());
        QCOMPARE(m.lines(1), QStringList({QStringLiteral("1●山田太郎　  7/   40"),
                                          QStringLiteral("2⑥鈴木一郎　  0/   16"),
                                          QStringLiteral("3③佐藤花子　  7/    7"),
                                          QStringLiteral("4Ⅱ高橋　　　  0/    6"),
                                          QStringLiteral("5③田中　　　  0/    0")}));
        QVERIFY(m.find<QPushButton>(QStringLiteral("Command1"))->isEnabled());
        QVERIFY(m.find<QPushButton>(QStringLiteral("Command4_1"))->isEnabled());
        QVERIFY(!m.find<QWidget>(QStringLiteral("Picture6"))->isVisible());
        QVERIFY(m.find<QWidget>(QStringLiteral("List5_1"))->isVisible());
        QVERIFY(menu->menuReady());
        saveGrab(&m.host, QStringLiteral("result_views_arrival.png"));

        // Times: the best view, equal best times sharing a rank in roster order.
        m.click(QStringLiteral("Option2_0"));
        QCOMPARE(m.title(), QStringLiteral("ベスト成績"));
        QCOMPARE(m.find<QRadioButton>(QStringLiteral("Option1_1"))->text(),
                 QStringLiteral("BEST表示"));
        QCOMPARE(m.lines(1), QStringList({QStringLiteral("1●山田太郎　    20 ●"),
                                          QStringLiteral("1⑥鈴木一郎　    20 　"),
                                          QStringLiteral("3③佐藤花子　    30 　"),
                                          QStringLiteral("4Ⅱ高橋　　　    60 　"),
                                          QStringLiteral("--③田中　　　------ 　")}));
        saveGrab(&m.host, QStringLiteral("result_views_best.png"));

        // Today's runs, one timed out; the list points leave out the factor.
        m.click(QStringLiteral("Option1_2"));
        QCOMPARE(m.title(), QStringLiteral("本日の成績"));
        QCOMPARE(m.t.state.views.resultView, 2);
        QCOMPARE(m.lines(1), QStringList({QStringLiteral("  30秒 09:05●山田太郎　●5"),
                                          QStringLiteral("　　× 09:20●山田太郎　●"),
                                          QStringLiteral("  30秒 09:30③佐藤花子　③5")}));
        QCOMPARE(m.lines(2), QStringList({QStringLiteral("  45秒 13:45③佐藤花子　③4")}));
        saveGrab(&m.host, QStringLiteral("result_views_today.png"));

        // Every run of one month, then of each period through Combo2.
        m.click(QStringLiteral("Option1_3"));
        QVERIFY(m.find<QComboBox>(QStringLiteral("Combo2"))->isVisible());
        QCOMPARE(m.find<QComboBox>(QStringLiteral("Combo2"))->currentText(),
                 QStringLiteral("　　１ヶ月間の全成績"));
        QCOMPARE(m.t.state.views.periodDays, 30);
        QCOMPARE(m.lines(1), QStringList({QStringLiteral("  20秒 05/10⑥鈴木一郎　⑥11"),
                                          QStringLiteral("  40秒 05/12●山田太郎　●5"),
                                          QStringLiteral("  60秒 05/13Ⅱ高橋　　　Ⅱ4"),
                                          QStringLiteral("  30秒 05/15●山田太郎　●5"),
                                          QStringLiteral("　　× 05/15●山田太郎　●"),
                                          QStringLiteral("  30秒 05/15③佐藤花子　③5")}));
        const QList<std::pair<QString, int>> periods = {
            {QStringLiteral("　　　今週の全成績"), 4}, // Monday 13 .. Wednesday 15
            {QStringLiteral("　　先週からの全成績"), 6},
            {QStringLiteral("　　１年間の全成績"), 7},
            {QStringLiteral("　　今までの全成績\""), 8}};
        for (const auto& [item, count] : periods) {
            m.choose(QStringLiteral("Combo2"), item);
            QCOMPARE(m.lines(1).size(), count);
        }
        QCOMPARE(m.lines(1).first(), QStringLiteral("  25秒 04/11●山田太郎　●7"));
        saveGrab(&m.host, QStringLiteral("result_views_all.png"));

        // Points display: every run with its points first, then today's ranking.
        m.click(QStringLiteral("Option2_1"));
        QCOMPARE(m.find<QRadioButton>(QStringLiteral("Option1_3"))->text(),
                 QStringLiteral("すべて"));
        QCOMPARE(m.lines(1).first(), QStringLiteral("    7 04/11●山田太郎　●25秒"));
        m.click(QStringLiteral("Option1_2"));
        QCOMPARE(m.title(), QStringLiteral("獲得ポイント（今日の順位）"));
        QCOMPARE(m.lines(1), QStringList({QStringLiteral("1●山田太郎　  7/   40"),
                                          QStringLiteral("1③佐藤花子　  7/    7")}));
        saveGrab(&m.host, QStringLiteral("result_views_points_today.png"));
        m.click(QStringLiteral("Option1_1"));
        QCOMPARE(m.lines(1).size(), 5);

        // The pupil's own times, a timed-out run marked, and the graph's button.
        m.click(QStringLiteral("Option2_2"));
        QCOMPARE(m.title(), QStringLiteral("個人別ﾀｲﾑ"));
        QVERIFY(m.find<QPushButton>(QStringLiteral("Command17"))->isVisible());
        QCOMPARE(m.lines(1), QStringList({QStringLiteral("2023/04/11 15:00:00  25秒"),
                                          QStringLiteral("2024/04/05 10:00:00  20秒"),
                                          QStringLiteral("2024/05/12 10:00:00  40秒"),
                                          QStringLiteral("2024/05/15 9:05:07  30秒"),
                                          QStringLiteral("2024/05/15 9:20:00    ×")}));
        QVERIFY(m.lines(2).isEmpty());
        PersonalPanel* panel = menu->personalPanel();
        QCOMPARE(panel->List3->count(), 2);
        QCOMPARE(panel->selectedPupil, me);
        QCOMPARE(panel->List2->count(), 5); // the status-1 line is not offered
        QCOMPARE(panel->List2->item(0)->text(), QStringLiteral("小３ /  山田太郎/42"));
        saveGrab(&m.host, QStringLiteral("result_views_personal.png"));

        // The panel's figures for the graph: the pupil's ranks and points at level 1 and
        // the school's points holders (the statistics' points, factor included).
        panel->summaryLevel = 1;
        panel->rankFigures(1);
        panel->rankFigures(0);
        const LevelFigures& figures = panel->levelFigures[1];
        QCOMPARE(figures.timeRank, QStringLiteral("  1"));
        QCOMPARE(figures.pointsRank, QStringLiteral("  1"));
        QCOMPARE(figures.pupilPoints, 40.0);
        QCOMPARE(figures.pointsHolders, 4);
        QCOMPARE(figures.pointsSum, 40.0 + 16 + 7 + 6);
        QCOMPARE(panel->List4[1]->count(), 5);
        QCOMPARE(panel->List4[1]->item(4)->text(), QStringLiteral("---③田中　　　------ 　"));
        QCOMPARE(panel->List4[2]->item(0)->text(), QStringLiteral("  1●山田太郎　  7/   40"));
        // The panel's own buttons: the pupil chooser in place of its button, then back.
        panel->show();
        m.click(QStringLiteral("Command25"));
        QVERIFY(panel->List2->isVisible());
        QVERIFY(!panel->Command25->isVisible());
        QVERIFY(panel->Picture12->isVisible());
        m.click(QStringLiteral("Command18"));
        QVERIFY(!panel->isVisible());

        // The grade selector narrows the personal list too: a grade not the pupil's
        // empties it.
        m.choose(QStringLiteral("Combo1"), QStringLiteral("小６"));
        QVERIFY(m.lines(1).isEmpty());
        m.click(QStringLiteral("Option2_0"));
        m.click(QStringLiteral("Option1_1"));
        QCOMPARE(m.lines(1), QStringList({QStringLiteral("1⑥鈴木一郎　    20 　")}));
        m.click(QStringLiteral("Option1_2"));
        QVERIFY(m.lines(1).isEmpty());
        m.choose(QStringLiteral("Combo1"), QStringLiteral("小３"));
        QCOMPARE(m.lines(1).size(), 3);
        m.click(QStringLiteral("Option1_3"));
        for (const QString& line : m.lines(1)) {
            QVERIFY2(line.contains(QStringLiteral("●")) || line.contains(QStringLiteral("③")),
                     qPrintable(line));
        }
        saveGrab(&m.host, QStringLiteral("result_views_grade.png"));

        // The back button still works after all this.
        m.click(QStringLiteral("Command1"));
        QCOMPARE(m.selectionsOpened, 1);
        QCOMPARE(m.runsStarted, 0);
    }

    void columnsLineUpInTheFixedPitchFont() {
        School m;
        m.standardRuns();
        m.open();
        auto* view = m.find<QListView>(QStringLiteral("List5_1"));
        const QFontMetrics metrics(view->font());
        QCOMPARE(QFontInfo(view->font()).family(), QStringLiteral("IPAGothic"));
        // Every line of the ranking is as wide as the others.
        const QStringList l = m.lines(1);
        for (const QString& line : l) {
            QCOMPARE(metrics.horizontalAdvance(line), metrics.horizontalAdvance(l.first()));
        }
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("秒")),
                 2 * metrics.horizontalAdvance(QStringLiteral("1")));
    }

    void practiceLevelKeepsItsListHidden() {
        School m(2, QStringLiteral("練習"));
        m.standardRuns();
        m.open();
        QVERIFY(!m.find<QWidget>(QStringLiteral("List5_2"))->isVisible());
        m.click(QStringLiteral("Option2_0"));
        QVERIFY(!m.find<QWidget>(QStringLiteral("List5_2"))->isVisible());
        QVERIFY(!m.find<QWidget>(QStringLiteral("Label9_2"))->isVisible());
        QVERIFY(m.find<QWidget>(QStringLiteral("List5_1"))->isVisible());
    }

    void scrollingMovesTheLists() {
        School m(6);
        m.open();
        auto* bar = m.find<QScrollBar>(QStringLiteral("HScroll1"));
        const int firstLeft = m.find<QWidget>(QStringLiteral("List5_1"))->x();
        bar->setValue(3);
        QCOMPARE(m.find<QWidget>(QStringLiteral("List5_3"))->x(), firstLeft);
        QCOMPARE(m.find<QWidget>(QStringLiteral("List5_3"))->x(),
                 m.find<QWidget>(QStringLiteral("Command4_3"))->x());
        QVERIFY(m.find<QWidget>(QStringLiteral("List5_1"))->x() >= m.host.current()->width());
    }

    // While a list is built the window takes no input: everything a pupil could click or
    // press from inside each kind of build (the refresh, the best view, today's runs, the
    // runs of a period, the pupil's own times, both points rankings, the grade selector and
    // the period box) starts nothing, leaves nothing behind and lets the build finish.
    void inputDuringEveryBuildIsRefused() {
        School m;
        m.standardRuns();
        WaitProbe probe(m.host, m.t.state);
        probe.limit = 100;
        seisekitime1* menu = m.open();
        QVERIFY(probe.probes >= 1); // the refresh on arrival
        const auto built = [&](const QString& what, int probesBefore) {
            QVERIFY2(probe.probes > probesBefore, qPrintable(what));
            QCOMPARE(probe.unguarded, 0);
            QCOMPARE(screenTrouble(m.host, m.t.state), QString());
            QCOMPARE(m.host.current(), menu);
            QCOMPARE(m.runsStarted, 0);
            QCOMPARE(m.selectionsOpened, 0);
        };
        for (const QString& option :
             {QStringLiteral("Option2_0"), QStringLiteral("Option1_2"), QStringLiteral("Option1_3"),
              QStringLiteral("Option2_2"), QStringLiteral("Option2_1"), QStringLiteral("Option1_2"),
              QStringLiteral("Option1_1")}) {
            const int before = probe.probes;
            m.click(option);
            built(option, before);
            QVERIFY(m.find<QRadioButton>(option)->isChecked());
        }
        QCOMPARE(m.title(), QStringLiteral("獲得ポイント（今まで順位）"));
        QCOMPARE(m.lines(1).size(), 5);

        int before = probe.probes;
        m.choose(QStringLiteral("Combo1"), QStringLiteral("小３"));
        built(QStringLiteral("Combo1"), before);
        QCOMPARE(m.lines(1).size(), 3);

        m.click(QStringLiteral("Option1_3"));
        before = probe.probes;
        m.choose(QStringLiteral("Combo2"), QStringLiteral("　　１年間の全成績"));
        built(QStringLiteral("Combo2"), before);
        QCOMPARE(m.lines(1).size(), 5); // 小３ only, the run 40 days ago included
        QVERIFY(m.find<QPushButton>(QStringLiteral("Command1"))->isEnabled());
    }

    // A results file that cannot be read at all ends the program with the list's name,
    // the system's description and its number.
    void anUnreadableFileIsNamedByTheList_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("today") << QStringLiteral("Option1_2") << QStringLiteral("Command5");
        QTest::newRow("all") << QStringLiteral("Option1_3") << QStringLiteral("Command7");
    }
    void anUnreadableFileIsNamedByTheList() {
        QFETCH(QString, option);
        QFETCH(QString, prefix);
        School m;
        m.standardRuns();
        m.open();
        m.click(QStringLiteral("Option2_0"));
        QVERIFY(m.t.env.messages.empty());
        const QString path = resultsFilePath(m.t.state);
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkpath(path)); // a folder where the file should be
        m.click(option);
        QVERIFY(!m.t.env.messages.empty());
        const QString text = m.t.env.messages.back().text;
        QVERIFY2(text.startsWith(prefix), qPrintable(text));
        QCOMPARE(m.t.env.endedWith, 1);
    }

    void recordsOutsideTheLevelsOrWindowAreLeftOut() {
        School m;
        m.standardRuns();
        // Records no copy of the program writes: negative seconds, a date after today, and
        // (written byte by byte, the program refuses to) a run today of pupil 0.
        m.run(0, 7, 1, -5);
        m.run(-1, 7, 1, 33);
        m.t.writeBytes(resultsFilePath(m.t.state),
                       m.existing() +
                           rostertest::resultRecord(QDate(2024, 5, 15), QTime(10, 0, 0), 0, 1, 20));
        RunListRequest request{RunList::Period, ListKind::Time, 3650, QStringLiteral("全学年")};
        LevelLines lines;
        QVERIFY(buildRunLists(m.t.state, request, lines));
        QCOMPARE(static_cast<int>(lines.size()), 3);
        QCOMPARE(lines[1].size() + lines[2].size(), 9); // not the level-3 run
        // A torn record at the end, as another PC is writing it, is left for later.
        m.t.writeBytes(resultsFilePath(m.t.state), m.existing() + QByteArray(20, '\x01'));
        request.list = RunList::Today;
        QVERIFY(buildRunLists(m.t.state, request, lines));
        QCOMPARE(lines[1].size(), 3);
        QVERIFY(m.t.env.messages.empty());
    }
};

QTEST_MAIN(TestResultViews)
#include "test_result_views.moc"
