#include "drill/ArcArrow.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

ArcArrow::ArcArrow(Bulge bulge, Head head, QWidget* parent)
    : QWidget(parent), bulge_(bulge), head_(head) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ArcArrow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = width();
    const double h = height();
    const double pen = std::max(2.0, h / 16.0);
    const double headLength = std::max(6.0, h / 4.0);
    const double margin = pen + headLength / 2;

    // The ends sit on the edge next to the row; the curve reaches the far edge.
    const double nearY = bulge_ == Bulge::Up ? h - margin : margin;
    const double farY = bulge_ == Bulge::Up ? pen : h - pen;
    const QPointF left(margin, nearY);
    const QPointF right(w - margin, nearY);
    const QPointF c1(margin + w * 0.12, farY);
    const QPointF c2(w - margin - w * 0.12, farY);

    QPainterPath path(left);
    path.cubicTo(c1, c2, right);
    const QColor red(255, 0, 0);
    painter.setPen(QPen(red, pen, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);

    // The head points along the curve's direction at its end.
    const bool atRight = head_ == Head::Right;
    const QPointF tip = atRight ? right : left;
    const QPointF from = atRight ? c2 : c1;
    const double angle = std::atan2(tip.y() - from.y(), tip.x() - from.x());
    const double spread = 0.45;
    const QPointF back1(tip.x() - headLength * std::cos(angle - spread),
                        tip.y() - headLength * std::sin(angle - spread));
    const QPointF back2(tip.x() - headLength * std::cos(angle + spread),
                        tip.y() - headLength * std::sin(angle + spread));
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(red);
    painter.drawPolygon(QPolygonF({tip, back1, back2}));
}
