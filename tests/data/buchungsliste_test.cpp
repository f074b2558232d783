#include "data/buchungsliste.h"
#include "fixture.h"

#include <QSqlRecord>

namespace {

class BuchungslisteTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant();
        m = dm->gibMandant();
        z = dm->gibZeitraum();
        bk = kreis(m, "Allgemein", "AL");
    }

    static std::vector<int> ids(const Buchungsliste& liste) {
        std::vector<int> result;
        for (int r = 0; r < liste.rowCount(); ++r)
            result.push_back(*liste.buchungsid(r));
        return result;
    }

    int m = -1, z = -1, bk = -1;
};

TEST_F(BuchungslisteTest, NewestDateFirstThenOrderOfEntry) {
    const int maerz1 = buchung(m, z, "2026-03-01", "10,00", 20, bk, true);
    const int mai = buchung(m, z, "2026-05-01", "20,00", 20, bk, true);
    const int maerz2 = buchung(m, z, "2026-03-01", "30,00", 20, bk, true);
    const int jaenner = buchung(m, z, "2026-01-15", "40,00", 20, bk, true);
    const int dezember = buchung(m, z, "2026-12-31", "50,00", 20, bk, true);
    Buchungsliste liste(dm->db(), true);
    liste.starten(z, m);
    EXPECT_EQ(ids(liste), std::vector<int>({dezember, mai, maerz1, maerz2, jaenner}));
}

TEST_F(BuchungslisteTest, OnlyTheKindClientAndYearWithAnExistingCircle) {
    const int ein = buchung(m, z, "2026-03-01", "10,00", 20, bk, true);
    const int aus = buchung(m, z, "2026-03-02", "20,00", 20, bk, false);
    buchung(m, z, "2026-03-03", "30,00", 20, 999, true); // circle missing
    const int vorjahr = dm->zeitraumAnlegen(m, 2025);
    buchung(m, vorjahr, "2025-03-01", "40,00", 20, bk, true);
    const int anderer = dm->mandantAnlegen("Zweiter", false);
    const int andererKreis = kreis(anderer, "Fremd", "FR");
    buchung(anderer, z, "2026-03-01", "50,00", 20, andererKreis, true);
    // a circle identifier of another client does not make a booking listed
    buchung(m, z, "2026-03-04", "60,00", 20, andererKreis, true);

    Buchungsliste einnahmen(dm->db(), true);
    einnahmen.starten(z, m);
    EXPECT_EQ(ids(einnahmen), std::vector<int>({ein}));
    Buchungsliste ausgaben(dm->db(), false);
    ausgaben.starten(z, m);
    EXPECT_EQ(ids(ausgaben), std::vector<int>({aus}));
}

TEST_F(BuchungslisteTest, RowsShowAsTheGridShowsThem) {
    const int b = buchung(m, z, "2026-05-07", "1.234,50", 20, bk, true, 2, 2, 17);
    buchung(m, z, "2026-01-02", "0,005", 10, bk, false, 2, 2, 3);
    Buchungsliste ein(dm->db(), true);
    ein.starten(z, m);
    EXPECT_EQ(ein.zeile(0), QStringList({"07.05.2026", "17", "20", "1.234,50",
                                         "Buchung " + QString::number(b), "AL"}));
    Buchungsliste aus(dm->db(), false);
    aus.starten(z, m);
    EXPECT_EQ(aus.zeile(0).mid(0, 4), QStringList({"02.01.2026", "3", "10", "0,01"}));

    // the hidden tax column: 20 % contained in the gross amount
    const QSqlRecord r = ein.record();
    EXPECT_EQ(ein.data(ein.index(0, r.indexOf("Ust"))).toString(), "205,75");
    EXPECT_EQ(aus.record().indexOf("Vst"), r.indexOf("Ust"));
    EXPECT_EQ(r.indexOf("Buchungsid"), 7);

    std::vector<QString> titel;
    for (const ListenSpalte& s : Buchungsliste::spalten(true))
        titel.push_back(s.titel);
    EXPECT_EQ(titel, std::vector<QString>({"Buchungsdatum", "Belegnummer", "Steuersatz", "Betrag",
                                           "Buchungstext", "BK"}));
}

