#include "reports/trep_monate.h"

#include "data/dates.h"
#include "data/dm_einaus.h"
#include "platform/clock.h"
#include "reports/auswertung.h"
#include "reports/berichtsformat.h"
#include "reports/mandantenname.h"
#include "reports/monatsgrafik.h"

using reportengine::Band;

namespace {

constexpr Qt::Alignment kRechts = Qt::AlignRight | Qt::AlignTop;
const QString kMaske = QStringLiteral("#,##0.00");
constexpr double kZeile = 6;
constexpr double kMonatB = 25, kBetragX = 27, kBetragB = 28;
// the chart right of the columns
constexpr double kGrafikX = 150;
const QSizeF kGrafik{127, 105};

struct Spalte {
    const char* feld;
    const char* titel;
};
constexpr Spalte kSpalten[] = {
    {"Einnahmen", "Einnahmen netto"},
    {"Ausgaben", "Ausgaben netto"},
    {"Ergebnis", "Ergebnis"},
    {"Kumuliert", "Kumuliert"},
};

double spalteX(size_t i) {
    return kBetragX + static_cast<double>(i) * kBetragB;
}

// The months as the report's rows; amounts in ten-thousandths.
class MonatsZeilen final : public reportengine::RowSource {
public:
    explicit MonatsZeilen(const monate::Uebersicht& u) : m_u(u) {}
    QStringList fields() const override {
        QStringList f{QStringLiteral("Monat")};
        for (const Spalte& s : kSpalten)
            f << QString::fromLatin1(s.feld);
        return f;
    }
    bool next() override { return ++m_pos < static_cast<std::ptrdiff_t>(m_u.monate.size()); }
    QVariant value(int field) const override {
        const monate::Monat& m = m_u.monate.at(static_cast<size_t>(m_pos));
        const auto units = [](const Currency& c) {
            return QVariant::fromValue<qlonglong>(c.units());
        };
        switch (field) {
        case 0:
            return dates::monthName(m.monat);
        case 1:
            return units(m.einnahmen);
        case 2:
            return units(m.ausgaben);
        case 3:
            return units(m.ergebnis);
        case 4:
            return units(m.kumuliert);
        default:
            return {};
        }
    }

private:
    const monate::Uebersicht& m_u;
    std::ptrdiff_t m_pos = -1;
};

} // namespace

TRep_Monate::TRep_Monate(const T_RepDaten& daten)
    : m_daten(daten), m_report(QStringLiteral("Rep_Monate")) {
    m_report.setPaperSize({297, 210});
    m_report.setMargins(QMarginsF(10, 10, 10, 10));
    m_report.setFont({QStringLiteral("Arial"), 10});
    m_report.setFormatter(berichtsFormat);
    const double breite = m_report.contentWidth();

    Band& kopf = m_report.addPageHeader(QStringLiteral("Kopf"), 22);
    kopf.addLabel(QStringLiteral("LabelTitel"), {0, 0, 45, 6}, QStringLiteral("Monatsübersicht"))
        .setBold();
    kopf.addLabel(QStringLiteral("LabelGanzerName"), {48, 0, breite - 48, 6}).setBold().setWrap();
    kopf.addLabel(QStringLiteral("LabelZeitraum"), {48, 6, 100, 6}).setBold();
    kopf.addLabel(QStringLiteral("LabelMonat"), {0, 16, kMonatB, 5}, QStringLiteral("Monat"));
    for (size_t i = 0; i < std::size(kSpalten); ++i) {
        kopf.addLabel(QStringLiteral("Titel%1").arg(QLatin1String(kSpalten[i].feld)),
                      {spalteX(i), 16, kBetragB, 5}, QString::fromLatin1(kSpalten[i].titel))
            .setAlignment(kRechts);
    }
    kopf.setFrame(false, true);
    kopf.onBeforePrint([this](Band& b, bool&) { KopfBeforePrint(b); });

    // no height of its own: the chart stands beside the lines that follow
    m_report.addTitle(QStringLiteral("Grafik"), 0)
        .addImage(QStringLiteral("Monatsgrafik"), {kGrafikX, 2, kGrafik.width(), kGrafik.height()});

    Band& detail = m_report.addDetail(QStringLiteral("Monatszeile"), kZeile);
    detail.addField(QStringLiteral("FeldMonat"), {0, 0.5, kMonatB, 5}, QStringLiteral("Monat"));
    for (size_t i = 0; i < std::size(kSpalten); ++i) {
        detail
            .addField(QStringLiteral("Feld%1").arg(QLatin1String(kSpalten[i].feld)),
                      {spalteX(i), 0.5, kBetragB, 5}, QString::fromLatin1(kSpalten[i].feld), kMaske)
            .setAlignment(kRechts);
    }

    Band& summe = m_report.addSummary(QStringLiteral("Jahressumme"), kZeile + 2);
    summe.addLabel(QStringLiteral("LabelSumme"), {0, 1.5, kMonatB, 5}, QStringLiteral("Summe"))
        .setBold();
    for (size_t i = 0; i < 3; ++i) {
        summe
            .addSum(QStringLiteral("Summe%1").arg(QLatin1String(kSpalten[i].feld)),
                    {spalteX(i), 1.5, kBetragB, 5}, QString::fromLatin1(kSpalten[i].feld), kMaske)
            .setBold()
            .setAlignment(kRechts);
    }
    summe.setFrame(true, false);
}

reportengine::PageModel TRep_Monate::erzeugen(const monate::Uebersicht& u) {
    m_report.band(QStringLiteral("Grafik"))
        .element(QStringLiteral("Monatsgrafik"))
        .setImage(monatsGrafik(u, kGrafik));
    MonatsZeilen zeilen(u);
    return m_report.produce(zeilen);
}

void TRep_Monate::KopfBeforePrint(Band& band) {
    band.element(QStringLiteral("LabelZeitraum")).setText(m_daten.ZeitraumText);
    band.element(QStringLiteral("LabelGanzerName")).setText(m_daten.GanzerName);
}

namespace monate {

reportengine::PageModel erzeugen(TDM_EinAus& dm, TRep_Monate& bericht, T_RepDaten& daten) {
    auswertung::zeitraumSetzen(dm, daten, 17);
    daten.GanzerName = mandantenname::zeilenTest(dm);
    const Uebersicht u = lesen(dm);
    bericht.report().setDruckdatum(dm.clock().today());
    return bericht.erzeugen(u);
}

} // namespace monate
