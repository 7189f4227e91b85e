#pragma once

#include <QColor>
#include <QRectF>
#include <QWidget>

class QPainter;

// The splash artwork, drawn by the program: the title over a soft wash of the season's
// colour and an equal ratio with its blank box and the two "×4" arrows of the hints.
void paintSplashArtwork(QPainter& painter, const QRectF& area, const QColor& season);

// Picture1 of the splash, which draws the artwork itself.
class SplashPicture : public QWidget {
    Q_OBJECT
public:
    explicit SplashPicture(QWidget* parent = nullptr);
    void setSeason(const QColor& season);
    QColor season() const { return season_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor season_{192, 255, 192};
};
