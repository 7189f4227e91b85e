// The criteria editor on a fake classroom PC, driven with keys in its edit box and
// clicks on its grid and buttons, as the teacher works it.

#include "RecordsTestSupport.h"
#include "app/ScreenHost.h"
#include "records/CriteriaEditor.h"
#include "records/CriteriaFile.h"
#include "support/TestInstallation.h"
#include "text/Cp932.h"
#include "views/LevelMenu.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

namespace {

const QString header =
    QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n");
const QString level1 = QStringLiteral("60,90,100,5,1.5,20,0,7,1,,,\r\n");
const QString level2 = QStringLiteral("45,70,9999,3,1,,,14,0,,,\r\n");
const QString level3 = QStringLiteral("30,40,120,10,1.3,0,500,30,7,1,2,3\r\n");

QByteArray cp932(const QString& text) {
    return encodeCp932(text).value_or(QByteArray());
}

QString stars(int from, int count) {
    return QStringLiteral("%1～").arg(from, 4) + QString(count, QChar(0x2605));
}

struct EditorFixture {
    TestInstallation inst;
    AppState& state = inst.state;
    FakeEnvironment& env = inst.env;
    ScreenHost host;
    int levelMenus = 0;

    explicit EditorFixture(const std::vector<ResultRecord>& results = {}) {
        inst.writeBytes(criteriaPath(), cp932(header + level1 + level2 + level3));
        inst.writeBytes(resultsFilePath(state), encodeAll(results));
        if (!loadCriteria(state)) {
            qFatal("the criteria file did not load");
        }
        state.host = &host;
        wireScreens(state);
        state.routes.openLevelMenu = [this] { ++levelMenus; };
        host.show();
        host.activateWindow();
        if (!QTest::qWaitForWindowActive(&host)) {
            qWarning("the window did not become active");
        }
        state.routes.openCriteriaEditor();
    }

    QString criteriaPath() const {
        return inst.drillDataFolder() + QStringLiteral("タイム回数データ.txt");
    }
    QByteArray criteriaBytes() const { return fileBytes(criteriaPath()); }

    CriteriaEditor* editor() const { return qobject_cast<CriteriaEditor*>(host.current()); }
    template <class W> W* find(const QString& name) const {
        W* w = host.findChild<W*>(name);
        if (!w) {
            qFatal("no control %s", qPrintable(name));
        }
        return w;
    }
    QLineEdit* box() const { return find<QLineEdit>(QStringLiteral("Gridinputtext")); }
    QTableWidget* table() const { return find<QTableWidget>(QStringLiteral("MSFlexGrid1")); }
    QString cell(int row, int column) const { return table()->item(row, column)->text(); }
    bool yellow(int row, int column) const {
        return table()->item(row, column)->background().color() == QColor(255, 255, 0);
    }
    QStringList list(const char* name) const {
        QStringList lines;
        const auto* l = find<QListWidget>(QLatin1String(name));
        for (int i = 0; i < l->count(); ++i) {
            lines << l->item(i)->text();
        }
        return lines;
    }
    QString help() const { return find<QLabel>(QStringLiteral("Label3"))->text(); }
    void click(const char* button) {
        QTest::mouseClick(find<QPushButton>(QLatin1String(button)), Qt::LeftButton);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(box(), k, modifiers);
    }
    void type(const QString& text) { QTest::keyClicks(box(), text); }
    // The edit box stands exactly over the cell.
    bool boxOver(int row, int column) const {
        return box()->isVisible() &&
               box()->geometry() == table()->visualItemRect(table()->item(row, column));
    }
    void clickCell(int row, int column) {
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {},
                          table()->visualItemRect(table()->item(row, column)).center());
    }

    void saveGrab(const QString& fileName) {
        QDir().mkpath(QStringLiteral(MIRUNEA_ARTIFACTS_DIR));
        const QString path = QStringLiteral(MIRUNEA_ARTIFACTS_DIR "/") + fileName;
        QVERIFY2(host.grab().save(path), qPrintable(path));
    }
};

