#include "app/Messages.h"

#include "app/AppState.h"
#include "app/ScreenOperation.h"

#include <QString>
#include <cstdio>

MessageAnswer showMessage(AppState& state, QWidget* parent, const QString& title,
                          const QString& text, MessageButtons buttons, MessageIcon icon) {
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" / "));
    line.replace(QLatin1Char('\n'), QLatin1String(" / "));
    line.replace(QLatin1Char('\r'), QLatin1String(" / "));
    std::fprintf(stderr, "mirunea: [%s] %s\n", title.toUtf8().constData(),
                 line.toUtf8().constData());
    std::fflush(stderr);
    // A message box runs its own event loop; the screen behind it stays whole until it closes.
    ScreenOperation operation(state);
    return state.env->message(parent, title, text, buttons, icon);
}

void fatalError(AppState& state, QWidget* parent, const QString& title, const QString& text) {
    showMessage(state, parent, title, text, MessageButtons::Ok, MessageIcon::Critical);
    state.env->endProgram(1);
}
