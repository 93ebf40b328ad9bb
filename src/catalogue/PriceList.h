#pragma once

#include "catalogue/CostItems.h"
#include "catalogue/CsvText.h"
#include "common/Money.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

struct AppContext;
class SettingsStore;

// The catalogue's prices in and out as CSV: the whole catalogue written for a spreadsheet, and a
// supplier's price list read through a mapping of its columns, shown as a preview of what would
// change, and written in one transaction only when the user confirms it.
namespace PriceList {

// ---- Out -------------------------------------------------------------------------------------

// The columns of an exported catalogue. "Kind" tells cost items, unit items and their
// components apart; prices are plain numbers with a period.
const QStringList& ExportHeader();
// The whole catalogue as CSV: every cost item (hourly labor with its base rate and burdens),
// every unit item with its price, each followed by its components. Throws modData::SqlError.
QString ExportCsv(AppContext& ctx);
// Writes the catalogue to `path` as UTF-8 with a byte-order mark (so that spreadsheets read the
// accents), replacing the file only when all is written. Returns the failure, or empty.
QString ExportFile(AppContext& ctx, const QString& path);

// ---- In --------------------------------------------------------------------------------------

// What a column of the supplier's file may mean.
enum Field { Sku, Name, Unit, Price, Category, CostType, Manufacturer, Description, Kind, Fields };
QString FieldCaption(Field f);

struct Layout {
    CsvText::Encoding encoding = CsvText::Encoding::Utf8;
    char separator = ',';
    QChar decimal = QLatin1Char('.');
    std::array<int, Fields> column{-1, -1, -1, -1, -1, -1, -1, -1, -1}; // -1: not in the file
    QString defaultType = QStringLiteral("Material"); // when no column holds the cost type
};

// A supplier's file as read: its header row, its data rows and the layout guessed for it (or
// remembered from an earlier file with the same header).
struct Source {
    QByteArray bytes;
    QStringList header;
    std::vector<CsvText::Row> rows;
    Layout layout;
    QString error;
};

// Reads the file at `path` (nothing at all when it cannot be read: error says why).
Source Open(const QString& path, const SettingsStore* remembered);
// Reads `bytes`, detecting encoding, separator and decimal mark and guessing the columns.
Source Read(QByteArray bytes, const SettingsStore* remembered);
// Splits the same bytes again after the user chose another encoding or separator; the columns
// are guessed again from the new header unless it is unchanged.
void Reread(Source& s, CsvText::Encoding encoding, char separator);
// A period or a comma, whichever the column's numbers use as decimal mark.
QChar DetectDecimal(const std::vector<CsvText::Row>& rows, int column);
// The columns guessed from the header's names.
std::array<int, Fields> GuessColumns(const QStringList& header);

// The layout chosen for files with this header, kept in the settings.
void Remember(SettingsStore& store, const QStringList& header, const Layout& layout);
std::optional<Layout> Remembered(const SettingsStore& store, const QStringList& header);

// A price as the file writes it: grouping and currency signs ignored, `decimal` as decimal
// mark. Nothing when it is not a price.
std::optional<Money> ReadPrice(const QString& text, QChar decimal);

struct NewItem {
    int line = 0;
    CostItems::CostItem item;
};
struct PriceChange {
    int line = 0;
    std::int32_t id = 0;
    QString type, name, unit;
    Money before, after;
    // The change in percent of the old price; nothing when the old price was zero.
    std::optional<double> percent() const;
};
struct UnitChange {
    std::int32_t id = 0;
    QString name, unit;
    Money before, after;
};
struct Problem {
    int line = 0;
    QString reason;
};

struct Preview {
    std::vector<NewItem> added;
    std::vector<PriceChange> changed;
    std::vector<PriceChange> unchanged;
    std::vector<UnitChange> units; // unit items whose price changes with their components
    std::vector<Problem> problems; // rows left out, each with its line and why
    int skipped = 0;               // unit items and components of an exported catalogue
    bool writesNothing() const { return added.empty() && changed.empty(); }
};

// What importing the rows would do, matching each row to a cost item by SKU, else by name,
// unit and cost type. Nothing is written. Throws modData::SqlError.
Preview Compare(AppContext& ctx, const Source& s, const Layout& layout);
// Adds the new items and sets the changed prices, all in one transaction. Throws
// modData::SqlError (nothing is written then).
void Apply(AppContext& ctx, const Preview& p);

} // namespace PriceList
