#include "tools/ToolEnvironment.h"

SoundOutcome ToolEnvironment::playWave(const QString&) {
    return {false, QStringLiteral("音は鳴らしません。")};
}

MessageAnswer ToolEnvironment::message(QWidget*, const QString& title, const QString& text,
                                       MessageButtons buttons, MessageIcon icon) {
    messages_.push_back({title, text, icon});
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

bool ToolEnvironment::startProcess(const QString&, const QStringList&, QString* error) {
    if (error) {
        *error = QStringLiteral("コマンドからは他のプログラムを起動しません。");
    }
    return false;
}

void ToolEnvironment::endProgram(int exitStatus) {
    if (endedWith < 0) {
        endedWith = exitStatus;
    }
}

std::vector<ToolEnvironment::Message> ToolEnvironment::takeMessages() {
    std::vector<Message> taken;
    taken.swap(messages_);
    return taken;
}
