#include "reports/trep_jahresabschluss.h"

#include "reports/anlagenverzeichnis.h"
#include "reports/berichtsformat.h"
#include "reports/e1a.h"

using reportengine::Band;

namespace {

QString feld(size_t i) {
    return QStringLiteral("s%1").arg(i);
}

// The rows of the table, the last one marked as the total.
class Zeilen final : public reportengine::RowSource {
public:
    Zeilen(const std::vector<QStringList>& zeilen, int spalten)
        : m_zeilen(zeilen), m_spalten(spalten) {}
    QStringList fields() const override {
        QStringList out;
        for (int i = 0; i < m_spalten; ++i)
            out << feld(static_cast<size_t>(i));
        return out << QStringLiteral("summe");
    }
    bool next() override { return ++m_zeile < static_cast<int>(m_zeilen.size()); }
    QVariant value(int field) const override {
        if (field == m_spalten)
            return m_zeile + 1 == static_cast<int>(m_zeilen.size());
        return m_zeilen[static_cast<size_t>(m_zeile)].value(field);
    }

private:
    const std::vector<QStringList>& m_zeilen;
    int m_spalten;
    int m_zeile = -1;
};

} // namespace

TRep_Jahresabschluss::TRep_Jahresabschluss(const T_RepDaten& daten, const QString& titel,
                                           std::vector<Spalte> spalten)
    : m_daten(daten), m_titel(titel), m_spalten(std::move(spalten)),
      m_report(QStringLiteral("Rep_Jahresabschluss")) {
    m_report.setMargins(QMarginsF(10, 10, 10, 10));
    m_report.setFont({QStringLiteral("Arial"), 9});
    m_report.setFormatter(berichtsFormat);
    const double breite = m_report.contentWidth();

    Band& kopf = m_report.addPageHeader(QStringLiteral("Kopf"), 20);
    kopf.addLabel(QStringLiteral("Titel"), {0, 0, 80, 6}, m_titel).setBold().setPointSize(11);
    kopf.addLabel(QStringLiteral("LabelGanzerName"), {83, 0, breite - 83, 6}).setBold();
    kopf.addLabel(QStringLiteral("LabelZeitraum"), {83, 6, breite - 83, 6}).setBold();
    double x = 0;
    for (size_t i = 0; i < m_spalten.size(); ++i) {
        kopf.addLabel(QStringLiteral("Titel%1").arg(i), {x, 14, m_spalten[i].breite - 1, 5},
                      m_spalten[i].titel)
            .setPointSize(8)
            .setAlignment((m_spalten[i].rechts ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        x += m_spalten[i].breite;
    }
    kopf.onBeforePrint([this](Band& b, bool&) {
        b.element(QStringLiteral("LabelGanzerName")).setText(m_daten.GanzerName);
        b.element(QStringLiteral("LabelZeitraum")).setText(m_daten.ZeitraumText);
    });

    Band& detail = m_report.addDetail(QStringLiteral("Zeile"), 6);
    detail.addLine(QStringLiteral("Linie"), {0, 6, breite, 0}, 0.1);
    x = 0;
    for (size_t i = 0; i < m_spalten.size(); ++i) {
        detail
            .addField(QStringLiteral("Feld%1").arg(i), {x, 0.8, m_spalten[i].breite - 1, 5},
                      feld(i))
            .setAlignment((m_spalten[i].rechts ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        x += m_spalten[i].breite;
    }
    detail.onBeforePrint([this](Band& b, bool&) {
        const bool summe = m_report.value(QStringLiteral("summe")).toBool();
        for (size_t i = 0; i < m_spalten.size(); ++i)
            b.element(QStringLiteral("Feld%1").arg(i)).setBold(summe);
    });
}

reportengine::PageModel TRep_Jahresabschluss::erzeugen(const std::vector<QStringList>& zeilen) {
    Zeilen quelle(zeilen, static_cast<int>(m_spalten.size()));
    return m_report.produce(quelle);
}

namespace jahresabschluss {

std::vector<TRep_Jahresabschluss::Spalte> anlagenSpalten() {
    return {
        {QStringLiteral("Bezeichnung"), 45, false}, {QStringLiteral("Anschaffung"), 22, false},
        {QStringLiteral("Kosten"), 23, true},       {QStringLiteral("Buchwert Beginn"), 25, true},
        {QStringLiteral("Abgang"), 23, true},       {QStringLiteral("AfA"), 23, true},
        {QStringLiteral("Buchwert Ende"), 25, true}};
}

std::vector<TRep_Jahresabschluss::Spalte> e1aSpalten() {
    return {{QStringLiteral("KZ"), 30, false},
            {QStringLiteral("Text"), 110, false},
            {QStringLiteral("Betrag"), 30, true}};
}

Tabelle anlagenTabelle(const anlagenverzeichnis::Verzeichnis& v) {
    Tabelle t;
    for (const auto& s : anlagenSpalten())
        t.spalten.push_back({s.titel, s.rechts ? FeldArt::Waehrung : FeldArt::Text});
    t.spalten[1].art = FeldArt::Datum;
    const auto betrag = [](Currency c) { return QVariant::fromValue(c); };
    for (const auto& z : v.zeilen) {
        t.zeilen.push_back({z.bezeichnung, z.anschaffung, betrag(z.kosten),
                            betrag(z.jahr.buchwertBeginn), betrag(z.jahr.abgang),
                            betrag(z.jahr.afa), betrag(z.jahr.buchwertEnde)});
        t.schluessel.push_back(z.id);
    }
    t.zeilen.push_back({QStringLiteral("Summe"), QVariant(), betrag(v.summe.kosten),
                        betrag(v.summe.jahr.buchwertBeginn), betrag(v.summe.jahr.abgang),
                        betrag(v.summe.jahr.afa), betrag(v.summe.jahr.buchwertEnde)});
    t.schluessel.push_back(0);
    return t;
}

Tabelle e1aTabelle(const e1a::Zusammenfassung& s) {
    Tabelle t;
    for (const auto& sp : e1aSpalten())
        t.spalten.push_back({sp.titel, sp.rechts ? FeldArt::Waehrung : FeldArt::Text});
    int nr = 0;
    for (const auto* teil : {&s.kennzahlen, &s.ohneKennzahl, &s.ohneAnlage})
        for (const e1a::Betrag& b : *teil) {
            t.zeilen.push_back({b.links, b.text, QVariant::fromValue(b.betrag)});
            t.schluessel.push_back(++nr);
        }
    t.zeilen.push_back({QStringLiteral("Gewinn"), QString(), QVariant::fromValue(s.gewinn)});
    t.schluessel.push_back(0);
    return t;
}

std::vector<QStringList> anlagenZeilen(const anlagenverzeichnis::Verzeichnis& v) {
    return anlagenTabelle(v).texte();
}

std::vector<QStringList> e1aZeilen(const e1a::Zusammenfassung& s) {
    return e1aTabelle(s).texte();
}

} // namespace jahresabschluss
