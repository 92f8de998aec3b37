-- Factory configuration database (CLTDefDefault.mdb).
--
-- Built at build time with:  sqlite3 -bail CLTDefDefault.mdb < CLTDef.sql
-- The program copies it to <runtime folder>/CLTDef.mdb whenever that file is missing.
--
-- Column conventions, relied on by the table store:
--   text            TEXT COLLATE NOCASE   (filters and sorting ignore letter case)
--   Boolean         BOOLEAN, 0 or 1       (any non-zero value reads as true)
--   whole number    INTEGER
--   number          REAL
--   autonumber key  INTEGER PRIMARY KEY AUTOINCREMENT, first column of its table
-- Column order matters: grids show the columns in table order and hide some by position.
--
-- The factory mapping fits examples/cutlist.csv (comma delimited, one header line):
--   1 Seq  2 Part  3 Material  4 Thick  5 Width  6 Length  7 Qty  8 Scribes  9 Cabinet  10 Edge

PRAGMA page_size = 16384;
BEGIN TRANSACTION;

DROP TABLE IF EXISTS tblSettings;
DROP TABLE IF EXISTS tblDelimiters;
DROP TABLE IF EXISTS tblPartsFileMapping;
DROP TABLE IF EXISTS tblHeaderNames;
DROP TABLE IF EXISTS tblDefaultMappingsID;
DROP TABLE IF EXISTS tblDefaultMappingCSV;
DROP TABLE IF EXISTS tblDefaultMappingTXT;
DROP TABLE IF EXISTS tblDefaultMappingCUT;
DROP TABLE IF EXISTS tblPartsCriteria;
DROP TABLE IF EXISTS tblMaterials;
DROP TABLE IF EXISTS tblPartsFileProcessTemplate;
DROP TABLE IF EXISTS tblProcesses;

-- ---------------------------------------------------------------------------------------
-- Settings: one row per key, values stored as text (numbers in decimal, Booleans 1/0).
-- Every key has its row, so that savers which never add rows still find one.
-- ---------------------------------------------------------------------------------------
CREATE TABLE tblSettings (
    SettingName  TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,
    SettingValue TEXT COLLATE NOCASE
);

INSERT INTO tblSettings (SettingName, SettingValue) VALUES
    ('MachineType',               '2'),   -- Cutwise with Crayon Defecting
    ('Scribes',                   '0'),
    ('SpaceBalls',                '0'),
    ('PocketHoles',               '0'),
    ('AskIfValid',                '1'),
    ('FileExtension',             'CSV'), -- the factory mapping is for a .csv layout
    ('MappingSkipFirstXLines',    '1'),   -- the factory layout has one header line
    ('ProcessingSkipFirstXLines', '1'),
    ('NoQuantityField',           '0'),
    ('ConvertLengthType',         '0'),   -- no length conversion
    ('ExtraSpaceBalls3',          ''),
    ('ExtraSpaceBalls4',          ''),
    ('QuotedFields',              '0'),   -- split fields as RFC 4180 quotes them
    ('LengthsWithUnits',          '0'),   -- accept 23 1/4, 29-1/16", 600 mm, 53,5
    ('FeetAndInches',             '0'),   -- with LengthsWithUnits: 5' 6", 2 ft 3 in
    ('DimensionsOrder',           'LWT'), -- the numbers of a DIMENSIONS cell: L x W x T
    ('SortDimensions',            '0');   -- largest is the length, smallest the thickness

-- ---------------------------------------------------------------------------------------
-- Field delimiters offered by the mapping screen; IDs run 1..n without gaps.
-- ---------------------------------------------------------------------------------------
CREATE TABLE tblDelimiters (
    ID             INTEGER NOT NULL UNIQUE,
    Delimiter_Name TEXT COLLATE NOCASE,
    Delimiter      TEXT COLLATE NOCASE,
    Selected       BOOLEAN NOT NULL DEFAULT 0
);

