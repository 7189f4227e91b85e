#pragma once

#include <QFont>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <memory>
#include <vector>

// A paint device that keeps what was drawn on it instead of pixels: every text with the
// rectangle its font gives it and every line with its pen, in the device's coordinates
// (the painter's transformation applied). For tests of where things land on a surface.
class PaintRecorder : public QPaintDevice {
public:
    struct Text {
        QString text;
        QRectF rect; // the advance of the text by the font's height, from its top
    };
    struct Line {
        QLineF line;
        QPen pen;
    };

    PaintRecorder(QSize size, int dotsPerInch);
    ~PaintRecorder() override;

    std::vector<Text> texts;
    std::vector<Line> lines;

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine;
    std::unique_ptr<Engine> engine_;
    QSize size_;
    int dotsPerInch_;
};
