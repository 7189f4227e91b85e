// The teacher's record maintenance over a real results file: the list lines, changing a
// record, deleting one, and what another copy appending meanwhile keeps.

#include "RecordsTestSupport.h"
#include "records/FileRetry.h"
#include "records/RecordFile.h"
#include "records/RecordMaintenance.h"
#include "roster/RosterTestFiles.h"
#include "support/TestInstallation.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>

using rostertest::rosterLine;
using rostertest::writeRoster;

namespace {

const QChar fw(0x3000);

int day(int y, int m, int d) {
    return dayNumber(QDate(y, m, d));
}

ResultRecord coded(ResultRecord r, const char* code) {
    r.setSchoolCode(QString::fromLatin1(code));
    return r;
}

struct Fixture {
    TestInstallation inst;
    AppState& state = inst.state;
    FakeEnvironment& env = inst.env;

    Fixture() {
        state.config.schoolName = QStringLiteral("青葉教室");
        state.config.schoolCode = QStringLiteral("12345");
        // Birth years for the school year 2026: 2017 is 小３, 2013 中１, 2020 幼３.
        writeRoster(inst, rosterLine(12, 2017, QStringLiteral("山田　花子")) +
                              rosterLine(7, 2013, QStringLiteral("長谷川由美子さん")) +
                              rosterLine(5, 2020, QStringLiteral("鈴木"), 1) +
                              rosterLine(9, 1990, QStringLiteral("先生")));
    }
    QString path() const { return resultsFilePath(state); }
    void writeRecords(const std::vector<ResultRecord>& records, const QByteArray& extra = {}) {
        inst.writeBytes(path(), encodeAll(records) + extra);
    }
    QByteArray bytes() const { return fileBytes(path()); }
    std::vector<ResultRecord> records() const { return decodeAll(bytes()); }
    QStringList messageTexts() const {
        QStringList texts;
        for (const FakeEnvironment::Message& m : env.messages) {
            texts << m.text;
        }
        return texts;
    }
};

// Three records of this school: pupils 12, 7 and 5, levels 1..3, seconds 41..43.
std::vector<ResultRecord> threeRecords() {
    std::vector<ResultRecord> records;
    for (int i = 0; i < 3; ++i) {
        const int pupils[] = {12, 7, 5};
        records.push_back(coded(
            makeRecord(day(2026, 12, 1 + i), 9 * 3600 + i, pupils[i], 1 + i, 41 + i), "12345"));
    }
    return records;
}

const QString appender = QStringLiteral(RESULTS_APPENDER);

} // namespace

class RecordMaintenanceTest : public QObject {
    Q_OBJECT

private slots:
    void listLinesAsTheTeacherReadsThem();
    void anEmptyFileListsNothing();
    void longRecordNumbersKeepTheColumns();
    void aResultsFileThatCannotBeReadIsReported();
    void withoutASchoolCodeEveryRecordIsAnotherSchools();
    void deletingRenumbersAndSelectsTheNextLine();
    void aTornTailIsNeitherListedNorKept();
    void changingThePupilKeepsEveryOtherByte();
    void secondsAreRoundedHalvesToEven();
    void aChooserTextWithoutSlashMustNameOnePupil();
    void badSecondsAreRefusedAndNothingIsWritten();
    void aRecordChangedElsewhereIsNotOverwritten();
    void aChangeWaitsForTheLockOfAnotherCopy();
    void recordsAppendedByAnotherCopyDuringDeletionsAreKept();
    void aDeletionTheDiskInterrupts_data();
    void aDeletionTheDiskInterrupts();
};