INSERT INTO tblDelimiters (ID, Delimiter_Name, Delimiter, Selected) VALUES
    (1, 'Comma ( , )',     ',',      1),
    (2, 'Tab',             char(9),  0),
    (3, 'Semicolon ( ; )', ';',      0);

-- ---------------------------------------------------------------------------------------
-- Column mapping: one row per machine field, IDNum 1..N without gaps.
-- PF_Col is the 1-based column of the delimited file, 0 when not mapped.
-- DataType: LONG (whole number), DOUBLE (number), anything else is free text.
-- Labels are held in capitals; the SCRIBES label is fixed.
-- ManualField follows the rule the mapping screen applies when it saves:
-- required fields, SCRIBES and every mapped field.
-- ---------------------------------------------------------------------------------------
CREATE TABLE tblPartsFileMapping (
    IDNum         INTEGER NOT NULL UNIQUE,
    MainName      TEXT COLLATE NOCASE NOT NULL,
    UserLabel     TEXT COLLATE NOCASE,
    PF_Col        INTEGER NOT NULL DEFAULT 0,
    RequiredField BOOLEAN DEFAULT 0,
    ManualField   BOOLEAN DEFAULT 0,
    DataType      TEXT COLLATE NOCASE
);

INSERT INTO tblPartsFileMapping (IDNum, MainName, UserLabel, PF_Col, RequiredField, ManualField, DataType) VALUES
    ( 1, 'PART',        'PART',        2, 1, 1, 'TEXT'),
    ( 2, 'MATERIAL',    'MATERIAL',    3, 0, 1, 'TEXT'),
    ( 3, 'THICKNESS',   'THICKNESS',   4, 0, 1, 'DOUBLE'),
    ( 4, 'WIDTH',       'WIDTH',       5, 1, 1, 'DOUBLE'),
    ( 5, 'LENGTH',      'LENGTH',      6, 1, 1, 'DOUBLE'),
    ( 6, 'QUANTITY',    'QUANTITY',    7, 0, 1, 'LONG'),
    ( 7, 'SEQ_NUM',     'SEQ_NUM',     1, 0, 1, 'LONG'),
    ( 8, 'SCRIBES',     'SCRIBES',     8, 0, 1, 'TEXT'),
    ( 9, 'SPACEBALLS',  'SPACEBALLS',  0, 0, 0, 'TEXT'),
    (10, 'POCKETHOLES', 'POCKETHOLES', 0, 0, 0, 'LONG'),
    (11, 'B_GRADE',     'B_GRADE',     0, 0, 0, 'LONG'),
    (12, 'PANEL',       'PANEL',       0, 0, 0, 'LONG'),
    (13, 'UF_1',        'CABINET',     9, 0, 1, 'TEXT'),
    (14, 'UF_2',        'EDGE',       10, 0, 1, 'TEXT'),
    (15, 'UF_3',        'UF_3',        0, 0, 0, 'TEXT'),
    (16, 'UF_4',        'UF_4',        0, 0, 0, 'TEXT'),
    (17, 'UF_5',        'UF_5',        0, 0, 0, 'TEXT'),
    (18, 'UF_6',        'UF_6',        0, 0, 0, 'TEXT'),
    (19, 'UF_7',        'UF_7',        0, 0, 0, 'TEXT'),
    (20, 'UF_8',        'UF_8',        0, 0, 0, 'TEXT'),
    (21, 'UF_9',        'UF_9',        0, 0, 0, 'TEXT'),
    (22, 'UF_10',       'UF_10',       0, 0, 0, 'TEXT'),
    (23, 'UF_11',       'UF_11',       0, 0, 0, 'TEXT'),
    (24, 'UF_12',       'UF_12',       0, 0, 0, 'TEXT'),
    (25, 'UF_13',       'UF_13',       0, 0, 0, 'TEXT'),
    (26, 'UF_14',       'UF_14',       0, 0, 0, 'TEXT'),
    (27, 'UF_15',       'UF_15',       0, 0, 0, 'TEXT'),
    (28, 'UF_16',       'UF_16',       0, 0, 0, 'TEXT'),
    (29, 'UF_17',       'UF_17',       0, 0, 0, 'TEXT'),
    (30, 'UF_18',       'UF_18',       0, 0, 0, 'TEXT'),
    (31, 'UF_19',       'UF_19',       0, 0, 0, 'TEXT'),
    (32, 'UF_20',       'UF_20',       0, 0, 0, 'TEXT'),
    -- One column holding length, width and thickness (800x720x19); read into those fields.
    (33, 'DIMENSIONS',  'DIMENSIONS',  0, 0, 0, 'TEXT');

