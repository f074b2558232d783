#pragma once

#include "data/anzeige.h"
#include "data/listenspalte.h"

#include <QDate>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <vector>

class Datenbank;

// QueryFinanzamt: the bookings of a client's fiscal year between two dates,
// each booking once (of an intra-community acquisition only the row of
// account 1021), by date and then identifier, with signed gross amount, rate,
// input and output tax. Values show in the data layer's default form; the
// typed value stands beside each in ZahlRolle or DatumRolle.
class FinanzamtListe final : public QSqlQueryModel {
    Q_OBJECT
public:
    explicit FinanzamtListe(Datenbank& db, QObject* parent = nullptr);

    static QString statement();
    // The preview grid's columns: the result columns under their own names.
    static std::vector<ListenSpalte> spalten();

    // The kind of each result column and the longest text of each text column (0: none).
    static std::vector<FeldArt> arten();
    static std::vector<int> breiten();
    // The statement executed for a period, forward-only: the rows of an
    // export, read once. Throws DatenbankFehler.
    static QSqlQuery abfrage(Datenbank& db, int zeitraum, const QDate& von, const QDate& bis,
                             int mandant);

    // Opens the list; throws DatenbankFehler.
    void starten(int zeitraum, const QDate& von, const QDate& bis, int mandant);
    void schliessen();
    bool offen() const { return m_offen; }
    // The open list's statement run again for an export, forward-only; throws
    // DatenbankFehler, std::logic_error when the list is not open.
    QSqlQuery exportAbfrage() const;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    void multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // The value of a cell of the column in one of the three roles, from its raw value.
    static QVariant wert(int spalte, const QVariant& roh, int role);

    Datenbank& m_db;
    bool m_offen = false;
    // the period the list was opened for
    int m_zeitraum = 0;
    QDate m_von, m_bis;
    int m_mandant = 0;
};
