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
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

class TextFileTest : public QObject {
    Q_OBJECT

private slots:
    void readsASampleFile() {
        const TextFileRead read =
            readCp932File(TestInstallation::fixturePath(u"roster-cp932.txt"_qs));
        QVERIFY2(read.ok && read.error.isEmpty(), qPrintable(read.error));
        QVERIFY(read.text.startsWith(u"1,2012,0,0,\"髙橋　一郎\",0,\"\",\"\"\r\n"_qs));
        QVERIFY(read.text.endsWith(u"\"先生\",0,\"\",\"\"\r\n"_qs));
    }

    void aMissingFileIsNamed() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"新名簿.txt"_qs);
        const TextFileRead read = readCp932File(path);
        QVERIFY(!read.ok);
        QCOMPARE(read.error, u"ファイル「%1」が見つかりません。"_qs.arg(shown(path)));
    }

    void anUnreadableFileIsNamed() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"共通データ.txt"_qs);
        writeRaw(path, "4\r\n");
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        if (::access(QFile::encodeName(path).constData(), R_OK) == 0)
            QSKIP("this user reads files without read permission (root)");
        const TextFileRead read = readCp932File(path);
        QVERIFY(!read.ok);
        QCOMPARE(read.error, u"ファイル「%1」を読む権限がありません。"_qs.arg(shown(path)));
    }

    void badBytesAreReportedWithFileLineAndColumn() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"タイム回数データ.txt"_qs);
        writeRaw(path, "60,90\r\n45,\x81\x20,3\r\n");
        const TextFileRead read = readCp932File(path);
        QVERIFY(!read.ok && read.text.isEmpty());
        QVERIFY2(read.error.startsWith(u"ファイル「%1」の 2 行 4 バイト目は"_qs.arg(shown(path))) &&
                     read.error.contains(u"81 20"_qs),
                 qPrintable(read.error));
    }

    // The new content goes into a new file that is renamed over the old one: a second
    // name of the old file keeps the old content, and no stray file is left behind.
    void replacesTheFileByRenaming() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"共通データ.txt"_qs);
        const QString otherName = dir.filePath(u"old-link.txt"_qs);
        writeRaw(path, "old\r\n");
        QCOMPARE(
            ::link(QFile::encodeName(path).constData(), QFile::encodeName(otherName).constData()),
            0);
        QString error;
        QVERIFY2(writeCp932FileAtomic(path, u"\"髙橋～\"\r\n4\r\n"_qs, &error), qPrintable(error));
        QCOMPARE(fileBytes(path), QByteArray("\"\xFB\xFC\x8B\xB4\x81\x60\"\r\n4\r\n"));
        QCOMPARE(fileBytes(otherName), QByteArray("old\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void refusesTextCp932CannotHoldAndWritesNothing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"新名簿.txt"_qs);
        writeRaw(path, "before\r\n");
        QString error;
        QVERIFY(!writeCp932FileAtomic(path, u"1,\"𠮷野\"\r\n"_qs, &error));
        QCOMPARE(fileBytes(path), QByteArray("before\r\n"));
        QVERIFY2(error.contains(shown(path)) && error.contains(u"「𠮷」（4 文字目）"_qs),
                 qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void reportsAFolderThatIsMissing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ない/共通データ.txt"_qs);
        QString error;
        QVERIFY(!writeCp932FileAtomic(path, u"4\r\n"_qs, &error));
        QVERIFY(!QFile::exists(path));
        QVERIFY2(error.contains(shown(path)), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TextFileTest)
#include "test_textfile.moc"
