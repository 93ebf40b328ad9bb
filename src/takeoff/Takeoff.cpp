#include "takeoff/Takeoff.h"

#include "common/AppContext.h"
#include "common/Guard.h"
#include "common/Numbers.h"
#include "common/Quantity.h"
#include "settings/SettingsStore.h"
#include "storage/QueryModel.h"
#include "storage/modData.h"
#include "takeoff/Measure.h"
#include "takeoff/RoofMath.h"

#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>

namespace Takeoff {

namespace {

const QString kAreas = QStringLiteral("Areas");
const QString kLineal = QStringLiteral("Lineal");

} // namespace

void addArea(AppContext& ctx, const Area& a) {
    modData::exec(ctx, ctx.TempDBConn,
                  QStringLiteral("insert into TempAreas(AreaID,Quick,Pitch,OnSlope,Shape,Width1,"
                                 "Width2,Height,Total) values(0,0,?,?,?,?,?,?,?)"),
                  {a.pitch, int(a.onSlope), a.shape, qlonglong(a.width1), qlonglong(a.width2),
                   qlonglong(a.height), a.total});
}

void updateArea(AppContext& ctx, qint64 id, const Area& a) {
    modData::exec(ctx, ctx.TempDBConn,
                  QStringLiteral("update tempareas set shape=?, pitch=?, onslope=?, quick=0, "
                                 "width1=?, width2=?, height=?, total=? where id=?"),
                  {a.shape, a.pitch, int(a.onSlope), qlonglong(a.width1), qlonglong(a.width2),
                   qlonglong(a.height), a.total, id});
}

void deleteArea(AppContext& ctx, const RowIds& row) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    // The stored id as the working row has it, whatever the caller saw.
    const qint64 stored =
        modData::scalar(db, QStringLiteral("select AreaID from tempareas where id=?"), {row.id})
            .toLongLong();
    PendingDeletes::mark(db, kAreas, stored);
    modData::exec(db, QStringLiteral("delete from tempareas where id=?"), {row.id});
}

std::optional<Area> area(AppContext& ctx, qint64 id) {
    QSqlQuery q = modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("select shape,width1,width2,height,total,pitch,onslope from tempareas "
                       "where id=?"),
        {id});
    if (!q.next())
        return std::nullopt;
    return Area{q.value(0).toInt(),      q.value(1).toLongLong(), q.value(2).toLongLong(),
                q.value(3).toLongLong(), q.value(4).toInt(),      q.value(5).toInt(),
                q.value(6).toInt() != 0};
}

void addLineal(AppContext& ctx, const Lineal& l) {
    modData::exec(ctx, ctx.TempDBConn,
                  QStringLiteral("Insert into templineal(linealid,type,name,length,total) "
                                 "values(0,?,?,?,?)"),
                  {l.type, l.name, qlonglong(l.length), l.total});
}

void updateLineal(AppContext& ctx, qint64 id, const Lineal& l) {
    modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("update templineal set name=?, type=?, length=?, total=? where id=?"),
        {l.name, l.type, qlonglong(l.length), l.total, id});
}

void deleteLineal(AppContext& ctx, const RowIds& row) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    const qint64 stored =
        modData::scalar(db, QStringLiteral("select LinealID from templineal where id=?"), {row.id})
            .toLongLong();
    PendingDeletes::mark(db, kLineal, stored);
    modData::exec(db, QStringLiteral("delete from templineal where id=?"), {row.id});
}

std::optional<Lineal> lineal(AppContext& ctx, qint64 id) {
    QSqlQuery q = modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("select type,name,length,total from templineal where id=?"), {id});
    if (!q.next())
        return std::nullopt;
    return Lineal{q.value(0).toInt(), q.value(1).toString(), q.value(2).toLongLong(),
                  q.value(3).toInt()};
}

