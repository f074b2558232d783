#pragma once

#include "data/anzeige.h"
#include "export/tcustomexport.h"

#include <QSqlQuery>
#include <QStringList>
#include <vector>

// The export of a statement's rows without a model between: each value is
// read once from the executed statement and kept as the typed value its
// column's kind makes of it (anzeige::typisiert); the text beside it is the
// data layer's default form, as a list model shows it. The rows are read
// before the first line is written, because a run needs their number first.
class TAbfrageExport final : public TCustomExport {
    Q_OBJECT
public:
    TAbfrageExport(UserSeam& ui, const Clock& clock, QObject* parent = nullptr);

    // Takes an executed statement (forward-only is enough) with one kind per
    // result column and the longest text of each text column (0: unknown).
    void oeffnen(QSqlQuery ausgefuehrt, std::vector<FeldArt> arten, std::vector<int> breiten = {});
    // Lets go of the statement and its rows.
    void schliessen();
    bool offen() const { return m_query.isActive() || m_gelesen; }

protected:
    void FirstRow() override;
    int ColumnAlignment(int i) override;
    bool CanExport() override;
    bool AllRowsDone() override;
    bool ColumnVisible(int i) override;
    bool RowSelected() override { return false; }
    int DefaultColumnWidth(int i) override;
    QString ColumnCaption(int i) override;
    int ColumnCount() override;
    bool ReadRow(TExportValues& values) override;
    int CountRows() override;
    QVariant TypedValue(int i) override;
    // The files name the grid export as their writer, as they always did.
    QString writerName() const override { return QStringLiteral("TDBGRIDEXPORT"); }

private:
    FeldArt art(int spalte) const;
    // Reads the statement's rows into m_werte, once; a failed step throws.
    void lesen();

    QSqlQuery m_query;
    std::vector<FeldArt> m_arten;
    std::vector<int> m_breiten;
    // One cell of the buffer, eight bytes and a kind instead of a QVariant:
    // an export holds every cell of a year.
    enum class Zellart : quint8 { Leer, Zahl, Betrag, Datum, Text };
    // The typed value of a buffered cell.
    QVariant typisiert(size_t zelle) const;

    QStringList m_namen;
    // the rows' cells one after another: an integer, an amount's units, a
    // date's Julian day or the index of a text in m_texte
    std::vector<qint64> m_werte;
    std::vector<Zellart> m_zellarten;
    std::vector<QString> m_texte;
    // per column the last cell's value and text, written again unformatted
    struct Letzte {
        bool gueltig = false;
        Zellart art = Zellart::Leer;
        qint64 wert = 0;
        QString text;
    };
    std::vector<Letzte> m_letzte;
    bool m_gelesen = false;
    int m_zeilen = 0;
    int m_row = 0;
};
