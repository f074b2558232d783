#include "reports/trep_verprobung.h"

#include "data/dm_einaus.h"
#include "platform/clock.h"
#include "reports/auswertung.h"
#include "reports/berichtsformat.h"
#include "reports/mandantenname.h"
#include "reports/verprobung.h"

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

TRep_Verprobung::TRep_Verprobung(Datenbank&, const T_RepDaten& daten)
    : m_daten(daten), m_report(QStringLiteral("Rep_Verprobung")) {
    m_report.setMargins(QMarginsF(10, 10, 10, 10));
    m_report.setFont({QStringLiteral("Arial"), 10});
    m_report.setFormatter(berichtsFormat);
    const double breite = m_report.contentWidth();

    Band& titel = m_report.addTitle(QStringLiteral("SeitenTitel"), 30);
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

    Band& detail = m_report.addDetail(QStringLiteral("QRBandDetail"), 7);
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

    Band& fuss = m_report.addSummary(QStringLiteral("Fuss"), 62);
    struct Zeile {
        double y;
        const char* text;
        double einzug;
        const char* netto;
        const char* steuer;
        bool fett;
    };
    const Zeile zeilen[] = {
        {2, "Umsatzsteuer aus innergem. Erwerb 20%", 0, "LabelBemUstInner", "LabelUstInner", false},
        {10, "Gesamtsumme", 0, "LabelBemSumme", "LabelUSTSumme", true},
        {19, "Vorsteuer", 0, nullptr, "LabelVST", false},
        {25, "Davon Vorsteuer KFZ (KZ 027)", 5, nullptr, "LabelKFZ", false},
        {31, "Davon Vorsteuer Gebäude (KZ 028)", 5, nullptr, "LabelGebaeude", false},
        {37, "Einfuhrumsatzsteuer", 0, nullptr, "LabelEinfuhr", false},
        {43, "Vorsteuer aus innergem. Erwerb 20%", 0, nullptr, "LabelVSTInner", false},
    };
    int nummer = 4;
    for (const Zeile& z : zeilen) {
        fuss.addLabel(QStringLiteral("QRLabel%1").arg(nummer++),
                      {z.einzug, z.y, kNettoX - 2 - z.einzug, kZeile}, QString::fromUtf8(z.text));
        if (z.netto)
            fuss.addLabel(QString::fromLatin1(z.netto), {kNettoX, z.y, kNettoB, kZeile})
                .setAlignment(kRechts)
                .setBold(z.fett);
        fuss.addLabel(QString::fromLatin1(z.steuer), {kSteuerX, z.y, kSteuerB, kZeile})
            .setAlignment(kRechts)
            .setBold(z.fett);
    }
    fuss.addLine(QStringLiteral("QRShape1"), {0, 8.5, breite, 0}, 0.2);
    fuss.addLine(QStringLiteral("QRShape2"), {0, 16.5, breite, 0}, 0.5);
    fuss.addLine(QStringLiteral("QRShape3"), {0, 49.5, breite, 0}, 0.2);
    fuss.addLine(QStringLiteral("QRShape4"), {0, 50.3, breite, 0}, 0.2);
    fuss.addLabel(QStringLiteral("LabelZahllastGutschrift"), {0, 52, kNettoX - 2, kZeile})
        .setBold();
    fuss.addLabel(QStringLiteral("LabelFinanzamt"), {kSteuerX, 52, kSteuerB, kZeile})
        .setAlignment(kRechts)
        .setBold();
    fuss.addLine(QStringLiteral("QRShape5"), {0, 58.5, breite, 0}, 0.2);
    fuss.onBeforePrint([this](Band& b, bool&) { FussBeforePrint(b); });
}

reportengine::PageModel TRep_Verprobung::erzeugen(const std::vector<verprobung::Posten>& posten) {
    m_summen = verprobung::summen(posten);
    ErloesZeilen Query_Verprobung(verprobung::erloeseJeSatz(posten));
    return m_report.produce(Query_Verprobung);
}

void TRep_Verprobung::SeitenTitelBeforePrint(Band& band) {
    band.element(QStringLiteral("LabelZeitraum")).setText(m_daten.ZeitraumText);
    band.element(QStringLiteral("LabelGanzerName")).setText(m_daten.GanzerName);
}

void TRep_Verprobung::QRBandDetailBeforePrint(Band& band) {
    const Currency netto = auswertung::betrag(m_report.value(QStringLiteral("Betrag"))) -
                           auswertung::betrag(m_report.value(QStringLiteral("St_Betrag")));
    band.element(QStringLiteral("LabelNetto")).setText(betrag(netto));
    band.element(QStringLiteral("LabelText"))
        .setText(
            QStringLiteral("Erlöse %1%").arg(m_report.value(QStringLiteral("Steuersatz")).toInt()));
}

void TRep_Verprobung::FussBeforePrint(Band& band) {
    const verprobung::Summen& s = m_summen;
    const Currency saldo = s.Saldo();
    const auto setze = [&band](const char* name, const QString& text) {
        band.element(QString::fromLatin1(name)).setText(text);
    };
    setze("LabelZahllastGutschrift", verprobung::saldoText(saldo));
    setze("LabelBemUstInner", betrag(s.EUBemessung));
    setze("LabelUstInner", betrag(s.EUSteuer));
    setze("LabelBemSumme", betrag(s.BemessungSumme()));
    setze("LabelUSTSumme", betrag(s.USTSumme()));
    setze("LabelVST", betrag(s.Vorsteuer));
    setze("LabelKFZ", betrag(s.KFZ));
    setze("LabelGebaeude", betrag(s.Gebaeude));
    setze("LabelEinfuhr", betrag(s.Einfuhr));
    setze("LabelVSTInner", betrag(s.EUSteuer));
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
