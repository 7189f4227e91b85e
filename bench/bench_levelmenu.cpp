// The level menu's refresh on a full school: 5000 roster lines and 20000 records.
// Goal: at most 50 ms a refresh on the classroom PCs.
#include "app/AppState.h"
#include "app/JapaneseFonts.h"
#include "app/ScreenHost.h"
#include "app/SystemEnvironment.h"
#include "records/ResultRecord.h"
#include "roster/RosterFile.h"
#include "views/LevelMenu.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int rosterLines = 5000;
constexpr int records = 20000;

// One record as the program writes it (school code 12345).
QByteArray resultRecord(const QDateTime& when, int pupilNo, int level, int seconds) {
    ResultRecord r;
    r.runDate = QDate(1899, 12, 30).daysTo(when.date());
    r.runClock = when.time().msecsSinceStartOfDay() / 86400000.0;
    r.pupilNo = static_cast<std::int16_t>(pupilNo);
    r.level = static_cast<std::int16_t>(level);
    r.seconds = seconds;
    r.setSchoolCode(QStringLiteral("12345"));
    const ResultRecordBytes bytes = encodeResultRecord(r);
    return QByteArray(bytes.data(), ResultRecord::size);
}

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
        state.profile.levelCount = 1;
        state.profile.finalLevel = 1;
        state.profile.allLevelsOpen = 1;
        state.profile.levelNames[1] = QStringLiteral("レベル１");
        state.profile.levelTimed[1] = 1;
        state.criteria[1] = {40, 60, 100, 3, 1.5f, 20, 0, 7, 1, 0, 0, 0};

        QByteArray roster;
        for (int p = 1; p <= rosterLines; ++p) {
            roster += QStringLiteral("%1,%2,0,0,\"生徒%1\",0,\"\",\"\"\r\n")
                          .arg(p)
                          .arg(2010 + p % 9)
                          .toUtf8(); // ASCII and kanji of the JIS level 1 set only
        }
        // The roster is written in CP932 by hand: "生徒" is 90 B6 93 6B.
        roster.replace(QStringLiteral("生徒").toUtf8(), QByteArray("\x90\xb6\x93\x6b"));
        writeFile(state.layout.dataRoot + QStringLiteral("新名簿.txt"), roster);
        loadRoster(state);
        if (state.pupil.rosterLineCount != rosterLines) {
            qFatal("the roster read %d lines", state.pupil.rosterLineCount);
        }

        const QDateTime now = env.now();
        QByteArray file;
        file.reserve(records * 44);
        for (int i = 0; i < records; ++i) {
            const int pupil = 1 + (i * 7919) % rosterLines;
            const int daysAgo = (i * 31) % 60;
            file += resultRecord(now.addDays(-daysAgo), pupil, 1, 20 + i % 90);
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
    // The figures are really counted: pupil 1 has 4 of the 20000 records.
    const int runs = school.state.stats.statTotalRuns[Statistics::cell(1, 1)];
    bench.SetLabel(QStringLiteral("5000 roster lines, 20000 records; pupil 1: %1 runs")
                       .arg(runs)
                       .toStdString());
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
    mapJapaneseFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
