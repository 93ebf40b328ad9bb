#include "TestContext.h"
#include "UiTest.h"

#include "catalogue/CatalogueList.h"
#include "catalogue/CostItems.h"
#include "catalogue/CsvText.h"
#include "catalogue/PriceList.h"
#include "catalogue/forms/frmImportPrices.h"
#include "catalogue/forms/frmUnitItem.h"
#include "common/forms/GridBinding.h"
#include "pricing/forms/frmPickItem.h"
#include "settings/SettingsStore.h"
#include "storage/modData.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>

using namespace PriceList;
using Rows = QList<QStringList>;
Q_DECLARE_METATYPE(Rows)

namespace {

qint64 amount(AppContext& ctx, const QString& sku) {
    return modData::scalar(ctx, ctx.CostConn, "select amount from costitem where sku=?", {sku})
        .toLongLong();
}

int items(AppContext& ctx) {
    return modData::scalar(ctx, ctx.CostConn, "select count(*) from costitem").toInt();
}

// The price of a unit item as the catalogue figures it.
qint64 unitPrice(AppContext& ctx, int id) {
    return modData::scalar(ctx, ctx.CostConn, "select sum(\"Line Total\") from UnitQry where ID=?",
                           {id})
        .toLongLong();
}

QString write(const TestContext& tc, const QByteArray& bytes) {
    const QString path = tc.root() + "/supplier.csv";
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

QStringList lines(const std::vector<Problem>& ps) {
    QStringList out;
    for (const Problem& p : ps)
        out << QStringLiteral("%1: %2").arg(p.line).arg(p.reason);
    return out;
}

// A supplier's price list in the semicolon form with decimal commas that spreadsheets in much
// of Europe write, with quoted fields holding the separator, quotes and a line break.
const char* const kSemicolonFile =
    "Art.-Nr.;Item name;UOM;Price;Group\r\n"
    "RL-AR30-WW;Architectural shingles, 30-year;bdl;40,25;Shingles\r\n"
    "FL-CN125;Coil roofing nails, 1-1/4 in;box;\"1.044,50\";Fasteners\r\n"
    "NF-SYN10;Synthetic underlayment;roll;145,00;Underlayment\r\n"
    "XX-1;\"Valley metal; \"\"W\"\" style\nlong\";pc;12,75;Metal\r\n"
    "XX-2;Snow guard;ea;3,10;Metal\r\n";

} // namespace

class tst_price_list : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }

    void readsQuotedFields_data();
    void readsQuotedFields();
    void detectsTheFile_data();
    void detectsTheFile();
    void readsPrices_data();
    void readsPrices();
    void exportRoundTripChangesNothing();
    void exportQuotesWhatNeedsIt();
    void semicolonFileWithDecimalCommas();
    void latin1File();
    void badRowsAreListedAndLeftOut();
    void importIsOneTransaction();
    void layoutIsRemembered();
    void importThroughTheWindows();
    void catalogueIsReadAgainAfterAChange();
};

void tst_price_list::readsQuotedFields_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<char>("separator");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QList<int>>("starts");
    QTest::newRow("quoted comma and quotes")
        << QByteArray("a,b\r\n\"Drip edge, 10 \"\"ft\"\"\",2\r\n") << ','
        << Rows{{"a", "b"}, {"Drip edge, 10 \"ft\"", "2"}} << QList<int>{1, 2};
    QTest::newRow("line break in a field keeps later line numbers")
        << QByteArray("a,b\n\"two\nlines\",1\n\nc,2\n") << ','
        << Rows{{"a", "b"}, {"two\nlines", "1"}, {"c", "2"}} << QList<int>{1, 2, 5};
    QTest::newRow("semicolons, no final line break")
        << QByteArray("x;y\n1,5;\"a;b\"") << ';' << Rows{{"x", "y"}, {"1,5", "a;b"}}
        << QList<int>{1, 2};
    QTest::newRow("tabs and empty fields")
        << QByteArray("x\ty\tz\n\t2\t\n") << '\t' << Rows{{"x", "y", "z"}, {"", "2", ""}}
        << QList<int>{1, 2};
    QTest::newRow("byte-order mark")
        << QByteArray("\xEF\xBB\xBFName\nZo\xC3\xAB\n") << ','
        << Rows{{"Name"}, {QString::fromUtf8("Zoë")}} << QList<int>{1, 2};
}

