#pragma once

#include <QString>
#include <QUndoCommand>
#include <functional>

class Prompt;
class QUndoStack;

// One change of the estimate in work as the undo stack keeps it (Edit → Undo, Redo). A
// subclass makes the change in apply() and takes it back in revert(), each as a whole (one
// transaction) or not at all, throwing on failure. After either, `refresh` shows the result
// (told whether the change was made or taken back). A failure is shown with the standard
// message, and the command leaves the stack, so the stack never offers to undo what did not
// happen.
class WorkCommand : public QUndoCommand {
public:
    using Refresh = std::function<void(bool made)>;

    WorkCommand(Prompt& prompt, const QString& text, const QString& procedure, const QString& owner,
                Refresh refresh);

    // Makes the change the first time: true when it was made (the command may then be pushed,
    // and its first redo() does nothing), false after the error was shown (nothing changed).
    bool firstRun();

    void redo() override;
    void undo() override;

    // Whether the first run changed anything; a change to the same values is no change and is
    // not kept.
    virtual bool changedAnything() const { return true; }

protected:
    virtual void apply() = 0;
    virtual void revert() = 0;

private:
    bool run(bool forward);

    Prompt& prompt_;
    QString procedure_;
    QString owner_;
    Refresh refresh_;
    bool skipRedo_ = false;
};

namespace WorkCommands {

// Makes the change of `command` and pushes it on `stack`; when the change fails or changes
// nothing, the command is deleted and nothing is pushed. Returns whether it was pushed.
bool push(QUndoStack& stack, WorkCommand* command);

} // namespace WorkCommands
