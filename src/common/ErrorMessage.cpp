#include "common/ErrorMessage.h"

#include "common/Prompt.h"

#include <QSqlError>

namespace ErrorMessage {

QString text(long number, const QString& description, const QString& procedure,
             const QString& owner) {
    return QStringLiteral("Error %1 (%2) in procedure %3 of %4")
        .arg(number)
        .arg(description, procedure, owner);
}

long number(const QSqlError& error) {
    bool ok = false;
    const long n = error.nativeErrorCode().toLong(&ok);
    return ok ? n : 0;
}

static QString describe(const QSqlError& error) {
    QString d = error.databaseText();
    if (d.isEmpty())
        d = error.driverText();
    if (d.isEmpty())
        d = error.text();
    return d.trimmed();
}

QString text(const QSqlError& error, const QString& procedure, const QString& owner) {
    return text(number(error), describe(error), procedure, owner);
}

void show(Prompt& prompt, long number, const QString& description, const QString& procedure,
          const QString& owner) {
    prompt.message(text(number, description, procedure, owner));
}

void show(Prompt& prompt, const QSqlError& error, const QString& procedure, const QString& owner) {
    prompt.message(text(error, procedure, owner));
}

} // namespace ErrorMessage
