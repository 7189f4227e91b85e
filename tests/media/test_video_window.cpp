// The video window playing real files: the demo's own explanation video, a missing file and
// a text file that only pretends to be a video. What is checked is what a pupil sees: the
// picture (taken from the player's video output), the time moving, the notice. The watch
// over playback is tried with a scripted player on the fake clock.
#include "media/MediaTestMain.h"
#include "media/viewers/FrmVideo.h"
#include "media/viewers/VideoNotice.h"
#include "media/viewers/VideoPlayback.h"
#include "support/TestInstallation.h"
#include "tools/ExplanationVideo.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMediaPlayer>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>

namespace {

bool near(const QColor& seen, const QColor& wanted, int tolerance = 20) {
    return std::abs(seen.red() - wanted.red()) <= tolerance &&
           std::abs(seen.green() - wanted.green()) <= tolerance &&
           std::abs(seen.blue() - wanted.blue()) <= tolerance;
}

QString artefact(const QString& name) {
    const QString folder = QStringLiteral(MIRUNEA_ARTIFACTS_DIR);
    QDir().mkpath(folder);
    return folder + QLatin1Char('/') + name;
}

// The first picture of a player can take long on a software-rendered display with every
// core busy (the whole suite runs beside it); a playing video gets there much sooner.
constexpr int playbackPatienceMs = 60000;

// The answer "28" stands in the right quarter of the problem's line, in green.
bool answerShows(const QImage& frame) {
    const int y = frame.height() * 52 / 100;
    for (int x = frame.width() * 3 / 4; x < frame.width(); ++x) {
        if (near(frame.pixelColor(x, y), explanationAnswer, 40)) {
            return true;
        }
    }
    return false;
}

// A player on the fake clock: once playing, its position moves with the clock until
// stopsAtMs (never, when negative) and then stands still, as a player does that never
// delivers a frame (stopsAtMs 0) or stalls on the way.
class ScriptedPlayer : public VideoPlayback {
public:
    ScriptedPlayer(FakeEnvironment& env, qint64 stopsAtMs) : env_(env), stopsAtMs_(stopsAtMs) {}

    int plays = 0;

    void setSource(const QUrl&) override {}
    void setVideoOutput(QVideoWidget*) override {}
    void play() override {
        ++plays;
        setState(QMediaPlayer::PlayingState);
    }
    void pause() override { setState(QMediaPlayer::PausedState); }
    void stop() override { setState(QMediaPlayer::StoppedState); }
    void setPosition(qint64) override {}
    qint64 position() const override {
        const qint64 moved =
            played_ + (state_ == QMediaPlayer::PlayingState ? env_.monotonicMs() - since_ : 0);
        return stopsAtMs_ < 0 ? moved : std::min(moved, stopsAtMs_);
    }
    qint64 duration() const override { return 60000; }
    QMediaPlayer::PlaybackState playbackState() const override { return state_; }
    QMediaPlayer::MediaStatus mediaStatus() const override {
        return position() > 0 ? QMediaPlayer::BufferedMedia : QMediaPlayer::LoadingMedia;
    }
    QMediaPlayer::Error error() const override { return QMediaPlayer::NoError; }
    QString errorString() const override { return {}; }

private:
    void setState(QMediaPlayer::PlaybackState state) {
        played_ = position();
        since_ = env_.monotonicMs();
        state_ = state;
        emit playbackStateChanged(state);
    }

    FakeEnvironment& env_;
    qint64 stopsAtMs_;
    qint64 played_ = 0;
    std::int64_t since_ = 0;
    QMediaPlayer::PlaybackState state_ = QMediaPlayer::StoppedState;
};

template <typename W> W* child(QWidget* window, const char* name) {
    W* w = window->findChild<W*>(QString::fromLatin1(name));
    if (!w) {
        qFatal("no control %s", name);
    }
    return w;
}

} // namespace

