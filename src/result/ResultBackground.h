#pragma once

class QPainter;
class QRect;

// Image1, the result screen's background picture: a bright sky with a sunburst,
// streamers and stars, drawn to fill the rectangle at any size.
void paintResultBackground(QPainter& painter, const QRect& area);
