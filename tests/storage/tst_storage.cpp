// The data folder, the table layouts, the working databases and the SQL helpers.
#include "TestContext.h"

#include "storage/AppSetup.h"
#include "storage/Connections.h"
#include "storage/Migrations.h"
#include "storage/Schema.h"
#include "storage/modData.h"
#include "storage/modTempDB.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

struct Column {
    QString name;
    QString type;
    QString dflt;
    bool key;
};

QList<Column> columns(QSqlDatabase db, const QString& table) {
    QList<Column> out;
    QSqlQuery q(db);
    q.exec(QStringLiteral("pragma table_info(\"%1\")").arg(table));
    while (q.next())
        out.append({q.value(1).toString(), q.value(2).toString(), q.value(4).toString(),
                    q.value(5).toInt() == 1});
    return out;
}

QStringList names(const QList<Column>& cols) {
    QStringList n;
    for (const Column& c : cols)
        n << c.name;
    return n;
}

QStringList tablesOf(QSqlDatabase db) {
    QStringList t;
    QSqlQuery q(db);
    q.exec(QStringLiteral("select name from sqlite_master where type in ('table','view') and "
                          "name not like 'sqlite_%' order by name"));
    while (q.next())
        t << q.value(0).toString();
    return t;
}

qlonglong count(QSqlDatabase db, const QString& sql) {
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

bool tryExec(QSqlDatabase db, const QString& sql, const QVariantList& params = {}) {
    QSqlQuery q(db);
    if (!q.prepare(sql))
        return false;
    for (const QVariant& v : params)
        q.addBindValue(v);
    return q.exec();
}

} // namespace

class TestStorage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstStartMakesTheDataFolder();
    void existingFilesAreNeverOverwritten();
    void shippedCatalogue();
    void unitQueryPricesUnitItems();
    void schemaColumns_data();
    void schemaColumns();
    void textRules();
    void defaultsAndKeys();
    void newEstimateGetsEmptyWorkingDatabase();
    void clearTempTablesEmptiesAllFive();
    void sectSortDropTwiceIsSilent();
    void estimateDatabase();
    void killIfExistsRemovesSideFiles();
    void actionQueryReportsAndTellsTheCaller();
    void apostrophesAreBound();
    void recordExists();
    void transactionRollsBack();
    void scriptSplitting();
    void failedBuildLeavesNoFile();
    void newDatabasesCarryTheirVersion();
    void unversionedFileIsUpgradedOnOpen();
};

void TestStorage::firstStartMakesTheDataFolder() {
    TestContext t(TestContext::Setup::Empty);
    QVERIFY(AppSetup::isFirstStart(t.ctx));
    QString error;
    QVERIFY2(AppSetup::ensureDataFolder(t.ctx, &error), qPrintable(error));
    for (const QString& d : {t.ctx.dataDir(), t.ctx.estimatesDir(), t.ctx.templatesDir()})
        QVERIFY2(QDir(d).exists(), qPrintable(d));
    QVERIFY(QFile::exists(t.ctx.CostConn));
    QVERIFY(QFile::exists(t.ctx.MastEstConn));

    QSqlDatabase cost = t.ctx.connections->database(t.ctx.CostConn);
    QVERIFY(cost.isOpen());
    QCOMPARE(tablesOf(cost),
             (QStringList{QStringLiteral("UnitQry"), QStringLiteral("costitem"),
                          QStringLiteral("costunit"), QStringLiteral("laborcost"),
                          QStringLiteral("takeoffrule"), QStringLiteral("unititems")}));
    QSqlDatabase mast = t.ctx.connections->database(t.ctx.MastEstConn);
    QCOMPARE(tablesOf(mast),
             (QStringList{QStringLiteral("master"), QStringLiteral("sectionname")}));
    QCOMPARE(names(columns(mast, QStringLiteral("master"))),
             (QStringList{"id", "estname", "esttype", "estaddress", "estpath", "eststatus",
                          "estdate", "estlength", "estowner", "esttotal", "estused"}));
    QCOMPARE(names(columns(cost, QStringLiteral("costitem"))),
             (QStringList{"ID", "costtype", "cat", "costname", "manufacturer", "sku", "unit",
                          "descrip", "amount"}));
    QCOMPARE(names(columns(cost, QStringLiteral("laborcost"))),
             (QStringList{"costid", "baserate", "fringe", "workcomp", "taxes", "other"}));
    QCOMPARE(names(columns(cost, QStringLiteral("costunit"))),
             (QStringList{"ID", "mlname", "mlcat", "mlunit", "mldesc"}));
    QCOMPARE(names(columns(cost, QStringLiteral("unititems"))),
             (QStringList{"ID", "matlaborid", "itemid", "itemqty"}));
    // No estimate yet: the master list starts empty.
    QCOMPARE(count(mast, QStringLiteral("select count(*) from master")), 0);
}