class TestVideoWindow : public QObject {
    Q_OBJECT
private slots:
    void theDemoVideoPlaysWithItsPictureAndTime() {
        TestInstallation t;
        const QString file = t.drillDataFolder() + QStringLiteral("解説1.mp4");
        QString error;
        QVERIFY2(writeExplanationVideo(file, &error), qPrintable(error));

        auto* window = new FrmVideo(file, t.env);
        QPointer<FrmVideo> guard(window);
        QImage lastFrame;
        connect(child<QVideoWidget>(window, "VideoMediaPlayer")->videoSink(),
                &QVideoSink::videoFrameChanged, window, [&lastFrame](const QVideoFrame& frame) {
                    if (frame.isValid()) {
                        lastFrame = frame.toImage();
                    }
                });
        window->show();
        auto* player = child<QMediaPlayer>(window, "player");

        // A second into the video the clock has moved and the animation is on screen.
        QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 1000, playbackPatienceMs);
        QVERIFY2(window->notice().isEmpty(), qPrintable(window->notice()));
        QVERIFY(!lastFrame.isNull());
        lastFrame.save(artefact(QStringLiteral("video_window_frame.png")));
        const ExplanationVideoFormat format;
        QCOMPARE(lastFrame.size(), QSize(format.width, format.height));
        QVERIFY(near(lastFrame.pixelColor(10, lastFrame.height() - 10), explanationPaper));
        QVERIFY(near(lastFrame.pixelColor(10, 10), explanationBand));
        QVERIFY(!answerShows(lastFrame)); // a second in, the box is still empty
        QCOMPARE(child<QLabel>(window, "lblTime")->text().right(4), QStringLiteral("0:06"));
        QVERIFY(child<QSlider>(window, "sldPosition")->value() > 0);
        QCOMPARE(child<QPushButton>(window, "cmdPlay")->text(), QStringLiteral("一時停止"));

        // Pause holds the picture where it is; play goes on.
        QTest::mouseClick(child<QPushButton>(window, "cmdPlay"), Qt::LeftButton);
        QTRY_COMPARE(player->playbackState(), QMediaPlayer::PausedState);
        QCOMPARE(child<QPushButton>(window, "cmdPlay")->text(), QStringLiteral("再生"));
        const qint64 held = player->position();
        QTest::qWait(300);
        QCOMPARE(player->position(), held);
        QTest::mouseClick(child<QPushButton>(window, "cmdPlay"), Qt::LeftButton);
        QTRY_VERIFY(player->position() > held);

