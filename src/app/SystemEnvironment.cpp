#include "app/SystemEnvironment.h"

#include "app/PrintJob.h"
#include "result/WavePlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>

namespace {

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

SoundOutcome SystemEnvironment::playWave(const QString& path) {
    return playWaveToEnd(path);
}

MessageAnswer SystemEnvironment::message(QWidget* parent, const QString& title, const QString& text,
                                         MessageButtons buttons, MessageIcon icon) {
    QMessageBox box(toQt(icon), title, text, QMessageBox::NoButton, parent);
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

bool SystemEnvironment::startProcess(const QString& program, const QStringList& arguments,
                                     QString* error) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    qint64 pid = 0;
    if (process.startDetached(&pid)) {
        return true;
    }
    if (error) {
        *error = process.errorString();
    }
    return false;
}

std::unique_ptr<PrintJob> SystemEnvironment::openDefaultPrinter(const PrintRequest& request,
                                                                QString* reason) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        if (reason) {
            *reason = QPrinterInfo::availablePrinterNames().isEmpty()
                          ? QStringLiteral("プリンタがインストールされていません")
                          : QStringLiteral("通常使うプリンタが設定されていません");
        }
        return nullptr;
    }
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer->setDocName(request.documentName);
    printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), request.orientation,
                                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    printer->setFullPage(true);
    if (!printer->isValid()) {
        if (reason) {
            *reason = QStringLiteral("プリンタ %1 が使えません").arg(info.printerName());
        }
        return nullptr;
    }
    return std::make_unique<PrintJob>(std::move(printer), info.printerName());
}

QString SystemEnvironment::chooseSaveFile(QWidget* parent, const QString& caption,
                                          const QString& suggestedName, const QString& filter) {
    const QString start = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                              .filePath(suggestedName);
    return QFileDialog::getSaveFileName(parent, caption, start, filter);
}

void SystemEnvironment::endProgram(int exitStatus) {
    // Every file is closed after each operation; only the standard streams need a flush.
    // _Exit skips the destructors of Qt's statics, which must not run while windows live.
    std::fflush(nullptr);
    std::_Exit(exitStatus);
}
