-- The cost catalogue shipped with the program: a roofer's starting price list.
-- Money columns hold ten-thousandths of a dollar (12.50 is 125000).

CREATE TABLE costitem (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  costtype TEXT COLLATE NOCASE NOT NULL
    CHECK(costtype IN ('Material','Labor','SubCon','Equip','Fee')),
  cat TEXT COLLATE NOCASE CHECK(length(cat) <= 15),
  costname TEXT COLLATE NOCASE CHECK(length(costname) <= 50),
  manufacturer TEXT COLLATE NOCASE CHECK(length(manufacturer) <= 50),
  sku TEXT COLLATE NOCASE CHECK(length(sku) <= 50),
  unit TEXT COLLATE NOCASE CHECK(length(unit) <= 10),
  descrip TEXT COLLATE NOCASE CHECK(length(descrip) <= 255),
  amount INTEGER DEFAULT 0
) STRICT;

CREATE TABLE laborcost (
  costid INTEGER,
  baserate INTEGER,
  fringe INTEGER,
  workcomp INTEGER,
  taxes INTEGER,
  other INTEGER
) STRICT;

CREATE TABLE costunit (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  mlname TEXT COLLATE NOCASE CHECK(length(mlname) <= 50),
  mlcat TEXT COLLATE NOCASE CHECK(length(mlcat) <= 15),
  mlunit TEXT COLLATE NOCASE CHECK(length(mlunit) <= 10),
  mldesc TEXT COLLATE NOCASE CHECK(length(mldesc) <= 255)
) STRICT;

CREATE TABLE unititems (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  matlaborid INTEGER,
  itemid INTEGER,
  itemqty REAL
) STRICT;

CREATE INDEX costitem_type ON costitem(costtype, cat);
CREATE INDEX unititems_unit ON unititems(matlaborid);
CREATE INDEX laborcost_cost ON laborcost(costid);

-- One row per component of a unit item: its quantity times the component's current price,
-- rounded to ten-thousandths. The sum per ID is the unit item's price.
CREATE VIEW UnitQry AS
  SELECT unititems.matlaborid AS ID,
         CAST(round(unititems.itemqty * costitem.amount) AS INTEGER) AS "Line Total"
  FROM unititems INNER JOIN costitem ON costitem.ID = unititems.itemid;

-- Materials
INSERT INTO costitem VALUES (1,'Material','Shingles','Architectural shingles, 30-year','Ridgeline Building Products','RL-AR30-WW','bdl','Laminated asphalt shingles, weathered wood, 3 bundles per square',383333);
INSERT INTO costitem VALUES (2,'Material','Shingles','3-tab shingles, 25-year','Ridgeline Building Products','RL-3T25-CB','bdl','Strip shingles, charcoal black, 3 bundles per square',283333);
INSERT INTO costitem VALUES (3,'Material','Underlayment','Synthetic underlayment','Northfork Roofing Supply','NF-SYN10','roll','Synthetic felt, 10 squares per roll',1450000);
INSERT INTO costitem VALUES (4,'Material','Underlayment','#15 felt paper','Northfork Roofing Supply','NF-F15','roll','Asphalt-saturated felt, 4 squares per roll',280000);
INSERT INTO costitem VALUES (5,'Material','Underlayment','Ice and water shield','Northfork Roofing Supply','NF-IWS2','roll','Self-adhered membrane, 2 squares per roll',1100000);
INSERT INTO costitem VALUES (6,'Material','Metal','Drip edge, 10 ft','Summit Metal Works','SM-DE10-W','pc','Aluminum drip edge, white, 10 foot length',85000);
INSERT INTO costitem VALUES (7,'Material','Shingles','Starter strip shingles','Ridgeline Building Products','RL-ST','bdl','Starter strip, 105 lineal feet per bundle',450000);
INSERT INTO costitem VALUES (8,'Material','Shingles','Hip and ridge cap shingles','Ridgeline Building Products','RL-HR','bdl','Ridge cap, 33 lineal feet per bundle',650000);
INSERT INTO costitem VALUES (9,'Material','Ventilation','Ridge vent, 4 ft','Summit Metal Works','SM-RV4','pc','Shingle-over ridge vent, 4 foot section',180000);
INSERT INTO costitem VALUES (10,'Material','Flashing','Pipe boot, 1-1/2 to 3 in','Summit Metal Works','SM-PB3','ea','Neoprene pipe flashing',120000);
INSERT INTO costitem VALUES (11,'Material','Fasteners','Coil roofing nails, 1-1/4 in','Fastline','FL-CN125','box','Galvanized coil nails, 7,200 per box',420000);
INSERT INTO costitem VALUES (12,'Material','Flashing','Step flashing, 4 x 4 x 8','Summit Metal Works','SM-SF448','bdl','Aluminum step flashing, 100 pieces',380000);
INSERT INTO costitem VALUES (13,'Material','Sealants','Roofing sealant','Fastline','FL-RS10','tube','Polyurethane roof sealant, 10 oz',85000);
INSERT INTO costitem VALUES (14,'Material','Decking','OSB sheathing, 7/16 in','Valley Lumber','VL-OSB716','sheet','4 x 8 sheet for deck repairs',180000);
-- Labor
INSERT INTO costitem VALUES (15,'Labor','Hourly','Roofer','','','hr','Journeyman roofer',290700);
INSERT INTO costitem VALUES (16,'Labor','Hourly','Roofing laborer','','','hr','Tear-off and clean-up crew member',188000);
INSERT INTO costitem VALUES (17,'Labor','Tear-off','Tear-off, one layer','','','sq','Remove one layer of asphalt shingles and felt',450000);
INSERT INTO costitem VALUES (18,'Labor','Install','Install shingles','','','sq','Install underlayment and architectural shingles',750000);
INSERT INTO costitem VALUES (19,'Labor','Install','Install drip edge','','','lf','Install drip edge at eaves and rakes',12500);
INSERT INTO costitem VALUES (20,'Labor','Install','Install ridge vent','','','lf','Cut vent slot and install ridge vent',35000);
-- Subcontractors
INSERT INTO costitem VALUES (21,'SubCon','Gutters','Seamless gutters, 5 in','Clearflow Gutter Co.','','lf','Seamless aluminum gutter, installed',75000);
INSERT INTO costitem VALUES (22,'SubCon','Gutters','Downspouts','Clearflow Gutter Co.','','lf','2 x 3 aluminum downspout, installed',65000);
-- Equipment
INSERT INTO costitem VALUES (23,'Equip','Disposal','Dumpster, 20 yard','','','ea','Roll-off container, one week',4500000);
INSERT INTO costitem VALUES (24,'Equip','Lifts','Shingle lift','','','day','Ladder hoist rental',950000);
INSERT INTO costitem VALUES (25,'Equip','Safety','Fall protection kit','','','day','Harness, rope and anchors',250000);
-- Fees
INSERT INTO costitem VALUES (26,'Fee','Permits','Building permit','','','ea','Re-roofing permit',1500000);
INSERT INTO costitem VALUES (27,'Fee','Disposal','Landfill disposal fee','','','ton','Tipping fee for roofing debris',650000);
INSERT INTO costitem VALUES (28,'Fee','Inspection','Final inspection','','','ea','Municipal final inspection',500000);

