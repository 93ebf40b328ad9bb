#include "pricing/Totals.h"

#include "common/AppContext.h"
#include "common/Numbers.h"
#include "pricing/modGrid.h"
#include "settings/SettingsStore.h"
#include "storage/modData.h"

#include <QSqlQuery>

namespace Totals {

const QStringList& typeNames() {
    static const QStringList names = {QStringLiteral("Material"), QStringLiteral("Labor"),
                                      QStringLiteral("SubCon"),   QStringLiteral("Equip"),
                                      QStringLiteral("Fee"),      QStringLiteral("Unit_Item")};
    return names;
}

QString AdminAmount::typeText() const {
    return fixed ? QStringLiteral("Fixed @") : Numbers::inLocale(figure) + QLatin1Char('%');
}

QString AdminAmount::figureText() const {
    return Numbers::inLocale(figure);
}

QString AdminAmount::storedText() const {
    return Admin::storedText({fixed, figure});
}

namespace {

// An amount showing `text`: it counts as the cents the text reads.
AdminAmount showing(bool fixed, const QString& figure, const QString& text) {
    return {fixed, figure, text, Money::fromText(text)};
}

// A fixed amount of `m`, counted and kept as the cents it shows.
AdminAmount fixedAmount(Money m) {
    const Money shown = m.roundedToCents();
    return {true, shown.toSql(), shown.toCurrency(), shown};
}

} // namespace

std::optional<AdminAmount> figureAdmin(int index, bool fixed, const QString& figure,
                                       Money subTotal) {
    if (fixed) {
        const std::optional<Money> m = Money::parse(figure);
        if (!m)
            return std::nullopt;
        return fixedAmount(*m);
    }
    const std::optional<QString> plain = Numbers::plainText(figure);
    if (!plain)
        return std::nullopt;
    const float p = float(QStringView(*plain).toDouble());
    const double value = (double(p) * 0.01) * subTotal.toDouble();
    const std::optional<Money> amount = Money::tryFromDouble(value);
    const Money shown = amount.value_or(Money()).roundedToCents();
    AdminAmount a{false, index == 0 ? *plain : Numbers::shortest(double(p)), shown.toCurrency(),
                  shown};
    a.tooLarge = !amount;
    return a;
}

AdminAmount loadedAdmin(const QString& stored, const AdminAmount& before) {
    if (stored.trimmed().isEmpty())
        return showing(true, QStringLiteral(".00"), QStringLiteral(".00"));
    const Admin::Amount a = Admin::parseStored(stored);
    if (a.fixed) {
        if (const auto m = Money::parseStored(a.value))
            return fixedAmount(*m);
        return showing(true, a.value, a.value);
    }
    return {false, a.value, before.shown, before.amount};
}

AdminAmount closedAdmin(const AdminAmount& a) {
    return showing(a.fixed, a.fixed ? kNotFigured : a.figure, kNotFigured);
}

Figured figure(const TypeTotals& types, const AdminAmounts& admin) {
    Figured f;
    EstimateTotals& t = f.totals;
    t.types = types;
    // A sum that does not fit is not wrapped into a wrong one: it stays where it was and the
    // figure says so.
    auto add = [&f](Money& sum, Money m) {
        if (const auto s = Money::sum(sum, m))
            sum = *s;
        else
            f.tooLarge = true;
    };
    for (const Money& m : types)
        add(t.subTotal, m);
    for (int i = 0; i < int(admin.size()); ++i) {
        const AdminAmount& a = admin[i];
        if (const auto figured = figureAdmin(i, a.fixed, a.figure, t.subTotal)) {
            t.admin[i] = *figured;
            f.tooLarge = f.tooLarge || figured->tooLarge;
        } else {
            t.admin[i] = a;
            f.mismatches << i;
        }
        add(t.adminTotal, t.admin[i].amount);
    }
    t.estTotal = t.subTotal;
    add(t.estTotal, t.adminTotal);
    return f;
}

Money estimateTotal(const TypeTotals& types, const QStringList& storedAdmin) {
    AdminAmounts admin{};
    for (int i = 0; i < int(admin.size()); ++i)
        admin[i] = loadedAdmin(storedAdmin.value(i), AdminAmount{});
    return figure(types, admin).totals.estTotal;
}

namespace {
TypeTotals sumsOf(QSqlQuery q) {
    TypeTotals sums{};
    while (q.next()) {
        const QString name = q.value(0).toString();
        for (int k = 0; k < TypeCount; ++k)
            if (name.compare(typeNames()[k], Qt::CaseInsensitive) == 0)
                sums[k] += Money::fromRaw(q.value(1).toLongLong());
    }
    return sums;
}
} // namespace

TypeTotals sumByType(AppContext& ctx) {
    return sumsOf(modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("select ItemTable, sum(LineTotal) from tpLineItems group by ItemTable")));
}

TypeTotals sumStoredByType(QSqlDatabase estimate) {
    return sumsOf(modData::exec(
        estimate,
        QStringLiteral("select ItemTable, sum(LineTotal) from LineItems group by ItemTable")));
}

std::optional<TypeTotals> withLine(AppContext& ctx, qint64 lineID, const QString& type,
                                   Money total) {
    TypeTotals sums = sumByType(ctx);
    auto at = [](const QString& name) {
        for (int k = 0; k < TypeCount; ++k)
            if (name.compare(typeNames()[k], Qt::CaseInsensitive) == 0)
                return k;
        return -1;
    };
    if (lineID > 0) {
        if (const auto old = modGrid::line(ctx, lineID); old) {
            const int k = at(old->item.ItemTable);
            if (k >= 0)
                sums[k] = sums[k] - old->item.LineTotal;
        }
    }
    const int k = at(type);
    if (k >= 0) {
        const std::optional<Money> s = Money::sum(sums[k], total);
        if (!s)
            return std::nullopt;
        sums[k] = *s;
    }
    return sums;
}

bool fits(const TypeTotals& types, const AdminAmounts& admin) {
    return !figure(types, admin).tooLarge;
}

std::array<Admin::Amount, 4> adminDefaults(const SettingsStore& settings) {
    const auto op = settings.section(QString::fromLatin1(SettingsStore::App), QStringLiteral("Op"));
    std::array<Admin::Amount, 4> amounts;
    for (int i = 0; i < 4; ++i) {
        // A missing default is a fixed 0 rather than a failure.
        const QString stored = i + 1 < int(op.size()) ? op[i + 1].second : QString();
        amounts[i] = Admin::parseStored(stored);
    }
    return amounts;
}

StoredTerms storedTerms(AppContext& ctx) {
    QSqlQuery q = modData::exec(ctx, ctx.EstConn,
                                QStringLiteral("Select overhead,profit,contingency,management,"
                                               "paymentterms,estsummary from main where id=1"));
    if (!q.next())
        throw modData::SqlError::message(
            QStringLiteral("The owner row of this estimate is missing"));
    StoredTerms s;
    for (int i = 0; i < 4; ++i)
        s.admin[i] = q.value(i).toString();
    if (!q.value(4).isNull())
        s.terms = q.value(4).toString();
    if (!q.value(5).isNull())
        s.summary = q.value(5).toString();
    return s;
}

} // namespace Totals
