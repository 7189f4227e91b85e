#include "support/QuietEnvironment.h"

#include "app/PrintJob.h"

MessageAnswer QuietEnvironment::message(QWidget*, const QString& title, const QString& text,
                                        MessageButtons, MessageIcon) {
    qWarning("unexpected message %s: %s", qPrintable(title), qPrintable(text));
    return MessageAnswer::Ok;
}

std::unique_ptr<PrintJob> QuietEnvironment::openDefaultPrinter(const PrintRequest&, QString*) {
    return nullptr; // nothing is printed in a benchmark
}

void QuietEnvironment::endProgram(int status) {
    qFatal("the program ended (%d)", status);
}
