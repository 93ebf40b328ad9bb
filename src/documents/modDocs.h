#pragma once

#include "common/Money.h"
#include "takeoff/Takeoff.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <cstdint>
#include <optional>

class QTextDocument;
struct AppContext;

// The four documents made from the estimate in work: the detail listing and the roof listing
// (plain text in columns of blanks) and the proposal and contract (rich-text templates with
// placeholders filled in).
namespace modDocs {

// What the documents need from the window besides the databases.
struct PageInputs {
    // Roof Area, Roof Other and Roof Total as the take-off shows them; when not given, the
    // document figures them from the working tables.
    std::optional<Takeoff::RoofTotals> roofTotals;
    // The detail document empties the working line tables once it has listed them. That is only
    // safe when the estimate was just stored; otherwise the lines on screen would be lost.
    bool emptyWorkingTables = true;
};

// Fills `box` with the document of `kind`: "detail", "proposal", "contract" or "roof". Errors are
// shown with the standard message; the box then keeps what was made up to that point.
void BuildPage(AppContext& ctx, const QString& kind, QTextDocument& box, const PageInputs& in = {});

// The two heading lines (and an empty line) of the detail and roof documents.
QString GetHead(AppContext& ctx, std::int32_t id);
// Appends the detail listing of the working tables to `docText`.
void GetDetails(AppContext& ctx, QString& docText, bool emptyWorkingTables = true);
// Appends the roof listing of the working tables to `docText`.
void GetRoof(AppContext& ctx, QString& docText, const Takeoff::RoofTotals& roofTotals);
// The company block for "<<CoInfo>>": the details chosen in Setup, one a line ("\n" between
// them, none after), or six empty lines for letterhead paper; sets *coName.
QString GetCoInfo(const AppContext& ctx, QString* coName = nullptr);

// Width of a column code (0 for an unknown code) and whether it is left-aligned.
int fieldWidth(int code);
bool fieldLeftAligned(int code);
// The value's text filled out with blanks to the width of `code`. A text wider than its column
// is cut to the width here; PadRow keeps such text whole on continuation lines.
QString PadField(const QVariant& value, int code);

struct Field {
    QString text;
    int code;
};
// One row of columns. A value wider than its column goes on onto continuation lines (broken at a
// blank where it can be) so that every column stays in place. Each line ends with "\r\n".
QString PadRow(const QList<Field>& fields);

// Replaces every whole-word, case-sensitive occurrence of `tag` in `box` with `value`; text
// already inserted is not searched again. Returns the number of replacements.
int ReplaceTag(QTextDocument& box, const QString& tag, const QString& value);

// One administrative amount from its stored text ("Fixed-100", "%-15") on a sub total.
struct AdminCell {
    Money amount;
    QString text; // "Fixed @ $100.00" or "15% - $150.00"
};
// Throws ProcedureError for a stored text that is not an amount or a percentage.
AdminCell FigureAdminCell(const QString& stored, Money subTotal);
// `pct` percent of `base`, to four decimals, halves to even.
Money percentOf(Money base, Money pct);

// The day the estimate's offer ends: its date plus its length in days (invalid without a date).
QDate expiryDate(const QString& estdate, std::int32_t estlength);
// The same for a stored estimate, from the master list (invalid when it has no date).
QDate storedExpiryDate(AppContext& ctx, std::int32_t id);
// "<<ExpDate>>": the estimate date plus its length in days, as short date text.
QString expiryText(const QString& estdate, std::int32_t estlength);

} // namespace modDocs
