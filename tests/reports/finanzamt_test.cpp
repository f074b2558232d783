#include "fixture.h"

#include "data/finanzamtliste.h"
#include "export/exportsavedialog.h"
#include "export/programmexport.h"
#include "export/tabfrageexport.h"
#include "export/tdbgridexport.h"
#include "export/tfrm_selection.h"
#include "reports/finanzamtexport.h"
#include "reports/texportansicht.h"
#include "reports/texporthilfe.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {

const QByteArray kKopf = "Buchungsdatum\tBelegnummer\tText\tBruttoBetrag\tSteuersatz\tVST\tUST\r\n";

QByteArray dateiBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

// A workbook by the checksums of its parts; the part with the time it was
// written left out.
QByteArray zipTeile(const QByteArray& zip) {
    QByteArray out;
    for (qsizetype at = zip.indexOf("PK\x01\x02"); at >= 0 && at + 46 <= zip.size();
         at = zip.indexOf("PK\x01\x02", at + 46)) {
        const auto u16 = [&](qsizetype o) {
            return static_cast<int>(static_cast<uchar>(zip[at + o])) |
                   static_cast<int>(static_cast<uchar>(zip[at + o + 1])) << 8;
        };
        const QByteArray name = zip.mid(at + 46, u16(28));
        if (name != "docProps/core.xml")
            out += name + ':' + zip.mid(at + 16, 4).toHex() + '\n';
    }
    return out;
}

} // namespace

