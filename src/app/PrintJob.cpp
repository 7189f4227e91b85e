#include "app/PrintJob.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Messages.h"

#include <QFileInfo>
#include <QPrinter>
#include <algorithm>

namespace {

constexpr double twipsPerInch = 1440.0;
constexpr double twipsPerPoint = 20.0;

// Converted by hand: converting the layout to points would round the margins to whole
// points.
double twipsPerUnit(QPageLayout::Unit unit) {
    switch (unit) {
    case QPageLayout::Millimeter:
        return twipsPerInch / 25.4;
    case QPageLayout::Inch:
        return twipsPerInch;
    case QPageLayout::Pica:
        return 12 * twipsPerPoint;
    case QPageLayout::Didot:
        return 1.07 * twipsPerPoint;
    case QPageLayout::Cicero:
        return 12.84 * twipsPerPoint;
    case QPageLayout::Point:
        break;
    }
    return twipsPerPoint;
}

} // namespace

QRectF printableTwips(const QPageLayout& layout) {
    const double scale = twipsPerUnit(layout.units());
    const QSizeF paper = layout.fullRect().size() * scale;
    const QMarginsF set = layout.margins();
    const QMarginsF least = layout.minimumMargins();
    const QMarginsF m(std::max(set.left(), least.left()) * scale,
                      std::max(set.top(), least.top()) * scale,
                      std::max(set.right(), least.right()) * scale,
                      std::max(set.bottom(), least.bottom()) * scale);
    return QRectF(m.left(), m.top(), std::max(0.0, paper.width() - m.left() - m.right()),
                  std::max(0.0, paper.height() - m.top() - m.bottom()));
}

PrintJob::PrintJob(std::unique_ptr<QPrinter> printer, QString target)
    : printer_(std::move(printer)), target_(std::move(target)) {}

PrintJob::~PrintJob() {
    if (!ended_) {
        abort();
    }
}

QPagedPaintDevice* PrintJob::device() {
    return printer_.get();
}

QRectF PrintJob::printableArea() const {
    const QPageLayout layout = printer_->pageLayout();
    const double unitsPerTwip = printer_->resolution() / twipsPerInch;
    const QRectF twips = printableTwips(layout);
    QRectF area(twips.topLeft() * unitsPerTwip, twips.size() * unitsPerTwip);
    if (!printer_->fullPage()) {
        // The device's origin is the corner of the layout's own margins, as the printer
        // places it (in whole points).
        area.translate(-QPointF(layout.paintRectPixels(printer_->resolution()).topLeft()));
    }
    return area.intersected(QRectF(0, 0, printer_->width(), printer_->height()));
}

bool PrintJob::newPage() {
    return printer_->newPage();
}

bool PrintJob::finish(QString* error) {
    ended_ = true;
    // The document ends when the painter on the printer ends; what is left to check is
    // whether the printer (or the file) took it.
    if (printer_->printerState() == QPrinter::Error ||
        printer_->printerState() == QPrinter::Aborted) {
        if (error) {
            *error = QStringLiteral("印刷できませんでした（%1）").arg(target_);
        }
        return false;
    }
    if (printer_->outputFormat() == QPrinter::PdfFormat &&
        !QFileInfo(printer_->outputFileName()).isFile()) {
        if (error) {
            *error = QStringLiteral("ファイルに保存できませんでした（%1）").arg(target_);
        }
        return false;
    }
    return true;
}

void PrintJob::abort() {
    ended_ = true;
    printer_->abort();
}

std::unique_ptr<PrintJob> makePdfJob(const PrintRequest& request, const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setDocName(request.documentName);
    printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), request.orientation,
                                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    printer->setFullPage(true);
    return std::make_unique<PrintJob>(std::move(printer), path);
}

std::unique_ptr<PrintJob> beginPrint(AppState& state, QWidget* parent,
                                     const PrintRequest& request) {
    QString reason;
    if (auto job = state.env->openDefaultPrinter(request, &reason)) {
        return job;
    }
    const QString question =
        QStringLiteral("プリンタが使えません（%1）。\nPDFファイルに保存しますか？").arg(reason);
    if (showMessage(state, parent, QStringLiteral("注意"), question, MessageButtons::YesNo,
                    MessageIcon::Question) != MessageAnswer::Yes) {
        return nullptr;
    }
    const QString path = state.env->chooseSaveFile(parent, QStringLiteral("PDFファイルに保存"),
                                                   request.documentName + QStringLiteral(".pdf"),
                                                   QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) {
        return nullptr;
    }
    return makePdfJob(request, path);
}
