// The check of a wave file's header before it is played: what counts as a wave file, the
// length of its sound, and the descriptions of the files that are not.
#include "WaveSamples.h"
#include "result/WaveFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace wavesamples;

class WaveFileTest : public QObject {
    Q_OBJECT

private slots:
    void acceptedFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("bits");
        QTest::addColumn<qint64>("durationMs");

        QTest::newRow("16-bit mono")
            << toneWave(1, 22050, 16, 0.5) << 1 << 22050 << 16 << qint64(500);
        QTest::newRow("8-bit stereo")
            << toneWave(2, 11025, 8, 1.0) << 2 << 11025 << 8 << qint64(1000);
        // An odd-sized chunk before the format is padded to an even length.
        QTest::newRow("odd chunk first") << riff(chunk("LIST", "abc") + formatChunk(1, 8000, 16) +
                                                 chunk("data", tone(1, 8000, 16, 0.25)))
                                         << 1 << 8000 << 16 << qint64(250);
        // A longer format chunk (extensible, with its extra fields) is skipped as a whole.
        const QByteArray plain = formatChunk(2, 48000, 16, 0xFFFE);
        const QByteArray extensible =
            chunk("fmt ", plain.mid(8) + le16(22) + QByteArray(22, '\x01'));
        QTest::newRow("extensible format")
            << riff(extensible + chunk("data", tone(2, 48000, 16, 0.1))) << 2 << 48000 << 16
            << qint64(100);
        // A writer that never patched the sizes: the data is taken as far as the file goes.
        QTest::newRow("data size never patched")
            << ("RIFF" + le32(0xFFFFFFFF) + "WAVE" + formatChunk(1, 10000, 16) + "data" +
                le32(0xFFFFFFFF) + tone(1, 10000, 16, 0.3))
            << 1 << 10000 << 16 << qint64(300);
    }
    void acceptedFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, channels);
        QFETCH(int, rate);
        QFETCH(int, bits);
        QFETCH(qint64, durationMs);
        const WaveCheck check = checkWave(bytes, QStringLiteral("x.wav"));
        QVERIFY2(check.ok, qPrintable(check.error));
        QCOMPARE(check.channels, channels);
        QCOMPARE(check.sampleRate, rate);
        QCOMPARE(check.bitsPerSample, bits);
        QCOMPARE(check.durationMs, durationMs);
    }

    void refusedFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("saying");

        const QByteArray format = formatChunk(1, 8000, 16);
        const QByteArray data = chunk("data", tone(1, 8000, 16, 0.1));
        QTest::newRow("text") << QByteArray("正解音2\r\nseikai_a\r\n*\r\n")
                              << u"WAVE 形式ではありません"_qs;
        QTest::newRow("empty") << QByteArray() << u"WAVE 形式ではありません"_qs;
        QTest::newRow("RIFF of another kind")
            << ("RIFF" + le32(100) + "AVI " + format + data) << u"WAVE 形式ではありません"_qs;
        QTest::newRow("no format") << riff(data) << u"形式情報（fmt）がデータより後"_qs;
        QTest::newRow("format after data") << riff(data + format) << u"データより後"_qs;
        QTest::newRow("format cut short") << riff(format.left(14)) << u"形式情報（fmt）が壊れて"_qs;
        QTest::newRow("no channels")
            << riff(formatChunk(0, 8000, 16) + data) << u"形式情報（fmt）が壊れて"_qs;
        QTest::newRow("no data") << riff(format) << u"音のデータ（data）がありません"_qs;
        QTest::newRow("nothing after the header")
            << riff(QByteArray()) << u"形式情報（fmt）がありません"_qs;
    }
    void refusedFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, saying);
        const WaveCheck check = checkWave(bytes, QStringLiteral("音フォルダ/seikai_a.wav"));
        QVERIFY(!check.ok);
        QVERIFY2(check.error.contains(saying), qPrintable(check.error));
        QVERIFY2(check.error.contains(QDir::toNativeSeparators(u"音フォルダ/seikai_a.wav"_qs)),
                 qPrintable(check.error));
    }

    void filesOnDisk() {
        QTemporaryDir dir;
        const QString good = write(dir.filePath(u"良い.wav"_qs), toneWave(1, 8000, 16, 0.2));
        const WaveCheck check = inspectWaveFile(good);
        QVERIFY2(check.ok, qPrintable(check.error));
        QCOMPARE(check.durationMs, qint64(200));

        const QString missing = dir.filePath(u"ない.wav"_qs);
        QCOMPARE(inspectWaveFile(missing).error,
                 u"音声ファイル「%1」が見つかりません。"_qs.arg(QDir::toNativeSeparators(missing)));

        QDir(dir.path()).mkdir(u"folder.wav"_qs);
        const WaveCheck folder = inspectWaveFile(dir.filePath(u"folder.wav"_qs));
        QVERIFY(!folder.ok);
        QVERIFY2(folder.error.contains(u"フォルダー"_qs), qPrintable(folder.error));
    }
};

QTEST_GUILESS_MAIN(WaveFileTest)
#include "test_wave_file.moc"