void RecordMaintenanceTest::listLinesAsTheTeacherReadsThem() {
    Fixture f;
    ResultRecord level0 = coded(makeRecord(day(2026, 12, 3), 0, 12, 0, 10), "12345");
    f.writeRecords(
        {coded(makeRecord(day(2026, 12, 1), 9 * 3600 + 5 * 60 + 7, 12, 3, 45), "12345"),
         coded(makeRecord(day(2026, 12, 2), 12 * 3600 + 34 * 60 + 56, 7, 12, 99999), "99999"),
         level0, coded(makeRecord(day(2027, 1, 31), 23 * 3600 + 59 * 60 + 59, 321, 1, 7), "12345"),
         coded(makeRecord(day(2026, 11, 30), 10 * 3600, 5, 35, 123), "12345")});
    RecordMaintenance m(f.state);
    QVERIFY(m.buildList());
    QCOMPARE(m.totalText(), QStringLiteral("総レコード数:5"));
    const QStringList expected = {
        QStringLiteral(
            "   1 2026/12/01　  9:05:07ﾚﾍﾞﾙ3　   45秒 　  12 山田　花子　 小３++青葉教室"),
        QStringLiteral("   2 2026/12/02　 12:34:56ﾚﾍﾞﾙ12　99999秒 　   7 長谷川由美子 中１++他塾"),
        // Pupil 321 is not in the roster: no name, no grade.
        QStringLiteral("   4 2027/01/31　 23:59:59ﾚﾍﾞﾙ1　    7秒 　 321 ") + QString(6, fw) +
            QStringLiteral(" ++青葉教室"),
        // A roster line that is not listed for the pupils (status 1) still names its pupil.
        QStringLiteral("   5 2026/11/30　 10:00:00ﾚﾍﾞﾙ35　  123秒 　   5 鈴木") + QString(4, fw) +
            QStringLiteral(" 幼３++青葉教室"),
    };
    QCOMPARE(m.lines(), expected);
    // The level-0 record is left out, and the lines still name the records they show.
    QCOMPARE(m.recordOfLine(2), qint64(4));
    QCOMPARE(m.lineOfRecord(3), -1);
    QCOMPARE(
        m.chooserEntries(),
        QStringList({QStringLiteral("12 /  山田　花子"), QStringLiteral("7 /  長谷川由美子さん"),
                     QStringLiteral("5 /  鈴木"), QStringLiteral("9 /  先生")}));
    QCOMPARE(m.gradeLabel(9), QString()); // beyond 高１ there is no label
    QCOMPARE(m.pupilName(9), QStringLiteral("先生"));
    QVERIFY(f.env.messages.empty());
}

void RecordMaintenanceTest::anEmptyFileListsNothing() {
    Fixture f;
    RecordMaintenance m(f.state);
    QVERIFY(m.buildList()); // no file yet: it is made, empty
    QCOMPARE(m.totalText(), QStringLiteral("総レコード数:0"));
    QVERIFY(m.lines().isEmpty());
    QCOMPARE(f.bytes().size(), 0);
    QVERIFY(!m.openRecord(0));
    QVERIFY(!m.deleteLine(0));
    QCOMPARE(m.chooserEntries().size(), 4);
}

void RecordMaintenanceTest::aResultsFileThatCannotBeReadIsReported() {
    Fixture f;
    QVERIFY(QDir().mkpath(f.path())); // a folder where the file should be
    RecordMaintenance m(f.state);
    QVERIFY(!m.buildList());
    QVERIFY(m.lines().isEmpty());
    QCOMPARE(m.totalText(), QStringLiteral("総レコード数:0"));
    QCOMPARE(f.env.endedWith, -1); // the teacher stays on the screen
    const QString text = f.messageTexts().join(QLatin1Char('|'));
    QVERIFY2(text.contains(QStringLiteral("成績ファイルを読めませんでした。")) &&
                 text.contains(QDir::toNativeSeparators(f.path())),
             qPrintable(text));
}

void RecordMaintenanceTest::withoutASchoolCodeEveryRecordIsAnotherSchools() {
    Fixture f;
    f.state.config.schoolCode.clear();
    // The program writes an empty code as five spaces; it never equals the empty code.
    f.writeRecords({coded(makeRecord(day(2026, 12, 1), 0, 12, 1, 30), ""),
                    coded(makeRecord(day(2026, 12, 1), 60, 7, 1, 31), "12345")});
    RecordMaintenance m(f.state);
    QVERIFY(m.buildList());
    QCOMPARE(m.lines().size(), 2);
    for (const QString& line : m.lines()) {
        QVERIFY2(line.endsWith(QStringLiteral("++他塾")), qPrintable(line));
    }
}

