#include "pricing/Totals.h"

#include "common/AppContext.h"
#include "common/Numbers.h"
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
    return fixed ? QStringLiteral("Fixed @") : figure + QLatin1Char('%');
}

QString AdminAmount::storedText() const {
    return Admin::storedText({fixed, figure});
}

namespace {

// An amount showing `text`: it counts as the cents the text reads.
AdminAmount showing(bool fixed, const QString& figure, const QString& text) {
    return {fixed, figure, text, Money::fromText(text)};
}

} // namespace

std::optional<AdminAmount> figureAdmin(int index, bool fixed, const QString& figure,
                                       Money subTotal) {
    if (fixed) {
        const std::optional<Money> m = Money::parse(figure);
        if (!m)
            return std::nullopt;
        // The amount is kept as it shows, and so it is edited and stored.
        const QString text = m->toCurrency();
        return showing(true, text, text);
    }
    const std::optional<double> parsed = Numbers::parse(figure);
    if (!parsed)
        return std::nullopt;
    const float p = float(*parsed);
    const double value = (double(p) * 0.01) * subTotal.toDouble();
    return showing(false, index == 0 ? figure : Numbers::shortest(double(p)),
                   Money::fromDouble(value).toCurrency());
}

AdminAmount loadedAdmin(const QString& stored, const AdminAmount& before) {
    if (stored.trimmed().isEmpty())
        return showing(true, QStringLiteral(".00"), QStringLiteral(".00"));
    const Admin::Amount a = Admin::parseStored(stored);
    if (a.fixed)
        return showing(true, a.value, a.value);
    return {false, a.value, before.shown, before.amount};
}

AdminAmount closedAdmin(const AdminAmount& a) {
    return showing(a.fixed, a.fixed ? kNotFigured : a.figure, kNotFigured);
}

Figured figure(const TypeTotals& types, const AdminAmounts& admin) {
    Figured f;
    EstimateTotals& t = f.totals;
    t.types = types;
    for (const Money& m : types)
        t.subTotal += m;
    for (int i = 0; i < int(admin.size()); ++i) {
        const AdminAmount& a = admin[i];
        if (const auto figured = figureAdmin(i, a.fixed, a.figure, t.subTotal)) {
            t.admin[i] = *figured;
        } else {
            t.admin[i] = a;
            f.mismatches << i;
        }
        t.adminTotal += t.admin[i].amount;
    }
    t.estTotal = t.subTotal + t.adminTotal;
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