void TestStorage::existingFilesAreNeverOverwritten() {
    TestContext t;
    QSqlDatabase cost = t.ctx.connections->database(t.ctx.CostConn);
    QVERIFY(tryExec(cost, QStringLiteral("update costitem set costname=? where ID=1"),
                    {QStringLiteral("My own shingle")}));
    QVERIFY(tryExec(cost, QStringLiteral("delete from costitem where ID=2")));
    const qlonglong items = count(cost, QStringLiteral("select count(*) from costitem"));
    t.ctx.connections->closeAll();

    QString error;
    QVERIFY(AppSetup::ensureDataFolder(t.ctx, &error));
    cost = t.ctx.connections->database(t.ctx.CostConn);
    QCOMPARE(count(cost, QStringLiteral("select count(*) from costitem")), items);
    QSqlQuery q(cost);
    QVERIFY(q.exec(QStringLiteral("select costname from costitem where ID=1")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("My own shingle"));
    QVERIFY(!AppSetup::isFirstStart(t.ctx));
}

void TestStorage::shippedCatalogue() {
    TestContext t;
    QSqlDatabase cost = t.ctx.connections->database(t.ctx.CostConn);
    QVERIFY(count(cost, QStringLiteral("select count(*) from costitem")) >= 25);
    for (const char* type : {"Material", "Labor", "SubCon", "Equip", "Fee"})
        QVERIFY2(count(cost, QStringLiteral("select count(*) from costitem where costtype='%1'")
                                 .arg(QLatin1String(type))) > 0,
                 type);
    // Every hourly labor item has its rate build-up, and every build-up belongs to one.
    const qlonglong hourly = count(cost, QStringLiteral("select count(*) from costitem where "
                                                        "costtype='Labor' and cat='Hourly'"));
    QVERIFY(hourly > 0);
    QCOMPARE(count(cost, QStringLiteral("select count(*) from costitem c join laborcost l on "
                                        "l.costid=c.ID where c.cat='Hourly'")),
             hourly);
    QCOMPARE(count(cost, QStringLiteral("select count(*) from laborcost l left join costitem c on "
                                        "c.ID=l.costid where c.ID is null")),
             0);
    QVERIFY(count(cost, QStringLiteral("select count(distinct matlaborid) from unititems")) >= 3);
    QCOMPARE(count(cost, QStringLiteral("select count(*) from unititems u left join costitem c on "
                                        "c.ID=u.itemid where c.ID is null")),
             0);
    QCOMPARE(count(cost, QStringLiteral("select count(*) from costitem where costname is null or "
                                        "costname='' or amount is null or amount < 0")),
             0);
    QSqlDatabase mast = t.ctx.connections->database(t.ctx.MastEstConn);
    QVERIFY(count(mast, QStringLiteral("select count(*) from sectionname")) >= 8);
}

void TestStorage::unitQueryPricesUnitItems() {
    TestContext t;
    QSqlDatabase cost = t.ctx.connections->database(t.ctx.CostConn);
    QVERIFY(tryExec(cost, QStringLiteral("insert into costitem (costtype,costname,unit,amount) "
                                         "values ('Material','Test nail','box',455000)")));
    const qlonglong item = count(cost, QStringLiteral("select max(ID) from costitem"));
    QVERIFY(
        tryExec(cost, QStringLiteral("insert into costunit (mlname,mlunit) values ('T','sq')")));
    const qlonglong unit = count(cost, QStringLiteral("select max(ID) from costunit"));
    QVERIFY(tryExec(cost,
                    QStringLiteral("insert into unititems (matlaborid,itemid,itemqty) "
                                   "values (?,?,3)"),
                    {unit, item}));
    QVERIFY(tryExec(cost,
                    QStringLiteral("insert into unititems (matlaborid,itemid,itemqty) "
                                   "values (?,?,0.25)"),
                    {unit, item}));
    // 3 x 45.50 + 0.25 x 45.50 = 147.875
    QCOMPARE(count(cost,
                   QStringLiteral("select sum(\"Line Total\") from UnitQry where ID=%1").arg(unit)),
             1478750);
    QVERIFY(tryExec(cost, QStringLiteral("update costitem set amount=500000 where ID=?"), {item}));
    QCOMPARE(count(cost,
                   QStringLiteral("select sum(\"Line Total\") from UnitQry where ID=%1").arg(unit)),
             1625000);
}

void TestStorage::schemaColumns_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("cols");
    QTest::newRow("TempSect") << "TempSect"
                              << "autoID" << QStringList{"autoID", "SecDesc", "SecOrder"};
    QTest::newRow("EstiGrid") << "EstiGrid"
                              << "autoID"
                              << QStringList{"autoID",    "tpLineItemID", "EstID",     "LineItemID",
                                             "ItemID",    "SecOrder",     "SortOrder", "Name",
                                             "ItemTable", "Qty",          "Unit",      "Cost",
                                             "LineTotal", "SubTotal",     "SectID"};
    QTest::newRow("tpLineItems") << "tpLineItems"
                                 << "autoID"
                                 << QStringList{"autoID",   "LineItemID", "EstID", "ItemID",
                                                "SecOrder", "Sect",       "Name",  "ItemTable",
                                                "Qty",      "Unit",       "Cost",  "LineTotal",
                                                "SectID",   "FromRule"};
    QTest::newRow("PendingDeletes") << "PendingDeletes"
                                    << "autoID" << QStringList{"autoID", "TableName", "StoredID"};
    QTest::newRow("TempAreas") << "TempAreas"
                               << "ID"
                               << QStringList{"ID",     "AreaID", "Shape", "Pitch",   "Width1",
                                              "Width2", "Height", "Total", "OnSlope", "Quick"};
    QTest::newRow("TempRoof") << "TempRoof"
                              << "ID" << QStringList{"ID", "Waste"};
    QTest::newRow("TempLineal") << "TempLineal"
                                << "ID"
                                << QStringList{"ID", "LinealID", "Type", "Name", "Length", "Total"};
    QTest::newRow("SectSort") << "SectSort"
                              << "autoID" << QStringList{"autoID", "EstID", "SectName", "SecOrder"};
    QTest::newRow("tempunit") << "tempunit"
                              << "ID" << QStringList{"ID",   "mainID", "unitID", "ItemID",   "Qty",
                                                     "Unit", "Name",   "Cost",   "LineTotal"};
    QTest::newRow("Main") << "Main"
                          << "ID"
                          << QStringList{"ID",           "FName",      "LName",       "Address",
                                         "CityStZip",    "HomePH",     "WorkPH",      "Ext",
                                         "Overhead",     "Profit",     "Contingency", "Management",
                                         "PaymentTerms", "EstSummary", "Waste"};
    QTest::newRow("LineItems") << "LineItems"
                               << "ID" << QStringList{"ID",   "ItemID",    "SecOrder", "Sect",
                                                      "Name", "ItemTable", "Qty",      "Unit",
                                                      "Cost", "LineTotal", "FromRule"};
    QTest::newRow("Areas") << "Areas"
                           << "ID" << QStringList{"ID",     "Shape", "Pitch",   "Width1", "Width2",
                                                  "Height", "Total", "OnSlope", "Quick"};
    QTest::newRow("Lineal") << "Lineal"
                            << "ID" << QStringList{"ID", "Type", "Name", "Length", "Total"};
}