void RecordMaintenanceTest::deletingRenumbersAndSelectsTheNextLine() {
    const std::vector<ResultRecord> three = threeRecords();
    {
        Fixture f;
        f.writeRecords(three);
        RecordMaintenance m(f.state);
        QVERIFY(m.buildList());
        QCOMPARE(m.deleteLine(2), std::optional<int>(1)); // the last: the new last line
        QCOMPARE(f.bytes(), encodeAll({three[0], three[1]}));
        QCOMPARE(m.lines().size(), 2);
        QCOMPARE(m.totalText(), QStringLiteral("総レコード数:2"));
    }
    {
        Fixture f;
        f.writeRecords(three);
        RecordMaintenance m(f.state);
        QVERIFY(m.buildList());
        QCOMPARE(m.deleteLine(0), std::optional<int>(0)); // the first: the one that followed
        QCOMPARE(f.bytes(), encodeAll({three[1], three[2]}));
        QVERIFY(m.lines()[0].startsWith(QStringLiteral("   1 2026/12/02")));
        QVERIFY(m.lines()[1].startsWith(QStringLiteral("   2 2026/12/03")));
        QCOMPARE(m.deleteLine(1), std::optional<int>(0));
        QCOMPARE(m.deleteLine(0), std::optional<int>(-1)); // nothing left to select
        QCOMPARE(f.bytes().size(), 0);
        QVERIFY(QFile::exists(f.path()));
    }
    {
        Fixture f;
        f.writeRecords(three);
        RecordMaintenance m(f.state);
        QVERIFY(m.buildList());
        QCOMPARE(m.deleteLine(1), std::optional<int>(1)); // the middle one
        QCOMPARE(f.bytes(), encodeAll({three[0], three[2]}));
        QVERIFY(f.env.messages.empty());
    }
}

void RecordMaintenanceTest::aTornTailIsNeitherListedNorKept() {
    Fixture f;
    const std::vector<ResultRecord> three = threeRecords();
    // A copy that died while writing left 20 bytes of a record behind.
    f.writeRecords({three[0], three[1]}, encodeAll({three[2]}).left(20));
    RecordMaintenance m(f.state);
    QVERIFY(m.buildList());
    QCOMPARE(m.totalText(), QStringLiteral("総レコード数:2"));
    QCOMPARE(m.lines().size(), 2);
    QCOMPARE(m.deleteLine(0), std::optional<int>(0));
    QCOMPARE(f.bytes(), encodeAll({three[1]}));
}

void RecordMaintenanceTest::changingThePupilKeepsEveryOtherByte() {
    Fixture f;
    const std::vector<ResultRecord> three = threeRecords();
    QByteArray original = encodeAll(three);
    original[44 + 39] = 'x'; // the unused bytes of another writer are kept as they are
    f.inst.writeBytes(f.path(), original);
    RecordMaintenance m(f.state);
    QVERIFY(m.buildList());
    const std::optional<OpenedRecord> opened = m.openRecord(1);
    QVERIFY(opened);
    QCOMPARE(opened->number, qint64(2));
    QCOMPARE(opened->levelText, QStringLiteral("2ﾚﾍﾞﾙ"));
    QCOMPARE(opened->dateText, QStringLiteral("2026/12/02"));
    QCOMPARE(opened->gradeLabel, QStringLiteral("中１"));
    QCOMPARE(opened->secondsText, QStringLiteral("42"));
    QCOMPARE(opened->chooserText, QStringLiteral("7 /  長谷川由美子さん"));

    QCOMPARE(m.rewriteRecord(QStringLiteral("58"), QStringLiteral("12 /  山田　花子")), 1);
    const QByteArray after = f.bytes();
    QCOMPARE(after.size(), original.size());
    QCOMPARE(after.left(44), original.left(44));
    QCOMPARE(after.mid(88), original.mid(88));
    const QByteArray before = original.mid(44, 44);
    const QByteArray changed = after.mid(44, 44);
    QCOMPARE(changed.left(16), before.left(16));     // date and time of day
    QCOMPARE(changed.mid(18, 2), before.mid(18, 2)); // level
    QCOMPARE(changed.mid(24), before.mid(24));       // school code, spare texts, unused bytes
    const ResultRecord r = decodeResultRecord(changed.constData());
    QCOMPARE(int(r.pupilNo), 12);
    QCOMPARE(int(r.seconds), 58);
    QVERIFY(m.lines()[1].contains(QStringLiteral("   58秒 　  12 山田　花子　 小３")));
}