void tst_price_list::readsQuotedFields() {
    QFETCH(QByteArray, bytes);
    QFETCH(char, separator);
    QFETCH(Rows, rows);
    QFETCH(QList<int>, starts);
    QCOMPARE(CsvText::detectSeparator(bytes), separator);
    const CsvText::Table t = CsvText::read(bytes, separator, CsvText::Encoding::Utf8);
    QCOMPARE(t.error, QString());
    Rows got;
    QList<int> at;
    for (const CsvText::Row& r : t.rows) {
        got << r.fields;
        at << r.line;
    }
    QCOMPARE(got, rows);
    QCOMPARE(at, starts);
}

void tst_price_list::detectsTheFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QString>("decimal");
    QTest::newRow("UTF-8") << QByteArray("Name,Price\nC\xC3\xA8"
                                         "dre,\"1,234.50\"\n")
                           << int(CsvText::Encoding::Utf8) << QString::fromUtf8("Cèdre") << ".";
    QTest::newRow("Latin-1") << QByteArray("Name;Price\nC\xE8"
                                           "dre;12,50\n")
                             << int(CsvText::Encoding::Windows1252) << QString::fromUtf8("Cèdre")
                             << ",";
    QTest::newRow("Windows-1252 euro sign") << QByteArray("Name;Price\nPlate;\x80 3,10\n")
                                            << int(CsvText::Encoding::Windows1252) << "Plate"
                                            << ",";
}

void tst_price_list::detectsTheFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(QString, firstName);
    QFETCH(QString, decimal);
    const Source s = Read(bytes, nullptr);
    QCOMPARE(int(s.layout.encoding), encoding);
    QCOMPARE(s.header, (QStringList{"Name", "Price"}));
    QCOMPARE(s.rows.size(), std::size_t(1));
    QCOMPARE(s.rows[0].fields[0], firstName);
    QCOMPARE(QString(s.layout.decimal), decimal);
    QCOMPARE(s.layout.column[Name], 0);
    QCOMPARE(s.layout.column[Price], 1);
}

void tst_price_list::readsPrices_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<qint64>("raw"); // -1: not a price
    QTest::newRow("plain") << "12.5"
                           << "." << qint64(125000);
    QTest::newRow("grouped") << "1,234.50"
                             << "." << qint64(12345000);
    QTest::newRow("decimal comma, grouped") << "1.234,50"
                                            << "," << qint64(12345000);
    QTest::newRow("currency sign") << "$ 7.25"
                                   << "." << qint64(72500);
    QTest::newRow("euro, decimal comma") << QString::fromUtf8("7,25 €") << "," << qint64(72500);
    QTest::newRow("four decimals") << "0.1234"
                                   << "." << qint64(1234);
    QTest::newRow("letters") << "12,3x"
                             << "," << qint64(-1);
    QTest::newRow("empty") << ""
                           << "." << qint64(-1);
    QTest::newRow("two decimal marks") << "1.2.3"
                                       << "." << qint64(-1);
}

void tst_price_list::readsPrices() {
    QFETCH(QString, text);
    QFETCH(QString, decimal);
    QFETCH(qint64, raw);
    const std::optional<Money> m = ReadPrice(text, decimal[0]);
    QCOMPARE(m ? m->raw() : qint64(-1), raw);
}

void tst_price_list::exportRoundTripChangesNothing() {
    TestContext tc;
    const QString path = tc.root() + "/catalogue.csv";
    QCOMPARE(ExportFile(tc.ctx, path), QString());
    const Source s = Open(path, nullptr);
    QCOMPARE(s.header, ExportHeader());
    const Preview p = Compare(tc.ctx, s, s.layout);
    QCOMPARE(lines(p.problems), QStringList());
    QCOMPARE(p.added.size(), std::size_t(0));
    QCOMPARE(p.changed.size(), std::size_t(0));
    QCOMPARE(int(p.unchanged.size()), items(tc.ctx));
    const int unitRows = modData::scalar(tc.ctx, tc.ctx.CostConn,
                                         "select (select count(*) from costunit) + "
                                         "(select count(*) from unititems)")
                             .toInt();
    QCOMPARE(p.skipped, unitRows);
    QVERIFY(p.writesNothing());
}

