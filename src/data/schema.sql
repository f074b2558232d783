-- The Velmora template database: ten tables and the chart of accounts.
-- Currency columns hold ten-thousandths of a euro as integers; dates are
-- 'YYYY-MM-DD'; yes/no columns are 0/1. The program allocates every
-- identifier itself, the keys only guard against duplicates.

CREATE TABLE T_Mandant (
    id          INTEGER PRIMARY KEY,
    Bezeichnung TEXT,
    Aktiv       INTEGER
);

CREATE TABLE T_Stammdaten (
    mandant      INTEGER,
    GanzerName   TEXT,
    Adresse      TEXT,
    PlzOrt       TEXT,
    Telefon      TEXT,
    Referat      TEXT,
    Steuernummer TEXT,
    SteuerDE     INTEGER,
    SteuerfreiKZ TEXT
);

CREATE TABLE T_Einstellungen (
    mandant        INTEGER,
    ZeitraumNummer INTEGER
);

CREATE TABLE T_Zeitraum (
    id      INTEGER PRIMARY KEY,
    mandant INTEGER,
    Jahr    INTEGER
);

CREATE TABLE T_BKreis (
    id      INTEGER PRIMARY KEY,
    mandant INTEGER,
    BKName  TEXT,
    BKKurz  TEXT
);

CREATE TABLE T_Buchungen (
    ID              INTEGER PRIMARY KEY,
    mandant         INTEGER,
    Wirtschaftsjahr INTEGER,
    Buchungsdatum   TEXT,
    Belegnummer     INTEGER,
    Text            TEXT,
    Steuersatz      INTEGER,
    Betrag          INTEGER,
    BK              INTEGER,
    IstEinnahme     INTEGER,
    IstEU           INTEGER,
    IstDrittland    INTEGER,
    IstKFZ          INTEGER,
    IstGebaeude     INTEGER
);

CREATE TABLE t_kontenbewegungen (
    mandant      INTEGER,
    id           INTEGER PRIMARY KEY,
    Buchungen_id INTEGER,
    Konten_Nr    INTEGER,
    St_Betrag    INTEGER
);

CREATE TABLE T_Kontenplan (
    Kontonummer INTEGER PRIMARY KEY,
    Kontoname   TEXT,
    Steuersatz  INTEGER
);

-- The change log: appended to, never changed; each row's Hash is a SHA-256
-- over the previous row's Hash and its own content. Vorher and Nachher hold
-- a booking with its postings as JSON.
CREATE TABLE T_Protokoll (
    id              INTEGER PRIMARY KEY,
    Zeitpunkt       TEXT,
    mandant         INTEGER,
    Wirtschaftsjahr INTEGER,
    Aktion          TEXT,
    Buchungsid      INTEGER,
    Vorher          TEXT,
    Nachher         TEXT,
    Hash            TEXT
);

-- A fiscal year locked up to and including the day Bis; only ever extended.
CREATE TABLE T_Festschreibung (
    mandant         INTEGER,
    Wirtschaftsjahr INTEGER,
    Bis             TEXT,
    Zeitpunkt       TEXT
);

-- The log window of a client's year, newest first, and its filter by booking.
CREATE INDEX ix_protokoll_liste ON T_Protokoll (mandant, Wirtschaftsjahr);
CREATE INDEX ix_protokoll_buchung ON T_Protokoll (Buchungsid);
CREATE INDEX ix_festschreibung_jahr ON T_Festschreibung (mandant, Wirtschaftsjahr, Bis);