std::vector<ResultRecord> someResults() {
    return {makeRecord(46000, 36000, 7, 1, 45), makeRecord(46000, 36100, 7, 1, 38),
            makeRecord(46000, 36200, 8, 1, 52), makeRecord(46000, 36300, 8, 2, 99999)};
}

} // namespace

class CriteriaEditorTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheFileWithTheFirstCellCurrent();
    void arrowKeysMoveInsideTheLevelCells();
    void typingAppendsAndMarksTheCell();
    void spaceClearsAndEqualTextMarksNothing();
    void shiftDownCopiesDownTheColumn();
    void clickingACellMakesItCurrent();
    void savingWritesTheFileAndReloadsTheCriteria();
    void discardingReloadsTheGridButKeepsTheFlag();
    void leavingAsksOnlyAfterChanges();
    void aRefusedSaveKeepsTheGridAndTheTeacherHere();
    void distributionsFollowTheResultsFile();
    void anUnreadableResultsFileIsReportedOnce();
    void hidingTheDistributionPanel();
    void theTeacherPanelOpensItAndItsBackButtonTheMenu();
};

void CriteriaEditorTest::showsTheFileWithTheFirstCellCurrent() {
    EditorFixture f(someResults());
    QVERIFY(f.editor());
    QCOMPARE(f.table()->rowCount(), 4);
    QCOMPARE(f.table()->columnCount(), 13);
    QCOMPARE(f.cell(0, 0), QStringLiteral("レベル"));
    QCOMPARE(f.cell(0, 5), QStringLiteral("ﾎﾟｲﾝﾄ倍率"));
    QCOMPARE(f.cell(3, 0), QStringLiteral("3"));
    QCOMPARE(f.cell(3, 12), QStringLiteral("3"));
    QCOMPARE(f.box()->text(), QStringLiteral("60"));
    QCOMPARE(f.host.focusWidget(), f.box());
    QVERIFY(f.boxOver(1, 1));
    QCOMPARE(f.table()->columnWidth(1), f.table()->columnWidth(2) * 8 / 10);
    QCOMPARE(
        f.help(),
        QStringLiteral("合格基準タイム\n　大部分の人ががんばったら出せそうなタイムにしてください"));
    QCOMPARE(
        f.find<QLabel>(QStringLiteral("Label1"))->text(),
        QStringLiteral("成績の基準となるデータを変更できます。\nプログラムを選んでください。"));
    QCOMPARE(f.list("List3").value(0), QStringLiteral("レベル1 今まで3回  （★=1）"));
    QCOMPARE(f.list("List3").value(1 + 3), stars(30, 1));
    QCOMPARE(f.list("List3").value(1 + 4), stars(40, 1));
    QCOMPARE(f.list("List4").value(0), QStringLiteral("レベル1 （★=1）"));
    QCOMPARE(f.list("List4").value(1 + 3), stars(30, 1)); // pupil 7's best, 38
    QCOMPARE(f.list("List4").value(1 + 4), stars(40, 0));
    QCOMPARE(f.list("List4").value(1 + 5), stars(50, 1)); // pupil 8's only run
    QVERIFY(f.find<QRadioButton>(QStringLiteral("Option1(0)"))->isChecked());
    QVERIFY(!f.find<QLabel>(QStringLiteral("waitPanel"))->isVisible());
    f.saveGrab(QStringLiteral("criteria-editor.png"));
}

