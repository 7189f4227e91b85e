// The sound table "新音ファイル.txt" and the cues played from it: the sections and their
// counts, the fatal tables, the random pick, the shared failure count of the right and
// wrong cues that ends the program on the fourth failure in a row, and the fixed sounds.
#include "result/SoundCues.h"
#include "support/TestInstallation.h"
#include "text/Cp932.h"

#include <QFile>
#include <QTest>
#include <QWidget>

namespace {

const QString tableName = u"新音ファイル.txt"_qs;

QString tablePath(const TestInstallation& install) {
    return install.soundFolder() + tableName;
}

void writeTable(TestInstallation& install, const QString& text) {
    install.writeBytes(tablePath(install), encodeCp932(text).value());
}

// "name|count|file1,file2,..." for a cue, as the expected file of the sample writes it.
QString described(const SoundCue& cue) {
    QStringList files;
    for (int j = 1; j <= SoundCue::maxFiles; ++j) {
        if (!cue.files[j].isEmpty()) {
            files << cue.files[j];
        }
    }
    return cue.name + u'|' + cue.fileCount + u'|' + files.join(u',');
}

SoundOutcome failure(const QString&) {
    return {false, u"装置がありません"_qs};
}

// An installation whose table names the right, wrong, best and slow cues.
struct CueInstallation : TestInstallation {
    CueInstallation() {
        writeTable(*this, u"正解音2\r\nright_a\r\nright_b\r\nright_c\r\n*\r\n"
                          u"間違い音2\r\nwrong\r\n*\r\n"
                          u"自己最高音2\r\nbest\r\n*\r\n"
                          u"不合格音1\r\nslow\r\n*\r\n"_qs);
        if (!loadSoundTable(state)) {
            qFatal("the cue table does not load");
        }
    }
    QString wave(const QString& base) const { return soundFolder() + base + u".wav"_qs; }
};

} // namespace

class SoundCuesTest : public QObject {
    Q_OBJECT

private slots:
    void sampleTable() {
        TestInstallation install;
        install.copyFixture(u"sound-table-cp932.txt"_qs, tablePath(install));
        QVERIFY(loadSoundTable(install.state));
        QCOMPARE(install.env.endedWith, -1);

        QFile expectedFile(TestInstallation::fixturePath(u"sound-table-cp932.expected.txt"_qs));
        QVERIFY(expectedFile.open(QIODevice::ReadOnly));
        QStringList expected =
            QString::fromUtf8(expectedFile.readAll()).split(u'\n', Qt::SkipEmptyParts);
        expected.removeFirst(); // the headings
        QStringList named;
        for (int c = 1; c <= SoundTable::cueCount; ++c) {
            const SoundCue& cue = install.state.sounds.cues[c];
            QCOMPARE(cue.name, soundCueName(c));
            if (!cue.fileCount.isEmpty()) {
                named << described(cue);
            } else {
                // A cue the table does not name keeps no file either.
                QCOMPARE(described(cue), cue.name + u"||"_qs);
            }
        }
        QCOMPARE(named, expected);
    }

    void sections_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("cue");
        QTest::addColumn<QString>("expected");

