#include "tools/ExportTarget.h"

#include "app/InstallLayout.h"
#include "app/LayoutResolution.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int maxLinkHops = 40;

// The file a write to path ends in.
QString resolvedPath(const QString& path) {
    QFileInfo info(path);
    for (int hop = 0; info.isSymLink() && hop < maxLinkHops; ++hop) {
        info.setFile(info.symLinkTarget());
    }
    if (info.exists()) {
        return info.canonicalFilePath();
    }
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

bool isInside(const QString& path, const QString& folder) {
    if (folder.isEmpty()) {
        return false;
    }
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(prefix, Qt::CaseInsensitive) ||
           path.compare(folder, Qt::CaseInsensitive) == 0;
}

bool isNewCsv(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink() &&
           info.suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0;
}

} // namespace

ExportTarget exportTargetOf(const InstallLayout& layout, const QString& requested) {
    const QString path = resolvedPath(requested);
    const QString named = QDir::toNativeSeparators(requested);
    const QString resolvedNote =
        QFileInfo(requested).absoluteFilePath() == path
            ? QString()
            : QStringLiteral("（行き先は「%1」）").arg(QDir::toNativeSeparators(path));
    if (path.compare(resolvedPath(pathFileOf(layout.programFolder)), Qt::CaseInsensitive) == 0) {
        return {QString(), QStringLiteral("「%1」%2は塾のファイルです。別のファイル名を指定して"
                                          "ください。")
                               .arg(named, resolvedNote)};
    }
    for (const QString& folder : {layout.programFolder, layout.dataRoot, layout.drillDataFolder}) {
        if (folder.isEmpty()) {
            continue;
        }
        const QString resolvedFolder = resolvedPath(folder);
        if (isInside(path, resolvedFolder) && !isNewCsv(path)) {
            return {QString(),
                    QStringLiteral("「%1」%2は塾のフォルダ「%3」の中にあります。そこへは新しい "
                                   ".csv ファイルしか書き出せません。別のファイル名を指定して"
                                   "ください。")
                        .arg(named, resolvedNote, QDir::toNativeSeparators(resolvedFolder))};
        }
    }
    return {path, QString()};
}
