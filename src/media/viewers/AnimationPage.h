#pragma once

#include <QByteArray>
#include <QString>

// The scheme through which the browser window is given the animation player and the
// animation: everything it plays comes from the program's own folder and the school's
// files, never from the network.
inline const QByteArray animationScheme = QByteArrayLiteral("mirunea");
// mirunea://explanation/player.html, the page that hosts the player
inline const QString animationPageUrl = QStringLiteral("mirunea://explanation/player.html");
// mirunea://explanation/animation.swf, the local animation file
inline const QString localAnimationUrl = QStringLiteral("mirunea://explanation/animation.swf");
// mirunea://player/<file>, the player's own files
inline const QString playerFilesUrl = QStringLiteral("mirunea://player/");

// The page that plays the animation at swfUrl in the whole window with the player at
// playerFilesUrl. The page routes the player's fetches of our scheme through
// XMLHttpRequest (the web engine does not let fetch() use a custom scheme) and says so in
// plain words when the player's files are missing.
QByteArray animationPageHtml(const QString& swfUrl, const QString& title);
