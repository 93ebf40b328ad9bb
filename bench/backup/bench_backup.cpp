// Backups of a busy contractor's data folder: 150 estimates of 150 lines, each with a kept
// document, and a catalogue of 3,000 items. Times the daily backup that the first start of a
// day makes (the wait it adds to that start), checking a backup, and a whole restore. Prints the
// median of several runs in milliseconds.
#include "BenchTimer.h"
#include "TestContext.h"

#include "storage/Backup.h"
#include "storage/Connections.h"
#include "storage/modData.h"
#include "storage/modTempDB.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

void fillCatalogue(AppContext& ctx, int items) {
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    modData::Transaction t(db);
    QSqlQuery ins(db);
    ins.prepare("insert into costitem(costtype,cat,costname,manufacturer,sku,unit,descrip,amount)"
                " values('Material',?,?,?,?,'ea',?,?)");
    for (int i = 0; i < items; ++i) {
        ins.addBindValue(QStringLiteral("Cat %1").arg(i % 40));
        ins.addBindValue(QStringLiteral("Architectural shingles %1").arg(i));
        ins.addBindValue(QStringLiteral("Maker %1").arg(i % 50));
        ins.addBindValue(QStringLiteral("SKU-%1").arg(i, 6, 10, QLatin1Char('0')));
        ins.addBindValue(QStringLiteral("weathered wood, %1 per bundle").arg(i % 30 + 1));
        ins.addBindValue(qlonglong(10000 + i));
        ins.exec();
    }
    t.commit();
}

void fillEstimates(AppContext& ctx, int count, int lines) {
    const QByteArray document = QByteArray("{\\rtf1 ") + QByteArray(50000, 'x') + "}";
    for (int e = 0; e < count; ++e) {
        const QString name = QStringLiteral("Estimate %1").arg(e);
        QDir().mkpath(ctx.estimatesDir() + "/" + name + "/documents");
        modTempDB::CreateEstDB(ctx, name);
        const QString path = ctx.estimateDbPath(name + "/" + name + ".db");
        QSqlDatabase db = modData::db(ctx, path);
        {
            modData::Transaction t(db);
            QSqlQuery ins(db);
            ins.prepare("insert into LineItems(ItemID,SecOrder,Sect,Name,ItemTable,Qty,Unit,Cost,"
                        "LineTotal) values(?,?,'Roof',?,'Material',?,'sq',?,?)");
            for (int l = 0; l < lines; ++l) {
                ins.addBindValue(l);
                ins.addBindValue(l);
                ins.addBindValue(QStringLiteral("Architectural shingles, line %1").arg(l));
                ins.addBindValue(qlonglong(l + 1) * 10000);
                ins.addBindValue(qlonglong(125000));
                ins.addBindValue(qlonglong(l + 1) * 125000);
                ins.exec();
            }
            t.commit();
        }
        ctx.connections->close(path);
        QFile doc(ctx.estimatesDir() + "/" + name + "/documents/Proposal.rtf");
        if (doc.open(QIODevice::WriteOnly))
            doc.write(document);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TestContext tc;
    AppContext& ctx = tc.ctx;
    fillCatalogue(ctx, 3000);
    fillEstimates(ctx, 150, 150);
    ctx.connections->closeAll();
    const QDate today = QDate::currentDate();
    QString written;
    const double daily = median(
        [&] {
            QFile::remove(Backup::folder(ctx) + "/Corvanel auto backup " +
                          today.toString(Qt::ISODate) + ".zip");
            written = Backup::makeDaily(ctx, today).written;
        },
        5);
    const double already = median([&] { Backup::makeDaily(ctx, today); });
    QString error;
    const double check = median([&] { Backup::verify(written, &error); }, 5);
    const double restore = median([&] { Backup::restore(ctx, written, &error); }, 3);
    std::printf("data folder: 150 estimates x 150 lines, 150 documents, 3000 catalogue items\n");
    std::printf("backup size: %.1f MB\n", double(QFileInfo(written).size()) / 1e6);
    std::printf("daily backup (first start of a day): %.1f ms\n", daily);
    std::printf("daily backup already made today:     %.2f ms\n", already);
    std::printf("check a backup:                      %.1f ms\n", check);
    std::printf("restore a backup:                    %.1f ms\n", restore);
    return error.isEmpty() ? 0 : 1;
}
