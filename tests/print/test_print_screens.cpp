// The worksheet screen and the print layout form driven with real clicks: the teacher's
// "印刷" buttons open the worksheet, every click rebuilds it, the preview shows the ruled
// table and "印刷" prints the same page (into a PDF read back with poppler-utils).

#include "../roster/RosterTestFiles.h"
#include "PrintTestSupport.h"
#include "app/JapaneseFonts.h"
#include "print/FormPrint0.h"
#include "print/PageMapping.h"
#include "print/frmPrint.h"
#include "roster/StudentSelection.h"
#include "support/MenuSchool.h"
#include "views/LevelMenu.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace printtest;

namespace {

// Makes the window the active one, as a click on it would; the offscreen platform does
// not pass window activation on by itself.
void activate(QWidget* window) {
    QApplication::setActiveWindow(window);
    QVERIFY(window->isActiveWindow());
}

// A school with a few pupils and the teacher, a worksheet table beside the program and
// the one top-level window.
struct School : MenuSchool {
    School() : MenuSchool(1, levelNameWithWideDigit) {
        AppState& s = t.state;
        s.profile.printEnabled = 1;
        s.config.schoolYearStartMonth = 4;
        s.pupil.pupilIndex = 4999;
        s.pupil.pupilName = QStringLiteral("あおき");
        s.routes.openWorksheet = [this] { openWorksheetScreen(t.state); };
        s.routes.openLevelMenu = [this] { openLevelMenu(t.state); };
        rostertest::writeRoster(t, rostertest::rosterLine(1, 2013, "あおき") +
                                       rostertest::rosterLine(4999, 1990, "先生"));
        rostertest::writeResults(t, QByteArray());
        host.show();
        host.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&host));
    }

    FormPrint0* worksheet() const {
        for (FormPrint0* form : host.findChildren<FormPrint0*>()) {
            if (form->isVisible()) {
                return form;
            }
        }
        return nullptr;
    }

    // Opens the worksheet screen straight away (as the print buttons do).
    FormPrint0* openWorksheet() {
        openWorksheetScreen(t.state);
        return worksheet();
    }

    // "印刷へ": the print layout form, active.
    frmPrint* openPrintForm(FormPrint0* form) {
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        frmPrint* print = form->printForm();
        if (print) {
            activate(print);
        }
        return print;
    }
};

