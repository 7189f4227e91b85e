// The criteria editor's grid without its screen: loading the file as texts, moving the
// current cell, the marks and the changed flag, the Shift + Down copy and saving.

#include "RecordsTestSupport.h"
#include "records/CriteriaFile.h"
#include "records/CriteriaGrid.h"
#include "support/TestInstallation.h"
#include "text/Cp932.h"

#include <QDir>
#include <QTest>

namespace {

QString criteriaPath(const TestInstallation& inst) {
    return inst.drillDataFolder() + QStringLiteral("タイム回数データ.txt");
}

QByteArray cp932(const QString& text) {
    return encodeCp932(text).value_or(QByteArray());
}

const QString header =
    QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\r\n");

QString threeLevels() {
    return header + QStringLiteral("60,90,100,5,1.5,20,0,7,1,,,\r\n"
                                   "45,70,9999,3,1,,,14,0,,,\r\n"
                                   "30,40,120,10,1.3,0,500,30,7,1,2,3\r\n");
}

struct GridFixture {
    TestInstallation inst;
    CriteriaGrid grid;

    explicit GridFixture(const QString& file = threeLevels()) {
        inst.writeBytes(criteriaPath(inst), cp932(file));
        if (!loadCriteria(inst.state) || !grid.load(inst.state)) {
            qFatal("the criteria file did not load");
        }
    }
    QByteArray fileNow() const { return fileBytes(criteriaPath(inst)); }
};

} // namespace

class CriteriaGridTest : public QObject {
    Q_OBJECT

private slots:
    void loadsHeadingsLevelsAndTexts();
    void loadsTheSampleFileAsRead();
    void refusedFilesKeepTheGrid();
    void movesStayInsideTheLevelCells();
    void typingMarksOnlyRealChanges();
    void shiftDownCopiesIntoTheGrowingSelection();
    void savesByteExactAndReloadsTheTable();
    void saveRefusesCellsThatCannotBeReadBack();
    void reloadDropsEditsAndMarksButKeepsTheFlag();
    void columnHelpTexts();
};

void CriteriaGridTest::loadsHeadingsLevelsAndTexts() {
    GridFixture f;
    const CriteriaGrid& g = f.grid;
    QCOMPARE(g.rowCount(), 4);
    QCOMPARE(g.loadedRows(), 3);
    QCOMPARE(g.text(0, 0), QStringLiteral("レベル"));
    QCOMPARE(g.text(0, 1), QStringLiteral("目標Time"));
    QCOMPARE(g.text(0, 9), QStringLiteral("禁期間"));
    QCOMPARE(g.text(0, 10), QString());
    QCOMPARE(g.text(2, 0), QStringLiteral("2"));
    QCOMPARE(g.text(1, 5), QStringLiteral("1.5"));
    QCOMPARE(g.text(2, 6), QString());
    QCOMPARE(g.text(3, 12), QStringLiteral("3"));
    QCOMPARE(g.row(), 1);
    QCOMPARE(g.column(), 1);
    QVERIFY(!g.changed());
    QVERIFY(!g.marked(1, 1));
}

void CriteriaGridTest::loadsTheSampleFileAsRead() {
    TestInstallation inst;
    inst.copyFixture(QStringLiteral("criteria-cp932.txt"), criteriaPath(inst));
    CriteriaGrid grid;
    QVERIFY(grid.load(inst.state));
    QCOMPARE(grid.loadedRows(), 3);
    QCOMPARE(grid.text(3, 1), QStringLiteral("30")); // " 30 " loses its blanks, as read
    QCOMPARE(grid.text(2, 3), QStringLiteral("9999"));
}

