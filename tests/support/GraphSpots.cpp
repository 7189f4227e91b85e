#include "support/GraphSpots.h"

#include <QImage>
#include <algorithm>
#include <utility>

Spots spotsOf(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    std::vector<int> seen(std::size_t(image.width() * image.height()), 0);
    const auto kind = [&](int x, int y) {
        const QRgb c = image.pixel(x, y);
        if (qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90) {
            return 1;
        }
        if (qBlue(c) > 180 && qRed(c) < 90 && qGreen(c) < 90) {
            return 2;
        }
        return 0;
    };
    Spots spots;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int k = kind(x, y);
            if (k == 0 || seen[std::size_t(y * image.width() + x)]) {
                continue;
            }
            // Flood the spot and take the centre of its pixels.
            std::vector<QPoint> stack{{x, y}};
            seen[std::size_t(y * image.width() + x)] = 1;
            double sx = 0, sy = 0;
            int count = 0;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                sx += p.x();
                sy += p.y();
                ++count;
                // Pixels up to four apart belong to one spot: the line of the bests,
                // drawn over a dot, may cut it in two.
                for (int dy = -4; dy <= 4; ++dy) {
                    for (int dx = -4; dx <= 4; ++dx) {
                        const QPoint q = p + QPoint(dx, dy);
                        if (q.x() < 0 || q.y() < 0 || q.x() >= image.width() ||
                            q.y() >= image.height()) {
                            continue;
                        }
                        const std::size_t at = std::size_t(q.y() * image.width() + q.x());
                        if (!seen[at] && kind(q.x(), q.y()) == k) {
                            seen[at] = 1;
                            stack.push_back(q);
                        }
                    }
                }
            }
            const QPointF centre(sx / count / image.width(), sy / count / image.height());
            (k == 1 ? spots.red : spots.blue).push_back(centre);
        }
    }
    const auto byPlace = [](const QPointF& a, const QPointF& b) {
        return std::make_pair(a.y(), a.x()) < std::make_pair(b.y(), b.x());
    };
    std::sort(spots.red.begin(), spots.red.end(), byPlace);
    std::sort(spots.blue.begin(), spots.blue.end(), byPlace);
    return spots;
}