void CriteriaEditorTest::arrowKeysMoveInsideTheLevelCells() {
    EditorFixture f(someResults());
    f.key(Qt::Key_Up);
    f.key(Qt::Key_Left);
    QCOMPARE(f.editor()->grid().row(), 1);
    QCOMPARE(f.editor()->grid().column(), 1);
    QVERIFY(f.boxOver(1, 1));
    f.key(Qt::Key_Right);
    QCOMPARE(f.box()->text(), QStringLiteral("90"));
    QVERIFY(f.boxOver(1, 2));
    QVERIFY(f.help().startsWith(QStringLiteral("合格最低ラインタイム\n")));
    f.key(Qt::Key_Down);
    QCOMPARE(f.box()->text(), QStringLiteral("70"));
    QVERIFY(f.boxOver(2, 2));
    // The distributions follow the row: level 2 holds the one timed-out run.
    QCOMPARE(f.list("List3").value(0), QStringLiteral("レベル2 今まで1回  （★=1）"));
    QCOMPARE(f.list("List3").value(1 + 100), stars(1000, 1));
    QCOMPARE(f.list("List4").value(1 + 30), stars(300, 1));
    f.key(Qt::Key_Down);
    f.key(Qt::Key_Down);
    QCOMPARE(f.editor()->grid().row(), 3);
    for (int i = 0; i < 12; ++i) {
        f.key(Qt::Key_Right);
    }
    QCOMPARE(f.editor()->grid().column(), 12);
    QCOMPARE(f.box()->text(), QStringLiteral("3"));
    QVERIFY(f.boxOver(3, 12));
    QCOMPARE(f.help(), QString());
    f.key(Qt::Key_Escape);
    f.key(Qt::Key_Return);
    QCOMPARE(f.editor()->grid().row(), 3);
    QVERIFY(!f.editor()->grid().changed());
    QCOMPARE(f.host.focusWidget(), f.box());
}

void CriteriaEditorTest::typingAppendsAndMarksTheCell() {
    EditorFixture f;
    QVERIFY(!f.yellow(1, 1));
    f.box()->setCursorPosition(0); // wherever the caret was, a key puts it at the end
    f.type(QStringLiteral("5"));
    QCOMPARE(f.cell(1, 1), QStringLiteral("605"));
    QCOMPARE(f.box()->text(), QStringLiteral("605"));
    QVERIFY(f.yellow(1, 1));
    QVERIFY(f.editor()->grid().changed());
    f.key(Qt::Key_Backspace);
    QCOMPARE(f.cell(1, 1), QStringLiteral("60"));
    QVERIFY(f.yellow(1, 1)); // the mark stays until the grid is loaded again
    f.key(Qt::Key_Right);
    QVERIFY(!f.yellow(1, 2));
    QCOMPARE(f.cell(1, 2), QStringLiteral("90"));
}

void CriteriaEditorTest::spaceClearsAndEqualTextMarksNothing() {
    EditorFixture f;
    // Level 2's overuseRuns is empty: clearing it changes nothing.
    f.key(Qt::Key_Down);
    for (int i = 0; i < 5; ++i) {
        f.key(Qt::Key_Right);
    }
    QCOMPARE(f.editor()->grid().column(), 6);
    f.key(Qt::Key_Space);
    QVERIFY(!f.yellow(2, 6));
    QVERIFY(!f.editor()->grid().changed());
    f.key(Qt::Key_Left);
    f.key(Qt::Key_Space);
    QCOMPARE(f.cell(2, 5), QString());
    QCOMPARE(f.box()->text(), QString());
    QVERIFY(f.yellow(2, 5));
    QVERIFY(f.editor()->grid().changed());
    f.type(QStringLiteral("2.5"));
    QCOMPARE(f.cell(2, 5), QStringLiteral("2.5"));
}

