#include "views/GraphPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr double printerDotsPerInch = 600; // the dots the printed pen widths are counted in
constexpr double screenDotsPerInch = 96;   // the design resolution of the screens

double fontPoints(const GraphSurface& surface, GraphFont font) {
    switch (font) {
    case GraphFont::Name:
        return 3 * surface.baseFontSize;
    case GraphFont::Title:
        return (surface.paper ? 3 : 2) * surface.baseFontSize;
    case GraphFont::Text:
        return surface.fontSize();
    case GraphFont::Figures:
        return 1.5 * surface.fontSize();
    }
    return surface.fontSize();
}

void paintText(QPainter& painter, const GraphSurface& surface, const GraphText& text) {
    const QFont font = graphFont(surface, text.font);
    painter.setFont(font);
    painter.setPen(QColor(Qt::black));
    const QFontMetricsF metrics(font, painter.device());
    painter.drawText(QPointF(text.at.x(), text.at.y() + metrics.ascent()), text.text);
}

} // namespace

QFont graphFont(const GraphSurface& surface, GraphFont kind) {
    QFont font(surface.fontFamily);
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(
        std::max(1, int(std::lround(fontPoints(surface, kind) * surface.pixelsPerPoint))));
    return font;
}

QSizeF graphTextSize(const GraphSurface& surface, GraphFont font, const QString& text) {
    const QFontMetricsF metrics(graphFont(surface, font));
    return {metrics.horizontalAdvance(text), metrics.height()};
}

QString elidedGraphText(const GraphSurface& surface, GraphFont font, const QString& text,
                        double width) {
    return QFontMetricsF(graphFont(surface, font)).elidedText(text, Qt::ElideRight, width);
}

double graphPenWidth(const GraphSurface& surface, GraphPen pen) {
    switch (pen) {
    case GraphPen::Rule:
        return 2 * surface.pixelScale;
    case GraphPen::BestLine:
        return 3 * surface.pixelScale;
    case GraphPen::Current:
        break;
    }
    return surface.penWidth() * surface.pixelScale;
}

void paintGraphBlock(QPainter& painter, const GraphSurface& surface, const GraphDrawing& drawing) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const GraphText& text : drawing.page) {
        paintText(painter, surface, text);
    }
    painter.setClipRect(drawing.band, Qt::IntersectClip);
    for (const GraphItem& item : drawing.items) {
        if (const auto* line = std::get_if<GraphLine>(&item)) {
            QPen pen(line->color, graphPenWidth(surface, line->pen), Qt::SolidLine, Qt::RoundCap);
            painter.setPen(pen);
            painter.drawLine(line->from, line->to);
        } else if (const auto* dot = std::get_if<GraphDot>(&item)) {
            const double radius = graphPenWidth(surface, GraphPen::Current) / 2;
            painter.setPen(Qt::NoPen);
            painter.setBrush(dot->color);
            painter.drawEllipse(dot->at, radius, radius);
            painter.setBrush(Qt::NoBrush);
        } else if (const auto* text = std::get_if<GraphText>(&item)) {
            paintText(painter, surface, *text);
        }
    }
    painter.restore();
}

GraphSurface paperSurface(QSizeF printable, double dotsPerInch, const QString& fontFamily) {
    GraphSurface surface;
    surface.size = printable;
    surface.paper = true;
    surface.pixelScale = dotsPerInch / printerDotsPerInch;
    surface.pixelsPerPoint = dotsPerInch / 72.0;
    surface.fontFamily = fontFamily;
    surface.baseFontSize = 6;
    return surface;
}

GraphSurface screenSurface(QSizeF size, double scale, double baseFontSize,
                           const QString& fontFamily) {
    GraphSurface surface;
    surface.size = size;
    surface.paper = false;
    surface.pixelScale = scale;
    surface.pixelsPerPoint = screenDotsPerInch / 72.0 * scale;
    surface.fontFamily = fontFamily;
    surface.baseFontSize = baseFontSize;
    return surface;
}
