#include "views/GraphLabels.h"

#include "views/GraphPainter.h"

#include <algorithm>
#include <array>

namespace {

// Whether the segment runs through the rectangle (or ends inside it).
bool crosses(const QLineF& line, const QRectF& rect) {
    if (rect.contains(line.p1()) || rect.contains(line.p2())) {
        return true;
    }
    const std::array<QLineF, 4> edges = {
        QLineF(rect.topLeft(), rect.topRight()), QLineF(rect.topRight(), rect.bottomRight()),
        QLineF(rect.bottomRight(), rect.bottomLeft()), QLineF(rect.bottomLeft(), rect.topLeft())};
    return std::any_of(edges.begin(), edges.end(), [&](const QLineF& edge) {
        return line.intersects(edge, nullptr) == QLineF::BoundedIntersection;
    });
}

} // namespace

LabelPlacer::LabelPlacer(const GraphSurface& surface, GraphDrawing& drawing)
    : surface_(surface), drawing_(drawing) {
    // Texts keep a tenth of a line apart, so that measuring on one device and drawing on
    // another cannot bring them together.
    gap_ = 0.1 * rectOf({}, QStringLiteral("0"), GraphFont::Text).height();
}

void LabelPlacer::avoidLine(QLineF line) {
    lines_.push_back(line);
}

QRectF LabelPlacer::rectOf(QPointF at, const QString& text, GraphFont font) const {
    return QRectF(at, graphTextSize(surface_, font, text));
}

QPointF LabelPlacer::intoBand(QPointF at, double height) const {
    const QRectF& band = drawing_.band;
    at.setY(std::max(band.top(), std::min(at.y(), band.bottom() - height)));
    return at;
}

void LabelPlacer::fixed(QPointF at, const QString& text, GraphFont font) {
    QRectF rect = rectOf(at, text, font);
    rect.moveTopLeft(intoBand(at, rect.height()));
    taken_.push_back(rect);
    drawing_.items.emplace_back(GraphText{rect.topLeft(), text, font});
}

bool LabelPlacer::clear(const QRectF& rect) const {
    const QRectF& band = drawing_.band;
    if (rect.top() < band.top() || rect.bottom() > band.bottom() || rect.left() < band.left() ||
        rect.right() > band.right()) {
        return false;
    }
    const QRectF apart = rect.adjusted(-gap_, -gap_, gap_, gap_);
    for (const QRectF& other : taken_) {
        if (apart.intersects(other)) {
            return false;
        }
    }
    // The line is drawn wide: a label keeps clear of its edges, not only of its middle.
    const double half = graphPenWidth(surface_, GraphPen::BestLine) / 2;
    const QRectF wide = apart.adjusted(-half, -half, half, half);
    return std::none_of(lines_.begin(), lines_.end(),
                        [&](const QLineF& line) { return crosses(line, wide); });
}

bool LabelPlacer::label(QPointF at, const QString& text, int shifts, const QPointF* sideOf) {
    const QRectF own = rectOf(at, text, GraphFont::Text);
    const double height = own.height();
    std::vector<double> xs = {at.x()};
    if (sideOf) {
        // Left of the point, clear of its dot: the line of the bests leaves a point to the
        // right, so its left is where a label is least in the way.
        xs.push_back(sideOf->x() - own.width() - graphPenWidth(surface_, GraphPen::Current));
    }
    const QPointF start = intoBand(at, height);
    for (int k = 0; k <= shifts; ++k) {
        for (const double sign : {1.0, -1.0}) {
            if (k == 0 && sign < 0) {
                continue;
            }
            for (const double x : xs) {
                const QRectF rect(QPointF(x, start.y() + sign * k * height / 2), own.size());
                if (clear(rect)) {
                    taken_.push_back(rect);
                    drawing_.items.emplace_back(GraphText{rect.topLeft(), text, GraphFont::Text});
                    return true;
                }
            }
        }
    }
    return false;
}
