#include "takeoff/TakeoffRule.h"

#include "common/AppContext.h"
#include "storage/modData.h"
#include "takeoff/RoofMath.h"
#include "takeoff/Takeoff.h"

#include <QLocale>
#include <QSqlQuery>
#include <QStringList>

namespace TakeoffRule {
namespace {

QString kindsText(std::int32_t kinds) {
    QStringList names;
    for (int t = RoofMath::FirstLinealType; t <= RoofMath::LastLinealType; ++t)
        if (t != RoofMath::Percent && (kinds & (1 << t)))
            names << RoofMath::linealName(t);
    if (names.size() <= 1)
        return names.join(QString());
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           names.last();
}

QString amountText(std::int64_t tenThousandths) {
    return Quantity::fromRaw(tenThousandths).toText();
}

// The measure as an exact fraction (numerator / denominator) and its words.
struct Measured {
    std::int64_t num = 0;
    std::int64_t den = 1;
    QString unit;  // "square", "sq ft", "lf", "plane"
    QString words; // "24.67 squares to order"
};

std::optional<Measured> measured(const Rule& r, const RoofMeasures& m) {
    switch (r.measure) {
    case Measure::SquaresToOrder:
        return Measured{
            m.orderThirds, 3, QStringLiteral("square"),
            QStringLiteral("%1 squares to order").arg(RoofMath::thirdsText(m.orderThirds))};
    case Measure::RoofArea:
        return Measured{m.area, 1, QStringLiteral("sq ft"),
                        QStringLiteral("%1 sq ft of roof area").arg(QLocale().toString(m.area))};
    case Measure::Lineal: {
        std::int64_t sum = 0;
        for (auto it = m.lengths.cbegin(); it != m.lengths.cend(); ++it)
            if (it.key() != RoofMath::Percent && (r.kinds & (1 << it.key())))
                sum += it.value();
        return Measured{sum, 10000, QStringLiteral("lf"),
                        QStringLiteral("%1 lf of %2").arg(amountText(sum), kindsText(r.kinds))};
    }
    case Measure::Planes:
        return Measured{m.planes, 1, QStringLiteral("plane"),
                        QStringLiteral("%1 roof planes").arg(m.planes)};
    case Measure::None:
        break;
    }
    return std::nullopt;
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {
    return (a + b - 1) / b;
}

} // namespace

RoofMeasures measures(AppContext& ctx) {
    RoofMeasures m;
    const Takeoff::RoofTotals t = Takeoff::totals(ctx);
    m.area = t.area;
    m.orderThirds = t.orderThirds();
    QSqlQuery q =
        modData::exec(ctx, ctx.TempDBConn,
                      QStringLiteral("select Type, sum(Length) from TempLineal group by Type"));
    while (q.next())
        m.lengths[q.value(0).toInt()] = q.value(1).toLongLong();
    m.planes = modData::scalar(ctx, ctx.TempDBConn,
                               QStringLiteral("select count(*) from TempAreas where Quick=0"))
                   .toLongLong();
    return m;
}

QString measureName(Measure m) {
    switch (m) {
    case Measure::None:
        return QStringLiteral("None");
    case Measure::SquaresToOrder:
        return QStringLiteral("Squares to order");
    case Measure::RoofArea:
        return QStringLiteral("Roof area (sq ft)");
    case Measure::Lineal:
        return QStringLiteral("Lineal runs (lf)");
    case Measure::Planes:
        return QStringLiteral("Roof planes (count)");
    }
    return {};
}

QString describe(const Rule& r, const QString& unit) {
    const QString u = unit.isEmpty() ? QStringLiteral("units") : unit;
    QString per;
    switch (r.measure) {
    case Measure::SquaresToOrder:
        per = QStringLiteral("square to order");
        break;
    case Measure::RoofArea:
        per = QStringLiteral("sq ft of roof area");
        break;
    case Measure::Lineal:
        per = QStringLiteral("lf of %1").arg(kindsText(r.kinds));
        break;
    case Measure::Planes:
        per = QStringLiteral("roof plane");
        break;
    case Measure::None:
        return QStringLiteral("None");
    }
    return r.perMeasure ? QStringLiteral("%1 %2 per %3").arg(amountText(r.amount), u, per)
                        : QStringLiteral("1 %1 per %2 %3").arg(u, amountText(r.amount), per);
}

std::optional<Proposal> propose(const Rule& r, const RoofMeasures& m, const QString& unit) {
    if (r.amount <= 0 || (r.measure == Measure::Lineal && r.kinds == 0))
        return std::nullopt;
    const std::optional<Measured> v = measured(r, m);
    if (!v || v->num <= 0)
        return std::nullopt;
    const QString u = unit.isEmpty() ? QStringLiteral("units") : unit;
    // Whole purchase units, rounded up, in exact integers: amount is in ten-thousandths.
    std::int64_t units = 0;
    QString how;
    if (r.perMeasure) {
        units = ceilDiv(v->num * r.amount, v->den * 10000);
        how = QStringLiteral("× %1 %2").arg(amountText(r.amount), u);
    } else {
        units = ceilDiv(v->num * 10000, v->den * r.amount);
        how = QStringLiteral("÷ %1 %2 per %3").arg(amountText(r.amount), v->unit, u);
    }
    return Proposal{Quantity::whole(units), QStringLiteral("from %1 %2").arg(v->words, how)};
}

} // namespace TakeoffRule
