#include "media/ExplanationEntry.h"

#include <QDir>

ExplanationViewer viewerFor(const QString& entry) {
    return entry.endsWith(QStringLiteral("swf"), Qt::CaseSensitive) ? ExplanationViewer::Animation
                                                                    : ExplanationViewer::Video;
}

QString videoFileOf(const QString& drillDataFolder, const QString& entry) {
    return drillDataFolder + entry;
}

namespace {

// The schemes taken as they are. A Windows drive letter ("C:\...") is not one of them.
bool hasOwnScheme(const QString& address) {
    static const QStringList schemes = {QStringLiteral("http:"), QStringLiteral("https:"),
                                        QStringLiteral("file:")};
    for (const QString& scheme : schemes) {
        if (address.startsWith(scheme, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

} // namespace

AnimationTarget animationTargetOf(const QString& address, const QString& drillDataFolder) {
    AnimationTarget target;
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty()) {
        return target;
    }
    const bool animation = viewerFor(address) == ExplanationViewer::Animation;
    if (hasOwnScheme(trimmed)) {
        const QUrl url(trimmed, QUrl::TolerantMode);
        if (animation && url.isLocalFile()) {
            target.kind = AnimationTarget::Kind::LocalSwf;
            target.localFile = url.toLocalFile();
        } else {
            target.kind =
                animation ? AnimationTarget::Kind::RemoteSwf : AnimationTarget::Kind::PageUrl;
            target.url = url;
        }
        return target;
    }
    const QString file =
        QDir::isAbsolutePath(trimmed) ? trimmed : videoFileOf(drillDataFolder, trimmed);
    if (animation) {
        target.kind = AnimationTarget::Kind::LocalSwf;
        target.localFile = file;
    } else {
        target.kind = AnimationTarget::Kind::PageUrl;
        target.url = QUrl::fromLocalFile(file);
    }
    return target;
}
