#include "support/TestInstallation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString withSeparator(const QString& path) {
    return QDir::toNativeSeparators(path) + QDir::separator();
}
} // namespace

TestInstallation::TestInstallation() {
    QDir(root()).mkpath(QStringLiteral("programs/ミルネア"));
    QDir(root()).mkpath(QStringLiteral("data/ミルネア"));
    QDir(root()).mkpath(QStringLiteral("data/音フォルダ"));
    state.env = &env;
    state.layout.programFolder = programFolder();
    state.layout.dataRoot = dataRoot();
    state.layout.drillFolderName = QStringLiteral("ミルネア");
    state.layout.drillDataFolder = drillDataFolder();
    state.layout.soundFolder = soundFolder();
}

QString TestInstallation::programFolder() const {
    return withSeparator(root() + QStringLiteral("/programs/ミルネア"));
}

QString TestInstallation::dataRoot() const {
    return withSeparator(root() + QStringLiteral("/data"));
}

QString TestInstallation::drillDataFolder() const {
    return withSeparator(root() + QStringLiteral("/data/ミルネア"));
}

QString TestInstallation::soundFolder() const {
    return withSeparator(root() + QStringLiteral("/data/音フォルダ"));
}

QString TestInstallation::writeBytes(const QString& path, const QByteArray& bytes) const {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        qFatal("cannot write test file %s", qPrintable(path));
    }
    return path;
}

QString TestInstallation::copyFixture(const QString& fixtureName, const QString& path) const {
    return writeBytes(path, fixtureBytes(fixtureName));
}

QByteArray TestInstallation::fixtureBytes(const QString& fixtureName) {
    QFile file(fixturePath(fixtureName));
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("missing fixture %s", qPrintable(fixtureName));
    }
    return file.readAll();
}

QString TestInstallation::fixturePath(const QString& fixtureName) {
    return QStringLiteral(MIRUNEA_FIXTURES_DIR "/") + fixtureName;
}
