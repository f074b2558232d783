#include "reports/trep_journal.h"

#include "reports/auswertung.h"
#include "reports/berichtsformat.h"

#include <utility>

using reportengine::Band;

namespace {

constexpr Qt::Alignment kRechts = Qt::AlignRight | Qt::AlignTop;
const QString kBetrag = QStringLiteral("#,##0.00");
// a zero tax prints nothing
const QString kSteuer = QStringLiteral("#,##0.00;;''");
constexpr double kZeile = 5;

// Columns in millimetres from the left margin: x and width.
struct Spalte {
    double x, b;
};
constexpr Spalte kDatum{0, 20}, kBeleg{20, 25}, kText{48, 52}, kBetragS{100, 27}, kSatz{127, 19},
    kVST{146, 22}, kUST{168, 22};

} // namespace

TRep_Journal::TRep_Journal(const T_RepDaten& daten)
    : m_daten(daten), m_report(QStringLiteral("Rep_Journal")) {
    m_report.setMargins(QMarginsF(10, 10, 10, 10));
    m_report.setFont({QStringLiteral("Arial"), 10});
    m_report.setFormatter(berichtsFormat);
    m_report.onBeforePrint([this] { ReportBeforePrint(); });
    const double breite = m_report.contentWidth();

    Band& kopf = m_report.addPageHeader(QStringLiteral("PageHeaderBand1"), 22);
    kopf.addLabel(QStringLiteral("QRLabel2"), {0, 0, 45, 6}, QStringLiteral("Buchungsjournal"))
        .setBold();
    // the engine prints "Seite n von m" at the right
    kopf.addLabel(QStringLiteral("LabelGanzerName"), {48, 0, breite - 48, 6}).setBold().setWrap();
    kopf.addLabel(QStringLiteral("LabelZeitraum"), {48, 6, 110, 6}).setBold();
    struct Titel {
        const char* name;
        const char* text;
        Spalte s;
        bool rechts;
    };
    const Titel titel[] = {
        {"QRLabel3", "Datum", kDatum, false},
        {"QRLabel4", "Belegnummer", kBeleg, true},
        {"QRLabel5", "Buchungstext", kText, false},
        {"QRLabel6", "Betrag", kBetragS, true},
        {"QRLabel7", "Steuersatz", kSatz, true},
        {"QRLabel8", "VST", kVST, true},
        {"QRLabel9", "UST", kUST, true},
    };
    for (const Titel& t : titel) {
        kopf.addLabel(QString::fromLatin1(t.name), {t.s.x, 16, t.s.b, kZeile},
                      QString::fromLatin1(t.text))
            .setAlignment(t.rechts ? kRechts : Qt::AlignLeft | Qt::AlignTop);
    }
    kopf.setFrame(false, true, 0.2);
    kopf.onBeforePrint([this](Band& b, bool&) { PageHeaderBand1BeforePrint(b); });

    Band& detail = m_report.addDetail(QStringLiteral("DetailBand1"), kZeile);
    const auto feld = [&detail](const char* name, Spalte s, const char* field, const QString& mask,
                                bool rechts) {
        detail
            .addField(QString::fromLatin1(name), {s.x, 0.5, s.b, kZeile - 0.5},
                      QString::fromLatin1(field), mask)
            .setAlignment(rechts ? kRechts : Qt::AlignLeft | Qt::AlignTop);
    };
    feld("QRDBText1", kDatum, "Buchungsdatum", kDatumMaske, false);
    feld("QRDBText2", kBeleg, "Belegnummer", QString(), true);
    feld("QRDBText3", kText, "Text", QString(), false);
    detail.element(QStringLiteral("QRDBText3")).setWrap();
    feld("labelBetragJournal", kBetragS, "Betrag2", kBetrag, true);
    feld("LabelSteuersatz", kSatz, "Steuersatz", kSatzMaske, true);
    feld("LabelVST", kVST, "VST", kSteuer, true);
    feld("LabelUST", kUST, "UST", kSteuer, true);
    // looked up once: the event runs for every row
    m_satz = &detail.element(QStringLiteral("LabelSteuersatz"));
    m_vstFeld = &detail.element(QStringLiteral("LabelVST"));
    m_ustFeld = &detail.element(QStringLiteral("LabelUST"));
    m_betragFeld = &detail.element(QStringLiteral("labelBetragJournal"));
    detail.onBeforePrint([this](Band& b, bool& print) { DetailBand1BeforePrint(b, print); });

    Band& summen = m_report.addSummary(QStringLiteral("SummenBand"), kZeile + 2);
    summen
        .addLabel(QStringLiteral("LabelSumme"), {kDatum.x, 1, kDatum.b, kZeile},
                  QStringLiteral("Summe"))
        .setBold();
    for (const auto& [name, s] :
         {std::pair{"LabelSummeBetrag", kBetragS}, std::pair{"LabelSummeSatz", kSatz},
          std::pair{"LabelSummeVST", kVST}, std::pair{"LabelSummeUST", kUST}})
        summen.addLabel(QString::fromLatin1(name), {s.x, 1, s.b, kZeile})
            .setBold()
            .setAlignment(kRechts);
    summen.setFrame(true, false);
    summen.onBeforePrint([this](Band& b, bool&) { SummenBandBeforePrint(b); });
}

reportengine::PageModel TRep_Journal::erzeugen(reportengine::RowSource& QueryJournal) {
    return m_report.produce(QueryJournal);
}

void TRep_Journal::ReportBeforePrint() {
    m_betrag = m_vst = m_ust = Currency();
}

void TRep_Journal::PageHeaderBand1BeforePrint(Band& band) {
    band.element(QStringLiteral("LabelZeitraum")).setText(m_daten.ZeitraumText);
    band.element(QStringLiteral("LabelGanzerName")).setText(m_daten.GanzerName);
}

void TRep_Journal::DetailBand1BeforePrint(Band&, bool& print) {
    // the deduction of an acquisition's tax: the booking is printed once, with
    // its 1021 line; a small business's reverse charge has no 2021 line at all,
    // so skipping "the next row" would swallow the following booking
    if (m_report.value(QStringLiteral("Konten_Nr")).toLongLong() == 2021) {
        print = false;
        return;
    }
    const bool dritt = m_report.value(QStringLiteral("IstDrittland")).toLongLong() == 1;
    if (!dritt)
        m_betrag += auswertung::betrag(m_report.value(QStringLiteral("Betrag2")));
    const QVariant vst = m_report.value(QStringLiteral("VST"));
    const QVariant ust = m_report.value(QStringLiteral("UST"));
    m_vst += auswertung::betrag(vst);
    m_ust += auswertung::betrag(ust);
    for (reportengine::Element* e : {m_satz, m_ustFeld, m_betragFeld})
        e->setEnabled(!dritt);
    m_vstFeld->setEnabled(!vst.isNull());
    m_ustFeld->setEnabled(!ust.isNull());
}

void TRep_Journal::SummenBandBeforePrint(Band& band) {
    band.element(QStringLiteral("LabelSummeBetrag")).setText(m_betrag.formatMaske(kBetrag));
    band.element(QStringLiteral("LabelSummeVST")).setText(m_vst.formatMaske(kBetrag));
    band.element(QStringLiteral("LabelSummeUST")).setText(m_ust.formatMaske(kBetrag));
}
