#pragma once

#include "common/Prompt.h"

class QWidget;

// The application's prompt: a QMessageBox over the active window.
class MessageBoxPrompt : public Prompt {
public:
    void message(const QString& text, const QString& title, Icon icon) override;
    Answer ask(const QString& text, const QString& title, Buttons buttons, Icon icon,
               Answer defaultAnswer) override;
};