// The tax-office export through its window, as the menu command runs it.
class Finanzamt : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant(QStringLiteral("Huber KG"), 2008);
        mandant = dm->gibMandant();
        zeitraum = dm->gibZeitraum();
        bk = kreis(mandant, QStringLiteral("Allgemein"), QStringLiteral("AL"));
        ansicht = std::make_unique<TExportansicht>(*umgebung);
    }
    void TearDown() override {
        ansicht.reset();
        VelmoraFixture::TearDown();
    }
    void buchungen() {
        bewegung(mandant, buchung(mandant, zeitraum, "2008-01-15", "120", 20, bk, true), 1020,
                 "20");
        bewegung(mandant, buchung(mandant, zeitraum, "2008-02-03", "240", 20, bk, false), 2020,
                 "40");
        const int eu = buchung(mandant, zeitraum, "2008-06-30", "1000", 20, bk, false, 1);
        bewegung(mandant, eu, 1021, "200");
        bewegung(mandant, eu, 2021, "200");
        bewegung(mandant, buchung(mandant, zeitraum, "2008-06-30", "150", 0, bk, false, 2, 1), 3000,
                 "150");
        bewegung(mandant, buchung(mandant, zeitraum, "2008-07-01", "10", 20, bk, true), 1020,
                 "1,67");
    }
    // The preview: inspect runs while it is shown, then the export button
    // is pressed with the given file and the window closed.
    void vorschau(const QString& datei, std::function<void(TExportansicht&)> inspect = {}) {
        ui.answerModal([this, inspect](QDialog& d) {
            EXPECT_EQ(&d, ansicht.get());
            d.show();
            if (inspect)
                inspect(*ansicht);
            ansicht->BitBtn2->click();
            ansicht->BitBtn1->click();
            return d.result();
        });
        ui.answerModal([](QDialog& d) {
            auto& s = dynamic_cast<Tfrm_Selection&>(d);
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
    void ausfuehren(int monat) {
        Finanzamt1Click(*umgebung, *ansicht, [monat] { return std::optional<int>(monat); });
    }

    int mandant = -1;
    int zeitraum = -1;
    int bk = -1;
    std::unique_ptr<TExportansicht> ansicht;
};

TEST_F(Finanzamt, JuneListsAndExportsEachBookingOnceWithItsSigns) {
    buchungen();
    vorschau(dir() + "finanzamt.csv", [](TExportansicht& a) {
        EXPECT_EQ(a.DBGrid_Finanzamt->model()->rowCount(), 4);
        const int breiten[] = {90, 70, 180, 70, 70, 60, 60};
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(a.DBGrid_Finanzamt->columnWidth(i), breiten[i]) << i;
        EXPECT_EQ(a.DBGrid_Finanzamt->model()->index(2, 3).data().toString(), "-1000");
    });
    ausfuehren(6);
    EXPECT_EQ(dateiBytes(dir() + "finanzamt.TXT"),
              kKopf + "15.01.2008\t1\tBuchung 1\t120\t20\t0\t20\r\n"
                      "03.02.2008\t2\tBuchung 2\t-240\t20\t40\t0\r\n"
                      "30.06.2008\t3\tBuchung 3\t-1000\t20\t200\t200\r\n"
                      "30.06.2008\t4\tBuchung 4\t0\t0\t150\t0\r\n");
    EXPECT_FALSE(ansicht->QueryFinanzamt().offen());
    EXPECT_TRUE(ui.texts("error").isEmpty());
    EXPECT_EQ(ui.pending(), 0u);
}

// The export reads the statement's rows itself: for every format its file
// holds the same bytes as the export of the list the window shows, texts
// with separators, a text without value, a rate with a decimal and amounts
// with places included.
TEST_F(Finanzamt, TheStatementsExportWritesWhatTheListsExportWrites) {
    buchungen();
    const int sonder = buchung(mandant, zeitraum, "2008-06-12", "-0,5", 20, bk, true);
    bewegung(mandant, sonder, 1020, "-0,0833");
    dm->db().execute(
        QStringLiteral("update T_Buchungen set Text = 'A; \"B\", C\tD' where ID = %1").arg(sonder));
    const int ohneText = buchung(mandant, zeitraum, "2008-06-13", "104,9", 20, bk, false);
    bewegung(mandant, ohneText, 2020, "4,9");
    dm->db().execute(
        QStringLiteral("update T_Buchungen set Text = NULL, Steuersatz = 4.9 where ID = %1")
            .arg(ohneText));
    for (const int monat : {3, 6}) {
        for (int t = 0; t < ExportTypeCount; ++t) {
            const auto typ = static_cast<TExportType>(t);
            if (typ == xtClipboard || !exportFormatAvailable(typ))
                continue;
            const auto schreiben = [&](TCustomExport& e, const QString& name) {
                programmExportEinrichten(e, ui, QStringLiteral("Export Finanzamt"));
                e.ExportTypes.include(typ);
                e.ExportType = typ;
                QDir().mkpath(dir() + name);
                e.FileName = dir() + name + QStringLiteral("/finanzamt");
                e.RunExport();
                EXPECT_TRUE(e.lastError().isEmpty()) << e.lastError().toStdString();
                const QByteArray bytes = dateiBytes(e.lastTarget());
                return typ == xtXLSX ? zipTeile(bytes) : bytes;
            };
            FinanzamtListe liste(dm->db());
            QueryFinanzamtOeffnen(*dm, liste, monat);
            TDBGridExport gitter(ui, clock);
            gitter.setModel(&liste);
            const QByteArray erwartet = schreiben(gitter, QStringLiteral("liste"));
            TAbfrageExport abfrage(ui, clock);
            finanzamtExportOeffnen(*dm, abfrage, monat);
            EXPECT_EQ(schreiben(abfrage, QStringLiteral("abfrage")), erwartet)
                << "format " << t << " month " << monat;
            EXPECT_FALSE(erwartet.isEmpty());
        }
    }
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(Finanzamt, AMonthWithoutBookingsExportsOnlyTheCaptions) {
    vorschau(dir() + "leer.txt",
             [](TExportansicht& a) { EXPECT_EQ(a.DBGrid_Finanzamt->model()->rowCount(), 0); });
    ausfuehren(3);
    EXPECT_EQ(dateiBytes(dir() + "leer.TXT"), kKopf);
}

TEST_F(Finanzamt, CancelledMonthShowsNothing) {
    Finanzamt1Click(*umgebung, *ansicht, [] { return std::optional<int>(); });
    EXPECT_TRUE(ui.shown().empty());
}

TEST_F(Finanzamt, PeriodRunsFromJanuaryToTheMonthsLastDay) {
    EXPECT_EQ(finanzamtZeitraum(2008, 2).von, QDate(2008, 1, 1));
    EXPECT_EQ(finanzamtZeitraum(2008, 2).bis, QDate(2008, 2, 29));
    EXPECT_EQ(finanzamtZeitraum(2008, 6).bis, QDate(2008, 6, 30));
    EXPECT_EQ(finanzamtZeitraum(2008, 12).bis, QDate(2008, 12, 31));
}

TEST_F(Finanzamt, WindowButtonsAndHelp) {
    EXPECT_EQ(ansicht->windowTitle(), QStringLiteral("Exportansicht"));
    EXPECT_EQ(ansicht->BitBtn2->text(), QStringLiteral("Exportieren"));
    EXPECT_EQ(ansicht->BitBtn3->text(), QStringLiteral("&Hilfe zu dieser Funktion"));
    EXPECT_EQ(ansicht->BitBtn1->text(), QStringLiteral("&Schließen"));
    EXPECT_EQ(ansicht->Export1().Messages.Caption, QStringLiteral("Export Finanzamt"));

    ui.answerModal([](QDialog& d) {
        auto& h = dynamic_cast<TExportHilfe&>(d);
        EXPECT_EQ(h.windowTitle(), QStringLiteral("Hilfe zum Finanzamtexport"));
        EXPECT_EQ(h.size(), QSize(390, 175));
        EXPECT_EQ(h.Label1->text(),
                  QStringLiteral("Nach dem Drücken des  Schalters \"Exportieren\"  öffnet sich ein "
                                 "Auswahlfeld, mit dessen Standardvorgaben der Export "
                                 "durchgeführt wird."));
        EXPECT_EQ(
            h.Label2->text(),
            QStringLiteral("Die gespeicherte Datei kann vom Finanzamt dann verwendet werden."));
        EXPECT_EQ(h.Label3->text(),
                  QStringLiteral("Diese Funktion wird nur bei einer Steuerprüfung benötigt."));
        EXPECT_TRUE(h.OKBtn->isDefault());
        h.OKBtn->click();
        return h.result();
    });
    ansicht->BitBtn3->click();
    EXPECT_EQ(ui.pending(), 0u);
}
