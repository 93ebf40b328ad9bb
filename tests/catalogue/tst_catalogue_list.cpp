// The catalogue as the browser and the picker list it, kept between windows: after a change
// made here only what changed is read again, and the list is exactly what a whole read gives;
// a change made elsewhere, or another file put in place, reads it whole. A catalogue read in the
// background at start-up (preload) is taken as the catalogue read last, on the same terms.
#include "TestContext.h"

#include "catalogue/CatalogueList.h"
#include "storage/Connections.h"
#include "storage/modData.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using CatalogueList::Catalogue;
using CatalogueList::Item;

namespace {

QString describe(const Item& it) {
    return QStringLiteral("%1#%2 %3|%4|%5|%6|%7|%8|%9")
        .arg(it.type)
        .arg(it.id)
        .arg(it.cat, it.name, it.manufacturer, it.sku, it.unit, it.descrip, it.amount.toSql());
}

QStringList describe(const Catalogue& c) {
    QStringList out;
    for (const Item& it : c.items)
        out << describe(it) + "|" + it.folded;
    return out;
}

// The catalogue as a read of the whole file gives it (it is then the catalogue kept).
QStringList wholeRead(AppContext& ctx) {
    ctx.catalogueCache.reset();
    return describe(*CatalogueList::load(ctx));
}

void run(AppContext& ctx, const QStringList& statements) {
    for (const QString& sql : statements)
        modData::exec(ctx, ctx.CostConn, sql);
}

// Runs the statements through a connection other than the program's, as another program would.
void runElsewhere(const QString& path, const QStringList& statements) {
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "elsewhere");
        other.setDatabaseName(path);
        QVERIFY(other.open());
        QSqlQuery q(other);
        for (const QString& sql : statements)
            QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
        q.finish();
        other.close();
    }
    QSqlDatabase::removeDatabase("elsewhere");
}

// A copy of the test's catalogue with item 1 renamed "From the copy" (as a restored backup
// would differ), made while the program's connection is closed.
QString changedCopy(TestContext& tc) {
    const QString copy = tc.root() + "/other-cost.db";
    tc.ctx.connections->close(tc.ctx.CostConn);
    if (!QFile::copy(tc.ctx.CostConn, copy))
        return {};
    runElsewhere(copy, {"update costitem set costname='From the copy' where ID=1"});
    return copy;
}

// The catalogue the background read handed back, waited for.
std::shared_ptr<const Catalogue> preloaded(AppContext& ctx) {
    if (!ctx.catalogueCache || !ctx.catalogueCache->pending)
        return nullptr;
    return ctx.catalogueCache->pending->result.get();
}

// Adds `count` materials in one transaction, so that reading the catalogue takes a while.
bool addBulk(AppContext& ctx, int count) {
    QSqlDatabase db = modData::db(ctx, ctx.CostConn);
    modData::Transaction t(db);
    QSqlQuery ins(db);
    if (!ins.prepare("insert into costitem(costtype,cat,costname,descrip,unit,amount) "
                     "values('Material','Bulk',?,'Café brown, 3 per bundle','ea',?)"))
        return false;
    for (int i = 0; i < count; ++i) {
        ins.addBindValue(QStringLiteral("Bulk item %1").arg(i));
        ins.addBindValue(qlonglong(10000 + i));
        if (!ins.exec())
            return false;
    }
    t.commit();
    return true;
}

QString nameOf(const Catalogue& c, int id) {
    const int at = CatalogueList::find(c, "Material", id);
    return at < 0 ? QString() : c.items[std::size_t(at)].name;
}

} // namespace

class tst_catalogue_list : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }
    void changesReadAgain_data();
    void changesReadAgain();
    void untouchedItemsAreKept();
    void writesThatListNothingKeepTheList();
    void manyChangesReadItWhole();
    void anotherFilePutInPlace();
    void preloadThenLoad_data();
    void preloadThenLoad();
    void unreadablePreloadFallsBack_data();
    void unreadablePreloadFallsBack();
    void damagedCatalogueIsNotPreloaded();
    void fileReplacedWhilePreloading_data();
    void fileReplacedWhilePreloading();
    void writeDuringPreload();
    void quitWhilePreloading();
};

