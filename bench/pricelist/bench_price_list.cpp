// Importing a supplier's price list of 100,000 rows (semicolons, decimal commas) into a
// catalogue that already holds 50,000 of its items: reading the file, the preview, the preview
// window, and writing it. Then the picker on the grown catalogue. Prints medians in ms.
#include "TestContext.h"

#include "catalogue/PriceList.h"
#include "catalogue/forms/frmImportPrices.h"
#include "pricing/forms/frmPickItem.h"
#include "storage/modData.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const char* const kWords[] = {"Architectural", "shingles",  "Ridge",   "vent",    "Drip",
                              "edge",          "Synthetic", "felt",    "Ice",     "water",
                              "shield",        "Pipe",      "boot",    "Step",    "flashing",
                              "Coil",          "nails",     "Sealant", "Starter", "strip"};

QString name(int i) {
    return QStringLiteral("%1 %2 %3")
        .arg(QLatin1String(kWords[i % 20]), QLatin1String(kWords[(i / 20) % 20]))
        .arg(i);
}

void fillCatalogue(AppContext& ctx, int items) {
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    modData::Transaction t(db);
    QSqlQuery ins(db);
    ins.prepare("insert into costitem(costtype,cat,costname,manufacturer,sku,unit,descrip,amount)"
                " values('Material',?,?,'Maker','SKU-'||?,'ea','',?)");
    for (int i = 0; i < items; ++i) {
        ins.addBindValue(QStringLiteral("Cat %1").arg(i % 40));
        ins.addBindValue(name(i));
        ins.addBindValue(i);
        ins.addBindValue(qlonglong(10000 + i * 100));
        ins.exec();
    }
    t.commit();
}

QByteArray supplierFile(int rows) {
    QByteArray out = "Art.-Nr.;Bezeichnung;Name;Einheit;Preis;Gruppe\r\n";
    for (int i = 0; i < rows; ++i) {
        // Every other existing item costs a little more; half the rows are new items.
        const qlonglong raw = 10000 + i * 100 + (i % 2 ? 500 : 0);
        out += QStringLiteral("SKU-%1;\"Quoted; text\";%2;ea;%3,%4;Cat %5\r\n")
                   .arg(i)
                   .arg(name(i))
                   .arg(raw / 10000)
                   .arg(raw % 10000 / 100, 2, 10, QLatin1Char('0'))
                   .arg(i % 40)
                   .toUtf8();
    }
    return out;
}

double ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = 100000;
    const QByteArray file = supplierFile(rows);
    std::vector<double> read, compare, window, apply, total;
    for (int run = 0; run < 3; ++run) {
        TestContext tc;
        fillCatalogue(tc.ctx, rows / 2);
        QElapsedTimer all, t;
        all.start();
        t.start();
        PriceList::Source s = PriceList::Read(file, nullptr);
        read.push_back(ms(t));
        PriceList::Layout l = s.layout;
        // What the user chooses in the mapping step for these German captions.
        l.column[PriceList::Sku] = 0;
        l.column[PriceList::Unit] = 3;
        l.column[PriceList::Price] = 4;
        l.column[PriceList::Category] = 5;
        l.decimal = PriceList::DetectDecimal(s.rows, 4);
        t.restart();
        const PriceList::Preview p = PriceList::Compare(tc.ctx, s, l);
        compare.push_back(ms(t));
        t.restart();
        {
            frmImportPrices f(tc.ctx, s);
            for (int field :
                 {PriceList::Sku, PriceList::Unit, PriceList::Price, PriceList::Category})
                f.cmbColumn[std::size_t(field)]->setCurrentIndex(l.column[std::size_t(field)] + 1);
            f.cmbDecimal->setCurrentIndex(1);
            f.show();
            f.cmdPreview_Click();
            QApplication::processEvents();
        }
        window.push_back(ms(t));
        t.restart();
        PriceList::Apply(tc.ctx, p);
        apply.push_back(ms(t));
        total.push_back(ms(all));
        if (run == 0)
            std::printf("%d rows: %zu new, %zu changed, %zu unchanged, %zu left out\n", rows,
                        p.added.size(), p.changed.size(), p.unchanged.size(), p.problems.size());
        if (run == 2) {
            tc.createTempDB();
            t.restart();
            frmPickItem pick(tc.ctx, false, 0);
            pick.show();
            QApplication::processEvents();
            std::printf(
                "picker open, %d items:        %8.2f ms\n",
                modData::scalar(tc.ctx, tc.ctx.CostConn, "select count(*) from costitem").toInt(),
                ms(t));
            t.restart();
            pick.txtSearch->setText(QStringLiteral("vent 99"));
            QApplication::processEvents();
            std::printf("picker two-word search:          %8.2f ms\n", ms(t));
        }
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("read and split the file:         %8.2f ms\n", median(read));
    std::printf("preview (compare):               %8.2f ms\n", median(compare));
    std::printf("preview window (compare + show): %8.2f ms\n", median(window));
    std::printf("write (one transaction):         %8.2f ms\n", median(apply));
    std::printf("whole import incl. both previews:%8.2f ms\n", median(total));
    return 0;
}
