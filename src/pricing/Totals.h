#pragma once

#include "common/Money.h"
#include "pricing/Admin.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

struct AppContext;
class SettingsStore;

// The totals of the estimate in work: the line totals of each cost type, their sub total, the
// four administrative amounts (overhead, profit, contingency, management) and the estimate
// total. Each amount counts as the cents it shows, so the totals always add up on screen.
namespace Totals {

// The cost types as tpLineItems.ItemTable names them, in the order the Line Items tab lists
// their totals: Material, Labor, SubCon, Equip, Fee, Unit_Item.
inline constexpr int TypeCount = 6;
const QStringList& typeNames();
using TypeTotals = std::array<Money, TypeCount>;

// The text an administrative amount shows before it is figured, and again once its estimate is
// closed.
inline const QString kNotFigured = QStringLiteral("...");

// One administrative amount as it shows and is stored.
struct AdminAmount {
    bool fixed = true;
    // The percentage (a percent amount), or the fixed amount as it shows, as a plain decimal
    // ("7.5", "1234.5"): what the edit dialog offers and what is stored.
    QString figure = kNotFigured;
    // The amount's text: its currency text once figured, else what was loaded or kNotFigured.
    QString shown = kNotFigured;
    // The money amount, as many cents as `shown` reads (0 when it shows no number).
    Money amount;
    // A percentage whose amount does not fit the money type (its amount then counts as 0).
    bool tooLarge = false;

    // "Fixed @", or the percentage (with the user's decimal point) followed by "%".
    QString typeText() const;
    // The stored form: "Fixed-<amount as shown>" or "%-<percentage>", plain decimals.
    QString storedText() const;
    // The figure as a number box offers it for editing (the user's decimal point).
    QString figureText() const;
    bool operator==(const AdminAmount&) const = default;
};
using AdminAmounts = std::array<AdminAmount, 4>;

struct EstimateTotals {
    TypeTotals types{};
    Money subTotal;
    AdminAmounts admin{};
    Money adminTotal;
    Money estTotal;
    bool operator==(const EstimateTotals&) const = default;
};

// Administrative amount `index` (0 overhead to 3 management) figured from its kind and figure
// against `subTotal`: a fixed figure is an amount (currency text is fine), shown to the cent; a
// percentage is a single-precision number, as it has always been figured, and its amount is
// that share of the sub total shown to the cent. Overhead keeps the percentage as it was typed
// (in plain form), the others show its shortest form. Nothing when the figure is not a number.
std::optional<AdminAmount> figureAdmin(int index, bool fixed, const QString& figure,
                                       Money subTotal);

// An administrative amount as an estimate stored it ("Fixed-…", "%-…", or blank for a fixed
// nothing), before it is figured: a fixed one shows its stored text, a percent one keeps what
// `before` showed until it is figured against the estimate's sub total.
AdminAmount loadedAdmin(const QString& stored, const AdminAmount& before);

// What `a` shows once its estimate is closed: no amount, and a fixed one no figure either.
AdminAmount closedAdmin(const AdminAmount& a);

struct Figured {
    EstimateTotals totals;
    // The administrative amounts whose figure is not a number: they keep what they showed.
    QList<int> mismatches;
    // Some amount or sum does not fit the money type: the totals do not add up and must not be
    // shown or stored as if they did.
    bool tooLarge = false;
};
// The sub total of `types`, every administrative amount figured again from its kind and figure
// against it, the admin total (the amounts as they show) and the estimate total.
Figured figure(const TypeTotals& types, const AdminAmounts& admin);

// The estimate total of lines totalling `types` under the administrative amounts as an estimate
// stores them ("Fixed-…", "%-…"; a missing one is a fixed nothing), figured as the totals tab
// figures them, so the lists show the total the estimate prints.
Money estimateTotal(const TypeTotals& types, const QStringList& storedAdmin);

// The working lines' totals summed by cost type; a type without lines is 0. Throws
// modData::SqlError.
TypeTotals sumByType(AppContext& ctx);
// The same for the stored lines (LineItems) of an estimate's own database. Throws
// modData::SqlError.
TypeTotals sumStoredByType(QSqlDatabase estimate);

// The type totals of the working lines once line `lineID` (0: a new line) has type `type` and
// total `total`; nothing when a sum does not fit. Throws modData::SqlError.
std::optional<TypeTotals> withLine(AppContext& ctx, qint64 lineID, const QString& type,
                                   Money total);
// Whether the estimate can be figured with these type totals and administrative amounts:
// every amount and sum fits the money type.
bool fits(const TypeTotals& types, const AdminAmounts& admin);
inline QString tooLargeMessage() {
    return QStringLiteral("The estimate total would be too large to figure. Please enter a "
                          "smaller amount.");
}

// The administrative amounts a new estimate starts with, from the settings (the values of
// section "Op" after its first); a missing one is a fixed 0.
std::array<Admin::Amount, 4> adminDefaults(const SettingsStore& settings);

// What the open estimate (ctx.EstConn) stored of its terms and totals.
struct StoredTerms {
    std::array<QString, 4> admin;   // the stored administrative texts; NULL reads as blank
    std::optional<QString> terms;   // payment terms; nothing when NULL
    std::optional<QString> summary; // the estimate summary; nothing when NULL
};
// Throws modData::SqlError, also when the estimate has no owner row.
StoredTerms storedTerms(AppContext& ctx);

} // namespace Totals
