// The technician's health check over a demo installation broken in one way at a time:
// every finding names the file (and line or record), the exit status says whether the
// program would start. Two cases run the real program as a process for the exit status.

#include "makedemo/DemoInstallation.h"
#include "records/ResultRecord.h"
#include "text/Cp932.h"
#include "text/DayNumber.h"
#include "tools/HealthCheck.h"
#include "tools/ToolEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

using Break = std::function<void(const DemoInstallation&)>;

QByteArray cp932(const QString& text) {
    return encodeCp932(text).value();
}

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void append(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(bytes);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString rosterPath(const DemoInstallation& d) {
    return d.dataRoot + QStringLiteral("新名簿.txt");
}
QString criteriaPath(const DemoInstallation& d) {
    return d.drillDataFolder + QStringLiteral("タイム回数データ.txt");
}
QString resultsPath(const DemoInstallation& d) {
    return d.drillDataFolder + QStringLiteral("成績累積データ.dat");
}
QString configPath(const DemoInstallation& d) {
    return d.dataRoot + QStringLiteral("共通データ.txt");
}

// One record as the program writes it, for the installation's school.
QByteArray record(double day, int pupil, int level, int seconds, const QString& code = "27183") {
    ResultRecord r;
    r.runDate = day;
    r.runClock = 0.5;
    r.pupilNo = static_cast<std::int16_t>(pupil);
    r.level = static_cast<std::int16_t>(level);
    r.seconds = seconds;
    r.setSchoolCode(code);
    const ResultRecordBytes bytes = encodeResultRecord(r);
    return QByteArray(bytes.data(), ResultRecord::size);
}

double today() {
    return dayNumber(QDate::currentDate());
}

// A criteria line of level `level` replaced by `line` (file line level + 1).
void replaceCriteriaLine(const DemoInstallation& d, int level, const QString& line) {
    QStringList lines = QString::fromUtf8(decodeCp932(readAll(criteriaPath(d)))->toUtf8())
                            .split(QStringLiteral("\r\n"));
    lines[level] = line;
    write(criteriaPath(d), cp932(lines.join(QStringLiteral("\r\n"))));
}

struct Installation {
    QTemporaryDir dir;
    DemoInstallation demo;
    Installation() {
        demo = demoInstallationAt(dir.path() + QStringLiteral("/school"), QDate::currentDate());
        QString error;
        if (!layOutDemoInstallation(demo, &error)) {
            qFatal("%s", qPrintable(error));
        }
        // The explanation video the level menu offers (the demo has none).
        write(demo.drillDataFolder + QStringLiteral("解説1.mp4"), QByteArray("video"));
    }
};

} // namespace

class HealthCheckTest : public QObject {
    Q_OBJECT

private slots:
    void findings_data();
    void findings();
    void theProgramAnswersWithItsExitStatus();
};

