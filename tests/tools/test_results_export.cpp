// The results as a spreadsheet: the CSV file is read back with a careful reader of its
// own (quoted fields, doubled quotes, CR LF) and every column checked against the
// records, the roster's names and the points rule. The school's files are never the
// target, however they are spelt, and an export killed half-way leaves the target as it was.

#include "makedemo/DemoInstallation.h"
#include "records/RecordsTestSupport.h"
#include "support/TestInstallation.h"
#include "tools/ResultsExport.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <limits>

namespace {

using Rows = QList<QStringList>;

// RFC 4180: fields separated by ",", records by CR LF, a quoted field may hold commas,
// line breaks and doubled quotes. Fails the test on a lone LF or a stray quote.
Rows readCsv(const QByteArray& bytes, bool* wellFormed) {
    *wellFormed = bytes.startsWith("\xEF\xBB\xBF");
    const QString text = QString::fromUtf8(bytes.mid(3));
    Rows rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
            wasQuoted = false;
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            row << field;
            rows << row;
            row.clear();
            field.clear();
            wasQuoted = false;
            ++i;
        } else if (c == u'\n' || c == u'"' || wasQuoted) {
            *wellFormed = false;
        } else {
            field += c;
        }
    }
    *wellFormed = *wellFormed && !quoted && row.isEmpty() && field.isEmpty();
    return rows;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file below folder (a link by what it points to), by canonical path.
QMap<QString, QByteArray> filesUnder(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        files.insert(info.isSymLink() ? info.absoluteFilePath() : info.canonicalFilePath(),
                     info.isSymLink() ? "-> " + info.symLinkTarget().toUtf8()
                                      : readAll(info.filePath()));
    }
    return files;
}

void startExport(QProcess& process, const QString& target, const QString& programFolder) {
    process.setProgram(QStringLiteral(MIRUNEA_PATH));
    process.setArguments({QStringLiteral("--export-results"), target,
                          QStringLiteral("--install-root"), programFolder});
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    process.setProcessEnvironment(environment);
    process.start();
    QVERIFY(process.waitForStarted());
}

// Lays out what a case needs in the installation and gives the path to export to.
using Target = std::function<QString(const TestInstallation&)>;

} // namespace

class ResultsExportTest : public QObject {
    Q_OBJECT

private slots:
    void everyRecordOneRow_data();
    void everyRecordOneRow();
    void schoolFilesAreNeverTheTarget_data();
    void schoolFilesAreNeverTheTarget();
    void theProgramLeavesTheTargetWhenRefusedOrKilled();
};

void ResultsExportTest::everyRecordOneRow_data() {
    QTest::addColumn<QString>("from"); // yyyy-MM-dd or empty
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("pupil");
    QTest::addColumn<QList<int>>("numbers"); // record numbers expected as rows

    QTest::newRow("all") << ""
                         << "" << 0 << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("one pupil") << ""
                               << "" << 2 << QList<int>{2, 5, 6};
    QTest::newRow("from the 8th") << "2026-12-08"
                                  << "" << 0 << QList<int>{3, 4, 5};
    QTest::newRow("up to the 7th") << ""
                                   << "2026-12-07" << 0 << QList<int>{1, 2};
    QTest::newRow("one day, one pupil") << "2026-12-08"
                                        << "2026-12-08" << 1 << QList<int>{4};
}

