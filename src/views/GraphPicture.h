#pragma once

#include "views/GraphSheet.h"

#include <QImage>
#include <QWidget>

struct AppState;

// The drawing surface of the result graph on the screen: it keeps what was drawn on it
// until it is cleared, as a picture that redraws itself.
class GraphPicture : public QWidget {
    Q_OBJECT
public:
    explicit GraphPicture(QWidget* parent = nullptr);

    // The screen's scale (1 at 1024 x 768): pen widths and fonts grow with it.
    void setScale(double scale) { scale_ = scale; }
    void setBaseFontSize(double points) { baseFontSize_ = points; }
    void setFontFamily(const QString& family) { fontFamily_ = family; }
    double baseFontSize() const { return baseFontSize_; }

    GraphSurface surface() const;
    // Empties the picture (at the widget's present size).
    void clear();
    // Clears the picture and draws the sheet on it, a block at a time; a fourth level
    // clears it again, so at most three blocks are on show. False when the program is
    // ending.
    bool showSheet(AppState& state, const GraphSheetRequest& request,
                   const LevelFiguresSource& figures);

    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    double scale_ = 1;
    double baseFontSize_ = 6;
    QString fontFamily_;
};
