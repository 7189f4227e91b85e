// The result graph: one block for a pupil with 300 runs at the level, read from a results
// file of 20000 and of 1,000,000 records and drawn on a picture of the screen's size, and
// a sheet of five levels printed to a PDF file.
// Goals: a block at most 30 ms (20000 records) and 150 ms (1,000,000); a printed sheet of
// five levels at most 1 s.
#include "app/AppState.h"
#include "app/JapaneseFonts.h"
#include "app/PrintJob.h"
#include "app/SystemEnvironment.h"
#include "records/ResultRecord.h"
#include "support/BenchSchool.h"
#include "text/DayNumber.h"
#include "views/GraphPainter.h"
#include "views/GraphSheet.h"
#include "views/ResultGraph.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int pupil = 1;
constexpr int window = 20000;
constexpr int pupilRuns = 300;

// The system's environment with a printer that writes each job into a PDF file.
class PdfPrinterEnvironment : public SystemEnvironment {
public:
    QString folder;
    int jobs = 0;
    std::unique_ptr<PrintJob> openDefaultPrinter(const PrintRequest& request, QString*) override {
        return makePdfJob(request,
                          QDir(folder).filePath(QStringLiteral("sheet-%1.pdf").arg(++jobs)));
    }
};

struct School {
    QTemporaryDir dir;
    PdfPrinterEnvironment env;
    AppState state;

    explicit School(int records) {
        env.folder = dir.path();
        state.env = &env;
        layOutDataFolders(state, dir.path());
        state.profile.programTitle = QStringLiteral("ミルネア");
        state.profile.levelCount = 5;
        for (int level = 1; level <= 5; ++level) {
            state.profile.levelNames[std::size_t(level)] = QStringLiteral("レベル%1").arg(level);
        }
        state.pupil.rosterNames[pupil] = QStringLiteral("山田太郎");
        state.pupil.schoolYear = 2026;
        state.pupil.rosterBirthYears[pupil] = 2017;

        // The newest 20000 records are the same in both files: the pupil's 300 runs at
        // each of levels 1 to 5 among other pupils' runs over the last 300 days. What lies
        // before them in the large file is other pupils' older runs.
        const int today = dayNumber(env.now().date());
        QByteArray file;
        file.reserve(qsizetype(records) * ResultRecord::size);
        const auto add = [&](int day, int who, int level, int seconds) {
            ResultRecord r;
            r.runDate = day;
            r.runClock = 0.5;
            r.pupilNo = std::int16_t(who);
            r.level = std::int16_t(level);
            r.seconds = seconds;
            const ResultRecordBytes bytes = encodeResultRecord(r);
            file.append(bytes.data(), ResultRecord::size);
        };
        for (int i = 0; i < records - window; ++i) {
            add(today - 3000 + i / 400, 2 + i % 3000, 1 + i % 5, 20 + i % 150);
        }
        for (int i = 0; i < window; ++i) {
            const bool mine = i % (window / (5 * pupilRuns)) == 0;
            const int level = 1 + (i / 3) % 5;
            add(today - 300 + i / 70, mine ? pupil : 2 + i % 3000, level,
                mine ? 30 + (i * 37) % 60 : 25 + i % 120);
        }
        QDir().mkpath(state.layout.drillDataFolder);
        QFile out(state.layout.drillDataFolder + QStringLiteral("成績累積データ.dat"));
        if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size()) {
            qFatal("cannot write the results file");
        }
    }
};

LevelFigures figures(int level, int) {
    return LevelFigures{QStringLiteral("  3"), QStringLiteral(" 12"), 140.0 + level, 40, 4000};
}

void BM_GraphBlockOnScreen(benchmark::State& bench) {
    School school(int(bench.range(0)));
    // The personal panel's picture at 1024 x 768.
    QImage picture(747, 613, QImage::Format_RGB32);
    const GraphSurface surface = screenSurface(QSizeF(picture.size()), 1, 6, msGothic);
    GraphBlockData data;
    for (auto _ : bench) {
        data = GraphBlockData{};
        data.figures = figures(1, pupil);
        if (!readGraphBlock(school.state, {pupil, 1}, data)) {
            bench.SkipWithError("the results file could not be read");
            return;
        }
        picture.fill(Qt::white);
        QPainter painter(&picture);
        paintGraphBlock(painter, surface, layoutGraphBlock(data, surface, 0.05 * surface.height()));
    }
    bench.SetLabel(QStringLiteral("%1 records; the pupil's runs at the level: %2 of %3 charted")
                       .arg(bench.range(0))
                       .arg(data.windowRuns)
                       .arg(data.runs.size())
                       .toStdString());
}
BENCHMARK(BM_GraphBlockOnScreen)->Arg(window)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_PrintSheetOfFiveLevels(benchmark::State& bench) {
    School school(window);
    GraphSheetRequest request{pupil, {1, 2, 3, 4, 5}};
    for (auto _ : bench) {
        if (!printGraphSheet(school.state, nullptr, request, figures, msGothic)) {
            bench.SkipWithError("the sheet was not printed");
            return;
        }
    }
    const QString last =
        QDir(school.env.folder).filePath(QStringLiteral("sheet-%1.pdf").arg(school.env.jobs));
    bench.SetLabel(QStringLiteral("20000 records, 2 pages, PDF of %1 KB")
                       .arg(QFile(last).size() / 1024)
                       .toStdString());
}
BENCHMARK(BM_PrintSheetOfFiveLevels)->Unit(benchmark::kMillisecond);

} // namespace