void tst_catalogue_list::changesReadAgain_data() {
    QTest::addColumn<QStringList>("statements");
    // The start of a line of the list after the change; "-x": no line starts so.
    QTest::addColumn<QString>("expect");

    // Item 1 ("Architectural shingles, 30-year") is a part of unit item 1 three times.
    QTest::newRow("a part's price moves its unit item's")
        << QStringList{"update costitem set amount=amount+10000 where ID=1"}
        << "Material#1 Shingles|Architectural shingles, 30-year|Ridgeline Building "
           "Products|RL-AR30-WW|bdl|Laminated asphalt shingles, weathered wood, 3 bundles per "
           "square|39.3333";
    QTest::newRow("a renamed material moves to its place")
        << QStringList{"update costitem set cat='Aaa', costname='Zoë''s first' where ID=6"}
        << "Material#6 Aaa|Zoë's first|Summit Metal Works|SM-DE10-W|pc|Aluminum drip edge, "
           "white, 10 foot length|8.5";
    QTest::newRow("a new material and a new fee")
        << QStringList{"insert into costitem(costtype,cat,costname,unit,amount) "
                       "values('Material','Metal','Chimney cricket','ea',1250000)",
                       "insert into costitem(costtype,cat,costname,unit,amount) "
                       "values('Fee','Permits','Permit, city','ea',500000)"}
        << "Fee#* Permits|Permit, city|||ea||50|";
    QTest::newRow("a material becomes a fee")
        << QStringList{"update costitem set costtype='Fee' where ID=2"}
        << "Fee#2 Shingles|3-tab shingles, 25-year|Ridgeline Building Products|RL-3T25-CB|bdl|"
           "Strip shingles, charcoal black, 3 bundles per square|28.3333";
    QTest::newRow("a type stored in other letters")
        << QStringList{"update costitem set costtype='fee' where ID=7"} << "Fee#7 Shingles|";
    QTest::newRow("a deleted item and its unit item's part")
        << QStringList{"delete from unititems where itemid=3", "delete from costitem where ID=3"}
        << "-Material#3 ";
    QTest::newRow("a new unit item with its parts")
        << QStringList{"insert into costunit(ID,mlname,mlcat,mlunit,mldesc) values(90,'Ridge "
                       "vent kit','Vents','lf','')",
                       "insert into unititems(matlaborid,itemid,itemqty) values(90,1,2)",
                       "insert into unititems(matlaborid,itemid,itemqty) values(90,6,0.5)"}
        << "Unit_Item#90 Vents|Ridge vent kit|||lf||80.9166|";
    QTest::newRow("a unit item's last parts removed")
        << QStringList{"delete from unititems where matlaborid=1"} << "-Unit_Item#1 ";
    QTest::newRow("a unit item renamed")
        << QStringList{"update costunit set mlname='Re-roof, complete' where ID=1"}
        << "Unit_Item#1 Roof systems|Re-roof, complete|||sq|Tear-off, synthetic felt, "
           "architectural shingles, nails|";
}

void tst_catalogue_list::changesReadAgain() {
    QFETCH(QStringList, statements);
    QFETCH(QString, expect);
    TestContext tc;
    const auto before = CatalogueList::load(tc.ctx);
    run(tc.ctx, statements);
    const auto after = CatalogueList::load(tc.ctx);
    QVERIFY(after != before);
    const QStringList lines = describe(*after);
    if (expect.startsWith('-')) {
        for (const QString& line : lines)
            QVERIFY2(!line.startsWith(expect.mid(1)), qPrintable(line));
    } else {
        bool found = false;
        // "#*": any id (a new item's).
        const QStringList parts = expect.split("#*");
        for (const QString& line : lines)
            found = found ||
                    (parts.size() == 2 ? line.startsWith(parts[0] + "#") && line.contains(parts[1])
                                       : line.startsWith(expect));
        QVERIFY2(found, qPrintable(expect));
    }
    // Exactly what a whole read gives, item by item and in the same order.
    QCOMPARE(lines, wholeRead(tc.ctx));

    // Two more changes, each read on top of the one before.
    run(tc.ctx, {"update costitem set amount=amount+1 where ID in (4,11)"});
    CatalogueList::load(tc.ctx);
    run(tc.ctx, {"update costitem set costname='Aardvark nails' where ID=11",
                 "delete from unititems where itemid=4"});
    const QStringList twice = describe(*CatalogueList::load(tc.ctx));
    QCOMPARE(twice, wholeRead(tc.ctx));
}

