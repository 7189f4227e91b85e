// Recording a run: the record written, the flags set from the figures before the run,
// the lock and the waits, and the failures that end the program.

#include "RecordsTestSupport.h"
#include "records/FileRetry.h"
#include "records/RecordFile.h"
#include "support/TestInstallation.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <cerrno>

namespace {

void prepare(TestInstallation& inst, int pupil, int resultTime) {
    LevelCriteria& c = inst.state.criteria[1];
    c.targetSeconds = 30;
    c.minimumSeconds = 60;
    c.pointFactor = 1.0f;
    c.clearCount = 2;
    c.clearPoints = 8;
    c.judgeDays = 7;
    c.overuseDays = 7;
    inst.state.pupil.pupilIndex = pupil;
    inst.state.run.levelNo = 1;
    inst.state.run.resultTime = resultTime;
}

std::vector<ResultRecord> recordsOf(const TestInstallation& inst) {
    return decodeAll(fileBytes(resultsPath(inst)));
}

} // namespace

class RecordRunTest : public QObject {
    Q_OBJECT

private slots:
    void writesTheRunAsOneRecord();
    void alreadyClearedIsJudgedBeforeTheRun();
    void onlyAStrictlyLowerTimeIsANewBest();
    void pupilsAbove1000LowerTheSchoolBestUntilTheRecount();
    void overwritesATornTail();
    void lockIsHeldByTheOpenFileItself();
    void waitsForABusyFile();
    void triesAnUnreachableFolderFourTimes();
    void goesOnWhenTheFolderComesBack();
    void aFailedWriteIsNotARecordedRun();
    void refusesRunsOutsideTheTables();
    void readerFailuresEndWithTheirMessages();
};

void RecordRunTest::writesTheRunAsOneRecord() {
    TestInstallation inst;
    inst.env.setNow(QDateTime(QDate(2026, 12, 9), QTime(10, 30, 15, 750)));
    inst.state.config.schoolCode = QStringLiteral("12345");
    prepare(inst, 12, 47);
    QVERIFY(recordRun(inst.state, 1));

    const QByteArray bytes = fileBytes(resultsPath(inst));
    QCOMPARE(bytes.size(), 44);
    QByteArray hand;
    hand += QByteArray::fromHex("00000000a0a3e640");           // 2026/12/09 = day 46365
    const double clock = (10 * 3600 + 30 * 60 + 15) / 86400.0; // whole seconds
    hand += QByteArray(reinterpret_cast<const char*>(&clock), 8);
    hand += QByteArray::fromHex("0c00"
                                "0100"
                                "2f000000");
    hand += "12345     0    ";
    hand += QByteArray(5, '\0');
    QCOMPARE(bytes.toHex(), hand.toHex());

    // Without a school code the field is five spaces; the run's level is the one given.
    inst.state.config.schoolCode.clear();
    inst.state.run.levelNo = 3;
    QVERIFY(recordRun(inst.state, 1));
    const std::vector<ResultRecord> records = recordsOf(inst);
    QCOMPARE(records.size(), std::size_t{2});
    QCOMPARE(QByteArray(records[1].schoolCode.data(), 5), QByteArray("     "));
    QCOMPARE(int(records[1].level), 1);
    QCOMPARE(inst.env.messages.size(), std::size_t{0});
}

void RecordRunTest::alreadyClearedIsJudgedBeforeTheRun() {
    TestInstallation inst;
    const int today = todayNumber(inst.env);
    writeResults(inst, {makeRecord(today - 1, 0, 5, 1, 30)}); // 5 points
    prepare(inst, 5, 31);                                     // 4 points more
    QVERIFY(countResults(inst.state));
    QVERIFY(!alreadyCleared(inst.state, 1, 5));
    QVERIFY(recordRun(inst.state, 1));
    // This run reaches the two runs and 8 points, but was not counted before it.
    QCOMPARE(inst.state.run.alreadyCleared, 0);

    QVERIFY(countResults(inst.state));
    QVERIFY(alreadyCleared(inst.state, 1, 5));
    QVERIFY(recordRun(inst.state, 1));
    QCOMPARE(inst.state.run.alreadyCleared, 1);

    // Runs alone are not enough: the points must be there too.
    inst.state.criteria[1].clearPoints = 100;
    QVERIFY(countResults(inst.state));
    QVERIFY(recordRun(inst.state, 1));
    QCOMPARE(inst.state.run.alreadyCleared, 0);
}