void RecordMaintenanceTest::secondsAreRoundedHalvesToEven() {
    QCOMPARE(secondsOfText(QStringLiteral("75.5")), std::optional<int>(76));
    QCOMPARE(secondsOfText(QStringLiteral("76.5")), std::optional<int>(76));
    QCOMPARE(secondsOfText(QStringLiteral(" 76.51")), std::optional<int>(77));
    QCOMPARE(secondsOfText(QStringLiteral("99999")), std::optional<int>(99999));
    QCOMPARE(secondsOfText(QStringLiteral("0")), std::optional<int>(0));

    Fixture f;
    f.writeRecords(threeRecords());
    RecordMaintenance m(f.state);
    QVERIFY(m.buildList());
    QVERIFY(m.openRecord(0));
    QCOMPARE(m.rewriteRecord(QStringLiteral("30.5"), QStringLiteral("12 /  山田　花子")), 0);
    QCOMPARE(int(f.records()[0].seconds), 30);
}

void RecordMaintenanceTest::aChooserTextWithoutSlashMustNameOnePupil() {
    Fixture f;
    f.writeRecords(threeRecords());
    RecordMaintenance m(f.state);
    QVERIFY(m.buildList());
    QCOMPARE(m.pupilOfChooser(QStringLiteral("7 /  長谷川由美子さん")), std::optional<int>(7));
    QCOMPARE(m.pupilOfChooser(QStringLiteral(" 9")), std::optional<int>(9));
    QCOMPARE(m.pupilOfChooser(QStringLiteral("鈴木")), std::optional<int>(5));
    QCOMPARE(m.pupilOfChooser(QStringLiteral("だれか")), std::nullopt);
    QCOMPARE(m.pupilOfChooser(QStringLiteral("")), std::nullopt);
    QCOMPARE(m.pupilOfChooser(QStringLiteral("/ 7")), std::nullopt);
    QCOMPARE(m.pupilOfChooser(QStringLiteral("6000 / x")), std::nullopt);
    QCOMPARE(m.gradeLabelOfChooser(QStringLiteral("12 /  山田　花子")), QStringLiteral("小３"));

    // A typed-in name finds its pupil; an unknown one is refused and nothing is written.
    QVERIFY(m.openRecord(0));
    QCOMPARE(m.rewriteRecord(QStringLiteral("41"), QStringLiteral("鈴木")), 0);
    QCOMPARE(int(f.records()[0].pupilNo), 5);
    const QByteArray before = f.bytes();
    QCOMPARE(m.rewriteRecord(QStringLiteral("41"), QStringLiteral("だれか")), -1);
    QCOMPARE(f.bytes(), before);
    QCOMPARE(f.env.messages.size(), std::size_t(1));
    QCOMPARE(f.env.messages[0].title, QStringLiteral("注意"));
    QVERIFY(f.env.messages[0].text.contains(QStringLiteral("生徒が見つかりません")));

    // Two roster lines of one name leave a typed-in name undecided.
    writeRoster(f.inst, rosterLine(1, 2017, QStringLiteral("同名")) +
                            rosterLine(2, 2017, QStringLiteral("同名")));
    QVERIFY(m.buildList());
    QCOMPARE(m.pupilOfChooser(QStringLiteral("同名")), std::nullopt);
    QCOMPARE(m.pupilName(12), QString()); // the tables are filled afresh
}

void RecordMaintenanceTest::badSecondsAreRefusedAndNothingIsWritten() {
    Fixture f;
    f.writeRecords(threeRecords());
    const QByteArray before = f.bytes();
    RecordMaintenance m(f.state);
    QVERIFY(m.buildList());
    QVERIFY(m.openRecord(2));
    for (const char* text : {"", "abc", "-1", "100000"}) {
        QCOMPARE(m.rewriteRecord(QString::fromLatin1(text), QStringLiteral("5 /  鈴木")), -1);
    }
    QCOMPARE(f.bytes(), before);
    QCOMPARE(f.env.messages.size(), std::size_t(4));
    QVERIFY(f.env.messages[3].text.contains(QStringLiteral("0～99999")));
}

