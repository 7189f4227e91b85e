#pragma once

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QRectF>
#include <QString>
#include <memory>

class QPrinter;
class QWidget;
struct AppState;

// What a screen asks of one print job. Paper is always A4.
struct PrintRequest {
    QString documentName;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// The part of the paper a printer prints on, in twips from the paper's top-left corner:
// the paper less, on each side, the larger of the layout's margin and the printer's least
// margin (a PDF file has neither, so its whole paper).
QRectF printableTwips(const QPageLayout& layout);

// One print job on a printer or into a PDF file: paint its pages with one QPainter on
// device(), call newPage() between pages, then finish() (or abort()).
class PrintJob {
public:
    PrintJob(std::unique_ptr<QPrinter> printer, QString target);
    ~PrintJob();

    QPagedPaintDevice* device();
    QPrinter& printer() { return *printer_; }
    // Where every printed page is drawn: the printable part of the paper (printableTwips)
    // in the device's own units, whether the device's origin is the paper's corner (full
    // page) or the corner of the margins.
    QRectF printableArea() const;
    // The printer's name, or the PDF file's path.
    const QString& target() const { return target_; }
    bool newPage();
    // Ends the document; false with the reason when the printer or the file failed.
    bool finish(QString* error);
    void abort();

private:
    std::unique_ptr<QPrinter> printer_;
    QString target_;
    bool ended_ = false;
};

// A job that writes the pages into a PDF file at path (A4 in the request's orientation).
std::unique_ptr<PrintJob> makePdfJob(const PrintRequest& request, const QString& path);

// The print path of every screen: the system's default printer; where none is installed,
// the pupil or teacher is told so and may save the pages as a PDF file instead. Null when
// nothing is to be printed (no printer and the offer declined, or the job would not start,
// which has been said in a message).
std::unique_ptr<PrintJob> beginPrint(AppState& state, QWidget* parent, const PrintRequest& request);
