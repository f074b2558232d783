#include "stammdatenfixture.h"

#include "masterdata/mandanten.h"
#include "masterdata/mandantenbefehle.h"
#include "masterdata/tmandantimportieren.h"
#include "masterdata/tstammdaten.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

class StammdatenTest : public StammdatenFixture {
protected:
    void SetUp() override {
        StammdatenFixture::SetUp();
        befehle = std::make_unique<MandantenBefehle>(*umgebung, *fenster);
        mandant = dm->gibMandant();
        vorher.mandant = mandant;
        vorher.GanzerName = "Alpha KG";
        vorher.Adresse = "Hauptplatz 1";
        vorher.Steuernummer = "12-345/6789";
        dm->stammdatenSpeichern(vorher);
    }
    void TearDown() override {
        befehle.reset();
        StammdatenFixture::TearDown();
    }

    // Opens the dialog, types every field and closes it with `ergebnis`.
    void bearbeiten(int ergebnis) {
        ui.answerModal([ergebnis](QDialog& d) {
            auto& dialog = dynamic_cast<TStammdaten&>(d);
            dialog.DBEditGanzerName->setText(QString::fromUtf8("Bäckerei \"Kipferl\" 🥐"));
            dialog.DBEditAdresse->setText("Gasse 'A' 2");
            dialog.DBEditPlzOrt->setText("6991 Riezlern");
            dialog.DBEditTelefon->setText("+43 5517 1234");
            dialog.DBEditReferat->setText("Referat 7");
            dialog.DBEditSteuernummer->setText("");
            dialog.DBCheckBoxSteuerDE->setChecked(true);
            dialog.DBComboSteuerfreiKZ->setCurrentIndex(
                dialog.DBComboSteuerfreiKZ->findText("016 Kleinunternehmer"));
            return ergebnis;
        });
        befehle->Stammdaten1Click();
    }
    QVariantList zeile() {
        Sql q = dm->db().sql("select GanzerName, Adresse, PlzOrt, Telefon, Referat, Steuernummer, "
                             "SteuerDE, SteuerfreiKZ from T_Stammdaten where mandant = :m");
        q.bind("m", mandant).exec();
        QVariantList werte;
        if (q.next()) {
            for (int i = 0; i < 8; ++i)
                werte << q.value(i);
        }
        return werte;
    }

    std::unique_ptr<MandantenBefehle> befehle;
    int mandant = -1;
    Stammdaten vorher;
};

TEST_F(StammdatenTest, DialogShowsTheRowWithItsLabels) {
    ui.answerModal([](QDialog& d) {
        auto& dialog = dynamic_cast<TStammdaten&>(d);
        EXPECT_EQ(dialog.windowTitle(), "Stammdaten");
        EXPECT_EQ(dialog.LabelMandant->text(), "Alpha");
        EXPECT_EQ(dialog.LabelMandant->toolTip(),
                  "Mit einem Klick können sie den Mandanten wechseln");
        EXPECT_EQ(dialog.DBEditGanzerName->text(), "Alpha KG");
        EXPECT_EQ(dialog.DBEditAdresse->text(), "Hauptplatz 1");
        EXPECT_EQ(dialog.DBEditPlzOrt->text(), "");
        EXPECT_EQ(dialog.DBEditSteuernummer->text(), "12-345/6789");
        EXPECT_FALSE(dialog.DBCheckBoxSteuerDE->isChecked());
        EXPECT_EQ(dialog.DBCheckBoxSteuerDE->text(), "Steuersätze DE");
        auto* form = dialog.findChild<QFormLayout*>();
        QStringList beschriftungen;
        for (int row = 0; row < form->rowCount(); ++row) {
            auto* l = qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::LabelRole)->widget());
            beschriftungen << l->text();
        }
        EXPECT_EQ(beschriftungen,
                  QStringList({"Name", "Straße HNr.", "PLZ / Ort", "Tel", "Referat", "Steuernummen",
                               "Für Kleinwalsertal", "UVA: Erlöse zu 0 %"}));
        EXPECT_EQ(dialog.DBComboSteuerfreiKZ->currentText(), "(nicht gewählt)");
        EXPECT_EQ(dialog.DBComboSteuerfreiKZ->count(), 8);
        return int(QDialog::Rejected);
    });
    befehle->Stammdaten1Click();
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(StammdatenTest, OkStoresEveryFieldAsTyped) {
    bearbeiten(QDialog::Accepted);
    const QVariantList werte = zeile();
    ASSERT_EQ(werte.size(), 8);
    EXPECT_EQ(werte[0].toString(), QString::fromUtf8("Bäckerei \"Kipferl\" 🥐"));
    EXPECT_EQ(werte[1].toString(), "Gasse 'A' 2");
    EXPECT_EQ(werte[2].toString(), "6991 Riezlern");
    EXPECT_EQ(werte[3].toString(), "+43 5517 1234");
    EXPECT_EQ(werte[4].toString(), "Referat 7");
    EXPECT_TRUE(werte[5].isNull());
    EXPECT_EQ(werte[6].toInt(), 1);
    EXPECT_EQ(werte[7].toString(), "016");
    EXPECT_TRUE(dm->gibSteuerDE());
    EXPECT_EQ(anzahl("T_Stammdaten"), 1);
}

