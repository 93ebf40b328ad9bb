#include "common/forms/MessageBoxPrompt.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon toIcon(Prompt::Icon i) {
    switch (i) {
    case Prompt::Icon::Information:
        return QMessageBox::Information;
    case Prompt::Icon::Question:
        return QMessageBox::Question;
    case Prompt::Icon::Warning:
        return QMessageBox::Warning;
    case Prompt::Icon::Critical:
        return QMessageBox::Critical;
    case Prompt::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toButton(Prompt::Answer a) {
    switch (a) {
    case Prompt::Answer::Ok:
        return QMessageBox::Ok;
    case Prompt::Answer::Cancel:
        return QMessageBox::Cancel;
    case Prompt::Answer::Yes:
        return QMessageBox::Yes;
    case Prompt::Answer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QWidget* parentWindow() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w)
        w = QApplication::activeWindow();
    return w;
}

} // namespace

void MessageBoxPrompt::message(const QString& text, const QString& title, Icon icon) {
    QMessageBox box(toIcon(icon), title.isEmpty() ? appTitle() : title, text, QMessageBox::Ok,
                    parentWindow());
    box.exec();
}

Prompt::Answer MessageBoxPrompt::ask(const QString& text, const QString& title, Buttons buttons,
                                     Icon icon, Answer defaultAnswer) {
    QMessageBox::StandardButtons set;
    Answer escape = Answer::Cancel;
    switch (buttons) {
    case Buttons::Ok:
        set = QMessageBox::Ok;
        escape = Answer::Ok;
        break;
    case Buttons::OkCancel:
        set = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
        set = QMessageBox::Yes | QMessageBox::No;
        escape = Answer::No;
        break;
    case Buttons::YesNoCancel:
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(toIcon(icon), title.isEmpty() ? appTitle() : title, text, set, parentWindow());
    box.setDefaultButton(toButton(defaultAnswer));
    box.setEscapeButton(toButton(escape));
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return escape;
    }
}
