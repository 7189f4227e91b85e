// The words of the video window's notice: the reason a teacher reads must match the
// fault, whatever GStreamer's own text says.
#include "media/viewers/VideoNotice.h"
#include "support/TestInstallation.h"

#include <QTest>

class TestVideoNotice : public QObject {
    Q_OBJECT
private slots:
    void playerErrorsAreNamedForWhatATeacherCanDo_data() {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        const QString unreadable = QStringLiteral("動画として読めないファイルか、壊れています。");
        const QString noPlugin = QStringLiteral("この形式の動画を再生する部品が入っていません。");
        QTest::newRow("resource") << int(QMediaPlayer::ResourceError)
                                  << QStringLiteral("Could not determine type of stream.")
                                  << unreadable +
                                         QStringLiteral("（Could not determine type of stream.）");
        QTest::newRow("missing plug-in as resource error")
            << int(QMediaPlayer::ResourceError)
            << QStringLiteral("Your GStreamer installation is missing a plug-in.")
            << noPlugin + QStringLiteral("（Your GStreamer installation is missing a plug-in.）");
        QTest::newRow("format, no text") << int(QMediaPlayer::FormatError) << QString() << noPlugin;
        QTest::newRow("access") << int(QMediaPlayer::AccessDeniedError) << QStringLiteral("  ")
                                << QStringLiteral("ファイルを読む権限がありません。");
    }
    void playerErrorsAreNamedForWhatATeacherCanDo() {
        QFETCH(int, error);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        QCOMPARE(playerErrorReason(static_cast<QMediaPlayer::Error>(error), text), reason);
    }

    void filesThatCannotBeHandedToThePlayer() {
        TestInstallation t;
        const QString folder = t.drillDataFolder();
        const QString video = t.writeBytes(folder + QStringLiteral("a.mp4"), "x");
        QCOMPARE(unplayableFileReason(video), QString());
        QCOMPARE(unplayableFileReason(folder + QStringLiteral("b.mp4")),
                 QStringLiteral("ファイルが見つかりません。"));
        QCOMPARE(unplayableFileReason(folder),
                 QStringLiteral("動画のファイル名が設定されていません。"));
        QCOMPARE(unplayableFileReason(QString()),
                 QStringLiteral("動画のファイル名が設定されていません。"));
    }

    void theNoticeNamesTheFileAndItsFolder() {
        const QString notice =
            videoNotice(QStringLiteral("/data/ミルネア/解説1.mp4"), QStringLiteral("理由の文"));
        QVERIFY(notice.contains(QStringLiteral("ファイル: 解説1.mp4")));
        QVERIFY(notice.contains(QStringLiteral("場所: /data/ミルネア")));
        QVERIFY(notice.contains(QStringLiteral("理由: 理由の文")));
    }
};

QTEST_MAIN(TestVideoNotice)
#include "test_video_notice.moc"