TEST_F(StammdatenTest, TheExemptKennzahlShowsAndClearsBackToNull) {
    dm->db().execute("update T_Stammdaten set SteuerfreiKZ = 'nicht steuerbar'");
    ui.answerModal([](QDialog& d) {
        auto& dialog = dynamic_cast<TStammdaten&>(d);
        EXPECT_EQ(dialog.DBComboSteuerfreiKZ->currentText(), "Nicht steuerbar (nicht in der UVA)");
        dialog.DBComboSteuerfreiKZ->setCurrentIndex(0);
        return int(QDialog::Accepted);
    });
    befehle->Stammdaten1Click();
    EXPECT_TRUE(zeile()[7].isNull());
}

TEST_F(StammdatenTest, ADatabaseWithoutTheExemptKennzahlReadsAsNotChosen) {
    dm->db().execute("alter table T_Stammdaten drop column SteuerfreiKZ");
    EXPECT_FALSE(dm->hatSteuerfreiKZ());
    const Stammdaten gelesen = mandanten::stammdatenLesen(*dm);
    EXPECT_EQ(gelesen.GanzerName, "Alpha KG");
    EXPECT_TRUE(gelesen.SteuerfreiKZ.isEmpty());
    // the other fields still save; a chosen Kennzahl cannot, and nothing is written
    Stammdaten neu = gelesen;
    neu.Adresse = "Neugasse 3";
    dm->stammdatenSpeichern(neu);
    EXPECT_EQ(mandanten::stammdatenLesen(*dm).Adresse, "Neugasse 3");
    neu.Adresse = "Anderswo 4";
    neu.SteuerfreiKZ = "011";
    EXPECT_THROW(dm->stammdatenSpeichern(neu), DatenbankFehler);
    EXPECT_EQ(mandanten::stammdatenLesen(*dm).Adresse, "Neugasse 3");
}

TEST_F(StammdatenTest, AnythingButOkLeavesTheRowUnchanged) {
    const QVariantList davor = zeile();
    bearbeiten(QDialog::Rejected);
    EXPECT_EQ(zeile(), davor);
    EXPECT_TRUE(zeile()[2].isNull());
    EXPECT_FALSE(dm->gibSteuerDE());
}

TEST_F(StammdatenTest, AClientWithoutARowGetsOneOnOk) {
    dm->db().execute("delete from T_Stammdaten");
    bearbeiten(QDialog::Accepted);
    EXPECT_EQ(anzahl("T_Stammdaten", QStringLiteral("mandant = %1").arg(mandant)), 1);
    EXPECT_EQ(zeile()[2].toString(), "6991 Riezlern");
}

TEST_F(StammdatenTest, TheImportWindowShowsItsTextsAndTouchesNothing) {
    const int zeitraum = dm->gibZeitraum();
    const QByteArray davor = [&] {
        QFile f(dbPath());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    ui.answerModal([](QDialog& d) {
        auto& fenster = dynamic_cast<TMandantImportieren&>(d);
        EXPECT_EQ(fenster.windowTitle(), "Velmora - Mandant importieren");
        EXPECT_EQ(fenster.Label2->text(), "Mit diesem Assistenten können  \"alte\" zusätzliche "
                                          "Mandanten importiert werden");
        EXPECT_TRUE(fenster.Label2->wordWrap());
        EXPECT_EQ(fenster.Label1->text(), "Wo befindet sich der alte Mandant:");
        EXPECT_TRUE(fenster.findChildren<QAbstractButton*>().isEmpty());
        return int(QDialog::Rejected);
    });
    befehle->MandantImportieren1Click();
    QFile f(dbPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), davor);
    EXPECT_EQ(dm->gibMandant(), mandant);
    EXPECT_EQ(dm->gibZeitraum(), zeitraum);
    EXPECT_TRUE(fenster->anzeigen.empty());
}
