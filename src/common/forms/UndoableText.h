#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QLineEdit;
class QTextEdit;
class QUndoStack;
class QWidget;

// Puts the user's edits of a text box on the undo stack of the estimate in work, so that
// Edit → Undo takes back typing in the box as it takes back every other change. Typing in a row
// in one box is one step ("Edit Last Name"); text the program puts in is no step. While the box
// has the focus, Ctrl+Z and Ctrl+Shift+Z go to the stack rather than to the box's own history,
// so there is one history, not two.
class UndoableText : public QObject {
    Q_OBJECT
public:
    using StackOf = std::function<QUndoStack*()>;

    // `what` names the field in the step's text ("Last Name" gives "Edit Last Name").
    static UndoableText* attach(QLineEdit* box, const QString& what, StackOf stack);
    // A multi-line box: `quiet` tells when the program itself is filling it (loading).
    static UndoableText* attach(QTextEdit* box, const QString& what, StackOf stack,
                                std::function<bool()> quiet);

    // Puts `text` into the box as one step of the user's (an import into the field).
    void setText(const QString& text);
    // The text the box shows.
    QString text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    UndoableText(QWidget* box, const QString& what, StackOf stack);
    // The box's text changed: a step from the last text known, unless the program or a step
    // itself put it there.
    void changed(const QString& now, bool byUser);
    void show(const QString& text);

    friend class TextStep;
    QPointer<QWidget> box_;
    QString what_;
    StackOf stack_;
    std::function<bool()> quiet_;
    QString last_;
    QString beforeEdit_;
    bool applying_ = false;
};
