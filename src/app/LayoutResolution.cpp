#include "app/LayoutResolution.h"

#include <QDir>

namespace {

QString separator() {
    return QString(QDir::separator());
}

QString withoutTrailingSeparator(const QString& folder) {
    QString path = folder;
    if (path.size() > 1 && path.endsWith(QDir::separator())) {
        path.chop(1);
    }
    return path;
}

} // namespace

QString programFolderOf(const QString& executableDirectory) {
    QString folder = QDir::toNativeSeparators(executableDirectory);
    if (!folder.endsWith(QDir::separator())) {
        folder += separator();
    }
    return folder;
}

QString pathFileOf(const QString& programFolder) {
    const QString path = withoutTrailingSeparator(programFolder);
    const qsizetype cut = path.lastIndexOf(QDir::separator());
    const QString parent = cut < 0 ? QString() : path.left(cut + 1);
    return parent + pathFileName;
}

QString drillFolderNameOf(const QString& programFolder) {
    const QString path = withoutTrailingSeparator(programFolder);
    return path.mid(path.lastIndexOf(QDir::separator()) + 1);
}

QString drillDataFolderOf(const QString& dataRoot, const QString& drillFolderName) {
    return dataRoot + drillFolderName + separator();
}

QString soundFolderOf(const QString& dataRoot) {
    return dataRoot + soundFolderName + separator();
}

QString sharedConfigFileOf(const QString& dataRoot) {
    return dataRoot + sharedConfigFileName;
}

void deriveDataFolders(InstallLayout& layout) {
    layout.drillFolderName = drillFolderNameOf(layout.programFolder);
    layout.drillDataFolder = drillDataFolderOf(layout.dataRoot, layout.drillFolderName);
    layout.soundFolder = soundFolderOf(layout.dataRoot);
}
