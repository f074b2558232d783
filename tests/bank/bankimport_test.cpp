#include "bank/bankbuchung.h"
#include "bank/bankimport.h"
#include "bank/bankregeln.h"
#include "bank/camt053.h"
#include "bank/duplikate.h"
#include "bankdaten.h"
#include "bookings/buchungsschreiber.h"
#include "data/festschreibung.h"
#include "data/steuersatz.h"
#include "fixture.h"
#include "sicherung/aktualisierung.h"

#include <QFile>
#include <algorithm>

namespace {

// A client with fiscal year 2026 and two circles, and the statements of the tests.
class BankFixture : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant();
        mandant = dm->gibMandant();
        zeitraum = dm->gibZeitraum();
        buero = kreis(mandant, QStringLiteral("Büro"), QStringLiteral("B"));
        erloese = kreis(mandant, QStringLiteral("Erlöse"), QStringLiteral("E"));
    }

    std::vector<Vorschauzeile> vorschau(const Auszug& a) {
        return importvorschau::erstellen(dm->db(), mandant, zeitraum, a);
    }
    std::vector<Vorschauzeile> vorschau(const char* datei) {
        return vorschau(camt053::lesen(bankdaten::datei(datei)));
    }
    static QStringList status(const std::vector<Vorschauzeile>& v) {
        QStringList out;
        for (const Vorschauzeile& z : v)
            out << statusText(z.status);
        return out;
    }
    static QStringList vorschlaege(const std::vector<Vorschauzeile>& v) {
        QStringList out;
        for (const Vorschauzeile& z : v)
            out << (z.vorschlag ? vorschlag::beschreibung(*z.vorschlag) : QStringLiteral("-"));
        return out;
    }
    // Every line without a proposal gets one by hand: circle Büro, 20 %.
    static void vonHand(std::vector<Vorschauzeile>& v, int bk) {
        for (Vorschauzeile& z : v) {
            if (z.status != Zeilenstatus::Neu || z.vorschlag)
                continue;
            Vorschlag h;
            h.bk = bk;
            h.steuersatz = 20;
            h.einnahme = z.zeile.betrag >= Currency();
            h.text = vorschlag::buchungstext(z.zeile);
            z.vorschlag = h;
            z.angekreuzt = true;
        }
    }
    Importergebnis buchen(const std::vector<Vorschauzeile>& v,
                          const std::function<bool(int, int)>& f = {}) {
        return bankimport::buchen(*dm, mandant, zeitraum, v, f);
    }
    int regel(const QString& enthaelt, const QString& iban, int bk, int satz,
              Bankregel::Richtung r = Bankregel::Richtung::Beide, Merkmale m = {},
              const QString& vorlage = {}) {
        Bankregel b;
        b.enthaelt = enthaelt;
        b.iban = iban;
        b.bk = bk;
        b.steuersatz = satz;
        b.richtung = r;
        b.merkmale = m;
        b.textvorlage = vorlage;
        return bankregeln::anlegen(dm->db(), mandant, b);
    }

    int mandant = 0;
    int zeitraum = 0;
    int buero = 0;
    int erloese = 0;
};

const QString N = QStringLiteral("neu");
const QString D = QStringLiteral("doppelt");
const QString V = QStringLiteral("vorgemerkt");
const QString F = QStringLiteral("Fremdwährung");

} // namespace

