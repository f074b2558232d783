#include "bookings/buchungskreis.h"
#include "bookings/buchungskreisauswahl.h"
#include "bookings/buchungskreisbefehle.h"
#include "bookings/buchungskreisliste.h"
#include "bookings/buchungskreisneu.h"
#include "fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>

namespace {

// The current client "Mandant 1" with its year 2026 and a second client
// with a year of its own.
class BuchungskreisTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant();
        m = dm->gibMandant();
        z = dm->gibZeitraum();
        anderer = dm->mandantAnlegen(QStringLiteral("Zweiter"), false);
        befehle = std::make_unique<BuchungskreisBefehle>(*umgebung, nullptr);
    }
    void TearDown() override {
        befehle.reset();
        VelmoraFixture::TearDown();
    }

    // "id:mandant:name:kurz" of every circle in identifier order.
    QStringList kreise() {
        QStringList result;
        Sql q = dm->db().sql("select id, mandant, BKName, BKKurz from T_BKreis order by id");
        q.exec();
        while (q.next()) {
            result << QStringLiteral("%1:%2:%3:%4")
                          .arg(q.value(0).toInt())
                          .arg(q.value(1).toInt() == m ? QStringLiteral("m") : QStringLiteral("a"),
                               q.value(2).toString(), q.value(3).toString());
        }
        return result;
    }
    // The names the list dialog shows, top to bottom.
    QStringList listenNamen() {
        QStringList result;
        QAbstractItemModel* mod = grid()->model();
        for (int r = 0; r < mod->rowCount(); ++r)
            result << mod->index(r, 0).data().toString();
        return result;
    }
    QTableView* grid() {
        return befehle->FormBuchungskreis().findChild<QTableView*>(QStringLiteral("DBGrid1"));
    }
    void zeileWaehlen(int row) { grid()->setCurrentIndex(grid()->model()->index(row, 0)); }
    // The edit dialog's answer: its two fields, then the result.
    void bearbeitenMit(const QString& name, const QString& kurz, int ergebnis,
                       QString* titel = nullptr, QStringList* vorher = nullptr) {
        ui.answerModal([=](QDialog& d) {
            auto* edit1 = d.findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
            auto* edit2 = d.findChild<QLineEdit*>(QStringLiteral("DBEdit2"));
            if (titel)
                *titel = d.windowTitle();
            if (vorher)
                *vorher = {edit1->text(), edit2->text()};
            edit1->setText(name);
            edit2->setText(kurz);
            return ergebnis;
        });
    }
    void listeZeigen() {
        dm->BuchungskreiseFiltern(m);
        befehle->FormBuchungskreis().auswaehlen(std::nullopt);
    }

    int m = -1, z = -1, anderer = -1;
    std::unique_ptr<BuchungskreisBefehle> befehle;
};

TEST_F(BuchungskreisTest, IdentifiersContinueAcrossClients) {
    EXPECT_EQ(buchungskreise::anlegen(*dm, m, "Erster", "E"), 1);
    dm->db().execute("insert into T_BKreis (id, mandant, BKName, BKKurz) values (41, " +
                     QString::number(anderer) + ", 'Fremd', 'F')");
    EXPECT_EQ(buchungskreise::anlegen(*dm, m, "Zweiter", "Z"), 42);
    EXPECT_EQ(kreise(), QStringList({"1:m:Erster:E", "41:a:Fremd:F", "42:m:Zweiter:Z"}));
}

TEST_F(BuchungskreisTest, NamesOfAnyCharactersAreStoredExactly) {
    const QString name = QStringLiteral("Büro & 'Reisen' \"%\" ; -- 😀");
    const int id = buchungskreise::anlegen(*dm, m, name, QStringLiteral("😀x"));
    const int leer = buchungskreise::anlegen(*dm, m, QString(), QString());
    const auto k = buchungskreise::lesen(*dm, id, m);
    ASSERT_TRUE(k.has_value());
    EXPECT_EQ(k->BKName, name);
    EXPECT_EQ(k->BKKurz, QStringLiteral("😀x")) << "the database never cuts the short name";
    EXPECT_EQ(wert("select BKName is not null and BKName = '' from T_BKreis where id = " +
                   QString::number(leer))
                  .toInt(),
              1);
    EXPECT_FALSE(buchungskreise::lesen(*dm, id, anderer).has_value());
}

