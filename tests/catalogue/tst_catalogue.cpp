#include "TestContext.h"

#include "catalogue/CostItems.h"
#include "catalogue/LaborRates.h"
#include "catalogue/UnitItems.h"
#include "common/Numbers.h"
#include "pricing/Sections.h"
#include "settings/SettingsStore.h"
#include "storage/modData.h"

#include <QSqlQuery>
#include <QTest>

namespace {

std::int32_t addItem(AppContext& ctx, const QString& type, const QString& cat, const QString& name,
                     Money amount, const QString& sku = QString()) {
    CostItems::CostItem c;
    c.costtype = type;
    c.cat = cat;
    c.costname = name;
    c.unit = QStringLiteral("ea");
    c.sku = sku;
    c.amount = amount;
    return CostItems::Save(ctx, c);
}

// Rows of one listing as "name" strings (column 2 holds the name in every listing).
QStringList names(AppContext& ctx, const CostItems::Statement& s) {
    QSqlQuery q = modData::exec(ctx, ctx.CostConn, s.sql, s.params);
    QStringList out;
    while (q.next())
        out << q.value(2).toString();
    return out;
}

// The browser's price of one unit item, or nothing when it is not listed.
std::optional<Money> unitPrice(AppContext& ctx, std::int32_t id) {
    const auto s = CostItems::UnitListSql();
    QSqlQuery q = modData::exec(ctx, ctx.CostConn, s.sql, s.params);
    while (q.next())
        if (q.value(0).toInt() == id)
            return Money::fromRaw(q.value(5).toLongLong());
    return std::nullopt;
}

int componentCount(AppContext& ctx, std::int32_t unitID) {
    return modData::scalar(ctx, ctx.CostConn,
                           QStringLiteral("select count(*) from unititems where matlaborid=?"),
                           {unitID})
        .toInt();
}

} // namespace

class tst_catalogue : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { TestContext::pinLocale(); }

    void apostrophes_data();
    void apostrophes();
    void saveKeepsFields();
    void unitItemPrice();
    void unitItemWithoutComponentsIsNotListed();
    void deleteUnitItemDeletesComponents();
    void storedComponentDeletedStaysDeleted();
    void quantityEdits();
    void emptyComponentListIsZero();
    void unitItemUnits_data();
    void unitItemUnits();
    void burdenRounding_data();
    void burdenRounding();
    void defaultBurdens();
    void laborItemRoundTrip();
    void laborJobTitle();
    void sectionsNumberedInCreationOrder();
    void sectionOrderMove();
    void sectionOrderKeepsEmptySectionsInPlace();
};

void tst_catalogue::apostrophes_data() {
    QTest::addColumn<QString>("cat");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "Flashing"
                           << "Step flashing";
    QTest::newRow("apostrophe") << "O'Neil's"
                                << "Contractor's nails";
    QTest::newRow("accents") << "Tôle é"
                             << "Ardoise « naturelle »";
    QTest::newRow("sql text") << "x' or '1'='1"
                              << "'); drop table costitem; --";
}

void tst_catalogue::apostrophes() {
    QFETCH(QString, cat);
    QFETCH(QString, name);
    TestContext tc;
    const auto id = addItem(tc.ctx, "Fee", cat, name, Money::fromCents(1000));
    QVERIFY(id > 0);
    QVERIFY(CostItems::Categories(tc.ctx, "Fee").contains(cat));
    QCOMPARE(names(tc.ctx, CostItems::ListSql("Fee", cat)), QStringList{name});
    QVERIFY(names(tc.ctx, CostItems::ListSql("Fee")).contains(name));
    QCOMPARE(CostItems::Load(tc.ctx, id)->costname, name);
}

void tst_catalogue::saveKeepsFields() {
    TestContext tc;
    const auto id =
        addItem(tc.ctx, "Material", "Vents", "Box vent", Money::fromCents(1999), "BV-1'2");
    auto c = *CostItems::Load(tc.ctx, id);
    c.costname = "Box vent, black";
    QCOMPARE(CostItems::Save(tc.ctx, c), id);
    const auto back = *CostItems::Load(tc.ctx, id);
    QCOMPARE(back.sku, QStringLiteral("BV-1'2"));
    QCOMPARE(back.costname, QStringLiteral("Box vent, black"));
    QCOMPARE(back.amount, Money::fromCents(1999));
    // A category beyond its column's size is refused and reported, not cut short.
    c.cat = QString(16, 'x');
    QCOMPARE(CostItems::Save(tc.ctx, c), 0);
    QCOMPARE(tc.prompt->count(), 1);
    QCOMPARE(CostItems::Load(tc.ctx, id)->cat, QStringLiteral("Vents"));
}

