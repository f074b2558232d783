#pragma once

#include "bank/importvorschau.h"

#include <QDialog>
#include <utility>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

// "Kontoauszug importieren": every statement line with a tick, its status and
// its proposal, editable per line (circle, rate, kind, text). Only new lines
// with a circle can be ticked. The dialog only collects; the command books.
class TKontoauszugVorschau final : public QDialog {
    Q_OBJECT
public:
    enum Spalte {
        Haken,
        Datum,
        Betrag,
        Gegenpartei,
        Text,
        Status,
        Kreis,
        Satz,
        Art,
        Buchungstext,
        Herkunft,
        Spalten
    };
    // the kinds the Art column offers, in its order
    enum class Buchungsart { Einnahme, Ausgabe, EU, Drittland, ReverseCharge, Bauleistung };

    TKontoauszugVorschau(std::vector<Vorschauzeile> zeilen,
                         std::vector<std::pair<int, QString>> kreise, std::vector<int> saetze,
                         QWidget* parent = nullptr);

    // The lines with the user's ticks and changes.
    std::vector<Vorschauzeile> zeilen() const;
    int angekreuzt() const;

    QTableWidget* Tabelle;
    QLabel* Zusammenfassung;
    QPushButton* SchalterBuchen;
    QPushButton* SchalterAbbrechen;

private:
    void zeileFuellen(int row);
    void geaendert(QTableWidgetItem* item);
    void zusammenfassen();
    QString kreisText(int bk) const;

    std::vector<Vorschauzeile> m_zeilen;
    std::vector<std::pair<int, QString>> m_kreise;
    std::vector<int> m_saetze;
    bool m_fuellen = false;
};
