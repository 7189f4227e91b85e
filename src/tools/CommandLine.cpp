#include "tools/CommandLine.h"

#include "app/AppState.h"
#include "app/ConfigFiles.h"
#include "app/LayoutResolution.h"
#include "app/ProfileLoading.h"
#include "records/CriteriaFile.h"
#include "roster/GradeRules.h"
#include "roster/RosterFile.h"
#include "text/DayNumber.h"
#include "text/TextFile.h"
#include "tools/HealthCheck.h"
#include "tools/NewSchoolCommand.h"
#include "tools/ResultsExport.h"
#include "tools/ToolEnvironment.h"

#include <QCoreApplication>
#include <QDate>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr int usageStatus = 64;

const char* const checkOption = "--check";
const char* const exportOption = "--export-results";

void print(std::FILE* stream, const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

QString usageText() {
    return QStringLiteral(
        "使い方:\n"
        "  mirunea --check [--install-root プログラムのフォルダ]\n"
        "  mirunea --export-results 書き出すファイル.csv [--from yyyy-mm-dd] [--to yyyy-mm-dd]\n"
        "          [--pupil 生徒番号] [--install-root プログラムのフォルダ]");
}

int usageError(const QString& why) {
    print(stderr, why);
    print(stderr, usageText());
    return usageStatus;
}

struct Options {
    bool check = false;
    QString exportFile;
    QString installRoot;
    ExportFilter filter;
};

std::optional<int> dayOf(const QString& text) {
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid()) {
        return std::nullopt;
    }
    return dayNumber(date);
}

// Parses the arguments after the program name; an error text when they cannot be used.
QString parse(const QStringList& args, Options& options) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size()) {
                return std::nullopt;
            }
            return args[++i];
        };
        std::optional<QString> v;
        if (arg == QLatin1String(checkOption)) {
            options.check = true;
        } else if (arg == QLatin1String(exportOption)) {
            if (!(v = value())) {
                return QStringLiteral("%1 には書き出すファイルの名前が要ります。").arg(arg);
            }
            options.exportFile = *v;
        } else if (arg == QLatin1String("--install-root")) {
            if (!(v = value())) {
                return QStringLiteral("--install-root にはプログラムのフォルダが要ります。");
            }
            options.installRoot = *v;
        } else if (arg == QLatin1String("--from") || arg == QLatin1String("--to")) {
            v = value();
            const std::optional<int> day = v ? dayOf(*v) : std::nullopt;
            if (!day) {
                return QStringLiteral("%1 の日付「%2」は yyyy-mm-dd の形の日付ではありません。")
                    .arg(arg, v.value_or(QString()));
            }
            (arg == QLatin1String("--from") ? options.filter.fromDay : options.filter.toDay) = *day;
        } else if (arg == QLatin1String("--pupil")) {
            v = value();
            bool ok = false;
            const int pupil = v ? v->toInt(&ok) : 0;
            if (!ok || pupil < 1 || pupil > 5000) {
                return QStringLiteral("--pupil の生徒番号「%1」は 1～5000 の数ではありません。")
                    .arg(v.value_or(QString()));
            }
            options.filter.pupil = pupil;
        } else {
            return QStringLiteral("「%1」は使えない指定です。").arg(arg);
        }
    }
    if (options.check == !options.exportFile.isEmpty()) {
        return QStringLiteral("--check か --export-results のどちらか一つを指定してください。");
    }
    if (options.check && (options.filter.datesSet() || options.filter.pupil != 0)) {
        return QStringLiteral("--from、--to、--pupil は --export-results と使います。");
    }
    return QString();
}

} // namespace

int runCheckTool(ToolEnvironment& env, const QString& programFolder) {
    const HealthReport report = checkInstallation(env, programFolder);
    for (const Finding& finding : report.findings) {
        print(stdout, findingLine(finding));
    }
    print(stdout, summaryLine(report));
    return report.exitStatus();
}

namespace {

// Prints what a reader would have shown and says the export is not made.
int exportFailed(ToolEnvironment& env, const QString& why) {
    for (const ToolEnvironment::Message& m : env.takeMessages()) {
        print(stderr, m.text);
    }
    if (!why.isEmpty()) {
        print(stderr, why);
    }
    print(stderr, QStringLiteral("書き出しませんでした。"));
    return 1;
}

} // namespace

int runExportTool(ToolEnvironment& env, const QString& programFolder, const ExportFilter& filter,
                  const QString& csvPath) {
    AppState state;
    state.env = &env;
    state.layout.programFolder = programFolderOf(programFolder);
    if (!readPathFile(state, pathFileOf(state.layout.programFolder)) ||
        !readSharedConfig(state, sharedConfigFileOf(state.layout.dataRoot))) {
        return exportFailed(env, QString());
    }
    deriveDataFolders(state.layout);
    applyLevelProfile(state.profile, drillLevelNames());

    // The points need the criteria: without them the export would show wrong figures.
    const QString criteriaPath = criteriaFilePath(state);
    const TextFileRead criteria = readCp932File(criteriaPath);
    if (!criteria.ok) {
        return exportFailed(env, criteria.error);
    }
    const CriteriaParse parse = parseCriteria(criteria.text, CriteriaTable{});
    if (!parse.ok) {
        return exportFailed(env, criteriaPath + QStringLiteral(": ") + parse.error);
    }
    state.criteria = parse.table;

    updateSchoolYear(state);
    PupilLabels pupils;
    const RosterRead roster = readRosterFile(rosterFilePath(state), state.pupil.schoolYear);
    if (!roster.report.fileError.isEmpty()) {
        print(stderr, roster.report.fileError + QStringLiteral("名前と学年は空にします。"));
    }
    for (const RosterLineRead& line : roster.lines) {
        const auto no = static_cast<std::size_t>(line.entry.pupilNo);
        pupils.names[no] = line.entry.name.trimmed();
        pupils.grades[no] = shortGradeLabel(line.gradeIndex);
    }

    const ExportOutcome outcome = exportResults(state, pupils, filter, csvPath);
    if (!outcome.ok) {
        return exportFailed(env, outcome.error);
    }
    print(stdout, QStringLiteral("成績の記録 %1 件のうち %2 件を「%3」に書き出しました。")
                      .arg(outcome.records)
                      .arg(outcome.rows)
                      .arg(csvPath));
    return 0;
}

bool isCommandLineTool(int argc, char** argv) {
    if (asksForNewSchool(argc, argv)) {
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], checkOption) == 0 || std::strcmp(argv[i], exportOption) == 0) {
            return true;
        }
    }
    return false;
}

int runCommandLineTool(int argc, char** argv) {
    if (asksForNewSchool(argc, argv)) {
        return runNewSchoolCommand(argc, argv);
    }
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mirunea"));
    Options options;
    const QString error = parse(QCoreApplication::arguments().mid(1), options);
    if (!error.isEmpty()) {
        return usageError(error);
    }
    const QString programFolder = options.installRoot.isEmpty()
                                      ? QCoreApplication::applicationDirPath()
                                      : options.installRoot;
    ToolEnvironment env;
    return options.check ? runCheckTool(env, programFolder)
                         : runExportTool(env, programFolder, options.filter, options.exportFile);
}