void TestStorage::schemaColumns() {
    QFETCH(QString, table);
    QFETCH(QString, key);
    QFETCH(QStringList, cols);
    TestContext t;
    t.createTempDB();
    modTempDB::CreateSectSort(t.ctx);
    modTempDB::CreateUnitDB(t.ctx);
    QVERIFY(QDir().mkpath(t.ctx.estimatesDir() + QStringLiteral("/Smith")));
    modTempDB::CreateEstDB(t.ctx, QStringLiteral("Smith"));

    QString path = t.ctx.TempDBConn;
    if (table == QLatin1String("tempunit"))
        path = t.ctx.UnitDBConn;
    else if (Schema::estimateTables().contains(table))
        path = t.ctx.estimateDbPath(QStringLiteral("Smith/Smith.db"));
    QSqlDatabase db = t.ctx.connections->database(path);
    QVERIFY(db.isOpen());
    const QList<Column> c = columns(db, table);
    QCOMPARE(names(c), cols);
    for (const Column& col : c) {
        QCOMPARE(col.key, col.name == key);
        if (col.key)
            QCOMPARE(col.type, QStringLiteral("INTEGER"));
    }
    // The key counts up by itself.
    QVERIFY(db.record(table).count() == cols.size());
}

void TestStorage::textRules() {
    TestContext t;
    t.createTempDB();
    QSqlDatabase db = t.ctx.connections->database(t.ctx.TempDBConn);
    const QString insert = QStringLiteral("insert into TempLineal (Name) values (?)");
    QVERIFY(tryExec(db, insert, {QString(50, QLatin1Char('x'))}));
    QVERIFY(!tryExec(db, insert, {QString(51, QLatin1Char('x'))}));
    QVERIFY(!tryExec(db, insert, {QStringLiteral("")}));
    // The limit counts characters, not bytes.
    QVERIFY(tryExec(db, insert, {QString(50, QChar(0x00e9))}));
    QVERIFY(tryExec(db, insert, {QStringLiteral("Ridge Cap")}));
    // Text compares without regard to case.
    QCOMPARE(count(db, QStringLiteral("select count(*) from TempLineal where Name='RIDGE cap'")),
             1);

    QVERIFY(QDir().mkpath(t.ctx.estimatesDir() + QStringLiteral("/Jones")));
    modTempDB::CreateEstDB(t.ctx, QStringLiteral("Jones"));
    QSqlDatabase est = t.ctx.connections->database(t.ctx.estimateDbPath("Jones/Jones.db"));
    const QString main = QStringLiteral(
        "insert into Main (FName,LName,Address,CityStZip,HomePH,WorkPH,Ext,Overhead,Profit,"
        "Contingency,Management,PaymentTerms,EstSummary) values (?,?,?,?,?,?,?,?,?,?,?,?,?)");
    QVariantList row{"Ann",  "O'Neil",    "1 Elm", "Helena, MT 59601", "",       "", "", "%-15",
                     "%-15", "Fixed-100", "%-2",   "Net 30",           "Re-roof"};
    // The phone numbers and extension may be empty ...
    QVERIFY(tryExec(est, main, row));
    // ... a name may not, nor may a first name be longer than 25 characters.
    QVariantList blank = row;
    blank[1] = QStringLiteral("");
    QVERIFY(!tryExec(est, main, blank));
    QVariantList longFirst = row;
    longFirst[0] = QString(26, QLatin1Char('a'));
    QVERIFY(!tryExec(est, main, longFirst));
    QVariantList longPhone = row;
    longPhone[4] = QStringLiteral("406-555-01234");
    QVERIFY(!tryExec(est, main, longPhone));
    QCOMPARE(count(est, QStringLiteral("select count(*) from Main")), 1);
}

