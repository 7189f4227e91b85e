#pragma once

#include <QPageLayout>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

// The worksheet is drawn on an abstract page 10000 units wide and 10000 high (x to the
// right, y downwards). A PageMapping places that page on one output surface, in the
// surface's own device units.
struct PageMapping {
    double xScale = 0;        // device units per page unit, across
    double xOffset = 0;       // device units left of page x 0
    double yScale = 0;        // device units per page unit, down
    double yOffset = 0;       // device units above page y 0
    double unitsPerPoint = 0; // device units of text for one point of text size
    double penWidth = 1;      // device units

    QPointF map(double x, double y) const { return {xOffset + xScale * x, yOffset + yScale * y}; }
    // The pixel size of the font for text size s.
    double fontPixels(int size) const { return unitsPerPoint * size; }
};

// A4 in twips (1/1440 inch) in the orientation: the printer's page width and height.
QSizeF a4Twips(QPageLayout::Orientation orientation);

// The size of the preview box relative to the paper.
double previewScaleFor(QPageLayout::Orientation orientation);

// The preview box: the page takes previewScale × the paper (W0 × H0), drawn at
// pixelsPerTwip, with text at 0.9 × previewScale × its size.
PageMapping previewMapping(QSizeF paperTwips, double previewScale, double pixelsPerTwip);

// The printer: the page covers 0.89 × 1.06 of the printable width from 0.47 % of it and
// 0.89 × 1.05 of the printable height from its top, text at 0.89 × its size; printable is
// the area the printer prints on in the device's own units (PrintJob::printableArea, the
// same area every printed page is drawn in), and dotsPerInch the device's resolution.
PageMapping printerMapping(QRectF printable, double dotsPerInch);
// The same where the whole paper, given in twips, is printable (a PDF file).
PageMapping printerMapping(QSizeF paperTwips, double dotsPerInch);
