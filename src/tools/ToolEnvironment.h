#pragma once

#include "app/SystemBaseEnvironment.h"

#include <vector>

// The environment of the command-line tools (the health check, the results export): the
// real clock and files, but no window is ever opened. Messages the readers would show
// are collected for the tool to print, no sound is played, no other program is started,
// nothing is printed, and the end of the program is only recorded, so a reader that would
// stop the program lets the tool go on and say so.
class ToolEnvironment : public SystemBaseEnvironment {
public:
    struct Message {
        QString title;
        QString text;
        MessageIcon icon;
    };

    SoundOutcome playWave(const QString& path) override;
    MessageAnswer message(QWidget* parent, const QString& title, const QString& text,
                          MessageButtons buttons, MessageIcon icon) override;
    bool startProcess(const QString& program, const QStringList& arguments,
                      QString* error) override;
    void endProgram(int exitStatus) override;

    // Takes the messages collected so far (and forgets them).
    std::vector<Message> takeMessages();
    int endedWith = -1; // the status a reader ended the program with; -1 when none did

private:
    std::vector<Message> messages_;
};