void TestStorage::defaultsAndKeys() {
    TestContext t;
    t.createTempDB();
    QSqlDatabase db = t.ctx.connections->database(t.ctx.TempDBConn);
    QVERIFY(tryExec(db, QStringLiteral("insert into TempAreas (Shape) values (1)")));
    QVERIFY(tryExec(db, QStringLiteral("insert into TempAreas (Shape) values (2)")));
    QSqlQuery q(db);
    QVERIFY(q.exec(QStringLiteral("select ID,AreaID,Pitch,Width1,Width2,Height,Total from "
                                  "TempAreas order by ID")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 1);
    for (int i = 1; i < 7; ++i) {
        QVERIFY(!q.value(i).isNull());
        QCOMPARE(q.value(i).toInt(), 0);
    }
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 2);
    // EstiGrid has no defaults: an empty column stays empty (separator rows rely on it).
    QVERIFY(tryExec(db, QStringLiteral("insert into EstiGrid (Name) values ('x')")));
    QCOMPARE(count(db, QStringLiteral("select count(*) from EstiGrid where Qty is null and "
                                      "Cost is null and tpLineItemID is null")),
             1);
    // Whole-number columns refuse text.
    QVERIFY(!tryExec(db, QStringLiteral("insert into TempAreas (Width1) values ('wide')")));
}

