#include "estimates/WorkState.h"

#include "common/AppContext.h"
#include "storage/Connections.h"
#include "storage/modData.h"

#include <QFileInfo>
#include <QSqlQuery>

namespace WorkState {
namespace {

QString modeName(Mode m) {
    return m == Mode::New ? QStringLiteral("new") : QStringLiteral("open");
}

} // namespace

void record(AppContext& ctx, const State& s) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    modData::Transaction t(db);
    modData::exec(db, QStringLiteral("delete from WorkState"));
    modData::exec(db,
                  QStringLiteral("insert into WorkState(EstID,Mode,Changed,Overhead,Profit,"
                                 "Contingency,Management,Summary,Terms) values(?,?,?,?,?,?,?,?,?)"),
                  {s.estId, modeName(s.mode), s.changed ? 1 : 0, s.admin.value(0), s.admin.value(1),
                   s.admin.value(2), s.admin.value(3), s.summary, s.terms});
    t.commit();
}

std::optional<Unsaved> unsaved(AppContext& ctx) {
    if (!QFileInfo(ctx.TempDBConn).isFile())
        return std::nullopt;
    try {
        QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
        if (modData::scalar(db, QStringLiteral("select count(*) from sqlite_master where "
                                               "type='table' and name='WorkState'"))
                .toInt() == 0)
            return std::nullopt;
        Unsaved u;
        {
            QSqlQuery q = modData::exec(
                db, QStringLiteral("select EstID,Mode,Overhead,Profit,Contingency,Management,"
                                   "Summary,Terms from WorkState where Changed=1 and EstID>0 "
                                   "order by autoID desc limit 1"));
            if (!q.next())
                return std::nullopt;
            u.state.estId = q.value(0).toInt();
            u.state.mode = q.value(1).toString() == QLatin1String("new") ? Mode::New : Mode::Open;
            u.state.changed = true;
            for (int i = 2; i < 6; ++i)
                u.state.admin << q.value(i).toString();
            u.state.summary = q.value(6).toString();
            u.state.terms = q.value(7).toString();
        }
        QSqlQuery m = modData::exec(ctx, ctx.MastEstConn,
                                    QStringLiteral("select estname,estpath from master where id=?"),
                                    {u.state.estId});
        if (!m.next() || m.value(1).toString().isEmpty() ||
            !QFileInfo(ctx.estimateDbPath(m.value(1).toString())).isFile())
            return std::nullopt;
        u.estName = m.value(0).toString();
        return u;
    } catch (const modData::SqlError&) {
        return std::nullopt;
    }
}

} // namespace WorkState
