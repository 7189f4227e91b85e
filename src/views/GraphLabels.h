#pragma once

#include "views/ResultGraph.h"

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

// Places the texts of one block of the result graph so that none is written over another
// or crossed by the line of the bests. Texts are placed in order of importance: a fixed
// text (title, figures, scale) stands where it is put; a label takes the first of its
// places that is clear of everything placed before it, and is left out when none is.
class LabelPlacer {
public:
    LabelPlacer(const GraphSurface& surface, GraphDrawing& drawing);

    // The line of the bests, which no label may cross.
    void avoidLine(QLineF line);

    // Keeps labels off a text placed elsewhere (the page's heading).
    void reserve(const QRectF& rect) { taken_.push_back(rect); }

    // A text that is always shown: put at `at`, moved up or down into the block's band.
    void fixed(QPointF at, const QString& text, GraphFont font);

    // A label in the text font at its own place; where that is taken, moved up or down by
    // up to `shifts` half lines. A label of a point (sideOf given) may also go left of the
    // point at each of those heights. False when it was left out.
    bool label(QPointF at, const QString& text, int shifts, const QPointF* sideOf = nullptr);

    // The rectangle the text takes with its top-left corner at `at`.
    QRectF rectOf(QPointF at, const QString& text, GraphFont font) const;

private:
    bool clear(const QRectF& rect) const;
    QPointF intoBand(QPointF at, double height) const;

    const GraphSurface& surface_;
    GraphDrawing& drawing_;
    std::vector<QRectF> taken_;
    std::vector<QLineF> lines_;
    double gap_ = 0;
};
