#include "pricing/Sections.h"

#include "common/AppContext.h"
#include "storage/modData.h"
#include "storage/modTempDB.h"

#include <QSqlQuery>

namespace Sections {

QList<Section> List(AppContext& ctx) {
    QSqlQuery q = modData::exec(ctx, ctx.TempDBConn,
                                QStringLiteral("select secdesc,secorder from tempsect order by "
                                               "secorder,autoid"));
    QList<Section> out;
    while (q.next())
        out.append({q.value(0).toString(), std::int32_t(q.value(1).toLongLong())});
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
    const auto n = std::int32_t(
        modData::scalar(db, QStringLiteral("select count(autoid) from tempsect")).toLongLong());
    modData::exec(db, QStringLiteral("insert into tempsect(secdesc,secorder)values(?,?)"),
                  {name, n});
    t.commit();
    return n;
}

} // namespace Sections

namespace SectionOrder {

void Begin(AppContext& ctx) {
    modTempDB::DropTempTable(ctx, QStringLiteral("sectsort"));
    modTempDB::CreateSectSort(ctx);
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    modData::Transaction t(db);
    QSqlQuery q = modData::exec(db, QStringLiteral("select sect,secorder from tplineitems group "
                                                   "by sect,secorder order by secorder asc"));
    int pos = 0;
    while (q.next())
        modData::exec(db,
                      QStringLiteral("insert into sectsort(estid,sectname,secorder)values(?,?,?)"),
                      {ctx.EstID, q.value(0), pos++});
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

void Commit(AppContext& ctx) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    {
        modData::Transaction t(db);
        QSqlQuery q = modData::exec(db, QStringLiteral("select sectname,secorder from sectsort"));
        while (q.next()) {
            modData::exec(db, QStringLiteral("UPDATE tplineitems set secorder=? where sect=?"),
                          {q.value(1), q.value(0)});
            modData::exec(db, QStringLiteral("UPDATE tempsect set secorder=? where secdesc=?"),
                          {q.value(1), q.value(0)});
        }
        t.commit();
    }
    modTempDB::DropTempTable(ctx, QStringLiteral("sectsort"));
}

void Cancel(AppContext& ctx) {
    modTempDB::DropTempTable(ctx, QStringLiteral("sectsort"));
}

} // namespace SectionOrder