void tst_price_list::exportQuotesWhatNeedsIt() {
    TestContext tc;
    CostItems::CostItem odd;
    odd.costtype = "Material";
    odd.cat = "Metal";
    odd.costname = QString::fromUtf8("Zoë's \"W\" valley, 10'");
    odd.descrip = "first line\nsecond; line";
    odd.sku = "V-1";
    odd.unit = "pc";
    odd.amount = Money::fromRaw(123456);
    QVERIFY(CostItems::Save(tc.ctx, odd) > 0);
    const QString csv = ExportCsv(tc.ctx);
    QVERIFY(csv.startsWith("Kind,ID,Cost type,Category,Name,"));
    QVERIFY(csv.contains(QString::fromUtf8("\"Zoë's \"\"W\"\" valley, 10'\"")));
    const CsvText::Table t = CsvText::read(csv.toUtf8(), ',', CsvText::Encoding::Utf8);
    bool found = false;
    for (const CsvText::Row& r : t.rows)
        if (r.fields.value(6) == "V-1") {
            found = true;
            QCOMPARE(r.fields[4], odd.costname);
            QCOMPARE(r.fields[8], odd.descrip);
            QCOMPARE(r.fields[9], QStringLiteral("12.3456"));
        }
    QVERIFY(found);
    // Hourly labor carries its rates, unit items their price and components.
    QVERIFY(csv.contains("Cost item,15,Labor,Hourly,Roofer,,,hr,Journeyman roofer,37.983,22,4.4,"
                         "9.9,1.683,0,,\r\n"));
    QVERIFY(csv.contains("Component,10,Material,Flashing,\"Pipe boot, 1-1/2 to 3 in\""));
}

void tst_price_list::semicolonFileWithDecimalCommas() {
    TestContext tc;
    const int before = items(tc.ctx);
    const qint64 unit1 = unitPrice(tc.ctx, 1);
    const Source s = Read(kSemicolonFile, nullptr);
    QCOMPARE(s.layout.separator, ';');
    QCOMPARE(s.layout.decimal, QChar(','));
    QCOMPARE(s.layout.column[Sku], -1); // "Art.-Nr." is mapped by the user
    Layout l = s.layout;
    l.column[Sku] = 0;
    QCOMPARE(l.column[Name], 1);
    QCOMPARE(l.column[Unit], 2);
    QCOMPARE(l.column[Category], 4);
    const Preview p = Compare(tc.ctx, s, l);
    QCOMPARE(lines(p.problems), QStringList());
    QCOMPARE(p.changed.size(), std::size_t(2));
    QCOMPARE(p.changed[0].name, QStringLiteral("Architectural shingles, 30-year"));
    QCOMPARE(p.changed[0].before.raw(), 383333);
    QCOMPARE(p.changed[0].after.raw(), 402500);
    QCOMPARE(qRound(*p.changed[0].percent() * 100), 500); // +5.00 %
    QCOMPARE(p.changed[1].after.raw(), 10445000);
    QCOMPARE(p.unchanged.size(), std::size_t(1));
    QCOMPARE(p.added.size(), std::size_t(2));
    QCOMPARE(p.added[0].line, 5);
    QCOMPARE(p.added[0].item.costname, QStringLiteral("Valley metal; \"W\" style\nlong"));
    QCOMPARE(p.added[1].line, 7);
    QCOMPARE(p.added[1].item.costtype, QStringLiteral("Material"));
    // Unit item 1 holds three bundles of shingles and a quarter box of nails.
    QCOMPARE(p.units.size(), std::size_t(1));
    QCOMPARE(p.units[0].id, 1);
    QCOMPARE(p.units[0].before.raw(), unit1);
    QCOMPARE(p.units[0].after.raw(), unit1 + 3 * (402500 - 383333) + (10445000 - 420000) / 4);
    // Nothing is written by the preview.
    QCOMPARE(items(tc.ctx), before);
    QCOMPARE(amount(tc.ctx, "RL-AR30-WW"), 383333);

    Apply(tc.ctx, p);
    QCOMPARE(items(tc.ctx), before + 2);
    QCOMPARE(amount(tc.ctx, "RL-AR30-WW"), 402500);
    QCOMPARE(amount(tc.ctx, "XX-2"), 31000);
    QCOMPARE(unitPrice(tc.ctx, 1), p.units[0].after.raw());
    // Read again, the same list changes nothing.
    QVERIFY(Compare(tc.ctx, s, l).writesNothing());
}

