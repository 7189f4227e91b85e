#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// The explanation of level 1 a new school starts with, "解説1.mp4" in the drill's data folder: a
// few seconds of animation showing how 3 : 7 = 12 : □ is solved (3 becomes 12 by "×4", so 7 becomes
// □ by "×4", and 28 appears in the box). The frames are drawn here and encoded as H.264
// in MP4 by ffmpeg; the video has no sound track.
struct ExplanationVideoFormat {
    int width = 640;
    int height = 480;
    int framesPerSecond = 12;
    int frames = 72; // six seconds
};

// The colours a pupil sees throughout: the paper behind the problem and the title band.
inline const QColor explanationPaper(255, 244, 200);
inline const QColor explanationBand(30, 80, 160);
inline const QColor explanationArrow(220, 40, 40);
inline const QColor explanationAnswer(0, 140, 60);

// Frame n of the animation.
QImage explanationFrame(const ExplanationVideoFormat& format, int frame);

// Encodes the animation into path; false with a description when ffmpeg is missing or fails.
bool writeExplanationVideo(const QString& path, QString* error,
                           const ExplanationVideoFormat& format = {});
