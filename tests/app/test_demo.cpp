#include "app/Startup.h"
#include "makedemo/DemoInstallation.h"
#include "makedemo/DemoRoster.h"
#include "records/ResultsFile.h"
#include "support/TestInstallation.h"
#include "text/Cp932.h"
#include "text/ItemReader.h"
#include "text/TextFile.h"
#include "tools/SchoolSounds.h"
#include "tools/WaveSynth.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <set>

// The demo installation must be a real one: the program starts on it, every text file is
// CP932 with CR LF in the layouts the school's PCs write, and the sounds are sound.
namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

// Lines of a CP932 file split on CR LF; fails the test on a bare LF or CR.
QStringList crlfLines(const QString& path) {
    const QByteArray bytes = fileBytes(path);
    if (bytes.isEmpty() || !bytes.endsWith("\r\n")) {
        qWarning("%s does not end with CR LF", qPrintable(path));
        return {};
    }
    if (bytes.count('\n') != bytes.count("\r\n") || bytes.count('\r') != bytes.count("\r\n")) {
        qWarning("%s has a line end other than CR LF", qPrintable(path));
        return {};
    }
    const std::optional<QString> text = decodeCp932(bytes);
    if (!text) {
        qWarning("%s is not CP932", qPrintable(path));
        return {};
    }
    QStringList lines = text->split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

std::vector<Item> itemsOf(const QString& line) {
    std::vector<Item> items;
    ItemReader reader(line);
    while (std::optional<Item> item = reader.next()) {
        items.push_back(*item);
    }
    return items;
}

struct Demo {
    explicit Demo(const QDate& today = QDate(2026, 12, 9)) {
        demo = demoInstallationAt(dir.path(), today);
        QString error;
        ok = layOutDemoInstallation(demo, &error);
        if (!ok) {
            qWarning("%s", qPrintable(error));
        }
    }
    QTemporaryDir dir;
    DemoInstallation demo;
    bool ok = false;
};

int gradeIndex(int schoolYear, int birthYear) {
    return schoolYear - birthYear - 6;
}

} // namespace

class DemoTest : public QObject {
    Q_OBJECT

private slots:
    void programStartsOnTheDemo();
    void textFilesAreCp932WithCrLf();
    void pathFileAndConfiguration();
    void rosterLinesMatchTheSchoolsFormat();
    void rosterCoversTheSchool();
    void rosterFollowsTheSchoolYear();
    void criteriaFile();
    void soundTableNamesThePlayedCues();
    void wavesArePleasantAndWellFormed();
    void synthesisedPitchAndTiming();
    void waveFileRoundTrip();
    void toolLaysOutAFolder();
};

void DemoTest::programStartsOnTheDemo() {
    Demo d;
    QVERIFY(d.ok);
    FakeEnvironment env;
    AppState state;
    state.env = &env;
    QVERIFY(initialiseProgram(state, d.demo.programFolder));
    QVERIFY(env.messages.empty());
    QCOMPARE(env.endedWith, -1);
    QCOMPARE(state.layout.dataRoot, d.demo.dataRoot);
    QCOMPARE(state.layout.drillFolderName, demoDrillFolderName);
    QCOMPARE(state.layout.drillDataFolder, d.demo.drillDataFolder);
    QCOMPARE(state.config.schoolYearStartMonth, 4.0);
    QCOMPARE(state.config.schoolCode, demoSchoolCode);
    QCOMPARE(state.config.schoolName, demoSchoolName);
    QCOMPARE(state.config.showStatus2Pupils, 0.0);
    for (int level = 1; level <= 3; ++level) {
        const LevelCriteria& c = state.criteria[level];
        QVERIFY(c.targetSeconds >= 30 && c.targetSeconds <= 180);
        QVERIFY(c.minimumSeconds > c.targetSeconds);
        QVERIFY(c.clearCount > 0 && c.clearPoints > 0 && c.clearPoints < 9999);
        QVERIFY(c.pointFactor >= 1);
        QVERIFY(c.judgeDays >= 1);
    }
    QVERIFY(state.criteria[24].targetSeconds > 0);
    // The results file holds a few hundred whole 44-byte records the counter reads.
    const qint64 resultsSize = QFileInfo(resultsFilePath(state)).size();
    QVERIFY2(resultsSize >= 100 * 44 && resultsSize % 44 == 0,
             qPrintable(QString::number(resultsSize)));
    QVERIFY(countResults(state));
    QVERIFY(env.messages.empty());
    // The four played cues are named, each with files that exist.
    for (int cue : {2, 4, 8, 10}) {
        const SoundCue& c = state.sounds.cues[cue];
        const int count = c.fileCount.toInt();
        QVERIFY2(count >= 1 && count <= 3, qPrintable(c.name));
        for (int i = 1; i <= count; ++i) {
            QVERIFY2(QFile::exists(state.layout.soundFolder + c.files[i] + ".wav"),
                     qPrintable(c.files[i]));
        }
    }
}

