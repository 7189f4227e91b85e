#pragma once

#include "views/ResultGraph.h"

#include <QFont>

class QPainter;

// The one routine that draws a block of the result graph, on the screen's picture and on
// the printer's page alike: each surface brings its own size, pen widths and font sizes.

// The font of a kind of text on the surface, sized in the surface's own pixels.
QFont graphFont(const GraphSurface& surface, GraphFont font);
// The size a text takes in its font on the surface: its advance and the font's height.
QSizeF graphTextSize(const GraphSurface& surface, GraphFont font, const QString& text);
// The text cut short with "…" so that it takes at most `width` in its font.
QString elidedGraphText(const GraphSurface& surface, GraphFont font, const QString& text,
                        double width);
// A pen width of the drawing in the surface's own pixels.
double graphPenWidth(const GraphSurface& surface, GraphPen pen);

// Draws the block's items (and the page's heading, when the block has one), each text
// with its top-left corner where the layout put it. Nothing of the block leaves its band.
void paintGraphBlock(QPainter& painter, const GraphSurface& surface, const GraphDrawing& drawing);

// The printable part of a printer's page as a surface (size in the device's units, at
// dotsPerInch): pen widths are the printer's dots at 600 dots an inch, so a page looks
// alike on every printer.
GraphSurface paperSurface(QSizeF printable, double dotsPerInch, const QString& fontFamily);
// The screen's picture of the given size: pen widths and fonts grow with the screen's
// scale (1 at 1024 x 768).
GraphSurface screenSurface(QSizeF size, double scale, double baseFontSize,
                           const QString& fontFamily);
