#pragma once

#include <QDate>
#include <memory>
#include <optional>

struct Umgebung;
struct Buchung;
class Hauptfenster;
class BuchungskreisBefehle;
class TFormBelegeingabe;
class TFormBelegeingabeHilfe;

// The main window's booking commands: new (with "OK und weiterbuchen"),
// change by double-click, delete by Del.
class BuchungsBefehle {
public:
    // buchungskreise opens the circle list from the dialog's "Neu" button.
    BuchungsBefehle(Umgebung& umgebung, Hauptfenster& hauptfenster,
                    BuchungskreisBefehle& buchungskreise);
    ~BuchungsBefehle();

    void Buchen1Click();
    // buchungsid: the list's current row, nullopt for an empty list.
    void GridDblClick(bool einnahmeListe, std::optional<int> buchungsid);
    void GridEntfernen(bool einnahmeListe, std::optional<int> buchungsid);

    // The help window of the booking dialog, created on first use.
    TFormBelegeingabeHilfe& FormBelegeingabeHilfe();

private:
    void verbinden(TFormBelegeingabe& dialog);
    // A locked booking, read-only; its "Stornieren" books the counter-booking
    // on today's date or the first open day.
    void gesperrtZeigen(const Buchung& buchung, const QDate& bis);
    void beideListenAktualisieren();

    Umgebung& m_umgebung;
    Hauptfenster& m_hauptfenster;
    BuchungskreisBefehle& m_buchungskreise;
    std::unique_ptr<TFormBelegeingabeHilfe> m_hilfe;
};