-- ---------------------------------------------------------------------------------------
-- Known header names: how other programs' cut lists head the machine fields' columns
-- (English and German). "Match Columns By Header" compares them, the display labels and
-- MainName with each header, ignoring case, blanks, punctuation and a unit. A shop may add
-- its own rows.
-- ---------------------------------------------------------------------------------------
CREATE TABLE tblHeaderNames (
    MainName   TEXT COLLATE NOCASE NOT NULL,
    HeaderName TEXT COLLATE NOCASE NOT NULL
);

INSERT INTO tblHeaderNames (MainName, HeaderName) VALUES
    ('PART', 'Part name'), ('PART', 'Name'), ('PART', 'Item'), ('PART', 'Label'), ('PART', 'Component'), ('PART', 'Component name'), ('PART', 'Piece'), ('PART', 'Bezeichnung'), ('PART', 'Benennung'), ('PART', 'Teil'), ('PART', 'Teilname'), ('PART', 'Bauteil'),
    ('MATERIAL', 'Material'), ('MATERIAL', 'Species'), ('MATERIAL', 'Wood'), ('MATERIAL', 'Werkstoff'), ('MATERIAL', 'Holzart'), ('MATERIAL', 'Decor'), ('MATERIAL', 'Dekor'),
    ('THICKNESS', 'Thickness'), ('THICKNESS', 'Thick'), ('THICKNESS', 'Thk'), ('THICKNESS', 'T'), ('THICKNESS', 'Stärke'), ('THICKNESS', 'Staerke'), ('THICKNESS', 'Dicke'), ('THICKNESS', 'Materialstärke'), ('THICKNESS', 'Materialstaerke'),
    ('WIDTH', 'Width'), ('WIDTH', 'W'), ('WIDTH', 'Breite'), ('WIDTH', 'B'),
    ('LENGTH', 'Length'), ('LENGTH', 'Long'), ('LENGTH', 'L'), ('LENGTH', 'Height'), ('LENGTH', 'H'), ('LENGTH', 'Länge'), ('LENGTH', 'Laenge'), ('LENGTH', 'Höhe'), ('LENGTH', 'Hoehe'),
    ('QUANTITY', 'Quantity'), ('QUANTITY', 'Qty'), ('QUANTITY', 'Count'), ('QUANTITY', 'Pcs'), ('QUANTITY', 'Pieces'), ('QUANTITY', 'Anzahl'), ('QUANTITY', 'Menge'), ('QUANTITY', 'Stück'), ('QUANTITY', 'Stueck'), ('QUANTITY', 'Stk'),
    ('SEQ_NUM', 'Seq'), ('SEQ_NUM', 'Sequence'), ('SEQ_NUM', 'Line'), ('SEQ_NUM', 'No'), ('SEQ_NUM', 'Nr'), ('SEQ_NUM', 'Number'), ('SEQ_NUM', 'Pos'), ('SEQ_NUM', 'Position'), ('SEQ_NUM', 'Lfd Nr'), ('SEQ_NUM', 'Laufende Nummer'),
    ('SCRIBES', 'Scribe'), ('SCRIBES', 'Scribes'), ('SCRIBES', 'Scribe marks'), ('SCRIBES', 'Anriss'), ('SCRIBES', 'Anrisse'),
    ('SPACEBALLS', 'Space balls'), ('SPACEBALLS', 'Spacers'), ('SPACEBALLS', 'Abstandhalter'),
    ('POCKETHOLES', 'Pocket holes'), ('POCKETHOLES', 'Pocket screws'), ('POCKETHOLES', 'Taschenbohrungen'), ('POCKETHOLES', 'Taschenlöcher'),
    ('B_GRADE', 'B grade'), ('B_GRADE', 'Grade'), ('B_GRADE', 'Quality'), ('B_GRADE', 'B-Ware'), ('B_GRADE', 'Qualität'),
    ('PANEL', 'Panel'), ('PANEL', 'Platte');

