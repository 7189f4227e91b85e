#pragma once

#include <QString>
#include <QUrl>

// Which viewer an explanation entry opens: an entry whose last three characters are
// exactly "swf" (lower case) is a web animation; anything else is a media file.
enum class ExplanationViewer { Animation, Video };

ExplanationViewer viewerFor(const QString& entry);

// The file the video window plays: the drill's data folder followed directly by the
// entry (the folder alone when the entry is empty).
QString videoFileOf(const QString& drillDataFolder, const QString& entry);

// Where the browser window's address leads.
struct AnimationTarget {
    enum class Kind {
        Blank,     // no address: the browser stays blank
        PageUrl,   // an address the web view opens as it is
        LocalSwf,  // a local animation file, played by the animation player
        RemoteSwf, // an animation on a web server, played by the animation player
    };
    Kind kind = Kind::Blank;
    QUrl url;          // PageUrl and RemoteSwf
    QString localFile; // LocalSwf
};

// An address with a scheme of its own (http, https, file) is taken as it is; an absolute
// path as a local file; any other text names a file in the drill's data folder. An address
// ending in "swf" is an animation for the player, whatever its place.
AnimationTarget animationTargetOf(const QString& address, const QString& drillDataFolder);
