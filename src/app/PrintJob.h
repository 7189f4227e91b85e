#pragma once

#include <QPageLayout>
#include <QPagedPaintDevice>
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

// One print job on a printer or into a PDF file: paint its pages with one QPainter on
// device(), call newPage() between pages, then finish() (or abort()).
class PrintJob {
public:
    PrintJob(std::unique_ptr<QPrinter> printer, QString target);
    ~PrintJob();

    QPagedPaintDevice* device();
    QPrinter& printer() { return *printer_; }
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