void RecordRunTest::onlyAStrictlyLowerTimeIsANewBest() {
    TestInstallation inst;
    const int today = todayNumber(inst.env);
    writeResults(inst, {makeRecord(today, 0, 5, 1, 40), makeRecord(today, 0, 6, 1, 35)});
    prepare(inst, 5, 40);
    QVERIFY(countResults(inst.state));

    QVERIFY(recordRun(inst.state, 1)); // equal to the best: nothing new
    QCOMPARE(inst.state.run.newBestFlags[0], 0);
    QCOMPARE(inst.state.run.newBestFlags[1], 0);
    QCOMPARE(bestSeconds(inst.state, 1, 5), 40);

    inst.state.run.resultTime = 39; // the pupil's best, not the school's
    QVERIFY(recordRun(inst.state, 1));
    QCOMPARE(inst.state.run.newBestFlags[0], 1);
    QCOMPARE(inst.state.run.newBestFlags[1], 0);
    QCOMPARE(bestSeconds(inst.state, 1, 5), 39);

    inst.state.run.newBestFlags = {0, 0};
    inst.state.run.resultTime = 35; // equal to the school's best
    QVERIFY(recordRun(inst.state, 1));
    QCOMPARE(inst.state.run.newBestFlags[1], 0);
    inst.state.run.resultTime = 34;
    QVERIFY(recordRun(inst.state, 1));
    QCOMPARE(inst.state.run.newBestFlags[0], 1);
    QCOMPARE(inst.state.run.newBestFlags[1], 1);
    QCOMPARE(schoolBestSeconds(inst.state, 1), 34);

    // The flags are the result screen's to reset: a slow run leaves them as they were.
    inst.state.run.resultTime = 90;
    QVERIFY(recordRun(inst.state, 1));
    QCOMPARE(inst.state.run.newBestFlags[0], 1);
    QCOMPARE(inst.state.run.newBestFlags[1], 1);
    QCOMPARE(bestSeconds(inst.state, 1, 5), 34);
    QCOMPARE(recordsOf(inst).size(), std::size_t{7});
}

void RecordRunTest::pupilsAbove1000LowerTheSchoolBestUntilTheRecount() {
    TestInstallation inst;
    const int today = todayNumber(inst.env);
    writeResults(inst, {makeRecord(today, 0, 1, 1, 30)});
    prepare(inst, 1500, 20);
    QVERIFY(countResults(inst.state));
    QCOMPARE(schoolBestSeconds(inst.state, 1), 30);
    QVERIFY(recordRun(inst.state, 1));
    QCOMPARE(inst.state.run.newBestFlags[1], 1);
    QCOMPARE(schoolBestSeconds(inst.state, 1), 20);
    QVERIFY(countResults(inst.state));
    QCOMPARE(schoolBestSeconds(inst.state, 1), 30);
    QCOMPARE(bestSeconds(inst.state, 1, 1500), 20);
}

void RecordRunTest::overwritesATornTail() {
    TestInstallation inst;
    const int today = todayNumber(inst.env);
    const std::vector<ResultRecord> before = {makeRecord(today, 0, 1, 1, 30),
                                              makeRecord(today, 0, 2, 1, 31)};
    writeResults(inst, before, QByteArray(20, '\x7f'));
    prepare(inst, 3, 45);
    QVERIFY(recordRun(inst.state, 1));
    QCOMPARE(QFileInfo(resultsPath(inst)).size(), 3 * 44);
    const std::vector<ResultRecord> after = recordsOf(inst);
    QCOMPARE(after[0], before[0]);
    QCOMPARE(after[1], before[1]);
    QCOMPARE(int(after[2].pupilNo), 3);
    QCOMPARE(int(after[2].seconds), 45);
}

