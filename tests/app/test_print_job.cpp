#include "app/PrintJob.h"
#include "support/TestInstallation.h"

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QtTest>

// The one print path: the default printer, or a PDF file where no printer is installed.
class PrintJobTest : public QObject {
    Q_OBJECT

private slots:
    void defaultPrinterTakesEveryPage();
    void withoutPrinterTheSheetCanBeSavedAsPdf();
    void withoutPrinterDecliningPrintsNothing();
};

namespace {

// Draws one line of text on each of the pages and ends the job.
bool printPages(PrintJob& job, const QStringList& pages) {
    QPainter painter(job.device());
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            job.newPage();
        }
        painter.setFont(QFont(QStringLiteral("IPAGothic"), 12));
        painter.drawText(QPointF(500, 500), pages[i]);
    }
    painter.end();
    return job.finish(nullptr);
}

QString pdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    p.waitForFinished(30000);
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

void PrintJobTest::defaultPrinterTakesEveryPage() {
    TestInstallation inst;
    inst.env.printFolder = inst.root();
    auto job = beginPrint(inst.state, nullptr, {QStringLiteral("成績グラフ")});
    QVERIFY(job);
    QVERIFY(printPages(*job, {QStringLiteral("一枚目"), QStringLiteral("二枚目")}));
    QCOMPARE(inst.env.printed.size(), size_t(1));
    QVERIFY(inst.env.messages.empty());
    QCOMPARE(pdfPages(inst.env.printed[0]), 2);
    const QString text = pdfText(inst.env.printed[0]);
    QVERIFY2(text.contains(QStringLiteral("一枚目")) && text.contains(QStringLiteral("二枚目")),
             qPrintable(text));
}

void PrintJobTest::withoutPrinterTheSheetCanBeSavedAsPdf() {
    TestInstallation inst;
    inst.env.printerInstalled = false;
    const QString path = inst.root() + QStringLiteral("/シート.pdf");
    inst.env.answers = {MessageAnswer::Yes};
    inst.env.saveFileAnswers = {path};
    auto job = beginPrint(inst.state, nullptr, {QStringLiteral("成績グラフ")});
    QVERIFY(job);
    QCOMPARE(inst.env.messages.size(), size_t(1));
    QVERIFY(inst.env.messages[0].text.contains(QStringLiteral("プリンタ")));
    QCOMPARE(inst.env.messages[0].buttons, MessageButtons::YesNo);
    QVERIFY(printPages(*job, {QStringLiteral("保存")}));
    QVERIFY(QFile::exists(path));
    QCOMPARE(pdfPages(path), 1);
}

void PrintJobTest::withoutPrinterDecliningPrintsNothing() {
    TestInstallation inst;
    inst.env.printerInstalled = false;
    inst.env.answers = {MessageAnswer::No};
    QVERIFY(!beginPrint(inst.state, nullptr, {QStringLiteral("成績グラフ")}));
    QVERIFY(inst.env.saveFileQuestions.empty());
    // Saying yes but cancelling the file question prints nothing either.
    inst.env.answers = {MessageAnswer::Yes};
    QVERIFY(!beginPrint(inst.state, nullptr, {QStringLiteral("成績グラフ")}));
    QCOMPARE(inst.env.saveFileQuestions.size(), size_t(1));
    QVERIFY(inst.env.printed.empty());
}

QTEST_MAIN(PrintJobTest)
#include "test_print_job.moc"
