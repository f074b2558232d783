#include "reports/trep_einaus.h"

#include "reports/auswertung.h"
#include "reports/berichtsformat.h"

using reportengine::Band;

namespace {

constexpr Qt::Alignment kRechts = Qt::AlignRight | Qt::AlignTop;
const QString kMaske = QStringLiteral("#,##0.00");
constexpr double kNettoX = 105, kBruttoX = 150, kBetragB = 40;

} // namespace

TRep_EinAus::TRep_EinAus(const T_RepDaten& daten)
    : m_daten(daten), m_report(QStringLiteral("Rep_EinAus")) {
    m_report.setMargins(QMarginsF(10, 10, 10, 10));
    m_report.setFont({QStringLiteral("Arial"), 10});
    m_report.setFormatter(berichtsFormat);
    const double breite = m_report.contentWidth();
    const reportengine::FontSpec gross{QStringLiteral("Arial"), 12};

    Band& kopf = m_report.addPageHeader(QStringLiteral("PageHeaderBand1"), 22);
    kopf.addLabel(QStringLiteral("QRLabel1"), {0, 0, 60, 6},
                  QStringLiteral("Einnahmen - Ausgaben Rechnung"))
        .setBold();
    kopf.addLabel(QStringLiteral("LabelGanzerName"), {63, 0, breite - 63, 6}).setBold().setWrap();
    kopf.addLabel(QStringLiteral("LabelZeitraum"), {63, 6, breite - 63, 6}).setBold();
    kopf.addLabel(QStringLiteral("QRLabel3"), {kNettoX, 15, kBetragB, 6}, QStringLiteral("Netto"))
        .setAlignment(kRechts);
    kopf.addLabel(QStringLiteral("QRLabel4"), {kBruttoX, 15, kBetragB, 6}, QStringLiteral("Brutto"))
        .setAlignment(kRechts);
    kopf.setFrame(false, true);
    kopf.onBeforePrint([this](Band& b, bool&) { PageHeaderBand1BeforePrint(b); });

    Band& gruppe =
        m_report.addGroupHeader(QStringLiteral("QRGroup1"), QStringLiteral("IstEinnahme"), 9);
    gruppe.addLabel(QStringLiteral("QRLabel2"), {0, 2, 100, 6}).setFont(gross).setBold();
    gruppe.setFrame(true, false);
    gruppe.onBeforePrint([this](Band& b, bool&) { QRGroup1BeforePrint(b); });

    Band& detail = m_report.addDetail(QStringLiteral("DetailBand1"), 6.5);
    detail.addField(QStringLiteral("QRDBText1"), {5, 0.5, kNettoX - 7, 6}, QStringLiteral("BKName"))
        .setFont(gross)
        .setWrap();
    detail
        .addField(QStringLiteral("QRDBText2"), {kNettoX, 0.5, kBetragB, 6}, QStringLiteral("netto"),
                  kMaske)
        .setFont(gross)
        .setAlignment(kRechts);
    detail
        .addField(QStringLiteral("QRDBText3"), {kBruttoX, 0.5, kBetragB, 6},
                  QStringLiteral("brutto"), kMaske)
        .setFont(gross)
        .setAlignment(kRechts);
    detail.onBeforePrint([this](Band&, bool&) { DetailBand1BeforePrint(); });

    Band& fuss = m_report.addGroupFooter(QStringLiteral("QRGroup1"), QStringLiteral("QRBand1"), 10);
    reportengine::FontSpec summe = gross;
    summe.bold = true;
    summe.italic = true;
    fuss.addLabel(QStringLiteral("LabelZWSumme"), {0, 1.5, kNettoX - 2, 6}).setFont(summe);
    fuss.addLabel(QStringLiteral("labelSummeBetrag"), {kNettoX, 1.5, kBetragB, 6})
        .setFont(summe)
        .setAlignment(kRechts);
    fuss.addLabel(QStringLiteral("labelSummeBrutto"), {kBruttoX, 1.5, kBetragB, 6})
        .setFont(summe)
        .setAlignment(kRechts);
    fuss.setFrame(true, false);
    fuss.onBeforePrint([this](Band& b, bool&) { QRBand1BeforePrint(b); });

    Band& ergebnis = m_report.addSummary(QStringLiteral("SummaryBand1"), 10);
    reportengine::FontSpec fett = gross;
    fett.bold = true;
    ergebnis
        .addLabel(QStringLiteral("QRLabel5"), {0, 2, kNettoX - 2, 6}, QStringLiteral("Ergebnis"))
        .setFont(fett);
    ergebnis.addLabel(QStringLiteral("LabelEinAus"), {kNettoX, 2, kBetragB, 6})
        .setFont(fett)
        .setAlignment(kRechts);
    ergebnis.addLabel(QStringLiteral("LabelEinAusBrutto"), {kBruttoX, 2, kBetragB, 6})
        .setFont(fett)
        .setAlignment(kRechts);
    ergebnis.setFrame(true, false);
    ergebnis.onBeforePrint([this](Band& b, bool&) { SummaryBand1BeforePrint(b); });
}

reportengine::PageModel TRep_EinAus::erzeugen(reportengine::RowSource& QueryEinAus) {
    return m_report.produce(QueryEinAus);
}

void TRep_EinAus::PageHeaderBand1BeforePrint(Band& band) {
    band.element(QStringLiteral("LabelZeitraum")).setText(m_daten.ZeitraumText);
    band.element(QStringLiteral("LabelGanzerName")).setText(m_daten.GanzerName);
}

void TRep_EinAus::QRGroup1BeforePrint(Band& band) {
    if (m_report.value(QStringLiteral("IstEinnahme")).toInt() == 1) {
        band.element(QStringLiteral("QRLabel2")).setText(QStringLiteral("Einnahmen"));
    } else {
        band.element(QStringLiteral("QRLabel2")).setText(QStringLiteral("Ausgaben"));
        m_ausgaben = true;
    }
}

void TRep_EinAus::DetailBand1BeforePrint() {
    m_netto += auswertung::betrag(m_report.value(QStringLiteral("netto")));
    m_brutto += auswertung::betrag(m_report.value(QStringLiteral("brutto")));
}

void TRep_EinAus::QRBand1BeforePrint(Band& band) {
    if (m_ausgaben) {
        band.element(QStringLiteral("LabelZWSumme")).setText(QStringLiteral("Summe Ausgaben"));
        m_ausNetto = m_netto;
        m_ausBrutto = m_brutto;
    } else {
        band.element(QStringLiteral("LabelZWSumme")).setText(QStringLiteral("Summe Einnahmen"));
        m_einNetto = m_netto;
        m_einBrutto = m_brutto;
        m_ausgaben = true;
    }
    band.element(QStringLiteral("labelSummeBetrag")).setText(m_netto.formatMaske(kMaske));
    band.element(QStringLiteral("labelSummeBrutto")).setText(m_brutto.formatMaske(kMaske));
    m_netto = Currency();
    m_brutto = Currency();
}

void TRep_EinAus::SummaryBand1BeforePrint(Band& band) {
    band.element(QStringLiteral("LabelEinAus"))
        .setText((m_einNetto - m_ausNetto).formatMaske(kMaske));
    band.element(QStringLiteral("LabelEinAusBrutto"))
        .setText((m_einBrutto - m_ausBrutto).formatMaske(kMaske));
    m_einNetto = m_einBrutto = m_ausNetto = m_ausBrutto = Currency();
    m_netto = m_brutto = Currency();
    m_ausgaben = false;
}
