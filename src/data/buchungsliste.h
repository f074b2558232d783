#pragma once

#include "data/listenspalte.h"

#include <QDate>
#include <QSqlQueryModel>
#include <QStringList>
#include <optional>
#include <vector>

class Datenbank;

// The income or the expense list of the main window: the bookings of one
// kind of a client and fiscal year whose booking circle exists, newest
// voucher date first and in the order of entry within a date. Rows load
// lazily as they are read. Dates show as "dd.mm.yyyy", amounts as "#,##0.00".
class Buchungsliste final : public QSqlQueryModel {
    Q_OBJECT
public:
    Buchungsliste(Datenbank& db, bool einnahme, QObject* parent = nullptr);

    bool einnahme() const { return m_einnahme; }
    // The list's statement: the tax column is called "Ust" or "Vst".
    static QString statement(bool einnahme);
    // The columns of the list's grid, in their order.
    static std::vector<ListenSpalte> spalten(bool einnahme);

    // Opens the list for the fiscal year and client; throws DatenbankFehler.
    void starten(int zeitraum, int mandant);
    // Opens it again with the same parameters; an unopened list stays empty.
    void requery();
    bool gestartet() const { return m_gestartet; }
    int zeitraum() const { return m_zeitraum; }
    int mandant() const { return m_mandant; }

    // The booking of a row; nullopt outside the rows.
    std::optional<int> buchungsid(int row) const;
    // The texts of a row in the grid's columns, as the grid shows them.
    QStringList zeile(int row) const;

    // true for the rows of bookings inside the fiscal year's lock; the
    // grids draw them grey (their AusgegrautRole)
    static constexpr int GesperrtRole = Qt::UserRole + 1;
    // The day the year is locked to; nullopt when it is open.
    void setGesperrtBis(std::optional<QDate> bis);
    bool gesperrt(int row) const;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

protected:
    void queryChange() override;

private:
    // Reverse charge, construction or the booking's own Kennzahl, for the tooltip.
    QVariant steuerHinweis(int row) const;

    Datenbank& m_db;
    bool m_einnahme;
    bool m_gestartet = false;
    std::optional<QDate> m_gesperrtBis;
    int m_zeitraum = -1;
    int m_mandant = -1;
    int m_spalteDatum = -1;
    int m_spalteBetrag = -1;
    int m_spalteSteuer = -1;
    int m_spalteId = -1;
    int m_spalteText = -1;
    int m_spalteKurz = -1;
    int m_spalteSatz = -1;
    int m_spalteKZ = -1;
    int m_spalteSchuld = -1;
};
