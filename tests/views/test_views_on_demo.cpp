// The result lists on the demo school, reached the way a pupil reaches them: the program's
// start-up, the name list, Enter on a name, then every option, period and grade chosen
// with the mouse, and back to the name list.
#include "app/JapaneseFonts.h"
#include "roster/StudentSelection.h"
#include "support/DemoClassroom.h"
#include "views/LevelMenu.h"
#include "views/PersonalPanel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

using namespace demoschool;

// The level menu's lists and controls as the pupil sees them, over the demo classroom.
struct Classroom : DemoClassroom {
    QStringList lines(int level) const {
        const QAbstractItemModel* model =
            find<QListView>(QStringLiteral("List5_%1").arg(level))->model();
        QStringList out;
        for (int r = 0; r < model->rowCount(); ++r) {
            out << model->index(r, 0).data().toString();
        }
        return out;
    }
    QString title() const { return find<QLabel>(QStringLiteral("Label5"))->text(); }
    void click(const QString& name) {
        QWidget* w = find<QWidget>(name);
        QVERIFY2(w->isVisible() && w->isEnabled(), qPrintable(name));
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2));
    }
    // Opens the combo box with the mouse and takes the item in its open list.
    void choose(const QString& comboName, const QString& text) {
        auto* combo = find<QComboBox>(comboName);
        const int index = combo->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        QTest::mouseClick(combo, Qt::LeftButton);
        QAbstractItemView* view = combo->view();
        QTRY_VERIFY(view->isVisible());
        view->setCurrentIndex(view->model()->index(index, 0));
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(!view->isVisible());
        QCOMPARE(combo->currentText(), text);
    }
};

bool anyLineHas(const QStringList& lines, const QString& part) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const QString& l) { return l.contains(part); });
}

} // namespace

class ViewsOnDemoTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { mapJapaneseFonts(); }

    void aPupilReadsEveryList() {
        Classroom room;
        room.startUp();
        StudentSelection* names = room.current<StudentSelection>();
        QVERIFY(names);
        const int row = rowOfPupil(names->List1);
        QVERIFY(row > 0);
        names->List1->setFocus();
        for (int i = 0; i < row; ++i) {
            room.press(Qt::Key_Down);
        }
        room.press(Qt::Key_Return);
        seisekitime1* menu = room.current<seisekitime1>();
        QVERIFY(menu);
        QVERIFY(menu->menuReady());

        // Arrival: the all-time points ranking, every listed pupil, the pupil marked.
        QCOMPARE(room.title(), QStringLiteral("獲得ポイント（今まで順位）"));
        const int listed = room.state.pupil.rosterLineCount;
        QCOMPARE(room.lines(1).size(), listed);
        QVERIFY(anyLineHas(room.lines(1), QStringLiteral("●田中　ひな")));
        room.saveGrab(QStringLiteral("demo_views_arrival.png"));

        // Best times: two pupils share the first rank; the pupil who never ran is last.
        room.click(QStringLiteral("Option2_0"));
        QCOMPARE(room.title(), QStringLiteral("ベスト成績"));
        const QStringList best = room.lines(1);
        QCOMPARE(best[0], QStringLiteral("1　石川　そう    17 　"));
        QCOMPARE(best[1], QStringLiteral("1　上田　ゆい    17 　"));
        QVERIFY(best[2].startsWith(QStringLiteral("3")));
        QVERIFY(best.contains(QStringLiteral("--Ⅲ渡辺　ちひ------ 　")));
        room.saveGrab(QStringLiteral("demo_views_best.png"));

        // Today's runs, with the run timed out today.
        room.click(QStringLiteral("Option1_2"));
        QCOMPARE(room.title(), QStringLiteral("本日の成績"));
        QVERIFY(room.lines(1).contains(QStringLiteral("　　× 15:05①大野　めい①")));
        room.saveGrab(QStringLiteral("demo_views_today.png"));

        // Every run of the month, then until now with the runs of over a year ago.
        room.click(QStringLiteral("Option1_3"));
        const int month = room.lines(1).size();
        QVERIFY(!anyLineHas(room.lines(1), today.addDays(-45).toString("MM/dd")));
        room.choose(QStringLiteral("Combo2"), QStringLiteral("　　今までの全成績\""));
        QCOMPARE(room.lines(1).size(), month + 5);
        QVERIFY(anyLineHas(room.lines(1), today.addDays(-400).toString("MM/dd")));
        room.saveGrab(QStringLiteral("demo_views_all.png"));

        // Points: today's ranking only lists pupils who scored today.
        room.click(QStringLiteral("Option2_1"));
        room.click(QStringLiteral("Option1_2"));
        QCOMPARE(room.title(), QStringLiteral("獲得ポイント（今日の順位）"));
        QVERIFY(!room.lines(1).isEmpty());
        QVERIFY(room.lines(1).size() < listed);
        for (const QString& line : room.lines(1)) {
            QVERIFY2(line.section(QLatin1Char('/'), 0, 0).right(3).trimmed().toInt() > 0,
                     qPrintable(line));
        }
        room.saveGrab(QStringLiteral("demo_views_points_today.png"));

        // The pupil's own times and the graph's button.
        room.click(QStringLiteral("Option2_2"));
        QCOMPARE(room.title(), QStringLiteral("個人別ﾀｲﾑ"));
        QVERIFY(room.find<QPushButton>(QStringLiteral("Command17"))->isVisible());
        int own = 0;
        for (int level = 1; level <= room.state.profile.levelCount; ++level) {
            own += static_cast<int>(room.lines(level).size());
        }
        QVERIFY(own > 0);
        QVERIFY(room.lines(1).first().startsWith(QStringLiteral("2026/")));
        QCOMPARE(menu->personalPanel()->selectedPupil, pupilNo);
        room.saveGrab(QStringLiteral("demo_views_personal.png"));

        // Another grade: the pupil's own list empties; the rankings show that grade.
        room.choose(QStringLiteral("Combo1"), QStringLiteral("小１"));
        QVERIFY(room.lines(1).isEmpty());
        room.click(QStringLiteral("Option2_0"));
        room.click(QStringLiteral("Option1_1"));
        QVERIFY(!room.lines(1).isEmpty());
        for (const QString& line : room.lines(1)) {
            QVERIFY2(line.contains(QStringLiteral("①")), qPrintable(line));
        }
        room.saveGrab(QStringLiteral("demo_views_grade.png"));

        // Back to the name list.
        room.click(QStringLiteral("Command1"));
        QTRY_VERIFY(room.current<StudentSelection>());
    }
};

QTEST_MAIN(ViewsOnDemoTest)
#include "test_views_on_demo.moc"