void ResultsExportTest::everyRecordOneRow() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, pupil);
    QFETCH(QList<int>, numbers);

    TestInstallation inst; // 9 December 2026
    const int today = dayNumber(QDate(2026, 12, 9));
    LevelCriteria& c = inst.state.criteria[1];
    c.targetSeconds = 30;
    c.minimumSeconds = 40;
    c.pointFactor = 1.5f;
    inst.state.profile.levelNames[1] = QStringLiteral("レベル１");
    ResultRecord other = makeRecord(today - 1, 3600, 1, 1, 20);
    other.setSchoolCode(QStringLiteral("12345"));
    ResultRecord nan = makeRecord(0, 0, 2, 1, 20);
    nan.runDate = std::numeric_limits<double>::quiet_NaN();
    const std::vector<ResultRecord> records = {
        makeRecord(today - 3, 45296, 1, 1, 15), // 1: 12:34:56
        makeRecord(today - 2, 0, 2, 1, 99999),  // 2: timed out
        makeRecord(today - 1, 60, 3, 1, -5),    // 3: no copy writes this
        other,                                  // 4: another school
        makeRecord(today, 86399, 2, 7, 31),     // 5: 23:59:59, no criteria: 0 points
        nan,                                    // 6: no date
    };
    inst.writeBytes(inst.drillDataFolder() + QStringLiteral("成績累積データ.dat"),
                    encodeAll(records) + QByteArray(7, 'x'));
    PupilLabels pupils;
    pupils.names[1] = QStringLiteral("山田,\"一郎\"");
    pupils.grades[1] = QStringLiteral("小3");
    pupils.names[2] = QStringLiteral("佐藤");

    ExportFilter filter;
    if (!from.isEmpty()) {
        filter.fromDay = dayNumber(QDate::fromString(from, Qt::ISODate));
    }
    if (!to.isEmpty()) {
        filter.toDay = dayNumber(QDate::fromString(to, Qt::ISODate));
    }
    filter.pupil = pupil;
    const QString csv = inst.root() + QStringLiteral("/成績.csv");
    const ExportOutcome outcome = exportResults(inst.state, pupils, filter, csv);
    QVERIFY2(outcome.ok, qPrintable(outcome.error));
    QCOMPARE(outcome.records, 6);
    QCOMPARE(outcome.rows, numbers.size());

    bool wellFormed = false;
    const Rows rows = readCsv(readAll(csv), &wellFormed);
    QVERIFY(wellFormed);
    QCOMPARE(rows.size(), numbers.size() + 1);
    QCOMPARE(rows[0], resultsExportHeader());
    // Every row: number, date, time, pupil, name, grade, level, level name, seconds,
    // timed out, points, school code, note.
    const QMap<int, QStringList> expected = {
        {1,
         {"1", "2026-12-06", "12:34:56", "1", "山田,\"一郎\"", "小3", "1", "レベル１", "15", "",
          "16", "", ""}},
        {2,
         {"2", "2026-12-07", "00:00:00", "2", "佐藤", "", "1", "レベル１", "", "時間切れ", "0", "",
          ""}},
        {3,
         {"3", "2026-12-08", "00:01:00", "3", "", "", "1", "レベル１", "-5", "", "", "",
          "タイム -5 秒はありえない値です"}},
        {4,
         {"4", "2026-12-08", "01:00:00", "1", "山田,\"一郎\"", "小3", "1", "レベル１", "20", "",
          "9", "12345", ""}},
        {5, {"5", "2026-12-09", "23:59:59", "2", "佐藤", "", "7", "", "31", "", "0", "", ""}},
        {6,
         {"6", "", "00:00:00", "2", "佐藤", "", "1", "レベル１", "20", "", "", "",
          "日付（nan）が日付として読めません"}},
    };
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        QCOMPARE(rows[i + 1], expected.value(numbers[i]));
    }
}

void ResultsExportTest::schoolFilesAreNeverTheTarget_data() {
    QTest::addColumn<Target>("target");
    QTest::addColumn<bool>("written");

    auto results = [](const TestInstallation& inst) {
        return inst.drillDataFolder() + QStringLiteral("成績累積データ.dat");
    };
    QTest::newRow("results file") << Target(results) << false;
    QTest::newRow("roster") << Target([](const TestInstallation& inst) {
        return inst.dataRoot() + QStringLiteral("新名簿.txt");
    }) << false;
    QTest::newRow("criteria") << Target([](const TestInstallation& inst) {
        return inst.drillDataFolder() + QStringLiteral("タイム回数データ.txt");
    }) << false;
    QTest::newRow("path file") << Target([](const TestInstallation& inst) {
        return inst.writeBytes(inst.root() + QStringLiteral("/programs/パスデータ.txt"), "data");
    }) << false;
    QTest::newRow("results through a linked data root") << Target([](const TestInstallation& inst) {
        const QString link = inst.root() + QStringLiteral("/link");
        QFile::link(inst.dataRoot(), link);
        return link + QStringLiteral("/ミルネア/成績累積データ.dat");
    }) << false;
    QTest::newRow("an existing csv through a linked program folder")
        << Target([](const TestInstallation& inst) {
               inst.writeBytes(inst.programFolder() + QStringLiteral("プロト.csv"), "1,2");
               const QString link = inst.root() + QStringLiteral("/program-link");
               QFile::link(inst.programFolder(), link);
               return link + QStringLiteral("/プロト.csv");
           })
        << false;
    // A share that ignores case reaches the results file as "DATA/…/成績累積データ.DAT". Here
    // the file system tells case apart, so the differently spelt folder is made for real:
    // the export still refuses it, since it cannot know which kind of share it is writing to.
    QTest::newRow("results in another case") << Target([](const TestInstallation& inst) {
        QDir(inst.root()).mkpath(QStringLiteral("DATA/ミルネア"));
        return inst.root() + QStringLiteral("/DATA/ミルネア/成績累積データ.DAT");
    }) << false;
    QTest::newRow("transient copy") << Target([](const TestInstallation& inst) {
        return inst.drillDataFolder() + QStringLiteral("成績累積データtemp.dat");
    }) << false;
    QTest::newRow("a link elsewhere to the results file")
        << Target([results](const TestInstallation& inst) {
               const QString link = inst.root() + QStringLiteral("/成績.csv");
               QFile::link(results(inst), link);
               return link;
           })
        << false;
    QTest::newRow("a folder that does not exist") << Target([](const TestInstallation& inst) {
        return inst.root() + QStringLiteral("/ない/成績.csv");
    }) << false;
    QTest::newRow("a new csv in the data folder") << Target([](const TestInstallation& inst) {
        return inst.drillDataFolder() + QStringLiteral("成績.csv");
    }) << true;
    QTest::newRow("an earlier export replaced") << Target([](const TestInstallation& inst) {
        return inst.writeBytes(inst.root() + QStringLiteral("/成績.csv"), "earlier");
    }) << true;
}

