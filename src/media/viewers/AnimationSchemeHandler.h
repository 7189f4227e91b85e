#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

class QNetworkAccessManager;

// Serves the browser window's requests of the mirunea scheme: the page that hosts the
// player, the player's files from its folder, and the one animation the window plays
// (a local file, or one fetched from its web address on the page's behalf, so that the
// page needs no permission of the server's). Nothing else is reachable through it (no
// other file of the disk).
class AnimationSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    // Exactly one of localAnimationFile and remoteAnimation names the animation.
    AnimationSchemeHandler(const QString& playerFolder, const QString& localAnimationFile,
                           const QUrl& remoteAnimation, const QString& title,
                           QObject* parent = nullptr);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    void replyWithRemoteAnimation(QWebEngineUrlRequestJob* job);

    QString playerFolder_;
    QString localAnimationFile_;
    QUrl remoteAnimation_;
    QString title_;
    QNetworkAccessManager* network_ = nullptr;
};

// The content type a served file is given, from its name.
QByteArray contentTypeOf(const QString& fileName);
