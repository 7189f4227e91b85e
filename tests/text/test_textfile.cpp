// Whole-file reading and atomic writing of CP932 files, with the messages a teacher sees.
#include "support/TestInstallation.h"
#include "text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void writeRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class TextFileTest : public QObject {
    Q_OBJECT

private slots:
    void readsASampleFile() {
        const TextFileRead read =
            readCp932File(TestInstallation::fixturePath(QStringLiteral("roster-cp932.txt")));
        QVERIFY2(read.ok, qPrintable(read.error));
        QVERIFY(read.error.isEmpty());
        QVERIFY(read.text.startsWith(QStringLiteral("1,2012,0,0,\"髙橋　一郎\",0,\"\",\"\"\r\n")));
        QVERIFY(read.text.contains(QStringLiteral("\"髙田　花子\""))); // written EE E0
        QVERIFY(read.text.endsWith(QStringLiteral("\"先生\",0,\"\",\"\"\r\n")));
    }

    void readsAnEmptyFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("空.txt"));
        writeRaw(path, QByteArray());
        const TextFileRead read = readCp932File(path);
        QVERIFY(read.ok);
        QVERIFY(read.text.isEmpty());
    }

    void aMissingFileIsNamed() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("新名簿.txt"));
        const TextFileRead read = readCp932File(path);
        QVERIFY(!read.ok);
        QVERIFY(read.text.isEmpty());
        QCOMPARE(
            read.error,
            QStringLiteral("ファイル「%1」が見つかりません。").arg(QDir::toNativeSeparators(path)));
    }

    void aFolderIsNotAFile() {
        QTemporaryDir dir;
        const TextFileRead read = readCp932File(dir.path());
        QVERIFY(!read.ok);
        QVERIFY(read.error.contains(QDir::toNativeSeparators(dir.path())));
        QVERIFY(read.error.contains(QStringLiteral("フォルダー")));
    }

    void anUnreadableFileIsNamed() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("共通データ.txt"));
        writeRaw(path, "4\r\n");
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        if (::access(QFile::encodeName(path).constData(), R_OK) == 0)
            QSKIP("this user reads files without read permission (root)");
        const TextFileRead read = readCp932File(path);
        QVERIFY(!read.ok);
        QVERIFY(read.error.contains(QDir::toNativeSeparators(path)));
        QVERIFY(read.error.contains(QStringLiteral("権限")));
    }

    void badBytesAreReportedWithFileLineAndColumn() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("タイム回数データ.txt"));
        writeRaw(path, "60,90\r\n45,\x81\x20,3\r\n");
        const TextFileRead read = readCp932File(path);
        QVERIFY(!read.ok);
        QVERIFY(read.text.isEmpty());
        QVERIFY2(read.error.startsWith(QStringLiteral("ファイル「%1」の 2 行 4 バイト目は")
                                           .arg(QDir::toNativeSeparators(path))),
                 qPrintable(read.error));
        QVERIFY2(read.error.contains(QStringLiteral("81 20")), qPrintable(read.error));
    }

    void writesCp932WithItsLineEnds() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("共通データ.txt"));
        QString error;
        QVERIFY(writeCp932FileAtomic(path, QStringLiteral("\"髙橋～\"\r\n4\r\n"), &error));
        QVERIFY(error.isEmpty());
        QCOMPARE(fileBytes(path), QByteArray("\"\xFB\xFC\x8B\xB4\x81\x60\"\r\n4\r\n"));
        const TextFileRead read = readCp932File(path);
        QCOMPARE(read.text, QStringLiteral("\"髙橋～\"\r\n4\r\n"));
    }

    // The new content goes into a new file that is renamed over the old one: a second
    // name of the old file keeps the old content, and no stray file is left behind.
    void replacesTheFileByRenaming() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("タイム回数データ.txt"));
        const QString otherName = dir.filePath(QStringLiteral("old-link.txt"));
        writeRaw(path, "old\r\n");
        QCOMPARE(
            ::link(QFile::encodeName(path).constData(), QFile::encodeName(otherName).constData()),
            0);
        QString error;
        QVERIFY2(writeCp932FileAtomic(path, QStringLiteral("new\r\n"), &error), qPrintable(error));
        QCOMPARE(fileBytes(path), QByteArray("new\r\n"));
        QCOMPARE(fileBytes(otherName), QByteArray("old\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void refusesTextCp932CannotHoldAndWritesNothing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("新名簿.txt"));
        writeRaw(path, "before\r\n");
        QString error;
        QVERIFY(!writeCp932FileAtomic(path, QStringLiteral("1,\"𠮷野\"\r\n"), &error));
        QCOMPARE(fileBytes(path), QByteArray("before\r\n"));
        QVERIFY(error.contains(QDir::toNativeSeparators(path)));
        QVERIFY2(error.contains(QStringLiteral("「𠮷」（4 文字目）")), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

        const QString fresh = dir.filePath(QStringLiteral("new.txt"));
        QVERIFY(!writeCp932FileAtomic(fresh, QStringLiteral("😀"), nullptr));
        QVERIFY(!QFile::exists(fresh));
    }

    void reportsAFolderThatIsMissing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ない/共通データ.txt"));
        QString error;
        QVERIFY(!writeCp932FileAtomic(path, QStringLiteral("4\r\n"), &error));
        QVERIFY(!QFile::exists(path));
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    }

    void reportsATargetItCannotReplace() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("folder"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        QString error;
        QVERIFY(!writeCp932FileAtomic(path, QStringLiteral("4\r\n"), &error));
        QVERIFY(QFileInfo(path).isDir());
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TextFileTest)
#include "test_textfile.moc"