void TestStorage::newEstimateGetsEmptyWorkingDatabase() {
    TestContext t;
    t.createTempDB();
    QSqlDatabase db = t.ctx.connections->database(t.ctx.TempDBConn);
    QVERIFY(tryExec(db, QStringLiteral("insert into TempSect (SecDesc,SecOrder) values ('A',0)")));
    QVERIFY(tryExec(db, QStringLiteral("insert into TempLineal (Name) values ('Ridge')")));
    QVERIFY(tryExec(db, QStringLiteral("insert into TempAreas (Total) values (849)")));
    modTempDB::CreateSectSort(t.ctx);

    t.createTempDB();
    db = t.ctx.connections->database(t.ctx.TempDBConn);
    QVERIFY(db.isOpen());
    for (const QString& table : Schema::tempTables())
        QCOMPARE(count(db, QStringLiteral("select count(*) from %1").arg(table)), 0);
    // The scratch table of a previous order dialog is gone with the old file.
    QVERIFY(!tablesOf(db).contains(QStringLiteral("SectSort")));
    QCOMPARE(t.prompt->count(), 0);
}

void TestStorage::clearTempTablesEmptiesAllFive() {
    TestContext t;
    t.createTempDB();
    QSqlDatabase db = t.ctx.connections->database(t.ctx.TempDBConn);
    QVERIFY(tryExec(db, QStringLiteral("insert into TempSect (SecDesc,SecOrder) values ('A',0)")));
    QVERIFY(tryExec(db, QStringLiteral("insert into tpLineItems (Sect,Name,ItemTable) values "
                                       "('A','B','Material')")));
    QVERIFY(tryExec(db, QStringLiteral("insert into EstiGrid (Name) values ('A')")));
    QVERIFY(tryExec(db, QStringLiteral("insert into TempAreas (Total) values (1)")));
    QVERIFY(tryExec(db, QStringLiteral("insert into TempLineal (Name) values ('A')")));
    QVERIFY(tryExec(db, QStringLiteral("insert into PendingDeletes (TableName,StoredID) values "
                                       "('Areas',1)")));
    modTempDB::ClearTempTables(t.ctx);
    for (const QString& table : Schema::tempTables())
        QCOMPARE(count(db, QStringLiteral("select count(*) from %1").arg(table)), 0);
    QCOMPARE(t.prompt->count(), 0);
}

void TestStorage::sectSortDropTwiceIsSilent() {
    TestContext t;
    t.createTempDB();
    modTempDB::CreateSectSort(t.ctx);
    QSqlDatabase db = t.ctx.connections->database(t.ctx.TempDBConn);
    QVERIFY(tablesOf(db).contains(QStringLiteral("SectSort")));
    modTempDB::DropTempTable(t.ctx, QStringLiteral("SectSort"));
    QVERIFY(!tablesOf(db).contains(QStringLiteral("SectSort")));
    modTempDB::DropTempTable(t.ctx, QStringLiteral("SectSort"));
    QCOMPARE(t.prompt->count(), 0);
    // The dialog can open again afterwards.
    modTempDB::CreateSectSort(t.ctx);
    QVERIFY(tablesOf(db).contains(QStringLiteral("SectSort")));
}

void TestStorage::estimateDatabase() {
    TestContext t;
    const QString folder = t.ctx.estimatesDir() + QStringLiteral("/O'Brien Re-roof");
    QVERIFY(QDir().mkpath(folder));
    modTempDB::CreateEstDB(t.ctx, QStringLiteral("O'Brien Re-roof"));
    const QString path = folder + QStringLiteral("/O'Brien Re-roof.db");
    QVERIFY(QFile::exists(path));
    // The creator lets go of the file; it opens again through the registry.
    QVERIFY(!t.ctx.connections->isOpen(path));
    QSqlDatabase db = t.ctx.connections->database(path);
    QCOMPARE(tablesOf(db), (QStringList{QStringLiteral("Areas"), QStringLiteral("LineItems"),
                                        QStringLiteral("Lineal"), QStringLiteral("Main")}));
    // Without its folder nothing is made and nothing is left behind.
    bool threw = false;
    try {
        modTempDB::CreateEstDB(t.ctx, QStringLiteral("NoFolder"));
    } catch (const modData::SqlError&) {
        threw = true;
    }
    QVERIFY(threw);
    QVERIFY(!QFile::exists(t.ctx.estimatesDir() + QStringLiteral("/NoFolder/NoFolder.db")));
}