void RecordMaintenanceTest::aRecordChangedElsewhereIsNotOverwritten() {
    Fixture f;
    const std::vector<ResultRecord> three = threeRecords();
    f.writeRecords(three);
    RecordMaintenance m(f.state);
    QVERIFY(m.buildList());
    QVERIFY(m.openRecord(1));
    // Another teacher's PC deleted record 1 meanwhile: record 2 is now the old record 3.
    f.writeRecords({three[1], three[2]});
    QCOMPARE(m.rewriteRecord(QStringLiteral("10"), QStringLiteral("9")), -1);
    QCOMPARE(f.bytes(), encodeAll({three[1], three[2]}));
    QCOMPARE(f.env.messages.size(), std::size_t(1));
    QVERIFY(f.env.messages[0].text.contains(QStringLiteral("ほかのパソコン")));
    QCOMPARE(m.lines().size(), 2); // read again
    // A deletion of a line that no longer holds what the list shows is refused too.
    f.writeRecords({three[2], three[1]});
    QVERIFY(!m.deleteLine(0));
    QCOMPARE(f.bytes(), encodeAll({three[2], three[1]}));
}

void RecordMaintenanceTest::aChangeWaitsForTheLockOfAnotherCopy() {
    Fixture f;
    const std::vector<ResultRecord> three = threeRecords();
    f.writeRecords(three);
    RecordMaintenance m(f.state);
    QVERIFY(m.buildList());
    // Another copy holds the append lock; it lets go after three of the one-second waits.
    RecordFile other;
    QVERIFY(other.open(f.path(), RecordFile::Access::ReadWrite).ok());
    QVERIFY(other.tryLockExclusive().ok());
    int waits = 0;
    ClockPump pump(f.env, RetryRules::busyWaitMs, [&] {
        if (++waits == 3) {
            other.unlock();
        }
    });
    QCOMPARE(m.deleteLine(0), std::optional<int>(0));
    QVERIFY(waits >= 3);
    QCOMPARE(f.bytes(), encodeAll({three[1], three[2]}));
    QVERIFY(f.env.messages.empty());
}

void RecordMaintenanceTest::recordsAppendedByAnotherCopyDuringDeletionsAreKept() {
    Fixture f;
    // Forty old records of pupil 99 at level 2, seconds 1000..1039.
    std::vector<ResultRecord> old;
    for (int i = 0; i < 40; ++i) {
        old.push_back(coded(makeRecord(day(2026, 11, 1), i, 99, 2, 1000 + i), "12345"));
    }
    f.writeRecords(old);
    // A classroom PC recording runs of pupil 3 at level 1 (seconds 0, 1, 2, ...) without end.
    QProcess copy;
    copy.start(appender, {f.inst.drillDataFolder(), QStringLiteral("3"), QStringLiteral("0"),
                          QStringLiteral("0"), QStringLiteral("--fast-waits")});
    QVERIFY(copy.waitForStarted(30000));
    QByteArray output;
    while (!output.contains("appended ") && copy.state() == QProcess::Running) {
        copy.waitForReadyRead(30000);
        output += copy.readAllStandardOutput();
    }
    ClockPump pump(f.env, RetryRules::busyWaitMs);
    RecordMaintenance m(f.state);
    const auto appendedSoFar = [&] {
        int n = 0;
        for (const ResultRecord& r : f.records()) {
            n += r.pupilNo == 3 ? 1 : 0;
        }
        return n;
    };
    const int atFirst = appendedSoFar();
    constexpr int deletions = 25;
    for (int k = 0; k < deletions; ++k) {
        QVERIFY(m.buildList());
        // The oldest record of pupil 99 that is left.
        int line = 0;
        while (line < m.lines().size() && !m.lines()[line].contains(QStringLiteral("　  99 "))) {
            ++line;
        }
        QVERIFY(line < m.lines().size());
        // The other copy records another run after the list was read and before the
        // deletion takes the lock (and goes on while it holds it).
        const qsizetype reported = output.count("appended ");
        while (output.count("appended ") == reported && copy.state() == QProcess::Running) {
            copy.waitForReadyRead(30000);
            output += copy.readAllStandardOutput();
        }
        QVERIFY(output.count("appended ") > reported);
        QVERIFY(m.deleteLine(line));
    }
    const int atLast = appendedSoFar();
    copy.terminate();
    QVERIFY(copy.waitForFinished(30000));
    output += copy.readAllStandardOutput();
    QVERIFY(atLast >= atFirst + deletions);

    const std::vector<ResultRecord> records = f.records();
    QCOMPARE(f.bytes().size() % 44, 0);
    std::vector<int> appended;
    std::vector<int> kept;
    for (const ResultRecord& r : records) {
        (r.pupilNo == 3 ? appended : kept).push_back(r.seconds);
    }
    // Every run the copy recorded is there once, in order; none was lost to a deletion.
    QVERIFY(int(appended.size()) >= int(output.count("appended ")));
    for (std::size_t i = 0; i < appended.size(); ++i) {
        QCOMPARE(appended[i], int(i));
    }
    // Exactly the oldest 25 of pupil 99 went.
    QCOMPARE(int(kept.size()), 40 - deletions);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        QCOMPARE(kept[i], 1000 + deletions + int(i));
    }
    QVERIFY(f.env.messages.empty());
}

