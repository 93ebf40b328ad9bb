#include "common/Guard.h"

#include "common/ErrorMessage.h"
#include "common/Prompt.h"

#include <exception>

namespace Guard {

bool run(Prompt& prompt, const QString& procedure, const QString& owner,
         const std::function<void()>& f) {
    try {
        f();
        return true;
    } catch (const ProcedureError& e) {
        ErrorMessage::show(prompt, e.number, e.description, procedure, owner);
    } catch (const std::exception& e) {
        ErrorMessage::show(prompt, 0, QString::fromLocal8Bit(e.what()), procedure, owner);
    }
    return false;
}

} // namespace Guard