TEST_F(BuchungskreisTest, ACircleInUseInAnyYearIsNotDeleted) {
    const int alt = kreis(m, "Alt", "A");
    const int frei = kreis(m, "Frei", "F");
    const int vorjahr = dm->zeitraumAnlegen(m, 2025);
    buchung(m, vorjahr, "2025-05-01", "10,00", 20, alt, false);
    // another client's booking that happens to name the identifier does not count
    buchung(anderer, z, "2026-05-01", "10,00", 20, frei, false);

    EXPECT_TRUE(buchungskreise::inGebrauch(*dm, alt, m));
    EXPECT_FALSE(buchungskreise::loeschen(*dm, alt, m));
    EXPECT_FALSE(buchungskreise::inGebrauch(*dm, frei, m));
    EXPECT_TRUE(buchungskreise::loeschen(*dm, frei, m));
    EXPECT_EQ(kreise(), QStringList({QString::number(alt) + ":m:Alt:A"}));
    // a circle of another client is not deleted through this one
    const int fremd = kreis(anderer, "Fremd", "X");
    buchungskreise::loeschen(*dm, fremd, m);
    EXPECT_EQ(anzahl("T_BKreis", "id = " + QString::number(fremd)), 1);
}

TEST_F(BuchungskreisTest, PickerResultsDecode) {
    struct Fall {
        int ergebnis;
        bool abgebrochen, alle;
        int id;
    };
    for (const Fall& f :
         {Fall{0, true, false, -1}, Fall{2, true, false, -1}, Fall{999, true, false, -1},
          Fall{1000, false, true, -1}, Fall{1007, false, false, 7}, Fall{1001, false, false, 1}}) {
        SCOPED_TRACE(f.ergebnis);
        const auto a = buchungskreise::auswahlDeuten(f.ergebnis);
        EXPECT_EQ(a.abgebrochen, f.abgebrochen);
        EXPECT_EQ(a.alle, f.alle);
        EXPECT_EQ(a.id, f.id);
    }
}

