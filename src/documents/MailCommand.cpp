#include "documents/MailCommand.h"

#include <QDir>

namespace MailCommand {

QStringList arguments(const QString& attachment, const QString& subject, const QString& address) {
    QStringList args = {QStringLiteral("--utf8"), QStringLiteral("--subject"), subject,
                        QStringLiteral("--attach"), attachment};
    // Only a plain address: anything else would be read as one of xdg-email's options or as a
    // mailto address carrying its own fields.
    const QString to = address.trimmed();
    if (!to.isEmpty() && !to.startsWith(QLatin1Char('-')) && to.contains(QLatin1Char('@')) &&
        !to.contains(QLatin1Char('?')) && !to.contains(QLatin1Char(' ')) &&
        !to.contains(QLatin1Char(':')))
        args << to;
    return args;
}

QString problem(int exitCode, const QString& attachment) {
    const QString saved =
        QStringLiteral("The PDF was saved as %1; attach it to a message in your e-mail program.")
            .arg(QDir::toNativeSeparators(attachment));
    switch (exitCode) {
    case 0:
        return QString();
    case -1:
    case 3:
        // xdg-email is missing, or it found no mail program to hand the message to.
        return QStringLiteral("No e-mail program is set up on this computer, so no message "
                              "could be opened.\n") +
               saved;
    case 2:
        return QStringLiteral("The PDF %1 could not be attached: the file was not found.")
            .arg(QDir::toNativeSeparators(attachment));
    default:
        return QStringLiteral("The e-mail program could not open a new message (xdg-email ended "
                              "with code %1).\n")
                   .arg(exitCode) +
               saved;
    }
}

} // namespace MailCommand
