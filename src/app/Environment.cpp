#include "app/Environment.h"

#include "app/PrintJob.h"

std::unique_ptr<PrintJob> Environment::openDefaultPrinter(const PrintRequest&, QString* reason) {
    if (reason) {
        *reason = QStringLiteral("プリンタがインストールされていません");
    }
    return nullptr;
}

QString Environment::chooseSaveFile(QWidget*, const QString&, const QString&, const QString&) {
    return QString();
}

FileFault Environment::fileFault(FileStep) {
    return {};
}
