#include "estimates/modEst.h"

#include "common/AppContext.h"
#include "estimates/EstFacts.h"
#include "storage/Connections.h"
#include "storage/Schema.h"
#include "storage/modData.h"
#include "storage/modTempDB.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace modEst {

bool IsAlpha(QChar ch) {
    const char16_t c = ch.unicode();
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u' ';
}

int firstNonAlpha(const QString& text) {
    for (int i = 0; i < text.size(); ++i)
        if (!IsAlpha(text.at(i)))
            return i;
    return -1;
}

QString estNameFromTyped(const QString& typed) {
    QString s = typed;
    s.remove(QLatin1Char(' '));
    return s;
}

QString estNameFromBuilt(const QString& built, std::int32_t estID) {
    QString s;
    for (QChar ch : built)
        if (IsAlpha(ch) && ch != QLatin1Char(' '))
            s.append(ch);
    s.truncate(Schema::Len::EstName);
    if (s.isEmpty())
        s = QStringLiteral("Estimate%1").arg(estID);
    return s;
}

QString estPath(const QString& name) {
    return name + QLatin1Char('/') + name + QStringLiteral(".db");
}

std::int32_t CreateEstID(AppContext& ctx) {
    // The id comes from the insert itself: another program reserving a row at the same moment
    // can never hand this one its id.
    const QSqlQuery q = modData::exec(
        ctx, ctx.MastEstConn,
        QStringLiteral("insert into master(eststatus,estlength,estdate) values(?,?,?)"),
        {QStringLiteral("Working"), 30, QDate::currentDate().toString(Qt::ISODate)});
    return std::int32_t(modData::insertedId(q));
}

QStringList estimateTypes(AppContext& ctx) {
    QSqlQuery q = modData::exec(
        ctx, ctx.MastEstConn,
        QStringLiteral("Select distinct esttype from master where esttype is not null and "
                       "esttype <> '' order by esttype"));
    QStringList types;
    while (q.next())
        types.append(q.value(0).toString());
    return types;
}

bool nameInUse(AppContext& ctx, const QString& name, std::int32_t exceptID) {
    const QVariant rows =
        modData::scalar(ctx, ctx.MastEstConn,
                        QStringLiteral("select count(*) from master where estname = ? and id <> ?"),
                        {name, exceptID});
    if (rows.toInt() > 0)
        return true;
    const QStringList folders =
        QDir(ctx.estimatesDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& f : folders)
        if (f.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void startEstimate(AppContext& ctx, const QString& name, const OwnerFields& owner) {
    const QString folder = ctx.estimatesDir() + QLatin1Char('/') + name;
    const QString path = estPath(name);
    const bool madeFolder = !QFileInfo(folder).isDir();
    try {
        if (madeFolder && !QDir().mkpath(folder))
            throw modData::SqlError::message(QStringLiteral("The folder %1 could not be created")
                                                 .arg(QDir::toNativeSeparators(folder)));
        modTempDB::CreateEstDB(ctx, name);
        const QString conn = ctx.estimateDbPath(path);
        // Optional fields may stay empty; required ones were checked by the caller.
        QVariantList row;
        for (const QString& v : owner.name)
            row.append(v);
        modData::exec(ctx, conn,
                      QStringLiteral("insert into main(fname,lname,address,citystzip,homeph,workph,"
                                     "ext) values(?,?,?,?,?,?,?)"),
                      row);
        modData::exec(ctx, ctx.MastEstConn,
                      QStringLiteral("update master set estname=?,estaddress=?,estpath=?,"
                                     "esttype=?,estowner=? where id=?"),
                      {name, owner.name[2], path, owner.estType,
                       EstFacts::ownerName(owner.name[0], owner.name[1]), ctx.EstID});
        EstFacts::markUsed(ctx, ctx.EstID);
        ctx.EstName = name;
        ctx.EstPath = path;
        ctx.EstConn = conn;
    } catch (...) {
        ctx.connections->close(ctx.estimateDbPath(path));
        if (madeFolder)
            QDir(folder).removeRecursively();
        throw;
    }
}

bool removeEstimateFolder(AppContext& ctx, const QString& name) {
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String("..") ||
        name == QLatin1String("."))
        return true;
    const QString folder = ctx.estimatesDir() + QLatin1Char('/') + name;
    if (!QFileInfo(folder).isDir())
        return true;
    // Its database must not be held open while the folder goes.
    ctx.connections->close(ctx.estimateDbPath(estPath(name)));
    return QDir(folder).removeRecursively();
}

bool releaseEstID(AppContext& ctx, std::int32_t estID) {
    return modData::ActionQuery(ctx, QStringLiteral("DELETE from master where id=?"), {estID},
                                ctx.MastEstConn);
}

} // namespace modEst
