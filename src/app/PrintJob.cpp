#include "app/PrintJob.h"

#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Messages.h"

#include <QFileInfo>
#include <QPrinter>

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