void tst_catalogue::unitItemPrice() {
    TestContext tc;
    const auto a = addItem(tc.ctx, "Material", "T", "A", Money::fromCents(4550));
    const auto b = addItem(tc.ctx, "Labor", "T", "B", Money::fromCents(1200));
    UnitItems::Begin(tc.ctx);
    UnitItems::AddComponent(tc.ctx, 0, a, 3.0f, "ea", "A", Money::fromCents(4550));
    UnitItems::AddComponent(tc.ctx, 0, b, 0.25f, "ea", "B", Money::fromCents(1200));
    QCOMPARE(UnitItems::Total(tc.ctx), Money::fromCents(13950));
    const auto id = UnitItems::Save(tc.ctx, 0, {"Assembly's", "Cat", "sq", ""});
    QVERIFY(id > 0);
    QCOMPARE(unitPrice(tc.ctx, id), std::optional(Money::fromCents(13950)));

    // The price follows the catalogue without touching the unit item.
    auto m = *CostItems::Load(tc.ctx, a);
    m.amount = Money::fromCents(5000);
    CostItems::Save(tc.ctx, m);
    QCOMPARE(unitPrice(tc.ctx, id), std::optional(Money::fromCents(15300)));
    UnitItems::PopTempTable(tc.ctx, id);
    QCOMPARE(UnitItems::Total(tc.ctx), Money::fromCents(15300));
}

void tst_catalogue::unitItemWithoutComponentsIsNotListed() {
    TestContext tc;
    UnitItems::Begin(tc.ctx);
    const auto id = UnitItems::Save(tc.ctx, 0, {"Empty", "Cat", "sq", "d"});
    QVERIFY(id > 0);
    QVERIFY(!unitPrice(tc.ctx, id).has_value());
    QVERIFY(unitPrice(tc.ctx, 1).has_value()); // a shipped one with components
}

void tst_catalogue::deleteUnitItemDeletesComponents() {
    TestContext tc;
    QVERIFY(componentCount(tc.ctx, 1) > 0);
    const int others = componentCount(tc.ctx, 2);
    QVERIFY(CostItems::DeleteUnitItem(tc.ctx, 1));
    QCOMPARE(componentCount(tc.ctx, 1), 0);
    QCOMPARE(componentCount(tc.ctx, 2), others);
    QVERIFY(!unitPrice(tc.ctx, 1).has_value());
}

void tst_catalogue::storedComponentDeletedStaysDeleted() {
    TestContext tc;
    UnitItems::Begin(tc.ctx);
    const int before = componentCount(tc.ctx, 1);
    UnitItems::PopTempTable(tc.ctx, 1);
    const auto first =
        modData::scalar(tc.ctx, tc.ctx.UnitDBConn, QStringLiteral("select min(id) from tempunit"))
            .toInt();
    UnitItems::DeleteComponent(tc.ctx, first);
    // No Save: the form was cancelled.
    QCOMPARE(componentCount(tc.ctx, 1), before - 1);
}

void tst_catalogue::quantityEdits() {
    TestContext tc;
    UnitItems::Begin(tc.ctx);
    UnitItems::PopTempTable(tc.ctx, 2);
    const int stored = componentCount(tc.ctx, 2);
    const auto storedRow =
        modData::scalar(tc.ctx, tc.ctx.UnitDBConn, QStringLiteral("select min(id) from tempunit"))
            .toInt();
    const auto mainID =
        modData::scalar(tc.ctx, tc.ctx.UnitDBConn,
                        QStringLiteral("select mainid from tempunit where id=?"), {storedRow});
    UnitItems::SetQty(tc.ctx, storedRow, 1.5f);
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.CostConn,
                             QStringLiteral("select itemqty from unititems where id=?"), {mainID})
                 .toDouble(),
             1.5);

    // A component chosen since the form opened changes in the working list; none is lost.
    UnitItems::AddComponent(tc.ctx, 2, 1, 1.0f, "sq", "Shingles", Money::fromCents(10000));
    const auto fresh =
        modData::scalar(tc.ctx, tc.ctx.UnitDBConn, QStringLiteral("select max(id) from tempunit"))
            .toInt();
    UnitItems::SetQty(tc.ctx, fresh, 2.5f);
    QCOMPARE(
        modData::scalar(tc.ctx, tc.ctx.UnitDBConn, QStringLiteral("select count(*) from tempunit"))
            .toInt(),
        stored + 1);
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.UnitDBConn,
                             QStringLiteral("select linetotal from tempunit where id=?"), {fresh})
                 .toLongLong(),
             Money::fromCents(25000).raw());
    UnitItems::Save(tc.ctx, 2, {"Ridge vent, installed", "Ventilation", "lf", "x"});
    QCOMPARE(componentCount(tc.ctx, 2), stored + 1);
    QCOMPARE(modData::scalar(tc.ctx, tc.ctx.CostConn,
                             QStringLiteral("select itemqty from unititems where matlaborid=2 "
                                            "order by id desc"))
                 .toDouble(),
             2.5);
}

