#include "reports/trep_einausdetail.h"

#include "data/db.h"
#include "reports/auswertung.h"
#include "reports/berichtsformat.h"

#include <tuple>

using reportengine::Band;

namespace {

constexpr Qt::Alignment kRechts = Qt::AlignRight | Qt::AlignTop;
const QString kMaske = QStringLiteral("#,##0.00");
constexpr double kZeile = 5;
constexpr double kNettoX = 122, kBruttoX = 157, kBetragB = 33;

} // namespace

TRep_EinAusDetail::TRep_EinAusDetail(Datenbank& db, const T_RepDaten& daten)
    : m_db(db), m_daten(daten), m_report(QStringLiteral("Rep_EinAusDetail")) {
    m_report.setMargins(QMarginsF(10, 10, 10, 10));
    m_report.setFont({QStringLiteral("Arial"), 10});
    m_report.setFormatter(berichtsFormat);
    const double breite = m_report.contentWidth();

    Band& kopf = m_report.addPageHeader(QStringLiteral("PageHeaderBand1"), 22);
    kopf.addLabel(QStringLiteral("QRLabel1"), {0, 0, 60, 6},
                  QStringLiteral("Einnahmen - Ausgaben Rechnung"))
        .setBold();
    kopf.addLabel(QStringLiteral("LabelGanzerName"), {63, 0, breite - 63, 6}).setBold().setWrap();
    kopf.addLabel(QStringLiteral("LabelZeitraum"), {63, 6, breite - 63, 6}).setBold();
    kopf.addLabel(QStringLiteral("LabelZeitraum_integer"), {breite - 20, 6, 20, 6},
                  QStringLiteral("0"))
        .setEnabled(false);
    struct Titel {
        const char* name;
        const char* text;
        double x, b;
        bool rechts;
    };
    const Titel titel[] = {
        {"QRLabel2", "Beleg-Nr.", 0, 18, true},
        {"QRLabel3", "Belegdatum", 22, 22, false},
        {"QRLabel4", "Belegtext", 46, 74, false},
        {"QRLabel5", "Netto", kNettoX, kBetragB, true},
        {"QRLabel6", "Brutto", kBruttoX, kBetragB, true},
    };
    for (const Titel& t : titel) {
        kopf.addLabel(QString::fromLatin1(t.name), {t.x, 15, t.b, kZeile},
                      QString::fromLatin1(t.text))
            .setAlignment(t.rechts ? kRechts : Qt::AlignLeft | Qt::AlignTop);
    }
    kopf.onBeforePrint([this](Band& b, bool&) { PageHeaderBand1BeforePrint(b); });

    Band& seite =
        m_report.addGroupHeader(QStringLiteral("QRGroup1"), QStringLiteral("IstEinnahme"), 7);
    seite
        .addField(QStringLiteral("QRDBText1"), {0, 1.5, 60, kZeile},
                  QStringLiteral("istEinnahme_text"))
        .setBold()
        .setItalic();
    seite.setFrame(true, false);

    Band& kreis = m_report.addGroupHeader(QStringLiteral("QRGroup2"), QStringLiteral("BK"), 6);
    kreis.addField(QStringLiteral("QRDBText2"), {5, 1, 100, kZeile}, QStringLiteral("BKName"))
        .setBold()
        .setWrap();

    Band& detail = m_report.addDetail(QStringLiteral("DetailBand1"), kZeile);
    detail
        .addField(QStringLiteral("QRDBText3"), {0, 0.3, 18, kZeile}, QStringLiteral("Belegnummer"))
        .setAlignment(kRechts);
    detail.addField(QStringLiteral("QRDBText4"), {22, 0.3, 22, kZeile},
                    QStringLiteral("Buchungsdatum"), kDatumMaske);
    detail.addField(QStringLiteral("QRDBText5"), {46, 0.3, 74, kZeile}, QStringLiteral("Text"))
        .setWrap();
    detail
        .addField(QStringLiteral("QRDBText6"), {kNettoX, 0.3, kBetragB, kZeile},
                  QStringLiteral("netto"), kMaske)
        .setAlignment(kRechts);
    detail
        .addField(QStringLiteral("QRDBText7"), {kBruttoX, 0.3, kBetragB, kZeile},
                  QStringLiteral("brutto"), kMaske)
        .setAlignment(kRechts);

    Band& kreisFuss =
        m_report.addGroupFooter(QStringLiteral("QRGroup2"), QStringLiteral("QRBand2"), 7);
    kreisFuss.addLabel(QStringLiteral("QRLabel7"), {5, 1, 14, kZeile}, QStringLiteral("Summe"))
        .setBold();
    kreisFuss.addField(QStringLiteral("QRDBText8"), {20, 1, 100, kZeile}, QStringLiteral("BKName"))
        .setBold()
        .setWrap();
    kreisFuss
        .addSum(QStringLiteral("QRExpr1"), {kNettoX, 1, kBetragB, kZeile}, QStringLiteral("netto"),
                kMaske)
        .setBold()
        .setAlignment(kRechts)
        .setResetAfterPrint();
    kreisFuss
        .addSum(QStringLiteral("QRExpr2"), {kBruttoX, 1, kBetragB, kZeile},
                QStringLiteral("brutto"), kMaske)
        .setBold()
        .setAlignment(kRechts)
        .setResetAfterPrint();

    Band& seitenFuss =
        m_report.addGroupFooter(QStringLiteral("QRGroup1"), QStringLiteral("QRBand1"), 8);
    seitenFuss.addLabel(QStringLiteral("QRLabel8"), {0, 1.5, 14, kZeile}, QStringLiteral("Summe"))
        .setBold()
        .setItalic();
    seitenFuss
        .addField(QStringLiteral("QRDBText9"), {15, 1.5, 100, kZeile},
                  QStringLiteral("istEinnahme_text"))
        .setBold()
        .setItalic();
    for (const auto& [name, feld, x] :
         {std::tuple{"QRExpr3", "netto", kNettoX}, std::tuple{"QRExpr4", "brutto", kBruttoX}}) {
        seitenFuss
            .addSum(QString::fromLatin1(name), {x, 1.5, kBetragB, kZeile},
                    QString::fromLatin1(feld), kMaske)
            .setItalic()
            .setAlignment(kRechts)
            .setResetAfterPrint();
    }
    seitenFuss.setFrame(true, false);

    Band& ergebnis = m_report.addSummary(QStringLiteral("SummaryBand1"), 9);
    ergebnis.addLabel(QStringLiteral("QRLabel9"), {0, 2, 60, kZeile}, QStringLiteral("Ergebnis"))
        .setBold();
    ergebnis
        .addSum(QStringLiteral("QRExpr5"), {kNettoX, 2, kBetragB, kZeile}, QStringLiteral("netto2"),
                kMaske)
        .setBold()
        .setAlignment(kRechts);
    ergebnis
        .addSum(QStringLiteral("QRExpr6"), {kBruttoX, 2, kBetragB, kZeile},
                QStringLiteral("brutto2"), kMaske)
        .setBold()
        .setAlignment(kRechts);
    ergebnis.setFrame(true, true, 0.1);
}