void TestStorage::killIfExistsRemovesSideFiles() {
    TestContext t;
    t.createTempDB();
    const QString path = t.ctx.TempDBConn;
    QFile side(path + QStringLiteral("-journal"));
    QVERIFY(side.open(QIODevice::WriteOnly));
    side.close();
    modTempDB::KillIfExists(t.ctx, path);
    QVERIFY(!QFile::exists(path));
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    QVERIFY(!t.ctx.connections->isOpen(path));
    // A path with nothing at it is fine.
    modTempDB::KillIfExists(t.ctx, path);
}

void TestStorage::actionQueryReportsAndTellsTheCaller() {
    TestContext t;
    t.createTempDB();
    QVERIFY(modData::ActionQuery(t.ctx, QStringLiteral("delete from TempSect"), t.ctx.TempDBConn));
    QCOMPARE(t.prompt->count(), 0);

    QVERIFY(
        !modData::ActionQuery(t.ctx, QStringLiteral("delete from NoSuchTable"), t.ctx.TempDBConn));
    QCOMPARE(t.prompt->count(), 1);
    const auto shown = t.prompt->shown().last();
    QVERIFY(!shown.question);
    QVERIFY2(shown.text.startsWith(QStringLiteral("Error ")), qPrintable(shown.text));
    QVERIFY2(shown.text.contains(QStringLiteral("no such table")), qPrintable(shown.text));
    QVERIFY(shown.text.endsWith(
        QStringLiteral(") in procedure ActionQuery of Module modData\nPlease make note of this "
                       "and report this bug to help make this software better.")));

    // A refused value (too long for its column) is a failure too, and nothing is stored.
    QVERIFY(!modData::ActionQuery(t.ctx,
                                  QStringLiteral("insert into TempSect (SecDesc) values (?)"),
                                  {QString(51, QLatin1Char('s'))}, t.ctx.TempDBConn));
    QCOMPARE(t.prompt->count(), 2);
    QCOMPARE(count(t.ctx.connections->database(t.ctx.TempDBConn),
                   QStringLiteral("select count(*) from TempSect")),
             0);

    // A database that is not there is reported, not created.
    const QString missing = t.ctx.dataDir() + QStringLiteral("/missing.db");
    QVERIFY(!modData::ActionQuery(t.ctx, QStringLiteral("delete from x"), missing));
    QCOMPARE(t.prompt->count(), 3);
    QVERIFY(!QFile::exists(missing));
}

void TestStorage::apostrophesAreBound() {
    TestContext t;
    t.createTempDB();
    const QString name = QStringLiteral("O'Neil's \"best\" — Ñandú; drop table TempSect;--");
    QVERIFY(modData::ActionQuery(
        t.ctx, QStringLiteral("insert into TempSect (SecDesc,SecOrder) values (?,?)"), {name, 0},
        t.ctx.TempDBConn));
    const QVariant back =
        modData::scalar(t.ctx, t.ctx.TempDBConn,
                        QStringLiteral("select SecDesc from TempSect where SecDesc=?"), {name});
    QCOMPARE(back.toString(), name);
    QCOMPARE(t.prompt->count(), 0);
}

void TestStorage::recordExists() {
    TestContext t;
    t.createTempDB();
    QVERIFY(modData::ActionQuery(
        t.ctx, QStringLiteral("insert into TempSect (SecDesc,SecOrder) values ('A',7)"),
        t.ctx.TempDBConn));
    QVERIFY(modData::RecordExists(t.ctx, 7, QStringLiteral("SecOrder"), QStringLiteral("TempSect"),
                                  t.ctx.TempDBConn));
    QVERIFY(!modData::RecordExists(t.ctx, 8, QStringLiteral("SecOrder"), QStringLiteral("TempSect"),
                                   t.ctx.TempDBConn));
    QVERIFY(!modData::RecordExists(t.ctx, 0, QStringLiteral("autoID"), QStringLiteral("TempSect"),
                                   t.ctx.TempDBConn));
    // Its errors go to the caller.
    QVERIFY_THROWS_EXCEPTION(
        modData::SqlError, modData::RecordExists(t.ctx, 1, QStringLiteral("ID"),
                                                 QStringLiteral("NoSuchTable"), t.ctx.TempDBConn));
}

