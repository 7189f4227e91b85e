// The record maintenance screen driven the way a teacher uses it: a double-click opens a
// record, the seconds and the pupil are changed, a record is deleted (or not), and "戻る"
// goes back to the level menu.

#include "MaintenanceRoom.h"
#include "RecordsTestSupport.h"
#include "app/JapaneseFonts.h"
#include "app/ScreenHost.h"
#include "app/ScreenRoutes.h"
#include "records/RecordMaintenanceScreen.h"
#include "roster/RosterTestFiles.h"
#include "support/TestInstallation.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using rostertest::rosterLine;
using rostertest::writeRoster;

namespace {

struct Room : MaintenanceRoom {
    int levelMenus = 0;

    Room() {
        state.config.schoolName = QStringLiteral("青葉教室");
        state.routes.openLevelMenu = [this] { ++levelMenus; };
        writeRoster(inst, rosterLine(12, 2017, QStringLiteral("山田　花子")) +
                              rosterLine(7, 2013, QStringLiteral("長谷川由美子")) +
                              rosterLine(5, 2020, QStringLiteral("鈴木")));
        writeRuns({12, 7, 5}, {41, 99999, 43}, 60);
    }

    QString label(const QString& name) const { return find<QLabel>(name)->text(); }
    bool panelShown() const { return find(QStringLiteral("Frame1"))->isVisible(); }
    QLineEdit* seconds() const { return find<QLineEdit>(QStringLiteral("Text1(1)")); }
    void clickLine(int row) {
        const QRect rect = list()->visualItemRect(list()->item(row));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void saveGrab(const QString& fileName) {
        QDir().mkpath(QStringLiteral(MIRUNEA_ARTIFACTS_DIR));
        const QString path = QStringLiteral(MIRUNEA_ARTIFACTS_DIR "/") + fileName;
        QVERIFY2(host.grab().save(path), qPrintable(path));
    }
};

QStringList items(QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

} // namespace

class RecordMaintenanceScreenTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { mapJapaneseFonts(); }
    void theListShowsEveryRecord();
    void aDoubleClickOpensTheRecordAndAClickClosesIt();
    void changingTheSecondsAndThePupil();
    void deletingAsksFirst();
    void backGoesToTheLevelMenu();
    void theGateOpensTheScreen();
};

void RecordMaintenanceScreenTest::theListShowsEveryRecord() {
    Room room;
    room.open();
    QVERIFY(QTest::qWaitForWindowExposed(&room.host));
    QCOMPARE(room.host.windowTitle(), QStringLiteral("データ変更"));
    QCOMPARE(room.label(QStringLiteral("Label3")), QStringLiteral("総レコード数:3"));
    QCOMPARE(room.label(QStringLiteral("Label5")),
             QStringLiteral("ダブルクリックすると変更、消去できます"));
    QCOMPARE(room.list()->count(), 3);
    QCOMPARE(room.list()->item(0)->text(),
             QStringLiteral(
                 "   1 2026/12/01　  9:00:00ﾚﾍﾞﾙ1　   41秒 　  12 山田　花子　 小３++青葉教室"));
    QCOMPARE(room.list()->font().family(), QStringLiteral("ＭＳ ゴシック"));
    // Fixed pitch: the grade and the school stand in one column on every line, whatever
    // the name and the seconds.
    const QFontMetrics metrics(room.list()->font());
    QList<int> gradeColumn;
    for (int i = 0; i < room.list()->count(); ++i) {
        const QString line = room.list()->item(i)->text();
        gradeColumn << metrics.horizontalAdvance(line.left(line.indexOf(QStringLiteral("++")) - 2));
    }
    QCOMPARE(gradeColumn, QList<int>(gradeColumn.size(), gradeColumn.first()));
    QVERIFY(!room.panelShown());
    QVERIFY(room.find(QStringLiteral("Command4"))->isVisible());
}

void RecordMaintenanceScreenTest::aDoubleClickOpensTheRecordAndAClickClosesIt() {
    Room room;
    room.open();
    QVERIFY(QTest::qWaitForWindowExposed(&room.host));
    room.doubleClickLine(1);
    QVERIFY(room.panelShown());
    QCOMPARE(room.label(QStringLiteral("Label1")), QStringLiteral("2"));
    QCOMPARE(room.label(QStringLiteral("Label2(1)")), QStringLiteral("2ﾚﾍﾞﾙ"));
    QCOMPARE(room.label(QStringLiteral("Label2(2)")), QStringLiteral("2026/12/02"));
    QCOMPARE(room.label(QStringLiteral("Label2(4)")), QStringLiteral("中１"));
    QCOMPARE(room.label(QStringLiteral("Label2(0)")), QStringLiteral("秒"));
    QCOMPARE(room.find<QComboBox>(QStringLiteral("Combo1"))->currentText(),
             QStringLiteral("7 /  長谷川由美子"));
    // A timed-out run's 99999 is shown, on the bar as well.
    QCOMPARE(room.seconds()->text(), QStringLiteral("99999"));
    QCOMPARE(room.find<QScrollBar>(QStringLiteral("VScroll1"))->value(), 99999);
    QVERIFY(room.find<QPushButton>(QStringLiteral("Command2"))->isEnabled());
    QVERIFY(room.find<QPushButton>(QStringLiteral("Command3"))->isEnabled());
    room.saveGrab(QStringLiteral("record_maintenance.png"));

    room.clickLine(0);
    QVERIFY(!room.panelShown());
    room.doubleClickLine(0);
    QVERIFY(room.panelShown());
    QCOMPARE(room.label(QStringLiteral("Label1")), QStringLiteral("1"));
    room.click(QStringLiteral("Command1")); // キャンセル
    QVERIFY(!room.panelShown());
    QVERIFY(room.env.messages.empty());
}

void RecordMaintenanceScreenTest::changingTheSecondsAndThePupil() {
    Room room;
    room.open();
    QVERIFY(QTest::qWaitForWindowExposed(&room.host));
    room.doubleClickLine(1);
    QLineEdit* seconds = room.seconds();
    QScrollBar* bar = room.find<QScrollBar>(QStringLiteral("VScroll1"));
    // The bar moves away from 99999 by a second and writes its value into the box.
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Up);
    QCOMPARE(seconds->text(), QString::number(bar->value()));
    QCOMPARE(qAbs(bar->value() - 99999), 1);
    // The teacher types a time; halves go to the even neighbour.
    QTest::mouseClick(seconds, Qt::LeftButton);
    seconds->selectAll();
    QTest::keyClicks(seconds, QStringLiteral("58.5"));
    // ... and picks another pupil from the chooser, which shows the pupil's grade.
    auto* combo = room.find<QComboBox>(QStringLiteral("Combo1"));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Up); // from the typed text to the entry before it
    QCOMPARE(combo->currentText(), QStringLiteral("12 /  山田　花子"));
    QCOMPARE(room.label(QStringLiteral("Label2(4)")), QStringLiteral("小３"));
    room.click(QStringLiteral("Command2"));

    const std::vector<ResultRecord> records = room.records();
    QCOMPARE(records.size(), std::size_t(3));
    ResultRecord expected = room.written[1];
    expected.seconds = 58;
    expected.pupilNo = 12;
    QCOMPARE(records[1], expected);
    QCOMPARE(records[0], room.written[0]);
    QCOMPARE(records[2], room.written[2]);
    QCOMPARE(room.list()->currentRow(), 1);
    QCOMPARE(room.list()->item(1)->text(),
             QStringLiteral(
                 "   2 2026/12/02　  9:01:00ﾚﾍﾞﾙ2　   58秒 　  12 山田　花子　 小３++青葉教室"));

    // A typed-in chooser text that names nobody is refused, and nothing is written.
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, QStringLiteral("xyz"));
    room.click(QStringLiteral("Command2"));
    QCOMPARE(room.env.messages.size(), std::size_t(1));
    QCOMPARE(room.env.messages[0].title, QStringLiteral("注意"));
    QCOMPARE(room.records()[1], expected);
    QVERIFY(room.panelShown());
}

