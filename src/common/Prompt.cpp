#include "common/Prompt.h"

void ScriptedPrompt::message(const QString& text, const QString& title, Icon icon) {
    shown_.append(
        {text, title.isEmpty() ? appTitle() : title, icon, false, Buttons::Ok, Answer::Ok});
}

Prompt::Answer ScriptedPrompt::ask(const QString& text, const QString& title, Buttons buttons,
                                   Icon icon, Answer defaultAnswer) {
    shown_.append({text, title.isEmpty() ? appTitle() : title, icon, true, buttons, defaultAnswer});
    if (answers_.isEmpty())
        return defaultAnswer;
    return answers_.takeFirst();
}

QStringList ScriptedPrompt::texts() const {
    QStringList out;
    for (const Shown& s : shown_)
        out << s.text;
    return out;
}
