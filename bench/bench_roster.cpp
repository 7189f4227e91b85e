// 名簿表示 on a full school: 5000 roster lines and 20000 result records.
// Figures: the list build alone (recount, roster read, sort, filter), its two big parts,
// and the screen's rebuild including the list widget. Goal: the screen rebuild within
// 100 ms on the classroom PCs.

#include "app/AppState.h"
#include "records/ResultsFile.h"
#include "roster/RosterFile.h"
#include "roster/RosterList.h"
#include "roster/StudentSelection.h"
#include "support/QuietEnvironment.h"
#include "text/Cp932.h"
#include "text/DayNumber.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>
#include <cstring>
#include <random>

namespace {

struct BenchEnvironment : QuietEnvironment {
    BenchEnvironment() : QuietEnvironment(QDateTime(QDate(2026, 12, 9), QTime(10, 0))) {}
};

QByteArray record(int day, double clock, int pupil, int level, int seconds) {
    QByteArray r(44, '\0');
    char* p = r.data();
    qToLittleEndian(static_cast<double>(day), p);
    qToLittleEndian(clock, p + 8);
    qToLittleEndian(static_cast<qint16>(pupil), p + 16);
    qToLittleEndian(static_cast<qint16>(level), p + 18);
    qToLittleEndian(static_cast<qint32>(seconds), p + 20);
    std::memcpy(p + 24, "               ", 15);
    p[34] = '0';
    return r;
}

// The school: folders, roster and results in a temporary folder.
struct School {
    QTemporaryDir dir;
    BenchEnvironment env;
    AppState state;

    School() {
        const QChar sep = QDir::separator();
        QDir(dir.path()).mkpath(QStringLiteral("data/ミルネア"));
        state.env = &env;
        state.layout.dataRoot = QDir::toNativeSeparators(dir.path() + "/data") + sep;
        state.layout.drillDataFolder = state.layout.dataRoot + QStringLiteral("ミルネア") + sep;
        state.layout.programFolder = state.layout.drillDataFolder;
        state.config.schoolYearStartMonth = 4;
        state.profile.programTitle = QStringLiteral("ミルネア");
        for (int level = 1; level <= 3; ++level) {
            state.criteria[level].targetSeconds = 40;
            state.criteria[level].minimumSeconds = 80;
            state.criteria[level].pointFactor = 1.0f;
            state.criteria[level].judgeDays = 7;
            state.criteria[level].overuseDays = 1;
        }
        std::mt19937 random(2026);
        const QString kana =
            QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねの山田中川本");
        QString roster;
        for (int no = 1; no <= 5000; ++no) {
            QString name;
            const int length = 2 + static_cast<int>(random() % 6);
            for (int i = 0; i < length; ++i) {
                name += kana.at(static_cast<qsizetype>(random() % kana.size()));
            }
            roster += QStringLiteral("%1,%2,0,0,\"%3\",0,\"\",\"\"\r\n")
                          .arg(no)
                          .arg(2008 + static_cast<int>(random() % 14))
                          .arg(name);
        }
        write(state.layout.dataRoot + QStringLiteral("新名簿.txt"), *encodeCp932(roster));
        const int today = dayNumber(QDate(2026, 12, 9));
        QByteArray records;
        for (int i = 0; i < 20000; ++i) {
            const int day = today - static_cast<int>(random() % 60) * (i % 4 == 0 ? 0 : 1);
            records +=
                record(day, 0.4, 1 + static_cast<int>(random() % 5000),
                       1 + static_cast<int>(random() % 3), 20 + static_cast<int>(random() % 90));
        }
        write(state.layout.drillDataFolder + QStringLiteral("成績累積データ.dat"), records);
    }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            qFatal("cannot write %s", qPrintable(path));
        }
    }
};

void countOnly(benchmark::State& run, AppState* state) {
    for (auto _ : run) {
        benchmark::DoNotOptimize(countResults(*state));
    }
}

void rosterOnly(benchmark::State& run, AppState* state) {
    for (auto _ : run) {
        const RosterReport report = loadRoster(*state, [](const ListedPupil&) {});
        benchmark::DoNotOptimize(report.clean());
    }
}

void listBuild(benchmark::State& run, AppState* state) {
    for (auto _ : run) {
        const RosterList list = buildRosterList(*state, 1, QStringLiteral("全学年"));
        if (list.lines.size() != 5001) {
            run.SkipWithError("the list does not hold 5000 pupils");
        }
    }
}

void screenRebuild(benchmark::State& run, AppState* state) {
    StudentSelection screen(*state);
    screen.resize(1024, 768);
    for (auto _ : run) {
        screen.名簿表示();
        if (screen.List1->count() != 5001) {
            run.SkipWithError("the list does not hold 5000 pupils");
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    School school;
    AppState* state = &school.state;
    benchmark::RegisterBenchmark("countResults (20000 records)", countOnly, state)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("loadRoster (5000 lines)", rosterOnly, state)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("buildRosterList (list logic of 名簿表示)", listBuild, state)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("名簿表示 on the screen (with the list widget)", screenRebuild,
                                 state)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