void RecordMaintenanceScreenTest::deletingAsksFirst() {
    Room room;
    room.open();
    QVERIFY(QTest::qWaitForWindowExposed(&room.host));
    room.doubleClickLine(0);
    room.env.answers.push_back(MessageAnswer::Cancel);
    room.click(QStringLiteral("Command3"));
    QCOMPARE(room.env.messages.size(), std::size_t(1));
    QCOMPARE(room.env.messages[0].title, QStringLiteral("注意"));
    QCOMPARE(room.env.messages[0].text, QStringLiteral("本当に消去しますか"));
    QVERIFY(room.env.messages[0].buttons == MessageButtons::OkCancel);
    QCOMPARE(room.records(), room.written);
    QCOMPARE(room.list()->count(), 3);

    room.env.answers.push_back(MessageAnswer::Ok);
    room.click(QStringLiteral("Command3"));
    QCOMPARE(room.env.messages.size(), std::size_t(2));
    QCOMPARE(room.records(), std::vector<ResultRecord>({room.written[1], room.written[2]}));
    QCOMPARE(room.label(QStringLiteral("Label3")), QStringLiteral("総レコード数:2"));
    QCOMPARE(room.list()->count(), 2);
    QCOMPARE(room.list()->currentRow(), 0); // the record that followed
    QVERIFY(room.list()->item(0)->text().startsWith(QStringLiteral("   1 2026/12/02")));
    QVERIFY(!room.panelShown());

    // The last line: the new last line is selected.
    room.doubleClickLine(1);
    room.click(QStringLiteral("Command3"));
    QCOMPARE(room.records(), std::vector<ResultRecord>({room.written[1]}));
    QCOMPARE(room.list()->currentRow(), 0);
    QCOMPARE(items(room.list()).size(), 1);
}

void RecordMaintenanceScreenTest::backGoesToTheLevelMenu() {
    Room room;
    room.open();
    room.click(QStringLiteral("Command4"));
    QCOMPARE(room.levelMenus, 1);
    QVERIFY(room.find(QStringLiteral("Picture2"))->isVisible());
}

void RecordMaintenanceScreenTest::theGateOpensTheScreen() {
    // The program's own route, as the level menu's teacher gate calls it.
    Room room;
    wireScreens(room.state);
    room.state.routes.openRecordMaintenance();
    QVERIFY(qobject_cast<RecordMaintenanceScreen*>(room.host.current()));
}

QTEST_MAIN(RecordMaintenanceScreenTest)
#include "test_record_maintenance_screen.moc"
