#pragma once

#include <QString>
#include <QStringList>

// Sending a document by e-mail through the desktop's own mail program: xdg-email opens a new
// message with the PDF attached, for the user to address, write and send.
namespace MailCommand {

inline QString program() {
    return QStringLiteral("xdg-email");
}

// The arguments of xdg-email for a message with `attachment`, `subject` and, when known, the
// address it goes to.
QStringList arguments(const QString& attachment, const QString& subject,
                      const QString& address = QString());

// What to tell the user when xdg-email ended with `exitCode` (-1: it could not be started);
// empty when the message was opened. `attachment` is named so the user can attach it by hand.
QString problem(int exitCode, const QString& attachment);

} // namespace MailCommand