void tst_price_list::latin1File() {
    TestContext tc;
    const Source s = Read("SKU,Name,Unit,Price,Cost type\n"
                          "T-1,Tuile c\xE8"
                          "dre rouge,ea,2.40,Material\n"
                          "L-9,Man\x9Cuvre,hr,30,labor\n",
                          nullptr);
    QCOMPARE(s.layout.encoding, CsvText::Encoding::Windows1252);
    const Preview p = Compare(tc.ctx, s, s.layout);
    QCOMPARE(lines(p.problems), QStringList());
    QCOMPARE(p.added.size(), std::size_t(2));
    QCOMPARE(p.added[0].item.costname, QString::fromUtf8("Tuile cèdre rouge"));
    QCOMPARE(p.added[1].item.costname, QString::fromUtf8("Manœuvre"));
    QCOMPARE(p.added[1].item.costtype, QStringLiteral("Labor"));
    Apply(tc.ctx, p);
    // The accented name is found by the search without its accent.
    frmUnitItem b(tc.ctx);
    b.txtSearch->setText("tuile cedre");
    QCOMPARE(GridBinding::rowCount(b.dgCost[0]), 1);
}

void tst_price_list::badRowsAreListedAndLeftOut() {
    TestContext tc;
    const int before = items(tc.ctx);
    const Source s = Read("SKU,Name,Unit,Price,Cost type\n"
                          "N-1,Ridge cap vented,bdl,55.00,Material\n"
                          "N-2,,ea,1.00,Material\n"
                          "N-3,Pipe collar,ea,,Material\n"
                          "N-4,Roof jack,ea,-2,Material\n"
                          "N-5,Dumpster,load,300,Rental\n"
                          "N-6,Boot,ea,12.3x,Material\n"
                          "N-7,A name far longer than the fifty characters a name holds,ea,1,"
                          "Material\n"
                          "N-1,Ridge cap vented,bdl,56.00,Material\n"
                          "RL-HR,Hip and ridge,bdl,66.00,Material\n"
                          "X-15,Roofer,hr,40,Labor\n",
                          nullptr);
    const Preview p = Compare(tc.ctx, s, s.layout);
    QCOMPARE(
        lines(p.problems),
        (QStringList{"3: The row has no name.", "4: The row has no price.",
                     "5: The price -2 is below zero.",
                     "6: The cost type \"Rental\" is not one of Material, Labor, SubCon, "
                     "Equip or Fee.",
                     "7: The price \"12.3x\" is not a number.",
                     "8: The name is longer than 50 characters.", "9: The same item as line 2.",
                     "11: Hourly labor is priced from its rates; change \"Roofer\" in the "
                     "rate builder."}));
    QCOMPARE(p.added.size(), std::size_t(1));
    QCOMPARE(p.changed.size(), std::size_t(1)); // matched by SKU despite its other name
    QCOMPARE(p.changed[0].id, 8);
    QCOMPARE(items(tc.ctx), before);
    Apply(tc.ctx, p);
    QCOMPARE(items(tc.ctx), before + 1);
    QCOMPARE(amount(tc.ctx, "N-1"), 550000);
    QCOMPARE(amount(tc.ctx, "N-6"), 0); // no such item was made
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.CostConn,
                             "select count(*) from costitem where sku "
                             "in ('N-2','N-3','N-4','N-5','N-6','N-7')")
                 .toInt(),
             0);
}

void tst_price_list::importIsOneTransaction() {
    TestContext tc;
    const Source s = Read("SKU,Name,Unit,Price\nRL-AR30-WW,Architectural shingles,bdl,43\n"
                          "B-1,Boom,ea,1\n",
                          nullptr);
    const Preview p = Compare(tc.ctx, s, s.layout);
    QCOMPARE(p.changed.size(), std::size_t(1));
    QCOMPARE(p.added.size(), std::size_t(1));
    modData::exec(tc.ctx, tc.ctx.CostConn,
                  "create trigger boom before insert on costitem when new.costname='Boom' "
                  "begin select raise(abort, 'refused'); end");
    QVERIFY_THROWS_EXCEPTION(modData::SqlError, Apply(tc.ctx, p));
    QCOMPARE(amount(tc.ctx, "RL-AR30-WW"), 383333);
}

