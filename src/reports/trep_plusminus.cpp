#include "reports/trep_plusminus.h"

#include "reports/auswertung.h"
#include "reports/berichtsformat.h"

using reportengine::Band;

namespace {

constexpr Qt::Alignment kRechts = Qt::AlignRight | Qt::AlignTop;
const QString kMaske = QStringLiteral("#,##0.00");
constexpr double kErsteX = 40, kSpalteB = 25;

struct Spalte {
    const char* feld;  // column of Query_PlusMinus
    const char* summe; // label of the result line
    const char* titel; // heading
    bool fett;
};
// left to right; the differences bold
constexpr Spalte kSpalten[] = {
    {"Brutto_ein", "brutto_ein", "Bruttoeinnahmen", false},
    {"Brutto_aus", "brutto_aus", "Bruttoausgaben", false},
    {"Diff_Bruttobetrag", "diff_bruttobetrag", "Brutto +/-", true},
    {"Netto_Ein", "netto_ein", "Nettoeinnahmen", false},
    {"Netto_aus", "netto_aus", "Nettoausgaben", false},
    {"Diff_Nettobetrag", "diff_nettobetrag", "Netto +/-", true},
};

double spalteX(size_t i) {
    return kErsteX + static_cast<double>(i) * kSpalteB;
}

} // namespace

TRep_PlusMinus::TRep_PlusMinus(const T_RepDaten& daten)
    : m_daten(daten), m_report(QStringLiteral("Rep_PlusMinus")) {
    m_report.setMargins(QMarginsF(10, 10, 10, 10));
    m_report.setFont({QStringLiteral("Arial"), 10});
    m_report.setFormatter(berichtsFormat);
    m_report.onBeforePrint([this] { summenLoeschen(); });
    const double breite = m_report.contentWidth();

    Band& kopf = m_report.addPageHeader(QStringLiteral("QRBand1"), 20);
    kopf.addLabel(QStringLiteral("QRLabel1"), {0, 0, 60, 6},
                  QStringLiteral("Plus - Minus Rechnung"))
        .setBold();
    kopf.addLabel(QStringLiteral("LabelGanzerName"), {63, 0, breite - 63, 6}).setBold().setWrap();
    kopf.addLabel(QStringLiteral("LabelZeitraum"), {63, 6, breite - 63, 6}).setBold();
    kopf.addLabel(QStringLiteral("QRLabel2"), {0, 14, kErsteX - 2, 5},
                  QStringLiteral("Buchungskreis"))
        .setPointSize(8);
    for (size_t i = 0; i < std::size(kSpalten); ++i) {
        kopf.addLabel(QStringLiteral("QRLabel%1").arg(i + 3), {spalteX(i), 14, kSpalteB, 5},
                      QString::fromLatin1(kSpalten[i].titel))
            .setPointSize(8)
            .setAlignment(kRechts);
    }
    kopf.onBeforePrint([this](Band& b, bool&) { QRBand1BeforePrint(b); });

    Band& detail = m_report.addDetail(QStringLiteral("QRBand2"), 6);
    detail.addBox(QStringLiteral("QRShape1"), {0, 0, breite, 6}, 0.1);
    detail.addField(QStringLiteral("QRDBText1"), {1, 0.8, kErsteX - 3, 5}, QStringLiteral("BKName"))
        .setBold()
        .setWrap();
    for (size_t i = 0; i < std::size(kSpalten); ++i) {
        detail
            .addField(QStringLiteral("QRDBText%1").arg(i + 2), {spalteX(i), 0.8, kSpalteB - 1, 5},
                      QString::fromLatin1(kSpalten[i].feld), kMaske)
            .setBold(kSpalten[i].fett)
            .setAlignment(kRechts);
    }
    detail.onAfterPrint([this](Band&) { QRBand2AfterPrint(); });

    Band& ergebnis = m_report.addSummary(QStringLiteral("QRBand3"), 9);
    ergebnis.addBox(QStringLiteral("QRShape2"), {0, 1, breite, 7}, 0.3);
    ergebnis
        .addLabel(QStringLiteral("QRLabel9"), {1, 2, kErsteX - 3, 5}, QStringLiteral("Ergebnis"))
        .setBold();
    for (size_t i = 0; i < std::size(kSpalten); ++i) {
        ergebnis.addLabel(QString::fromLatin1(kSpalten[i].summe), {spalteX(i), 2, kSpalteB - 1, 5})
            .setBold(kSpalten[i].fett)
            .setAlignment(kRechts);
    }
    ergebnis.onBeforePrint([this](Band& b, bool&) { QRBand3BeforePrint(b); });
}

reportengine::PageModel TRep_PlusMinus::erzeugen(reportengine::RowSource& Query_PlusMinus) {
    return m_report.produce(Query_PlusMinus);
}

void TRep_PlusMinus::summenLoeschen() {
    m_summen.fill(Currency());
}

void TRep_PlusMinus::QRBand1BeforePrint(Band& band) {
    band.element(QStringLiteral("LabelZeitraum")).setText(m_daten.ZeitraumText);
    band.element(QStringLiteral("LabelGanzerName")).setText(m_daten.GanzerName);
}

void TRep_PlusMinus::QRBand2AfterPrint() {
    for (size_t i = 0; i < std::size(kSpalten); ++i)
        m_summen[i] += auswertung::betrag(m_report.value(QString::fromLatin1(kSpalten[i].feld)));
}

void TRep_PlusMinus::QRBand3BeforePrint(Band& band) {
    for (size_t i = 0; i < std::size(kSpalten); ++i)
        band.element(QString::fromLatin1(kSpalten[i].summe))
            .setText(m_summen[i].formatMaske(kMaske));
    summenLoeschen();
}
