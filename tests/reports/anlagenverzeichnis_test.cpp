#include "data/db.h"
#include "fixture.h"
#include "reports/anlagenverzeichnis.h"
#include "reports/e1a.h"
#include "sicherung/aktualisierung.h"

#include <QFile>

namespace {

using anlagenverzeichnis::Eintrag;

class Anlagenverzeichnis : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        neueDatenbank();
        ersterMandant();
        mandant = dm->gibMandant();
    }
    Eintrag eintrag(const char* bezeichnung, const QDate& datum, const char* kosten, int jahre) {
        Eintrag e;
        e.bezeichnung = QString::fromUtf8(bezeichnung);
        e.anlage.anschaffung = datum;
        e.anlage.kosten = *Currency::parse(QString::fromUtf8(kosten));
        e.anlage.nutzungsdauer = jahre;
        return e;
    }
    int mandant = 0;
};

TEST_F(Anlagenverzeichnis, KeepsChangesAndRefusesWhatTheRulesExclude) {
    Eintrag pc = eintrag("PC", {2026, 3, 1}, "1500", 3);
    pc.lieferant = QStringLiteral("Elektro Maier");
    const int id = anlagenverzeichnis::anlegen(dm->db(), mandant, pc);
    pc.id = id;
    pc.anlage.degressivSatz = 30;
    pc.anlage.linearAb = 2028;
    anlagenverzeichnis::aendern(dm->db(), mandant, pc);
    const Eintrag gelesen = anlagenverzeichnis::lesen(dm->db(), mandant, id);
    EXPECT_EQ(gelesen.lieferant, "Elektro Maier");
    EXPECT_EQ(gelesen.anlage.degressivSatz, 30);
    EXPECT_EQ(gelesen.anlage.linearAb, 2028);
    EXPECT_EQ(gelesen.anlage.kosten.format(), "1.500,00");

    // a degressive car, an empty name, a disposal before the purchase: nothing written
    Eintrag pkw = eintrag("PKW", {2026, 2, 1}, "40000", 8);
    pkw.anlage.art = anlagen::Art::Pkw;
    pkw.anlage.degressivSatz = 30;
    Eintrag leer = eintrag(" ", {2026, 2, 1}, "100", 2);
    Eintrag frueh = eintrag("Regal", {2026, 2, 1}, "900", 2);
    frueh.anlage.abgang = QDate(2026, 1, 31);
    Eintrag fremd = eintrag("Drucker", {2026, 2, 1}, "900", 2);
    fremd.buchungsid = 4711;
    for (const Eintrag& e : {pkw, leer, frueh, fremd})
        EXPECT_THROW(anlagenverzeichnis::anlegen(dm->db(), mandant, e), DatenbankFehler);
    EXPECT_EQ(anzahl(QStringLiteral("T_Anlagen")), 1);
    // another client's asset is not this one's
    EXPECT_THROW(anlagenverzeichnis::loeschen(dm->db(), mandant + 1, id), DatenbankFehler);
    anlagenverzeichnis::loeschen(dm->db(), mandant, id);
    EXPECT_EQ(anzahl(QStringLiteral("T_Anlagen")), 0);
}

TEST_F(Anlagenverzeichnis, TheBookingsNetIsTheCost) {
    const int bk = kreis(mandant, QStringLiteral("Anlagen"), QStringLiteral("AN"));
    // 1.200,00 gross at 20 %: 1.000,00 net
    const int b = buchung(mandant, dm->gibZeitraum(), QStringLiteral("2026-04-02"),
                          QStringLiteral("1200"), 20, bk, false);
    bewegung(mandant, b, 2020, QStringLiteral("200"));
    EXPECT_EQ(anlagenverzeichnis::buchungsNetto(dm->db(), mandant, b).format(), "1.000,00");
    EXPECT_THROW(anlagenverzeichnis::buchungsNetto(dm->db(), mandant + 1, b), DatenbankFehler);
    const int einnahme = buchung(mandant, dm->gibZeitraum(), QStringLiteral("2026-04-03"),
                                 QStringLiteral("120"), 20, bk, true);
    bewegung(mandant, einnahme, 1020, QStringLiteral("20"));
    EXPECT_THROW(anlagenverzeichnis::buchungsNetto(dm->db(), mandant, einnahme), DatenbankFehler);
}

TEST_F(Anlagenverzeichnis, AnOlderFileGetsTheTablesAndAnEmptyRegister) {
    for (const char* t : {"T_Anlagen", "T_E1aKreis", "T_E1aText"})
        dm->db().execute(QStringLiteral("drop table %1").arg(QLatin1String(t)));
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(VELMORA_TEMPLATE_PATH), dir() + aktualisierung::vorlageName()));
    const auto e =
        aktualisierung::aktualisieren(dir(), QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
    for (const char* teil :
         {"Tabelle T_Anlagen", "Tabelle T_E1aKreis", "Tabelle T_E1aText", "Index ix_e1akreis"})
        EXPECT_TRUE(e.ergaenzt.contains(QLatin1String(teil))) << teil;
    EXPECT_TRUE(anlagenverzeichnis::alle(dm->db(), mandant).empty());
    const int bk = kreis(mandant, QStringLiteral("Erlöse"), QStringLiteral("ER"));
    EXPECT_EQ(e1a::zuordnung(dm->db(), mandant, bk).art, e1a::Zuordnung::Art::Keine);
    EXPECT_EQ(e1a::rechnen(dm->db(), mandant, dm->gibZeitraum(), 2026).gewinn, Currency());
}

} // namespace