void setQuickFigure(AppContext& ctx, const QuickFigure& f) {
    const QVariantList values = {f.pitch, qlonglong(f.width1), qlonglong(f.height), f.total};
    const int rows =
        modData::scalar(ctx, ctx.TempDBConn, QStringLiteral("select count(*) from tempareas"))
            .toInt();
    if (rows == 0) {
        modData::exec(
            ctx, ctx.TempDBConn,
            QStringLiteral(
                "insert into tempareas(quick,pitch,width1,height,total) values(1,?,?,?,?)"),
            values);
        return;
    }
    const QVariant id =
        modData::scalar(ctx, ctx.TempDBConn, QStringLiteral("select max(id) from tempareas"));
    modData::exec(ctx, ctx.TempDBConn,
                  QStringLiteral("update tempareas set quick=1, onslope=0, pitch=?, width1=?, "
                                 "height=?, total=? where id=?"),
                  values + QVariantList{id});
}

void clearAreas(AppContext& ctx) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    QSqlQuery stored =
        modData::exec(db, QStringLiteral("select AreaID from tempareas where AreaID > 0"));
    QList<qint64> ids;
    while (stored.next())
        ids << stored.value(0).toLongLong();
    for (qint64 id : ids)
        PendingDeletes::mark(db, kAreas, id);
    modData::exec(db, QStringLiteral("DELETE from tempareas"));
}

std::optional<QuickFigure> singleTotalArea(AppContext& ctx) {
    if (modData::scalar(ctx, ctx.TempDBConn, QStringLiteral("select count(*) from TempAreas"))
            .toInt() != 1)
        return std::nullopt;
    QSqlQuery q = modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral(
            "select pitch,width1,height,total,quick from TempAreas order by ID limit 1"));
    if (!q.next() || q.value(4).toInt() == 0)
        return std::nullopt;
    return QuickFigure{q.value(0).toInt(), q.value(1).toLongLong(), q.value(2).toLongLong(),
                       q.value(3).toInt()};
}

std::int64_t defaultWaste(AppContext& ctx) {
    constexpr std::int64_t tenPercent = 10 * 10000;
    if (!ctx.settings)
        return tenPercent;
    const QString text = ctx.settings->get(QStringLiteral("Op"), QStringLiteral("Waste"));
    const std::optional<QString> plain = Numbers::plainStoredText(text);
    const std::optional<std::int64_t> v = plain ? Numbers::tenThousandths(*plain) : std::nullopt;
    return v && *v >= 0 && *v <= MaxWaste ? *v : tenPercent;
}

std::int64_t waste(AppContext& ctx) {
    const QVariant v = modData::scalar(ctx, ctx.TempDBConn,
                                       QStringLiteral("select Waste from TempRoof where Waste is "
                                                      "not null order by ID desc limit 1"));
    return v.isNull() ? defaultWaste(ctx) : v.toLongLong();
}

void setWaste(AppContext& ctx, std::int64_t waste) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    modData::exec(db, QStringLiteral("delete from TempRoof"));
    modData::exec(db, QStringLiteral("insert into TempRoof(Waste) values(?)"), {qlonglong(waste)});
}

RoofTotals withTotal(qint64 area, qint64 other, qint64 waste) {
    return RoofTotals{area, other, area + other, waste};
}

QString RoofTotals::squares() const {
    return RoofMath::squaresText(area);
}

std::int64_t RoofTotals::orderThirds() const {
    return RoofMath::orderThirds(area, waste);
}

QString RoofTotals::squaresToOrder() const {
    return RoofMath::thirdsText(orderThirds());
}

RoofTotals totals(AppContext& ctx) {
    // With nothing measured a side is 0: a deleted area must not stay counted (a "%" lineal
    // item reads Roof Area).
    const qint64 area =
        modData::scalar(ctx, ctx.TempDBConn, QStringLiteral("select sum(total) from tempareas"))
            .toLongLong();
    const qint64 other =
        modData::scalar(ctx, ctx.TempDBConn, QStringLiteral("select sum(total) from templineal"))
            .toLongLong();
    return withTotal(area, other, waste(ctx));
}

