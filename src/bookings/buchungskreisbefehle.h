#pragma once

#include <QHash>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

struct Umgebung;
class QWidget;
class TFormBuchungskreis;
class TFormBuchungskreisNeu;
class TFormBuchungsKreisAuswahl;

// "Verwalten" → "Buchungskreise": the circle list of the current client
// with its new, change and delete commands, and the circle picker of the
// evaluations. The three dialogs live as long as the commands.
class BuchungskreisBefehle {
public:
    BuchungskreisBefehle(Umgebung& umgebung, QWidget* parent);
    ~BuchungskreisBefehle();
    BuchungskreisBefehle(const BuchungskreisBefehle&) = delete;
    BuchungskreisBefehle& operator=(const BuchungskreisBefehle&) = delete;

    // Filters the circles to the current client and shows the list.
    void Buchungskreise1Click();

    // The list's buttons.
    void SchalterNeuClick();
    void SchalterAendernClick();
    void SchalterLoeschenClick();
    void SchalterE1aClick();

    // The E 1a Kennzahlen of the circles, kept where the year-end reports
    // are: texte reads the column (throws DatenbankFehler), waehlen lets the
    // user choose for a circle and answers whether it changed.
    struct E1a {
        std::function<QHash<int, QString>()> texte;
        std::function<bool(int bk)> waehlen;
    };
    void setE1a(E1a e1a);

    // The picker for the current client's circles; `ergebnis` is its modal
    // result (see buchungskreise::auswahlDeuten), `datenexport` the box.
    struct Auswahl {
        int ergebnis = 0;
        bool datenexport = false;
    };
    Auswahl BuchungskreisAuswaehlen(bool datenexportZeigen);

    TFormBuchungskreis& FormBuchungskreis() { return *m_liste; }
    TFormBuchungskreisNeu& FormBuchungskreisNeu() { return *m_neu; }
    TFormBuchungsKreisAuswahl& FormBuchungsKreisAuswahl() { return *m_auswahl; }

private:
    void listeNeu(std::optional<int> auswahl);
    void e1aTexteLesen();

    Umgebung& m_umgebung;
    std::unique_ptr<TFormBuchungskreis> m_liste;
    std::unique_ptr<TFormBuchungskreisNeu> m_neu;
    std::unique_ptr<TFormBuchungsKreisAuswahl> m_auswahl;
    E1a m_e1a;
};