void tst_catalogue::emptyComponentListIsZero() {
    TestContext tc;
    UnitItems::Begin(tc.ctx);
    QCOMPARE(UnitItems::Total(tc.ctx), Money());
}

void tst_catalogue::unitItemUnits_data() {
    QTest::addColumn<QVariantList>("stored"); // one unit item per unit; an invalid one is null
    QTest::addColumn<QStringList>("offered");
    QTest::newRow("none") << QVariantList{} << QStringList{};
    QTest::newRow("ascending") << QVariantList{"sq", "lf", "ea"} << QStringList{"ea", "lf", "sq"};
    QTest::newRow("each once") << QVariantList{"sq", "lf", "sq"} << QStringList{"lf", "sq"};
    QTest::newRow("blank and missing left out")
        << QVariantList{"", QVariant(), "sq"} << QStringList{"sq"};
    QTest::newRow("order ignores case") << QVariantList{"Sq", "ea"} << QStringList{"ea", "Sq"};
    QTest::newRow("apostrophe") << QVariantList{"ft'", "ea"} << QStringList{"ea", "ft'"};
}

void tst_catalogue::unitItemUnits() {
    QFETCH(QVariantList, stored);
    QFETCH(QStringList, offered);
    TestContext tc;
    modData::exec(tc.ctx, tc.ctx.CostConn, QStringLiteral("delete from costunit"));
    for (const QVariant& unit : stored)
        modData::exec(tc.ctx, tc.ctx.CostConn,
                      QStringLiteral("insert into costunit(mlname,mlcat,mlunit,mldesc) "
                                     "values('u','c',?,'')"),
                      {unit.isValid() ? unit : QVariant(QMetaType(QMetaType::QString))});
    // Units of cost items are not unit items' units.
    addItem(tc.ctx, "Material", "T", "A", Money::fromCents(1));
    QCOMPARE(UnitItems::DistinctUnits(tc.ctx), offered);
}

void tst_catalogue::burdenRounding_data() {
    QTest::addColumn<double>("typed");
    QTest::addColumn<double>("kept");
    QTest::newRow("1.23456") << 1.23456 << 1.235;
    QTest::newRow("0.0625 half to even down") << 0.0625 << 0.062;
    QTest::newRow("0.1875 half to even up") << 0.1875 << 0.188;
    QTest::newRow("whole") << 2.0 << 2.0;
}

void tst_catalogue::burdenRounding() {
    QFETCH(double, typed);
    QFETCH(double, kept);
    QCOMPARE(LaborRates::RoundBurden(typed), kept);
}

void tst_catalogue::defaultBurdens() {
    TestContext tc;
    auto& s = *tc.ctx.settings;
    s.set("Op", "Fringe", "10");
    s.set("Op", "WorkComp", "12.5");
    s.set("Op", "EmpTaxes", "7.65");
    s.set("Op", "OtherCosts", "zero");
    const auto p = LaborRates::DefaultPercents(tc.ctx);
    QCOMPARE(p[3], 0.0f);
    QCOMPARE(LaborRates::RoundBurden(LaborRates::Burden(20, p[0])), 2.0);
    QCOMPARE(LaborRates::RoundBurden(LaborRates::Burden(20, p[1])), 2.5);
    QCOMPARE(LaborRates::RoundBurden(LaborRates::Burden(20, p[2])), 1.53);
    QCOMPARE(LaborRates::Burden(18, 5), 0.9);
}

void tst_catalogue::laborItemRoundTrip() {
    TestContext tc;
    const auto id = LaborRates::CreateJobTitle(tc.ctx, "Roofer's helper");
    QVERIFY(id > 0);
    QCOMPARE(LaborRates::Load(tc.ctx, id)->total(), Money());
    LaborRates::Rates r{Money::fromCents(2000), Money::fromCents(200), Money::fromCents(250),
                        Money::fromCents(153), Money()};
    LaborRates::Save(tc.ctx, id, r, "Can't work Sundays");
    const auto item = *CostItems::Load(tc.ctx, id);
    QCOMPARE(item.amount, Money::fromCents(2603));
    QCOMPARE(item.cat, QStringLiteral("Hourly"));
    QCOMPARE(item.descrip, QStringLiteral("Can't work Sundays"));
    QCOMPARE(LaborRates::Load(tc.ctx, id)->taxes, Money::fromCents(153));
}

