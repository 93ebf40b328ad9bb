-- Take-off rules: the measure of the roof a catalogue item's quantity follows and its coverage,
-- so that picking it proposes a quantity from the roof in work.
--   itemtable: 'costitem' or 'costunit'
--   measure:   1 squares to order, 2 roof area (sq ft), 3 lineal runs (lf), 4 roof planes
--   kinds:     for lineal runs, bit n set for lineal type n (5 Ridge, 6 Hip, 7 Valley, 8 Rake,
--              9 Eave, 10 Step flashing, 11 Wall flashing, 12 Drip edge)
--   amount:    ten-thousandths; purchase units per measure unit when permeasure is 1 (3 bundles
--              per square), measure units per purchase unit when it is 0 (33 lf per bundle)
CREATE TABLE IF NOT EXISTS takeoffrule (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  itemtable TEXT COLLATE NOCASE NOT NULL CHECK(itemtable IN ('costitem','costunit')),
  itemid INTEGER NOT NULL,
  measure INTEGER NOT NULL CHECK(measure BETWEEN 1 AND 4),
  kinds INTEGER NOT NULL DEFAULT 0,
  amount INTEGER NOT NULL CHECK(amount > 0),
  permeasure INTEGER NOT NULL DEFAULT 1,
  UNIQUE(itemtable, itemid)
) STRICT;

-- The shipped items, found by name and unit so that a catalogue the user changed keeps its own.
INSERT OR IGNORE INTO takeoffrule (itemtable,itemid,measure,kinds,amount,permeasure)
  SELECT 'costitem', ID, 1, 0, CASE WHEN unit = 'bdl' THEN 30000 ELSE 10000 END, 1 FROM costitem
  WHERE costname IN ('Architectural shingles, 30-year','3-tab shingles, 25-year') AND unit IN ('bdl','sq');
INSERT OR IGNORE INTO takeoffrule (itemtable,itemid,measure,kinds,amount,permeasure)
  SELECT 'costitem', ID, 1, 0, 100000, 0 FROM costitem
  WHERE costname = 'Synthetic underlayment' AND unit = 'roll';
INSERT OR IGNORE INTO takeoffrule (itemtable,itemid,measure,kinds,amount,permeasure)
  SELECT 'costitem', ID, 3, 640, 660000, 0 FROM costitem
  WHERE costname = 'Ice and water shield' AND unit = 'roll';
INSERT OR IGNORE INTO takeoffrule (itemtable,itemid,measure,kinds,amount,permeasure)
  SELECT 'costitem', ID, 3, 768, 1050000, 0 FROM costitem
  WHERE costname = 'Starter strip shingles' AND unit = 'bdl';
INSERT OR IGNORE INTO takeoffrule (itemtable,itemid,measure,kinds,amount,permeasure)
  SELECT 'costitem', ID, 3, 96, 330000, 0 FROM costitem
  WHERE costname = 'Hip and ridge cap shingles' AND unit = 'bdl';
INSERT OR IGNORE INTO takeoffrule (itemtable,itemid,measure,kinds,amount,permeasure)
  SELECT 'costitem', ID, 3, 768, 100000, 0 FROM costitem
  WHERE costname = 'Drip edge, 10 ft' AND unit = 'pc';
INSERT OR IGNORE INTO takeoffrule (itemtable,itemid,measure,kinds,amount,permeasure)
  SELECT 'costitem', ID, 2, 0, 1000000, 0 FROM costitem
  WHERE costname IN ('Tear-off, one layer','Install shingles') AND unit = 'sq';
INSERT OR IGNORE INTO takeoffrule (itemtable,itemid,measure,kinds,amount,permeasure)
  SELECT 'costitem', ID, 3, 768, 10000, 1 FROM costitem
  WHERE costname = 'Install drip edge' AND unit = 'lf';