// Clicks a check box or option button on its box (the caption ends short of the
// button's right edge, and a click past it misses).
void clickBox(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void clickLevel(FormPrint0* form, int level, Qt::KeyboardModifiers modifiers = {}) {
    QListWidget* list = form->List1;
    const QRect rect = list->visualItemRect(list->item(level - 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
}

// Ten proverbs of levels 1 to 8 and twenty of level 8, for a full worksheet.
QString proverbTable() {
    QString text;
    text += tableLine(1, "猿も", "木から", "落ちる");
    text += tableLine(2, "犬も", "歩けば", "棒に当たる");
    text += tableLine(5, "石の上にも", "三年", "");
    text += tableLine(1, "急がば", "回れ", "");
    text += tableLine(2, "花より", "団子", "");
    text += tableLine(3, "塵も積もれば", "山となる", "");
    text += tableLine(5, "七転び", "八起き", "");
    text += tableLine(2, "二兎を追う者は", "一兎をも", "得ず");
    for (int i = 1; i <= 20; ++i) {
        text += tableLine(8, QStringLiteral("上の句%1").arg(i), QStringLiteral("中の句%1").arg(i),
                          QStringLiteral("下の句%1").arg(i));
    }
    return text;
}

// The page y (300, 900, ..., 9900) of every rule of a 15-row table.
std::vector<double> ruleRows() {
    std::vector<double> ys;
    for (int k = 0; k <= 16; ++k) {
        ys.push_back(300 + 600 * k);
    }
    return ys;
}

// Checks that the dark runs of a pixel column are exactly the rules at the mapped rows.
void checkRules(const std::vector<int>& found, const PageMapping& m, const char* where) {
    const std::vector<double> ys = ruleRows();
    QVERIFY2(found.size() == ys.size(),
             qPrintable(QStringLiteral("%1: %2 rules").arg(where).arg(found.size())));
    for (std::size_t k = 0; k < ys.size(); ++k) {
        const double expected = m.map(0, ys[k]).y();
        QVERIFY2(std::abs(found[k] - expected) <= 1.5,
                 qPrintable(QStringLiteral("%1: rule %2 at %3, expected %4")
                                .arg(where)
                                .arg(k)
                                .arg(found[k])
                                .arg(expected)));
    }
}

} // namespace

class PrintScreensTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { mapJapaneseFonts(); }

    void theTeachersPrintButtonsOpenTheWorksheet() {
        School school;
        school.t.copyFixture(QStringLiteral("worksheet-cp932.csv"),
                             worksheetSourcePath(school.t.state));
        openStudentSelection(school.t.state);
        auto* names = qobject_cast<StudentSelection*>(school.host.current());
        QVERIFY(names && names->Command1->isVisible());
        QTest::keyClick(names->List1, Qt::Key_Down);
        QVERIFY(names->Label1->text() != QStringLiteral("名前を選びなさい"));
        QTest::mouseClick(names->Command1, Qt::LeftButton);
        FormPrint0* form = school.worksheet();
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("印刷設定"));
        QVERIFY(form->isModal());
        QCOMPARE(form->List1->count(), 8);
        QCOMPARE(form->List1->item(7)->text(), QStringLiteral("8"));
        QCOMPARE(form->List1->selectedItems().size(), 1);
        QCOMPARE(form->List1->selectedItems()[0]->text(), QStringLiteral("1"));
        QVERIFY(form->Option1[1]->isChecked());
        const QStringList captions{
            form->Label1->text(),     form->Label2->text(),     form->Label3->text(),
            form->Check1->text(),     form->Option1[1]->text(), form->Option1[2]->text(),
            form->Option1[3]->text(), form->Option1[4]->text(), form->Option1[5]->text(),
            form->Command3->text(),   form->Command1->text(),   form->Command2->text()};
        QCOMPARE(captions,
                 (QStringList{"印刷設定", "レベルを選んでください",
                              "Shiftを押しながら選ぶと複数選択できます(そのうち15問が印刷されます)",
                              "順序を変える", "すべて印刷", "問題一カ所", "問題二カ所",
                              "ことわざ部分を一つ消す", "ことわざ部分を二つ消す", "再並べ替え",
                              "印刷へ", "もどる"}));
        saveWidget(form, QStringLiteral("worksheet-screen.png"));
        // Level 1 of the school's table: two proverbs; its two bad lines are named once.
        const WorksheetTable& sheet = school.t.state.worksheet;
        QCOMPARE(sheet.worksheetRows, 2);
        QCOMPARE(sheet.text(3, 2), QStringLiteral("歩けば"));
        QCOMPARE(school.t.env.messages.size(), std::size_t(1));
        const QString message = school.t.env.messages[0].text;
        QVERIFY2(message.contains(QStringLiteral("プロト.csv の 6 行目")) &&
                     message.contains(QStringLiteral("プロト.csv の 7 行目")),
                 qPrintable(message));
        QTest::mouseClick(form->Command3, Qt::LeftButton);
        QCOMPARE(school.t.env.messages.size(), std::size_t(1));
        QCOMPARE(school.t.env.endedWith, -1);

        // "もどる" closes the screen and brings the name list up again.
        QTest::mouseClick(form->Command2, Qt::LeftButton);
        QVERIFY(!school.worksheet());
        QCOMPARE(names->Label1->text(), QStringLiteral("名前を選びなさい"));

        // The teacher's level menu has the button too; a pupil's has not.
        school.t.state.pupil.pupilName = QStringLiteral("先生");
        openLevelMenu(school.t.state);
        QPushButton* menuPrint = school.host.findChild<QPushButton*>(QStringLiteral("Command27"));
        QVERIFY(menuPrint && menuPrint->isVisible());
        QTest::mouseClick(menuPrint, Qt::LeftButton);
        QVERIFY(school.worksheet());
        QTest::mouseClick(school.worksheet()->Command2, Qt::LeftButton);
        school.t.state.profile.printEnabled = 0;
        openLevelMenu(school.t.state);
        QVERIFY(!school.host.findChild<QPushButton*>(QStringLiteral("Command27"))->isVisible());
        openStudentSelection(school.t.state);
        QVERIFY(!qobject_cast<StudentSelection*>(school.host.current())->Command1->isVisible());
    }

    void everyClickRebuildsTheWorksheet() {
        School school;
        writeTable(school.t, proverbTable());
        FormPrint0* form = school.openWorksheet();
        QVERIFY(form && school.t.env.messages.empty());
        const WorksheetTable& sheet = school.t.state.worksheet;
        QCOMPARE(sheet.worksheetRows, 2);
        clickLevel(form, 2);
        clickLevel(form, 5, Qt::ControlModifier);
        QCOMPARE(sheet.worksheetRows, 5);
        const QStringList firsts{"犬も", "石の上にも", "花より", "七転び", "二兎を追う者は"};
        for (int r = 1; r <= 5; ++r) {
            QCOMPARE(sheet.text(2, r), firsts[r - 1]);
        }
        // Shift adds the levels from the last one clicked, 5, to 8: 3 + 2 + 20 lines.
        clickLevel(form, 8, Qt::ShiftModifier);
        QCOMPARE(sheet.worksheetRows, 3 + 2 + 20);
        QCOMPARE(sheet.text(2, 2), QStringLiteral("石の上にも"));
        QCOMPARE(sheet.text(2, 25), QStringLiteral("上の句20"));

        // Mode 3 draws once a row and keeps one part of each.
        clickLevel(form, 2);
        school.t.env.randomValues = {0.0, 0.5, 0.99};
        clickBox(form->Option1[3]);
        QVERIFY(school.t.env.randomValues.empty());
        QCOMPARE(sheet.printColumns, 6);
        QCOMPARE(sheet.text(2, 1), QStringLiteral("犬も"));
        QCOMPARE(sheet.text(5, 2), QStringLiteral("花より"));
        QCOMPARE(sheet.text(6, 3), QStringLiteral("一兎をも"));
        QCOMPARE(sheet.text(4, 3), QStringLiteral("得ず"));
        // The same mode again draws afresh.
        school.t.env.randomValues = {0.99, 0.99, 0.99};
        clickBox(form->Option1[3]);
        QCOMPARE(sheet.text(4, 1), QStringLiteral("棒に当たる"));
        QCOMPARE(sheet.text(2, 1), QString());

        // The shuffle: 2 × 3 swaps of two draws each, then the blanks of mode 5.
        school.t.env.randomValues = {0.0, 0.9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        clickBox(form->Option1[5]);
        QCOMPARE(sheet.text(5, 1), QStringLiteral("歩けば"));
        school.t.env.randomValues = {0.0, 0.9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        clickBox(form->Check1);
        QVERIFY(form->Check1->isChecked());
        QVERIFY(school.t.env.randomValues.empty());
        QCOMPARE(sheet.text(2, 1), QStringLiteral("二兎を追う者は"));
        QCOMPARE(sheet.text(5, 1), QStringLiteral("一兎をも"));
        QCOMPARE(sheet.text(6, 3), QStringLiteral("棒に当たる"));
        QVERIFY(sheet.text(3, 1).isEmpty() && sheet.text(4, 1).isEmpty());
        QCOMPARE(sheet.text(1, 15), QStringLiteral("⑮"));
    }

    void aMissingTableGivesAnEmptyWorksheet() {
        School school;
        FormPrint0* form = school.openWorksheet();
        QVERIFY(form);
        QCOMPARE(school.t.env.messages.size(), std::size_t(1));
        QVERIFY(school.t.env.messages[0].text.contains(worksheetSourcePath(school.t.state)));
        QCOMPARE(school.t.state.worksheet.worksheetRows, 0);
        QCOMPARE(school.t.state.worksheet.text(1, 1), QStringLiteral("①"));
        clickLevel(form, 3);
        QCOMPARE(school.t.env.messages.size(), std::size_t(1)); // told once
        // Once the table is there the worksheet fills.
        writeTable(school.t, proverbTable());
        QTest::mouseClick(form->Command3, Qt::LeftButton);
        QCOMPARE(school.t.state.worksheet.worksheetRows, 1);
        QCOMPARE(school.t.env.endedWith, -1);
    }

    void thePreviewAndThePrintedPageShowTheRuledTable() {
        School school;
        writeTable(school.t, proverbTable());
        school.t.env.printFolder = artefact(QString());
        FormPrint0* form = school.openWorksheet();
        clickLevel(form, 1);
        clickLevel(form, 5, Qt::ShiftModifier); // levels 1 to 5: eight proverbs
        frmPrint* print = school.openPrintForm(form);
        QVERIFY(print && print->isVisible());
        QCOMPARE(print->Command9->text(), QStringLiteral("印刷"));
        QCOMPARE(print->Command8->text(), QStringLiteral("戻る"));
        QCOMPARE(print->layouts(), 2); // shown, then activated
        QVERIFY(!print->Check1->isChecked() && print->Check2->isChecked());
        QCOMPARE(print->previewScale(), 0.63);
        const QSizeF paper = a4Twips(QPageLayout::Portrait);
        QCOMPARE(print->Picture1->width(), qRound(0.63 * 1.03 * paper.width() / 15));
        const QImage preview = print->Picture1->page().copy();
        preview.save(artefact(QStringLiteral("worksheet-preview.png")));
        saveWidget(print, QStringLiteral("print-layout-form.png"));

        // The rules across the page, seen half way across the answer-free column 2.
        const PageMapping shown = previewMapping(paper, 0.63, 1.0 / 15);
        checkRules(darkRuns(preview, qRound(shown.map(5000, 0).x())), shown, "preview");
        // Seven vertical rules at the column edges, seen along the middle of row 8.
        int verticals = 0;
        const int y = qRound(shown.map(0, 300 + 600 * 8 + 520).y());
        for (int x = 0; x < preview.width(); ++x) {
            verticals += qGray(preview.pixel(x, y)) < 60 && qGray(preview.pixel(x, y - 3)) < 60;
        }
        QCOMPARE(verticals, 5);
        // Text is drawn in the first row's cells: the number and the first part.
        auto inked = [&](double x1, double x2, double y1, double y2) {
            int n = 0;
            const QPointF a = shown.map(x1, y1), b = shown.map(x2, y2);
            for (int px = qRound(a.x()); px < qRound(b.x()); ++px) {
                for (int py = qRound(a.y()); py < qRound(b.y()); ++py) {
                    n += qGray(preview.pixel(px, py)) < 128;
                }
            }
            return n;
        };
        QVERIFY(inked(100, 500, 1000, 1400) > 10);  // ①
        QVERIFY(inked(600, 3000, 1000, 1400) > 10); // 猿も
        QVERIFY(inked(100, 500, 9400, 9800) > 10);  // ⑮
        QCOMPARE(inked(600, 5900, 9400, 9800), 0);  // row 15 holds no proverb

        // "印刷" prints the same page on the default printer (a PDF here) and shows the
        // preview again.
        const int before = print->layouts();
        QTest::mouseClick(print->Command9, Qt::LeftButton);
        QCOMPARE(print->layouts(), before + 2);
        QVERIFY(!print->Check1->isChecked());
        QCOMPARE(print->Picture1->page(), preview);
        QCOMPARE(school.t.env.printed.size(), std::size_t(1));
        const QString pdf = school.t.env.printed[0];
        QVERIFY2(pdfInfo(pdf).contains(QStringLiteral("595 x 842 pts (A4)")),
                 qPrintable(pdfInfo(pdf)));
        QVERIFY(pdfInfo(pdf).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
        const QString text = pdfText(pdf);
        for (const QString& expected :
             {QStringLiteral("１列目"), QStringLiteral("３列目"), QStringLiteral("①"),
              QStringLiteral("⑮"), QStringLiteral("猿も"), QStringLiteral("木から"),
              QStringLiteral("二兎を追う者は"), QStringLiteral("七転び")}) {
            QVERIFY2(text.contains(expected), qPrintable(expected + "\n" + text));
        }
        QVERIFY(!text.contains(QStringLiteral("上の句")));
        const int dpi = 100;
        const QImage page = pdfPage(pdf, dpi);
        QVERIFY(!page.isNull());
        const PageMapping printed = printerMapping(paper, dpi);
        checkRules(darkRuns(page, qRound(printed.map(5000, 0).x()), 200), printed, "printed");
    }

    void withoutAPrinterThePageIsOfferedAsAPdf() {
        School school;
        writeTable(school.t, proverbTable());
        school.t.env.printerInstalled = false;
        FormPrint0* form = school.openWorksheet();
        frmPrint* print = school.openPrintForm(form);
        QVERIFY(print);
        const QImage preview = print->Picture1->page().copy();
        school.t.env.answers = {MessageAnswer::No};
        QTest::mouseClick(print->Command9, Qt::LeftButton);
        QCOMPARE(school.t.env.messages.size(), std::size_t(1));
        QVERIFY(school.t.env.messages[0].text.contains(QStringLiteral("PDF")));
        QCOMPARE(print->Picture1->page(), preview);

        const QString path = artefact(QStringLiteral("worksheet-saved.pdf"));
        QFile::remove(path);
        school.t.env.answers = {MessageAnswer::Yes};
        school.t.env.saveFileAnswers = {path};
        QTest::mouseClick(print->Command9, Qt::LeftButton);
        QVERIFY(QFile::exists(path));
        QVERIFY(pdfText(path).contains(QStringLiteral("急がば")));
        QCOMPARE(print->Picture1->page(), preview);

        // Coming back to the form after changing the worksheet shows the new worksheet.
        const int layouts = print->layouts();
        clickBox(form->Option1[5]);
        activate(form);
        activate(print);
        QVERIFY(print->layouts() > layouts);
        QVERIFY(print->Picture1->page() != preview);

        // "戻る" closes the form; the worksheet screen stays.
        QTest::mouseClick(print->Command8, Qt::LeftButton);
        QTRY_VERIFY(!form->printForm());
        QVERIFY(form->isVisible());
    }

    void aLandscapeWorksheetPrintsLandscape() {
        School school;
        writeTable(school.t, proverbTable());
        school.t.env.printFolder = artefact(QStringLiteral("landscape"));
        FormPrint0* form = school.openWorksheet();
        school.t.state.worksheet.options.portraitChoice = 0;
        frmPrint* print = school.openPrintForm(form);
        QVERIFY(print && !print->Check2->isChecked());
        QCOMPARE(print->previewScale(), 0.8);
        const QSizeF paper = a4Twips(QPageLayout::Landscape);
        QCOMPARE(print->Picture1->width(), qRound(0.8 * 1.03 * paper.width() / 15));
        print->Picture1->page().save(artefact(QStringLiteral("worksheet-preview-landscape.png")));
        QTest::mouseClick(print->Command9, Qt::LeftButton);
        QCOMPARE(school.t.env.printed.size(), std::size_t(1));
        QVERIFY(pdfInfo(school.t.env.printed[0]).contains(QStringLiteral("842 x 595 pts (A4)")));
    }

    void withAutoPrintTheFormPrintsOnceAndCloses() {
        School school;
        writeTable(school.t, proverbTable());
        school.t.env.printFolder = artefact(QStringLiteral("autoprint"));
        FormPrint0* form = school.openWorksheet();
        school.t.state.worksheet.options.autoPrint = 1;
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(school.t.env.printed.size(), std::size_t(1));
        QVERIFY(pdfText(school.t.env.printed[0]).contains(QStringLiteral("猿も")));
        QTRY_VERIFY(!form->printForm());
        QVERIFY(form->isVisible());
    }

private:
    static void saveWidget(QWidget* widget, const QString& name) {
        widget->grab().save(artefact(name));
    }
};

QTEST_MAIN(PrintScreensTest)
#include "test_print_screens.moc"