void TRep_EinAusDetail::setKreis(int kreis) {
    m_kreis = kreis;
    m_report.band(QStringLiteral("PageHeaderBand1"))
        .element(QStringLiteral("LabelZeitraum_integer"))
        .setText(QString::number(kreis));
}

reportengine::PageModel TRep_EinAusDetail::erzeugen(reportengine::RowSource& QueryEinAusDetail) {
    return m_report.produce(QueryEinAusDetail);
}

void TRep_EinAusDetail::PageHeaderBand1BeforePrint(Band& band) {
    band.element(QStringLiteral("LabelGanzerName")).setText(m_daten.GanzerName);
    QString zusatz = QStringLiteral(" alle Buchungskreise");
    const int k = band.element(QStringLiteral("LabelZeitraum_integer")).text().toInt();
    if (k > 0) {
        Sql q = m_db.sql(
            QStringLiteral("select * from t_bkreis where id = :bk and mandant = :mandant;"));
        q.bind(QStringLiteral("bk"), k).bind(QStringLiteral("mandant"), m_daten.Mandant).exec();
        zusatz = q.next() ? QStringLiteral(" - ") + q.value(QStringLiteral("bkname")).toString()
                          : QString();
    }
    band.element(QStringLiteral("LabelZeitraum")).setText(m_daten.ZeitraumText + zusatz);
}