void TestStorage::transactionRollsBack() {
    TestContext t;
    t.createTempDB();
    QSqlDatabase db = modData::db(t.ctx, t.ctx.TempDBConn);
    {
        modData::Transaction tr(db);
        modData::exec(db, QStringLiteral("insert into TempSect (SecDesc) values ('A')"));
        // Leaving without commit: nothing stays.
    }
    QCOMPARE(count(db, QStringLiteral("select count(*) from TempSect")), 0);
    {
        modData::Transaction tr(db);
        modData::exec(db, QStringLiteral("insert into TempSect (SecDesc) values ('B')"));
        tr.commit();
    }
    QCOMPARE(count(db, QStringLiteral("select count(*) from TempSect")), 1);
}

void TestStorage::scriptSplitting() {
    const QStringList s =
        AppSetup::splitStatements(QStringLiteral("-- a comment; with a semicolon\n"
                                                 "CREATE TABLE a (x TEXT);\n"
                                                 "INSERT INTO a VALUES ('one; two');\n"
                                                 "INSERT INTO a VALUES ('it''s;\nstill one');\n"));
    QCOMPARE(s.size(), 3);
    QVERIFY(s[1].contains(QStringLiteral("'one; two'")));
    QVERIFY(s[2].contains(QStringLiteral("still one")));
}

void TestStorage::failedBuildLeavesNoFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.db"));
    QString error;
    QVERIFY(!AppSetup::buildDatabase(path,
                                     QStringLiteral("CREATE TABLE a (x INTEGER);\nINSERT INTO nope "
                                                    "VALUES (1);\n"),
                                     &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    QVERIFY(AppSetup::buildDatabase(path, QStringLiteral("CREATE TABLE a (x INTEGER);\n"), &error));
    QVERIFY(QFile::exists(path));
}

void TestStorage::newDatabasesCarryTheirVersion() {
    TestContext t;
    t.createTempDB();
    modTempDB::CreateUnitDB(t.ctx);
    QDir().mkpath(t.ctx.estimatesDir() + QStringLiteral("/Smith"));
    modTempDB::CreateEstDB(t.ctx, QStringLiteral("Smith"));
    using K = Migrations::Kind;
    const struct {
        QString path;
        K kind;
    } files[] = {{t.ctx.CostConn, K::Catalogue},
                 {t.ctx.MastEstConn, K::MasterList},
                 {t.ctx.TempDBConn, K::Working},
                 {t.ctx.UnitDBConn, K::Working},
                 {t.ctx.estimateDbPath(QStringLiteral("Smith/Smith.db")), K::Estimate}};
    for (const auto& f : files) {
        QCOMPARE(Migrations::kindOf(t.ctx, f.path), std::optional<K>(f.kind));
        QSqlDatabase db = t.ctx.connections->database(f.path);
        QVERIFY2(db.isOpen(), qPrintable(f.path));
        QVERIFY(Migrations::currentVersion(f.kind) >= 1);
        QCOMPARE(Migrations::versionOf(db), Migrations::currentVersion(f.kind));
    }
    // Another program's file is not ours to upgrade.
    QCOMPARE(Migrations::kindOf(t.ctx, t.root() + QStringLiteral("/contacts.db")), std::nullopt);
}

void TestStorage::unversionedFileIsUpgradedOnOpen() {
    TestContext t;
    t.createTempDB();
    QSqlDatabase db = t.ctx.connections->database(t.ctx.TempDBConn);
    QVERIFY(tryExec(db, QStringLiteral("insert into TempSect(SecDesc,SecOrder) values('Roof',0)")));
    QVERIFY(tryExec(db, QStringLiteral("PRAGMA user_version = 0")));
    t.ctx.connections->close(t.ctx.TempDBConn);

    db = t.ctx.connections->database(t.ctx.TempDBConn);
    QVERIFY(db.isOpen());
    QCOMPARE(Migrations::versionOf(db), Migrations::currentVersion(Migrations::Kind::Working));
    QCOMPARE(count(db, QStringLiteral("select count(*) from TempSect")), 1);
}

QTEST_GUILESS_MAIN(TestStorage)
#include "tst_storage.moc"