        QTest::newRow("quoted items, commas")
            << u"\"不合格音1\",\"a\",b\r\n\"*\"\r\n"_qs << int(不合格音1) << u"不合格音1|2|a,b"_qs;
        QTest::newRow("empty section")
            << u"正解音2\r\n*\r\n"_qs << int(正解音2) << u"正解音2|0|"_qs;
        QTest::newRow("a cue name inside a section is a file name")
            << u"正解音2\r\n間違い音2\r\n*\r\n"_qs << int(間違い音2) << u"間違い音2||"_qs;
        QTest::newRow("names compared exactly")
            << u"\"自己最高音2 \"\r\nx\r\n*\r\n自己最高音\r\ny\r\n*\r\n"_qs << int(自己最高音2)
            << u"自己最高音2||"_qs;
        QString twenty = u"正解音2\r\n"_qs;
        for (int j = 1; j <= 20; ++j) {
            twenty += u"f%1\r\n"_qs.arg(j);
        }
        // Twenty names and no "*": the names stay, there is no count, and the item after
        // them starts afresh.
        QTest::newRow("twenty names without end, then a section")
            << twenty + u"不合格音1\r\nslow\r\n*\r\n"_qs << int(不合格音1)
            << u"不合格音1|1|slow"_qs;
        QStringList files;
        for (int j = 1; j <= 20; ++j) {
            files << u"f%1"_qs.arg(j);
        }
        QTest::newRow("twenty names without end")
            << twenty + u"不合格音1\r\nslow\r\n*\r\n"_qs << int(正解音2)
            << u"正解音2||"_qs + files.join(u',');
        QTest::newRow("later section overwrites slot by slot")
            << u"不合格音1\r\na\r\nb\r\nc\r\n*\r\n不合格音1\r\nz\r\n*\r\n"_qs << int(不合格音1)
            << u"不合格音1|1|z,b,c"_qs;
    }
    void sections() {
        QFETCH(QString, table);
        QFETCH(int, cue);
        QFETCH(QString, expected);
        TestInstallation install;
        writeTable(install, table);
        QVERIFY(loadSoundTable(install.state));
        QCOMPARE(described(install.state.sounds.cues[cue]), expected);
    }

    void fatalTables_data() {
        QTest::addColumn<QString>("table"); // empty: no file at all
        QTest::addColumn<QString>("saying");
        QTest::newRow("missing") << QString() << u"見つかりません"_qs;
        QTest::newRow("ends inside a section")
            << u"間違い音2\r\nwrong\r\n*\r\n正解音2\r\nright_a\r\nright_b\r\n"_qs
            << u"4 行目の「正解音2」の区切り「*」の前で終わっています"_qs;
        QTest::newRow("ends right after a name") << u"不合格音1"_qs << u"「不合格音1」の区切り"_qs;
    }
    void fatalTables() {
        QFETCH(QString, table);
        QFETCH(QString, saying);
        TestInstallation install;
        if (!table.isEmpty()) {
            writeTable(install, table);
        }
        QVERIFY(!loadSoundTable(install.state));
        QCOMPARE(install.env.endedWith, 1);
        QCOMPARE(install.env.messages.size(), size_t(1));
        const QString text = install.env.messages[0].text;
        QVERIFY2(text.contains(tableName) && text.contains(saying), qPrintable(text));
    }

    void pickIsUniform() {
        CueInstallation install;
        // u in [0, 1/3) picks the first of three files, [1/3, 2/3) the second, the rest
        // the third.
        install.env.randomValues = {0.0, 0.3333, 0.3334, 0.6666, 0.6667, 0.9999};
        for (int i = 0; i < 6; ++i) {
            QVERIFY(playCue(install.state, 正解音2));
        }
        const std::vector<QString> expected{
            install.wave(u"right_a"_qs), install.wave(u"right_a"_qs), install.wave(u"right_b"_qs),
            install.wave(u"right_b"_qs), install.wave(u"right_c"_qs), install.wave(u"right_c"_qs)};
        QCOMPARE(install.env.played, expected);
    }

    void fourthFailureInARowEnds() {
        CueInstallation install;
        QWidget window;
        window.show();
        install.env.soundOutcome = failure;
        // The right and wrong cues share one count.
        for (int cue : {正解音2, 間違い音2, 正解音2}) {
            QVERIFY(playCue(install.state, cue));
        }
        QVERIFY(install.env.messages.empty());
        QCOMPARE(install.env.endedWith, -1);
        QVERIFY(window.isVisible());

        QVERIFY(!playCue(install.state, 間違い音2));
        QCOMPARE(install.env.messages.size(), size_t(1));
        QCOMPARE(install.env.messages[0].title, u"音声エラー"_qs);
        QCOMPARE(install.env.messages[0].text,
                 u"音声がでません。先生を呼びなさい。\r\n装置がありません"_qs);
        QCOMPARE(install.env.messages[0].buttons, MessageButtons::Ok);
        QCOMPARE(install.env.endedWith, 1);
        QVERIFY(!window.isVisible());
        QCOMPARE(install.env.played.size(), size_t(4));
    }

    void successResetsTheCount() {
        CueInstallation install;
        std::deque<bool> outcomes{false, false, false, true, false, false, false, false};
        install.env.soundOutcome = [&](const QString&) {
            const bool ok = outcomes.front();
            outcomes.pop_front();
            return ok ? SoundOutcome{} : SoundOutcome{false, u"x"_qs};
        };
        for (int i = 0; i < 7; ++i) {
            QVERIFY(playCue(install.state, i % 2 ? 正解音2 : 間違い音2));
        }
        QCOMPARE(install.state.sounds.errorCount, 3);
        QCOMPARE(install.env.endedWith, -1);
        QVERIFY(!playCue(install.state, 正解音2));
        QCOMPARE(install.env.endedWith, 1);
    }

    void otherCuesNeitherCountNorReset() {
        CueInstallation install;
        install.env.soundOutcome = [&](const QString& path) {
            return path == install.wave(u"best"_qs) ? SoundOutcome{} : SoundOutcome{false, u"x"_qs};
        };
        for (int i = 0; i < 3; ++i) {
            QVERIFY(playCue(install.state, 正解音2));
        }
        for (int i = 0; i < 5; ++i) {
            QVERIFY(playCue(install.state, 不合格音1)); // fails, silently, uncounted
        }
        QVERIFY(playCue(install.state, 自己最高音2)); // plays, but resets nothing
        playFixed(install.state, u"合格.wav"_qs);     // fails, silently, uncounted
        QVERIFY(install.env.messages.empty());
        QCOMPARE(install.state.sounds.errorCount, 3);
        QVERIFY(!playCue(install.state, 正解音2));
        QCOMPARE(install.env.endedWith, 1);
    }

    void cueTheTableDoesNotName() {
        TestInstallation install;
        writeTable(install, u"間違い音2\r\nwrong\r\n*\r\n正解音2\r\n*\r\n"_qs);
        QVERIFY(loadSoundTable(install.state));
        // Nothing is played; it is a failure like any other, and the fourth one names the
        // cue and the table for the teacher.
        QVERIFY(playCue(install.state, 自己最高音2));
        for (int i = 0; i < 3; ++i) {
            QVERIFY(playCue(install.state, 正解音2));
        }
        QVERIFY(install.env.played.empty());
        QVERIFY(!playCue(install.state, 正解音2));
        QCOMPARE(install.env.messages.size(), size_t(1));
        QCOMPARE(
            install.env.messages[0].text,
            u"音声がでません。先生を呼びなさい。\r\n音の設定ファイル「%1」に「正解音2」の音がありません。"_qs
                .arg(tablePath(install)));
    }

    void anEmptyLaterSectionKeepsTheEarlierFirstName() {
        TestInstallation install;
        writeTable(install, u"正解音2\r\nright_a\r\nright_b\r\n*\r\n正解音2\r\n*\r\n"_qs);
        QVERIFY(loadSoundTable(install.state));
        QCOMPARE(install.state.sounds.cues[正解音2].fileCount, u"0"_qs);
        install.env.randomValues = {0.99};
        QVERIFY(playCue(install.state, 正解音2));
        QCOMPARE(install.env.played,
                 std::vector<QString>{install.state.layout.soundFolder + u"right_a.wav"_qs});
        QCOMPARE(install.state.sounds.errorCount, 0);
    }

    void fixedSounds() {
        CueInstallation install;
        playFixed(install.state, u"最高1.wav"_qs);
        playFixed(install.state, u"警告1.wav"_qs);
        const std::vector<QString> expected{install.soundFolder() + u"最高1.wav"_qs,
                                            install.soundFolder() + u"警告1.wav"_qs};
        QCOMPARE(install.env.played, expected);
    }
};

QTEST_MAIN(SoundCuesTest)
#include "test_sound_cues.moc"