-- ---------------------------------------------------------------------------------------
-- Default mappings: the list, and one table per known file layout. Each table has a row
-- per machine field (IDNum as in tblPartsFileMapping) so that loading it leaves every
-- display label unique. MainName is carried only to make the rows readable.
-- ---------------------------------------------------------------------------------------
CREATE TABLE tblDefaultMappingsID (
    IDNum             INTEGER NOT NULL UNIQUE,
    Extension         TEXT COLLATE NOCASE,
    Description       TEXT COLLATE NOCASE,
    DefaultTableName  TEXT COLLATE NOCASE,
    FirstRowIsNotPart BOOLEAN NOT NULL DEFAULT 0
);

INSERT INTO tblDefaultMappingsID (IDNum, Extension, Description, DefaultTableName, FirstRowIsNotPart) VALUES
    (1, 'CSV', 'Comma delimited cut list with a header line: Seq, Part, Material, Thick, Width, Length, Qty, Scribes, Cabinet, Edge (inches)',
        'tblDefaultMappingCSV', 1),
    (2, 'TXT', 'Tab delimited cabinet design export with a header line: Cab No, Part Name, Qty, Length, Width, Thick, Material, Grain, Edging, Comment',
        'tblDefaultMappingTXT', 1),
    (3, 'CUT', 'Semicolon delimited list in millimetres, no header: Pos; Description; Material; Length; Width; Thickness; Qty; Scribes; Order No (convert mm to inches)',
        'tblDefaultMappingCUT', 0);

-- The factory layout itself (examples/cutlist.csv).
CREATE TABLE tblDefaultMappingCSV (
    IDNum     INTEGER NOT NULL UNIQUE,
    UserLabel TEXT COLLATE NOCASE,
    PF_Col    INTEGER NOT NULL DEFAULT 0,
    MainName  TEXT COLLATE NOCASE
);

INSERT INTO tblDefaultMappingCSV (IDNum, UserLabel, PF_Col, MainName)
    SELECT IDNum, UserLabel, PF_Col, MainName FROM tblPartsFileMapping ORDER BY IDNum;

-- Tab delimited export of a cabinet design program. No sequence column: the conversion
-- numbers the rows itself.
CREATE TABLE tblDefaultMappingTXT (
    IDNum     INTEGER NOT NULL UNIQUE,
    UserLabel TEXT COLLATE NOCASE,
    PF_Col    INTEGER NOT NULL DEFAULT 0,
    MainName  TEXT COLLATE NOCASE
);

