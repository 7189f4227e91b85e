// The teacher gate over real files: the key file test and the rewrite of the shared
// configuration file.
#include "support/TestInstallation.h"
#include "views/TeacherGate.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArray("<missing>");
    }
    return file.readAll();
}

// The fixture with its item 5 ("A:\") replaced by the quoted folder.
QByteArray fixtureWithFolder(const QByteArray& folderBytes) {
    QByteArray expected = TestInstallation::fixtureBytes(QStringLiteral("config-cp932.txt"));
    const QByteArray old("\r\n\"A:\\\"\r\n");
    const qsizetype at = expected.indexOf(old);
    if (at < 0) {
        qFatal("the configuration fixture has no item A:\\");
    }
    expected.replace(at, old.size(), "\r\n\"" + folderBytes + "\"\r\n");
    return expected;
}

} // namespace

class TestTeacherGate : public QObject {
    Q_OBJECT
    QString configPath(const TestInstallation& t) {
        return t.dataRoot() + QStringLiteral("共通データ.txt");
    }
    QString keyFolder(const TestInstallation& t, const QString& name = QStringLiteral("key")) {
        const QString folder = t.root() + QLatin1Char('/') + name;
        t.writeBytes(folder + QStringLiteral("/keypass.txt"), QByteArray());
        return QDir::toNativeSeparators(folder);
    }

private slots:
    void theKeyFileIsLookedForExactlyAsTyped() {
        const QString sep = QDir::separator();
        QCOMPARE(keyFilePath(QStringLiteral("A:")), QStringLiteral("A:") + sep + "keypass.txt");
        // A trailing separator or blank is kept.
        QCOMPARE(keyFilePath(QStringLiteral("key") + sep),
                 QStringLiteral("key") + sep + sep + "keypass.txt");
        QCOMPARE(keyFilePath(QStringLiteral("key ")), QStringLiteral("key ") + sep + "keypass.txt");

        TestInstallation t;
        const QString folder = keyFolder(t);
        QVERIFY(keyFileOpens(folder));
        QVERIFY(!keyFileOpens(folder + QStringLiteral(" ")));
        QVERIFY(!keyFileOpens(t.root()));
        // Only its existence matters: an empty key file is a key.
        QCOMPARE(QFileInfo(folder + QStringLiteral("/keypass.txt")).size(), 0);
    }

    void itemFiveIsTheKeyFolder() {
        TestInstallation t;
        t.copyFixture(QStringLiteral("config-cp932.txt"), configPath(t));
        const KeyFolderRead read = readKeyFolder(t.state);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(read.folder, QStringLiteral("A:\\"));
    }

    void aMissingOrShortConfigurationIsAnError() {
        TestInstallation t;
        KeyFolderRead read = readKeyFolder(t.state);
        QVERIFY(!read.ok);
        QVERIFY2(read.error.contains(QStringLiteral("共通データ.txt")), qPrintable(read.error));

        t.writeBytes(configPath(t), "4\r\n\"school\"\r\n0\r\n1\r\n");
        read = readKeyFolder(t.state);
        QVERIFY(!read.ok);
        QVERIFY2(read.error.contains(QStringLiteral("共通データ.txt")), qPrintable(read.error));
    }

    void anAbsentKeyFileStopsTheGateAndLeavesTheFile() {
        TestInstallation t;
        const QString config = t.copyFixture(QStringLiteral("config-cp932.txt"), configPath(t));
        const QString typed = QDir::toNativeSeparators(t.root() + QStringLiteral("/nokey"));
        const GateResult result = passTeacherGate(t.state, typed, QStringLiteral("A:\\"));
        QCOMPARE(result.outcome, GateOutcome::KeyMissing);
        QCOMPARE(bytesOf(config), TestInstallation::fixtureBytes("config-cp932.txt"));
    }

    void aChangedFolderIsWrittenBackByteForByte() {
        TestInstallation t;
        const QString config = t.copyFixture(QStringLiteral("config-cp932.txt"), configPath(t));
        const QString folder = keyFolder(t);
        const GateResult result = passTeacherGate(t.state, folder, QStringLiteral("A:\\"));
        QCOMPARE(result.outcome, GateOutcome::Passed);
        QCOMPARE(bytesOf(config), fixtureWithFolder(folder.toUtf8()));
        QCOMPARE(readKeyFolder(t.state).folder, folder);
        // Nothing is left beside the file by the replacement.
        QCOMPARE(QDir(t.dataRoot()).entryList(QDir::Files),
                 QStringList({QStringLiteral("共通データ.txt")}));
    }

    void aJapaneseFolderIsWrittenInTheJapaneseCodePage() {
        TestInstallation t;
        const QString config = t.copyFixture(QStringLiteral("config-cp932.txt"), configPath(t));
        QVERIFY(rewriteKeyFolder(t.state, QStringLiteral("E:\\先生のキー"), nullptr));
        // 先 = 90 E6, 生 = 90 B6, の = 82 CC, キ = 83 4C, ー = 81 5B.
        QCOMPARE(bytesOf(config),
                 fixtureWithFolder(QByteArray("E:\\\x90\xe6\x90\xb6\x82\xcc\x83\x4c\x81\x5b")));
    }

    void anUnchangedFolderIsNotRewritten() {
        TestInstallation t;
        // A file the rewrite could not read: the gate passes without touching it as long
        // as the folder is the one read when the panel opened.
        const QByteArray shortFile("4\r\n\"school\"\r\n");
        const QString config = t.writeBytes(configPath(t), shortFile);
        const QString folder = keyFolder(t);
        GateResult result = passTeacherGate(t.state, folder, folder);
        QCOMPARE(result.outcome, GateOutcome::Passed);
        QCOMPARE(bytesOf(config), shortFile);

        result = passTeacherGate(t.state, folder, QStringLiteral("A:\\"));
        QCOMPARE(result.outcome, GateOutcome::ConfigFailed);
        QVERIFY2(result.error.contains(QStringLiteral("共通データ.txt")), qPrintable(result.error));
        QCOMPARE(bytesOf(config), shortFile);
    }

    void everyOtherItemKeepsItsForm() {
        TestInstallation t;
        // Unquoted texts stay bare, quoted numbers stay quoted, blanks around items go,
        // items after the tenth are kept. An empty bare item is quoted: alone on its
        // line it would otherwise read as no item and shift the rest.
        const QString config = t.writeBytes(
            configPath(t),
            "4,  school ,\"1\"\r\n1\r\n\"old\"\r\n1.5\r\n\"\"\r\n,x\r\n9\r\n\"extra\"\r\n");
        QVERIFY(rewriteKeyFolder(t.state, QStringLiteral("K:"), nullptr));
        QCOMPARE(bytesOf(config), QByteArray("4\r\nschool\r\n\"1\"\r\n1\r\n\"K:\"\r\n1.5\r\n"
                                             "\"\"\r\n\"\"\r\nx\r\n9\r\n\"extra\"\r\n"));
        QCOMPARE(readKeyFolder(t.state).folder, QStringLiteral("K:"));
    }

    void aFolderTheFileCannotHoldIsRefused() {
        TestInstallation t;
        const QString config = t.copyFixture(QStringLiteral("config-cp932.txt"), configPath(t));
        QString error;
        QVERIFY(!rewriteKeyFolder(t.state, QStringLiteral("A:\\\"x"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!rewriteKeyFolder(t.state, QStringLiteral("A:\\😀"), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(bytesOf(config), TestInstallation::fixtureBytes("config-cp932.txt"));
    }
};

QTEST_GUILESS_MAIN(TestTeacherGate)
#include "test_teacher_gate.moc"