void HealthCheckTest::findings_data() {
    QTest::addColumn<Break>("breakIt");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<int>("level");    // FindingLevel of the finding looked for
    QTest::addColumn<QString>("file"); // the end of its file name
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("fragment");

    const int error = static_cast<int>(FindingLevel::Error);
    const int warning = static_cast<int>(FindingLevel::Warning);
    const int info = static_cast<int>(FindingLevel::Info);

    QTest::newRow("clean") << Break([](const DemoInstallation&) {}) << 0 << info
                           << "成績累積データ.dat"
                           << ""
                           << "使える記録";
    QTest::newRow("path file missing") << Break([](const DemoInstallation& d) {
        QFile::remove(d.parentFolder + QStringLiteral("パスデータ.txt"));
    }) << 1 << error << "パスデータ.txt"
                                       << ""
                                       << "ありません";
    QTest::newRow("data root without separator") << Break([](const DemoInstallation& d) {
        QString root = d.dataRoot;
        root.chop(1);
        write(d.parentFolder + QStringLiteral("パスデータ.txt"),
              cp932(QStringLiteral("\"%1\"\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n")
                        .arg(root)));
    }) << 1 << error << "パスデータ.txt"
                                                 << "1 行目"
                                                 << "区切り文字";
    QTest::newRow("start month 13") << Break([](const DemoInstallation& d) {
        QByteArray bytes = readAll(configPath(d));
        write(configPath(d), "13" + bytes.mid(bytes.indexOf('\r')));
    }) << 1 << error << "共通データ.txt"
                                    << ""
                                    << "「13」は 1～12";
    QTest::newRow("key file missing") << Break([](const DemoInstallation& d) {
        QFile::remove(d.keyFolder + QStringLiteral("/keypass.txt"));
    }) << 2 << warning << "keypass.txt"
                                      << ""
                                      << "開けません";
    QTest::newRow("roster missing")
        << Break([](const DemoInstallation& d) { QFile::remove(rosterPath(d)); }) << 1 << error
        << "新名簿.txt"
        << ""
        << "見つかりません";
    QTest::newRow("roster header line") << Break([](const DemoInstallation& d) {
        write(rosterPath(d),
              cp932(QStringLiteral("番号,年,a,b,名前,状態,c,d\r\n")) + readAll(rosterPath(d)));
    }) << 2 << warning << "新名簿.txt"
                                        << "1 行目"
                                        << "番号「番号」";
    QTest::newRow("roster short line") << Break([](const DemoInstallation& d) {
        append(rosterPath(d), cp932(QStringLiteral("4000,2015,0,0,\"短い\"\r\n")));
    }) << 2 << warning << "新名簿.txt"
                                       << "42 行目"
                                       << "8個そろっていません";
    QTest::newRow("roster not CP932") << Break([](const DemoInstallation& d) {
        append(rosterPath(d), QByteArray("4000,2015,0,0,\"\x82\",0,\"\",\"\"\r\n"));
    }) << 2 << warning << "新名簿.txt"
                                      << "42 行目"
                                      << "16 バイト目";
    QTest::newRow("roster number used twice") << Break([](const DemoInstallation& d) {
        append(rosterPath(d), cp932(QStringLiteral("1,2015,0,0,\"二人目\",0,\"\",\"\"\r\n")));
    }) << 2 << warning << "新名簿.txt"
                                              << "42 行目"
                                              << "番号 1 が 1 行目と 42 行目";
    QTest::newRow("roster long name") << Break([](const DemoInstallation& d) {
        append(
            rosterPath(d),
            cp932(QStringLiteral(
                "4000,2015,0,0,\"寿限無寿限無五劫の擦り切れ海砂利水魚の水行末\",0,\"\",\"\"\r\n")));
    }) << 2 << warning << "新名簿.txt"
                                      << "42 行目"
                                      << "22 文字";
    QTest::newRow("criteria time 0") << Break([](const DemoInstallation& d) {
        replaceCriteriaLine(d, 3, QStringLiteral("0,40,120,10,1,0,0,7,1,,,"));
    }) << 1 << error << "タイム回数データ.txt"
                                     << "4 行目"
                                     << "目標タイム 0 秒";
    QTest::newRow("criteria factor x") << Break([](const DemoInstallation& d) {
        replaceCriteriaLine(d, 2, QStringLiteral("30,40,120,10,x,0,0,7,1,,,"));
    }) << 1 << warning << "タイム回数データ.txt"
                                       << "3 行目"
                                       << "「x」";
    QTest::newRow("criteria value the editor cannot save") << Break([](const DemoInstallation& d) {
        replaceCriteriaLine(d, 2, QStringLiteral("30,40,120,10,1,0,0,7,1,\"a,b\",,"));
    }) << 2 << warning << "タイム回数データ.txt"
                                                           << "3 行目"
                                                           << "保存できません";
    QTest::newRow("criteria beyond level 35") << Break([](const DemoInstallation& d) {
        QString more;
        for (int level = 25; level <= 36; ++level) {
            more += QStringLiteral("30,40,120,10,1,0,0,7,1,,,\r\n");
        }
        append(criteriaPath(d), cp932(more));
    }) << 2 << warning << "タイム回数データ.txt"
                                              << "37 行目"
                                              << "35 より後";
    QTest::newRow("wave of the right answer missing") << Break([](const DemoInstallation& d) {
        QFile::remove(d.soundFolder + QStringLiteral("ピンポン2.wav"));
    }) << 1 << error << "ピンポン2.wav"
                                                      << ""
                                                      << "正解音2";
    QTest::newRow("no wave data") << Break([](const DemoInstallation& d) {
        write(d.soundFolder + QStringLiteral("ざんねん1.wav"), QByteArray("not a wave"));
    }) << 2 << warning << "ざんねん1.wav"
                                  << ""
                                  << "不合格音1";
    QTest::newRow("results torn tail")
        << Break([](const DemoInstallation& d) { append(resultsPath(d), QByteArray(20, '\0')); })
        << 2 << warning << "成績累積データ.dat"
        << "記録 %appended"
        << "20 バイト";
    QTest::newRow("results foreign level") << Break([](const DemoInstallation& d) {
        append(resultsPath(d), record(today(), 1, 99, 30));
    }) << 2 << warning << "成績累積データ.dat"
                                           << "記録 %appended"
                                           << "レベル 99";
    QTest::newRow("results negative seconds") << Break([](const DemoInstallation& d) {
        append(resultsPath(d), record(today(), 1, 1, -5));
    }) << 2 << warning << "成績累積データ.dat"
                                              << "記録 %appended"
                                              << "-5 秒";
    QTest::newRow("results in the future") << Break([](const DemoInstallation& d) {
        append(resultsPath(d), record(today() + 3, 1, 1, 30));
    }) << 2 << warning << "成績累積データ.dat"
                                           << "記録 %appended"
                                           << "今日より後";
    QTest::newRow("results before 2000")
        << Break([](const DemoInstallation& d) { append(resultsPath(d), record(100, 1, 1, 30)); })
        << 2 << warning << "成績累積データ.dat"
        << "記録 %appended"
        << "2000 年より前";
    QTest::newRow("results twice in a row") << Break([](const DemoInstallation& d) {
        const QByteArray bytes = readAll(resultsPath(d));
        append(resultsPath(d), bytes.right(ResultRecord::size));
    }) << 2 << warning << "成績累積データ.dat"
                                            << "記録 %appended"
                                            << "記録 %last と同じ";
    QTest::newRow("results of another school") << Break([](const DemoInstallation& d) {
        append(resultsPath(d), record(today(), 1, 1, 30, "99999"));
    }) << 0 << info << "成績累積データ.dat"
                                               << "記録 %appended"
                                               << "塾コード「99999」";
    QTest::newRow("results of a pupil not in the roster") << Break([](const DemoInstallation& d) {
        append(resultsPath(d), record(today(), 3000, 1, 30));
    }) << 0 << info << "成績累積データ.dat"
                                                          << "記録 %appended"
                                                          << "生徒番号 3000";
    QTest::newRow("results path is a folder") << Break([](const DemoInstallation& d) {
        QFile::remove(resultsPath(d));
        QDir().mkpath(resultsPath(d));
    }) << 1 << error << "成績累積データ.dat"
                                              << ""
                                              << "フォルダ";
    QTest::newRow("explanation address not CP932") << Break([](const DemoInstallation& d) {
        write(d.drillDataFolder + QStringLiteral("解説アドレス.txt"), QByteArray("\x82\r\n"));
    }) << 2 << warning << "解説アドレス.txt"
                                                   << ""
                                                   << "解説1.mp4";
    QTest::newRow("explanation video missing") << Break([](const DemoInstallation& d) {
        write(d.drillDataFolder + QStringLiteral("解説アドレス.txt"),
              cp932(QStringLiteral("\"説明.mp4\"\r\n")));
    }) << 2 << warning << "説明.mp4"
                                               << ""
                                               << "ありません";
    // The check reads the address by the program's own rule: only a lower-case "swf" ending
    // opens the browser, anything else is a video in the data folder.
    QTest::newRow("explanation animation") << Break([](const DemoInstallation& d) {
        write(d.drillDataFolder + QStringLiteral("解説アドレス.txt"),
              cp932(QStringLiteral("\"解説.swf\"\r\n")));
    }) << 0 << info << "解説アドレス.txt"
                                           << ""
                                           << "ブラウザで開きます";
    QTest::newRow("explanation upper-case SWF is a video") << Break([](const DemoInstallation& d) {
        write(d.drillDataFolder + QStringLiteral("解説アドレス.txt"),
              cp932(QStringLiteral("\"解説.SWF\"\r\n")));
        write(d.drillDataFolder + QStringLiteral("解説.SWF"), QByteArray("video"));
    }) << 0 << info << "解説.SWF"
                                                           << ""
                                                           << "解説の動画があります";
}