void RecordRunTest::lockIsHeldByTheOpenFileItself() {
    TestInstallation inst;
    writeResults(inst, {});
    RecordFile holder;
    QVERIFY(holder.open(resultsPath(inst), RecordFile::Access::ReadWrite).ok());
    QVERIFY(holder.tryLockExclusive().ok());
    {
        // Another handle of the same file opened and closed in this process must not
        // drop the lock (as closing would with per-process record locks).
        QFile other(resultsPath(inst));
        QVERIFY(other.open(QIODevice::ReadOnly));
        other.close();
    }
    RecordFile second;
    QVERIFY(second.open(resultsPath(inst), RecordFile::Access::ReadWrite).ok());
    QCOMPARE(second.tryLockExclusive().state, FileState::Busy);
    holder.close();
    QVERIFY(second.tryLockExclusive().ok());
}

void RecordRunTest::waitsForABusyFile() {
    TestInstallation inst;
    writeResults(inst, {});
    prepare(inst, 8, 50);
    RecordFile holder;
    QVERIFY(holder.open(resultsPath(inst), RecordFile::Access::ReadWrite).ok());
    QVERIFY(holder.tryLockExclusive().ok());

    const std::int64_t start = inst.env.monotonicMs();
    qint64 sizeWhileLocked = -1;
    ClockPump pump(inst.env, 250, [&] {
        if (holder.isOpen() && inst.env.monotonicMs() - start >= 3000) {
            sizeWhileLocked = QFileInfo(resultsPath(inst)).size();
            holder.close(); // the other copy is done
        }
    });
    QVERIFY(recordRun(inst.state, 1));
    const std::int64_t waited = inst.env.monotonicMs() - start;
    QCOMPARE(sizeWhileLocked, 0);              // nothing was written while the other held the file
    QCOMPARE(waited % 1000, 0);                // whole one-second waits ...
    QVERIFY(waited >= 3000 && waited <= 4000); // ... until the lock was free
    QVERIFY(pump.turns >= 12);                 // window events ran all the while
    QCOMPARE(inst.env.messages.size(), std::size_t{0});
    QCOMPARE(recordsOf(inst).size(), std::size_t{1});
}

void RecordRunTest::triesAnUnreachableFolderFourTimes() {
    TestInstallation inst;
    prepare(inst, 8, 50);
    QVERIFY(QDir(inst.drillDataFolder()).removeRecursively());
    const std::int64_t start = inst.env.monotonicMs();
    ClockPump pump(inst.env, 500);
    QVERIFY(!recordRun(inst.state, 1));
    QCOMPARE(inst.env.monotonicMs() - start, 15000); // three waits of five seconds
    QCOMPARE(inst.env.messages.size(), std::size_t{1});
    QCOMPARE(inst.env.messages[0].text,
             QStringLiteral("成績ランダムファイル記録") + systemErrorText(ENOENT));
    QCOMPARE(inst.env.endedWith, 1);
    QCOMPARE(inst.state.run.newBestFlags[0], 0); // not recorded, so no new best
    QCOMPARE(bestSeconds(inst.state, 1, 8), Statistics::noTime);
}

void RecordRunTest::goesOnWhenTheFolderComesBack() {
    TestInstallation inst;
    prepare(inst, 8, 50);
    QVERIFY(QDir(inst.drillDataFolder()).removeRecursively());
    const std::int64_t start = inst.env.monotonicMs();
    ClockPump pump(inst.env, 500, [&] {
        if (inst.env.monotonicMs() - start >= 7000) {
            QDir().mkpath(inst.drillDataFolder()); // the server is back
        }
    });
    QVERIFY(recordRun(inst.state, 1));
    QCOMPARE(inst.env.monotonicMs() - start, 10000); // the third try found it
    QCOMPARE(inst.env.messages.size(), std::size_t{0});
    QCOMPARE(recordsOf(inst).size(), std::size_t{1});
    QCOMPARE(inst.state.run.newBestFlags[0], 1);
}

