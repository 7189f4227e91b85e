#include "print/PageMapping.h"

#include <QPageSize>
#include <algorithm>
#include <cmath>

namespace {

constexpr double pageUnits = 10000.0;
constexpr double twipsPerPoint = 20.0;
constexpr double twipsPerInch = 1440.0;
constexpr double printerFactor = 0.89;
// Rules are 0.6 of the line factor wide: 1 pixel on the preview box, 4 dots on the
// printer. The dots are those of a 600 dpi printer (0.17 mm), whatever the resolution
// of the device the page is drawn on, so the rules print alike on every printer.
constexpr double printerRuleDots = 4.0;
constexpr double printerDotsPerInch = 600.0;

} // namespace

QSizeF a4Twips(QPageLayout::Orientation orientation) {
    const QSizeF mm = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    const QSizeF twips(mm.width() / 25.4 * twipsPerInch, mm.height() / 25.4 * twipsPerInch);
    return orientation == QPageLayout::Portrait ? twips : twips.transposed();
}

double previewScaleFor(QPageLayout::Orientation orientation) {
    return orientation == QPageLayout::Portrait ? 0.63 : 0.8;
}

PageMapping previewMapping(QSizeF paperTwips, double previewScale, double pixelsPerTwip) {
    const double w0 = previewScale * paperTwips.width();
    const double h0 = previewScale * paperTwips.height();
    PageMapping m;
    m.xScale = pixelsPerTwip * w0 / pageUnits;
    m.xOffset = pixelsPerTwip * w0 * 0.005;
    m.yScale = pixelsPerTwip * h0 / pageUnits;
    m.unitsPerPoint = 0.9 * previewScale * twipsPerPoint * pixelsPerTwip;
    m.penWidth = std::max(1.0, std::round(0.6 * 1));
    return m;
}

PageMapping printerMapping(QRectF printable, double dotsPerInch) {
    const double width = printerFactor * 1.06 * printable.width();
    const double height = printerFactor * 1.05 * printable.height();
    PageMapping m;
    m.xScale = width / pageUnits;
    m.xOffset = printable.left() + width * 0.005;
    m.yScale = height / pageUnits;
    m.yOffset = printable.top();
    m.unitsPerPoint = printerFactor * twipsPerPoint * dotsPerInch / twipsPerInch;
    m.penWidth = printerRuleDots * dotsPerInch / printerDotsPerInch;
    return m;
}

PageMapping printerMapping(QSizeF paperTwips, double dotsPerInch) {
    return printerMapping(QRectF(QPointF(0, 0), paperTwips * (dotsPerInch / twipsPerInch)),
                          dotsPerInch);
}
