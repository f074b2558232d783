#pragma once

#include <QDate>
#include <QSqlQueryModel>
#include <QStringList>
#include <array>
#include <optional>

class Datenbank;

// The change log of a client's fiscal year, newest row first, loaded lazily.
// A booking's row shows its fields after the change (before it, for a
// deletion) in columns of their own; the fields a change touched are marked
// (GeaendertRolle, the old value as tool tip) and listed with their old
// values in the column "Vorher".
class Protokollliste final : public QSqlQueryModel {
    Q_OBJECT
public:
    explicit Protokollliste(Datenbank& db, QObject* parent = nullptr);

    // true for a field the row's change touched; the window marks it
    static constexpr int GeaendertRolle = Qt::UserRole + 1;

    struct Filter {
        std::optional<int> buchung;
        std::optional<QDate> von; // date of the change, inclusive
        std::optional<QDate> bis;
    };
    // Opens the list; throws DatenbankFehler.
    void starten(int mandant, int zeitraum, const Filter& filter = {});

    static QStringList titel();
    // The texts of a row, as the window shows them.
    QStringList zeile(int row) const;
    // Whether the field of this column changed in the row.
    bool geaendert(int row, int column) const;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // id, Zeitpunkt, Aktion, Buchungsid, Vorher, Nachher of a row
    struct Roh {
        std::array<QVariant, 6> werte;
        const QVariant& value(int i) const { return werte[static_cast<size_t>(i)]; }
    };
    Roh roh(int row) const;
    QString text(int row, int column) const;

    Datenbank& m_db;
};
