#pragma once

#include <QString>
#include <functional>

class Prompt;

// The one error guard of the program's handlers: no error ends the program. A ProcedureError
// or any other exception that escapes `f` is shown with the standard message
// ("Error n (description) in procedure <procedure> of <owner>", owner being "Form frmX" or
// "Module modY"), and the handler simply stops there.
namespace Guard {

// Returns true when `f` ran to its end, false when an error was shown.
bool run(Prompt& prompt, const QString& procedure, const QString& owner,
         const std::function<void()>& f);

// The owner texts of the standard message.
inline QString form(const char* name) {
    return QStringLiteral("Form ") + QLatin1String(name);
}
inline QString module(const char* name) {
    return QStringLiteral("Module ") + QLatin1String(name);
}

} // namespace Guard