void tst_price_list::layoutIsRemembered() {
    TestContext tc;
    Source s = Read(kSemicolonFile, tc.ctx.settings.get());
    QCOMPARE(s.layout.column[Sku], -1);
    Layout l = s.layout;
    l.column[Sku] = 0;
    l.defaultType = "SubCon";
    Remember(*tc.ctx.settings, s.header, l);
    s = Read(kSemicolonFile, tc.ctx.settings.get());
    QCOMPARE(s.layout.column, l.column);
    QCOMPARE(s.layout.defaultType, QStringLiteral("SubCon"));
    // Another header is guessed afresh.
    QCOMPARE(Read("SKU;Name;Price\n1;a;2\n", tc.ctx.settings.get()).layout.column[Sku], 0);
}

void tst_price_list::importThroughTheWindows() {
    TestContext tc;
    tc.createTempDB();
    const QString path = write(tc, kSemicolonFile);
    frmUnitItem b(tc.ctx);
    b.openFileName = [&] { return path; };
    const int before = items(tc.ctx);

    // Cancel in the preview writes nothing.
    UiTest::whenModal([&](QWidget* d) {
        auto* f = qobject_cast<frmImportPrices*>(d);
        f->cmdPreview->click();
        QCOMPARE(f->stkSteps->currentIndex(), 1);
        f->cmdCancel->click();
    });
    b.cmdImport->click();
    QCOMPARE(items(tc.ctx), before);

    QString summary;
    UiTest::whenModal([&](QWidget* d) {
        auto* f = qobject_cast<frmImportPrices*>(d);
        f->cmbColumn[Sku]->setCurrentIndex(1); // "Art.-Nr."
        f->cmdPreview->click();
        summary = f->lblSummary->text();
        QCOMPARE(f->dgChanged->model()->index(0, 6).data().toString(), QStringLiteral("+5.0 %"));
        f->cmdImport->click();
    });
    b.cmdImport->click();
    QCOMPARE(summary, QStringLiteral("2 new items, 2 changed prices, 1 unchanged, 1 unit items "
                                     "change price. Nothing is written before you press Import."));
    QCOMPARE(tc.prompt->lastText(),
             QStringLiteral("The price list was imported: 2 new items, 2 new prices."));
    QCOMPARE(items(tc.ctx), before + 2);
    QCOMPARE(amount(tc.ctx, "FL-CN125"), 10445000);

    // The picker finds a new item by two words of its name.
    frmPickItem p(tc.ctx, false, 0);
    QTest::keyClicks(p.txtSearch, "guard snow");
    QCOMPARE(GridBinding::rowCount(p.PickGrid[0]), 1);
    QCOMPARE(GridBinding::cell(p.PickGrid[0], 0, 2).toString(), QStringLiteral("Snow guard"));

    // The mapping chosen is offered again for a file with the same header.
    UiTest::whenModal([&](QWidget* d) {
        auto* f = qobject_cast<frmImportPrices*>(d);
        QCOMPARE(f->cmbColumn[Sku]->currentText(), QStringLiteral("Art.-Nr."));
        f->reject();
    });
    b.cmdImport->click();
}

void tst_price_list::catalogueIsReadAgainAfterAChange() {
    TestContext tc;
    auto name = [&](const std::shared_ptr<const CatalogueList::Catalogue>& c) {
        const int at = CatalogueList::find(*c, "Material", 1);
        return at < 0 ? QString() : c->items[std::size_t(at)].name;
    };
    const auto first = CatalogueList::load(tc.ctx);
    QCOMPARE(CatalogueList::load(tc.ctx), first); // unchanged: not read again
    modData::exec(tc.ctx, tc.ctx.CostConn, "update costitem set costname='Changed' where ID=1");
    const auto second = CatalogueList::load(tc.ctx);
    QCOMPARE(name(second), QStringLiteral("Changed"));
    {
        // A write through another connection to the same file.
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(tc.ctx.CostConn);
        QVERIFY(other.open());
        QSqlQuery q(other);
        QVERIFY(q.exec("update costitem set costname='Elsewhere' where ID=1"));
        other.close();
    }
    QSqlDatabase::removeDatabase("other");
    QCOMPARE(name(CatalogueList::load(tc.ctx)), QStringLiteral("Elsewhere"));
}

QTEST_MAIN(tst_price_list)
#include "tst_price_list.moc"
