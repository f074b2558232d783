#include "bookings/buchungsschreiber.h"
#include "data/buchung.h"
#include "export/exportsavedialog.h"
#include "export/programmexport.h"
#include "export/tdbgridexport.h"
#include "export/tfrm_selection.h"
#include "fixture.h"
#include "reportengine/pagepainter.h"
#include "reportengine/previewwindow.h"
#include "reports/anlagenverzeichnis.h"
#include "reports/berichtbefehle.h"
#include "reports/tabelle.h"
#include "reports/tmonatsauswahl.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

namespace {

class BerichtBefehleTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant(QStringLiteral("Huber KG"), 2026);
        befehle = std::make_unique<BerichtBefehle>(*umgebung, nullptr);
    }
    void einnahme(const QDate& datum, const char* betrag) {
        Buchung b;
        b.mandant = dm->gibMandant();
        b.Wirtschaftsjahr = dm->gibZeitraum();
        b.Buchungsdatum = datum;
        b.Betrag = *Currency::parse(QString::fromLatin1(betrag));
        b.Steuersatz = 20;
        if (!bk)
            bk = kreis(dm->gibMandant(), QStringLiteral("Allgemein"), QStringLiteral("A"));
        b.BK = bk;
        Buchungsschreiber(*dm).neueBuchungSpeichern(b, Belegnummernwahl::Naechste);
    }
    int bk = 0;
    // Shows the period dialog as the program would and picks a code;
    // datenexport ticks or clears "Datenexport" when given.
    void periode(int code, bool* exportSichtbar = nullptr,
                 std::optional<bool> datenexport = std::nullopt) {
        ui.answerModal([code, exportSichtbar, datenexport](QDialog& d) {
            auto& auswahl = dynamic_cast<TMonatsAuswahl&>(d);
            auswahl.show();
            EXPECT_TRUE(auswahl.RadioButton(17)->isChecked());
            if (exportSichtbar)
                *exportSichtbar = auswahl.CheckBox_export->isVisible();
            if (datenexport)
                auswahl.CheckBox_export->setChecked(*datenexport);
            auswahl.RadioButton(code)->click();
            auswahl.hide();
            return static_cast<int>(QDialog::Accepted);
        });
    }
    std::unique_ptr<BerichtBefehle> befehle;
};