namespace {

Area areaOf(const QSqlRecord& r) {
    return Area{r.value(QStringLiteral("Shape")).toInt(),
                r.value(QStringLiteral("Width1")).toLongLong(),
                r.value(QStringLiteral("Width2")).toLongLong(),
                r.value(QStringLiteral("Height")).toLongLong(),
                r.value(QStringLiteral("Total")).toInt(),
                r.value(QStringLiteral("Pitch")).toInt(),
                r.value(QStringLiteral("OnSlope")).toInt() != 0};
}

bool quickOf(const QSqlRecord& r) {
    return r.value(QStringLiteral("Quick")).toInt() != 0;
}

QString sqft(qint64 v) {
    return QStringLiteral("%1 sq ft").arg(QLocale().toString(v));
}

} // namespace

QString shapeWords(const Area& a, bool quick) {
    return quick ? QStringLiteral("Whole roof") : RoofMath::shapeName(a.shape);
}

QString measureWords(const Area& a, bool quick) {
    if (!quick && a.shape == RoofMath::Trap)
        return QStringLiteral("top %1, bottom %2 × %3")
            .arg(Measure::text(a.width1), Measure::text(a.width2), Measure::text(a.height));
    return QStringLiteral("%1 × %2").arg(Measure::text(a.width1), Measure::text(a.height));
}

std::int32_t planTotal(const Area& a, bool quick) {
    return Numbers::toLong(RoofMath::planArea(quick ? int(RoofMath::Rect) : a.shape,
                                              Measure::toFeet(a.width1), Measure::toFeet(a.width2),
                                              Measure::toFeet(a.height)));
}

QString describeArea(const Area& a, bool quick) {
    return QStringLiteral("%1 %2, %3, %4")
        .arg(shapeWords(a, quick), measureWords(a, quick), RoofMath::pitchText(a.pitch),
             sqft(a.total));
}

QList<AreaRow> areaRows(AppContext& ctx) {
    QSqlQuery q = modData::exec(
        ctx, ctx.TempDBConn,
        QStringLiteral("select Shape,Width1,Width2,Height,Total,Pitch,OnSlope,Quick from "
                       "TempAreas order by ID"));
    QList<AreaRow> out;
    while (q.next())
        out << AreaRow{areaOf(q.record()), quickOf(q.record())};
    return out;
}

QList<Lineal> linealRows(AppContext& ctx) {
    QSqlQuery q =
        modData::exec(ctx, ctx.TempDBConn,
                      QStringLiteral("select Type,Name,Length,Total from TempLineal order by ID"));
    QList<Lineal> out;
    while (q.next())
        out << Lineal{q.value(0).toInt(), q.value(1).toString(), q.value(2).toLongLong(),
                      q.value(3).toInt()};
    return out;
}

void showAreas(AppContext& ctx, QueryModel& model) {
    using R = const QSqlRecord&;
    model.show(
        ctx.TempDBConn,
        QStringLiteral("select ID,AreaID,Shape,Width1,Pitch,OnSlope,Height,Total,Width2,Quick "
                       "from tempareas order by ID"),
        {},
        {{QStringLiteral("ID")},
         {QStringLiteral("AreaID")},
         {QStringLiteral("Shape"), false, false,
          [](R r) { return shapeWords(areaOf(r), quickOf(r)); }},
         {QStringLiteral("Measurements"), false, false,
          [](R r) { return measureWords(areaOf(r), quickOf(r)); }},
         {QStringLiteral("Pitch"), false, false,
          [](R r) { return RoofMath::pitchText(r.value(QStringLiteral("Pitch")).toInt()); }, true},
         {QStringLiteral("Measured"), false, false,
          [](R r) {
              return r.value(QStringLiteral("OnSlope")).toInt() != 0 ? QStringLiteral("slope")
                                                                     : QStringLiteral("plan");
          }},
         {QStringLiteral("Plan area"), false, false,
          [](R r) { return sqft(planTotal(areaOf(r), quickOf(r))); }, true},
         {QStringLiteral("Roof surface"), false, false,
          [](R r) { return sqft(r.value(QStringLiteral("Total")).toLongLong()); }, true},
         {QStringLiteral("Width2")},
         {QStringLiteral("Quick")}});
}

QString linealLength(std::int32_t type, std::int64_t length) {
    if (type == RoofMath::Percent)
        return QStringLiteral("%1 %").arg(Quantity::fromRaw(length).toText());
    return QStringLiteral("%1 lf").arg(Quantity::fromRaw(length).toText());
}

