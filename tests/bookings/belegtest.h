#pragma once

#include "bookings/belegeingabe.h"
#include "data/buchung.h"
#include "fixture.h"
#include "toolkit/hauptfenster.h"

#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Records the refreshes a command asks of the main window.
class FakeHauptfenster final : public Hauptfenster {
public:
    void AnzeigeAktualisieren() override { aufrufe << QStringLiteral("AnzeigeAktualisieren"); }
    void Berechne() override { aufrufe << QStringLiteral("Berechne"); }
    void QueryEinRequery() override { aufrufe << QStringLiteral("QueryEin"); }
    void QueryAusRequery() override { aufrufe << QStringLiteral("QueryAus"); }
    QWidget* widget() override { return nullptr; }

    QStringList aufrufe;
};

// A client "Mandant 1" with fiscal year 2026 (the fixture's clock says
// 10.12.2026) and two booking circles.
class BelegFixture : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant();
        mandant = dm->gibMandant();
        zeitraum = dm->gibZeitraum();
        buero = kreis(mandant, QStringLiteral("Büro"), QStringLiteral("B"));
        erloese = kreis(mandant, QStringLiteral("Erlöse"), QStringLiteral("E"));
    }

    // A booking as the dialog would hand it over.
    Buchung beleg(const QString& betrag, int satz, bool einnahme, int eu = 2, int dritt = 2) const {
        Buchung b;
        b.mandant = mandant;
        b.Wirtschaftsjahr = zeitraum;
        b.Buchungsdatum = QDate(2026, 3, 15);
        b.Belegnummer = ++m_letzteBelegnummer; // each booking its own number
        b.Text = QStringLiteral("Beleg");
        b.Steuersatz = satz;
        b.Betrag = *Currency::parse(betrag);
        b.BK = einnahme ? erloese : buero;
        b.IstEinnahme = einnahme ? 1 : 2;
        b.IstEU = eu;
        b.IstDrittland = dritt;
        return b;
    }

    mutable int m_letzteBelegnummer = 0;

    // "konto:betrag" of a booking's postings in identifier order, betrag in units.
    QStringList bewegungen(int buchung) {
        Sql q = dm->db().sql(QStringLiteral(
            "select Konten_Nr, St_Betrag from t_kontenbewegungen where Buchungen_id = :b "
            "and mandant = :m order by id"));
        q.bind("b", buchung).bind("m", mandant).exec();
        QStringList r;
        while (q.next())
            r << q.value(0).toString() + QLatin1Char(':') + q.value(1).toString();
        return r;
    }

    // A test-only trigger that makes every insert into the postings fail.
    void postingsSchlagenFehl(const QString& art = QStringLiteral("INSERT")) {
        schreibfehler(QStringLiteral("t_kontenbewegungen"), art);
    }

    int mandant = -1;
    int zeitraum = -1;
    int buero = 0;
    int erloese = 0;
};
