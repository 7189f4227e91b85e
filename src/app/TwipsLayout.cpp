#include "app/TwipsLayout.h"

#include <algorithm>
#include <cmath>

TwipsLayout::TwipsLayout(QWidget* screen) : screen_(screen) {}

void TwipsLayout::place(QWidget* child, int left, int top, int width, int height) {
    placed_.push_back({child, QRect(left, top, width, height)});
    child->setGeometry(rect(left, top, width, height));
}

void TwipsLayout::setFont(QWidget* child, const QString& family, double points, bool bold) {
    fonted_.push_back({child, family, points, bold});
    child->setFont(font(family, points, bold));
}

double TwipsLayout::scale() const {
    const double sx = screen_->width() * 15.0 / designWidth;
    const double sy = screen_->height() * 15.0 / designHeight;
    const double s = std::min(sx, sy);
    return s > 0 ? s : 1.0;
}

int TwipsLayout::px(int twips) const {
    return static_cast<int>(std::lround(twips * scale() / 15.0));
}

QRect TwipsLayout::rect(int left, int top, int width, int height) const {
    const int x = px(left);
    const int y = px(top);
    return QRect(x, y, px(left + width) - x, px(top + height) - y);
}

int TwipsLayout::fontPixels(double points) const {
    const double pixels = points * 96.0 / 72.0 * scale();
    int even = 2 * static_cast<int>(std::lround(pixels / 2.0));
    return std::max(even, 2);
}

QFont TwipsLayout::font(const QString& family, double points, bool bold) const {
    QFont f(family);
    f.setPixelSize(fontPixels(points));
    f.setBold(bold);
    return f;
}

void TwipsLayout::apply() {
    for (const Placed& p : placed_) {
        if (p.widget) {
            const QRect& t = p.twips;
            p.widget->setGeometry(rect(t.x(), t.y(), t.width(), t.height()));
        }
    }
    for (const Fonted& f : fonted_) {
        if (f.widget) {
            f.widget->setFont(font(f.family, f.points, f.bold));
        }
    }
}