INSERT INTO tblDefaultMappingTXT (IDNum, UserLabel, PF_Col, MainName) VALUES
    ( 1, 'PART NAME',   2, 'PART'),
    ( 2, 'MATERIAL',    7, 'MATERIAL'),
    ( 3, 'THICK',       6, 'THICKNESS'),
    ( 4, 'WIDTH',       5, 'WIDTH'),
    ( 5, 'LENGTH',      4, 'LENGTH'),
    ( 6, 'QTY',         3, 'QUANTITY'),
    ( 7, 'SEQ_NUM',     0, 'SEQ_NUM'),
    ( 8, 'SCRIBES',     0, 'SCRIBES'),
    ( 9, 'SPACEBALLS',  0, 'SPACEBALLS'),
    (10, 'POCKETHOLES', 0, 'POCKETHOLES'),
    (11, 'B_GRADE',     0, 'B_GRADE'),
    (12, 'PANEL',       0, 'PANEL'),
    (13, 'CAB NO',      1, 'UF_1'),
    (14, 'GRAIN',       8, 'UF_2'),
    (15, 'EDGING',      9, 'UF_3'),
    (16, 'COMMENT',    10, 'UF_4'),
    (17, 'UF_5',        0, 'UF_5'),
    (18, 'UF_6',        0, 'UF_6'),
    (19, 'UF_7',        0, 'UF_7'),
    (20, 'UF_8',        0, 'UF_8'),
    (21, 'UF_9',        0, 'UF_9'),
    (22, 'UF_10',       0, 'UF_10'),
    (23, 'UF_11',       0, 'UF_11'),
    (24, 'UF_12',       0, 'UF_12'),
    (25, 'UF_13',       0, 'UF_13'),
    (26, 'UF_14',       0, 'UF_14'),
    (27, 'UF_15',       0, 'UF_15'),
    (28, 'UF_16',       0, 'UF_16'),
    (29, 'UF_17',       0, 'UF_17'),
    (30, 'UF_18',       0, 'UF_18'),
    (31, 'UF_19',       0, 'UF_19'),
    (32, 'UF_20',       0, 'UF_20'),
    (33, 'DIMENSIONS',  0, 'DIMENSIONS');

-- Semicolon delimited list in millimetres without a header line.
CREATE TABLE tblDefaultMappingCUT (
    IDNum     INTEGER NOT NULL UNIQUE,
    UserLabel TEXT COLLATE NOCASE,
    PF_Col    INTEGER NOT NULL DEFAULT 0,
    MainName  TEXT COLLATE NOCASE
);

INSERT INTO tblDefaultMappingCUT (IDNum, UserLabel, PF_Col, MainName) VALUES
    ( 1, 'DESCRIPTION',  2, 'PART'),
    ( 2, 'MATERIAL',     3, 'MATERIAL'),
    ( 3, 'THICKNESS MM', 6, 'THICKNESS'),
    ( 4, 'WIDTH MM',     5, 'WIDTH'),
    ( 5, 'LENGTH MM',    4, 'LENGTH'),
    ( 6, 'QTY',          7, 'QUANTITY'),
    ( 7, 'POS',          1, 'SEQ_NUM'),
    ( 8, 'SCRIBES',      8, 'SCRIBES'),
    ( 9, 'SPACEBALLS',   0, 'SPACEBALLS'),
    (10, 'POCKETHOLES',  0, 'POCKETHOLES'),
    (11, 'B_GRADE',      0, 'B_GRADE'),
    (12, 'PANEL',        0, 'PANEL'),
    (13, 'ORDER NO',     9, 'UF_1'),
    (14, 'UF_2',         0, 'UF_2'),
    (15, 'UF_3',         0, 'UF_3'),
    (16, 'UF_4',         0, 'UF_4'),
    (17, 'UF_5',         0, 'UF_5'),
    (18, 'UF_6',         0, 'UF_6'),
    (19, 'UF_7',         0, 'UF_7'),
    (20, 'UF_8',         0, 'UF_8'),
    (21, 'UF_9',         0, 'UF_9'),
    (22, 'UF_10',        0, 'UF_10'),
    (23, 'UF_11',        0, 'UF_11'),
    (24, 'UF_12',        0, 'UF_12'),
    (25, 'UF_13',        0, 'UF_13'),
    (26, 'UF_14',        0, 'UF_14'),
    (27, 'UF_15',        0, 'UF_15'),
    (28, 'UF_16',        0, 'UF_16'),
    (29, 'UF_17',        0, 'UF_17'),
    (30, 'UF_18',        0, 'UF_18'),
    (31, 'UF_19',        0, 'UF_19'),
    (32, 'UF_20',        0, 'UF_20'),
    (33, 'DIMENSIONS',   0, 'DIMENSIONS');