void CriteriaEditorTest::shiftDownCopiesDownTheColumn() {
    EditorFixture f;
    for (int i = 0; i < 3; ++i) {
        f.key(Qt::Key_Right);
    }
    QCOMPARE(f.box()->text(), QStringLiteral("5"));
    f.key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(f.cell(2, 4), QStringLiteral("5"));
    QVERIFY(f.yellow(2, 4));
    QVERIFY(!f.yellow(1, 4));
    QCOMPARE(f.cell(3, 4), QStringLiteral("10"));
    f.key(Qt::Key_Down, Qt::ShiftModifier);
    f.key(Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(f.cell(3, 4), QStringLiteral("5"));
    QCOMPARE(f.cell(3, 3), QStringLiteral("120"));
    QVERIFY(f.boxOver(1, 4)); // the current cell stays
    QVERIFY(f.editor()->grid().changed());
    QVERIFY(f.table()->item(3, 4)->isSelected());
    f.saveGrab(QStringLiteral("criteria-editor-copied.png"));
    f.key(Qt::Key_Down);
    QCOMPARE(f.editor()->grid().row(), 2);
    QVERIFY(!f.table()->item(3, 4)->isSelected());
}

void CriteriaEditorTest::clickingACellMakesItCurrent() {
    EditorFixture f(someResults());
    f.clickCell(2, 3);
    QCOMPARE(f.box()->text(), QStringLiteral("9999"));
    QVERIFY(f.boxOver(2, 3));
    QVERIFY(f.help().startsWith(QStringLiteral("クリアポイント\n")));
    QCOMPARE(f.list("List3").value(0), QStringLiteral("レベル2 今まで1回  （★=1）"));
    f.type(QStringLiteral("0"));
    QCOMPARE(f.cell(2, 3), QStringLiteral("99990"));
    f.clickCell(0, 5); // the headings are not cells to edit
    QVERIFY(f.boxOver(2, 3));
}

void CriteriaEditorTest::savingWritesTheFileAndReloadsTheCriteria() {
    EditorFixture f;
    f.key(Qt::Key_Space);
    f.type(QStringLiteral("55"));
    f.key(Qt::Key_Down);
    f.key(Qt::Key_Down);
    for (int i = 0; i < 4; ++i) {
        f.key(Qt::Key_Right);
    }
    f.key(Qt::Key_Space);
    f.type(QStringLiteral("2"));
    f.click("Command3");
    QCOMPARE(f.criteriaBytes(),
             cp932(header + QStringLiteral("55,90,100,5,1.5,20,0,7,1,,,\r\n") + level2 +
                   QStringLiteral("30,40,120,10,2,0,500,30,7,1,2,3\r\n")));
    QCOMPARE(f.state.criteria[1].targetSeconds, 55);
    QCOMPARE(f.state.criteria[3].pointFactor, 2.0f);
    QVERIFY(!f.editor()->grid().changed());
    QVERIFY(f.yellow(1, 1));
    QCOMPARE(f.host.focusWidget(), f.box());
    QVERIFY(f.env.messages.empty());
    f.click("Command4");
    QVERIFY(f.env.messages.empty());
    QCOMPARE(f.levelMenus, 1);
}

void CriteriaEditorTest::discardingReloadsTheGridButKeepsTheFlag() {
    EditorFixture f;
    f.key(Qt::Key_Right);
    f.key(Qt::Key_Down);
    f.type(QStringLiteral("9"));
    QCOMPARE(f.cell(2, 2), QStringLiteral("709"));
    f.click("Command2");
    QCOMPARE(f.cell(2, 2), QStringLiteral("70"));
    QVERIFY(!f.yellow(2, 2));
    QVERIFY(f.boxOver(1, 1));
    QCOMPARE(f.box()->text(), QStringLiteral("60"));
    QCOMPARE(f.host.focusWidget(), f.box());
    // Nothing differs any more, but the flag was set by typing: leaving still asks.
    f.env.answers.push_back(MessageAnswer::No);
    f.click("Command4");
    QCOMPARE(f.env.messages.size(), std::size_t{1});
    QCOMPARE(f.criteriaBytes(), cp932(header + level1 + level2 + level3));
    QCOMPARE(f.levelMenus, 1);
}

void CriteriaEditorTest::leavingAsksOnlyAfterChanges() {
    {
        EditorFixture f;
        f.key(Qt::Key_Down);
        f.key(Qt::Key_Right);
        f.click("Command4");
        QVERIFY(f.env.messages.empty());
        QCOMPARE(f.levelMenus, 1);
        QVERIFY(f.find<QLabel>(QStringLiteral("waitPanel"))->isVisible());
        f.click("Command4"); // a second press while leaving does nothing more
        QCOMPARE(f.levelMenus, 1);
    }
    {
        EditorFixture f;
        f.type(QStringLiteral("0"));
        f.env.answers.push_back(MessageAnswer::Yes);
        f.click("Command4");
        QCOMPARE(f.env.messages.size(), std::size_t{1});
        QCOMPARE(f.env.messages[0].title, QStringLiteral("注意"));
        QCOMPARE(f.env.messages[0].text,
                 QStringLiteral("データが変更されています。記録しますか？"));
        QCOMPARE(f.env.messages[0].buttons, MessageButtons::YesNo);
        QCOMPARE(
            f.criteriaBytes(),
            cp932(header + QStringLiteral("600,90,100,5,1.5,20,0,7,1,,,\r\n") + level2 + level3));
        QCOMPARE(f.state.criteria[1].targetSeconds, 600);
        QCOMPARE(f.levelMenus, 1);
    }
    {
        EditorFixture f;
        f.type(QStringLiteral("0"));
        f.env.answers.push_back(MessageAnswer::No);
        f.click("Command4");
        QCOMPARE(f.criteriaBytes(), cp932(header + level1 + level2 + level3));
        QCOMPARE(f.state.criteria[1].targetSeconds, 60);
        QCOMPARE(f.levelMenus, 1);
    }
}

void CriteriaEditorTest::aRefusedSaveKeepsTheGridAndTheTeacherHere() {
    EditorFixture f;
    f.type(QStringLiteral(",5"));
    QCOMPARE(f.cell(1, 1), QStringLiteral("60,5"));
    f.click("Command3");
    QCOMPARE(f.env.messages.size(), std::size_t{1});
    QVERIFY(f.env.messages[0].text.contains(f.criteriaPath()));
    QCOMPARE(f.criteriaBytes(), cp932(header + level1 + level2 + level3));
    QCOMPARE(f.cell(1, 1), QStringLiteral("60,5"));
    QVERIFY(f.editor()->grid().changed());
    QCOMPARE(f.env.endedWith, -1);
    // Leaving with Yes: the save is refused again and the editor stays.
    f.env.answers.push_back(MessageAnswer::Yes);
    f.click("Command4");
    QCOMPARE(f.env.messages.size(), std::size_t{3});
    QCOMPARE(f.levelMenus, 0);
    QCOMPARE(f.cell(1, 1), QStringLiteral("60,5"));
    QVERIFY(!f.find<QLabel>(QStringLiteral("waitPanel"))->isVisible());
    // A value too large for its field would stop the reload: refused before writing.
    f.key(Qt::Key_Backspace);
    f.key(Qt::Key_Backspace);
    f.type(QStringLiteral("99999999999"));
    f.click("Command3");
    QCOMPARE(f.env.messages.size(), std::size_t{4});
    QCOMPARE(f.criteriaBytes(), cp932(header + level1 + level2 + level3));
    QCOMPARE(f.env.endedWith, -1);
}

void CriteriaEditorTest::distributionsFollowTheResultsFile() {
    {
        EditorFixture f; // no results at all
        QCOMPARE(f.list("List3").value(0), QStringLiteral("レベル1 今まで0回  （★=1）"));
        QCOMPARE(f.list("List3").size(), 102);
        QCOMPARE(f.list("List3").value(101), stars(1000, 0));
        QCOMPARE(f.list("List4").size(), 32);
        QCOMPARE(f.list("List4").value(31), stars(300, 0));
    }
    std::vector<ResultRecord> results;
    for (int pupil = 1; pupil <= 25; ++pupil) {
        results.push_back(makeRecord(46000, 36000, pupil, 1, 44));
    }
    for (int pupil = 1; pupil <= 5; ++pupil) {
        results.push_back(makeRecord(46000, 36000, pupil, 1, 63));
    }
    EditorFixture f(results);
    QCOMPARE(f.list("List3").value(0), QStringLiteral("レベル1 今まで30回  （★=2）"));
    QCOMPARE(f.list("List3").value(1 + 4), stars(40, 13));
    QCOMPARE(f.list("List3").value(1 + 6), stars(60, 3));
    // A run recorded by another PC shows at the next key.
    QByteArray more = fileBytes(resultsFilePath(f.state));
    more += encodeAll({makeRecord(46001, 36000, 30, 1, 12)});
    f.inst.writeBytes(resultsFilePath(f.state), more);
    f.key(Qt::Key_Return);
    QCOMPARE(f.list("List3").value(0), QStringLiteral("レベル1 今まで31回  （★=2）"));
    QCOMPARE(f.list("List3").value(1 + 1), stars(10, 1));
}

void CriteriaEditorTest::anUnreadableResultsFileIsReportedOnce() {
    EditorFixture f(someResults());
    QFile::remove(resultsFilePath(f.state));
    QDir().mkpath(resultsFilePath(f.state)); // a folder where the file should be
    f.key(Qt::Key_Return);
    f.key(Qt::Key_Down);
    QCOMPARE(f.env.messages.size(), std::size_t{1});
    QVERIFY(f.env.messages[0].text.contains(resultsFilePath(f.state)));
    QCOMPARE(f.env.endedWith, -1);
    // The lists keep the last figures read, for the level of the current row.
    QCOMPARE(f.list("List3").value(0), QStringLiteral("レベル2 今まで1回  （★=1）"));
    QCOMPARE(f.box()->text(), QStringLiteral("45"));
}

void CriteriaEditorTest::hidingTheDistributionPanel() {
    EditorFixture f(someResults());
    auto* panel = f.find<QWidget>(QStringLiteral("Picture1"));
    QVERIFY(panel->isVisible());
    QTest::mouseClick(f.find<QRadioButton>(QStringLiteral("Option1(1)")), Qt::LeftButton);
    QVERIFY(!panel->isVisible());
    QCOMPARE(f.host.focusWidget(), f.box());
    f.key(Qt::Key_Down);
    QTest::mouseClick(f.find<QRadioButton>(QStringLiteral("Option1(0)")), Qt::LeftButton);
    QVERIFY(panel->isVisible());
    QCOMPARE(f.list("List3").value(0), QStringLiteral("レベル2 今まで1回  （★=1）"));
}

void CriteriaEditorTest::theTeacherPanelOpensItAndItsBackButtonTheMenu() {
    TestInstallation inst;
    AppState& s = inst.state;
    ScreenHost host;
    s.host = &host;
    wireScreens(s);
    s.profile.programTitle = QStringLiteral("ミルネア");
    s.profile.levelCount = 3;
    s.profile.finalLevel = 3;
    s.profile.allLevelsOpen = 1;
    for (int i = 1; i <= 3; ++i) {
        s.profile.levelNames[i] = QStringLiteral("レベル%1").arg(i);
        s.profile.levelTimed[i] = 1;
    }
    s.pupil.pupilIndex = 1;
    s.pupil.pupilName = QStringLiteral("先生");
    s.pupil.gradeFilter = QStringLiteral("全学年");
    inst.copyFixture(QStringLiteral("config-cp932.txt"),
                     inst.dataRoot() + QStringLiteral("共通データ.txt"));
    const QString keyFolder = QDir::toNativeSeparators(inst.root() + QStringLiteral("/key"));
    inst.writeBytes(keyFolder + QStringLiteral("/keypass.txt"), "x");
    inst.writeBytes(inst.drillDataFolder() + QStringLiteral("タイム回数データ.txt"),
                    cp932(header + level1 + level2 + level3));
    QVERIFY(loadCriteria(s));
    host.show();
    s.routes.openLevelMenu();
    QVERIFY(qobject_cast<seisekitime1*>(host.current()));

    QTest::mouseClick(host.findChild<QPushButton*>(QStringLiteral("Command8")), Qt::LeftButton);
    auto* folder = host.findChild<QLineEdit*>(QStringLiteral("Text2"));
    QVERIFY(folder);
    folder->setText(keyFolder);
    QTest::mouseClick(host.findChild<QPushButton*>(QStringLiteral("Command10_1")), Qt::LeftButton);
    auto* editor = qobject_cast<CriteriaEditor*>(host.current());
    QVERIFY(editor);
    QCOMPARE(host.windowTitle(), QStringLiteral("合格タイムデータ変更"));
    QCOMPARE(editor->grid().loadedRows(), 3);
    QCOMPARE(inst.env.messages.size(), std::size_t{0});

    QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("Command4")), Qt::LeftButton);
    QVERIFY(qobject_cast<seisekitime1*>(host.current()));
    QVERIFY(inst.env.messages.empty());
}

QTEST_MAIN(CriteriaEditorTest)
#include "test_criteria_editor.moc"
