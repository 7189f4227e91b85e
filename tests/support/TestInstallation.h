#pragma once

#include "app/AppState.h"
#include "support/FakeEnvironment.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A throw-away school installation in a temporary folder, and an AppState wired to a
// fake environment with its layout pointing there:
//   <root>/programs/パスデータ.txt, <root>/programs/ミルネア/ (program folder)
//   <root>/data/ (data root), <root>/data/ミルネア/ (drill data), <root>/data/音フォルダ/
struct TestInstallation {
    TestInstallation();

    QString root() const { return dir.path(); }
    QString programFolder() const; // ends in the separator
    QString dataRoot() const;      // ends in the separator
    QString drillDataFolder() const;
    QString soundFolder() const;

    // Writes raw bytes to a file, creating its folder; returns the path.
    QString writeBytes(const QString& path, const QByteArray& bytes) const;
    // Copies a sample file of the fixtures folder to path; returns the path.
    QString copyFixture(const QString& fixtureName, const QString& path) const;
    static QByteArray fixtureBytes(const QString& fixtureName);
    static QString fixturePath(const QString& fixtureName);

    QTemporaryDir dir;
    FakeEnvironment env;
    AppState state;
};
