-- The Velmora template database: sixteen tables and the chart of accounts.
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
    IstGebaeude     INTEGER,
    -- NULL, or who owes the tax of an expense posted on 1021/2021:
    -- 1 reverse charge (§ 19 Abs. 1 zweiter Satz, 1c, 1e), 2 construction (§ 19 Abs. 1a)
    Steuerschuld    INTEGER,
    -- the Kennzahl of an income at 0 %; NULL: the client's T_Stammdaten.SteuerfreiKZ
    SteuerfreiKZ    TEXT
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
    Steuersatz  INTEGER -- whole rates as integers, 4,9 as the real 4.9
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
    Hash            TEXT,
    -- who wrote the row: the database role on a server, else the system's
    -- user; part of the Hash when present
    Benutzer        TEXT
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

-- Bank statement import. A client's rules in the user's order: a line whose
-- text or counterparty contains Enthaelt (case-insensitive), or whose IBAN
-- is IBAN, gets the circle, rate and flags; Richtung 0 applies to both
-- signs, 1 only to credits, 2 only to debits. Flags use 1 yes, 2 no.
CREATE TABLE T_BankRegel (
    id               INTEGER PRIMARY KEY,
    mandant          INTEGER,
    Reihenfolge      INTEGER,
    Enthaelt         TEXT,
    IBAN             TEXT,
    Richtung         INTEGER,
    BK               INTEGER,
    Steuersatz       INTEGER,
    IstEU            INTEGER,
    IstDrittland     INTEGER,
    IstReverseCharge INTEGER,
    IstBauleistung   INTEGER,
    IstKFZ           INTEGER,
    IstGebaeude      INTEGER,
    Textvorlage      TEXT
);

-- How a bank's CSV download is laid out; columns count from 1, 0 is none.
CREATE TABLE T_BankProfil (
    id           INTEGER PRIMARY KEY,
    Name         TEXT,
    Trenner      TEXT,
    Kodierung    TEXT,
    Kopfzeilen   INTEGER,
    Datum        INTEGER,
    Datumsformat TEXT,
    Betrag       INTEGER,
    Soll         INTEGER,
    Haben        INTEGER,
    Text         INTEGER,
    Gegenpartei  INTEGER,
    IBAN         INTEGER,
    Referenz     INTEGER,
    Waehrung     INTEGER,
    Dezimalkomma INTEGER
);

-- Every imported statement line with its booking: the duplicate check asks
-- for its Referenz, or, for a line without one, for its Schluessel (date,
-- amount, counterparty, text); the learned proposals for its IBAN or name.
CREATE TABLE T_BankZeile (
    id              INTEGER PRIMARY KEY,
    mandant         INTEGER,
    Wirtschaftsjahr INTEGER,
    Buchungsid      INTEGER,
    Datum           TEXT,
    Betrag          INTEGER,
    Referenz        TEXT,
    Schluessel      TEXT,
    Gegenpartei     TEXT,
    IBAN            TEXT
);
CREATE INDEX ix_bankregel_mandant ON T_BankRegel (mandant, Reihenfolge);
CREATE INDEX ix_bankzeile_datum ON T_BankZeile (mandant, Datum);
CREATE INDEX ix_bankzeile_referenz ON T_BankZeile (mandant, Referenz);
CREATE INDEX ix_bankzeile_iban ON T_BankZeile (mandant, IBAN);
CREATE INDEX ix_bankzeile_partei ON T_BankZeile (mandant, Gegenpartei);

-- The asset register. Kosten net where input tax was deductible, else gross;
-- DegressivSatz in percent, 0 for linear; LinearAb the first linear year
-- after degressive; Art 0 other, 1 building, 2 goodwill, 3 car, 4 car
-- without emissions; Buchungsid the booking it was paid with, if any.
CREATE TABLE T_Anlagen (
    id            INTEGER PRIMARY KEY,
    mandant       INTEGER,
    Bezeichnung   TEXT,
    Anschaffung   TEXT,
    Kosten        INTEGER,
    Lieferant     TEXT,
    Nutzungsdauer INTEGER,
    DegressivSatz INTEGER,
    LinearAb      INTEGER,
    Art           INTEGER,
    Gebraucht     INTEGER,
    Buchungsid    INTEGER,
    AbgangDatum   TEXT,
    Erloes        INTEGER
);

-- The Kennzahl of the income-tax form a circle's amounts go to, with its
-- side (IstEinnahme); IstAnlage marks a circle of asset purchases, which
-- the register depreciates instead. Texts of Kennzahlen the user typed.
CREATE TABLE T_E1aKreis (
    mandant     INTEGER,
    BK          INTEGER,
    Kennzahl    INTEGER,
    IstEinnahme INTEGER,
    IstAnlage   INTEGER
);

CREATE TABLE T_E1aText (
    mandant  INTEGER,
    Kennzahl INTEGER,
    Text     TEXT
);
CREATE INDEX ix_anlagen_mandant ON T_Anlagen (mandant, Anschaffung);
CREATE UNIQUE INDEX ix_e1akreis ON T_E1aKreis (mandant, BK);
CREATE UNIQUE INDEX ix_e1atext ON T_E1aText (mandant, Kennzahl);

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
    (1049, 'Umsatzsteuer 4,9%', 4.9),
    (1007, 'Umsatzsteuer 7%', 7),
    (1010, 'Umsatzsteuer 10%', 10),
    (1012, 'Umsatzsteuer 12%', 12),
    (1013, 'Umsatzsteuer 13%', 13),
    (1019, 'Umsatzsteuer 19%', 19),
    (1020, 'Umsatzsteuer 20%', 20),
    (1021, 'Erwerbsteuer ig. Erwerb', 20),
    (2000, 'Vorsteuer 0%', 0),
    (2005, 'Vorsteuer 5%', 5),
    (2049, 'Vorsteuer 4,9%', 4.9),
    (2007, 'Vorsteuer 7%', 7),
    (2010, 'Vorsteuer 10%', 10),
    (2012, 'Vorsteuer 12%', 12),
    (2013, 'Vorsteuer 13%', 13),
    (2019, 'Vorsteuer 19%', 19),
    (2020, 'Vorsteuer 20%', 20),
    (2021, 'Vorsteuer ig. Erwerb', 20),
    (3000, 'Einfuhrumsatzsteuer', 0);
