// Finding things in large data: the catalogue browser and the item picker on 100,000 items
// (opening them, and a search per keystroke), and the Open window on 5,000 estimates. Prints
// the median of several runs in milliseconds. The first open after start-up is timed both
// without and with the catalogue read in the background at start (CatalogueList::preload).
#include "BenchTimer.h"
#include "TestContext.h"

#include "catalogue/CatalogueList.h"
#include "catalogue/forms/frmUnitItem.h"
#include "estimates/forms/frmOpenEst.h"
#include "pricing/forms/frmPickItem.h"
#include "storage/Connections.h"
#include "storage/modData.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const char* const kWords[] = {"Architectural", "shingles",  "Ridge",   "vent",    "Drip",
                              "edge",          "Synthetic", "felt",    "Ice",     "water",
                              "shield",        "Pipe",      "boot",    "Step",    "flashing",
                              "Coil",          "nails",     "Sealant", "Starter", "strip"};
const char* const kColours[] = {"weathered wood", "charcoal", "slate grey", "café brown",
                                "désert tan",     "white",    "black",      "forest green"};

void fillCatalogue(AppContext& ctx, int items) {
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    modData::Transaction t(db);
    const char* types[] = {"Material", "Material", "Material", "Labor", "SubCon", "Equip", "Fee"};
    QSqlQuery ins(db);
    ins.prepare("insert into costitem(costtype,cat,costname,manufacturer,sku,unit,descrip,amount)"
                " values(?,?,?,?,?,?,?,?)");
    for (int i = 0; i < items; ++i) {
        const QString name =
            QStringLiteral("%1 %2 %3")
                .arg(QLatin1String(kWords[i % 20]), QLatin1String(kWords[(i / 20) % 20]))
                .arg(i);
        ins.addBindValue(QString::fromLatin1(types[i % 7]));
        ins.addBindValue(QStringLiteral("Cat %1").arg(i % 40));
        ins.addBindValue(name);
        ins.addBindValue(QStringLiteral("Maker %1").arg(i % 50));
        ins.addBindValue(QStringLiteral("SKU-%1").arg(i, 6, 10, QLatin1Char('0')));
        ins.addBindValue(QStringLiteral("ea"));
        ins.addBindValue(QStringLiteral("%1, %2 per bundle")
                             .arg(QString::fromUtf8(kColours[i % 8]))
                             .arg(i % 30 + 1));
        ins.addBindValue(qlonglong(10000 + i));
        ins.exec();
    }
    QSqlQuery unit(db), comp(db);
    unit.prepare("insert into costunit(mlname,mlcat,mlunit,mldesc) values(?,?,'sq','')");
    comp.prepare("insert into unititems(matlaborid,itemid,itemqty) values(?,?,?)");
    for (int i = 0; i < 2000; ++i) {
        unit.addBindValue(QStringLiteral("Unit %1").arg(i));
        unit.addBindValue(QStringLiteral("UCat %1").arg(i % 20));
        unit.exec();
        const qlonglong id = unit.lastInsertId().toLongLong();
        for (int k = 0; k < 5; ++k) {
            comp.addBindValue(id);
            comp.addBindValue(qlonglong(1 + (i * 7 + k * 13) % items));
            comp.addBindValue(1.5);
            comp.exec();
        }
    }
    t.commit();
}

void fillEstimates(AppContext& ctx, int count) {
    QSqlDatabase db = modData::db(ctx, ctx.MastEstConn);
    modData::Transaction t(db);
    const char* status[] = {"Working", "Pending", "Accepted", "Rejected"};
    const char* owners[] = {"Zoë O'Brien", "John Smith", "Anna Müller", "Thị Nguyễn", "Al Bee"};
    QSqlQuery ins(db);
    ins.prepare("insert into master(estname,esttype,estaddress,estpath,eststatus,estdate,"
                "estlength,estowner,esttotal,estused) values(?,?,?,?,?,?,?,?,?,?)");
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("Estimate%1").arg(i);
        ins.addBindValue(name);
        ins.addBindValue(QStringLiteral("Reroof"));
        ins.addBindValue(QStringLiteral("%1 Elm St").arg(i));
        ins.addBindValue(name + "/" + name + ".db");
        ins.addBindValue(QString::fromLatin1(status[i % 4]));
        ins.addBindValue(QDate(2026, 1, 1).addDays(i % 365).toString(Qt::ISODate));
        ins.addBindValue(30);
        ins.addBindValue(QString::fromUtf8(owners[i % 5]));
        ins.addBindValue(qlonglong(1000000 + i * 137));
        ins.addBindValue(i);
        ins.exec();
    }
    t.commit();
}

