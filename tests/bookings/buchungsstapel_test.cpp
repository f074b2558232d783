#include "belegtest.h"

#include "bookings/buchungsschreiber.h"
#include "bookings/buchungsstapel.h"
#include "data/festschreibung.h"
#include "data/steuersatz.h"

#include <variant>

namespace {

// An identifier, or the refusal's message.
using Ergebnis = std::variant<int, QString>;

} // namespace

// A second client who is a small business with one circle, a 2025 of the first
// client, a lock to the end of January and a booking numbered 7: the batch must
// continue all of it exactly as single saves do.
class BuchungsstapelTest : public BelegFixture {
protected:
    void SetUp() override {
        BelegFixture::SetUp();
        vorjahr = dm->zeitraumAnlegen(mandant, 2025);
        Transaktion t(dm->db());
        klein = dm->mandantAnlegen(QStringLiteral("Klein"), false);
        dm->stammdatenAnlegen(klein);
        kleinJahr = dm->ersterZeitraumAnlegen(klein, 2026);
        t.commit();
        dm->db().execute(
            QStringLiteral("update T_Stammdaten set SteuerfreiKZ = '016' where mandant = %1")
                .arg(klein));
        kleinKreis = kreis(klein, QStringLiteral("Einkauf"), QStringLiteral("E"));
        Buchung sieben = neu(mandant, zeitraum, QDate(2026, 2, 10), "10", 20, buero, false,
                             QStringLiteral("Beleg 7"));
        sieben.Belegnummer = 7;
        Buchungsschreiber(*dm).neueBuchungSpeichern(sieben);
        festschreibung::festschreiben(*dm, mandant, zeitraum, QDate(2026, 1, 31));
    }

    Buchung neu(int m, int z, const QDate& datum, const char* betrag, double satz, int bk,
                bool einnahme, const QString& text) const {
        Buchung b;
        b.mandant = m;
        b.Wirtschaftsjahr = z;
        b.Buchungsdatum = datum;
        b.Text = text;
        b.Steuersatz = satz;
        b.Betrag = *Currency::parse(QString::fromLatin1(betrag));
        b.BK = bk;
        b.IstEinnahme = einnahme ? buchungscode::Ja : buchungscode::Nein;
        return b;
    }

    // Every kind a statement can book, refusals between them.
    std::vector<Buchung> buchungen() const {
        std::vector<Buchung> out;
        const auto plus = [&](Buchung b) { out.push_back(std::move(b)); };
        plus(neu(mandant, zeitraum, QDate(2026, 3, 2), "1.234,56", 20, erloese, true,
                 QStringLiteral("Honorar März")));
        plus(neu(mandant, zeitraum, QDate(2026, 1, 15), "40", 20, buero, false,
                 QStringLiteral("im festgeschriebenen Jänner")));
        Buchung eu = neu(mandant, zeitraum, QDate(2026, 3, 3), "500", 20, buero, false,
                         QStringLiteral("Wareneinkauf EU"));
        eu.IstEU = buchungscode::Ja;
        plus(eu);
        plus(neu(mandant, zeitraum, QDate(2026, 3, 4), "99", 20, 999, false,
                 QStringLiteral("fremder Kreis")));
        Buchung rc = neu(klein, kleinJahr, QDate(2026, 3, 5), "300", 20, kleinKreis, false,
                         QStringLiteral("Reverse Charge beim Kleinunternehmer"));
        rc.IstEU = buchungscode::Ja;
        rc.Steuerschuld = steuerschuld::ReverseCharge;
        plus(rc);
        Buchung rcGross = rc;
        rcGross.mandant = mandant;
        rcGross.Wirtschaftsjahr = zeitraum;
        rcGross.BK = buero;
        rcGross.Text = QStringLiteral("Reverse Charge");
        plus(rcGross);
        plus(neu(mandant, vorjahr, QDate(2025, 6, 1), "77,70", 10, buero, false,
                 QStringLiteral("im Vorjahr")));
        plus(neu(mandant, zeitraum, QDate(2025, 12, 31), "5", 20, buero, false,
                 QStringLiteral("Datum im Vorjahr")));
        plus(neu(mandant, zeitraum, QDate(2026, 5, 1), "12", 4.9, buero, false,
                 QStringLiteral("4,9 % vor Juli")));
        Buchung kfz = neu(mandant, zeitraum, QDate(2026, 5, 5), "60", 20, buero, false,
                          QStringLiteral("Tanken\nWien"));
        kfz.IstKFZ = buchungscode::Ja;
        plus(kfz);
        plus(neu(klein, kleinJahr, QDate(2026, 5, 6), "8,40", 10, kleinKreis, false,
                 QStringLiteral("Fachbuch")));
        plus(neu(mandant, vorjahr, QDate(2025, 7, 1), "1", 0, erloese, true,
                 QStringLiteral("im Vorjahr")));
        return out;
    }