void RecordMaintenanceTest::longRecordNumbersKeepTheColumns() {
    // From record 10000 on the number is cut to its last four characters, as every other
    // right-aligned field, so the date and everything after it stay in their columns.
    const ResultRecord r = makeRecord(day(2026, 12, 1), 9 * 3600, 12, 3, 45);
    const QString tail = QStringLiteral(" 2026/12/01　  9:00:00ﾚﾍﾞﾙ3　   45秒 　  12 花子");
    const QString rest = QString(4, fw) + QStringLiteral(" 小３++青葉教室");
    const struct {
        qint64 number;
        const char* shown;
    } cases[] = {{9999, "9999"}, {10000, "0000"}, {12345, "2345"}, {1234567, "4567"}};
    for (const auto& c : cases) {
        const QString line = recordListLine(c.number, r, QStringLiteral("花子"),
                                            QStringLiteral("小３"), QStringLiteral("青葉教室"));
        QCOMPARE(line, QString::fromLatin1(c.shown) + tail + rest);
    }
}

// Record 6 of 40 deleted while the disk or the network share fails one of the steps: the
// move of the records behind it (a write), the flush after it, the cut, the last flush.
// `times` failures in a row from the nth step of its kind (99: every one after it); a
// write given `shortBytes` lets that many bytes through first.
void RecordMaintenanceTest::aDeletionTheDiskInterrupts_data() {
    QTest::addColumn<int>("step"); // a FileStep
    QTest::addColumn<int>("nth");
    QTest::addColumn<int>("times");
    QTest::addColumn<int>("shortBytes");
    QTest::addColumn<QString>("holds"); // as before, deleted, last twice, torn
    QTest::addColumn<QString>("told");  // a part of the one message; empty: none
    QTest::addColumn<QString>("then");  // the teacher's next change, with the disk well
    const QString notDeleted = QStringLiteral("消去できませんでした。ファイルは元のままです。");
    const QString twice = QStringLiteral("レコード 6 を消去しました。ただし、ファイルの整理が途"
                                         "中で止まったため、最後のレコードが二つ続いています（レ"
                                         "コード 39 と 40）");
    const QString unconfirmed = QStringLiteral("レコード 6 を消去しました。ただし、ディスクに"
                                               "書き込まれたことを確かめられませんでした。");
    const auto row = [](const char* name, FileStep step, int nth, int times, int shortBytes,
                        const char* holds, const QString& told, const char* then = "") {
        QTest::newRow(name) << static_cast<int>(step) << nth << times << shortBytes
                            << QString::fromLatin1(holds) << told << QString::fromLatin1(then);
    };
    row("move fails", FileStep::Write, 1, 99, -1, "before", notDeleted);
    row("move fails once", FileStep::Write, 1, 1, -1, "deleted", QString());
    row("move cut short, goes on", FileStep::Write, 1, 1, 100, "deleted", QString());
    row("move cut short, put back", FileStep::Write, 1, 5, 100, "before", notDeleted);
    row("move cut short, no way back", FileStep::Write, 1, 99, 100, "torn",
        QStringLiteral("元に戻すこともできませんでした"));
    row("first flush fails", FileStep::Flush, 1, 99, -1, "twice", twice, "delete");
    row("first flush fails once", FileStep::Flush, 1, 1, -1, "deleted", QString());
    row("cut fails", FileStep::Truncate, 1, 99, -1, "twice", twice, "correct");
    row("cut fails three times", FileStep::Truncate, 1, 3, -1, "deleted", QString());
    row("last flush fails", FileStep::Flush, 2, 99, -1, "deleted", unconfirmed);
    row("last flush fails once", FileStep::Flush, 2, 1, -1, "deleted", QString());
}

