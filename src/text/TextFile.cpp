#include "text/TextFile.h"

#include "text/Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

} // namespace

TextFileRead readCp932File(const QString& path) {
    TextFileRead result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = QStringLiteral("ファイル「%1」が見つかりません。").arg(shown(path));
        return result;
    }
    if (info.isDir()) {
        result.error =
            QStringLiteral("「%1」はフォルダーで、ファイルではありません。").arg(shown(path));
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error =
            info.isReadable()
                ? QStringLiteral("ファイル「%1」を開けません。").arg(shown(path))
                : QStringLiteral("ファイル「%1」を読む権限がありません。").arg(shown(path));
        return result;
    }
    const QByteArray bytes = file.readAll();
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.close();
    if (readFailed) {
        result.error =
            QStringLiteral("ファイル「%1」を読み込む途中でエラーが起きました。").arg(shown(path));
        return result;
    }
    Cp932Error bad;
    std::optional<QString> text = decodeCp932(bytes, &bad);
    if (!text) {
        result.error = bad.line > 0
                           ? QStringLiteral("ファイル「%1」の %2").arg(shown(path), bad.description)
                           : QStringLiteral("ファイル「%1」を読めません。%2")
                                 .arg(shown(path), bad.description);
        return result;
    }
    result.ok = true;
    result.text = std::move(*text);
    return result;
}

bool writeCp932FileAtomic(const QString& path, const QString& text, QString* error) {
    qsizetype badIndex = -1;
    const std::optional<QByteArray> bytes = encodeCp932(text, &badIndex);
    if (!bytes) {
        const qsizetype length = (badIndex >= 0 && badIndex < text.size() &&
                                  text.at(badIndex).isHighSurrogate() && badIndex + 1 < text.size())
                                     ? 2
                                     : 1;
        const QString bad = badIndex >= 0 ? text.mid(badIndex, length) : QString();
        setError(error,
                 QStringLiteral("ファイル「%1」に書けない文字「%2」（%3 文字目）があります。"
                                "CP932（Shift_JIS）で表せない文字なので、ファイルは書き換えて"
                                "いません。")
                     .arg(shown(path), bad)
                     .arg(badIndex + 1));
        return false;
    }
    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        setError(error, QStringLiteral("フォルダー「%1」がないため、ファイル「%2」を書けません。")
                            .arg(shown(info.absolutePath()), shown(path)));
        return false;
    }
    // QSaveFile writes a new file in the same folder and renames it over the old one on
    // commit, so a reader on another PC sees either the old file or the whole new one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error,
                 QStringLiteral("ファイル「%1」を書き込み用に開けません。").arg(shown(path)));
        return false;
    }
    bool written = file.write(*bytes) == bytes->size() && file.flush();
#ifdef Q_OS_UNIX
    // The data must be on the disk before the rename makes it the file.
    written = written && ::fsync(file.handle()) == 0;
#endif
    if (!written) {
        // Not committed: the new file is thrown away and the old one stays as it was.
        setError(error, QStringLiteral("ファイル「%1」を書き込めません。").arg(shown(path)));
        return false;
    }
    if (!file.commit()) {
        setError(error, QStringLiteral("ファイル「%1」を書き込めません（置き換えに失敗しました）。")
                            .arg(shown(path)));
        return false;
    }
    return true;
}
