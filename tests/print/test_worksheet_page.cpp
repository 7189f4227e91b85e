// Fitting a cell's text: the lines it breaks into at the cell's printed width and the size
// at which the lines and one more fit the row.

#include "app/JapaneseFonts.h"
#include "app/PrintJob.h"
#include "print/PageMapping.h"
#include "print/TextMeasure.h"
#include "print/WorksheetPage.h"

#include <QtTest>

namespace {

// A4 portrait with 15 rows: each row is 0.06 of the paper's height.
const QSizeF paper = a4Twips(QPageLayout::Portrait);
const double rowHeight = 0.06 * paper.height();

double cellWidth(double left, double right) {
    return 0.95 * (right - left) * paper.width();
}

} // namespace

class WorksheetPageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { mapJapaneseFonts(); }

    void aOneLineTextEndsAtSizeTwenty() {
        TextMeasure measure(worksheetFontFamily());
        for (const QString& text : {QStringLiteral("猿も"), QString(), QStringLiteral("①")}) {
            const CellFit fit = fitCellText(text, cellWidth(0.05, 0.6), rowHeight, measure);
            QCOMPARE(fit.size, 20);
            QCOMPARE(fit.lines, QStringList{text});
        }
        // Landscape rows are lower: (1 + 1) × 25 × s must stay below 0.06 × 11906 twips.
        const QSizeF wide = a4Twips(QPageLayout::Landscape);
        QCOMPARE(
            fitCellText(QStringLiteral("猿も"), 0.5 * wide.width(), 0.06 * wide.height(), measure)
                .size,
            14);
    }

    void aLongTextInANarrowColumnWrapsAndShrinks() {
        TextMeasure measure(worksheetFontFamily());
        // Ten full-width characters, each as wide as the size, in the number column
        // (0.0475 of the width, 565 twips): at size 9 three go on a line, four lines and
        // one more are 1125 twips, too high; at size 8 still three a line and 5 × 200
        // twips fit the 1010 of the row.
        const QString text = QStringLiteral("あいうえおかきくけこ");
        const CellFit fit = fitCellText(text, cellWidth(0, 0.05), rowHeight, measure);
        QCOMPARE(fit.size, 8);
        QCOMPARE(fit.lines, (QStringList{"あいう", "えおか", "きくけ", "こ"}));
        QVERIFY((fit.lines.size() + 1) * 25.0 * fit.size < rowHeight);

        // Without room even at size 1 the text is set at size 1.
        const CellFit tiny =
            fitCellText(QString(3000, QChar(u'あ')), cellWidth(0, 0.05), rowHeight, measure);
        QCOMPARE(tiny.size, 1);
        QVERIFY(tiny.lines.size() > 30);
        QCOMPARE(tiny.lines.join(QString()).size(), 3000);
    }

    void linesBreakAtWordsAndBeforeClosingMarks() {
        TextMeasure measure(worksheetFontFamily());
        // At 10 points a full-width character is 200 twips, a half-width one 100.
        auto lines = [&](const QString& text, double width) {
            return breakLines(text, measure.units(text), width, 10);
        };
        QCOMPARE(lines(QStringLiteral("あいうえお"), 600), (QStringList{"あいう", "えお"}));
        // A word moves whole to the next line; blanks may hang at the edge.
        QCOMPARE(lines(QStringLiteral("ab cdef"), 500), (QStringList{"ab ", "cdef"}));
        QCOMPARE(lines(QStringLiteral("ab  cd"), 300), (QStringList{"ab  ", "cd"}));
        // "、" does not begin a line: it takes the character before it along.
        QCOMPARE(lines(QStringLiteral("あいう、え"), 600), (QStringList{"あい", "う、え"}));
        // A word longer than the line is cut where the line is full.
        QCOMPARE(lines(QStringLiteral("abcdefgh"), 300), (QStringList{"abc", "def", "gh"}));
        // A character wider than the cell still goes on a line of its own.
        QCOMPARE(lines(QStringLiteral("あい"), 50), (QStringList{"あ", "い"}));
        QCOMPARE(lines(QString(), 50), QStringList{QString()});
    }

    void thePrinterAndPreviewMappingsFollowThePage() {
        const PageMapping preview = previewMapping(paper, 0.63, 1.0 / 15);
        // W0 = 0.63 × PW; x 0 lies 0.5 % of W0 to the right.
        QCOMPARE(preview.map(0, 0).x(), 0.63 * paper.width() * 0.005 / 15);
        QVERIFY(qAbs(preview.map(10000, 10000).y() - 0.63 * paper.height() / 15) < 1e-9);
        QVERIFY(qAbs(preview.fontPixels(20) - 0.9 * 0.63 * 20 * 20 / 15) < 1e-9);
        QCOMPARE(preview.penWidth, 1.0);
        const PageMapping printer = printerMapping(paper, 1440);
        QVERIFY(qAbs(printer.map(10000, 0).x() - 0.89 * 1.06 * paper.width() * 1.005) < 1e-6);
        QVERIFY(qAbs(printer.map(0, 9900).y() - 0.89 * 1.05 * paper.height() * 0.99) < 1e-6);
        QVERIFY(qAbs(printer.fontPixels(20) - 0.89 * 20 * 20) < 1e-9);

        // A printer that cannot print within 5 mm of the edges gets the page within that:
        // the page's left edge 0.47 % of the printable width into it, the top at its top.
        QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                           QPageLayout::Millimeter, QMarginsF(5, 5, 5, 5));
        const QRectF printable = printableTwips(layout);
        const double mm5 = 5 / 25.4 * 1440;
        QVERIFY(qAbs(printable.left() - mm5) < 1 && qAbs(printable.top() - mm5) < 1);
        QVERIFY(qAbs(printable.width() - (paper.width() - 2 * mm5)) < 1);
        const PageMapping inset = printerMapping(printable, 1440);
        QVERIFY(qAbs(inset.map(0, 0).x() - (mm5 + 0.89 * 1.06 * printable.width() * 0.005)) < 1);
        QVERIFY(qAbs(inset.map(0, 0).y() - mm5) < 1);
        // A PDF file prints on the whole paper.
        QCOMPARE(printableTwips(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                            QMarginsF(), QPageLayout::Millimeter))
                     .topLeft(),
                 QPointF(0, 0));
    }
};

QTEST_MAIN(WorksheetPageTest)
#include "test_worksheet_page.moc"
