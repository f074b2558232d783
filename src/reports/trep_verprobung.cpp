#include "reports/trep_verprobung.h"

#include "data/dm_einaus.h"
#include "platform/clock.h"
#include "reports/auswertung.h"
#include "reports/berichtsformat.h"
#include "reports/mandantenname.h"
#include "reports/verprobung.h"

#include "data/steuersatz.h"

#include <iterator>

using reportengine::Band;

namespace {

const QString kMaske = QStringLiteral("#,##0.00");
constexpr Qt::Alignment kRechts = Qt::AlignRight | Qt::AlignTop;

// Columns in millimetres from the left margin: texts, net amounts, tax.
constexpr double kNettoX = 80, kNettoB = 55;
constexpr double kSteuerX = 140, kSteuerB = 50;
constexpr double kZeile = 5;

QString betrag(Currency c) {
    return c.formatMaske(kMaske);
}

// The revenue lines as the report's rows: Steuersatz, St_Betrag and Betrag,
// amounts in ten-thousandths as the database gives them.
class ErloesZeilen final : public reportengine::RowSource {
public:
    explicit ErloesZeilen(std::vector<verprobung::Erloeszeile> zeilen)
        : m_zeilen(std::move(zeilen)) {}
    QStringList fields() const override {
        return {QStringLiteral("Steuersatz"), QStringLiteral("St_Betrag"),
                QStringLiteral("Betrag")};
    }
    bool next() override { return ++m_pos < static_cast<std::ptrdiff_t>(m_zeilen.size()); }
    QVariant value(int field) const override {
        const verprobung::Erloeszeile& z = m_zeilen.at(static_cast<size_t>(m_pos));
        switch (field) {
        case 0:
            return z.Steuersatz;
        case 1:
            return QVariant::fromValue<qlonglong>(z.St_Betrag.units());
        case 2:
            return QVariant::fromValue<qlonglong>(z.Betrag.units());
        default:
            return {};
        }
    }

private:
    std::vector<verprobung::Erloeszeile> m_zeilen;
    std::ptrdiff_t m_pos = -1;
};

} // namespace

TRep_Verprobung::TRep_Verprobung(Datenbank&, const T_RepDaten& daten) : m_daten(daten) {
    aufbauen();
}

void TRep_Verprobung::aufbauen() {
    m_report = std::make_unique<reportengine::Report>(QStringLiteral("Rep_Verprobung"));
    reportengine::Report& report = *m_report;

    report.setMargins(QMarginsF(10, 10, 10, 10));
    report.setFont({QStringLiteral("Arial"), 10});
    report.setFormatter(berichtsFormat);
    const double breite = report.contentWidth();

    Band& titel = report.addTitle(QStringLiteral("SeitenTitel"), 30);
    titel
        .addLabel(QStringLiteral("QRLabel1"), {0, 0, 46, 6},
                  QStringLiteral("Umsatzsteuerverprobung"))
        .setBold();
    titel.addLabel(QStringLiteral("LabelGanzerName"), {48, 0, breite - 48, 6}).setBold().setWrap();
    titel.addLabel(QStringLiteral("LabelZeitraum"), {48, 6, breite - 48, 6}).setBold();
    titel
        .addLabel(QStringLiteral("QRLabel2"), {kNettoX, 23, kNettoB, kZeile},
                  QStringLiteral("Bemessungsgrundlage (netto)"))
        .setAlignment(kRechts);
    titel
        .addLabel(QStringLiteral("QRLabel3"), {kSteuerX, 23, kSteuerB, kZeile},
                  QStringLiteral("Umsatzsteuer"))
        .setAlignment(kRechts);
    titel.onBeforePrint([this](Band& b, bool&) { SeitenTitelBeforePrint(b); });

    Band& detail = report.addDetail(QStringLiteral("QRBandDetail"), 7);
    detail.addLabel(QStringLiteral("LabelText"), {5, 1, 50, kZeile});
    detail.addField(QStringLiteral("QRDBText1"), {56, 1, 22, kZeile}, QStringLiteral("Betrag"))
        .setAlignment(kRechts)
        .setEnabled(false);
    detail.addLabel(QStringLiteral("LabelNetto"), {kNettoX, 1, kNettoB, kZeile})
        .setAlignment(kRechts);
    detail
        .addField(QStringLiteral("QRDBText3"), {kSteuerX, 1, kSteuerB, kZeile},
                  QStringLiteral("St_Betrag"), kMaske)
        .setAlignment(kRechts);
    detail.setFrame(false, true, 0.1);
    detail.onBeforePrint([this](Band& b, bool&) { QRBandDetailBeforePrint(b); });
}

