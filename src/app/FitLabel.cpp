#include "app/FitLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr double oneLineFloor = 0.6;

QFont sized(const QFont& font, int pixels) {
    QFont f = font;
    f.setPixelSize(pixels);
    return f;
}

bool fits(const QFont& font, const QString& text, int width) {
    return QFontMetrics(font).horizontalAdvance(text) <= width;
}

} // namespace

FitLabel::Fitted fitText(const QFont& font, const QString& text, const QSize& box) {
    const int original = font.pixelSize();
    if (text.isEmpty() || original <= 0 || fits(font, text, box.width())) {
        return {font, true};
    }
    const int floor = std::max(1, static_cast<int>(std::lround(original * oneLineFloor)));
    for (int px = original - 1; px >= floor; --px) {
        if (fits(sized(font, px), text, box.width())) {
            return {sized(font, px), true};
        }
    }
    return {sized(font, floor), false};
}

FitLabel::Fitted FitLabel::shown() const {
    return fitText(font(), text(), contentsRect().size());
}

void FitLabel::paintEvent(QPaintEvent* event) {
    const Fitted fitted = shown();
    if (fitted.font == font()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    painter.setFont(fitted.font);
    painter.setPen(palette().color(foregroundRole()));
    const QRect area = contentsRect();
    if (fitted.fits) {
        painter.drawText(area, static_cast<int>(alignment()), text());
        return;
    }
    // Whole characters from the beginning, as many as the box holds.
    QString shownText = text();
    while (!shownText.isEmpty() && !fits(fitted.font, shownText, area.width())) {
        shownText.chop(1);
    }
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, shownText);
}