-- ---------------------------------------------------------------------------------------
-- Processes: output destinations for per-process parts files. The first process is the
-- one new parts belong to and can never be deleted. The folders are left for the operator
-- to choose on the processes screen.
-- ---------------------------------------------------------------------------------------
CREATE TABLE tblProcesses (
    AutoID      INTEGER PRIMARY KEY AUTOINCREMENT,
    Description TEXT COLLATE NOCASE,
    FileID      TEXT COLLATE NOCASE,
    SaveFileTo  TEXT COLLATE NOCASE DEFAULT ''
);

INSERT INTO tblProcesses (AutoID, Description, FileID, SaveFileTo) VALUES
    (1, 'Cabinet Parts', 'CAB',   ''),
    (2, 'Solid Wood',    'SOLID', '');

-- ---------------------------------------------------------------------------------------
-- Part criteria: one row of rules per part name. A part learned without being asked takes
-- these defaults: valid, process 1, no flags, no space balls.
-- ---------------------------------------------------------------------------------------
CREATE TABLE tblPartsCriteria (
    AutoIDNum       INTEGER PRIMARY KEY AUTOINCREMENT,
    Part            TEXT COLLATE NOCASE,
    Valid_Part      BOOLEAN NOT NULL DEFAULT 1,
    B_Grade         BOOLEAN NOT NULL DEFAULT 0,
    Pocket_Holes    BOOLEAN NOT NULL DEFAULT 0,
    Space_Ball_Loc  REAL DEFAULT 0,
    Panel           BOOLEAN NOT NULL DEFAULT 0,
    Min_Panel_Width REAL DEFAULT 0,
    Process         INTEGER DEFAULT 1,
    Switch_Dims     BOOLEAN NOT NULL DEFAULT 0,
    Reverse_Scribes BOOLEAN NOT NULL DEFAULT 0
);

CREATE INDEX idxPartsCriteriaPart ON tblPartsCriteria (Part);

INSERT INTO tblPartsCriteria
    (Part, Valid_Part, B_Grade, Pocket_Holes, Space_Ball_Loc, Panel, Min_Panel_Width, Process, Switch_Dims, Reverse_Scribes) VALUES
    -- carcase parts; wide ones are panels, the right side mirrors the left side's scribes
    ('LEFT SIDE',   1, 0, 0, 0,   1, 12, 1, 0, 0),
    ('RIGHT SIDE',  1, 0, 0, 0,   1, 12, 1, 0, 1),
    ('BOTTOM',      1, 0, 0, 0,   1, 12, 1, 0, 0),
    ('SHELF',       1, 1, 0, 0,   0, 0,  1, 0, 0),   -- inside shelves may be B grade
    ('STRETCHER',   1, 0, 0, 0,   0, 0,  1, 1, 0),   -- listed across the cabinet: exchange width and length
    ('NAILER',      1, 0, 0, 0,   0, 0,  1, 0, 0),
    ('BACK',        1, 0, 0, 0,   0, 0,  1, 0, 0),
    ('TOE KICK',    1, 0, 0, 0,   0, 0,  1, 0, 0),
    -- solid wood: face frames get pocket holes in the rails, door frames get space balls
    ('FF STILE',    1, 0, 0, 0,   0, 0,  2, 0, 0),
    ('FF RAIL',     1, 0, 1, 0,   0, 0,  2, 0, 0),
    ('DOOR STILE',  1, 0, 0, 3,   0, 0,  2, 0, 0),
    ('DOOR RAIL',   1, 0, 0, 2.5, 0, 0,  2, 0, 0),
    -- bought in, never cut here
    ('DRAWER BOX',  0, 0, 0, 0,   0, 0,  1, 0, 0);

