#include "bookings/buchungsschreiber.h"
#include "data/buchung.h"
#include "data/dm_einaus.h"
#include "data/festschreibung.h"
#include "export/exportsavedialog.h"
#include "fixture.h"
#include "reports/tuvaansicht.h"
#include "reports/tuvaauswahl.h"
#include "reports/uva.h"
#include "reports/uvabefehl.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QWidget>

namespace {

class UvaBefehlTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant(QStringLiteral("Huber KG"), 2026);
        Stammdaten s = *dm->Table_Stammdaten();
        s.Steuernummer = QStringLiteral("12-345/6789");
        dm->stammdatenSpeichern(s);
        const int bk = kreis(dm->gibMandant(), QStringLiteral("Allgemein"), QStringLiteral("A"));
        // November: 1.200,00 at 20 %, 110,00 at 10 %, input tax 100,00
        for (const auto& [datum, betrag, satz, einnahme] :
             {std::tuple{"03.11.2026", "1200", 20, true},
              {"04.11.2026", "110", 10, true},
              {"05.11.2026", "600", 20, false}}) {
            Buchung b;
            b.mandant = dm->gibMandant();
            b.Wirtschaftsjahr = dm->gibZeitraum();
            b.Buchungsdatum = QDate::fromString(QString::fromLatin1(datum), "dd.MM.yyyy");
            b.Betrag = *Currency::parse(QString::fromLatin1(betrag));
            b.Steuersatz = satz;
            b.BK = bk;
            b.IstEinnahme = einnahme ? 1 : 2;
            b.IstEU = b.IstDrittland = b.IstKFZ = b.IstGebaeude = 2;
            Buchungsschreiber(*dm).neueBuchungSpeichern(b, Belegnummernwahl::Naechste);
        }
        befehl = std::make_unique<UvaBefehl>(*umgebung, &fenster);
    }
    void TearDown() override {
        befehl.reset();
        VelmoraFixture::TearDown();
    }

    // Answers the period dialog: what it opened on, then the choice.
    void zeitraum(int code, int* vorgabe = nullptr) {
        ui.answerModal([code, vorgabe](QDialog& d) {
            auto& a = dynamic_cast<TUvaAuswahl&>(d);
            a.show(); // activates it, as the modal run does
            EXPECT_FALSE(a.RadioButton(17)->isVisibleTo(&a));
            EXPECT_FALSE(a.CheckBox_export->isVisibleTo(&a));
            if (vorgabe)
                *vorgabe = a.rueckgabe();
            a.RadioButton(code)->click();
            a.hide();
            return int(QDialog::Accepted);
        });
    }
    void speichernAls(const QString& datei, QString* vorschlag = nullptr) {
        ui.answerModal([datei, vorschlag](QDialog& d) {
            auto& s = dynamic_cast<ExportSaveDialog&>(d);
            if (vorschlag)
                *vorschlag = QFileInfo(s.selectedFiles().value(0)).fileName();
            s.selectFile(datei);
            s.accept();
            if (s.result() != QDialog::Accepted)
                s.reject();
            return s.result();
        });
    }

    QWidget fenster;
    std::unique_ptr<UvaBefehl> befehl;
};

TEST_F(UvaBefehlTest, PeriodSummarySaveAndAValidFile) {
    int vorgabe = 0;
    zeitraum(11, &vorgabe);
    ui.answerModal([](QDialog& d) {
        auto& a = dynamic_cast<TUvaAnsicht&>(d);
        EXPECT_EQ(a.windowTitle(), "UVA für FinanzOnline - November 2026");
        QStringList zeilen;
        for (int r = 0; r < a.Tabelle->rowCount(); ++r)
            zeilen << a.Tabelle->item(r, 0)->text() + "|" + a.Tabelle->item(r, 1)->text() + "|" +
                          a.Tabelle->item(r, 2)->text();
        EXPECT_EQ(zeilen,
                  QStringList({"000|Gesamtbetrag der Bemessungsgrundlagen|1.100,00",
                               "022|Bemessungsgrundlage 20 %|1.000,00",
                               "029|Bemessungsgrundlage 10 %|100,00", "060|Vorsteuern|100,00"}));
        EXPECT_EQ(a.LabelKZ095Text->text(), "KZ 095 Vorauszahlung (berechnet, nicht in der Datei)");
        EXPECT_EQ(a.LabelKZ095->text(), "110,00");
        EXPECT_EQ(a.LabelVerprobungText->text(), "Umsatzsteuerverprobung: Zahllast");
        EXPECT_EQ(a.LabelVerprobung->text(), "110,00");
        EXPECT_EQ(a.LabelDifferenz->text(), "0,00");
        EXPECT_EQ(a.LabelSchema->text(),
                  "Datei nach BMF_ERKLAERUNGS_UEBERMITTLUNG_U30_07_2026.xsd");
        a.BitBtnSpeichern->click();
        return a.result();
    });
    const QString datei = dir() + "U30_2026-11_2026-11.xml";
    QString vorschlag;
    speichernAls(datei, &vorschlag);
    ui.answerQuestion(UserSeam::No); // no lock
    befehl->UVA1Click();
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_FALSE(festschreibung::bis(dm->db(), dm->gibMandant(), dm->gibZeitraum()));
    EXPECT_EQ(vorgabe, 11) << "today is 10.12.2026: the month before";
    EXPECT_EQ(vorschlag, "U30_2026-11_2026-11.xml");
    EXPECT_EQ(ui.texts("message"),
              QStringList{"Die UVA wurde gespeichert:\r" + QDir::toNativeSeparators(datei) +
                          "\rSie kann in FinanzOnline hochgeladen werden."});
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("xmllint",
            {"--noout", "--schema",
             VELMORA_SCHEMA_DIR "/BMF_ERKLAERUNGS_UEBERMITTLUNG_U30_07_2026.xsd", datei});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAll().toStdString();
}

