#include "estimates/modContacts.h"

#include "common/AppContext.h"
#include "settings/SettingsStore.h"
#include "storage/Connections.h"
#include "storage/QueryModel.h"
#include "storage/modData.h"

#include <QSqlQuery>

namespace modContacts {

QString contactsFolder(const AppContext& ctx) {
    return ctx.settings->value(QStringLiteral("Brenwick"), QStringLiteral("Common"),
                               QStringLiteral("Path"));
}

QString contactsPath(AppContext& ctx) {
    const QString folder = contactsFolder(ctx);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/data/contacts.db");
}

Listing listing(const QString& value, const QString& mode) {
    Listing l;
    QString where;
    if (mode == QLatin1String("alpha")) {
        // The letter is matched literally, whatever it holds.
        where = QStringLiteral(" where lastname like ? escape '\\'");
        QString v = value;
        v.replace(QLatin1String("\\"), QLatin1String("\\\\"))
            .replace(QLatin1String("%"), QLatin1String("\\%"))
            .replace(QLatin1String("_"), QLatin1String("\\_"));
        l.params = {v + QLatin1Char('%')};
    } else if (mode == QLatin1String("type")) {
        where = QStringLiteral(" where contype=?");
        l.params = {value};
    } else if (mode == QLatin1String("company")) {
        where = QStringLiteral(" where coalesce(company,'') <> ''");
    } else if (mode == QLatin1String("nocompany")) {
        where = QStringLiteral(" where coalesce(company,'') = ''");
    }
    l.sql =
        QStringLiteral("select id, trim(coalesce(firstname,'') || ' ' || coalesce(lastname,'')), "
                       "company, address, workph, ext, homeph from contacts") +
        where + QStringLiteral(" order by lastname collate nocase, firstname collate nocase asc");
    return l;
}

void openContacts(AppContext& ctx, const QString& path) {
    if (!path.isEmpty())
        ctx.connections->readOnly(path);
}

void closeContacts(AppContext& ctx, const QString& path) {
    if (!path.isEmpty())
        ctx.connections->close(path);
}

void showListing(QueryModel& model, const QString& path, const QString& value,
                 const QString& mode) {
    if (path.isEmpty())
        throw modData::SqlError::message(QStringLiteral("Brenwick is not installed"));
    const Listing l = listing(value, mode);
    model.show(path, l.sql, l.params,
               {{QStringLiteral("ID")},
                {QStringLiteral("Name")},
                {QStringLiteral("Company")},
                {QStringLiteral("Address")},
                {QStringLiteral("Work Ph")},
                {QStringLiteral("Ext")},
                {QStringLiteral("Home Ph")}});
}

std::optional<std::array<QString, 7>> ownerFields(AppContext& ctx, const QString& path,
                                                  qlonglong id) {
    QSqlDatabase db = ctx.connections->readOnly(path);
    if (!db.isOpen())
        throw modData::SqlError::message(ctx.connections->lastError());
    QSqlQuery q = modData::exec(
        db,
        QStringLiteral("select firstname,lastname,address,city,st,zip,homeph,workph,ext "
                       "from contacts where id=?"),
        {id});
    if (!q.next())
        return std::nullopt;
    auto text = [&](int i) { return q.value(i).toString().trimmed(); };
    // "City, ST Zip", leaving out what is missing.
    QString place = text(3);
    const QString stZip = (text(4) + QLatin1Char(' ') + text(5)).trimmed();
    if (!stZip.isEmpty())
        place = place.isEmpty() ? stZip : place + QStringLiteral(", ") + stZip;
    return std::array<QString, 7>{text(0), text(1), text(2), place, text(6), text(7), text(8)};
}

} // namespace modContacts
