#include "bank/bankprofile.h"
#include "bank/bankregeln.h"
#include "bank/kontoauszugbefehl.h"
#include "bank/tcsvprofildialog.h"
#include "bank/tkontoauszugvorschau.h"
#include "bankdaten.h"
#include "fixture.h"
#include "toolkit/hauptfenster.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace {

class FakeFenster final : public Hauptfenster {
public:
    void AnzeigeAktualisieren() override { ++aktualisiert; }
    void Berechne() override {}
    void QueryEinRequery() override {}
    void QueryAusRequery() override {}
    QWidget* widget() override { return nullptr; }
    int aktualisiert = 0;
};

class KontoauszugFenster : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant();
        mandant = dm->gibMandant();
        buero = kreis(mandant, QStringLiteral("Büro"), QStringLiteral("B"));
        Bankregel post;
        post.enthaelt = QStringLiteral("Post AG");
        post.bk = buero;
        post.steuersatz = 20;
        bankregeln::anlegen(dm->db(), mandant, post);
    }

    void dateiWaehlen(const QString& pfad) {
        ui.answerModal([pfad](QDialog& d) {
            static_cast<QFileDialog&>(d).selectFile(pfad);
            return int(QDialog::Accepted);
        });
    }
    void ausfuehren() {
        KontoauszugBefehl befehl(*umgebung, fenster, nullptr);
        befehl.KontoauszugImportieren1Click();
    }
    static QStringList spalte(const QTableWidget& t, int col, int bis = -1) {
        QStringList out;
        for (int row = 0; row < (bis < 0 ? t.rowCount() : bis); ++row)
            out << (col == TKontoauszugVorschau::Haken
                        ? QString::number(t.item(row, col)->checkState() == Qt::Checked)
                        : t.item(row, col)->text());
        return out;
    }

    FakeFenster fenster;
    int mandant = 0;
    int buero = 0;
};

} // namespace

TEST_F(KontoauszugFenster, PreviewTicksOnlyNewLinesWithACircleAndBooksTheTicked) {
    dateiWaehlen(bankdaten::pfad("camt053_02.xml"));
    ui.answerModal([&](QDialog& d) {
        auto& v = static_cast<TKontoauszugVorschau&>(d);
        QTableWidget& t = *v.Tabelle;
        EXPECT_EQ(spalte(t, TKontoauszugVorschau::Status),
                  QStringList({"neu", "neu", "vorgemerkt", "neu", "neu", "neu", "Fremdwährung",
                               "neu", "neu"}));
        EXPECT_EQ(spalte(t, TKontoauszugVorschau::Haken),
                  QStringList({"0", "1", "0", "0", "0", "0", "0", "0", "0"}));
        EXPECT_EQ(t.item(6, TKontoauszugVorschau::Betrag)->text(), QStringLiteral("50,00 USD"));
        EXPECT_EQ(t.item(1, TKontoauszugVorschau::Herkunft)->text(), QStringLiteral("Regel 1"));
        EXPECT_FALSE(t.item(2, TKontoauszugVorschau::Haken)->flags() & Qt::ItemIsUserCheckable);
        // a circle given by hand makes the first line bookable and ticks it
        QTableWidgetItem* kreis = t.item(0, TKontoauszugVorschau::Kreis);
        kreis->setData(Qt::UserRole, buero);
        kreis->setText(QStringLiteral("Büro"));
        t.item(0, TKontoauszugVorschau::Buchungstext)->setText(QStringLiteral("Honorar Müller"));
        EXPECT_EQ(t.item(0, TKontoauszugVorschau::Haken)->checkState(), Qt::Checked);
        EXPECT_EQ(v.Zusammenfassung->text(),
                  QStringLiteral("9 Zeilen, 7 neu, 2 zum Buchen ausgewählt"));
        EXPECT_TRUE(v.SchalterBuchen->isEnabled());
        return int(QDialog::Accepted);
    });
    ausfuehren();
    EXPECT_EQ(ui.texts("message"),
              QStringList{QStringLiteral("2 Buchungen angelegt, 0 doppelt übersprungen, 7 offen")});
    EXPECT_EQ(fenster.aktualisiert, 1);
    EXPECT_EQ(wert("select group_concat(Text, '|') from (select Text from T_Buchungen order by ID)")
                  .toString(),
              QStringLiteral("Honorar Müller|Österreichische Post AG Porto März"));
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(KontoauszugFenster, CancellingThePreviewBooksNothing) {
    dateiWaehlen(bankdaten::pfad("camt053_02.xml"));
    ui.answerModal([](QDialog& d) {
        static_cast<TKontoauszugVorschau&>(d).SchalterAbbrechen->click();
        return d.result();
    });
    ausfuehren();
    EXPECT_EQ(anzahl("T_Buchungen"), 0);
    EXPECT_TRUE(ui.texts("message").isEmpty());
    EXPECT_EQ(fenster.aktualisiert, 0);
}

TEST_F(KontoauszugFenster, ARefusedFileIsAnErrorAndBooksNothing) {
    dateiWaehlen(bankdaten::pfad("doctype.xml"));
    ausfuehren();
    ASSERT_EQ(ui.texts("error").size(), 1);
    EXPECT_TRUE(ui.texts("error").front().contains(QStringLiteral("DOCTYPE")));
    EXPECT_EQ(anzahl("T_Buchungen"), 0);
}

TEST_F(KontoauszugFenster, ACsvFileAsksForItsProfileAndShowsTheLinesAsRead) {
    dateiWaehlen(bankdaten::pfad("semikolon_1252.csv"));
    ui.answerModal([](QDialog& d) {
        auto& p = static_cast<TCsvProfilDialog&>(d);
        p.Name->setText(QStringLiteral("Sparkasse"));
        p.Kopfzeilen->setValue(1);
        p.Datum->setValue(1);
        p.Text->setValue(3);
        // without an amount column the profile is incomplete and OK refuses it
        p.accept();
        EXPECT_EQ(p.result(), int(QDialog::Rejected));
        EXPECT_TRUE(p.Fehler->text().startsWith(QStringLiteral("Anzugeben ist entweder")));
        p.Betrag->setValue(4);
        p.Gegenpartei->setValue(6);
        EXPECT_EQ(p.Vorschau->rowCount(), 6);
        EXPECT_EQ(p.Vorschau->item(0, 1)->text(), QStringLiteral("1.234,56"));
        EXPECT_EQ(p.Vorschau->item(1, 2)->text(), QStringLiteral("Österreichische Post AG"));
        EXPECT_EQ(p.Vorschau->item(5, 3)->text(), QStringLiteral("Kontoführung 5 € Spesen"));
        return int(QDialog::Accepted);
    });
    ui.answerModal([](QDialog& d) {
        auto& v = static_cast<TKontoauszugVorschau&>(d);
        EXPECT_EQ(v.Tabelle->rowCount(), 6);
        return int(QDialog::Rejected);
    });
    ausfuehren();
    const auto gespeichert = bankprofile::lesen(dm->db(), QStringLiteral("Sparkasse"));
    ASSERT_TRUE(gespeichert);
    EXPECT_EQ(gespeichert->betrag, 4);
    EXPECT_EQ(gespeichert->kodierung, QStringLiteral("windows-1252"));
    EXPECT_EQ(ui.pending(), 0u);
}
