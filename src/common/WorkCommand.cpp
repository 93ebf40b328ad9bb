#include "common/WorkCommand.h"

#include "common/Guard.h"

#include <QUndoStack>

WorkCommand::WorkCommand(Prompt& prompt, const QString& text, const QString& procedure,
                         const QString& owner, Refresh refresh)
    : QUndoCommand(text), prompt_(prompt), procedure_(procedure), owner_(owner),
      refresh_(std::move(refresh)) {}

bool WorkCommand::run(bool forward) {
    const bool ok = Guard::run(prompt_, procedure_, owner_, [&] {
        if (forward)
            apply();
        else
            revert();
    });
    // What is shown follows the working tables, whether the step was taken or (after a failure)
    // they are as they were.
    if (refresh_)
        refresh_(ok ? forward : !forward);
    return ok;
}

bool WorkCommand::firstRun() {
    if (!run(true))
        return false;
    skipRedo_ = true;
    return true;
}

void WorkCommand::redo() {
    if (skipRedo_) {
        skipRedo_ = false;
        return;
    }
    if (!run(true))
        setObsolete(true);
}

void WorkCommand::undo() {
    if (!run(false))
        setObsolete(true);
}

namespace WorkCommands {

bool push(QUndoStack& stack, WorkCommand* command) {
    if (!command->firstRun() || !command->changedAnything()) {
        delete command;
        return false;
    }
    stack.push(command);
    return true;
}

} // namespace WorkCommands