TEST_F(UvaBefehlTest, AfterTheFileTheLockIsOfferedOnceForThePeriod) {
    const QString frage = festschreibung::frage(QDate(2026, 11, 30));
    EXPECT_TRUE(frage.startsWith("Zeitraum bis 30.11.2026 festschreiben?")) << frage.toStdString();
    zeitraum(11);
    ui.answerModal([](QDialog&) { return int(QDialog::Accepted); });
    speichernAls(dir() + "november.xml");
    ui.answerQuestion(UserSeam::Yes);
    befehl->UVA1Click();
    EXPECT_EQ(ui.texts("question"), QStringList{frage});
    EXPECT_EQ(festschreibung::bis(dm->db(), dm->gibMandant(), dm->gibZeitraum()),
              QDate(2026, 11, 30));
    EXPECT_EQ(anzahl("T_Protokoll", "Aktion = 'festgeschrieben'"), 1);

    // the same or an earlier period again: the file, but no question
    ui.clearShown();
    zeitraum(13);
    ui.answerModal([](QDialog&) { return int(QDialog::Accepted); });
    speichernAls(dir() + "q1.xml");
    befehl->UVA1Click();
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_TRUE(ui.texts("question").isEmpty());
    EXPECT_TRUE(QFile::exists(dir() + "q1.xml"));
}

TEST_F(UvaBefehlTest, ARefusalOrACancelWritesNothing) {
    // a tax number the return cannot carry
    Stammdaten s = *dm->Table_Stammdaten();
    s.Steuernummer = QStringLiteral("1234");
    dm->stammdatenSpeichern(s);
    zeitraum(16);
    ui.answerQuestion(UserSeam::Ok);
    befehl->UVA1Click();
    EXPECT_EQ(ui.texts("question"), QStringList{uva::meldungSteuernummer("1234")});
    EXPECT_TRUE(QDir(dir()).entryList({"*.xml"}).isEmpty());

    s.Steuernummer = QStringLiteral("123456789");
    dm->stammdatenSpeichern(s);
    // cancelled summary, then a cancelled save dialog
    zeitraum(16);
    ui.answerModal([](QDialog&) { return int(QDialog::Rejected); });
    befehl->UVA1Click();
    zeitraum(16);
    ui.answerModal([](QDialog&) { return int(QDialog::Accepted); });
    ui.answerModal([](QDialog&) { return int(QDialog::Rejected); });
    befehl->UVA1Click();
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_TRUE(QDir(dir()).entryList({"*.xml"}).isEmpty());
    EXPECT_TRUE(ui.texts("message").isEmpty());

    // an existing file is replaced only when the user says so
    const QString datei = dir() + "uva.xml";
    QFile alt(datei);
    ASSERT_TRUE(alt.open(QIODevice::WriteOnly));
    alt.write("alt");
    alt.close();
    zeitraum(16);
    ui.answerModal([](QDialog&) { return int(QDialog::Accepted); });
    ui.answerModal([datei](QDialog& d) {
        auto& s = dynamic_cast<ExportSaveDialog&>(d);
        s.selectFile(datei);
        s.accept(); // "Nein": the dialog stays open
        EXPECT_EQ(s.result(), int(QDialog::Rejected));
        return int(QDialog::Rejected);
    });
    ui.answerQuestion(UserSeam::No);
    befehl->UVA1Click();
    ASSERT_TRUE(alt.open(QIODevice::ReadOnly));
    EXPECT_EQ(alt.readAll(), "alt");
}

TEST_F(UvaBefehlTest, TheDialogOpensOnThePeriodBeforeToday) {
    const struct {
        QDate heute;
        int jahr;
        int code;
    } faelle[] = {{QDate(2026, 12, 10), 2026, 11},
                  {QDate(2026, 1, 20), 2026, 1},
                  {QDate(2027, 2, 15), 2026, 12},
                  {QDate(2025, 6, 1), 2026, 1},
                  {QDate(2026, 7, 31), 2026, 6}};
    for (const auto& f : faelle)
        EXPECT_EQ(uva::vorgabeCode(f.heute, f.jahr), f.code) << f.heute.toString().toStdString();
}

} // namespace
