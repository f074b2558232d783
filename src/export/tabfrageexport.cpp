#include "export/tabfrageexport.h"

#include <QSqlError>
#include <QSqlRecord>
#include <stdexcept>

TAbfrageExport::TAbfrageExport(UserSeam& ui, const Clock& clock, QObject* parent)
    : TCustomExport(ui, clock, parent) {
    Messages.Caption = QStringLiteral("Exporting DBGrid");
}

void TAbfrageExport::oeffnen(QSqlQuery ausgefuehrt, std::vector<FeldArt> arten,
                             std::vector<int> breiten) {
    schliessen();
    m_query = std::move(ausgefuehrt);
    m_arten = std::move(arten);
    m_breiten = std::move(breiten);
    const QSqlRecord r = m_query.record();
    for (int i = 0; i < r.count(); ++i)
        m_namen << r.fieldName(i);
}

void TAbfrageExport::schliessen() {
    m_query = QSqlQuery();
    m_arten.clear();
    m_breiten.clear();
    m_namen.clear();
    m_werte = {};
    m_zellarten = {};
    m_texte = {};
    m_letzte.clear();
    m_gelesen = false;
    m_zeilen = 0;
    m_row = 0;
}

FeldArt TAbfrageExport::art(int spalte) const {
    if (spalte < 0 || spalte >= static_cast<int>(m_arten.size()))
        return FeldArt::Text;
    return m_arten[static_cast<size_t>(spalte)];
}

void TAbfrageExport::lesen() {
    if (m_gelesen)
        return;
    const int n = ColumnCount();
    std::vector<FeldArt> arten(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        arten[static_cast<size_t>(i)] = art(i);
    while (m_query.next()) {
        for (int i = 0; i < n; ++i) {
            // the column kind's one rule, then kept in eight bytes
            const QVariant t = anzeige::typisiert(arten[static_cast<size_t>(i)], m_query.value(i));
            qint64 wert = 0;
            Zellart zellart = Zellart::Leer;
            if (!t.isValid()) {
            } else if (t.typeId() == QMetaType::LongLong) {
                zellart = Zellart::Zahl;
                wert = t.toLongLong();
            } else if (t.userType() == qMetaTypeId<Currency>()) {
                zellart = Zellart::Betrag;
                wert = t.value<Currency>().units();
            } else if (t.typeId() == QMetaType::QDate) {
                zellart = Zellart::Datum;
                wert = t.toDate().toJulianDay();
            } else {
                zellart = Zellart::Text;
                wert = static_cast<qint64>(m_texte.size());
                m_texte.push_back(t.toString());
            }
            m_werte.push_back(wert);
            m_zellarten.push_back(zellart);
        }
        ++m_zeilen;
    }
    // a row that cannot be read ends the export as a failure, never as its end
    if (m_query.lastError().type() != QSqlError::NoError)
        throw std::runtime_error(QStringLiteral("Die Daten konnten nicht gelesen werden: %1")
                                     .arg(m_query.lastError().text())
                                     .toStdString());
    m_gelesen = true;
    m_query.finish();
}

QVariant TAbfrageExport::typisiert(size_t zelle) const {
    const qint64 wert = m_werte[zelle];
    switch (m_zellarten[zelle]) {
    case Zellart::Leer:
        return QVariant();
    case Zellart::Zahl:
        return wert;
    case Zellart::Betrag:
        return QVariant::fromValue(Currency::fromUnits(wert));
    case Zellart::Datum:
        return QDate::fromJulianDay(wert);
    case Zellart::Text:
        return m_texte[static_cast<size_t>(wert)];
    }
    return QVariant();
}

void TAbfrageExport::FirstRow() {
    m_row = 0;
}

int TAbfrageExport::ColumnAlignment(int i) {
    if (i < 0 || i >= ColumnCount())
        return 0;
    // as a list model aligns its cells; without a row there is no cell to ask
    if (m_zeilen == 0)
        return 0;
    const FeldArt a = art(i);
    return a == FeldArt::Ganzzahl || a == FeldArt::Waehrung ? 2 : 1;
}

bool TAbfrageExport::CanExport() {
    return m_query.isActive() || m_gelesen;
}

bool TAbfrageExport::AllRowsDone() {
    return m_gelesen && m_row >= m_zeilen;
}

bool TAbfrageExport::ColumnVisible(int i) {
    return i >= 0 && i < ColumnCount();
}

int TAbfrageExport::DefaultColumnWidth(int i) {
    if (i < 0 || i >= ColumnCount())
        return 0;
    switch (art(i)) {
    case FeldArt::Ganzzahl:
    case FeldArt::Waehrung:
        return defaultWidthFor(FieldKind::Number, 0);
    case FeldArt::Datum:
        return defaultWidthFor(FieldKind::Date, 0);
    case FeldArt::Text:
        break;
    }
    const auto s = static_cast<size_t>(i);
    return defaultWidthFor(FieldKind::String, s < m_breiten.size() ? m_breiten[s] : 0);
}

QString TAbfrageExport::ColumnCaption(int i) {
    return i >= 0 && i < m_namen.size() ? m_namen[i] : QString();
}

int TAbfrageExport::ColumnCount() {
    return static_cast<int>(m_namen.size());
}

bool TAbfrageExport::ReadRow(TExportValues& values) {
    if (!m_gelesen || m_row >= m_zeilen)
        return false;
    const int n = ColumnCount();
    values.resize(static_cast<size_t>(n));
    const size_t zeile = static_cast<size_t>(m_row) * static_cast<size_t>(n);
    m_letzte.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const size_t z = zeile + static_cast<size_t>(i);
        if (m_zellarten[z] == Zellart::Text) {
            // a text is its own display text
            values[static_cast<size_t>(i)] = m_texte[static_cast<size_t>(m_werte[z])];
            continue;
        }
        // rows come by date: a column's value is mostly the row before's
        Letzte& l = m_letzte[static_cast<size_t>(i)];
        if (!l.gueltig || l.art != m_zellarten[z] || l.wert != m_werte[z])
            l = {true, m_zellarten[z], m_werte[z], anzeige::text(art(i), typisiert(z))};
        values[static_cast<size_t>(i)] = l.text;
    }
    ++m_row;
    return true;
}

QVariant TAbfrageExport::TypedValue(int i) {
    // the row ReadRow read last; a text has no typed value beside it
    if (m_row == 0 || i < 0 || i >= ColumnCount() || art(i) == FeldArt::Text)
        return QVariant();
    return typisiert(static_cast<size_t>(m_row - 1) * static_cast<size_t>(ColumnCount()) +
                     static_cast<size_t>(i));
}

int TAbfrageExport::CountRows() {
    FirstRow();
    lesen();
    return m_zeilen;
}