void tst_catalogue_list::untouchedItemsAreKept() {
    TestContext tc;
    const auto before = CatalogueList::load(tc.ctx);
    run(tc.ctx, {"update costitem set amount=amount+10000 where ID=4"});
    const auto after = CatalogueList::load(tc.ctx);
    // Items not changed are the ones read before (their texts shared, not read again); the
    // changed one is new.
    const int kept = CatalogueList::find(*after, "Material", 5);
    const int was = CatalogueList::find(*before, "Material", 5);
    QVERIFY(kept >= 0 && was >= 0);
    QVERIFY(after->items[std::size_t(kept)].descrip.isSharedWith(
        before->items[std::size_t(was)].descrip));
    const int changed = CatalogueList::find(*after, "Material", 4);
    QCOMPARE(after->items[std::size_t(changed)].amount,
             before->items[std::size_t(CatalogueList::find(*before, "Material", 4))].amount +
                 Money::fromRaw(10000));
}

void tst_catalogue_list::writesThatListNothingKeepTheList() {
    TestContext tc;
    const auto before = CatalogueList::load(tc.ctx);
    // A burden's rates and a change rolled back change nothing listed.
    run(tc.ctx, {"update laborcost set other=other"});
    QSqlDatabase db = modData::db(tc.ctx, tc.ctx.CostConn);
    QVERIFY(db.transaction());
    run(tc.ctx, {"update costitem set costname='Gone' where ID=1"});
    QVERIFY(db.rollback());
    QCOMPARE(CatalogueList::load(tc.ctx), before);
    const QStringList kept = describe(*before);
    QCOMPARE(kept, wholeRead(tc.ctx));
}

void tst_catalogue_list::manyChangesReadItWhole() {
    TestContext tc;
    CatalogueList::load(tc.ctx);
    QSqlDatabase db = modData::db(tc.ctx, tc.ctx.CostConn);
    {
        modData::Transaction t(db);
        QSqlQuery ins(db);
        ins.prepare("insert into costitem(costtype,cat,costname,unit,amount) "
                    "values('Material','Bulk',?,'ea',?)");
        for (int i = 0; i < 6000; ++i) {
            ins.addBindValue(QStringLiteral("Bulk item %1").arg(i));
            ins.addBindValue(qlonglong(10000 + i));
            QVERIFY(ins.exec());
        }
        t.commit();
    }
    const auto after = CatalogueList::load(tc.ctx);
    const QStringList lines = describe(*after);
    QCOMPARE(lines, wholeRead(tc.ctx));
    QVERIFY(CatalogueList::find(*after, "Material", 6028) >= 0);
    // The notes of those changes are gone: a small change after it is read alone again.
    run(tc.ctx, {"update costitem set costname='Last bulk' where ID=6028"});
    const auto next = CatalogueList::load(tc.ctx);
    QCOMPARE(next->items[std::size_t(CatalogueList::find(*next, "Material", 6028))].name,
             QStringLiteral("Last bulk"));
    const QStringList nextLines = describe(*next);
    QCOMPARE(nextLines, wholeRead(tc.ctx));
}

void tst_catalogue_list::anotherFilePutInPlace() {
    TestContext tc;
    const QString path = tc.ctx.CostConn;
    const QString copy = tc.root() + "/other-cost.db";
    // Another catalogue (as a restored copy would be), made while the program's is closed.
    tc.ctx.connections->close(path);
    QVERIFY(QFile::copy(path, copy));
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(copy);
        QVERIFY(other.open());
        QSqlQuery q(other);
        QVERIFY(q.exec("update costitem set costname='From the copy' where ID=1"));
        other.close();
    }
    QSqlDatabase::removeDatabase("other");

    // Read on a connection that has written nothing, then the other file put in its place.
    const auto before = CatalogueList::load(tc.ctx);
    tc.ctx.connections->close(path);
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::copy(copy, path));
    const auto after = CatalogueList::load(tc.ctx);
    QCOMPARE(after->items[std::size_t(CatalogueList::find(*after, "Material", 1))].name,
             QStringLiteral("From the copy"));
    const QStringList lines = describe(*after);
    QCOMPARE(lines, wholeRead(tc.ctx));
}