void RecordMaintenanceTest::aDeletionTheDiskInterrupts() {
    QFETCH(int, step);
    QFETCH(int, nth);
    QFETCH(int, times);
    QFETCH(int, shortBytes);
    QFETCH(QString, holds);
    QFETCH(QString, told);
    QFETCH(QString, then);
    Fixture f;
    std::vector<ResultRecord> forty;
    for (int i = 0; i < 40; ++i) {
        forty.push_back(coded(makeRecord(day(2026, 11, 1), i, 12, 2, 1000 + i), "12345"));
    }
    f.writeRecords(forty);
    const QByteArray before = f.bytes();
    f.env.fileFaults = [&](FileStep asked, int n) {
        FileFault fault;
        if (static_cast<int>(asked) == step && n >= nth && n < nth + times) {
            fault.errorNumber = EIO;
            if (n == nth && shortBytes >= 0) {
                fault = {0, shortBytes};
            }
        }
        return fault;
    };
    ClockPump pump(f.env, RetryRules::refusedStepWaitMs);
    RecordMaintenance m(f.state);
    QVERIFY(m.buildList());
    const std::optional<int> select = m.deleteLine(5);

    std::vector<ResultRecord> deleted = forty;
    deleted.erase(deleted.begin() + 5);
    QByteArray expected = encodeAll(deleted);
    if (holds == QLatin1String("before")) {
        expected = before;
    } else if (holds == QLatin1String("twice")) {
        expected += encodeAll({forty.back()});
    } else if (holds == QLatin1String("torn")) {
        expected = before.left(5 * 44) + encodeAll(deleted).mid(5 * 44, shortBytes) +
                   before.mid(5 * 44 + shortBytes);
    }
    QCOMPARE(f.bytes(), expected);
    QCOMPARE(select.has_value(), holds != QLatin1String("before"));
    // The list is read back from the file, whatever happened.
    QCOMPARE(m.lines().size(), expected.size() / 44);
    QCOMPARE(m.totalText(), QStringLiteral("総レコード数:%1").arg(expected.size() / 44));
    QCOMPARE(f.env.messages.size(), std::size_t(told.isEmpty() ? 0 : 1));
    if (!told.isEmpty()) {
        const QString text = f.env.messages[0].text;
        QVERIFY2(text.contains(told) && text.contains(QDir::toNativeSeparators(f.path())),
                 qPrintable(text));
        QCOMPARE(text.contains(QStringLiteral("できませんでした")),
                 holds == QLatin1String("before") || holds == QLatin1String("torn"));
    }

    // A record left twice goes with the teacher's next change, and the teacher is told.
    f.env.fileFaults = nullptr;
    f.env.messages.clear();
    if (then == QLatin1String("delete")) {
        QCOMPARE(m.deleteLine(0), std::optional<int>(0));
        deleted.erase(deleted.begin());
    } else if (then == QLatin1String("correct")) {
        QVERIFY(m.openRecord(38)); // the last record's first line
        QCOMPARE(m.rewriteRecord(QStringLiteral("7"), QStringLiteral("12")), 38);
        deleted.back().seconds = 7;
    } else {
        return;
    }
    QCOMPARE(f.bytes(), encodeAll(deleted));
    QCOMPARE(m.lines().size(), qsizetype(deleted.size()));
    QCOMPARE(f.env.messages.size(), std::size_t(1));
    QVERIFY(
        f.env.messages[0].text.contains(QStringLiteral("二つ続いていた最後のレコードは、一つに")));
}

QTEST_MAIN(RecordMaintenanceTest)
#include "test_record_maintenance.moc"
