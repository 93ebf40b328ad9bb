// Saving and opening a large estimate: 2,000 line items in 40 sections, 200 areas and 100
// lineal items. Prints the median of several runs in milliseconds.
#include "TestContext.h"
#include "UiTest.h"

#include "app/frmCorvanel.h"
#include "estimates/forms/frmOpenEst.h"
#include "estimates/modEst.h"
#include "estimates/modSaveEst.h"
#include "pricing/forms/LineItemsTab.h"
#include "storage/Connections.h"
#include "storage/Schema.h"
#include "storage/modData.h"
#include "storage/modTempDB.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void fillWorking(AppContext& ctx) {
    QSqlDatabase db = modData::db(ctx, ctx.TempDBConn);
    modData::Transaction t(db);
    for (int s = 0; s < 40; ++s)
        modData::exec(db, "insert into TempSect(SecDesc,SecOrder) values(?,?)",
                      {QStringLiteral("Section %1").arg(s), s});
    QSqlQuery line(db);
    line.prepare("insert into tpLineItems(ItemID,Sect,SecOrder,Name,ItemTable,Qty,Unit,Cost,"
                 "LineTotal) values(?,?,?,?,'Material',?,'sq',?,?)");
    for (int i = 0; i < 2000; ++i) {
        line.addBindValue(i % 97 + 1);
        line.addBindValue(QStringLiteral("Section %1").arg(i % 40));
        line.addBindValue(i % 40);
        line.addBindValue(QStringLiteral("Line item %1 o'clock").arg(i));
        line.addBindValue(i % 12 + 1);
        line.addBindValue(qlonglong(455000));
        line.addBindValue(qlonglong(455000) * (i % 12 + 1));
        line.exec();
    }
    for (int i = 0; i < 200; ++i)
        modData::exec(db,
                      "insert into TempAreas(Shape,Pitch,Width1,Width2,Height,Total) "
                      "values(?,0,?,?,?,?)",
                      {i % 3, 10 + i, i % 3 == 2 ? 20 : 0, 12, 120 + i});
    for (int i = 0; i < 100; ++i)
        modData::exec(db, "insert into TempLineal(Type,Name,Length,Total) values(?,?,?,?)",
                      {i % 4 + 1, QStringLiteral("Run %1").arg(i), 40 + i, 42 + i});
    t.commit();
}

// The baseline: the same rows copied from the working tables into an empty file of the
// estimate's layout with SQLite alone, one prepared insert per row, in one transaction.
double plainCopy(AppContext& ctx, const QString& path) {
    QElapsedTimer t;
    t.start();
    {
        QSqlDatabase out = QSqlDatabase::addDatabase("QSQLITE", "baseline");
        out.setDatabaseName(path);
        out.open();
        QSqlQuery(out).exec("PRAGMA synchronous=FULL");
        for (const QString& table : Schema::estimateTables())
            Schema::createTable(out, table);
        QSqlDatabase in = modData::db(ctx, ctx.TempDBConn);
        out.transaction();
        const struct {
            const char* select;
            const char* insert;
            int columns;
        } copies[] = {
            {"select Shape,Pitch,Width1,Width2,Height,Total from TempAreas",
             "insert into Areas(Shape,Pitch,Width1,Width2,Height,Total) values(?,?,?,?,?,?)", 6},
            {"select Type,Name,Length,Total from TempLineal",
             "insert into Lineal(Type,Name,Length,Total) values(?,?,?,?)", 4},
            {"select ItemTable,ItemID,Sect,SecOrder,Qty,Unit,Name,Cost,LineTotal from tpLineItems",
             "insert into LineItems(ItemTable,ItemID,Sect,SecOrder,Qty,Unit,Name,Cost,LineTotal) "
             "values(?,?,?,?,?,?,?,?,?)",
             9},
        };
        for (const auto& c : copies) {
            QSqlQuery from(in);
            from.setForwardOnly(true);
            from.exec(c.select);
            QSqlQuery to(out);
            to.prepare(c.insert);
            while (from.next()) {
                for (int i = 0; i < c.columns; ++i)
                    to.bindValue(i, from.value(i));
                to.exec();
            }
        }
        out.commit();
        out.close();
    }
    QSqlDatabase::removeDatabase("baseline");
    return t.nsecsElapsed() / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = 7;
    std::vector<double> baseline, firstSave, resave, open;
    for (int r = 0; r < runs; ++r) {
        TestContext tc;
        AppContext& ctx = tc.ctx;
        modTempDB::CreateTempDB(ctx);
        ctx.EstID = modEst::CreateEstID(ctx);
        modEst::OwnerFields owner;
        owner.name = {"Mary", "Smith", "12 Elm St", "Anytown", "555-1234", "", ""};
        owner.estType = "Reroof";
        modEst::startEstimate(ctx, QStringLiteral("Bench%1").arg(r), owner);
        fillWorking(ctx);
        modSaveEst::SaveInput in;
        in.admin = {"%-15", "%-10", "Fixed-100", "%-2"};
        in.complete = true;

        baseline.push_back(plainCopy(ctx, tc.root() + QStringLiteral("/baseline.db")));

        QElapsedTimer t;
        t.start();
        modSaveEst::saveEstimate(ctx, in);
        firstSave.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        modSaveEst::saveEstimate(ctx, in);
        resave.push_back(t.nsecsElapsed() / 1e6);

        const int id = ctx.EstID;
        ctx.connections->closeAll();
        frmCorvanel w(ctx);
        double opened = 0;
        UiTest::whenModal([&](QWidget* dlg) {
            auto* d = qobject_cast<frmOpenEst*>(dlg);
            for (int i = 0; i < d->lstEstList[1]->count(); ++i)
                if (d->lstEstList[1]->item(i)->data(Qt::UserRole).toInt() == id)
                    d->lstEstList[1]->setCurrentRow(i);
            t.restart(); // from the double-click on
            d->lstEstList_DblClick(1);
        });
        w.mnuEstOpen->trigger();
        opened = t.nsecsElapsed() / 1e6;
        if (w.lines->gridRowCount() < 2000) {
            std::fprintf(stderr, "open did not fill the grid (%d rows)\n", w.lines->gridRowCount());
            return 1;
        }
        open.push_back(opened);
    }
    std::printf("plain copy of the same rows with SQLite, one transaction: median %.1f ms\n",
                median(baseline));
    std::printf("save (2,000 lines, 200 areas, 100 lineal; all inserted): median %.1f ms "
                "(%.1f times the plain copy)\n",
                median(firstSave), median(firstSave) / median(baseline));
    std::printf("save again (all updated in place):                    median %.1f ms\n",
                median(resave));
    std::printf("open (into the working tables, grid and totals):      median %.1f ms\n",
                median(open));
    std::printf("goal: each under 150 ms; the first save within 3 times the plain copy\n");
    return 0;
}
