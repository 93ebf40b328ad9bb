#include "estimates/modManage.h"

#include "common/AppContext.h"
#include "common/TextSearch.h"
#include "estimates/EstFacts.h"
#include "estimates/modEst.h"
#include "storage/modData.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlQuery>

namespace modManage {
namespace {

QString column(const QString& part, int width) {
    return part.leftJustified(width, QLatin1Char(' '), true);
}

// The folder of an estimate: estpath up to its first separator.
QString folderOf(const QString& estpath) {
    const int at = estpath.indexOf(QRegularExpression(QStringLiteral("[/\\\\]")));
    return at < 0 ? estpath : estpath.left(at);
}

} // namespace

QStringList filterWords() {
    return {QStringLiteral("Working"), QStringLiteral("Pending"), QStringLiteral("Accepted"),
            QStringLiteral("Rejected"), QStringLiteral("All")};
}

QString BuildListItem(const QString& mode, const QString& joined) {
    if (mode == QLatin1String("All")) {
        // Names hold no "#"; the status is after the last one.
        const int first = joined.indexOf(QLatin1Char('#'));
        const int last = joined.lastIndexOf(QLatin1Char('#'));
        const QString name = first < 0 ? joined : joined.left(first);
        const QString date =
            first < 0 || last <= first ? QString() : joined.mid(first + 1, last - first - 1);
        const QString status = last <= first ? QString() : joined.mid(last + 1);
        return column(name, 21) + QLatin1Char(' ') + column(date, 10) + QLatin1Char(' ') +
               status.left(8);
    }
    const int at = joined.indexOf(QLatin1Char('*'));
    const QString name = at < 0 ? joined : joined.left(at);
    const QString date = at < 0 ? QString() : joined.mid(at + 1);
    return column(name, 29) + QLatin1Char(' ') + column(date, 10);
}

QString showDate(const QDate& d) {
    return d.isValid() ? QLocale().toString(d, QLocale::ShortFormat) : QString();
}

QDate parseDate(const QString& text) {
    const QString t = text.trimmed();
    const QString fmt = QLocale().dateFormat(QLocale::ShortFormat);
    QDate d = QLocale().toDate(t, fmt);
    if (d.isValid() && !fmt.contains(QLatin1String("yyyy")) && d.year() < 1950)
        d = d.addYears(100);
    if (!d.isValid()) {
        QString longYear = fmt;
        longYear.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        d = QLocale().toDate(t, longYear);
    }
    if (!d.isValid())
        d = QDate::fromString(t, Qt::ISODate);
    return d;
}

QList<EstList::Line> PopList(AppContext& ctx, const QString& filter, const QStringList& words) {
    QList<EstList::Line> lines;
    const bool all = filter == QLatin1String("All");
    QSqlQuery q = modData::exec(
        ctx, ctx.MastEstConn,
        QStringLiteral("select coalesce(estname,''),estdate,coalesce(eststatus,''),id,"
                       "coalesce(estowner,''),coalesce(estaddress,'') from master") +
            (all ? QStringLiteral(" order by id")
                 : QStringLiteral(" where eststatus=? order by id")),
        all ? QVariantList{} : QVariantList{filter});
    while (q.next()) {
        if (!words.isEmpty() &&
            !TextSearch::matchesAll(TextSearch::fold(q.value(0).toString() + QChar(0x1F) +
                                                     q.value(4).toString() + QChar(0x1F) +
                                                     q.value(5).toString()),
                                    words))
            continue;
        const QString date = showDate(QDate::fromString(q.value(1).toString(), Qt::ISODate));
        const QString text = all ? BuildListItem(QStringLiteral("All"),
                                                 q.value(0).toString() + QLatin1Char('#') + date +
                                                     QLatin1Char('#') + q.value(2).toString())
                                 : BuildListItem(QStringLiteral("x"),
                                                 q.value(0).toString() + QLatin1Char('*') + date);
        lines.append({text, q.value(3).toInt()});
    }
    if (lines.isEmpty())
        lines.append({QStringLiteral("None"), 0});
    return lines;
}

std::optional<Record> load(AppContext& ctx, std::int32_t id) {
    QSqlQuery q = modData::exec(
        ctx, ctx.MastEstConn,
        QStringLiteral("select estname,estaddress,estdate,esttype,eststatus,estlength from master "
                       "where id=?"),
        {id});
    if (!q.next())
        return std::nullopt;
    Record r;
    r.name = q.value(0).toString();
    r.address = q.value(1).toString();
    r.date = QDate::fromString(q.value(2).toString(), Qt::ISODate);
    r.type = q.value(3).toString();
    r.status = q.value(4).toString();
    r.length = q.value(5).toInt();
    return r;
}

bool update(AppContext& ctx, std::int32_t id, const Record& r) {
    return modData::ActionQuery(
        ctx,
        QStringLiteral(
            "UPDATE master set estdate=?, eststatus=?, estlength=?, esttype=? where ID=?"),
        {r.date.toString(Qt::ISODate), r.status, r.length, r.type, id}, ctx.MastEstConn);
}

DeleteResult remove(AppContext& ctx, std::int32_t id) {
    DeleteResult result;
    const QString estpath =
        modData::scalar(ctx, ctx.MastEstConn,
                        QStringLiteral("select estpath from master where id=?"), {id})
            .toString();
    result.rowDeleted = modData::ActionQuery(ctx, QStringLiteral("DELETE from master where id=?"),
                                             {id}, ctx.MastEstConn);
    if (!result.rowDeleted)
        return result;
    const QString folder = folderOf(estpath);
    if (folder.isEmpty())
        return result;
    const QString full = ctx.estimatesDir() + QLatin1Char('/') + folder;
    if (!QFileInfo(full).isDir() || !modEst::removeEstimateFolder(ctx, folder))
        result.folderLeft = full;
    return result;
}

Owner loadOwner(AppContext& ctx, std::int32_t id) {
    QSqlQuery m =
        modData::exec(ctx, ctx.MastEstConn,
                      QStringLiteral("select estpath,estname from master where id=?"), {id});
    if (!m.next())
        throw modData::SqlError::message(
            QStringLiteral("There is no estimate with the ID %1").arg(id));
    Owner o;
    o.estName = m.value(1).toString();
    const QString estpath = m.value(0).toString();
    ctx.EstConn = ctx.estimateDbPath(estpath);
    if (estpath.isEmpty() || !QFileInfo(ctx.EstConn).isFile())
        throw modData::SqlError::message(
            QStringLiteral("The database of estimate %1 is missing").arg(o.estName));
    QSqlQuery q = modData::exec(
        ctx, ctx.EstConn,
        QStringLiteral(
            "select fname,lname,address,citystzip,homeph,workph,ext from main where id=1"));
    if (!q.next())
        throw modData::SqlError::message(
            QStringLiteral("The owner row of this estimate is missing"));
    for (int i = 0; i < 7; ++i)
        o.name[i] = q.value(i).toString();
    return o;
}

void updateOwner(AppContext& ctx, std::int32_t id, const std::array<QString, 7>& name) {
    QVariantList v;
    for (const QString& s : name)
        v.append(s);
    modData::exec(ctx, ctx.EstConn,
                  QStringLiteral("update main set fname=?,lname=?,address=?,citystzip=?,homeph=?,"
                                 "workph=?,ext=? where id=1"),
                  v);
    modData::exec(ctx, ctx.MastEstConn,
                  QStringLiteral("update master set estaddress=?, estowner=? where id=?"),
                  {name[2], EstFacts::ownerName(name[0], name[1]), id});
}

} // namespace modManage
