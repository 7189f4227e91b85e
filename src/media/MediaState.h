#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

// What the explanation viewers share with the level menu.
struct MediaState {
    // The explanation entry chosen last; the viewer that opens reads it. It keeps its
    // value after the viewer closes.
    QString currentMedia;
    // The video window while it is open: a second explanation only brings it forward.
    QPointer<QWidget> videoWindow;
    // The folder of the animation player's files (the program folder's "ruffle").
    QString animationPlayerFolder;
};