TEST_F(BankFixture, DuplicatesByReferenceAndByTheCountOfIdenticalLinesOfADay) {
    auto erste = vorschau("camt053_02.xml");
    EXPECT_EQ(status(erste), QStringList({N, N, V, N, N, N, F, N, N}));
    vonHand(erste, buero);
    const Importergebnis e = buchen(erste);
    EXPECT_EQ(e.gebucht.size(), 7u); // both parking tickets of 06.03.
    EXPECT_EQ(e.doppelt, 0);
    EXPECT_EQ(e.offen.size(), 2u);
    EXPECT_EQ(e.meldung(), QStringLiteral("7 Buchungen angelegt, 0 doppelt übersprungen, 2 offen"));
    EXPECT_EQ(anzahl("T_Buchungen"), 7);
    EXPECT_EQ(anzahl("T_BankZeile"), 7);

    // the same file again: nothing new
    auto zweite = vorschau("camt053_02.xml");
    EXPECT_EQ(status(zweite), QStringList({D, D, V, D, D, D, F, D, D}));
    vonHand(zweite, buero);
    const Importergebnis nochmal = buchen(zweite);
    EXPECT_TRUE(nochmal.gebucht.empty());
    EXPECT_EQ(nochmal.doppelt, 7);
    EXPECT_EQ(anzahl("T_Buchungen"), 7);

    // an overlapping statement: the post again by its reference, two of the
    // three parking tickets were booked, the rest is new
    auto dritte = vorschau("camt053_08.xml");
    EXPECT_EQ(status(dritte), QStringList({D, D, D, N, N, V, N, N, N, F}));
    vonHand(dritte, buero);
    EXPECT_EQ(buchen(dritte).gebucht.size(), 5u);
    EXPECT_EQ(anzahl("T_Buchungen", QStringLiteral("Betrag = 35000")), 3);
}

TEST_F(BankFixture, ALineReferenceIsTheEntryReferencePlusItsPosition) {
    // same entry reference, another position: a further line of the batch
    Auszug a = camt053::lesen(bankdaten::datei("camt053_02.xml"));
    auto v = vorschau(a);
    vonHand(v, buero);
    buchen(v);
    Auszugszeile vierter = a[3];
    vierter.referenz = QStringLiteral("2026030400003/4");
    Auszugszeile gleicheE2E = a[0]; // the payer reuses its end-to-end reference
    gleicheE2E.referenz = QStringLiteral("2026031200009/1");
    EXPECT_EQ(duplikate::pruefen(dm->db(), mandant, {vierter, gleicheE2E, a[4]}),
              (std::vector<bool>{false, false, true}));
}

TEST_F(BankFixture, FiscalYearLockAndPendingStatuses) {
    Auszug a = camt053::lesen(bankdaten::datei("camt053_02.xml"));
    a[0].buchungsdatum = QDate(2025, 12, 31);
    festschreibung::festschreiben(*dm, mandant, zeitraum, QDate(2026, 3, 3));
    const auto v = vorschau(a);
    EXPECT_EQ(status(v), QStringList({QStringLiteral("außerhalb des Wirtschaftsjahres"),
                                      QStringLiteral("festgeschrieben"), V, N, N, N, F, N, N}));
    for (const Vorschauzeile& z : v)
        EXPECT_FALSE(z.angekreuzt); // no rule, nothing learned: no circle yet
}

