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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = 7;
    std::vector<double> firstSave, resave, open;
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
    std::printf("save (2,000 lines, 200 areas, 100 lineal; all inserted): median %.1f ms\n",
                median(firstSave));
    std::printf("save again (all updated in place):                    median %.1f ms\n",
                median(resave));
    std::printf("open (into the working tables, grid and totals):      median %.1f ms\n",
                median(open));
    std::printf("goal: each under 150 ms\n");
    return 0;
}
