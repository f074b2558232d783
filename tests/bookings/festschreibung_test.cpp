#include "belegtest.h"

#include "bookings/buchungsschreiber.h"
#include "bookings/storno.h"
#include "bookings/stornobefehl.h"
#include "data/festschreibung.h"

namespace {

const QString kGesperrt = QStringLiteral(
    "Die Buchung liegt im festgeschriebenen Zeitraum bis 31.03.2026. Buchen Sie die Korrektur als "
    "neue Buchung mit einem späteren Datum.");

} // namespace

class FestschreibungTest : public BelegFixture {
protected:
    Buchungsschreiber schreiber() { return Buchungsschreiber(*dm); }

    Buchung am(const QDate& datum, const QString& betrag = QStringLiteral("120,00")) {
        Buchung b = beleg(betrag, 20, true);
        b.Buchungsdatum = datum;
        return b;
    }

    // The refusal of a write, empty when it went through.
    template <class F> QString abgewiesen(F&& schreiben) {
        try {
            schreiben();
        } catch (const BuchungAbgewiesen& e) {
            return e.text();
        }
        return {};
    }
};

TEST_F(FestschreibungTest, ALockRefusesEveryWriteOnAndBeforeItsDayAndAllowsTheDayAfter) {
    const QDate letzter(2026, 3, 31);
    const QDate danach(2026, 4, 1);
    const int frueh = schreiber().neueBuchungSpeichern(am(QDate(2026, 1, 5)));
    const int amTag = schreiber().neueBuchungSpeichern(am(letzter));
    const int spaet = schreiber().neueBuchungSpeichern(am(danach));
    festschreibung::festschreiben(*dm, mandant, zeitraum, letzter);
    EXPECT_EQ(festschreibung::bis(dm->db(), mandant, zeitraum), letzter);
    const int zeilenVorher = anzahl("T_Protokoll");

    // new
    EXPECT_EQ(abgewiesen([&] { schreiber().neueBuchungSpeichern(am(letzter)); }), kGesperrt);
    EXPECT_EQ(abgewiesen([&] { schreiber().neueBuchungSpeichern(am(QDate(2026, 1, 1))); }),
              kGesperrt);
    // changed: the old date, the new date, or both in the locked part
    for (const auto& [id, neuesDatum] : std::vector<std::pair<int, QDate>>{
             {frueh, QDate(2026, 2, 1)}, {amTag, danach}, {spaet, letzter}}) {
        Buchung b = *buchungstabelle::lesen(dm->db(), id, mandant);
        b.Buchungsdatum = neuesDatum;
        EXPECT_EQ(abgewiesen([&] { schreiber().buchungAendern(b); }), kGesperrt) << id;
    }
    // deleted
    EXPECT_EQ(abgewiesen([&] { schreiber().buchungLoeschen(frueh, mandant); }), kGesperrt);
    EXPECT_EQ(abgewiesen([&] { schreiber().buchungLoeschen(amTag, mandant); }), kGesperrt);
    EXPECT_EQ(anzahl("T_Buchungen"), 3);
    EXPECT_EQ(anzahl("T_Protokoll"), zeilenVorher);

    // the day after is open for every write
    const int neu = schreiber().neueBuchungSpeichern(am(danach));
    Buchung b = *buchungstabelle::lesen(dm->db(), spaet, mandant);
    b.Betrag = *Currency::parse(QStringLiteral("99"));
    b.Buchungsdatum = QDate(2026, 6, 30);
    EXPECT_TRUE(schreiber().buchungAendern(b));
    schreiber().buchungLoeschen(neu, mandant);
    EXPECT_EQ(anzahl("T_Buchungen"), 3);

    // another client's year is not locked
    const int andererJahr = dm->zeitraumAnlegen(mandant + 1, 2026);
    Buchung fremd = am(letzter);
    fremd.mandant = mandant + 1;
    fremd.Wirtschaftsjahr = andererJahr;
    fremd.BK = kreis(mandant + 1, QStringLiteral("X"), QStringLiteral("X"));
    EXPECT_NO_THROW(schreiber().neueBuchungSpeichern(fremd));
}

TEST_F(FestschreibungTest, ALockIsLoggedCanOnlyGrowAndStaysInsideTheYear) {
    festschreibung::festschreiben(*dm, mandant, zeitraum, QDate(2026, 3, 31));
    EXPECT_EQ(wert("select Aktion || ' ' || Nachher from T_Protokoll").toString(),
              R"(festgeschrieben {"Bis":"2026-03-31"})");
    for (const QDate& d : {QDate(2026, 3, 31), QDate(2026, 2, 28), QDate(2025, 12, 31),
                           QDate(2027, 1, 31), QDate()}) {
        EXPECT_THROW(festschreibung::festschreiben(*dm, mandant, zeitraum, d), DatenbankFehler)
            << d.toString().toStdString();
    }
    EXPECT_EQ(anzahl("T_Festschreibung"), 1);
    festschreibung::festschreiben(*dm, mandant, zeitraum, QDate(2026, 6, 30));
    EXPECT_EQ(festschreibung::bis(dm->db(), mandant, zeitraum), QDate(2026, 6, 30));
    EXPECT_EQ(anzahl("T_Protokoll", "Aktion = 'festgeschrieben'"), 2);
    EXPECT_NE(festschreibung::frage(QDate(2026, 6, 30)).indexOf("30.06.2026"), -1);
}

