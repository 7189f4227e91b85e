#include "drill/TimeBar.h"

#include <QPainter>
#include <cmath>

TimeBar::TimeBar(int trackWidthTwips, QWidget* parent) : QWidget(parent), track_(trackWidthTwips) {}

void TimeBar::setWidths(double minimumTwips, double targetTwips, double progressTwips) {
    if (minimumTwips == minimum_ && targetTwips == target_ && progressTwips == progress_) {
        return;
    }
    minimum_ = minimumTwips;
    target_ = targetTwips;
    progress_ = progressTwips;
    update();
}

void TimeBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const double pixelsPerTwip = double(width()) / track_;
    const auto bar = [&](double twips, const QColor& colour) {
        const int w = static_cast<int>(std::lround(twips * pixelsPerTwip));
        if (w > 0) {
            painter.fillRect(0, 0, w, height(), colour);
        }
    };
    bar(track_, Qt::white);               // sShape5, the time limit
    bar(minimum_, QColor(128, 255, 128)); // sShape4, the lowest passing time
    bar(target_, QColor(0, 255, 0));      // sShape3, the target time
    bar(progress_, QColor(0, 0, 255));    // sShape2, the clock
}