void HealthCheckTest::findings() {
    QFETCH(Break, breakIt);
    QFETCH(int, exitStatus);
    QFETCH(int, level);
    QFETCH(QString, file);
    QFETCH(QString, place);
    QFETCH(QString, fragment);

    Installation inst;
    // A record the case appends is numbered after the demo's own records.
    const qint64 demoRecords = QFileInfo(resultsPath(inst.demo)).size() / ResultRecord::size;
    for (QString* text : {&place, &fragment}) {
        text->replace(QLatin1String("%appended"), QString::number(demoRecords + 1));
        text->replace(QLatin1String("%last"), QString::number(demoRecords));
    }
    breakIt(inst.demo);
    const QByteArray resultsBefore = readAll(resultsPath(inst.demo));
    const QByteArray rosterBefore = readAll(rosterPath(inst.demo));

    ToolEnvironment env;
    const HealthReport report = checkInstallation(env, inst.demo.programFolder);
    QStringList lines;
    for (const Finding& f : report.findings) {
        lines << findingLine(f);
    }
    const QString all = lines.join(QLatin1Char('\n'));
    QCOMPARE(report.exitStatus(), exitStatus);
    const auto found =
        std::find_if(report.findings.begin(), report.findings.end(), [&](const Finding& f) {
            return static_cast<int>(f.level) == level && f.file.endsWith(file) &&
                   f.place == place && f.text.contains(fragment);
        });
    QVERIFY2(found != report.findings.end(), qPrintable(all));
    QVERIFY(summaryLine(report).contains(
        QStringLiteral("エラー %1 件").arg(report.count(FindingLevel::Error))));
    // Read-only: nothing was created or changed.
    QCOMPARE(readAll(resultsPath(inst.demo)), resultsBefore);
    QCOMPARE(readAll(rosterPath(inst.demo)), rosterBefore);
    QCOMPARE(env.endedWith == -1 || exitStatus == 1, true);
}