TEST_F(FestschreibungTest, DeletingALockedYearLogsTheLockAndLeavesNoLockForTheNextYearOfThatId) {
    const int anderes = dm->zeitraumAnlegen(mandant, 2025);
    festschreibung::festschreiben(*dm, mandant, anderes, QDate(2025, 12, 31));
    dm->ZeitraumLoeschen(anderes);
    EXPECT_EQ(
        wert("select Vorher from T_Protokoll where Aktion = 'Wirtschaftsjahr gelöscht'").toString(),
        R"({"Bis":"2025-12-31","Jahr":2025})");
    EXPECT_EQ(anzahl("T_Festschreibung"), 0);
    // identifiers of years are reused
    EXPECT_EQ(dm->zeitraumAnlegen(mandant, 2024), anderes);
    EXPECT_FALSE(festschreibung::bis(dm->db(), mandant, anderes));
}

TEST_F(FestschreibungTest, AStornoNegatesTheBookingAndItsPostingsWithTheNextVoucherNumber) {
    Buchung einnahme = am(QDate(2026, 3, 10), QStringLiteral("120,00"));
    einnahme.Text = QStringLiteral("Honorar");
    const int e = schreiber().neueBuchungSpeichern(einnahme);
    const int ig = schreiber().neueBuchungSpeichern(beleg("1.000,00", 20, false, 1));
    festschreibung::festschreiben(*dm, mandant, zeitraum, QDate(2026, 3, 31));

    const auto s1 = storno::stornieren(*dm, e, mandant, QDate(2026, 4, 2));
    ASSERT_TRUE(s1);
    const Buchung st = *buchungstabelle::lesen(dm->db(), *s1, mandant);
    EXPECT_EQ(st.Betrag, -einnahme.Betrag);
    EXPECT_EQ(st.Text, "Storno: Honorar");
    EXPECT_EQ(st.Buchungsdatum, QDate(2026, 4, 2));
    EXPECT_EQ(st.Belegnummer, 3);
    EXPECT_EQ(st.BK, einnahme.BK);
    EXPECT_EQ(st.IstEinnahme, 1);
    EXPECT_EQ(bewegungen(*s1), QStringList{"1020:-200000"});

    const auto s2 = storno::stornieren(*dm, ig, mandant, QDate(2026, 12, 10));
    ASSERT_TRUE(s2);
    EXPECT_EQ(bewegungen(ig), (QStringList{"1021:2000000", "2021:2000000"}));
    EXPECT_EQ(bewegungen(*s2), (QStringList{"1021:-2000000", "2021:-2000000"}));
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), *s2, mandant)->IstEU, 1);
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), *s2, mandant)->Belegnummer, 4);

    // the storno itself may not fall into the locked part; a gone booking gives none
    EXPECT_EQ(abgewiesen([&] { storno::stornieren(*dm, e, mandant, QDate(2026, 3, 31)); }),
              kGesperrt);
    EXPECT_FALSE(storno::stornieren(*dm, 999, mandant, QDate(2026, 4, 2)));
    EXPECT_EQ(anzahl("T_Protokoll", "Aktion = 'neu'"), 4);
}

TEST_F(FestschreibungTest, TheStornoTextKeepsToTheLengthOfABookingText) {
    EXPECT_EQ(storno::text(QString()), "Storno: ");
    const QString lang(100, QLatin1Char('x'));
    EXPECT_EQ(storno::text(lang), "Storno: " + QString(92, QLatin1Char('x')));
    Buchung b = am(QDate(2026, 5, 1));
    b.Text = lang;
    const int id = schreiber().neueBuchungSpeichern(b);
    const auto s = storno::stornieren(*dm, id, mandant, QDate(2026, 5, 2));
    ASSERT_TRUE(s);
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), *s, mandant)->Text.size(), 100);
}

TEST_F(FestschreibungTest, TheStornoCommandAsksForTheDateAndRefreshes) {
    const int id = schreiber().neueBuchungSpeichern(am(QDate(2026, 3, 10)));
    festschreibung::festschreiben(*dm, mandant, zeitraum, QDate(2026, 3, 31));
    FakeHauptfenster fenster;
    StornoBefehl befehl(*umgebung, fenster);

    // a bad date and a locked date ask again with what was typed; then it books
    ui.answerInput(QStringLiteral("31.13.2026"));
    ui.answerInput(QStringLiteral("31.03.2026"));
    ui.answerInput(QStringLiteral("01.04.2026"));
    const auto neu = befehl.Stornieren1Click(id);
    ASSERT_TRUE(neu);
    EXPECT_EQ(ui.texts("input"), QStringList({"Stornieren|Datum der Stornobuchung|10.12.2026",
                                              "Stornieren|Datum der Stornobuchung|31.13.2026",
                                              "Stornieren|Datum der Stornobuchung|31.03.2026"}));
    EXPECT_EQ(ui.texts("message"), QStringList{"'31.13.2026' ist kein gültiges Datum."});
    EXPECT_EQ(ui.texts("error"), QStringList{kGesperrt});
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), *neu, mandant)->Buchungsdatum, QDate(2026, 4, 1));
    EXPECT_EQ(fenster.aufrufe, QStringList({"QueryEin", "QueryAus", "Berechne"}));

    // cancelled, or no booking marked: nothing
    ui.answerInput(std::nullopt);
    EXPECT_FALSE(befehl.Stornieren1Click(id));
    EXPECT_FALSE(befehl.Stornieren1Click(std::nullopt));
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_EQ(anzahl("T_Buchungen"), 2);
}
