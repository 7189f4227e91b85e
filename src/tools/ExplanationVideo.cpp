#include "tools/ExplanationVideo.h"

#include "app/JapaneseFonts.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Where each term of "3 : 7 = 12 : □" stands, as fractions of the width, on one line.
constexpr std::array<const char*, 7> terms = {"3", ":", "7", "=", "12", ":", "□"};
constexpr std::array<double, 7> termX = {0.17, 0.27, 0.37, 0.50, 0.64, 0.75, 0.85};
constexpr double lineY = 0.52;

// Seconds at which each step starts.
constexpr double firstArrowAt = 1.0;
constexpr double secondArrowAt = 2.5;
constexpr double answerAt = 4.0;
constexpr double arrowSeconds = 1.0;

double progress(double t, double start, double length) {
    return std::clamp((t - start) / length, 0.0, 1.0);
}

QFont pixelFont(int pixels, bool bold) {
    QFont font(msPGothic);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The arc from one term to another, drawn up to the fraction done, with its head and label.
void drawArrow(QPainter& p, QPointF from, QPointF to, double bend, double done,
               const QString& label, int fontPixels) {
    if (done <= 0) {
        return;
    }
    QPainterPath arc(from);
    const QPointF control((from.x() + to.x()) / 2, from.y() + bend);
    arc.quadTo(control, to);
    QPainterPath part(from);
    constexpr int steps = 40;
    for (int i = 1; i <= steps * done; ++i) {
        part.lineTo(arc.pointAtPercent(static_cast<double>(i) / steps));
    }
    p.setPen(QPen(explanationArrow, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(part);
    if (done >= 1.0) {
        const double angle = arc.angleAtPercent(1.0) * M_PI / 180.0;
        const QPointF back(-std::cos(angle), std::sin(angle));
        const QPointF side(back.y(), -back.x());
        QPolygonF head;
        head << to << to + back * 18 + side * 10 << to + back * 18 - side * 10;
        p.setBrush(explanationArrow);
        p.drawPolygon(head);
        p.setFont(pixelFont(fontPixels, true));
        const QPointF mid = arc.pointAtPercent(0.5);
        const QRectF box(mid.x() - 60, mid.y() + (bend < 0 ? -fontPixels - 8 : 8), 120,
                         fontPixels + 4);
        p.drawText(box, Qt::AlignCenter, label);
    }
}

} // namespace

QImage explanationFrame(const ExplanationVideoFormat& format, int frame) {
    const int w = format.width;
    const int h = format.height;
    const double t = static_cast<double>(frame) / format.framesPerSecond;
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(explanationPaper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const int band = h / 7;
    p.fillRect(0, 0, w, band, explanationBand);
    p.setPen(Qt::white);
    p.setFont(pixelFont(band / 2, true));
    p.drawText(QRect(0, 0, w, band), Qt::AlignCenter,
               QStringLiteral("レベル１　比の□をもとめよう"));

    const int termPixels = h / 8;
    const double y = h * lineY;
    const double answer = progress(t, answerAt, 0.5);
    p.setFont(pixelFont(termPixels, true));
    for (std::size_t i = 0; i < terms.size(); ++i) {
        const QRectF box(termX[i] * w - termPixels, y - termPixels * 0.6, termPixels * 2,
                         termPixels * 1.2);
        const bool blank = i + 1 == terms.size();
        if (blank && answer > 0) {
            QColor green = explanationAnswer;
            green.setAlphaF(answer);
            p.setPen(green);
            p.drawText(box, Qt::AlignCenter, QStringLiteral("28"));
        } else {
            p.setPen(Qt::black);
            p.drawText(box, Qt::AlignCenter, QString::fromUtf8(terms[i]));
        }
    }

    const double above = y - termPixels * 0.7;
    const double below = y + termPixels * 0.7;
    drawArrow(p, {termX[0] * w, above}, {termX[4] * w, above}, -h * 0.22,
              progress(t, firstArrowAt, arrowSeconds), QStringLiteral("×4"), h / 14);
    drawArrow(p, {termX[2] * w, below}, {termX[6] * w, below}, h * 0.22,
              progress(t, secondArrowAt, arrowSeconds), QStringLiteral("×4"), h / 14);

    if (answer > 0) {
        p.setPen(explanationAnswer);
        p.setFont(pixelFont(h / 14, true));
        p.drawText(QRect(0, h * 17 / 20, w, h / 10), Qt::AlignCenter,
                   QStringLiteral("7 × 4 = 28　　答え 28"));
    }
    return image;
}

bool writeExplanationVideo(const QString& path, QString* error,
                           const ExplanationVideoFormat& format) {
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) {
        *error =
            QStringLiteral("解説の動画を作る ffmpeg が見つかりません (apt-get install ffmpeg)。");
        return false;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error = QStringLiteral("フォルダ「%1」を作れません。").arg(QFileInfo(path).absolutePath());
        return false;
    }
    const QString size = QStringLiteral("%1x%2").arg(format.width).arg(format.height);
    QProcess encoder;
    encoder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    encoder.start(ffmpeg, {QStringLiteral("-hide_banner"),
                           QStringLiteral("-loglevel"),
                           QStringLiteral("error"),
                           QStringLiteral("-y"),
                           QStringLiteral("-f"),
                           QStringLiteral("rawvideo"),
                           QStringLiteral("-pixel_format"),
                           QStringLiteral("rgb24"),
                           QStringLiteral("-video_size"),
                           size,
                           QStringLiteral("-framerate"),
                           QString::number(format.framesPerSecond),
                           QStringLiteral("-i"),
                           QStringLiteral("-"),
                           QStringLiteral("-c:v"),
                           QStringLiteral("libx264"),
                           QStringLiteral("-preset"),
                           QStringLiteral("veryfast"),
                           QStringLiteral("-pix_fmt"),
                           QStringLiteral("yuv420p"),
                           QStringLiteral("-movflags"),
                           QStringLiteral("+faststart"),
                           QStringLiteral("-an"),
                           path});
    if (!encoder.waitForStarted()) {
        *error = QStringLiteral("ffmpeg を起動できません: %1").arg(encoder.errorString());
        return false;
    }
    for (int frame = 0; frame < format.frames; ++frame) {
        const QImage image = explanationFrame(format, frame);
        for (int row = 0; row < image.height(); ++row) {
            encoder.write(reinterpret_cast<const char*>(image.constScanLine(row)),
                          static_cast<qint64>(image.width()) * 3);
        }
        encoder.waitForBytesWritten(-1);
    }
    encoder.closeWriteChannel();
    if (!encoder.waitForFinished(60000) || encoder.exitStatus() != QProcess::NormalExit ||
        encoder.exitCode() != 0) {
        *error = QStringLiteral("解説の動画「%1」を作れません (ffmpeg の終了コード %2)。")
                     .arg(path)
                     .arg(encoder.exitCode());
        return false;
    }
    return true;
}