TEST_F(BerichtBefehleTest, ThePeriodChosenIsPreviewed) {
    einnahme(QDate(2026, 3, 31), "1200");
    einnahme(QDate(2026, 4, 1), "600");
    bool exportSichtbar = true;
    periode(3, &exportSichtbar);
    QStringList zeilen;
    ui.answerModal([&zeilen](QDialog& d) {
        auto& vorschau = dynamic_cast<reportengine::PreviewWindow&>(d);
        zeilen = reportengine::textLines(vorschau.model());
        EXPECT_EQ(vorschau.windowTitle(), "Umsatzsteuerverprobung März 2026");
        return 0;
    });
    befehle->USTVerprobung1Click();
    EXPECT_FALSE(exportSichtbar);
    ASSERT_GE(zeilen.size(), 4);
    EXPECT_EQ(zeilen[1], "März 2026");
    EXPECT_EQ(zeilen[3], "Erlöse 20%\t\t1.000,00\t200,00");
    EXPECT_EQ(zeilen.last(), "Zahllast\t200,00");
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(BerichtBefehleTest, TheYearEndReportsArePreviewed) {
    // 1.200,00 at 20 % in a circle without a Kennzahl; a machine of 2.000,00
    // from August over four years: half of 500,00
    einnahme(QDate(2026, 3, 31), "1200");
    anlagenverzeichnis::Eintrag maschine;
    maschine.bezeichnung = QStringLiteral("Maschine");
    maschine.anlage.anschaffung = QDate(2026, 8, 10);
    maschine.anlage.kosten = *Currency::parse(QStringLiteral("2000"));
    maschine.anlage.nutzungsdauer = 4;
    anlagenverzeichnis::anlegen(dm->db(), dm->gibMandant(), maschine);
    QStringList zeilen;
    const auto vorschau = [this, &zeilen](const char* titel) {
        ui.answerModal([&zeilen, titel](QDialog& d) {
            auto& v = dynamic_cast<reportengine::PreviewWindow&>(d);
            EXPECT_EQ(v.windowTitle(), QString::fromUtf8(titel));
            zeilen = reportengine::textLines(v.model());
            return 0;
        });
    };
    vorschau("Jahresabschluss (E 1a) Jahr 2026");
    befehle->JahresabschlussClick();
    ASSERT_GE(zeilen.size(), 3);
    EXPECT_TRUE(zeilen[zeilen.size() - 3].startsWith("9130\tAbschreibungen\t"));
    EXPECT_TRUE(zeilen[zeilen.size() - 3].endsWith("250,00"));
    EXPECT_TRUE(zeilen[zeilen.size() - 2].startsWith("ohne Kennzahl\tAllgemein\t"));
    EXPECT_TRUE(zeilen.last().startsWith("Gewinn")) << zeilen.last().toStdString();
    EXPECT_TRUE(zeilen.last().endsWith("750,00"));
    zeilen.clear();
    vorschau("Anlagenverzeichnis Jahr 2026");
    befehle->AnlagenverzeichnisClick();
    ASSERT_GE(zeilen.size(), 2);
    EXPECT_TRUE(zeilen[zeilen.size() - 2].startsWith("Maschine\t10.08.2026\t2.000,00"));
    EXPECT_TRUE(zeilen.last().startsWith("Summe"));
    EXPECT_TRUE(zeilen.last().endsWith("250,00\t1.750,00"));
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(BerichtBefehleTest, CancelNoPostingsAndFailures) {
    ui.answerModal([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    befehle->USTVerprobung1Click();
    EXPECT_TRUE(ui.texts("message").isEmpty());

    periode(5);
    befehle->USTVerprobung1Click();
    EXPECT_EQ(ui.texts("message"),
              QStringList({"Es gibt für diesen Zeitraum (noch) keine Einnahmen!"}));

    einnahme(QDate(2026, 5, 2), "120");
    dm->db().execute(QStringLiteral("alter table T_Buchungen rename column IstGebaeude to x"));
    periode(5);
    befehle->USTVerprobung1Click(); // no preview is shown: no modal answer needed
    ASSERT_EQ(ui.texts("error").size(), 1);
    EXPECT_TRUE(ui.texts("error")[0].startsWith(
        "Die Umsatzsteuerverprobung konnte nicht erstellt werden.\r"));
    EXPECT_EQ(ui.pending(), 0u);
}

// The data export as the main window sets it up, over Query_Export.
class DatenexportTest : public BerichtBefehleTest {
protected:
    void SetUp() override {
        BerichtBefehleTest::SetUp();
        exporter = std::make_unique<TDBGridExport>(ui, clock);
        exporter->setModel(&dm->Query_Export());
        programmExportEinrichten(*exporter, ui, QStringLiteral("Export Buchhaltung"));
        exporter->Options.exclude(xoShowProgress);
        befehle->setDatenexport(exporter.get());
    }
    // The format dialog, then the save dialog with the file typed in.
    void speichernUnter(const QString& datei) {
        ui.answerModal([](QDialog& d) {
            auto& s = dynamic_cast<Tfrm_Selection&>(d);
            EXPECT_EQ(s.windowTitle(), "Export Buchhaltung");
            // the tab-separated text instead of the preselected workbook
            s.SelectionCombo->setCurrentIndex(s.SelectionCombo->findText("Text (Tab getrennt)"));
            s.btn_Selection->click();
            return s.result();
        });
        ui.answerModal([datei](QDialog& d) {
            auto& s = dynamic_cast<ExportSaveDialog&>(d);
            s.selectFile(datei);
            s.accept();
            return s.result();
        });
    }
    QByteArray inhalt(const QString& datei) {
        QFile f(datei);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
    }
    std::unique_ptr<TDBGridExport> exporter;
};

TEST_F(DatenexportTest, JournalPreviewOrExport) {
    einnahme(QDate(2026, 1, 15), "120");
    Buchung eu;
    eu.mandant = dm->gibMandant();
    eu.Wirtschaftsjahr = dm->gibZeitraum();
    eu.Buchungsdatum = QDate(2026, 1, 29);
    eu.Text = QStringLiteral("Ware");
    eu.Betrag = *Currency::parse("1000");
    eu.Steuersatz = 20;
    eu.BK = kreis(dm->gibMandant(), QStringLiteral("Einkauf"), QStringLiteral("EK"));
    eu.IstEinnahme = 2;
    eu.IstEU = 1;
    Buchungsschreiber(*dm).neueBuchungSpeichern(eu, Belegnummernwahl::Naechste);

    // without "Datenexport": the preview, and the box is hidden again afterwards
    bool sichtbar = false;
    periode(1, &sichtbar, false);
    QStringList zeilen;
    ui.answerModal([&zeilen](QDialog& d) {
        auto& vorschau = dynamic_cast<reportengine::PreviewWindow&>(d);
        EXPECT_EQ(vorschau.windowTitle(), "Buchungsjournal Jänner 2026");
        zeilen = reportengine::textLines(vorschau.model());
        return 0;
    });
    befehle->Journal1Click();
    EXPECT_TRUE(sichtbar);
    EXPECT_FALSE(befehle->MonatsAuswahl().CheckBox_export->isVisible());
    EXPECT_EQ(zeilen.mid(3), QStringList({"15.01.2026\t1\t\t120,00\t20\t\t20,00",
                                          "29.01.2026\t2\tWare\t-1.000,00\t20\t200,00\t200,00",
                                          "Summe\t-880,00\t\t200,00\t220,00"}));

    // ticked: no preview, the file; the tick stays for the next run
    const QString datei = dir() + QStringLiteral("journal.txt");
    periode(1, nullptr, true);
    speichernUnter(datei);
    befehle->Journal1Click();
    EXPECT_EQ(inhalt(dir() + "journal.TXT"),
              QByteArray("Datum\tBelegnummer\tText\tSteuersatz\tBetrag\tVST\tUST\tBuchungskreis\r\n"
                         "15.01.2026\t1\t\t20\t120\t\t20\tAllgemein\r\n"
                         "29.01.2026\t2\tWare\t20\t-1000\t200\t200\tEinkauf\r\n"));
    EXPECT_TRUE(befehle->MonatsAuswahl().CheckBox_export->isChecked());
    EXPECT_TRUE(ui.texts("error").isEmpty());

    // Cancel: nothing, and the box is hidden again
    ui.answerModal([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    befehle->Journal1Click();
    EXPECT_FALSE(befehle->MonatsAuswahl().CheckBox_export->isVisible());
    EXPECT_EQ(ui.pending(), 0u);
    // the VAT verification after the journal does not show the box
    bool verprobungSichtbar = true;
    periode(1, &verprobungSichtbar);
    ui.answerModal([](QDialog&) { return 0; });
    befehle->USTVerprobung1Click();
    EXPECT_FALSE(verprobungSichtbar);
}

TEST_F(DatenexportTest, CircleCommandsAskThePickerThenPreviewOrExport) {
    einnahme(QDate(2026, 1, 15), "120");
    Buchung aus;
    aus.mandant = dm->gibMandant();
    aus.Wirtschaftsjahr = dm->gibZeitraum();
    aus.Buchungsdatum = QDate(2026, 1, 10);
    aus.Text = QStringLiteral("Büromaterial");
    aus.Betrag = *Currency::parse("240");
    aus.Steuersatz = 20;
    aus.BK = kreis(dm->gibMandant(), QStringLiteral("Einkauf"), QStringLiteral("EK"));
    aus.IstEinnahme = 2;
    Buchungsschreiber(*dm).neueBuchungSpeichern(aus, Belegnummernwahl::Naechste);

    std::vector<bool> gezeigt;
    BerichtBefehle::KreisWahl antwort;
    befehle->setKreisFrage([&](bool zeigen) {
        gezeigt.push_back(zeigen);
        return antwort;
    });
    QStringList titel;
    QStringList zeilen;
    const auto vorschau = [&] {
        ui.answerModal([&](QDialog& d) {
            auto& v = dynamic_cast<reportengine::PreviewWindow&>(d);
            titel << v.windowTitle();
            zeilen = reportengine::textLines(v.model());
            return 0;
        });
    };
    // cancelled: nothing
    antwort = {2, true};
    befehle->BuchungskreisAuswertung1Click();
    befehle->BuchungskreisDetails1Click();
    EXPECT_EQ(ui.pending(), 0u);

    antwort = {1000 + *aus.BK, false};
    // the period dialog after the picker, without its own "Datenexport"
    bool exportSichtbar = true;
    periode(17, &exportSichtbar);
    vorschau();
    befehle->BuchungskreisAuswertung1Click();
    EXPECT_FALSE(exportSichtbar);
    EXPECT_EQ(zeilen.last(), "Ergebnis\t-200,00\t-240,00");
    periode(17, &exportSichtbar);
    vorschau();
    befehle->BuchungskreisDetails1Click();
    EXPECT_FALSE(exportSichtbar);
    EXPECT_EQ(zeilen.value(1), "Jahr 2026 - Einkauf\t");
    EXPECT_EQ(titel, QStringList({"Einnahmen - Ausgaben Rechnung Jahr 2026",
                                  "Buchungskreis Details Jahr 2026"}));
    // the export has every circle, whichever was chosen
    antwort = {1000 + *aus.BK, true};
    periode(17);
    speichernUnter(dir() + QStringLiteral("details.txt"));
    befehle->BuchungskreisDetails1Click();
    EXPECT_EQ(inhalt(dir() + "details.TXT"),
              QByteArray("Belegnummer\tBuchungsdatum\tText\tNetto\tBrutto\tBKName\r\n"
                         "2\t10.01.2026\tB\xFCromaterial\t-200\t-240\tEinkauf\r\n"
                         "1\t15.01.2026\t\t100\t120\tAllgemein\r\n"));
    // a period cancelled ends the command; February has neither booking
    antwort = {1000 + *aus.BK, false};
    ui.answerModal([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    befehle->BuchungskreisAuswertung1Click();
    periode(2);
    vorschau();
    befehle->BuchungskreisDetails1Click();
    EXPECT_EQ(titel.last(), "Buchungskreis Details Februar 2026");
    EXPECT_EQ(zeilen.value(1), "Februar 2026 - Einkauf\t");
    EXPECT_EQ(gezeigt, std::vector<bool>({false, true, false, true, true, false, true}));
    EXPECT_TRUE(ui.texts("error").isEmpty());
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(BerichtBefehleTest, PlusMinusAsksThePeriodAndTheMonthsNeedNone) {
    einnahme(QDate(2026, 1, 15), "120");
    einnahme(QDate(2026, 2, 15), "240");
    ui.answerModal([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    befehle->Plus_MinusClick();
    EXPECT_EQ(ui.pending(), 0u);

    QStringList titel, zeilen;
    const auto vorschau = [&] {
        ui.answerModal([&](QDialog& d) {
            auto& v = dynamic_cast<reportengine::PreviewWindow&>(d);
            titel << v.windowTitle();
            zeilen = reportengine::textLines(v.model());
            return 0;
        });
    };
    periode(2);
    vorschau();
    befehle->Plus_MinusClick();
    EXPECT_EQ(zeilen.last(), "Ergebnis\t240,00\t0,00\t240,00\t200,00\t0,00\t200,00");
    vorschau();
    befehle->MonatsuebersichtClick();
    EXPECT_EQ(zeilen.last(), "Summe\t300,00\t0,00\t300,00");
    EXPECT_EQ(titel,
              QStringList({"Plus - Minus Rechnung Februar 2026", "Monatsübersicht Jahr 2026"}));
    EXPECT_TRUE(ui.texts("error").isEmpty());
    EXPECT_EQ(ui.pending(), 0u);
}

} // namespace

namespace {

TEST_F(DatenexportTest, TheYearEndPreviewsExportTheirRows) {
    // as in the preview test: 1.000,00 net unassigned, 250,00 depreciation
    einnahme(QDate(2026, 3, 31), "1200");
    anlagenverzeichnis::Eintrag maschine;
    maschine.bezeichnung = QStringLiteral("Maschine");
    maschine.anlage.anschaffung = QDate(2026, 8, 10);
    maschine.anlage.kosten = *Currency::parse(QStringLiteral("2000"));
    maschine.anlage.nutzungsdauer = 4;
    anlagenverzeichnis::anlegen(dm->db(), dm->gibMandant(), maschine);
    befehle->jahresabschlussExport().Options.exclude(xoShowProgress);
    const auto exportierenAus = [this](const QString& datei) {
        ui.answerModal([](QDialog& d) {
            auto& v = dynamic_cast<reportengine::PreviewWindow&>(d);
            EXPECT_EQ(v.exportAction()->text(), "Exportieren…");
            v.exportAction()->trigger();
            return 0;
        });
        speichernUnter(datei);
    };
    exportierenAus(dir() + QStringLiteral("e1a.txt"));
    befehle->JahresabschlussClick();
    EXPECT_EQ(inhalt(dir() + "e1a.TXT"), QByteArray("KZ\tText\tBetrag\r\n"
                                                    "9130\tAbschreibungen\t250,00\r\n"
                                                    "ohne Kennzahl\tAllgemein\t1.000,00\r\n"
                                                    "Gewinn\t\t750,00\r\n"));
    exportierenAus(dir() + QStringLiteral("anlagen.txt"));
    befehle->AnlagenverzeichnisClick();
    EXPECT_EQ(inhalt(dir() + "anlagen.TXT"),
              QByteArray("Bezeichnung\tAnschaffung\tKosten\tBuchwert Beginn\tAbgang\tAfA\t"
                         "Buchwert Ende\r\n"
                         "Maschine\t10.08.2026\t2.000,00\t0,00\t0,00\t250,00\t1.750,00\r\n"
                         "Summe\t\t2.000,00\t0,00\t0,00\t250,00\t1.750,00\r\n"));
    // the workbook gets numbers and dates, not their texts
    const TabellenModell& daten = befehle->jahresabschlussDaten();
    EXPECT_EQ(daten.index(0, 2).data(ZahlRolle).value<Currency>().format(), "2.000,00");
    EXPECT_EQ(daten.index(0, 1).data(DatumRolle).toDate(), QDate(2026, 8, 10));
    EXPECT_FALSE(daten.index(0, 0).data(ZahlRolle).isValid());
    EXPECT_EQ(daten.headerData(2, Qt::Horizontal, FeldArtRolle).toInt(),
              static_cast<int>(FeldArt::Waehrung));
    EXPECT_TRUE(ui.texts("error").isEmpty());
    EXPECT_EQ(ui.pending(), 0u);
}

} // namespace
