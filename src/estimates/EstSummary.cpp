#include "estimates/EstSummary.h"

#include "catalogue/CsvText.h"

#include <QLocale>
#include <QSaveFile>
#include <stdexcept>

namespace EstSummary {
namespace {

const char* const kNames[KindCount] = {"Working", "Pending", "Expired", "Accepted", "Rejected"};

// The kind of a master row as seen on `today`; nothing for a status the program does not know.
std::optional<Kind> kindOf(const EstList::Row& r, const QDate& today) {
    for (int k : {Working, Pending, Accepted, Rejected}) {
        if (r.status.compare(QLatin1String(kNames[k]), Qt::CaseInsensitive) != 0)
            continue;
        if (k == Pending) {
            const std::optional<qint64> left = r.daysLeft(today);
            if (left && *left < 1)
                return Expired;
        }
        return Kind(k);
    }
    return std::nullopt;
}

Money sum(Money a, Money b) {
    const std::optional<Money> s = Money::sum(a, b);
    if (!s)
        throw std::overflow_error("The estimate totals are too large to add up.");
    return *s;
}

// Two decimals with a period, no grouping: what a spreadsheet reads as a number in any
// language.
QString plain(Money m) {
    const std::int64_t cents = m.roundedToCents().raw() / (Money::Scale / 100);
    const std::int64_t whole = cents / 100;
    const std::int64_t part = cents % 100;
    const QString sign = cents < 0 ? QStringLiteral("-") : QString();
    return sign + QString::number(whole < 0 ? -whole : whole) + QLatin1Char('.') +
           QString::number(part < 0 ? -part : part).rightJustified(2, QLatin1Char('0'));
}

QDate firstOfMonth(const QDate& d) {
    return QDate(d.year(), d.month(), 1);
}

QDate lastOfMonth(const QDate& d) {
    return firstOfMonth(d).addMonths(1).addDays(-1);
}

} // namespace

QString kindName(int kind) {
    return kind >= 0 && kind < KindCount ? QString::fromLatin1(kNames[kind]) : QString();
}

void Tally::add(const std::optional<Money>& estimateTotal) {
    ++count;
    if (estimateTotal)
        total = sum(total, estimateTotal->roundedToCents());
    else
        ++withoutTotal;
}

std::optional<double> Figures::winRate() const {
    const int decided = byKind[Accepted].count + byKind[Rejected].count;
    if (decided == 0)
        return std::nullopt;
    return double(byKind[Accepted].count) / double(decided);
}

Figures figure(const QList<EstList::Row>& rows, const QDate& from, const QDate& to,
               const QDate& today) {
    Figures f;
    f.from = from;
    f.to = to;
    f.today = today;
    if (!from.isValid() || !to.isValid() || to < from)
        return f;
    for (QDate m = firstOfMonth(from); m <= to; m = m.addMonths(1))
        f.months.push_back(Month{m, {}, {}});
    for (const EstList::Row& r : rows) {
        const std::optional<Kind> kind = kindOf(r, today);
        if (!kind)
            continue;
        if (!r.date.isValid()) {
            ++f.undated;
            continue;
        }
        if (r.date < from || r.date > to)
            continue;
        f.byKind[*kind].add(r.total);
        f.all.add(r.total);
        const QDate first = firstOfMonth(r.date);
        const QDate start = f.months.front().first;
        const int index = (first.year() - start.year()) * 12 + first.month() - start.month();
        Month& month = f.months[std::size_t(index)];
        month.byKind[*kind].add(r.total);
        month.all.add(r.total);
    }
    return f;
}

Figures read(AppContext& ctx, const QDate& from, const QDate& to, const QDate& today) {
    return figure(EstList::rows(ctx), from, to, today);
}

QString winRateText(const Figures& f) {
    const std::optional<double> rate = f.winRate();
    if (!rate)
        return QStringLiteral("\u2014");
    // One decimal, dropped when it is zero: "50 %", "62.5 %".
    QString text = QLocale().toString(*rate * 100.0, 'f', 1);
    const QString zero = QLocale().decimalPoint() + QLatin1Char('0');
    if (text.endsWith(zero))
        text.chop(zero.size());
    return text + QStringLiteral("\u00A0%");
}

QString monthName(const QDate& first) {
    return QLocale().toString(first, QStringLiteral("MMM yyyy"));
}

QString csv(const Figures& f) {
    QString out = CsvText::line({QStringLiteral("Period"), QStringLiteral("Status"),
                                 QStringLiteral("Estimates"), QStringLiteral("Total")});
    auto row = [&](const QString& period, const QString& status, const Tally& t) {
        out += CsvText::line({period, status, QString::number(t.count), plain(t.total)});
    };
    const QString period =
        f.from.toString(Qt::ISODate) + QStringLiteral(" to ") + f.to.toString(Qt::ISODate);
    for (int k = 0; k < KindCount; ++k)
        row(period, kindName(k), f.byKind[std::size_t(k)]);
    row(period, QStringLiteral("All"), f.all);
    for (const Month& m : f.months) {
        const QString name = m.first.toString(QStringLiteral("yyyy-MM"));
        for (int k = 0; k < KindCount; ++k)
            if (m.byKind[std::size_t(k)].count > 0)
                row(name, kindName(k), m.byKind[std::size_t(k)]);
        row(name, QStringLiteral("All"), m.all);
    }
    return out;
}

QString writeCsv(const Figures& f, const QString& path) {
    const QByteArray bytes = "\xEF\xBB\xBF" + csv(f).toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("The estimate summary could not be written to %1: %2.")
            .arg(path, file.errorString());
    return QString();
}

QList<Period> presets(const QDate& today) {
    const int y = today.year();
    const QDate month = firstOfMonth(today);
    const QDate quarter(y, (today.month() - 1) / 3 * 3 + 1, 1);
    return {
        {QStringLiteral("This year"), QDate(y, 1, 1), QDate(y, 12, 31)},
        {QStringLiteral("Last year"), QDate(y - 1, 1, 1), QDate(y - 1, 12, 31)},
        {QStringLiteral("Last 12 months"), month.addMonths(-11), lastOfMonth(today)},
        {QStringLiteral("This quarter"), quarter, quarter.addMonths(3).addDays(-1)},
        {QStringLiteral("This month"), month, lastOfMonth(today)},
        {QStringLiteral("Last month"), month.addMonths(-1), month.addDays(-1)},
    };
}

} // namespace EstSummary
