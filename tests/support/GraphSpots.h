#pragma once
// The red and blue dots of a drawn graph, found as spots of their colour, for the tests
// that look at the picture on screen and at the printed page.
#include <QPointF>
#include <vector>

class QImage;

// The centres of the red and the blue dots of an image, each sorted by place, in fractions
// of the image's width and height.
struct Spots {
    std::vector<QPointF> red;
    std::vector<QPointF> blue;
};

Spots spotsOf(const QImage& source);
