// The level menu's refresh on a full school: 5000 pupils and 20000 records.
// Goal: at most 50 ms a refresh on the classroom PCs.
#include "app/AppState.h"
#include "app/ScreenHost.h"
#include "app/SystemEnvironment.h"
#include "records/ResultRecord.h"
#include "text/DayNumber.h"
#include "views/LevelMenu.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int pupils = 5000;
constexpr int records = 20000;
constexpr int levels = 6;

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

struct School {
    QTemporaryDir dir;
    SystemEnvironment env;
    AppState state;
    ScreenHost host;

    School() {
        const QString sep = QDir::separator();
        const QString root = QDir::toNativeSeparators(dir.path()) + sep;
        state.env = &env;
        state.host = &host;
        state.layout.dataRoot = root + QStringLiteral("data") + sep;
        state.layout.drillFolderName = QStringLiteral("ミルネア");
        state.layout.drillDataFolder = state.layout.dataRoot + QStringLiteral("ミルネア") + sep;
        state.config.schoolName = QStringLiteral("ミルネア塾　本校");
        state.config.schoolYearStartMonth = 4;
        state.profile.programTitle = QStringLiteral("ミルネア");
        state.profile.levelCount = levels;
        state.profile.finalLevel = levels;
        state.profile.allLevelsOpen = 1;
        for (int i = 1; i <= levels; ++i) {
            state.profile.levelNames[i] = QStringLiteral("レベル%1").arg(i);
            state.profile.levelTimed[i] = 1;
            state.criteria[i] = {40, 60, 100, 3, 1.5f, 20, 0, 7, 1, 0, 0, 0};
        }

        // The menu reads no roster: its figures come from the results file alone. The
        // records spread over a full school of 5000 pupils, six levels and 60 days.
        const QDateTime now = env.now();
        const int today = dayNumber(now.date());
        ResultRecord r;
        r.setSchoolCode(QStringLiteral("12345"));
        QByteArray file;
        file.reserve(qsizetype(records) * ResultRecord::size);
        for (int i = 0; i < records; ++i) {
            r.runDate = today - (i * 31) % 60;
            r.runClock = 0.4 + (i % 1000) / 5000.0;
            r.pupilNo = static_cast<std::int16_t>(1 + (i * 7919) % pupils);
            r.level = static_cast<std::int16_t>(1 + i % levels);
            r.seconds = i % 97 == 0 ? 99999 : 20 + i % 90;
            const ResultRecordBytes one = encodeResultRecord(r);
            file.append(one.data(), ResultRecord::size);
        }
        writeFile(state.layout.drillDataFolder + QStringLiteral("成績累積データ.dat"), file);

        state.pupil.pupilIndex = 1;
        state.pupil.pupilName = QStringLiteral("生徒1");
        state.pupil.pupilGroup = QStringLiteral("小３");
        state.pupil.gradeFilter = QStringLiteral("全学年");
        host.resize(1024, 768);
        host.show();
    }
};

void BM_LevelMenuRefresh(benchmark::State& bench) {
    School school;
    openLevelMenu(school.state);
    Screen* menu = school.host.current();
    for (auto _ : bench) {
        menu->activate();
    }
    bench.SetLabel("5000 pupils, 20000 records, 6 levels");
}
BENCHMARK(BM_LevelMenuRefresh)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_LevelMenuOpen(benchmark::State& bench) {
    School school;
    for (auto _ : bench) {
        openLevelMenu(school.state);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    bench.SetLabel("build and first refresh");
}
BENCHMARK(BM_LevelMenuOpen)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