void tst_catalogue_list::preloadThenLoad_data() {
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<bool>("elsewhere");   // through another connection, not the program's
    QTest::addColumn<bool>("afterFinish"); // once the background read has ended
    const QStringList rename{"update costitem set costname='Zoë''s ridge cap' where ID=1"};
    const QStringList several{"update costitem set costname='Zoë''s ridge cap' where ID=1",
                              "delete from unititems where itemid=3",
                              "delete from costitem where ID=3",
                              "insert into costitem(costtype,cat,costname,unit,amount) "
                              "values('Fee','Permits','Permit, city','ea',500000)"};
    QTest::newRow("nothing written") << QStringList() << false << true;
    QTest::newRow("own change, while reading") << rename << false << false;
    QTest::newRow("own change, after reading") << rename << false << true;
    QTest::newRow("own changes, while reading") << several << false << false;
    QTest::newRow("own changes, after reading") << several << false << true;
    QTest::newRow("change elsewhere, while reading") << rename << true << false;
    QTest::newRow("change elsewhere, after reading") << rename << true << true;
}

void tst_catalogue_list::preloadThenLoad() {
    QFETCH(QStringList, statements);
    QFETCH(bool, elsewhere);
    QFETCH(bool, afterFinish);
    TestContext tc;
    QVERIFY(CatalogueList::preload(tc.ctx));
    QVERIFY(tc.ctx.catalogueCache && tc.ctx.catalogueCache->pending);
    std::shared_ptr<const Catalogue> early;
    if (afterFinish)
        early = preloaded(tc.ctx);
    if (elsewhere)
        runElsewhere(tc.ctx.CostConn, statements);
    else
        run(tc.ctx, statements);
    if (!afterFinish)
        early = preloaded(tc.ctx);
    QVERIFY(early);
    const auto loaded = CatalogueList::load(tc.ctx);
    QVERIFY(!CatalogueList::preloading(tc.ctx));
    QVERIFY(!tc.ctx.catalogueCache->pending);
    if (statements.isEmpty()) {
        // The list read in the background is the one the first window shows.
        QCOMPARE(loaded, early);
    } else {
        QCOMPARE(nameOf(*loaded, 1), QStringLiteral("Zoë's ridge cap"));
    }
    if (!statements.isEmpty() && !elsewhere) {
        // A change of its own re-reads what it touched, keeping the rest of the preloaded list.
        const int was = CatalogueList::find(*early, "Material", 5);
        const int kept = CatalogueList::find(*loaded, "Material", 5);
        QVERIFY(was >= 0 && kept >= 0);
        QVERIFY(loaded->items[std::size_t(kept)].descrip.isSharedWith(
            early->items[std::size_t(was)].descrip));
    }
    const QStringList lines = describe(*loaded);
    QCOMPARE(lines, wholeRead(tc.ctx));
    // Later changes build on it as on any read.
    run(tc.ctx, {"update costitem set amount=amount+1 where ID=4"});
    const QStringList next = describe(*CatalogueList::load(tc.ctx));
    QCOMPARE(next, wholeRead(tc.ctx));
}

void tst_catalogue_list::unreadablePreloadFallsBack_data() {
    QTest::addColumn<bool>("garbage"); // another file without a catalogue put at its name
    QTest::newRow("file gone") << false;
    QTest::newRow("file not a database") << true;
}