TEST_F(BuchungslisteTest, RequeryKeepsItsParameters) {
    Buchungsliste liste(dm->db(), true);
    liste.requery(); // never opened: stays empty
    EXPECT_EQ(liste.rowCount(), 0);
    EXPECT_FALSE(liste.buchungsid(0).has_value());

    const int vorjahr = dm->zeitraumAnlegen(m, 2025);
    const int alt = buchung(m, vorjahr, "2025-03-01", "10,00", 20, bk, true);
    liste.starten(vorjahr, m);
    const int neu = buchung(m, vorjahr, "2025-04-01", "10,00", 20, bk, true);
    buchung(m, z, "2026-04-01", "10,00", 20, bk, true);
    EXPECT_EQ(ids(liste), std::vector<int>({alt}));
    liste.requery();
    EXPECT_EQ(ids(liste), std::vector<int>({neu, alt}));
    EXPECT_EQ(liste.zeitraum(), vorjahr);
    EXPECT_FALSE(liste.buchungsid(2).has_value());
    EXPECT_FALSE(liste.buchungsid(-1).has_value());
}

TEST_F(BuchungslisteTest, ManyRowsLoadAsTheyAreRead) {
    {
        Transaktion t(dm->db());
        for (int i = 0; i < 3000; ++i)
            buchung(m, z, "2026-06-01", "1,00", 20, bk, true);
        t.commit();
    }
    Buchungsliste liste(dm->db(), true);
    liste.starten(z, m);
    // libpq hands over a result whole; SQLite's rows come as they are read
    if (!testserver::aktiv()) {
        EXPECT_LT(liste.rowCount(), 3000);
        EXPECT_TRUE(liste.canFetchMore());
    }
    while (liste.canFetchMore())
        liste.fetchMore();
    ASSERT_EQ(liste.rowCount(), 3000);
    EXPECT_EQ(*liste.buchungsid(2999), 3000);
}

TEST_F(BuchungslisteTest, ADatabaseErrorIsThrown) {
    dm->db().execute("alter table T_BKreis rename to T_weg");
    Buchungsliste liste(dm->db(), true);
    EXPECT_THROW(liste.starten(z, m), DatenbankFehler);
}

} // namespace

namespace {

TEST_F(BuchungslisteTest, RatesWithADecimalAndTheTaxKindInTheTooltip) {
    const int satz = buchung(m, z, "2026-07-01", "104,90", 20, bk, true);
    const int kz = buchung(m, z, "2026-07-02", "80,00", 0, bk, true);
    const int ohne = buchung(m, z, "2026-07-03", "10,00", 20, bk, true);
    const int rc = buchung(m, z, "2026-07-04", "300,00", 20, bk, false, 1);
    dm->db().execute(
        QStringLiteral("update T_Buchungen set Steuersatz = 4.9 where ID = %1").arg(satz));
    dm->db().execute(
        QStringLiteral("update T_Buchungen set SteuerfreiKZ = '011' where ID = %1").arg(kz));
    dm->db().execute(
        QStringLiteral("update T_Buchungen set Steuerschuld = 1 where ID = %1").arg(rc));
    Buchungsliste ein(dm->db(), true);
    ein.starten(z, m);
    ASSERT_EQ(ids(ein), std::vector<int>({ohne, kz, satz}));
    // 104,90 − 104,90 / 1,049 = 4,90
    EXPECT_EQ(ein.zeile(2), QStringList({"01.07.2026", QString::number(satz), "4,9", "104,90",
                                         "Buchung " + QString::number(satz), "AL"}));
    EXPECT_EQ(ein.data(ein.index(2, ein.record().indexOf("Ust"))).toString(), "4,90");
    const auto tipp = [](const Buchungsliste& l, int row) {
        return l.data(l.index(row, 0), Qt::ToolTipRole).toString();
    };
    EXPECT_EQ(tipp(ein, 1), QStringLiteral("Kennzahl: 011 Ausfuhrlieferungen"));
    EXPECT_EQ(tipp(ein, 0), QString());
    Buchungsliste aus(dm->db(), false);
    aus.starten(z, m);
    EXPECT_EQ(tipp(aus, 0), QStringLiteral("Reverse Charge (§ 19 Abs. 1)"));
}

} // namespace