void showLineals(AppContext& ctx, QueryModel& model) {
    using R = const QSqlRecord&;
    model.show(
        ctx.TempDBConn,
        QStringLiteral("select ID,linealid,type,name,length,total from templineal "
                       "order by ID"),
        {},
        {{QStringLiteral("ID")},
         {QStringLiteral("LinID")},
         {QStringLiteral("Type"), false, false,
          [](R r) { return RoofMath::linealName(r.value(QStringLiteral("type")).toInt()); }},
         {QStringLiteral("Name")},
         {QStringLiteral("Length"), false, false,
          [](R r) {
              return linealLength(r.value(QStringLiteral("type")).toInt(),
                                  r.value(QStringLiteral("length")).toLongLong());
          },
          true},
         {QStringLiteral("Total"), false, false,
          [](R r) { return QLocale().toString(r.value(QStringLiteral("total")).toLongLong()); },
          true}});
}

namespace {

const QString kAreaColumns =
    QStringLiteral("ID,AreaID,Shape,Pitch,Width1,Width2,Height,Total,OnSlope,Quick");
const QString kRoofColumns = QStringLiteral("ID,Waste");
const QString kLinealColumns = QStringLiteral("ID,LinealID,Type,Name,Length,Total");

QList<QVariantList> rows(QSqlDatabase db, const QString& table, const QString& columns) {
    QSqlQuery q =
        modData::exec(db, QStringLiteral("select %1 from %2 order by ID").arg(columns, table));
    QList<QVariantList> out;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
        out << row;
    }
    return out;
}

void putBack(QSqlDatabase db, const QString& table, const QString& columns,
             const QList<QVariantList>& rows) {
    modData::exec(db, QStringLiteral("delete from %1").arg(table));
    const QString marks = QStringList(columns.count(u',') + 1, QStringLiteral("?")).join(u',');
    for (const QVariantList& row : rows)
        modData::exec(
            db, QStringLiteral("insert into %1(%2) values(%3)").arg(table, columns, marks), row);
}

} // namespace

Snapshot snapshot(AppContext& ctx) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    Snapshot s;
    s.areas = rows(db, QStringLiteral("TempAreas"), kAreaColumns);
    s.lineals = rows(db, QStringLiteral("TempLineal"), kLinealColumns);
    s.roof = rows(db, QStringLiteral("TempRoof"), kRoofColumns);
    for (const PendingDeletes::Entry& e : PendingDeletes::all(db))
        if (e.table == kAreas || e.table == kLineal)
            s.pending << e;
    return s;
}

void restore(AppContext& ctx, const Snapshot& s) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    modData::Transaction t(db);
    putBack(db, QStringLiteral("TempAreas"), kAreaColumns, s.areas);
    putBack(db, QStringLiteral("TempLineal"), kLinealColumns, s.lineals);
    putBack(db, QStringLiteral("TempRoof"), kRoofColumns, s.roof);
    for (const PendingDeletes::Entry& e : PendingDeletes::all(db))
        if (e.table == kAreas || e.table == kLineal)
            PendingDeletes::unmark(db, e.table, e.storedId);
    for (const PendingDeletes::Entry& e : s.pending)
        PendingDeletes::mark(db, e.table, e.storedId);
    t.commit();
}

Change::Change(AppContext& ctx, const QString& text, const QString& procedure,
               std::function<void()> change, Refresh refresh)
    : WorkCommand(*ctx.prompt, text, procedure, Guard::form("frmCorvanel"), std::move(refresh)),
      ctx_(ctx), change_(std::move(change)) {}

void Change::apply() {
    if (made_) {
        restore(ctx_, after_);
        return;
    }
    before_ = snapshot(ctx_);
    {
        QSqlDatabase db = modData::db(ctx_, ctx_.TempDBConn);
        modData::Transaction t(db);
        change_();
        t.commit();
    }
    after_ = snapshot(ctx_);
    made_ = true;
}

void Change::revert() {
    restore(ctx_, before_);
}

} // namespace Takeoff
