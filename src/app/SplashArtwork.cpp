#include "app/SplashArtwork.h"

#include "app/JapaneseFonts.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

QColor mix(const QColor& a, const QColor& b, double share) {
    return QColor::fromRgbF(static_cast<float>(a.redF() * share + b.redF() * (1 - share)),
                            static_cast<float>(a.greenF() * share + b.greenF() * (1 - share)),
                            static_cast<float>(a.blueF() * share + b.blueF() * (1 - share)));
}

const QColor ink(34, 48, 84);
const QColor arrowRed(214, 48, 49);

void paintBackground(QPainter& p, const QRectF& area, const QColor& season) {
    QLinearGradient wash(area.topLeft(), area.bottomLeft());
    wash.setColorAt(0.0, mix(season, Qt::white, 0.55));
    wash.setColorAt(1.0, mix(season, Qt::white, 0.18));
    p.fillRect(area, wash);

    // Soft bubbles; fixed places so the splash looks the same at every start.
    struct Bubble {
        double x, y, r;
    };
    constexpr std::array<Bubble, 7> bubbles{{{0.08, 0.20, 0.10},
                                             {0.92, 0.16, 0.13},
                                             {0.80, 0.88, 0.09},
                                             {0.16, 0.86, 0.07},
                                             {0.50, 0.05, 0.05},
                                             {0.97, 0.62, 0.06},
                                             {0.03, 0.58, 0.05}}};
    p.setPen(Qt::NoPen);
    for (const Bubble& b : bubbles) {
        const QPointF centre(area.left() + b.x * area.width(), area.top() + b.y * area.height());
        const double radius = b.r * area.width();
        QRadialGradient glow(centre, radius);
        glow.setColorAt(0.0, QColor(255, 255, 255, 150));
        glow.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setBrush(glow);
        p.drawEllipse(centre, radius, radius);
    }
}

void paintTitle(QPainter& p, const QRectF& area) {
    QFont title(msPGothic);
    title.setPixelSize(static_cast<int>(area.height() * 0.2));
    title.setBold(true);
    title.setLetterSpacing(QFont::PercentageSpacing, 108);
    p.setFont(title);
    const QRectF band(area.left(), area.top() + area.height() * 0.06, area.width(),
                      area.height() * 0.26);
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(band.translated(2, 2), Qt::AlignCenter, QStringLiteral("ミルネア"));
    p.setPen(ink);
    p.drawText(band, Qt::AlignCenter, QStringLiteral("ミルネア"));

    QFont subtitle(msPGothic);
    subtitle.setPixelSize(static_cast<int>(area.height() * 0.065));
    p.setFont(subtitle);
    p.setPen(ink.lighter(160));
    p.drawText(QRectF(area.left(), band.bottom(), area.width(), area.height() * 0.09),
               Qt::AlignCenter, QStringLiteral("等しい比のタイムドリル"));
}

void paintTermBox(QPainter& p, const QRectF& box, const QString& text, bool blank) {
    p.setPen(QPen(ink, 2));
    p.setBrush(blank ? QColor(255, 236, 150) : QColor(255, 255, 255));
    p.drawRoundedRect(box, box.height() * 0.18, box.height() * 0.18);
    QFont digits(msGothic);
    digits.setPixelSize(static_cast<int>(box.height() * 0.62));
    digits.setBold(true);
    p.setFont(digits);
    p.setPen(blank ? arrowRed : ink);
    p.drawText(box, Qt::AlignCenter, text);
}

// An arc from one term box to another, over the boxes (lift > 0) or under them (lift < 0).
void paintArrow(QPainter& p, const QRectF& from, const QRectF& to, double lift,
                const QString& label) {
    const bool over = lift > 0;
    const double edge = over ? from.top() - 4 : from.bottom() + 4;
    const QPointF start(from.center().x(), edge);
    const QPointF end(to.center().x(), edge);
    const QPointF control((start.x() + end.x()) / 2, start.y() - 2 * lift);
    QPainterPath arc(start);
    arc.quadTo(control, end);
    p.setPen(QPen(arrowRed, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);

    // Arrow head along the arc's last tangent.
    const QPointF tangent = end - control;
    const double length = std::hypot(tangent.x(), tangent.y());
    const QPointF unit(tangent.x() / length, tangent.y() / length);
    const QPointF normal(-unit.y(), unit.x());
    const double head = 10;
    QPolygonF tip;
    tip << end << end - unit * head + normal * head * 0.55
        << end - unit * head - normal * head * 0.55;
    p.setPen(Qt::NoPen);
    p.setBrush(arrowRed);
    p.drawPolygon(tip);

    QFont font(msPGothic);
    font.setPixelSize(16);
    font.setBold(true);
    p.setFont(font);
    p.setPen(arrowRed);
    const QPointF middle = arc.pointAtPercent(0.5);
    const double labelTop = over ? middle.y() - 22 : middle.y() + 2;
    p.drawText(QRectF(middle.x() - 30, labelTop, 60, 20), Qt::AlignCenter, label);
}

void paintRatio(QPainter& p, const QRectF& area) {
    const double h = area.height() * 0.17;
    const double w = h * 1.25;
    const double gap = h * 0.55;
    const double total = 4 * w + 3 * gap;
    const double top = area.top() + area.height() * 0.6;
    double x = area.left() + (area.width() - total) / 2;
    std::array<QRectF, 4> boxes;
    for (QRectF& box : boxes) {
        box = QRectF(x, top, w, h);
        x += w + gap;
    }
    const std::array<QString, 4> terms{QStringLiteral("3"), QStringLiteral("7"),
                                       QStringLiteral("12"), QStringLiteral("?")};
    for (int i = 0; i < 4; ++i) {
        paintTermBox(p, boxes[i], terms[i], i == 3);
    }
    QFont signs(msGothic);
    signs.setPixelSize(static_cast<int>(h * 0.6));
    signs.setBold(true);
    p.setFont(signs);
    p.setPen(ink);
    const std::array<QString, 3> between{QStringLiteral(":"), QStringLiteral("="),
                                         QStringLiteral(":")};
    for (int i = 0; i < 3; ++i) {
        const QRectF slot(boxes[i].right(), top, gap, h);
        p.drawText(slot, Qt::AlignCenter, between[i]);
    }
    paintArrow(p, boxes[0], boxes[2], h * 0.45, QStringLiteral("×4"));
    paintArrow(p, boxes[1], boxes[3], -h * 0.45, QStringLiteral("×4"));
}

} // namespace

void paintSplashArtwork(QPainter& painter, const QRectF& area, const QColor& season) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintBackground(painter, area, season);
    paintTitle(painter, area);
    paintRatio(painter, area);
    // A band of the season's own colour closes the picture off from the labels below.
    const double band = std::max(4.0, area.height() * 0.018);
    painter.fillRect(QRectF(area.left(), area.bottom() - band, area.width(), band),
                     mix(season, ink, 0.85));
    painter.restore();
}

SplashPicture::SplashPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Picture1"));
}

void SplashPicture::setSeason(const QColor& season) {
    season_ = season;
    update();
}

void SplashPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintSplashArtwork(painter, QRectF(rect()), season_);
}