void CriteriaGridTest::refusedFilesKeepTheGrid() {
    GridFixture f;
    f.grid.setCurrent(2, 4);
    f.grid.editBoxToCell(QStringLiteral("8"));
    // A file that ends inside a level line's fields.
    f.inst.writeBytes(criteriaPath(f.inst), cp932(header + QStringLiteral("60,90,100\r\n")));
    QVERIFY(!f.grid.load(f.inst.state));
    QCOMPARE(f.inst.env.messages.size(), std::size_t{1});
    QVERIFY(f.inst.env.messages[0].text.contains(criteriaPath(f.inst)));
    QCOMPARE(f.inst.env.endedWith, -1);
    QCOMPARE(f.grid.rowCount(), 4);
    QCOMPARE(f.grid.text(2, 4), QStringLiteral("8"));
    QVERIFY(f.grid.marked(2, 4));
    QCOMPARE(f.grid.row(), 2);
    // A missing file.
    QFile::remove(criteriaPath(f.inst));
    QVERIFY(!f.grid.load(f.inst.state));
    QCOMPARE(f.inst.env.messages.size(), std::size_t{2});
    QVERIFY(f.inst.env.messages[1].text.contains(QStringLiteral("タイム回数データ.txt")));
    QCOMPARE(f.grid.text(1, 1), QStringLiteral("60"));
}

void CriteriaGridTest::movesStayInsideTheLevelCells() {
    GridFixture f;
    CriteriaGrid& g = f.grid;
    g.moveUp();
    g.moveLeft();
    QCOMPARE(g.row(), 1);
    QCOMPARE(g.column(), 1);
    g.moveDown();
    g.moveDown();
    g.moveDown();
    QCOMPARE(g.row(), 3);
    for (int i = 0; i < 14; ++i) {
        g.moveRight();
    }
    QCOMPARE(g.column(), 12);
    g.setCurrent(0, 0); // the heading row and the level column are never current
    QCOMPARE(g.row(), 1);
    QCOMPARE(g.column(), 1);

    // A file with only its heading line has no cell to edit.
    GridFixture empty(header);
    QCOMPARE(empty.grid.rowCount(), 1);
    QVERIFY(!empty.grid.hasCurrentCell());
    empty.grid.editBoxToCell(QStringLiteral("5"));
    empty.grid.copyDown(QStringLiteral("5"));
    QVERIFY(!empty.grid.changed());
}

void CriteriaGridTest::typingMarksOnlyRealChanges() {
    GridFixture f;
    CriteriaGrid& g = f.grid;
    g.setCurrent(1, 2);
    g.editBoxToCell(QStringLiteral("90"));
    QVERIFY(!g.changed());
    QVERIFY(!g.marked(1, 2));
    g.editBoxToCell(QStringLiteral("905"));
    QVERIFY(g.changed());
    QVERIFY(g.marked(1, 2));
    QCOMPARE(g.text(1, 2), QStringLiteral("905"));
    QVERIFY(!g.marked(1, 1));
    g.editBoxToCell(QStringLiteral("90")); // typed back: the mark stays
    QVERIFY(g.marked(1, 2));
    QVERIFY(g.changed());
}

void CriteriaGridTest::shiftDownCopiesIntoTheGrowingSelection() {
    GridFixture f;
    CriteriaGrid& g = f.grid;
    g.setCurrent(1, 4);
    g.copyDown(QStringLiteral("5"));
    QCOMPARE(g.selectionEnd(), 2);
    QCOMPARE(g.text(2, 4), QStringLiteral("5"));
    QVERIFY(g.marked(2, 4));
    QVERIFY(!g.marked(1, 4)); // it already held 5
    QCOMPARE(g.row(), 1);
    g.copyDown(QStringLiteral("5"));
    g.copyDown(QStringLiteral("5")); // not beyond the last row
    QCOMPARE(g.selectionEnd(), 3);
    QCOMPARE(g.text(3, 4), QStringLiteral("5"));
    QCOMPARE(g.text(3, 3), QStringLiteral("120"));
    QVERIFY(g.changed());
    g.moveRight(); // a move ends the selection
    QCOMPARE(g.selectionEnd(), 1);

    GridFixture same;
    same.grid.setCurrent(1, 10);
    same.grid.copyDown(QString()); // both cells are already empty
    QCOMPARE(same.grid.selectionEnd(), 2);
    QVERIFY(!same.grid.changed());
}