-- Hourly labor: base rate and burdens per hour (the item's amount is their sum).
INSERT INTO laborcost VALUES (15,220000,44000,99000,16830,0);
INSERT INTO laborcost VALUES (16,150000,3000,0,11480,0);
UPDATE costitem SET amount = 220000+44000+99000+16830 WHERE ID = 15;
UPDATE costitem SET amount = 150000+3000+0+11480 WHERE ID = 16;

-- Unit items: priced per unit of work from their components.
INSERT INTO costunit VALUES (1,'Re-roof system, architectural','Roof systems','sq','Tear-off, synthetic felt, architectural shingles, nails');
INSERT INTO unititems (matlaborid,itemid,itemqty) VALUES (1,17,1);
INSERT INTO unititems (matlaborid,itemid,itemqty) VALUES (1,18,1);
INSERT INTO unititems (matlaborid,itemid,itemqty) VALUES (1,1,3);
INSERT INTO unititems (matlaborid,itemid,itemqty) VALUES (1,3,0.1);
INSERT INTO unititems (matlaborid,itemid,itemqty) VALUES (1,11,0.25);
INSERT INTO costunit VALUES (2,'Ridge vent, installed','Ventilation','lf','Ridge vent and its installation, per lineal foot');
INSERT INTO unititems (matlaborid,itemid,itemqty) VALUES (2,9,0.25);
INSERT INTO unititems (matlaborid,itemid,itemqty) VALUES (2,20,1);
INSERT INTO costunit VALUES (3,'Eave protection','Underlayment','lf','Ice and water shield and drip edge at the eaves, per lineal foot');
INSERT INTO unititems (matlaborid,itemid,itemqty) VALUES (3,5,0.0154);
INSERT INTO unititems (matlaborid,itemid,itemqty) VALUES (3,6,0.1);
INSERT INTO unititems (matlaborid,itemid,itemqty) VALUES (3,19,1);
INSERT INTO costunit VALUES (4,'Pipe flashing, replaced','Flashing','ea','New pipe boot with sealant');
INSERT INTO unititems (matlaborid,itemid,itemqty) VALUES (4,10,1);
INSERT INTO unititems (matlaborid,itemid,itemqty) VALUES (4,13,0.25);
INSERT INTO unititems (matlaborid,itemid,itemqty) VALUES (4,15,0.25);