TEST_F(BankFixture, RulesInTheUsersOrderThenLearnedFromTheLastBooking) {
    const int post = regel(QStringLiteral("post ag"), {}, buero, 20, Bankregel::Richtung::Ausgabe);
    const int kunde =
        regel({}, QStringLiteral("AT61 1904 3002 3457 3201"), erloese, 10,
              Bankregel::Richtung::Einnahme, {}, QStringLiteral("Zahlung {gegenpartei}: {text}"));
    regel(QStringLiteral("PARK"), {}, erloese, 0, Bankregel::Richtung::Einnahme); // credits only
    const int sammel = regel(QStringLiteral("sammelauftrag"), {}, buero, 20,
                             Bankregel::Richtung::Beide, Merkmale{.kfz = true});
    regel(QStringLiteral("Posten"), {}, erloese, 13); // matches too, but comes later
    const auto v = vorschau("camt053_02.xml");
    EXPECT_EQ(
        vorschlaege(v),
        QStringList({QStringLiteral("BK %1, 10 %, Einnahme, Regel %2").arg(erloese).arg(kunde),
                     QStringLiteral("BK %1, 20 %, Ausgabe, Regel %2").arg(buero).arg(post), "-",
                     "-", "-",
                     QStringLiteral("BK %1, 20 %, Ausgabe, KFZ, Regel %2").arg(buero).arg(sammel),
                     "-", "-", "-"}));
    EXPECT_EQ(
        v[0].vorschlag->text,
        QStringLiteral("Zahlung Müller & Söhne GmbH: Rechnung 2026-017 Danke für den Auftrag"));
    EXPECT_EQ(v[1].vorschlag->text, QStringLiteral("Österreichische Post AG Porto März"));
    EXPECT_TRUE(v[0].angekreuzt);
    EXPECT_FALSE(v[4].angekreuzt);

    // the bakery booked by hand at 10 % as a vehicle cost; the next
    // statement learns it by IBAN, the parking meter by its name
    auto gebucht = v;
    gebucht[4].vorschlag =
        Vorschlag{buero, 10, false, Merkmale{.kfz = true}, QStringLiteral("Bäcker")};
    gebucht[4].angekreuzt = true;
    gebucht[7].vorschlag = Vorschlag{erloese, 0, false, {}, QStringLiteral("Parken")};
    gebucht[7].angekreuzt = true;
    gebucht[8].angekreuzt = false;
    buchen(gebucht);
    Auszug neu = camt053::lesen(bankdaten::datei("camt053_02.xml"));
    neu[4].referenz = QStringLiteral("X/1");
    neu[4].gegenpartei = QStringLiteral("Fürst GmbH"); // renamed, same account
    neu[8].buchungsdatum = QDate(2026, 4, 1);
    const auto zweite = vorschau(Auszug{neu[4], neu[8]});
    EXPECT_EQ(vorschlaege(zweite),
              QStringList({QStringLiteral("BK %1, 10 %, Ausgabe, KFZ, gelernt").arg(buero),
                           QStringLiteral("BK %1, 0 %, Ausgabe, gelernt").arg(erloese)}));
    EXPECT_EQ(zweite[0].vorschlag->text, QStringLiteral("Fürst GmbH Bewirtung Jänner"));
}

TEST_F(BankFixture, TextIsCutAtACharacterBoundary) {
    Auszugszeile z;
    z.gegenpartei = QStringLiteral("Café");
    z.text = QString(94, QLatin1Char('x')) + QStringLiteral("\U0001F600\U0001F600");
    const QString t = vorschlag::buchungstext(z);
    EXPECT_EQ(t.size(), 5 + 94 + 2); // 100 characters, the emoji whole
    EXPECT_TRUE(t.endsWith(QStringLiteral("x\U0001F600")));
}

TEST_F(BankFixture, RulesAreCheckedAndDeletedPerClient) {
    Bankregel beides;
    beides.enthaelt = QStringLiteral("a");
    beides.iban = QStringLiteral("AT1");
    beides.bk = buero;
    Bankregel zweiArten;
    zweiArten.enthaelt = QStringLiteral("a");
    zweiArten.bk = buero;
    zweiArten.merkmale.eu = true;
    zweiArten.merkmale.reverseCharge = true;
    Bankregel fremderKreis;
    fremderKreis.enthaelt = QStringLiteral("a");
    fremderKreis.bk = 99;
    for (const Bankregel& r : {beides, zweiArten, fremderKreis})
        EXPECT_THROW(bankregeln::anlegen(dm->db(), mandant, r), DatenbankFehler);
    const int id = regel(QStringLiteral("a"), {}, buero, 20);
    EXPECT_FALSE(bankregeln::loeschen(dm->db(), id, mandant + 1));
    EXPECT_TRUE(bankregeln::loeschen(dm->db(), id, mandant));
    EXPECT_EQ(anzahl("T_BankRegel"), 0);
}

