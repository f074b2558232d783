#pragma once

#include <QString>
#include <array>
#include <optional>

struct Buchung;

// The income/expense choice and the four tax flags of a booking with the
// rules that tie them together; the dialog's check boxes follow it, the
// command-line tool applies the same rules. A rule runs only when its box
// really changes state, whether the user or another rule changed it.
class Belegeingaberegeln {
public:
    // ReverseCharge and Bauleistung: tax owed by the recipient (§ 19 Abs. 1
    // zweiter Satz, 1c, 1e; § 19 Abs. 1a), posted like an intra-community
    // acquisition; each excludes EU, Drittland and the other.
    enum Schalter { Einnahme, Ausgabe, EU, Drittland, KFZ, Gebaeude, ReverseCharge, Bauleistung };

    // Both income and expense clear, the flags clear and unavailable, "Brutto".
    Belegeingaberegeln() = default;

    // Takes a stored booking's codes as they are, without running a rule:
    // the flags are available exactly for an expense.
    void laden(const Buchung& b);

    // One box ticked or cleared. A flag cannot be ticked while the flags are
    // unavailable (on an income); answers whether the box took the state.
    bool setzen(Schalter s, bool an);

    bool an(Schalter s) const { return m_an[s]; }
    bool flagsVerfuegbar() const { return m_flagsVerfuegbar; }
    // The caption beside the amount: gross, or net for an intra-community
    // acquisition, a reverse-charge or a construction service.
    const QString& bruttoNetto() const { return m_bruttoNetto; }
    // The rate the rules have set since the last call, once.
    std::optional<double> nimmSteuersatz();

    // The codes into the record (1 ticked, 2 clear; expense unless income is
    // ticked); reverse charge and construction as IstEU 1 with their kind.
    void uebernehmen(Buchung& b) const;

private:
    void flagsAus();

    void netto();

    std::array<bool, 8> m_an{};
    bool m_flagsVerfuegbar = false;
    QString m_bruttoNetto = QStringLiteral("Brutto");
    std::optional<double> m_steuersatz;
};
