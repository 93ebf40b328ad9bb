#pragma once

#include <QString>

class Prompt;
class QSqlError;

// The program's standard error message:
//   "Error <number> (<description>) in procedure <procedure> of <owner>"
// where owner is "Form frmX" or "Module modY".
namespace ErrorMessage {

QString text(long number, const QString& description, const QString& procedure,
             const QString& owner);
QString text(const QSqlError& error, const QString& procedure, const QString& owner);

// Shows the message with an OK button through the prompt.
void show(Prompt& prompt, long number, const QString& description, const QString& procedure,
          const QString& owner);
void show(Prompt& prompt, const QSqlError& error, const QString& procedure, const QString& owner);

// The native error number of a database error (0 when the driver gave none).
long number(const QSqlError& error);

} // namespace ErrorMessage

// An error raised inside a procedure, reported by the nearest handler with the standard message.
struct ProcedureError {
    long number = 0;
    QString description;
};
