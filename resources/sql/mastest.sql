-- The master list of estimates and the shared list of section names.

CREATE TABLE master (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  estname TEXT COLLATE NOCASE CHECK(length(estname) <= 50),
  esttype TEXT COLLATE NOCASE CHECK(length(esttype) <= 25),
  estaddress TEXT COLLATE NOCASE CHECK(length(estaddress) <= 100),
  estpath TEXT COLLATE NOCASE CHECK(length(estpath) <= 255),
  eststatus TEXT COLLATE NOCASE CHECK(length(eststatus) <= 20),
  estdate TEXT CHECK(estdate IS NULL OR date(estdate) = estdate),
  estlength INTEGER,
  -- The owner (first and last name), the estimate total in ten-thousandths (NULL until known)
  -- and the order of last use (the highest was opened or saved last): kept for the lists.
  estowner TEXT COLLATE NOCASE CHECK(length(estowner) <= 126),
  esttotal INTEGER,
  estused INTEGER
) STRICT;

CREATE TABLE sectionname (
  sectionname TEXT COLLATE NOCASE CHECK(length(sectionname) <= 50)
) STRICT;

INSERT INTO sectionname VALUES ('Tear-off');
INSERT INTO sectionname VALUES ('Roof deck');
INSERT INTO sectionname VALUES ('Underlayment');
INSERT INTO sectionname VALUES ('Shingles');
INSERT INTO sectionname VALUES ('Flashing');
INSERT INTO sectionname VALUES ('Ventilation');
INSERT INTO sectionname VALUES ('Gutters');
INSERT INTO sectionname VALUES ('Clean-up and disposal');
INSERT INTO sectionname VALUES ('Permits and fees');
