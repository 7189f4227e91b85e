#pragma once

#include "app/SystemBaseEnvironment.h"

// The windowed program's world: sounds played, message boxes, other programs started, the
// default printer, the save dialog, and the end of the program.
class SystemEnvironment : public SystemBaseEnvironment {
public:
    SoundOutcome playWave(const QString& path) override;
    MessageAnswer message(QWidget* parent, const QString& title, const QString& text,
                          MessageButtons buttons, MessageIcon icon) override;
    bool startProcess(const QString& program, const QStringList& arguments,
                      QString* error) override;
    std::unique_ptr<PrintJob> openDefaultPrinter(const PrintRequest& request,
                                                 QString* reason) override;
    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& suggestedName,
                           const QString& filter) override;
    void endProgram(int exitStatus) override;
};