void HealthCheckTest::theProgramAnswersWithItsExitStatus() {
    Installation inst;
    auto check = [&](const QStringList& arguments, QString* out) {
        QProcess process;
        process.setProgram(QStringLiteral(MIRUNEA_PATH));
        process.setArguments(arguments);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM")); // no window system is needed
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        process.setProcessEnvironment(environment);
        process.start();
        if (!process.waitForFinished(60000)) {
            return -1;
        }
        *out = QString::fromUtf8(process.readAllStandardOutput());
        return process.exitCode();
    };
    QString out;
    QCOMPARE(check({"--check", "--install-root", inst.demo.programFolder}, &out), 0);
    QVERIFY2(out.contains(QStringLiteral("エラー 0 件、注意 0 件")), qPrintable(out));

    QFile::remove(inst.demo.soundFolder + QStringLiteral("ブブー1.wav"));
    QCOMPARE(check({"--check", "--install-root", inst.demo.programFolder}, &out), 1);
    QVERIFY2(out.contains(QStringLiteral("ブブー1.wav")), qPrintable(out));

    QCOMPARE(check({"--check", "--pupil", "3"}, &out), 64);

    // The export of one pupil's runs from the same installation.
    const QString csv = inst.dir.path() + QStringLiteral("/一人.csv");
    QCOMPARE(
        check({"--export-results", csv, "--pupil", "1", "--install-root", inst.demo.programFolder},
              &out),
        0);
    const QByteArray bytes = readAll(csv);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF記録番号,日付,"));
    const QList<QByteArray> lines = bytes.mid(3).split('\n');
    QVERIFY(lines.size() > 2 && lines.last().isEmpty());
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        QVERIFY(lines[i].endsWith('\r'));
        QCOMPARE(lines[i].split(',').value(3), QByteArray("1"));
    }
    QVERIFY2(out.contains(QStringLiteral("%1 件を").arg(lines.size() - 2)), qPrintable(out));
    QCOMPARE(check({"--export-results", csv, "--from", "2026-13-01"}, &out), 64);
}

QTEST_MAIN(HealthCheckTest)
#include "test_health_check.moc"