void CriteriaGridTest::savesByteExactAndReloadsTheTable() {
    GridFixture f;
    CriteriaGrid& g = f.grid;
    g.setCurrent(2, 1);
    g.editBoxToCell(QStringLiteral("50"));
    g.setCurrent(3, 5);
    g.editBoxToCell(QStringLiteral("2.25"));
    QVERIFY(g.save(f.inst.state));
    QVERIFY(!g.changed());
    QVERIFY(g.marked(2, 1)); // the marks stay until the grid is loaded again
    QCOMPARE(f.fileNow(), cp932(header + QStringLiteral("60,90,100,5,1.5,20,0,7,1,,,\r\n"
                                                        "50,70,9999,3,1,,,14,0,,,\r\n"
                                                        "30,40,120,10,2.25,0,500,30,7,1,2,3\r\n")));
    QCOMPARE(f.inst.state.criteria[2].targetSeconds, 50);
    QCOMPARE(f.inst.state.criteria[3].pointFactor, 2.25f);
    QCOMPARE(f.inst.state.criteria[3].spare3, 3.0);

    // Saved unchanged, the file comes back as it was.
    GridFixture again;
    QVERIFY(again.grid.save(again.inst.state));
    QCOMPARE(again.fileNow(), cp932(threeLevels()));
}

void CriteriaGridTest::saveRefusesCellsThatCannotBeReadBack() {
    const QString cells[] = {QStringLiteral("1,5"), QStringLiteral("99999999999"),
                             QStringLiteral("\"3")};
    for (const QString& cell : cells) {
        GridFixture f;
        f.grid.setCurrent(1, cell == cells[1] ? 4 : 1);
        f.grid.editBoxToCell(cell);
        QVERIFY2(!f.grid.save(f.inst.state), qPrintable(cell));
        QCOMPARE(f.fileNow(), cp932(threeLevels()));
        QCOMPARE(f.inst.env.messages.size(), std::size_t{1});
        QVERIFY(f.inst.env.messages[0].text.contains(criteriaPath(f.inst)));
        QCOMPARE(f.inst.env.endedWith, -1);
        QVERIFY(f.grid.changed());
        QCOMPARE(f.inst.state.criteria[1].targetSeconds, 60);
    }
}

void CriteriaGridTest::reloadDropsEditsAndMarksButKeepsTheFlag() {
    GridFixture f;
    CriteriaGrid& g = f.grid;
    g.setCurrent(3, 7);
    g.editBoxToCell(QStringLiteral("1"));
    QVERIFY(g.load(f.inst.state));
    QCOMPARE(g.text(3, 7), QStringLiteral("500"));
    QVERIFY(!g.marked(3, 7));
    QVERIFY(g.changed());
    QCOMPARE(g.row(), 1);
    QCOMPARE(g.column(), 1);
}

void CriteriaGridTest::columnHelpTexts() {
    QCOMPARE(CriteriaGrid::columnHelp(2),
             QStringLiteral("合格最低ラインタイム\n  合格基準タイムの２～５割増しにしてください "
                            "この５倍が時間切れになります"));
    QCOMPARE(CriteriaGrid::columnHelp(5).split(QLatin1Char('\n')).size(), 3);
    QCOMPARE(CriteriaGrid::columnHelp(6).split(QLatin1Char('\n')).last(), QStringLiteral("  "));
    QCOMPARE(CriteriaGrid::columnHelp(7).split(QLatin1Char('\n')).last(), QStringLiteral(" "));
    QVERIFY(CriteriaGrid::columnHelp(0).isEmpty());
    QVERIFY(CriteriaGrid::columnHelp(10).isEmpty());
    QVERIFY(CriteriaGrid::columnHelp(12).isEmpty());
}

QTEST_GUILESS_MAIN(CriteriaGridTest)
#include "test_criteria_grid.moc"