void tst_catalogue_list::unreadablePreloadFallsBack() {
    QFETCH(bool, garbage);
    TestContext tc;
    const QString path = tc.ctx.CostConn;
    const QStringList expected = wholeRead(tc.ctx);
    // The program's connection keeps the file it opened; the background read, opening the name
    // anew, finds nothing it can read.
    QVERIFY(QFile::remove(path));
    if (garbage) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, 'x'));
    }
    QVERIFY(CatalogueList::preload(tc.ctx));
    QVERIFY(!preloaded(tc.ctx));
    // The first window reads it whole through the program's connection, as before.
    const auto loaded = CatalogueList::load(tc.ctx);
    QVERIFY(loaded);
    QCOMPARE(describe(*loaded), expected);
    QCOMPARE(tc.prompt->count(), 0);
}

void tst_catalogue_list::damagedCatalogueIsNotPreloaded() {
    TestContext tc;
    const QString path = tc.ctx.CostConn;
    tc.ctx.connections->close(path);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(8192, 'x'));
    }
    // Nothing is started; the first window reports the damage as it always did.
    QVERIFY(!CatalogueList::preload(tc.ctx));
    QVERIFY(!CatalogueList::preloading(tc.ctx));
    QVERIFY_THROWS_EXCEPTION(modData::SqlError, CatalogueList::load(tc.ctx));
}

void tst_catalogue_list::fileReplacedWhilePreloading_data() {
    QTest::addColumn<bool>("reset"); // the cache dropped, as a restore from a backup does
    QTest::newRow("connection opened again") << false;
    QTest::newRow("cache dropped") << true;
}

void tst_catalogue_list::fileReplacedWhilePreloading() {
    QFETCH(bool, reset);
    TestContext tc;
    const QString path = tc.ctx.CostConn;
    const QString copy = changedCopy(tc);
    QVERIFY(!copy.isEmpty());
    QVERIFY(CatalogueList::preload(tc.ctx));
    tc.ctx.connections->close(path);
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::copy(copy, path));
    if (reset)
        tc.ctx.catalogueCache.reset();
    const auto loaded = CatalogueList::load(tc.ctx);
    QCOMPARE(nameOf(*loaded, 1), QStringLiteral("From the copy"));
    const QStringList lines = describe(*loaded);
    QCOMPARE(lines, wholeRead(tc.ctx));
}

void tst_catalogue_list::writeDuringPreload() {
    TestContext tc;
    // Large enough that the background read is still going when the write comes.
    QVERIFY(addBulk(tc.ctx, 40000));
    QSqlDatabase db = modData::db(tc.ctx, tc.ctx.CostConn);
    QVERIFY(CatalogueList::preload(tc.ctx));
    const bool reading = CatalogueList::preloading(tc.ctx);
    // SQLite lets the write wait for the read to end (the busy timeout), not fail.
    {
        QSqlQuery q(db);
        QVERIFY2(q.exec("update costitem set costname='Written meanwhile' where ID=2"),
                 qPrintable(q.lastError().text()));
        QVERIFY2(q.exec("insert into costitem(costtype,cat,costname,unit,amount) "
                        "values('Material','Bulk','Added meanwhile','ea',10000)"),
                 qPrintable(q.lastError().text()));
    }
    if (!reading)
        qInfo("the background read ended before the write began");
    const auto loaded = CatalogueList::load(tc.ctx);
    QCOMPARE(nameOf(*loaded, 2), QStringLiteral("Written meanwhile"));
    const QStringList lines = describe(*loaded);
    QCOMPARE(lines, wholeRead(tc.ctx));
    QVERIFY(lines.filter("|Added meanwhile|").size() == 1);
}

void tst_catalogue_list::quitWhilePreloading() {
    bool reading = false;
    {
        TestContext tc;
        QVERIFY(addBulk(tc.ctx, 40000));
        QVERIFY(CatalogueList::preload(tc.ctx));
        reading = CatalogueList::preloading(tc.ctx);
        // The program ends as main() does: connections closed, then the context dropped while
        // the thread may still read; dropping it waits for the thread, which must not outlive Qt.
        tc.ctx.connections->closeAll();
    }
    if (!reading)
        qInfo("the background read ended before the program did");
    // Its connection was removed by the thread that made it.
    QVERIFY(QSqlDatabase::connectionNames().filter("catalogue-preload").isEmpty());
}

QTEST_MAIN(tst_catalogue_list)
#include "tst_catalogue_list.moc"