TEST_F(BankFixture, BookingGoesThroughTheWriterInOneTransaction) {
    const int rc = regel(QStringLiteral("Hofer"), {}, buero, 20, Bankregel::Richtung::Ausgabe,
                         Merkmale{.reverseCharge = true});
    auto v = vorschau("camt053_02.xml");
    vonHand(v, buero);
    v[1].angekreuzt = false; // the user unticked the post
    const Importergebnis e = buchen(v);
    ASSERT_EQ(e.offen.size(), 3u);
    EXPECT_EQ(e.offen[0], std::make_pair(2, QStringLiteral("nicht ausgewählt")));
    EXPECT_EQ(e.offen[1], std::make_pair(3, V));
    EXPECT_EQ(e.offen[2], std::make_pair(7, F));
    // the reverse-charge rule books its line as the recipient's tax debt
    EXPECT_EQ(wert(QStringLiteral("select Steuerschuld || ':' || IstEU || ':' || Betrag from "
                                  "T_Buchungen where Text like 'Hofer%'"))
                  .toString(),
              QStringLiteral("1:1:1000000"))
        << rc;
    // the next voucher numbers, the absolute amount, the change log
    EXPECT_EQ(
        wert("select group_concat(Belegnummer || ':' || Betrag || ':' || IstEinnahme, ' ') "
             "from (select * from T_Buchungen order by ID)")
            .toString(),
        QStringLiteral("1:12345600:1 2:1000000:2 3:2000000:2 4:3000000:2 5:35000:2 6:35000:2"));
    EXPECT_EQ(wert("select Buchungsdatum || ' ' || Text from T_Buchungen where ID = 1").toString(),
              QStringLiteral("2026-03-02 Müller & Söhne GmbH Rechnung 2026-017 Danke für den "
                             "Auftrag"));
    EXPECT_EQ(anzahl("T_Protokoll", QStringLiteral("Buchungsid is not null")), 6);
    // the reverse charge posts twice, as an acquisition does
    EXPECT_EQ(anzahl("t_kontenbewegungen"), 7);
}

TEST_F(BankFixture, AStatementBooksAsItsLinesBookedOneAtATime) {
    regel(QStringLiteral("Hofer"), {}, buero, 20, Bankregel::Richtung::Ausgabe,
          Merkmale{.reverseCharge = true});
    auto v = vorschau("camt053_02.xml");
    vonHand(v, buero);
    v[3].vorschlag->steuersatz = 4.9; // refused by the writer: not yet valid in March
    // locked after the preview: the booking checks the statuses again
    festschreibung::festschreiben(*dm, mandant, zeitraum, QDate(2026, 3, 2));
    Datenbankkopie zeilenweise(dbPath(), clock);
    Datenbankkopie schreiber(dbPath(), clock);

    const Importergebnis ganz = buchen(v);
    Importergebnis einzeln;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (!v[i].angekreuzt)
            continue;
        std::vector<Vorschauzeile> nur = v;
        for (std::size_t k = 0; k < nur.size(); ++k)
            nur[k].angekreuzt = k == i;
        const Importergebnis e = bankimport::buchen(*zeilenweise.dm, mandant, zeitraum, nur);
        einzeln.gebucht.insert(einzeln.gebucht.end(), e.gebucht.begin(), e.gebucht.end());
        for (const auto& [zeile, grund] : e.offen)
            if (zeile == v[i].zeile.zeile)
                einzeln.offen.emplace_back(zeile, grund);
    }
    // the dialog's writer, one save per line
    const auto status = importvorschau::status(schreiber.dm->db(), mandant, zeitraum, [&] {
        Auszug a;
        for (const Vorschauzeile& z : v)
            a.push_back(z.zeile);
        return a;
    }());
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (!v[i].angekreuzt || status[i] != Zeilenstatus::Neu)
            continue;
        try {
            Buchungsschreiber(*schreiber.dm)
                .neueBuchungSpeichern(
                    bankbuchung::buchungAus(v[i].zeile, *v[i].vorschlag, mandant, zeitraum),
                    Belegnummernwahl::Naechste);
        } catch (const BuchungAbgewiesen&) {
        }
    }

    EXPECT_EQ(ganz.gebucht, einzeln.gebucht);
    EXPECT_EQ(ganz.gebucht.size(), 5u); // lines 2, 5, 6, 8 and 9
    EXPECT_EQ(einzeln.offen, (std::vector<std::pair<int, QString>>{
                                 {1, QStringLiteral("festgeschrieben")},
                                 {4, steuersatz::datumPruefen(4.9, QDate(2026, 3, 4))}}));
    for (const auto& o : einzeln.offen)
        EXPECT_NE(std::find(ganz.offen.begin(), ganz.offen.end(), o), ganz.offen.end()) << o.first;
    for (const char* tabelle : {"T_Buchungen", "t_kontenbewegungen", "T_Protokoll", "T_BankZeile"})
        EXPECT_EQ(zeilenAlsText(dm->db(), QLatin1String(tabelle)),
                  zeilenAlsText(zeilenweise.dm->db(), QLatin1String(tabelle)))
            << tabelle;
    for (const char* tabelle : {"T_Buchungen", "t_kontenbewegungen", "T_Protokoll"})
        EXPECT_EQ(zeilenAlsText(dm->db(), QLatin1String(tabelle)),
                  zeilenAlsText(schreiber.dm->db(), QLatin1String(tabelle)))
            << tabelle;
}