TEST_F(BuchungskreisTest, MenuCommandShowsTheCurrentClientsCircles) {
    kreis(m, "Zeitung", "Z");
    kreis(anderer, "Fremd", "F");
    kreis(m, "Auto", "A");
    QStringList gezeigt;
    QString titel;
    ui.answerModal([&](QDialog& d) {
        titel = d.windowTitle();
        gezeigt = listenNamen();
        return QDialog::Accepted;
    });
    befehle->Buchungskreise1Click();
    EXPECT_EQ(titel, "Buchungskreise");
    EXPECT_EQ(gezeigt, QStringList({"Auto", "Zeitung"}));
    EXPECT_EQ(dm->bkFilter(), m);
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(BuchungskreisTest, NewCircleIsStoredOnOkOnly) {
    kreis(anderer, "Fremd", "F");
    listeZeigen();
    QString titel;
    bearbeitenMit("Büro", "B", QDialog::Accepted, &titel);
    befehle->SchalterNeuClick();
    EXPECT_EQ(titel, "Neuer Buchungskreis");
    EXPECT_EQ(kreise(), QStringList({"1:a:Fremd:F", "2:m:Büro:B"}));
    EXPECT_EQ(listenNamen(), QStringList({"Büro"}));
    EXPECT_EQ(befehle->FormBuchungskreis().ausgewaehlt(), 2);

    // "Abbruch" and closing the window store nothing
    bearbeitenMit("Weg", "W", TFormBuchungskreisNeu::Abbruch);
    befehle->SchalterNeuClick();
    bearbeitenMit("Weg", "W", QDialog::Rejected);
    befehle->SchalterNeuClick();
    EXPECT_EQ(anzahl("T_BKreis"), 2);
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(BuchungskreisTest, ChangeKeepsIdentifierClientAndBookings) {
    kreis(m, "Auto", "A");
    const int buero = kreis(m, "Büro", "B");
    const int b = buchung(m, z, "2026-05-01", "10,00", 20, buero, false);
    listeZeigen();
    zeileWaehlen(1);
    QString titel;
    QStringList vorher;
    bearbeitenMit("Arbeitszimmer", "AZ", QDialog::Accepted, &titel, &vorher);
    befehle->SchalterAendernClick();
    EXPECT_EQ(titel, "Buchungskreis bearbeiten");
    EXPECT_EQ(vorher, QStringList({"Büro", "B"}));
    EXPECT_EQ(kreise(), QStringList({"1:m:Auto:A", "2:m:Arbeitszimmer:AZ"}));
    EXPECT_EQ(listenNamen(), QStringList({"Arbeitszimmer", "Auto"}));
    EXPECT_EQ(befehle->FormBuchungskreis().ausgewaehlt(), buero);
    EXPECT_EQ(wert("select BK from T_Buchungen where ID = " + QString::number(b)).toInt(), buero);

    zeileWaehlen(0);
    bearbeitenMit("Nein", "N", TFormBuchungskreisNeu::Abbruch);
    befehle->SchalterAendernClick();
    EXPECT_EQ(kreise(), QStringList({"1:m:Auto:A", "2:m:Arbeitszimmer:AZ"}));
}

TEST_F(BuchungskreisTest, ChangeOrDeleteOnAnEmptyListDoesNothing) {
    kreis(anderer, "Fremd", "F");
    listeZeigen();
    befehle->SchalterAendernClick();
    befehle->SchalterLoeschenClick();
    EXPECT_EQ(kreise(), QStringList({"1:a:Fremd:F"}));
    EXPECT_TRUE(ui.shown().empty()) << "no dialog and no message";
}

TEST_F(BuchungskreisTest, DeleteIsRefusedWithTheMessageWhileInUse) {
    const int auto_ = kreis(m, "Auto", "A");
    kreis(m, "Büro", "B");
    const int vorjahr = dm->zeitraumAnlegen(m, 2025);
    buchung(m, vorjahr, "2025-05-01", "10,00", 20, auto_, false);
    listeZeigen();
    zeileWaehlen(0);
    befehle->SchalterLoeschenClick();
    EXPECT_EQ(ui.texts("message"),
              QStringList({"Auf diesen Buchungskreis wurde bereits gebucht und kann deshalb nicht "
                           "mehr gelöscht werden."}));
    EXPECT_EQ(listenNamen(), QStringList({"Auto", "Büro"}));

    zeileWaehlen(1);
    befehle->SchalterLoeschenClick();
    EXPECT_EQ(listenNamen(), QStringList({"Auto"}));
    EXPECT_EQ(ui.texts("message").size(), 1);
}

TEST_F(BuchungskreisTest, ListButtonsRunTheCommands) {
    kreis(m, "Auto", "A");
    listeZeigen();
    TFormBuchungskreis& liste = befehle->FormBuchungskreis();
    bearbeitenMit("Büro", "B", QDialog::Accepted);
    liste.findChild<QPushButton*>(QStringLiteral("SchalterNeu"))->click();
    zeileWaehlen(0);
    bearbeitenMit("Auto neu", "AN", QDialog::Accepted);
    liste.findChild<QPushButton*>(QStringLiteral("SchalterAendern"))->click();
    zeileWaehlen(1);
    liste.findChild<QPushButton*>(QStringLiteral("SchalterLoeschen"))->click();
    EXPECT_EQ(kreise(), QStringList({"1:m:Auto neu:AN"}));
    EXPECT_EQ(liste.findChild<QPushButton*>(QStringLiteral("SchalterFertig"))->text(),
              "S&chließen");
}

TEST_F(BuchungskreisTest, PickerShowsTheExportBoxOnlyWhenAskedAndReportsIt) {
    kreis(m, "Auto", "A");
    kreis(anderer, "Fremd", "F");
    bool sichtbar = true;
    int zeilen = -1;
    ui.answerModal([&](QDialog& d) {
        sichtbar = !d.findChild<QCheckBox*>(QStringLiteral("CheckBox_export"))->isHidden();
        zeilen = dm->ADO_BK().rowCount();
        return buchungskreise::Alle;
    });
    auto a = befehle->BuchungskreisAuswaehlen(false);
    EXPECT_FALSE(sichtbar);
    EXPECT_EQ(zeilen, 1);
    EXPECT_EQ(a.ergebnis, 1000);
    EXPECT_FALSE(a.datenexport);

    ui.answerModal([&](QDialog& d) {
        auto* box = d.findChild<QCheckBox*>(QStringLiteral("CheckBox_export"));
        sichtbar = !box->isHidden();
        box->setChecked(true);
        return 1007;
    });
    a = befehle->BuchungskreisAuswaehlen(true);
    EXPECT_TRUE(sichtbar);
    EXPECT_EQ(a.ergebnis, 1007);
    EXPECT_TRUE(a.datenexport);
}

TEST_F(BuchungskreisTest, AFailedWriteIsShownAndStoresNothing) {
    listeZeigen();
    schreibfehler(QStringLiteral("T_BKreis"), QStringLiteral("INSERT"), QStringLiteral("kein"));
    bearbeitenMit("Büro", "B", QDialog::Accepted);
    befehle->SchalterNeuClick();
    EXPECT_EQ(ui.texts("error").size(), 1);
    EXPECT_EQ(anzahl("T_BKreis"), 0);
}

} // namespace
