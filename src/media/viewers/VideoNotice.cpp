#include "media/viewers/VideoNotice.h"

#include <QDir>
#include <QFileInfo>

QString videoNotice(const QString& file, const QString& reason) {
    const QFileInfo info(file);
    const QString name = info.fileName().isEmpty() ? file : info.fileName();
    return QStringLiteral("解説の動画を再生できません。\n\nファイル: %1\n場所: %2\n理由: %3")
        .arg(name, QDir::toNativeSeparators(info.absolutePath()), reason);
}

QString unplayableFileReason(const QString& file) {
    const QFileInfo info(file);
    if (file.isEmpty() || info.isDir()) {
        return QStringLiteral("動画のファイル名が設定されていません。");
    }
    if (!info.exists()) {
        return QStringLiteral("ファイルが見つかりません。");
    }
    if (!info.isReadable()) {
        return QStringLiteral("ファイルを読めません（読む権限がありません）。");
    }
    return {};
}

QString playerErrorReason(QMediaPlayer::Error error, const QString& playerText) {
    QString reason;
    // GStreamer reports a missing demuxer or decoder as a resource error; its text names it.
    if (playerText.contains(QLatin1String("plug-in"), Qt::CaseInsensitive)) {
        error = QMediaPlayer::FormatError;
    }
    switch (error) {
    case QMediaPlayer::ResourceError:
        reason = QStringLiteral("動画として読めないファイルか、壊れています。");
        break;
    case QMediaPlayer::FormatError:
        reason = QStringLiteral("この形式の動画を再生する部品が入っていません。");
        break;
    case QMediaPlayer::NetworkError:
        reason = QStringLiteral("ネットワークから読めません。");
        break;
    case QMediaPlayer::AccessDeniedError:
        reason = QStringLiteral("ファイルを読む権限がありません。");
        break;
    default:
        reason = QStringLiteral("再生中にエラーが起きました。");
        break;
    }
    if (!playerText.trimmed().isEmpty()) {
        reason += QStringLiteral("（%1）").arg(playerText.trimmed());
    }
    return reason;
}

QString stalledPlaybackReason(int seconds) {
    return QStringLiteral(
               "再生が%1秒間進みません。パソコンの音が出る設定になっているか確かめてから、"
               "もう一度開いてください。")
        .arg(seconds);
}
