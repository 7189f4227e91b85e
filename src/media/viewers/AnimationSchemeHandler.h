#pragma once

#include <QString>
#include <QWebEngineUrlSchemeHandler>

// Serves the browser window's requests of the mirunea scheme: the page that hosts the
// player, the player's files from its folder, and the one local animation file the window
// plays. Nothing else is reachable through it (no other file of the disk).
class AnimationSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    AnimationSchemeHandler(const QString& playerFolder, const QString& swfUrl,
                           const QString& localAnimationFile, const QString& title,
                           QObject* parent = nullptr);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QString playerFolder_;
    QString swfUrl_;
    QString localAnimationFile_;
    QString title_;
};

// The content type a served file is given, from its name.
QByteArray contentTypeOf(const QString& fileName);