TEST_F(BankFixture, AFailureOrCancelInTheMiddleLeavesNothing) {
    auto v = vorschau("camt053_02.xml");
    vonHand(v, buero);
    dm->db().execute(QStringLiteral(
        "create trigger kaputt before insert on T_Buchungen when new.Text like '%Bewirtung%' "
        "begin select raise(abort, 'Platte voll'); end"));
    const int protokoll = anzahl("T_Protokoll");
    EXPECT_THROW(buchen(v), DatenbankFehler);
    EXPECT_EQ(anzahl("T_Buchungen"), 0);
    EXPECT_EQ(anzahl("t_kontenbewegungen"), 0);
    EXPECT_EQ(anzahl("T_BankZeile"), 0);
    EXPECT_EQ(anzahl("T_Protokoll"), protokoll);
    dm->db().execute(QStringLiteral("drop trigger kaputt"));

    std::vector<std::pair<int, int>> schritte;
    const Importergebnis e = buchen(v, [&](int fertig, int gesamt) {
        schritte.emplace_back(fertig, gesamt);
        return fertig < 3;
    });
    EXPECT_TRUE(e.abgebrochen);
    EXPECT_EQ(schritte.back(), std::make_pair(3, 7));
    EXPECT_EQ(anzahl("T_Buchungen"), 0);
    EXPECT_EQ(anzahl("T_BankZeile"), 0);
}

TEST_F(BankFixture, TheUpdaterBringsTheTablesIntoAnOlderFile) {
    for (const char* t : {"T_BankRegel", "T_BankProfil", "T_BankZeile"})
        dm->db().execute(QStringLiteral("drop table %1").arg(QLatin1String(t)));
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(VELMORA_TEMPLATE_PATH), dir() + aktualisierung::vorlageName()));
    const auto e =
        aktualisierung::aktualisieren(dir(), QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    for (const char* teil : {"Tabelle T_BankRegel", "Tabelle T_BankProfil", "Tabelle T_BankZeile",
                             "Index ix_bankzeile_referenz"})
        EXPECT_TRUE(e.ergaenzt.contains(QLatin1String(teil))) << teil;
    auto v = vorschau("camt053_02.xml");
    vonHand(v, buero);
    EXPECT_EQ(buchen(v).gebucht.size(), 7u);
}