void RecordRunTest::aFailedWriteIsNotARecordedRun() {
    if (!QFileInfo::exists(QStringLiteral("/dev/full"))) {
        QSKIP("needs /dev/full");
    }
    TestInstallation inst;
    prepare(inst, 8, 50);
    // A disk that is full: every write fails.
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), resultsPath(inst)));
    QVERIFY(!recordRun(inst.state, 1));
    QCOMPARE(inst.env.messages.size(), std::size_t{1});
    QCOMPARE(inst.env.messages[0].text,
             QStringLiteral("成績ランダムファイル記録") + systemErrorText(ENOSPC));
    QCOMPARE(inst.env.endedWith, 1);
    QCOMPARE(inst.state.run.newBestFlags[0], 0);
    QCOMPARE(inst.state.run.newBestFlags[1], 0);
    QCOMPARE(bestSeconds(inst.state, 1, 8), Statistics::noTime);
}

void RecordRunTest::refusesRunsOutsideTheTables() {
    struct Case {
        int level, pupil;
    } cases[] = {{36, 1}, {0, 1}, {1, 0}, {1, 5001}, {-1, 3}};
    for (const Case& c : cases) {
        TestInstallation inst;
        prepare(inst, c.pupil, 50);
        QVERIFY(!recordRun(inst.state, c.level));
        QCOMPARE(inst.env.messages.size(), std::size_t{1});
        QVERIFY(inst.env.messages[0].text.startsWith(QStringLiteral("Seisekikiroku")));
        QVERIFY(inst.env.messages[0].text.endsWith(QString::number(EINVAL)));
        QCOMPARE(inst.env.endedWith, 1);
        QVERIFY(!QFileInfo::exists(resultsPath(inst)));
    }
    TestInstallation inst;
    prepare(inst, 1, 50);
    inst.state.run.levelNo = 40;
    QVERIFY(!appendResult(inst.state));
    QVERIFY(inst.env.messages.at(0).text.startsWith(QStringLiteral("成績ランダムファイル記録")));
    QVERIFY(!QFileInfo::exists(resultsPath(inst)));
}

void RecordRunTest::readerFailuresEndWithTheirMessages() {
    // A folder where the file should be: the description names the path and what stands
    // there.
    auto folderText = [](const TestInstallation& inst) {
        return QStringLiteral("成績累積データ.dat の場所「%1」にあるのはファイルではなくフォルダ"
                              "です。このフォルダを移すか名前を変えてください。")
            .arg(resultsPath(inst));
    };
    {
        TestInstallation inst;
        QVERIFY(QDir(inst.drillDataFolder()).removeRecursively());
        const std::int64_t start = inst.env.monotonicMs();
        ClockPump pump(inst.env, 1000);
        QVERIFY(!countResults(inst.state));
        QCOMPARE(inst.env.monotonicMs() - start, 15000);
        QCOMPARE(inst.env.messages.size(), std::size_t{1});
        QCOMPARE(inst.env.messages[0].text, QStringLiteral("ファイルがありません3") +
                                                systemErrorText(ENOENT) + QString::number(ENOENT));
        QCOMPARE(inst.env.endedWith, 1);
    }
    {
        TestInstallation inst;
        QVERIFY(QDir().mkpath(resultsPath(inst))); // a folder where the file should be
        QVERIFY(!countResults(inst.state));
        QCOMPARE(inst.env.messages.size(), std::size_t{1});
        const QString n = QString::number(EISDIR);
        // The description names the path and what stands there.
        const QString folder =
            QStringLiteral("成績累積データ.dat の場所「%1」にあるのはファイルでは"
                           "なくフォルダです。このフォルダを移すか名前を変えて"
                           "ください。")
                .arg(resultsPath(inst));
        QCOMPARE(inst.env.messages[0].text,
                 QStringLiteral("成績ランダムファイル表示3") + n + folder + n +
                     QStringLiteral("/date1899/12/30/i=0/time=0:00:00/name=/Bangou=0/level=0/"
                                    "time=0line3"));
        QCOMPARE(inst.env.endedWith, 1);
        QVERIFY(inst.state.stats.loadedResults.empty());
    }
    {
        TestInstallation inst;
        QVERIFY(QDir().mkpath(resultsPath(inst)));
        ResultsTail tail;
        QVERIFY(!readResultsTail(inst.state, 1000, tail, QStringLiteral("Command5")));
        QCOMPARE(inst.env.messages.at(0).text,
                 QStringLiteral("Command5") + folderText(inst) + QString::number(EISDIR));
    }
}

QTEST_GUILESS_MAIN(RecordRunTest)
#include "test_record_run.moc"