        // Towards the end the answer is drawn in green.
        QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 5000, playbackPatienceMs);
        QTRY_VERIFY(answerShows(lastFrame));

        QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
        QTRY_VERIFY(guard.isNull());
    }

    // Schools keep older explanations as Windows Media files (WMV in an ASF container).
    void aWindowsMediaFilePlays() {
        TestInstallation t;
        const QString mp4 = t.drillDataFolder() + QStringLiteral("解説1.mp4");
        const QString wmv = t.drillDataFolder() + QStringLiteral("解説1.wmv");
        QString error;
        QVERIFY2(writeExplanationVideo(mp4, &error), qPrintable(error));
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"),
                     {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-i"),
                      mp4, QStringLiteral("-c:v"), QStringLiteral("wmv2"), QStringLiteral("-an"),
                      wmv});
        QVERIFY2(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0,
                 qPrintable(ffmpeg.errorString()));

        auto* window = new FrmVideo(wmv, t.env);
        QPointer<FrmVideo> guard(window);
        QImage lastFrame;
        connect(child<QVideoWidget>(window, "VideoMediaPlayer")->videoSink(),
                &QVideoSink::videoFrameChanged, window, [&lastFrame](const QVideoFrame& frame) {
                    if (frame.isValid()) {
                        lastFrame = frame.toImage();
                    }
                });
        window->show();
        auto* player = child<QMediaPlayer>(window, "player");
        QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 1000, playbackPatienceMs);
        QVERIFY2(window->notice().isEmpty(), qPrintable(window->notice()));
        QVERIFY(!lastFrame.isNull());
        QVERIFY(near(lastFrame.pixelColor(10, lastFrame.height() - 10), explanationPaper));
        QVERIFY(near(lastFrame.pixelColor(10, 10), explanationBand));
        QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
        QTRY_VERIFY(guard.isNull());
    }

    void aFileThatCannotPlayIsNamedWithTheReason_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("contents"); // empty: the file is not there
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QStringLiteral("解説9.mp4") << QByteArray()
                                 << QStringLiteral("ファイルが見つかりません。");
        QTest::newRow("text named mp4")
            << QStringLiteral("解説2.mp4") << QByteArray("これは動画ではありません\r\n")
            << QStringLiteral("動画として読めないファイルか、壊れています。");
    }
    void aFileThatCannotPlayIsNamedWithTheReason() {
        QFETCH(QString, name);
        QFETCH(QByteArray, contents);
        QFETCH(QString, reason);
        TestInstallation t;
        if (!contents.isEmpty()) {
            t.writeBytes(t.drillDataFolder() + name, contents);
        }
        auto* window = new FrmVideo(t.drillDataFolder() + name, t.env);
        QPointer<FrmVideo> guard(window);
        window->show();
        QTRY_VERIFY_WITH_TIMEOUT(!window->notice().isEmpty(), 15000);
        auto* notice = child<QLabel>(window, "lblNotice");
        QVERIFY(notice->isVisible());
        QVERIFY(!child<QVideoWidget>(window, "VideoMediaPlayer")->isVisible());
        QVERIFY(notice->text().contains(QStringLiteral("ファイル: ") + name));
        QVERIFY2(notice->text().contains(QStringLiteral("理由: ") + reason),
                 qPrintable(notice->text()));
        QVERIFY(!child<QPushButton>(window, "cmdPlay")->isEnabled());
        window->grab().save(artefact(QStringLiteral("video_window_%1.png")
                                         .arg(QString::fromLatin1(QTest::currentDataTag())
                                                  .replace(QLatin1Char(' '), QLatin1Char('_')))));

        // The window stays open until "戻る" closes it.
        QTest::qWait(200);
        QVERIFY(window->isVisible());
        QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
        QTRY_VERIFY(guard.isNull());
    }

    // Playback starts when the window is shown; a player that stands still while playing
    // for FrmVideo::stallSeconds is named in the notice, one that moves or is paused is not.
    void aPlayerThatStandsStillIsNamed_data() {
        QTest::addColumn<qint64>("stopsAtMs");
        QTest::addColumn<int>("pauseAtMs");  // the pupil presses 一時停止 then; -1: never
        QTest::addColumn<int>("noticeAtMs"); // -1: no notice within a minute
        const int stall = FrmVideo::stallSeconds * 1000;
        QTest::newRow("never a frame") << qint64(0) << -1 << stall;
        QTest::newRow("stalls after 3 s") << qint64(3000) << -1 << 3000 + stall;
        QTest::newRow("plays on") << qint64(-1) << -1 << -1;
        QTest::newRow("paused by the pupil") << qint64(0) << 2000 << -1;
    }
    void aPlayerThatStandsStillIsNamed() {
        QFETCH(qint64, stopsAtMs);
        QFETCH(int, pauseAtMs);
        QFETCH(int, noticeAtMs);
        TestInstallation t;
        const QString file = t.writeBytes(t.drillDataFolder() + QStringLiteral("解説1.mp4"), "x");
        auto player = std::make_unique<ScriptedPlayer>(t.env, stopsAtMs);
        ScriptedPlayer* scripted = player.get();
        auto* window = new FrmVideo(file, t.env, nullptr, std::move(player));
        QPointer<FrmVideo> guard(window);
        QCOMPARE(scripted->plays, 0);
        window->show();
        QCOMPARE(scripted->plays, 1);

        auto* notice = child<QLabel>(window, "lblNotice");
        for (int ms = 1000; ms <= 60000; ms += 1000) {
            t.env.advance(1000);
            if (ms == pauseAtMs) {
                QTest::mouseClick(child<QPushButton>(window, "cmdPlay"), Qt::LeftButton);
                QCOMPARE(scripted->playbackState(), QMediaPlayer::PausedState);
            }
            if (!window->notice().isEmpty()) {
                QCOMPARE(ms, noticeAtMs);
                break;
            }
            QVERIFY2(ms < noticeAtMs || noticeAtMs < 0, "no notice in time");
        }
        if (noticeAtMs > 0) {
            QVERIFY(notice->isVisible());
            QVERIFY(!child<QVideoWidget>(window, "VideoMediaPlayer")->isVisible());
            QVERIFY(notice->text().contains(QStringLiteral("ファイル: 解説1.mp4")));
            QVERIFY2(notice->text().contains(QStringLiteral("理由: ") +
                                             stalledPlaybackReason(FrmVideo::stallSeconds)),
                     qPrintable(notice->text()));
            QCOMPARE(scripted->playbackState(), QMediaPlayer::StoppedState);
            QVERIFY(!child<QPushButton>(window, "cmdPlay")->isEnabled());
        } else {
            QVERIFY(window->notice().isEmpty());
            QVERIFY(!notice->isVisible());
        }
        QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
        QTRY_VERIFY(guard.isNull());
    }

    void anEmptyEntryLeavesTheFolderAloneAndSaysNoFileIsSet() {
        TestInstallation t;
        auto* window = new FrmVideo(t.drillDataFolder(), t.env);
        window->show();
        QVERIFY(
            window->notice().contains(QStringLiteral("動画のファイル名が設定されていません。")));
        QTest::mouseClick(child<QPushButton>(window, "Command1"), Qt::LeftButton);
    }
};

MIRUNEA_MEDIA_TEST_MAIN(TestVideoWindow)
#include "test_video_window.moc"
