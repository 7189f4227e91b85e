// Real copies of the program appending to one results file: eight at once, one killed
// again and again in the middle of its work, one that runs out of room.

#include "RecordsTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>
#include <random>
#include <signal.h>

namespace {

const QString appender = QStringLiteral(RESULTS_APPENDER);

QString resultsPath(const QTemporaryDir& dir) {
    return dir.path() + QStringLiteral("/成績累積データ.dat");
}

std::unique_ptr<QProcess> startAppender(const QTemporaryDir& dir, int pupil, int first, int count,
                                        QStringList extra = {}) {
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->start(appender, QStringList{dir.path() + QLatin1Char('/'), QString::number(pupil),
                                         QString::number(first), QString::number(count)} +
                                 extra);
    return process;
}

// The number of "appended" lines the appender printed.
int reportedAppends(const QByteArray& output) {
    return int(output.count("appended "));
}

// Every whole record must be one of ours, intact: pupil, level, texts, date.
void checkIntact(const ResultRecord& r, int today) {
    QCOMPARE(int(r.level), 1);
    QCOMPARE(QByteArray(r.schoolCode.data(), 5), QByteArray("12345"));
    QCOMPARE(QByteArray(r.spareText.data(), 5), QByteArray("     "));
    QCOMPARE(QByteArray(r.spareNumberText.data(), 5), QByteArray("0    "));
    QCOMPARE(QByteArray(r.unused.data(), 5), QByteArray(5, '\0'));
    QVERIFY(r.runDate >= today - 1 && r.runDate <= today + 1);
    QVERIFY(r.runClock >= 0 && r.runClock < 1);
}

int realToday() {
    return dayNumber(QDate::currentDate());
}

} // namespace

class ResultsProcessesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void eightCopiesAppendingAtOnceLoseNothing();
    void aKilledCopyNeverLeavesABrokenRecord();
    void aShortWriteIsReportedNotRecorded();
};

void ResultsProcessesTest::initTestCase() {
    QVERIFY2(QFileInfo(appender).isExecutable(), qPrintable(appender));
}

void ResultsProcessesTest::eightCopiesAppendingAtOnceLoseNothing() {
    QTemporaryDir dir;
    constexpr int copies = 8;
    constexpr int each = 500;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int pupil = 1; pupil <= copies; ++pupil) {
        processes.push_back(startAppender(dir, pupil, 0, each, {QStringLiteral("--fast-waits")}));
    }
    for (auto& p : processes) {
        QVERIFY(p->waitForFinished(300000));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
        QCOMPARE(reportedAppends(p->readAllStandardOutput()), each);
    }
    const QByteArray bytes = fileBytes(resultsPath(dir));
    QCOMPARE(bytes.size(), copies * each * 44);
    // Each copy's runs are all there, once each, in the order that copy made them.
    std::map<int, int> next;
    const int today = realToday();
    for (const ResultRecord& r : decodeAll(bytes)) {
        checkIntact(r, today);
        QVERIFY(r.pupilNo >= 1 && r.pupilNo <= copies);
        QCOMPARE(int(r.seconds), next[r.pupilNo]);
        ++next[r.pupilNo];
    }
    for (int pupil = 1; pupil <= copies; ++pupil) {
        QCOMPARE(next[pupil], each);
    }
}

void ResultsProcessesTest::aKilledCopyNeverLeavesABrokenRecord() {
    QTemporaryDir dir;
    std::mt19937 random(1209);
    const int today = realToday();
    int killedMidway = 0;
    for (int round = 0; round < 24; ++round) {
        const qint64 size = QFileInfo(resultsPath(dir)).size(); // 0 when missing
        const int whole = int(size / 44);
        // Each copy goes on from the last whole record; it appends until it is killed.
        auto p = startAppender(dir, 7, whole, 0);
        QVERIFY(p->waitForStarted(30000));
        // Kill it once it has told of a random number of appends: the kill then lands
        // wherever the next append happens to be (opening, locked, writing, flushing).
        const int wanted = std::uniform_int_distribution<int>(0, 25)(random);
        QByteArray output;
        while (reportedAppends(output) < wanted && p->state() == QProcess::Running) {
            p->waitForReadyRead(30000);
            output += p->readAllStandardOutput();
        }
        ::kill(static_cast<pid_t>(p->processId()), SIGKILL);
        QVERIFY(p->waitForFinished(30000));
        QCOMPARE(p->exitStatus(), QProcess::CrashExit);
        output += p->readAllStandardOutput();
        const int reported = reportedAppends(output);
        QVERIFY(reported >= wanted);

        const QByteArray bytes = fileBytes(resultsPath(dir));
        const std::vector<ResultRecord> records = decodeAll(bytes);
        // Every append the copy finished is in the file ...
        QVERIFY2(int(records.size()) >= whole + reported,
                 qPrintable(QStringLiteral("%1 records, %2 + %3 expected")
                                .arg(records.size())
                                .arg(whole)
                                .arg(reported)));
        // ... at most one more was under way ...
        QVERIFY(int(records.size()) <= whole + reported + 1);
        if (int(records.size()) > whole + reported || bytes.size() % 44 != 0) {
            ++killedMidway;
        }
        // ... and every whole record is intact and in its place.
        for (std::size_t i = 0; i < records.size(); ++i) {
            checkIntact(records[i], today);
            QCOMPARE(int(records[i].pupilNo), 7);
            QCOMPARE(int(records[i].seconds), int(i));
        }
    }
    qInfo("kills that caught an append under way: %d of 24", killedMidway);
}

void ResultsProcessesTest::aShortWriteIsReportedNotRecorded() {
    QTemporaryDir dir;
    // Two records and room for 20 bytes more: the third append can only be cut short.
    auto p = startAppender(dir, 3, 0, 5, {QStringLiteral("--file-limit"), QStringLiteral("108")});
    QVERIFY(p->waitForFinished(60000));
    QCOMPARE(p->exitStatus(), QProcess::NormalExit);
    QCOMPARE(p->exitCode(), 3);
    const QByteArray output = p->readAllStandardOutput();
    QCOMPARE(reportedAppends(output), 2);
    QVERIFY2(output.contains("成績ランダムファイル記録書き込みが途中で終わりました"),
             output.constData());
    const QByteArray bytes = fileBytes(resultsPath(dir));
    QCOMPARE(bytes.size(), 108); // two records and a torn tail the readers ignore
    QCOMPARE(decodeAll(bytes).size(), std::size_t{2});

    // A later copy with room overwrites the torn tail.
    auto again = startAppender(dir, 3, 2, 1);
    QVERIFY(again->waitForFinished(60000));
    QCOMPARE(again->exitCode(), 0);
    const std::vector<ResultRecord> records = decodeAll(fileBytes(resultsPath(dir)));
    QCOMPARE(QFileInfo(resultsPath(dir)).size(), 3 * 44);
    for (std::size_t i = 0; i < records.size(); ++i) {
        QCOMPARE(int(records[i].seconds), int(i));
    }
}

QTEST_GUILESS_MAIN(ResultsProcessesTest)
#include "test_results_processes.moc"
