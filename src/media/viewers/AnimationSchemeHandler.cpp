#include "media/viewers/AnimationSchemeHandler.h"

#include "media/viewers/AnimationPage.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QUrl>
#include <QWebEngineUrlRequestJob>

namespace {

void reply(QWebEngineUrlRequestJob* job, const QByteArray& type, const QByteArray& bytes) {
    auto* buffer = new QBuffer(job);
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    job->reply(type, buffer);
}

// The whole file in one read, or nothing.
bool readWhole(const QString& path, QByteArray* bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    *bytes = file.readAll();
    return true;
}

// A plain name of a file in the player's folder: no folders, no way out of it.
bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && name != QLatin1String("..") &&
           !name.startsWith(QLatin1Char('.'));
}

} // namespace

QByteArray contentTypeOf(const QString& fileName) {
    if (fileName.endsWith(QLatin1String(".js"))) {
        return "text/javascript";
    }
    if (fileName.endsWith(QLatin1String(".wasm"))) {
        return "application/wasm";
    }
    if (fileName.endsWith(QLatin1String(".html"))) {
        return "text/html";
    }
    if (fileName.endsWith(QLatin1String("swf"), Qt::CaseInsensitive)) {
        return "application/x-shockwave-flash";
    }
    return "application/octet-stream";
}

AnimationSchemeHandler::AnimationSchemeHandler(const QString& playerFolder,
                                               const QString& localAnimationFile,
                                               const QUrl& remoteAnimation, const QString& title,
                                               QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), playerFolder_(playerFolder),
      localAnimationFile_(localAnimationFile), remoteAnimation_(remoteAnimation), title_(title) {}

void AnimationSchemeHandler::replyWithRemoteAnimation(QWebEngineUrlRequestJob* job) {
    if (!network_) {
        network_ = new QNetworkAccessManager(this);
    }
    QNetworkReply* download = network_->get(QNetworkRequest(remoteAnimation_));
    // The page may be closed before the download ends; the job is gone then.
    QPointer<QWebEngineUrlRequestJob> pending(job);
    connect(job, &QObject::destroyed, download, &QNetworkReply::abort);
    connect(download, &QNetworkReply::finished, this, [download, pending] {
        download->deleteLater();
        if (!pending) {
            return;
        }
        if (download->error() != QNetworkReply::NoError) {
            pending->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        reply(pending, contentTypeOf(QStringLiteral("animation.swf")), download->readAll());
    });
}

void AnimationSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    const QString host = url.host();
    const QString path = url.path();
    QByteArray bytes;
    if (host == QLatin1String("explanation") && path == QLatin1String("/player.html")) {
        reply(job, "text/html", animationPageHtml(localAnimationUrl, title_));
    } else if (host == QLatin1String("explanation") && path == QLatin1String("/animation.swf") &&
               !localAnimationFile_.isEmpty() && readWhole(localAnimationFile_, &bytes)) {
        reply(job, contentTypeOf(path), bytes);
    } else if (host == QLatin1String("explanation") && path == QLatin1String("/animation.swf") &&
               remoteAnimation_.isValid()) {
        replyWithRemoteAnimation(job);
    } else if (host == QLatin1String("player") && isPlainFileName(path.mid(1)) &&
               readWhole(QDir(playerFolder_).filePath(path.mid(1)), &bytes)) {
        reply(job, contentTypeOf(path), bytes);
    } else {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    }
}
