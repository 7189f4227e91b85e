// One layout of the printed worksheet: the ruled table of 15 rows and 6 columns with every
// cell's text fitted, on the preview box and on a page printed into a PDF file.
// Goals: at most 50 ms for the preview, at most 300 ms for the printed page.
#include "app/AppState.h"
#include "app/PrintJob.h"
#include "app/SystemEnvironment.h"
#include "print/PageMapping.h"
#include "print/WorksheetBuild.h"
#include "print/WorksheetPage.h"
#include "print/frmPrint.h"

#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Fifteen proverbs, some long, in mode 3 (two parts blanked): six columns of text.
void fillWorksheet(AppState& state) {
    const char16_t* parts[][3] = {
        {u"猿も", u"木から", u"落ちる"},
        {u"犬も", u"歩けば", u"棒に当たる"},
        {u"聞くは一時の恥", u"聞かぬは", u"一生の恥"},
        {u"井の中の", u"蛙", u"大海を知らず"},
        {u"二兎を", u"追う者は", u"一兎をも得ず"},
        {u"壁に耳あり", u"障子に", u"目あり"},
        {u"人の振り", u"見て", u"我が振り直せ"},
        {u"一寸の虫にも", u"五分の", u"魂"},
        {u"火のない所に", u"煙は", u"立たぬ"},
        {u"三人", u"寄れば", u"文殊の知恵"},
        {u"案ずるより", u"産むが", u"易し"},
        {u"急いては", u"事を", u"仕損じる"},
        {u"虎穴に入らずんば", u"虎子を", u"得ず（危険を冒さなければ大きな成果は得られない）"},
        {u"好きこそ", u"物の", u"上手なれ"},
        {u"待てば", u"海路の", u"日和あり"},
    };
    std::vector<WorksheetLine> lines;
    int line = 0;
    for (const auto& p : parts) {
        ++line;
        lines.push_back(
            {1,
             {QString::fromUtf16(p[0]), QString::fromUtf16(p[1]), QString::fromUtf16(p[2])},
             line});
    }
    WorksheetChoice choice;
    choice.levels[1] = true;
    choice.mode = blankTwo;
    buildWorksheet(state.worksheet, lines, choice, *state.env);
}

struct Sheet {
    SystemEnvironment env;
    AppState state;
    Sheet() {
        state.env = &env;
        fillWorksheet(state);
    }
};

void BM_WorksheetPreview(benchmark::State& bench) {
    Sheet sheet;
    frmPrint form(sheet.state);
    for (auto _ : bench) {
        form.Command12_Click();
    }
    bench.SetLabel("15 rows, 6 columns on the preview box");
}
BENCHMARK(BM_WorksheetPreview)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_WorksheetPdfPage(benchmark::State& bench) {
    Sheet sheet;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("worksheet.pdf"));
    const QSizeF paper = a4Twips(QPageLayout::Portrait);
    for (auto _ : bench) {
        auto job = makePdfJob({QStringLiteral("ワークシート"), QPageLayout::Portrait}, path);
        TextMeasure measure(worksheetFontFamily());
        QPainter painter(job->device());
        drawWorksheetPage(painter, printerMapping(paper, job->printer().resolution()),
                          sheet.state.worksheet, paper, measure);
        painter.end();
        if (!job->finish(nullptr)) {
            bench.SkipWithError("the PDF was not written");
        }
    }
    bench.SetLabel("15 rows, 6 columns printed into a PDF file");
}
BENCHMARK(BM_WorksheetPdfPage)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_FitOneCell(benchmark::State& bench) {
    const QSizeF paper = a4Twips(QPageLayout::Portrait);
    TextMeasure measure(worksheetFontFamily());
    const QString text = QStringLiteral("得ず（危険を冒さなければ大きな成果は得られない）");
    for (auto _ : bench) {
        benchmark::DoNotOptimize(
            fitCellText(text, 0.095 * paper.width(), 0.06 * paper.height(), measure));
    }
    bench.SetLabel("a long text in a narrow answer column");
}
BENCHMARK(BM_FitOneCell)->Unit(benchmark::kMicrosecond);

} // namespace
