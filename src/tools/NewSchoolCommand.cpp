#include "tools/NewSchoolCommand.h"

#include "app/JapaneseFonts.h"
#include "tools/NewSchool.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr int usageStatus = 64;

void print(std::FILE* stream, const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

int usageError(const QString& why) {
    print(stderr, why);
    print(stderr,
          QStringLiteral(
              "使い方:\n"
              "  mirunea --new-school データのフォルダ --school-name 学校名\n"
              "          [--school-code 5けたの学校コード] [--start-month 年度の始まりの月]\n"
              "          [--key-folder 先生の鍵のフォルダ] [--install-root プログラムのフォルダ]"));
    return usageStatus;
}

struct Request {
    QString dataRoot;
    QString installRoot;
    SchoolSettings settings;
};

QString parse(const QStringList& args, Request& request) {
    bool named = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (i + 1 >= args.size()) {
            return QStringLiteral("%1 の後に値が要ります。").arg(arg);
        }
        const QString value = args[++i];
        if (arg == QLatin1String(newSchoolOption)) {
            request.dataRoot = value;
        } else if (arg == QLatin1String("--school-name")) {
            request.settings.schoolName = value;
            named = true;
        } else if (arg == QLatin1String("--school-code")) {
            request.settings.schoolCode = value;
        } else if (arg == QLatin1String("--start-month")) {
            bool ok = false;
            request.settings.schoolYearStartMonth = value.toInt(&ok);
            if (!ok) {
                return QStringLiteral("--start-month の「%1」は月の数ではありません。").arg(value);
            }
        } else if (arg == QLatin1String("--key-folder")) {
            request.settings.keyFolder = value;
        } else if (arg == QLatin1String("--install-root")) {
            request.installRoot = value;
        } else {
            return QStringLiteral("「%1」は使えない指定です。").arg(arg);
        }
    }
    if (request.dataRoot.isEmpty()) {
        return QStringLiteral("--new-school にはデータのフォルダが要ります。");
    }
    if (!named || request.settings.schoolName.trimmed().isEmpty()) {
        return QStringLiteral("--school-name で学校名を指定してください。");
    }
    return settingsFault(request.settings);
}

} // namespace

bool asksForNewSchool(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], newSchoolOption) == 0) {
            return true;
        }
    }
    return false;
}

int newSchoolCommand(const QStringList& arguments, const QString& programFolder) {
    Request request;
    const QString error = parse(arguments, request);
    if (!error.isEmpty()) {
        return usageError(error);
    }
    const NewSchool school =
        newSchoolFor(request.installRoot.isEmpty() ? programFolder : request.installRoot,
                     request.dataRoot, request.settings);
    QString failure;
    if (!createNewSchool(school, &failure)) {
        print(stderr, failure);
        print(stderr, QStringLiteral("新しい学校は作りませんでした。"));
        return 1;
    }
    print(stdout, QStringLiteral("新しい学校を作りました。"));
    print(stdout, QStringLiteral("  パスデータ: %1").arg(school.pathFile));
    print(stdout, QStringLiteral("  データのフォルダ: %1").arg(school.layout.dataRoot));
    print(stdout, QStringLiteral("  先生の鍵: %1").arg(school.settings.keyFolder));
    print(stdout,
          QStringLiteral("名簿には「先生」だけがいます。生徒は 新名簿.txt に加えてください。"));
    return 0;
}

int runNewSchoolCommand(int argc, char** argv) {
    // The explanation video's frames are drawn with fonts, which needs a GUI application;
    // nothing is shown, so no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("mirunea"));
    mapJapaneseFonts();
    return newSchoolCommand(QGuiApplication::arguments().mid(1),
                            QGuiApplication::applicationDirPath());
}
