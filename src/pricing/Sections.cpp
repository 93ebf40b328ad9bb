#include "pricing/Sections.h"

#include "common/AppContext.h"
#include "storage/modData.h"
#include "storage/modTempDB.h"

#include <QSet>
#include <QSqlQuery>

namespace Sections {

QList<Section> List(AppContext& ctx) {
    QSqlQuery q = modData::exec(ctx, ctx.TempDBConn,
                                QStringLiteral("select secdesc,secorder,autoid from tempsect order "
                                               "by secorder,autoid"));
    QList<Section> out;
    while (q.next())
        out.append({q.value(0).toString(), std::int32_t(q.value(1).toLongLong()),
                    q.value(2).toLongLong()});
    return out;
}

QStringList SharedNames(AppContext& ctx) {
    QSqlQuery q = modData::exec(ctx, ctx.MastEstConn,
                                QStringLiteral("select distinct sectionname from sectionname "
                                               "where sectionname is not null order by 1"));
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

void AddSharedName(AppContext& ctx, const QString& name) {
    modData::ActionQuery(ctx, QStringLiteral("insert into sectionname(sectionname)values(?)"),
                         {name}, ctx.MastEstConn);
}

std::int32_t Add(AppContext& ctx, const QString& name) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    modData::Transaction t(db);
    // After the last position in use, so that no two sections share one.
    const auto n = std::int32_t(
        modData::scalar(db, QStringLiteral("select coalesce(max(secorder) + 1, 0) from tempsect"))
            .toLongLong());
    modData::exec(db, QStringLiteral("insert into tempsect(secdesc,secorder)values(?,?)"),
                  {name, n});
    t.commit();
    return n;
}

QList<Section> withLines(QSqlDatabase working) {
    QSqlQuery q = modData::exec(
        working, QStringLiteral("select SecDesc, SecOrder, autoID from TempSect s where exists "
                                "(select 1 from tpLineItems l where l.SectID = s.autoID) order "
                                "by SecOrder, autoID"));
    QList<Section> out;
    while (q.next())
        out.append({q.value(0).toString(), std::int32_t(q.value(1).toLongLong()),
                    q.value(2).toLongLong()});
    return out;
}

void adoptLines(QSqlDatabase working) {
    const QString orphans = QStringLiteral(" where SectID not in (select autoID from TempSect)");
    const QString adopt =
        QStringLiteral("update tpLineItems set SectID = coalesce((select min(s.autoID) from "
                       "TempSect s where s.SecDesc = tpLineItems.Sect and s.SecOrder = "
                       "tpLineItems.SecOrder), (select min(s.autoID) from TempSect s where "
                       "s.SecDesc = tpLineItems.Sect), 0)") +
        orphans;
    if (modData::scalar(working, QStringLiteral("select count(*) from tpLineItems") + orphans)
            .toInt() == 0)
        return;
    modData::exec(working, adopt);
    modData::exec(working, QStringLiteral("insert into TempSect(SecDesc, SecOrder) select Sect, "
                                          "min(SecOrder) from tpLineItems where SectID = 0 group "
                                          "by Sect"));
    modData::exec(working, adopt);
}

} // namespace Sections

namespace SectionOrder {

void Begin(AppContext& ctx) {
    modTempDB::DropTempTable(ctx, QStringLiteral("sectsort"));
    modTempDB::CreateSectSort(ctx);
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    modData::Transaction t(db);
    Sections::adoptLines(db);
    // SectSort.autoID is the section's own identity.
    int pos = 0;
    for (const Sections::Section& s : Sections::withLines(db))
        modData::exec(
            db,
            QStringLiteral("insert into sectsort(autoid,estid,sectname,secorder)values(?,?,?,?)"),
            {s.id, ctx.EstID, s.name, pos++});
    t.commit();
}

QList<Entry> List(AppContext& ctx) {
    QSqlQuery q = modData::exec(ctx, ctx.TempDBConn,
                                QStringLiteral("select autoid,sectname from sectsort order by "
                                               "secorder"));
    QList<Entry> out;
    while (q.next())
        out.append({std::int32_t(q.value(0).toLongLong()), q.value(1).toString()});
    return out;
}

void Move(AppContext& ctx, std::int32_t autoID, int fromPos, int toPos) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    modData::Transaction t(db);
    const QVariant other = modData::scalar(
        db, QStringLiteral("select autoid from sectsort where secorder=?"), {toPos});
    if (other.isValid())
        modData::exec(db, QStringLiteral("UPDATE sectsort set secorder=? where autoid=?"),
                      {fromPos, other});
    modData::exec(db, QStringLiteral("UPDATE sectsort set secorder=? where autoID=?"),
                  {toPos, autoID});
    t.commit();
}

namespace {

void write(QSqlDatabase db, const Positions& p) {
    for (const auto& [id, order] : p) {
        modData::exec(db, QStringLiteral("UPDATE tempsect set secorder=? where autoid=?"),
                      {order, id});
        modData::exec(db, QStringLiteral("UPDATE tplineitems set secorder=? where sectid=?"),
                      {order, id});
    }
}

} // namespace

void Commit(AppContext& ctx) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    {
        modData::Transaction t(db);
        // The sections with lines in their new order take the positions those sections hold
        // now, in turn; a section without lines keeps its own. So an order committed unchanged
        // changes nothing, and no two sections ever share a position.
        QList<qint64> sorted;
        QSqlQuery q =
            modData::exec(db, QStringLiteral("select autoid from sectsort order by secorder"));
        while (q.next())
            sorted << q.value(0).toLongLong();
        QList<std::int32_t> slots;
        QSqlQuery held = modData::exec(
            db, QStringLiteral("select secorder from tempsect where autoid in (select autoid from "
                               "sectsort) order by secorder, autoid"));
        while (held.next())
            slots << std::int32_t(held.value(0).toLongLong());
        Positions p;
        const bool distinct = QSet<std::int32_t>(slots.begin(), slots.end()).size() == slots.size();
        if (distinct && slots.size() == sorted.size()) {
            for (qsizetype i = 0; i < sorted.size(); ++i)
                p.append({sorted[i], slots[i]});
        } else {
            // Positions two sections share (an estimate of an earlier version): every section
            // is numbered anew, those with lines first in their new order.
            for (qint64 id : sorted)
                p.append({id, std::int32_t(p.size())});
            QSqlQuery rest = modData::exec(
                db, QStringLiteral("select autoid from tempsect where autoid not in (select "
                                   "autoid from sectsort) order by secorder, autoid"));
            while (rest.next())
                p.append({rest.value(0).toLongLong(), std::int32_t(p.size())});
        }
        write(db, p);
        t.commit();
    }
    modTempDB::DropTempTable(ctx, QStringLiteral("sectsort"));
}

void Cancel(AppContext& ctx) {
    modTempDB::DropTempTable(ctx, QStringLiteral("sectsort"));
}

Positions positions(AppContext& ctx) {
    Positions p;
    for (const Sections::Section& s : Sections::List(ctx))
        p.append({s.id, s.secOrder});
    return p;
}

void restore(QSqlDatabase working, const Positions& p) {
    write(working, p);
}

} // namespace SectionOrder