-- The hot paths: the main lists and totals, postings per booking, the
-- per-client lists of years and circles. The gross totals and the postings'
-- totals read only their covering index; the next voucher number is the
-- last entry of its index. A later release adds an index under a new name:
-- the updater brings indexes into old files by name only.
CREATE INDEX ix_buchungen_liste ON T_Buchungen (mandant, Wirtschaftsjahr, IstEinnahme, Buchungsdatum);
CREATE INDEX ix_buchungen_summen ON T_Buchungen (mandant, Wirtschaftsjahr, IstEinnahme, IstDrittland, Betrag);
CREATE INDEX ix_buchungen_beleg ON T_Buchungen (mandant, Wirtschaftsjahr, Belegnummer);
-- the booking dialog's suggestions: the distinct texts of a year without reading its rows
CREATE INDEX ix_buchungen_text ON T_Buchungen (mandant, Wirtschaftsjahr, Text);
CREATE INDEX ix_buchungen_bk ON T_Buchungen (mandant, BK);
CREATE INDEX ix_kontenbewegungen_summen ON t_kontenbewegungen (mandant, Buchungen_id, Konten_Nr, St_Betrag);
CREATE INDEX ix_zeitraum_mandant ON T_Zeitraum (mandant, Jahr);
CREATE INDEX ix_bkreis_mandant ON T_BKreis (mandant, BKName);

CREATE INDEX ix_stammdaten_mandant ON T_Stammdaten (mandant);
CREATE INDEX ix_einstellungen_mandant ON T_Einstellungen (mandant);

-- Rows holding a value of another type than their column's (a text in an
-- amount, which SQLite would add as 0): normally empty, so every total, list
-- and report asks them first at no cost. The conditions are spelt exactly
-- as the data layer's query, or the planner would not use them.
CREATE INDEX ix_buchungen_typfehler ON T_Buchungen (ID) WHERE typeof(mandant) NOT IN ('integer', 'null')
    OR typeof(Wirtschaftsjahr) NOT IN ('integer', 'null')
    OR typeof(Buchungsdatum) NOT IN ('text', 'null')
    OR (typeof(Buchungsdatum) = 'text' AND Buchungsdatum NOT GLOB '[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]')
    OR typeof(Belegnummer) NOT IN ('integer', 'null')
    OR typeof(Steuersatz) NOT IN ('integer', 'real', 'null')
    OR (typeof(Steuersatz) = 'real' AND abs(Steuersatz * 10 - round(Steuersatz * 10)) > 0.000001)
    OR typeof(Betrag) NOT IN ('integer', 'null')
    OR typeof(BK) NOT IN ('integer', 'null')
    OR typeof(IstEinnahme) NOT IN ('integer', 'null')
    OR typeof(IstEU) NOT IN ('integer', 'null')
    OR typeof(IstDrittland) NOT IN ('integer', 'null')
    OR typeof(IstKFZ) NOT IN ('integer', 'null')
    OR typeof(IstGebaeude) NOT IN ('integer', 'null');
CREATE INDEX ix_kontenbewegungen_typfehler ON t_kontenbewegungen (id) WHERE typeof(mandant) NOT IN ('integer', 'null')
    OR typeof(Buchungen_id) NOT IN ('integer', 'null')
    OR typeof(Konten_Nr) NOT IN ('integer', 'null')
    OR typeof(St_Betrag) NOT IN ('integer', 'null');

INSERT INTO T_Kontenplan (Kontonummer, Kontoname, Steuersatz) VALUES
    (1000, 'Umsatzsteuer 0%', 0),
    (1005, 'Umsatzsteuer 5%', 5),
    (1007, 'Umsatzsteuer 7%', 7),
    (1010, 'Umsatzsteuer 10%', 10),
    (1012, 'Umsatzsteuer 12%', 12),
    (1013, 'Umsatzsteuer 13%', 13),
    (1019, 'Umsatzsteuer 19%', 19),
    (1020, 'Umsatzsteuer 20%', 20),
    (1021, 'Erwerbsteuer ig. Erwerb', 20),
    (2000, 'Vorsteuer 0%', 0),
    (2005, 'Vorsteuer 5%', 5),
    (2007, 'Vorsteuer 7%', 7),
    (2010, 'Vorsteuer 10%', 10),
    (2012, 'Vorsteuer 12%', 12),
    (2013, 'Vorsteuer 13%', 13),
    (2019, 'Vorsteuer 19%', 19),
    (2020, 'Vorsteuer 20%', 20),
    (2021, 'Vorsteuer ig. Erwerb', 20),
    (3000, 'Einfuhrumsatzsteuer', 0);
