// Opening the catalogue browser and the item picker on a large catalogue, and switching a
// category filter. Prints the median of several runs in milliseconds.
#include "BenchTimer.h"
#include "TestContext.h"

#include "catalogue/forms/frmUnitItem.h"
#include "pricing/forms/frmPickItem.h"
#include "storage/modData.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTabWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void fill(AppContext& ctx) {
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    modData::Transaction t(db);
    const char* types[] = {"Material", "Labor", "SubCon", "Equip", "Fee"};
    QSqlQuery ins(db);
    ins.prepare("insert into costitem(costtype,cat,costname,manufacturer,sku,unit,descrip,amount)"
                " values(?,?,?,?,?,?,?,?)");
    for (int i = 0; i < 20000; ++i) {
        ins.addBindValue(QString::fromLatin1(types[i % 5]));
        ins.addBindValue(QStringLiteral("Cat %1").arg(i % 40));
        ins.addBindValue(QStringLiteral("Item %1").arg(i));
        ins.addBindValue(QStringLiteral("Maker %1").arg(i % 50));
        ins.addBindValue(QStringLiteral("SKU-%1").arg(i));
        ins.addBindValue(QStringLiteral("ea"));
        ins.addBindValue(QStringLiteral("Description of item %1").arg(i));
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
            comp.addBindValue(qlonglong(1 + (i * 7 + k * 13) % 20000));
            comp.addBindValue(1.5);
            comp.exec();
        }
    }
    t.commit();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestContext tc;
    tc.createTempDB();
    fill(tc.ctx);
    std::printf("catalogue: 20000 cost items, 2000 unit items\n");
    std::printf("browser open:            %8.2f ms\n", median([&] { frmUnitItem b(tc.ctx); }));
    std::printf("picker open:             %8.2f ms\n",
                median([&] { frmPickItem p(tc.ctx, false, 0); }));
    std::printf("browser open and shown:  %8.2f ms\n", median([&] {
                    frmUnitItem b(tc.ctx);
                    b.show();
                    QApplication::processEvents();
                }));
    std::printf("picker open and shown:   %8.2f ms\n", median([&] {
                    frmPickItem p(tc.ctx, false, 0);
                    p.show();
                    QApplication::processEvents();
                }));
    frmUnitItem b(tc.ctx);
    int n = 0;
    std::printf("browser category filter: %8.2f ms\n", median([&] {
                    b.cmbCategory->setCurrentIndex(1 + (n++ % 10));
                    b.FilterGrid();
                }));
    std::printf("browser tab switch:      %8.2f ms\n",
                median([&] { b.SSTab1->setCurrentIndex(n++ % 6); }));
    frmPickItem p(tc.ctx, false, 0);
    std::printf("picker category filter:  %8.2f ms\n", median([&] {
                    p.cmbCategory->setCurrentIndex(1 + (n++ % 10));
                    p.FilterGrid();
                }));
    return 0;
}