void tst_catalogue::laborJobTitle() {
    TestContext tc;
    const auto id = LaborRates::CreateJobTitle(tc.ctx, "Roofer's helper");
    const auto made = LaborRates::LoadJobTitle(tc.ctx, id);
    QVERIFY(made.has_value());
    QCOMPARE(made->title, QStringLiteral("Roofer's helper"));
    QVERIFY(!made->notes.has_value());
    LaborRates::Save(tc.ctx, id, {}, "Can't work Sundays");
    QCOMPARE(LaborRates::LoadJobTitle(tc.ctx, id)->notes,
             std::optional<QString>("Can't work Sundays"));
    QVERIFY(!LaborRates::LoadJobTitle(tc.ctx, id + 1).has_value());
}

void tst_catalogue::sectionsNumberedInCreationOrder() {
    TestContext tc;
    tc.createTempDB();
    QCOMPARE(Sections::Add(tc.ctx, "Tear-off"), 0);
    QCOMPARE(Sections::Add(tc.ctx, "Owner's extras"), 1);
    const auto list = Sections::List(tc.ctx);
    QCOMPARE(list.size(), 2);
    QCOMPARE(list[1].name, QStringLiteral("Owner's extras"));
    Sections::AddSharedName(tc.ctx, "Owner's extras");
    Sections::AddSharedName(tc.ctx, "Owner's extras");
    QCOMPARE(Sections::SharedNames(tc.ctx).count("Owner's extras"), 1);
}

namespace {
void addLine(AppContext& ctx, const QString& sect, int secOrder) {
    modData::exec(ctx, ctx.TempDBConn,
                  QStringLiteral("insert into tplineitems(sect,secorder,name,itemtable,unit,qty,"
                                 "cost,linetotal) values(?,?,'n','Material','ea',1,0,0)"),
                  {sect, secOrder});
}
QStringList order(AppContext& ctx) {
    QStringList out;
    for (const auto& e : SectionOrder::List(ctx))
        out << e.name;
    return out;
}
QString lineOrders(AppContext& ctx) {
    QSqlQuery q = modData::exec(ctx, ctx.TempDBConn,
                                QStringLiteral("select sect,secorder from tplineitems order by "
                                               "autoid"));
    QStringList out;
    while (q.next())
        out << q.value(0).toString() + "=" + q.value(1).toString();
    return out.join(',');
}
} // namespace

void tst_catalogue::sectionOrderMove() {
    TestContext tc;
    tc.createTempDB();
    for (const char* s : {"A", "B", "C"})
        addLine(tc.ctx, s, Sections::Add(tc.ctx, s));
    addLine(tc.ctx, "A", 0);
    const QString before = lineOrders(tc.ctx);

    SectionOrder::Begin(tc.ctx);
    const auto c = SectionOrder::List(tc.ctx)[2];
    SectionOrder::Move(tc.ctx, c.autoID, 2, 0);
    QCOMPARE(order(tc.ctx), (QStringList{"C", "B", "A"}));
    SectionOrder::Cancel(tc.ctx);
    QCOMPARE(lineOrders(tc.ctx), before);

    SectionOrder::Begin(tc.ctx); // opening again after a cancel finds no leftover table
    SectionOrder::Move(tc.ctx, SectionOrder::List(tc.ctx)[2].autoID, 2, 0);
    SectionOrder::Commit(tc.ctx);
    QCOMPARE(lineOrders(tc.ctx), QStringLiteral("A=2,B=1,C=0,A=2"));
    QCOMPARE(Sections::List(tc.ctx).first().name, QStringLiteral("C"));
}

void tst_catalogue::sectionOrderKeepsEmptySectionsInPlace() {
    TestContext tc;
    tc.createTempDB();
    // A section without lines at position 1 is not offered, and keeps its position: the two
    // others swap the positions they hold, so no two sections ever share one.
    addLine(tc.ctx, "A", Sections::Add(tc.ctx, "A"));
    Sections::Add(tc.ctx, "Empty");
    addLine(tc.ctx, "C", Sections::Add(tc.ctx, "C"));
    SectionOrder::Begin(tc.ctx);
    QCOMPARE(order(tc.ctx), (QStringList{"A", "C"}));
    SectionOrder::Move(tc.ctx, SectionOrder::List(tc.ctx)[0].autoID, 0, 1);
    QCOMPARE(order(tc.ctx), (QStringList{"C", "A"}));
    SectionOrder::Commit(tc.ctx);
    QCOMPARE(lineOrders(tc.ctx), QStringLiteral("A=2,C=0"));
    QStringList sections;
    for (const auto& s : Sections::List(tc.ctx))
        sections << s.name + "=" + QString::number(s.secOrder);
    QCOMPARE(sections, (QStringList{"C=0", "Empty=1", "A=2"}));
}

QTEST_GUILESS_MAIN(tst_catalogue)
#include "tst_catalogue.moc"
