#include "result/ResultBackground.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRect>
#include <cmath>
#include <numbers>

namespace {

// A five-pointed star centred at (x, y) with the outer radius r.
QPainterPath star(double x, double y, double r) {
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const double radius = i % 2 == 0 ? r : r * 0.42;
        const QPointF p(x + radius * std::cos(angle), y + radius * std::sin(angle));
        if (i == 0) {
            path.moveTo(p);
        } else {
            path.lineTo(p);
        }
    }
    path.closeSubpath();
    return path;
}

void paintSky(QPainter& painter, const QRectF& area) {
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, QColor(120, 190, 255));
    sky.setColorAt(0.55, QColor(200, 235, 255));
    sky.setColorAt(1.0, QColor(255, 250, 215));
    painter.fillRect(area, sky);
}

void paintSunburst(QPainter& painter, const QRectF& area) {
    const QPointF centre(area.center().x(), area.top() - area.height() * 0.05);
    const double reach = area.height() * 1.3;
    constexpr int rays = 24;
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < rays; i += 2) {
        const double a0 = std::numbers::pi * i / rays;
        const double a1 = std::numbers::pi * (i + 1) / rays;
        QPainterPath ray;
        ray.moveTo(centre);
        ray.lineTo(centre + QPointF(reach * std::cos(a0), reach * std::sin(a0)));
        ray.lineTo(centre + QPointF(reach * std::cos(a1), reach * std::sin(a1)));
        ray.closeSubpath();
        painter.fillPath(ray, QColor(255, 255, 255, 46));
    }
    QRadialGradient glow(centre, area.height() * 0.45);
    glow.setColorAt(0.0, QColor(255, 244, 170, 200));
    glow.setColorAt(1.0, QColor(255, 244, 170, 0));
    painter.fillRect(area, glow);
}

void paintStreamers(QPainter& painter, const QRectF& area) {
    const QColor colours[] = {QColor(255, 120, 140), QColor(255, 190, 60), QColor(110, 200, 120),
                              QColor(150, 130, 240)};
    const double w = area.width();
    const double h = area.height();
    for (int i = 0; i < 8; ++i) {
        QPainterPath path;
        const bool left = i % 2 == 0;
        const double x0 = left ? w * (0.005 + 0.012 * i) : w * (0.995 - 0.012 * i);
        path.moveTo(area.left() + x0, area.top());
        for (int k = 1; k <= 12; ++k) {
            const double y = h * k / 12.0;
            const double sway = w * 0.018 * std::sin(k * 1.3 + i);
            path.lineTo(area.left() + x0 + sway, area.top() + y);
        }
        QPen pen(colours[i % 4], std::max(2.0, w * 0.004));
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
}

void paintStars(QPainter& painter, const QRectF& area) {
    // Fixed places, in fractions of the picture, so the picture is the same every time.
    struct Place {
        double x, y, r;
    };
    constexpr Place places[] = {
        {0.06, 0.08, 0.030}, {0.94, 0.10, 0.034}, {0.10, 0.40, 0.020}, {0.91, 0.36, 0.022},
        {0.05, 0.62, 0.026}, {0.95, 0.60, 0.024}, {0.08, 0.90, 0.018}, {0.93, 0.88, 0.020},
        {0.50, 0.97, 0.014}, {0.30, 0.96, 0.012}, {0.70, 0.96, 0.012},
    };
    const double unit = std::min(area.width(), area.height() * 4.0 / 3.0);
    painter.setPen(QPen(QColor(230, 160, 0), std::max(1.0, unit * 0.0015)));
    painter.setBrush(QColor(255, 220, 60));
    for (const Place& p : places) {
        painter.drawPath(
            star(area.left() + p.x * area.width(), area.top() + p.y * area.height(), p.r * unit));
    }
}

} // namespace

void paintResultBackground(QPainter& painter, const QRect& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF rect(area);
    paintSky(painter, rect);
    paintSunburst(painter, rect);
    paintStreamers(painter, rect);
    paintStars(painter, rect);
    painter.restore();
}
