-- Factory parts-file template (ROPartsFileTemplateDefault.mdb).
--
-- Built at build time with:  sqlite3 -bail ROPartsFileTemplateDefault.mdb < ROPartsFileTemplate.sql
-- A conversion empties tblParts of the runtime copy, fills it with the valid parts, updates
-- the labels in tblUserLabels and copies the whole file to the chosen .rdb name.
--
-- tblParts and tblUserLabels here and in ManualPartsTemplate.sql must stay identical:
-- a manually made parts file is a copy of that database, and combining parts files
-- copies every column of this template's tblParts from each source file.

PRAGMA page_size = 16384;
BEGIN TRANSACTION;

DROP TABLE IF EXISTS tblParts;
DROP TABLE IF EXISTS tblUserLabels;

-- One row per part. AutoIDNum is assigned on insert and never written by the program.
CREATE TABLE tblParts (
    AutoIDNum   INTEGER PRIMARY KEY AUTOINCREMENT,
    SEQ_NUM     INTEGER DEFAULT 0,
    Quantity    INTEGER DEFAULT 1,
    Thickness   REAL DEFAULT 0,
    Width       REAL DEFAULT 0,
    Length      REAL DEFAULT 0,
    Part        TEXT COLLATE NOCASE DEFAULT '',
    Material    TEXT COLLATE NOCASE DEFAULT '',
    Scribes     TEXT COLLATE NOCASE DEFAULT '',
    SpaceBalls  TEXT COLLATE NOCASE DEFAULT '',
    PocketHoles BOOLEAN DEFAULT 0,
    Panel       BOOLEAN DEFAULT 0,
    B_Grade     BOOLEAN DEFAULT 0,
    FileName    TEXT COLLATE NOCASE DEFAULT '',
    UF_1        TEXT COLLATE NOCASE DEFAULT '',
    UF_2        TEXT COLLATE NOCASE DEFAULT '',
    UF_3        TEXT COLLATE NOCASE DEFAULT '',
    UF_4        TEXT COLLATE NOCASE DEFAULT '',
    UF_5        TEXT COLLATE NOCASE DEFAULT '',
    UF_6        TEXT COLLATE NOCASE DEFAULT '',
    UF_7        TEXT COLLATE NOCASE DEFAULT '',
    UF_8        TEXT COLLATE NOCASE DEFAULT '',
    UF_9        TEXT COLLATE NOCASE DEFAULT '',
    UF_10       TEXT COLLATE NOCASE DEFAULT '',
    UF_11       TEXT COLLATE NOCASE DEFAULT '',
    UF_12       TEXT COLLATE NOCASE DEFAULT '',
    UF_13       TEXT COLLATE NOCASE DEFAULT '',
    UF_14       TEXT COLLATE NOCASE DEFAULT '',
    UF_15       TEXT COLLATE NOCASE DEFAULT '',
    UF_16       TEXT COLLATE NOCASE DEFAULT '',
    UF_17       TEXT COLLATE NOCASE DEFAULT '',
    UF_18       TEXT COLLATE NOCASE DEFAULT '',
    UF_19       TEXT COLLATE NOCASE DEFAULT '',
    UF_20       TEXT COLLATE NOCASE DEFAULT ''
);

-- The display label of every machine field, by its MainName. Rows are never added or
-- removed by the program; only UserLabel is rewritten when a file is written.
CREATE TABLE tblUserLabels (
    DBName    TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    UserLabel TEXT COLLATE NOCASE
);

INSERT INTO tblUserLabels (DBName, UserLabel) VALUES
    ('PART',        'PART'),
    ('MATERIAL',    'MATERIAL'),
    ('THICKNESS',   'THICKNESS'),
    ('WIDTH',       'WIDTH'),
    ('LENGTH',      'LENGTH'),
    ('QUANTITY',    'QUANTITY'),
    ('SEQ_NUM',     'SEQ_NUM'),
    ('SCRIBES',     'SCRIBES'),
    ('SPACEBALLS',  'SPACEBALLS'),
    ('POCKETHOLES', 'POCKETHOLES'),
    ('B_GRADE',     'B_GRADE'),
    ('PANEL',       'PANEL'),
    ('UF_1',        'CABINET'),
    ('UF_2',        'EDGE'),
    ('UF_3',        'UF_3'),
    ('UF_4',        'UF_4'),
    ('UF_5',        'UF_5'),
    ('UF_6',        'UF_6'),
    ('UF_7',        'UF_7'),
    ('UF_8',        'UF_8'),
    ('UF_9',        'UF_9'),
    ('UF_10',       'UF_10'),
    ('UF_11',       'UF_11'),
    ('UF_12',       'UF_12'),
    ('UF_13',       'UF_13'),
    ('UF_14',       'UF_14'),
    ('UF_15',       'UF_15'),
    ('UF_16',       'UF_16'),
    ('UF_17',       'UF_17'),
    ('UF_18',       'UF_18'),
    ('UF_19',       'UF_19'),
    ('UF_20',       'UF_20');

COMMIT;
