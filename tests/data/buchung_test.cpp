#include "data/buchung.h"
#include "fixture.h"

class BuchungTabelleTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant();
    }
};

TEST_F(BuchungTabelleTest, EmptyValuesAreNullAndReadBack) {
    Buchung b;
    b.ID = 7;
    b.mandant = dm->gibMandant();
    b.Wirtschaftsjahr = dm->gibZeitraum();
    b.Buchungsdatum = QDate(2026, 2, 28);
    b.Betrag = Currency::fromUnits(-12345);
    buchungstabelle::einfuegen(dm->db(), b);
    EXPECT_EQ(wert("select count(*) from T_Buchungen where Text is null and Belegnummer is null "
                   "and BK is null and Buchungsdatum = '2026-02-28' and Betrag = -12345")
                  .toInt(),
              1);
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), 7, b.mandant), b);
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), 7, b.mandant + 1), std::nullopt);

    // codes a foreign writer left empty read as no, which makes an expense
    dm->db().execute(QStringLiteral("update T_Buchungen set IstEinnahme = null, IstEU = null, "
                                    "Steuersatz = null, Betrag = null"));
    const Buchung gelesen = *buchungstabelle::lesen(dm->db(), 7, b.mandant);
    EXPECT_EQ(gelesen.IstEinnahme, 2);
    EXPECT_EQ(gelesen.IstEU, 2);
    EXPECT_EQ(gelesen.Steuersatz, 0);
    EXPECT_EQ(gelesen.Betrag.units(), 0);
}

TEST_F(BuchungTabelleTest, ChangeAndDeleteMatchIdentifierAndClient) {
    Buchung b;
    b.ID = 3;
    b.mandant = dm->gibMandant();
    b.Text = QStringLiteral("alt");
    buchungstabelle::einfuegen(dm->db(), b);

    Buchung fremd = b;
    fremd.mandant += 1;
    fremd.Text = QStringLiteral("neu");
    EXPECT_FALSE(buchungstabelle::aendern(dm->db(), fremd));
    EXPECT_EQ(buchungstabelle::loeschen(dm->db(), 3, fremd.mandant), 0);
    b.Text = QStringLiteral("neu");
    b.Belegnummer = 12;
    EXPECT_TRUE(buchungstabelle::aendern(dm->db(), b));
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), 3, b.mandant), b);
    EXPECT_EQ(buchungstabelle::loeschen(dm->db(), 3, b.mandant), 1);
    EXPECT_EQ(anzahl("T_Buchungen"), 0);
}

TEST_F(BuchungTabelleTest, TextSuggestionsOfClientAndYear) {
    const int m = dm->gibMandant();
    const int z = dm->gibZeitraum();
    const auto neu = [&](int id, int mandant, int zeitraum, const QString& text) {
        Buchung b;
        b.ID = id;
        b.mandant = mandant;
        b.Wirtschaftsjahr = zeitraum;
        b.Text = text;
        buchungstabelle::einfuegen(dm->db(), b);
    };
    neu(1, m, z, "Miete");
    neu(2, m, z, "Miete");
    neu(3, m, z, QString());
    neu(4, m, z + 1, "Vorjahr");
    neu(5, m + 1, z, "Fremd");
    QStringList texte = buchungstabelle::texte(dm->db(), m, z);
    texte.sort();
    EXPECT_EQ(texte, (QStringList{" ", "Miete"}));
}