void ResultsExportTest::schoolFilesAreNeverTheTarget() {
    QFETCH(Target, target);
    QFETCH(bool, written);

    TestInstallation inst;
    inst.writeBytes(inst.drillDataFolder() + QStringLiteral("成績累積データ.dat"),
                    encodeAll({makeRecord(46000, 0, 1, 1, 20)}));
    inst.writeBytes(inst.drillDataFolder() + QStringLiteral("タイム回数データ.txt"), "30,40\r\n");
    const QString path = target(inst);
    const QMap<QString, QByteArray> before = filesUnder(inst.root());

    const ExportOutcome outcome = exportResults(inst.state, PupilLabels{}, ExportFilter{}, path);
    QCOMPARE(outcome.ok, written);
    QMap<QString, QByteArray> after = filesUnder(inst.root());
    if (written) {
        QVERIFY(after.take(QFileInfo(path).canonicalFilePath()).startsWith("\xEF\xBB\xBF記録番号"));
        QMap<QString, QByteArray> others = before;
        others.remove(QFileInfo(path).canonicalFilePath());
        QCOMPARE(after, others); // no temporary file left behind either
    } else {
        QVERIFY2(outcome.error.contains(path), qPrintable(outcome.error));
        QCOMPARE(after, before);
    }
}

// The real program: refusing a school file, and exporting a large file killed half-way,
// it leaves the earlier export it was replacing and the results file as they were.
void ResultsExportTest::theProgramLeavesTheTargetWhenRefusedOrKilled() {
    if (!QFileInfo(QStringLiteral("/proc/self/fd")).isDir()) {
        QSKIP("the program's open files are read from /proc");
    }
    QTemporaryDir dir;
    const DemoInstallation demo =
        demoInstallationAt(dir.path() + QStringLiteral("/school"), QDate::currentDate());
    QString error;
    QVERIFY2(layOutDemoInstallation(demo, &error), qPrintable(error));
    const QString results = demo.drillDataFolder + QStringLiteral("成績累積データ.dat");
    {
        const QByteArray one =
            encodeAll({makeRecord(dayNumber(QDate::currentDate()), 0, 1, 1, 20)});
        QFile file(results);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (int i = 0; i < 1000000; ++i) {
            file.write(one);
        }
    }
    const QByteArray resultsBefore = readAll(results);
    const QString outFolder = dir.path() + QStringLiteral("/out");
    QDir().mkpath(outFolder);
    const QString csv = outFolder + QStringLiteral("/成績.csv");
    QFile earlier(csv);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier export");
    earlier.close();

    // The program refuses the results file reached through a linked data root, says so and
    // ends with status 1.
    const QString link = dir.path() + QStringLiteral("/link");
    QVERIFY(QFile::link(demo.dataRoot, link));
    QProcess refused;
    startExport(refused, link + QStringLiteral("/ミルネア/成績累積データ.dat"), demo.programFolder);
    QVERIFY(refused.waitForFinished(120000));
    QCOMPARE(refused.exitCode(), 1);
    QVERIFY(QString::fromUtf8(refused.readAllStandardError())
                .contains(QStringLiteral("書き出しませんでした")));

    QProcess process;
    startExport(process, csv, demo.programFolder);
    // Half-way: the program holds a file of its own in the target's folder with rows in it
    // (on Linux a file with no name until it is renamed into place, so it is found among
    // the program's open files).
    const QString outCanonical = QFileInfo(outFolder).canonicalFilePath() + QLatin1Char('/');
    auto writing = [&] {
        const QDir open(QStringLiteral("/proc/%1/fd").arg(process.processId()));
        for (const QFileInfo& fd :
             open.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            if (fd.symLinkTarget().startsWith(outCanonical) &&
                !fd.symLinkTarget().endsWith(QStringLiteral("/成績.csv")) && fd.size() > 0) {
                return true;
            }
        }
        return false;
    };
    QVERIFY(QTest::qWaitFor([&] { return writing() || process.state() == QProcess::NotRunning; },
                            120000));
    QVERIFY2(process.state() == QProcess::Running, "the export ended before it could be killed");
    process.kill();
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    QCOMPARE(readAll(csv), QByteArray("earlier export"));
    QVERIFY(readAll(results) == resultsBefore);
    QVERIFY(!process.readAllStandardOutput().contains("書き出しました"));
}

QTEST_MAIN(ResultsExportTest)
#include "test_results_export.moc"
