#pragma once

#include <QMediaPlayer>
#include <QString>

// The notice the video window shows in place of the picture when a file cannot be
// played: what could not be played (the file's name and folder) and why.
QString videoNotice(const QString& file, const QString& reason);

// Why the file cannot even be handed to the player (missing, a folder, unreadable);
// empty when it can.
QString unplayableFileReason(const QString& file);

// The player's own error in words a teacher can act on, with the player's text.
QString playerErrorReason(QMediaPlayer::Error error, const QString& playerText);

// The reason shown when playback stood still for seconds while it should have been playing.
QString stalledPlaybackReason(int seconds);
