#pragma once

#include <QString>
#include <QVariantList>
#include <array>
#include <optional>

struct AppContext;
class QueryModel;

// Reading the sibling contact program's contacts database (never written).
namespace modContacts {

// <sibling folder>/data/contacts.db, or empty when the sibling is not installed.
QString contactsPath(AppContext& ctx);
// The sibling program's folder from its own settings; empty when it is not installed.
QString contactsFolder(const AppContext& ctx);
// The sibling's contacts database is only ever read: it is opened read-only while the contact
// list is on screen, and closed again after.
void openContacts(AppContext& ctx, const QString& path);
void closeContacts(AppContext& ctx, const QString& path);

// The listing for a filter: mode "none", "alpha" (last names beginning with `value`), "type",
// "company" or "nocompany". Columns: ID, Name, Company, Address, Work Ph, Ext, Home Ph.
struct Listing {
    QString sql;
    QVariantList params;
};
Listing listing(const QString& value, const QString& mode);
// Shows the listing of the contacts database at `path` in a grid's model. Throws
// modData::SqlError.
void showListing(QueryModel& model, const QString& path, const QString& value, const QString& mode);

// The owner fields for contact `id`: first, last, address, "City, ST Zip", home, work, ext.
// Missing values are empty. Throws modData::SqlError.
std::optional<std::array<QString, 7>> ownerFields(AppContext& ctx, const QString& path,
                                                  qlonglong id);

} // namespace modContacts
