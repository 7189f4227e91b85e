#pragma once

#include "app/Environment.h"

struct AppState;
class QWidget;

// Shows a message box through the environment and writes it to standard error as one
// line, so a technician can follow what the pupils saw from a terminal.
MessageAnswer showMessage(AppState& state, QWidget* parent, const QString& title,
                          const QString& text, MessageButtons buttons = MessageButtons::Ok,
                          MessageIcon icon = MessageIcon::Information);

// Shows the message, then ends the program with a non-zero status. In tests the
// environment only records the end, so callers return straight after this.
void fatalError(AppState& state, QWidget* parent, const QString& title, const QString& text);