void DemoTest::textFilesAreCp932WithCrLf() {
    Demo d;
    QVERIFY(d.ok);
    const QString sep = QString(QDir::separator());
    for (const QString& path :
         {d.demo.parentFolder + "パスデータ.txt", d.demo.dataRoot + "共通データ.txt",
          d.demo.dataRoot + "新名簿.txt", d.demo.drillDataFolder + "タイム回数データ.txt",
          d.demo.soundFolder + "新音ファイル.txt", d.demo.keyFolder + sep + "keypass.txt"}) {
        QVERIFY2(!crlfLines(path).isEmpty(), qPrintable(path));
    }
    // The IBM-extension kanji of a pupil's name is written in the form Windows writes.
    const QByteArray roster = fileBytes(d.demo.dataRoot + "新名簿.txt");
    QVERIFY(roster.contains("\xfb\xfc"));  // 髙
    QVERIFY(!roster.contains("\xee\xe0")); // not the NEC-selected form
    QVERIFY(QFileInfo(d.demo.programFolder).isDir());
}

void DemoTest::pathFileAndConfiguration() {
    Demo d;
    QVERIFY(d.ok);
    const QStringList pathLines = crlfLines(d.demo.parentFolder + "パスデータ.txt");
    QCOMPARE(pathLines.size(), 10);
    const std::vector<Item> root = itemsOf(pathLines[0]);
    QCOMPARE(root.size(), std::size_t(1));
    QCOMPARE(root[0].text, d.demo.dataRoot);
    QVERIFY(root[0].text.endsWith(QDir::separator()));
    QVERIFY(QFileInfo(root[0].text).isDir());

    const QStringList config = crlfLines(d.demo.dataRoot + "共通データ.txt");
    QCOMPARE(config.size(), 10);
    QCOMPARE(config[0], QStringLiteral("4"));
    const std::vector<Item> school = itemsOf(config[1]);
    QVERIFY(school[0].quoted);
    QVERIFY(school[0].text.left(5).toInt() > 0);
    QCOMPARE(school[0].text.left(5).size(), 5);
    QCOMPARE(config[2], QStringLiteral("0"));
    const std::vector<Item> key = itemsOf(config[4]);
    QVERIFY(key[0].quoted);
    QVERIFY(QFile::exists(key[0].text + QDir::separator() + "keypass.txt"));
}

void DemoTest::rosterLinesMatchTheSchoolsFormat() {
    // The regular lines of the sample roster, rebuilt from their decoded values, must come
    // out as the school's PCs wrote them: byte for byte where the sample holds the form
    // Windows writes, the same text where it holds the other form of 髙 or 﨑.
    const QList<QByteArray> sample =
        TestInstallation::fixtureBytes(QStringLiteral("roster-cp932.txt")).split('\n');
    const struct {
        int index;
        bool windowsForm;
        RosterLine line;
    } regular[] = {
        {0, true, {1, 2012, 0, 0, QStringLiteral("髙橋　一郎"), 0, {}, {}}},
        {1, false, {2, 2013, 0, 0, QStringLiteral("髙田　花子"), 0, {}, {}}},
        {2, false, {3, 2011, 0, 0, QStringLiteral("﨑山　次郎"), 2, {}, {}}},
        {3, true, {4, 2014, 0, 0, QStringLiteral("﨑本"), 1, {}, {}}},
        {6, true, {4999, 1990, 0, 0, QStringLiteral("先生"), 0, {}, {}}},
    };
    for (const auto& r : regular) {
        const QString text = rosterLineText(r.line);
        const std::optional<QByteArray> ours = encodeCp932(text);
        QVERIFY(ours);
        const QByteArray theirs = sample[r.index] + '\n';
        QCOMPARE(decodeCp932(*ours), decodeCp932(theirs));
        if (r.windowsForm) {
            QCOMPARE(*ours, theirs);
        }
    }
}

