#pragma once

#include "common/Money.h"
#include "estimates/EstList.h"

#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <optional>
#include <vector>

struct AppContext;

// The pipeline at a glance (Reports → "Estimate summary"): how many estimates of each status,
// and what they are worth, were dated in a period, month by month. An estimate belongs to the
// period and the month of its estimate date in the master list: the day it was started, or the
// day it was last saved as Pending, or the day given to it in Manage.
namespace EstSummary {

// A pending estimate whose offer ran out by today is counted as expired, not as pending, as
// the Open window's lists show it.
enum Kind { Working, Pending, Expired, Accepted, Rejected, KindCount };

// "Working", "Pending", "Expired", "Accepted", "Rejected".
QString kindName(int kind);

struct Tally {
    int count = 0;
    // The sum of the totals, each rounded to whole cents so that the parts shown add up to the
    // whole shown.
    Money total;
    // Estimates counted whose total is not known yet (never saved since totals were kept).
    int withoutTotal = 0;

    // Counts one estimate. Throws std::overflow_error when the sum does not fit.
    void add(const std::optional<Money>& estimateTotal);
};

struct Month {
    QDate first; // the month's first day
    std::array<Tally, KindCount> byKind;
    Tally all;
};

struct Figures {
    QDate from, to, today;
    std::array<Tally, KindCount> byKind;
    Tally all;
    // Every month the period touches, the empty ones too, oldest first.
    std::vector<Month> months;
    // Estimates without a date: they fall in no period.
    int undated = 0;

    // Accepted ÷ (accepted + rejected), by count; nothing when neither happened.
    std::optional<double> winRate() const;
    // What the pending estimates that have not expired are worth.
    Money pendingValue() const { return byKind[Pending].total; }
};

// The figures of `rows` for the period from `from` to `to` (both days included) as seen on
// `today`. An empty period (to before from) has no estimates and no months. Throws
// std::overflow_error when a sum does not fit.
Figures figure(const QList<EstList::Row>& rows, const QDate& from, const QDate& to,
               const QDate& today);
// The same over the master list. Throws modData::SqlError and std::overflow_error.
Figures read(AppContext& ctx, const QDate& from, const QDate& to, const QDate& today);

// "62.5 %" in the user's locale (one decimal at most), or "—" when there is no rate.
QString winRateText(const Figures& f);
// "Jan 2026", in the user's language.
QString monthName(const QDate& first);

// The figures as CSV (RFC 4180, CR LF, header row): one row per status, the whole period, then
// one row per month with its count and total by status. Amounts are plain decimals with a
// period and two decimals, as spreadsheets read them in any language.
QString csv(const Figures& f);
// Writes csv(f) as UTF-8 with a byte-order mark (so that spreadsheets know the encoding) to
// `path`, replacing it only once the whole file is written. Returns the message for the user
// when it could not be written, else an empty string.
QString writeCsv(const Figures& f, const QString& path);

// A period the window offers in one click.
struct Period {
    QString name;
    QDate from, to;
};
// "This year" (the default), "Last year", "Last 12 months", "This quarter", "This month",
// "Last month", as seen on `today`.
QList<Period> presets(const QDate& today);

} // namespace EstSummary
