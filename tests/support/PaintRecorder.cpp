#include "support/PaintRecorder.h"

#include <QFontMetricsF>
#include <QTextItem>

class PaintRecorder::Engine : public QPaintEngine {
public:
    explicit Engine(PaintRecorder& device) : QPaintEngine(AllFeatures), device_(device) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyTransform) {
            transform_ = state.transform();
        }
        if (state.state() & DirtyPen) {
            pen_ = state.pen();
        }
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawEllipse(const QRectF&) override {}
    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i) {
            device_.lines.push_back({transform_.map(lines[i]), pen_});
        }
    }
    void drawTextItem(const QPointF& baseline, const QTextItem& item) override {
        if (item.text().isEmpty()) {
            return;
        }
        const QFontMetricsF metrics(item.font(), &device_);
        const QRectF rect(baseline.x(), baseline.y() - metrics.ascent(),
                          metrics.horizontalAdvance(item.text()), metrics.height());
        device_.texts.push_back({item.text(), transform_.mapRect(rect)});
    }

private:
    PaintRecorder& device_;
    QTransform transform_;
    QPen pen_;
};

PaintRecorder::PaintRecorder(QSize size, int dotsPerInch)
    : engine_(std::make_unique<Engine>(*this)), size_(size), dotsPerInch_(dotsPerInch) {}

PaintRecorder::~PaintRecorder() = default;

QPaintEngine* PaintRecorder::paintEngine() const {
    return engine_.get();
}

int PaintRecorder::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return size_.width();
    case PdmHeight:
        return size_.height();
    case PdmWidthMM:
        return qRound(size_.width() * 25.4 / dotsPerInch_);
    case PdmHeightMM:
        return qRound(size_.height() * 25.4 / dotsPerInch_);
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return dotsPerInch_;
    case PdmDepth:
        return 32;
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    default:
        break;
    }
    return 0;
}