void DemoTest::rosterCoversTheSchool() {
    Demo d;
    QVERIFY(d.ok);
    const int schoolYear = 2026;
    const QStringList lines = crlfLines(d.demo.dataRoot + "新名簿.txt");
    QVERIFY(lines.size() >= 35 && lines.size() <= 45);
    std::set<int> numbers;
    std::set<int> grades;
    int left = 0, onLeave = 0, longNames = 0, teachers = 0;
    for (const QString& line : lines) {
        const std::vector<Item> items = itemsOf(line);
        QCOMPARE(items.size(), std::size_t(8));
        for (int text : {4, 6, 7}) {
            QVERIFY(items[text].quoted);
        }
        for (int number : {0, 1, 2, 3, 5}) {
            QVERIFY(!items[number].quoted);
        }
        const int pupil = items[0].text.toInt();
        QVERIFY(pupil >= 0 && pupil <= 5000);
        QVERIFY2(numbers.insert(pupil).second, "pupil numbers are unique");
        const QString name = items[4].text;
        QVERIFY(!name.isEmpty() && name.size() <= 20);
        const int status = items[5].text.toInt();
        left += status == 1;
        onLeave += status == 2;
        longNames += name.size() > 6;
        if (name == QStringLiteral("先生")) {
            ++teachers;
            continue;
        }
        grades.insert(gradeIndex(schoolYear, items[1].text.toInt()));
    }
    QCOMPARE(teachers, 1);
    QVERIFY(left >= 1 && onLeave >= 1);
    QVERIFY(longNames >= 1);
    QVERIFY2(*grades.begin() <= 0, "kindergarten");
    QVERIFY2(*grades.rbegin() >= 10 && *grades.rbegin() <= 12, "senior high, not beyond");
    for (int grade = 1; grade <= 12; ++grade) {
        QVERIFY2(grades.count(grade), qPrintable(QString::number(grade)));
    }
}

void DemoTest::rosterFollowsTheSchoolYear() {
    QCOMPARE(schoolYearOn(QDate(2027, 3, 31), 4), 2026);
    QCOMPARE(schoolYearOn(QDate(2027, 4, 1), 4), 2027);
    const std::vector<RosterLine> march = demoRoster(schoolYearOn(QDate(2027, 3, 31), 4));
    const std::vector<RosterLine> april = demoRoster(schoolYearOn(QDate(2027, 4, 1), 4));
    QCOMPARE(march.size(), april.size());
    for (std::size_t i = 0; i < march.size(); ++i) {
        if (march[i].name == QStringLiteral("先生")) {
            continue;
        }
        // The same grades, a year later: everyone is born a year later.
        QCOMPARE(april[i].birthYear, march[i].birthYear + 1);
    }
}

