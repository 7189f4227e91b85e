#include "views/GraphPicture.h"

#include "app/JapaneseFonts.h"
#include "views/GraphPainter.h"

#include <QPaintEvent>
#include <QPainter>

GraphPicture::GraphPicture(QWidget* parent) : QWidget(parent), fontFamily_(msGothic) {
    setObjectName(QStringLiteral("Picture12"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

GraphSurface GraphPicture::surface() const {
    return screenSurface(QSizeF(picture_.size()), scale_, baseFontSize_, fontFamily_);
}

void GraphPicture::clear() {
    const QSize size = this->size().expandedTo(QSize(1, 1));
    if (picture_.size() != size) {
        picture_ = QImage(size, QImage::Format_RGB32);
    }
    picture_.fill(Qt::white);
    update();
}

bool GraphPicture::showSheet(AppState& state, const GraphSheetRequest& request,
                             const LevelFiguresSource& figures) {
    clear();
    const GraphSurface surface = this->surface();
    GraphSheetTarget target;
    target.height = surface.height();
    target.newPage = [this] {
        clear();
        return true;
    };
    target.drawBlock = [this, surface](const GraphBlockData& data, double top) {
        QPainter painter(&picture_);
        paintGraphBlock(painter, surface, layoutGraphBlock(data, surface, top));
        painter.end();
        update();
        return true;
    };
    return runGraphSheet(state, request, figures, target);
}

void GraphPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    // After a change of size the picture is shown scaled until it is drawn again.
    painter.drawImage(rect(), picture_);
}