    int vorjahr = 0;
    int klein = 0;
    int kleinJahr = 0;
    int kleinKreis = 0;
};

TEST_F(BuchungsstapelTest, BooksAndRefusesExactlyAsSingleSavesDo) {
    // two copies of the books' file side by side
    NUR_DATEI();
    Datenbankkopie einzeln(dbPath(), clock);
    Datenbankkopie stapel(dbPath(), clock);
    const std::vector<Buchung> alle = buchungen();

    std::vector<Ergebnis> erwartet;
    Buchungsschreiber schreiber(*einzeln.dm);
    for (const Buchung& b : alle) {
        try {
            erwartet.emplace_back(schreiber.neueBuchungSpeichern(b, Belegnummernwahl::Naechste));
        } catch (const BuchungAbgewiesen& f) {
            erwartet.emplace_back(f.text());
        }
    }
    std::vector<Ergebnis> ergebnis;
    {
        Transaktion t(stapel.dm->db());
        Buchungsstapel s(*stapel.dm);
        for (const Buchung& b : alle) {
            try {
                ergebnis.emplace_back(s.neueBuchung(b));
            } catch (const BuchungAbgewiesen& f) {
                ergebnis.emplace_back(f.text());
            }
        }
        t.commit();
    }

    // the refusals are the writer's own, in the same places
    const QString gesperrt = festschreibung::meldungGesperrt(QDate(2026, 1, 31));
    ASSERT_EQ(erwartet.size(), alle.size());
    EXPECT_EQ(erwartet[1], Ergebnis(gesperrt));
    EXPECT_EQ(erwartet[3],
              Ergebnis(QStringLiteral("Den Buchungskreis 999 gibt es beim aktuellen Mandanten "
                                      "nicht.")));
    EXPECT_EQ(erwartet[7], Ergebnis(QStringLiteral("Das Belegdatum 31.12.2025 liegt nicht im "
                                                   "Wirtschaftsjahr 2026.")));
    EXPECT_EQ(erwartet[8], Ergebnis(steuersatz::datumPruefen(4.9, QDate(2026, 5, 1))));
    EXPECT_EQ(ergebnis, erwartet);

    // the voucher numbers continue per client and year
    const auto zeile = [](int id, int m, int z, int nummer, const char* text) {
        return QStringLiteral("%1|%2|%3|%4|%5")
            .arg(id)
            .arg(m)
            .arg(z)
            .arg(nummer)
            .arg(QString::fromUtf8(text));
    };
    EXPECT_EQ(zeilenAlsText(stapel.dm->db(), QStringLiteral("(select ID, mandant, Wirtschaftsjahr, "
                                                            "Belegnummer, Text from T_Buchungen "
                                                            "where ID > 1)")),
              QStringList({zeile(2, mandant, zeitraum, 8, "Honorar März"),
                           zeile(3, mandant, zeitraum, 9, "Wareneinkauf EU"),
                           zeile(4, klein, kleinJahr, 1, "Reverse Charge beim Kleinunternehmer"),
                           zeile(5, mandant, zeitraum, 10, "Reverse Charge"),
                           zeile(6, mandant, vorjahr, 1, "im Vorjahr"),
                           zeile(7, mandant, zeitraum, 11, "Tanken Wien"),
                           zeile(8, klein, kleinJahr, 2, "Fachbuch"),
                           zeile(9, mandant, vorjahr, 2, "im Vorjahr")}));
    // the small business's reverse charge posts only the tax owed
    EXPECT_EQ(zeilenAlsText(stapel.dm->db(),
                            QStringLiteral("(select Buchungen_id, count(*) from "
                                           "t_kontenbewegungen where Buchungen_id in (4, 5) "
                                           "group by Buchungen_id)")),
              QStringList({QStringLiteral("4|1"), QStringLiteral("5|2")}));
    for (const char* tabelle : {"T_Buchungen", "t_kontenbewegungen", "T_Protokoll"})
        EXPECT_EQ(zeilenAlsText(stapel.dm->db(), QLatin1String(tabelle)),
                  zeilenAlsText(einzeln.dm->db(), QLatin1String(tabelle)))
            << tabelle;
    EXPECT_EQ(aenderungsprotokoll::pruefen(stapel.dm->db()).fehler, QString());
}

TEST_F(BuchungsstapelTest, WritesOnlyInsideATransaction) {
    EXPECT_THROW(Buchungsstapel{*dm}, DatenbankFehler);
}