void DemoTest::criteriaFile() {
    Demo d;
    QVERIFY(d.ok);
    const QStringList lines = crlfLines(d.demo.drillDataFolder + "タイム回数データ.txt");
    QCOMPARE(lines.size(), 25);
    QCOMPARE(
        lines[0],
        QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,"));
    for (int level = 1; level <= 24; ++level) {
        const QStringList fields = lines[level].split(QLatin1Char(','));
        QCOMPARE(fields.size(), 12);
        QVERIFY2(!lines[level].contains('"') && !lines[level].contains(' '), "written bare");
        for (int f = 0; f < 9; ++f) {
            bool number = false;
            fields[f].toDouble(&number);
            QVERIFY2(number, qPrintable(lines[level]));
        }
        for (int f = 9; f < 12; ++f) {
            QVERIFY(fields[f].isEmpty());
        }
    }
}

void DemoTest::soundTableNamesThePlayedCues() {
    Demo d;
    QVERIFY(d.ok);
    const QStringList lines = crlfLines(d.demo.soundFolder + "新音ファイル.txt");
    const QStringList played{"正解音2", "間違い音2", "自己最高音2", "不合格音1"};
    QStringList named;
    int i = 0;
    while (i < lines.size()) {
        const QString cue = lines[i++];
        named.push_back(cue);
        int files = 0;
        while (i < lines.size() && lines[i] != QStringLiteral("*")) {
            QVERIFY2(QFile::exists(d.demo.soundFolder + lines[i] + ".wav"), qPrintable(lines[i]));
            ++files;
            ++i;
        }
        QVERIFY2(i < lines.size(), "every section ends with *");
        ++i;
        QVERIFY2(files >= 1 && files <= 3, qPrintable(cue));
    }
    QCOMPARE(named, played);
    for (const char* fixed : {"最高1.wav", "合格.wav", "警告1.wav"}) {
        QVERIFY2(QFile::exists(d.demo.soundFolder + QString::fromUtf8(fixed)), fixed);
    }
}

void DemoTest::wavesArePleasantAndWellFormed() {
    Demo d;
    QVERIFY(d.ok);
    std::set<QString> answerCues;
    for (const SchoolCue& cue : schoolSoundCues()) {
        if (cue.cue == QStringLiteral("正解音2") || cue.cue == QStringLiteral("間違い音2")) {
            for (const QString& name : cue.baseNames) {
                answerCues.insert(name + ".wav");
            }
        }
    }
    QVERIFY(!answerCues.empty());
    for (const SchoolSound& sound : schoolSounds()) {
        const WaveFormat wave = readWaveFile(fileBytes(d.demo.soundFolder + sound.fileName));
        QVERIFY2(wave.ok, qPrintable(sound.fileName));
        QCOMPARE(wave.formatTag, 1);
        QCOMPARE(wave.channels, 1);
        QCOMPARE(wave.sampleRate, 22050);
        QCOMPARE(wave.bitsPerSample, 16);
        const double seconds = double(wave.samples.size()) / wave.sampleRate;
        QVERIFY2(seconds >= 0.15 && seconds <= 2.5, qPrintable(sound.fileName));
        if (answerCues.count(sound.fileName)) {
            // Played after every answer while the drill waits: short.
            QVERIFY2(seconds <= 0.6, qPrintable(sound.fileName));
        }
        int peak = 0;
        for (std::int16_t s : wave.samples) {
            peak = std::max(peak, std::abs(int(s)));
        }
        QVERIFY2(peak > 32767 * 0.3 && peak < 32767 * 0.9, qPrintable(sound.fileName));
        // Starts and ends in silence, so no click.
        QVERIFY(std::abs(int(wave.samples.front())) < 330);
        QVERIFY(std::abs(int(wave.samples.back())) < 330);
        // No jump between neighbouring samples larger than a loud tone's slope allows.
        for (std::size_t i = 1; i < wave.samples.size(); ++i) {
            QVERIFY(std::abs(int(wave.samples[i]) - int(wave.samples[i - 1])) < 16000);
        }
    }
}

void DemoTest::synthesisedPitchAndTiming() {
    Timbre pure;
    pure.harmonics = {1.0};
    pure.decaySeconds = 100; // nearly steady
    const std::vector<std::int16_t> tone = synthesise({{440, 0.5, 1.0, 1.0}}, pure, 1.6, 0.5);
    QCOMPARE(tone.size(), std::size_t(std::lround(1.6 * waveSampleRate)));
    // Silent before the note starts and after it ends.
    const auto start = std::size_t(0.5 * waveSampleRate);
    const auto end = std::size_t(1.5 * waveSampleRate);
    QVERIFY(std::all_of(tone.begin(), tone.begin() + start, [](auto s) { return s == 0; }));
    QVERIFY(std::all_of(tone.begin() + end + 1, tone.end(), [](auto s) { return s == 0; }));
    // 440 Hz crosses zero 880 times a second.
    int crossings = 0;
    for (std::size_t i = start + 1; i < end; ++i) {
        crossings += (tone[i - 1] < 0) != (tone[i] < 0);
    }
    QVERIFY2(std::abs(crossings - 880) <= 4, qPrintable(QString::number(crossings)));
    int peak = 0;
    for (std::int16_t s : tone) {
        peak = std::max(peak, std::abs(int(s)));
    }
    QVERIFY(std::abs(peak - int(0.5 * 32767)) <= 1);
    QCOMPARE(noteFrequency(69), 440.0);
    QVERIFY(std::abs(noteFrequency(81) - 880.0) < 1e-9);
}

void DemoTest::waveFileRoundTrip() {
    const std::vector<std::int16_t> samples{0, 1, -1, 32767, -32768, 1234, -4321};
    const QByteArray bytes = waveFile(samples);
    QCOMPARE(bytes.size(), 44 + 2 * qsizetype(samples.size()));
    QCOMPARE(bytes.left(4), QByteArray("RIFF"));
    const auto* raw = reinterpret_cast<const uchar*>(bytes.constData());
    QCOMPARE(qFromLittleEndian<quint32>(raw + 4), quint32(bytes.size() - 8));
    QCOMPARE(qFromLittleEndian<quint32>(raw + 28), quint32(22050 * 2)); // bytes a second
    QCOMPARE(qFromLittleEndian<quint32>(raw + 40), quint32(2 * samples.size()));
    const WaveFormat back = readWaveFile(bytes);
    QVERIFY(back.ok);
    QCOMPARE(back.samples, samples);
    QVERIFY(!readWaveFile(bytes.left(30)).ok);
    QVERIFY(!readWaveFile(QByteArray("RIFF\0\0\0\0WAVX", 12)).ok);
}

void DemoTest::toolLaysOutAFolder() {
    QTemporaryDir dir;
    QProcess tool;
    tool.start(QStringLiteral(MAKEDEMO_PATH), {dir.path() + QStringLiteral("/デモ")});
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 0);
    const DemoInstallation demo =
        demoInstallationAt(dir.path() + QStringLiteral("/デモ"), QDate::currentDate());
    QVERIFY(QFile::exists(demo.parentFolder + "パスデータ.txt"));
    QVERIFY(QFile::exists(demo.soundFolder + "合格.wav"));

    QProcess usage;
    usage.start(QStringLiteral(MAKEDEMO_PATH), {});
    QVERIFY(usage.waitForFinished(60000));
    QVERIFY(usage.exitCode() != 0);
}

QTEST_MAIN(DemoTest)
#include "test_demo.moc"