// The median time of one keystroke while `typed` is typed letter by letter into `box`.
double perKeystroke(QLineEdit* box, const QString& typed) {
    std::vector<double> ms;
    for (int round = 0; round < 3; ++round) {
        box->clear();
        QApplication::processEvents();
        for (int k = 1; k <= typed.size(); ++k) {
            QElapsedTimer t;
            t.start();
            box->setText(typed.left(k));
            QApplication::processEvents();
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

double sinceMs(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

double middle(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// The first open of a window after start-up with the catalogue read in the background: the
// program's connection is opened again (no triggers yet, as at start), the preload started
// (its cost on the main thread timed), waited for as a user takes longer than that to reach the
// window (the background read timed), and then the window opened (timed).
void firstOpenPreloaded(AppContext& ctx, const char* what, const std::function<void()>& open) {
    std::vector<double> start, background, opened;
    for (int i = 0; i < 7; ++i) {
        ctx.catalogueCache.reset();
        ctx.connections->close(ctx.CostConn);
        modData::db(ctx, ctx.CostConn);
        QElapsedTimer t;
        t.start();
        CatalogueList::preload(ctx);
        start.push_back(sinceMs(t));
        while (CatalogueList::preloading(ctx))
            QThread::usleep(200);
        background.push_back(sinceMs(t));
        t.restart();
        open();
        opened.push_back(sinceMs(t));
    }
    std::printf("%s %8.2f ms (start on the main thread %.2f ms, background read %.2f ms)\n", what,
                middle(opened), middle(start), middle(background));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestContext tc;
    tc.createTempDB();
    const int items = 100000;
    fillCatalogue(tc.ctx, items);
    fillEstimates(tc.ctx, 5000);
    std::printf("catalogue: %d cost items, 2000 unit items; 5000 estimates\n", items);

    // A write to the catalogue makes the windows read again what it changed.
    auto touch = [&] {
        modData::exec(tc.ctx, tc.ctx.CostConn, "update costitem set amount=amount where ID=1");
    };
    // The first open after start-up: without a preload it reads the whole catalogue.
    std::printf("picker open, first time after start (no preload):  %8.2f ms\n", median([&] {
                    tc.ctx.catalogueCache.reset();
                    frmPickItem p(tc.ctx, false, 0);
                }));
    std::printf("browser open, first time after start (no preload): %8.2f ms\n", median([&] {
                    tc.ctx.catalogueCache.reset();
                    frmUnitItem b(tc.ctx);
                }));
    firstOpenPreloaded(tc.ctx, "picker open, first time after start (preloaded): ", [&] {
        frmPickItem p(tc.ctx, false, 0);
    });
    firstOpenPreloaded(tc.ctx, "browser open, first time after start (preloaded):", [&] {
        frmUnitItem b(tc.ctx);
    });
    std::printf("catalogue read whole:         %8.2f ms\n", median([&] {
                    tc.ctx.catalogueCache.reset();
                    CatalogueList::load(tc.ctx);
                }));
    std::printf("catalogue after a change:     %8.2f ms\n", median([&] {
                    touch();
                    CatalogueList::load(tc.ctx);
                }));
    std::printf("browser open after a change:  %8.2f ms\n", median([&] {
                    touch();
                    frmUnitItem b(tc.ctx);
                }));
    std::printf("picker open after a change:   %8.2f ms\n", median([&] {
                    touch();
                    frmPickItem p(tc.ctx, false, 0);
                }));
    std::printf("browser open:                 %8.2f ms\n", median([&] { frmUnitItem b(tc.ctx); }));
    std::printf("browser open and shown:       %8.2f ms\n", median([&] {
                    frmUnitItem b(tc.ctx);
                    b.show();
                    QApplication::processEvents();
                }));
    std::printf("picker open:                  %8.2f ms\n",
                median([&] { frmPickItem p(tc.ctx, false, 0); }));
    std::printf("picker open and shown:        %8.2f ms\n", median([&] {
                    frmPickItem p(tc.ctx, false, 0);
                    p.show();
                    QApplication::processEvents();
                }));
    {
        frmUnitItem b(tc.ctx);
        b.show();
        QApplication::processEvents();
        std::printf("browser search per keystroke: %8.2f ms (\"shingles ridge\")\n",
                    perKeystroke(b.txtSearch, QStringLiteral("shingles ridge")));
    }
    {
        frmPickItem p(tc.ctx, false, 0);
        p.show();
        QApplication::processEvents();
        std::printf("picker search per keystroke:  %8.2f ms (\"cafe 12345\")\n",
                    perKeystroke(p.txtSearch, QStringLiteral("cafe 12345")));
    }
    std::printf("open window, 5000 estimates:  %8.2f ms\n", median([&] {
                    frmOpenEst d(tc.ctx);
                    d.show();
                    QApplication::processEvents();
                }));
    {
        frmOpenEst d(tc.ctx);
        d.show();
        QApplication::processEvents();
        std::printf("open search per keystroke:    %8.2f ms (\"zoe elm\")\n",
                    perKeystroke(d.txtSearch, QStringLiteral("zoe elm")));
    }
    return 0;
}
