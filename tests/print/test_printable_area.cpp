// Every printed page lies inside what the printer prints on: the graph sheet and the
// worksheet are printed on a default printer whose page has margins (a PDF file here, with
// the margins of a laser printer) and the pages are read back as pixels.
#include "app/JapaneseFonts.h"
#include "print/PrintTestSupport.h"
#include "print/frmPrint.h"
#include "records/RecordsTestSupport.h"
#include "support/TestInstallation.h"
#include "views/GraphSheet.h"

#include <QPushButton>
#include <QTest>

namespace {

constexpr int dotsPerInch = 72;
constexpr int pupil = 7;

// The graph sheet of one pupil with runs at three levels, through the program's print path.
QString printSheetOfThreeLevels(TestInstallation& t) {
    AppState& s = t.state;
    s.profile.programTitle = QStringLiteral("ミルネア");
    s.profile.levelCount = 3;
    s.pupil.rosterNames[pupil] = QStringLiteral("山田太郎");
    std::vector<ResultRecord> records;
    const int today = todayNumber(t.env);
    for (int level = 1; level <= 3; ++level) {
        s.profile.levelNames[std::size_t(level)] = QStringLiteral("レベル%1").arg(level);
        for (int i = 0; i < 12; ++i) {
            records.push_back(makeRecord(today - 12 + i, 36000, pupil, level, 80 - 3 * i));
        }
    }
    t.writeBytes(resultsFilePath(s), encodeAll(records));
    const auto figures = [](int, int) {
        return LevelFigures{QStringLiteral("  1"), QStringLiteral("  2"), 30, 2, 50};
    };
    if (!printGraphSheet(s, nullptr, {pupil, {1, 2, 3}}, figures, msGothic)) {
        return QString();
    }
    return t.env.printed.back();
}

// A worksheet of fifteen rows and three columns, printed with the layout form's "印刷".
QString printWorksheet(TestInstallation& t) {
    WorksheetTable& table = t.state.worksheet;
    table.printRows = 15;
    table.printColumns = 3;
    table.columnLeft[1] = 0;
    table.columnLeft[2] = 0.1;
    table.columnLeft[3] = 0.55;
    table.columnLeft[4] = 1;
    for (int row = 0; row <= 15; ++row) {
        table.setText(1, row, QString::number(row));
        table.setText(2, row, QStringLiteral("猿も木から落ちる"));
        table.setText(3, row, QStringLiteral("二兎を追う者は一兎をも得ず"));
    }
    table.options.layoutKind = 2;
    table.options.portraitChoice = 1;
    table.options.printerOption = 1;
    frmPrint form(t.state);
    form.show();
    QTest::mouseClick(form.Command9, Qt::LeftButton);
    return t.env.printed.empty() ? QString() : t.env.printed.back();
}

} // namespace

class PrintableAreaTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { mapJapaneseFonts(); }
    void pagesStayInsideThePrintersMargins_data();
    void pagesStayInsideThePrintersMargins();
};

void PrintableAreaTest::pagesStayInsideThePrintersMargins_data() {
    QTest::addColumn<bool>("graph");
    QTest::addColumn<bool>("fullPage");
    QTest::addColumn<QMarginsF>("margins"); // millimetres: left, top, right, bottom
    const QMarginsF laser(20, 15, 10, 25);
    QTest::newRow("graph sheet, origin at the paper's corner") << true << true << laser;
    QTest::newRow("graph sheet, origin at the margins") << true << false << laser;
    QTest::newRow("worksheet, origin at the paper's corner") << false << true << laser;
    QTest::newRow("worksheet, origin at the margins") << false << false << laser;
}

void PrintableAreaTest::pagesStayInsideThePrintersMargins() {
    QFETCH(bool, graph);
    QFETCH(bool, fullPage);
    QFETCH(QMarginsF, margins);
    TestInstallation t;
    t.env.printFolder = printtest::artefact(QStringLiteral("printable-area"));
    t.env.printerMargins = margins;
    t.env.printerFullPage = fullPage;
    const QString pdf = graph ? printSheetOfThreeLevels(t) : printWorksheet(t);
    QVERIFY(!pdf.isEmpty());
    const QImage page = printtest::pdfPage(pdf, dotsPerInch);
    QVERIFY(!page.isNull());

    // The printable area in the rendered page's pixels, and where ink was found.
    const double perMm = dotsPerInch / 25.4;
    const QRectF printable(margins.left() * perMm, margins.top() * perMm,
                           page.width() - (margins.left() + margins.right()) * perMm,
                           page.height() - (margins.top() + margins.bottom()) * perMm);
    const QRect inside = printable.toAlignedRect();
    QRect ink;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) < 250) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    QVERIFY2(inside.contains(ink), qPrintable(QStringLiteral("ink at %1,%2 %3x%4")
                                                  .arg(ink.x())
                                                  .arg(ink.y())
                                                  .arg(ink.width())
                                                  .arg(ink.height())));
    // The page fills what the printer prints on: it starts at the area's left edge and
    // reaches most of its width.
    QVERIFY(ink.left() - printable.left() < 0.02 * printable.width());
    QVERIFY(ink.right() - printable.left() > 0.9 * printable.width());
    QVERIFY(ink.top() - printable.top() < 0.05 * printable.height());
}

QTEST_MAIN(PrintableAreaTest)
#include "test_printable_area.moc"