-- ---------------------------------------------------------------------------------------
-- Materials met so far.
-- ---------------------------------------------------------------------------------------
CREATE TABLE tblMaterials (
    AutoIDNum INTEGER PRIMARY KEY AUTOINCREMENT,
    Material  TEXT COLLATE NOCASE
);

CREATE INDEX idxMaterialsMaterial ON tblMaterials (Material);

INSERT INTO tblMaterials (Material) VALUES
    ('MAPLE PLY'),
    ('BIRCH PLY'),
    ('HARD MAPLE');

-- ---------------------------------------------------------------------------------------
-- Working table of a conversion: one row per part line read from a delimited file.
-- Positions 1 to 6 are fixed by the parts grid (key, two always shown columns, PANEL,
-- B_GRADE, Process); the data columns follow, one per MainName of tblPartsFileMapping,
-- in the order of tblParts. Rows are copied into a parts file by column name.
-- Booleans start false and are never empty.
-- ---------------------------------------------------------------------------------------
CREATE TABLE tblPartsFileProcessTemplate (
    AutoIDNum           INTEGER PRIMARY KEY AUTOINCREMENT,
    ValidPart           BOOLEAN NOT NULL DEFAULT 0,
    Dimensions_Switched BOOLEAN NOT NULL DEFAULT 0,
    PANEL               BOOLEAN NOT NULL DEFAULT 0,
    B_GRADE             BOOLEAN NOT NULL DEFAULT 0,
    Process             INTEGER DEFAULT 1,
    SEQ_NUM             INTEGER DEFAULT 0,
    QUANTITY            INTEGER DEFAULT 1,
    THICKNESS           REAL DEFAULT 0,
    WIDTH               REAL DEFAULT 0,
    LENGTH              REAL DEFAULT 0,
    PART                TEXT COLLATE NOCASE DEFAULT '',
    MATERIAL            TEXT COLLATE NOCASE DEFAULT '',
    SCRIBES             TEXT COLLATE NOCASE DEFAULT '',
    SPACEBALLS          TEXT COLLATE NOCASE DEFAULT '',
    POCKETHOLES         BOOLEAN NOT NULL DEFAULT 0,
    FileName            TEXT COLLATE NOCASE DEFAULT '',
    UF_1                TEXT COLLATE NOCASE DEFAULT '',
    UF_2                TEXT COLLATE NOCASE DEFAULT '',
    UF_3                TEXT COLLATE NOCASE DEFAULT '',
    UF_4                TEXT COLLATE NOCASE DEFAULT '',
    UF_5                TEXT COLLATE NOCASE DEFAULT '',
    UF_6                TEXT COLLATE NOCASE DEFAULT '',
    UF_7                TEXT COLLATE NOCASE DEFAULT '',
    UF_8                TEXT COLLATE NOCASE DEFAULT '',
    UF_9                TEXT COLLATE NOCASE DEFAULT '',
    UF_10               TEXT COLLATE NOCASE DEFAULT '',
    UF_11               TEXT COLLATE NOCASE DEFAULT '',
    UF_12               TEXT COLLATE NOCASE DEFAULT '',
    UF_13               TEXT COLLATE NOCASE DEFAULT '',
    UF_14               TEXT COLLATE NOCASE DEFAULT '',
    UF_15               TEXT COLLATE NOCASE DEFAULT '',
    UF_16               TEXT COLLATE NOCASE DEFAULT '',
    UF_17               TEXT COLLATE NOCASE DEFAULT '',
    UF_18               TEXT COLLATE NOCASE DEFAULT '',
    UF_19               TEXT COLLATE NOCASE DEFAULT '',
    UF_20               TEXT COLLATE NOCASE DEFAULT '',
    Scribes_Reversed    BOOLEAN NOT NULL DEFAULT 0
);

-- The criteria are applied part name by part name.

COMMIT;