void TRep_Verprobung::fussAufbauen() {
    // the summary's lines depend on the period: one acquisition line per rate,
    // reverse charge and construction only where the period has them
    const double breite = m_report->contentWidth();
    const double y0 = 2, schritt = 6;
    const double ySumme = y0 + schritt * static_cast<double>(m_ust.size() - 1) + 2;
    const double yVst = ySumme + 9;
    const double yLetzte = yVst + schritt * static_cast<double>(m_vst.size() - 1);
    Band& fuss = m_report->addSummary(QStringLiteral("Fuss"), yLetzte + 19);
    // the names of the lines every report has, as the layout has always called them
    const char* const ustNamen[][2] = {{"LabelBemUstInner", "LabelUstInner"}};
    const char* const vstNamen[] = {"LabelVST", "LabelKFZ", "LabelGebaeude", "LabelEinfuhr",
                                    "LabelVSTInner"};
    int nummer = 4;
    const auto zeile = [&](const verprobung::Summenzeile& z, double y, const QString& netto,
                           const QString& steuer) {
        const double einzug = z.art == verprobung::Summenzeile::Art::Davon ? 5 : 0;
        const bool fett = z.art == verprobung::Summenzeile::Art::Summe;
        fuss.addLabel(QStringLiteral("QRLabel%1").arg(nummer++),
                      {einzug, y, kNettoX - 2 - einzug, kZeile}, z.Text);
        if (z.Netto)
            fuss.addLabel(netto, {kNettoX, y, kNettoB, kZeile}, betrag(*z.Netto))
                .setAlignment(kRechts)
                .setBold(fett);
        fuss.addLabel(steuer, {kSteuerX, y, kSteuerB, kZeile}, betrag(z.Steuer))
            .setAlignment(kRechts)
            .setBold(fett);
    };
    for (size_t i = 0; i + 1 < m_ust.size(); ++i) {
        const bool erste = i == 0;
        zeile(m_ust[i], y0 + schritt * static_cast<double>(i),
              erste ? QString::fromLatin1(ustNamen[0][0]) : QStringLiteral("LabelBemUst%1").arg(i),
              erste ? QString::fromLatin1(ustNamen[0][1]) : QStringLiteral("LabelUst%1").arg(i));
    }
    zeile(m_ust.back(), ySumme, QStringLiteral("LabelBemSumme"), QStringLiteral("LabelUSTSumme"));
    for (size_t i = 0; i < m_vst.size(); ++i)
        zeile(m_vst[i], yVst + schritt * static_cast<double>(i), QString(),
              i < std::size(vstNamen) ? QString::fromLatin1(vstNamen[i])
                                      : QStringLiteral("LabelVst%1").arg(i));
    fuss.addLine(QStringLiteral("QRShape1"), {0, ySumme - 1.5, breite, 0}, 0.2);
    fuss.addLine(QStringLiteral("QRShape2"), {0, ySumme + 6.5, breite, 0}, 0.5);
    fuss.addLine(QStringLiteral("QRShape3"), {0, yLetzte + 6.5, breite, 0}, 0.2);
    fuss.addLine(QStringLiteral("QRShape4"), {0, yLetzte + 7.3, breite, 0}, 0.2);
    fuss.addLabel(QStringLiteral("LabelZahllastGutschrift"), {0, yLetzte + 9, kNettoX - 2, kZeile})
        .setBold();
    fuss.addLabel(QStringLiteral("LabelFinanzamt"), {kSteuerX, yLetzte + 9, kSteuerB, kZeile})
        .setAlignment(kRechts)
        .setBold();
    fuss.addLine(QStringLiteral("QRShape5"), {0, yLetzte + 15.5, breite, 0}, 0.2);
    fuss.onBeforePrint([this](Band& b, bool&) { FussBeforePrint(b); });
}

reportengine::PageModel TRep_Verprobung::erzeugen(const std::vector<verprobung::Posten>& posten) {
    m_summen = verprobung::summen(posten);
    m_ust = verprobung::ustZeilen(posten);
    m_vst = verprobung::vstZeilen(posten);
    // the summary's lines depend on the period: a fresh layout for each one
    aufbauen();
    fussAufbauen();
    ErloesZeilen Query_Verprobung(verprobung::erloeseJeSatz(posten));
    return m_report->produce(Query_Verprobung);
}

void TRep_Verprobung::SeitenTitelBeforePrint(Band& band) {
    band.element(QStringLiteral("LabelZeitraum")).setText(m_daten.ZeitraumText);
    band.element(QStringLiteral("LabelGanzerName")).setText(m_daten.GanzerName);
}

void TRep_Verprobung::QRBandDetailBeforePrint(Band& band) {
    const Currency netto = auswertung::betrag(m_report->value(QStringLiteral("Betrag"))) -
                           auswertung::betrag(m_report->value(QStringLiteral("St_Betrag")));
    band.element(QStringLiteral("LabelNetto")).setText(betrag(netto));
    band.element(QStringLiteral("LabelText"))
        .setText(
            QStringLiteral("Erlöse %1%")
                .arg(steuersatz::text(m_report->value(QStringLiteral("Steuersatz")).toDouble())));
}

void TRep_Verprobung::FussBeforePrint(Band& band) {
    const verprobung::Summen& s = m_summen;
    const Currency saldo = s.Saldo();
    const auto setze = [&band](const char* name, const QString& text) {
        band.element(QString::fromLatin1(name)).setText(text);
    };
    setze("LabelZahllastGutschrift", verprobung::saldoText(saldo));
    setze("LabelFinanzamt", betrag(verprobung::saldoBetrag(saldo)));
}

namespace verprobung {

std::optional<reportengine::PageModel> erzeugen(TDM_EinAus& dm, TRep_Verprobung& bericht,
                                                T_RepDaten& daten, int code) {
    auswertung::zeitraumSetzen(dm, daten, code);
    daten.GanzerName = mandantenname::nullTest(dm);

    const std::vector<Posten> posten = periodenPosten(dm.db(), daten);
    if (posten.empty())
        return std::nullopt;
    bericht.report().setDruckdatum(dm.clock().today());
    return bericht.erzeugen(posten);
}

} // namespace verprobung
