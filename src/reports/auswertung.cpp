#include "reports/auswertung.h"

#include "data/datenbankpruefung.h"
#include "data/dm_einaus.h"
#include "reports/t_repdaten.h"
#include "reports/zeitraum.h"

#include <cmath>
#include <stdexcept>

namespace auswertung {

QStringList zeilen(std::initializer_list<const char*> texte) {
    QStringList out;
    for (const char* t : texte)
        out << QString::fromUtf8(t).replace(QLatin1String("{netto}"), nettoAusdruck());
    return out;
}

QString nettoAusdruck() {
    return QStringLiteral("iif([isteu]=1,[betrag],[betrag]-[st_betrag])");
}

void zeitraumSetzen(TDM_EinAus& dm, T_RepDaten& daten, int code) {
    // every evaluation of a period starts here: none adds a text as 0
    datenbankpruefung::typenSicherstellen(dm.db());
    daten.Mandant = dm.gibMandant();
    daten.Zeitraum = dm.gibZeitraum();
    daten.Jahr = dm.gibJahr();
    const auto periode = ZeitraumBestimmen(code, daten.Jahr);
    if (!periode)
        throw std::invalid_argument("period code out of range");
    daten.Von = periode->Von;
    daten.Bis = periode->Bis;
    daten.ZeitraumText = periode->ZeitraumText;
}

Currency betrag(const QVariant& v) {
    if (v.isNull())
        return Currency();
    if (v.typeId() == QMetaType::Double)
        return Currency::fromUnits(static_cast<std::int64_t>(std::llround(v.toDouble())));
    return Currency::fromUnits(v.toLongLong());
}

QString jahrText(int jahr) {
    return QStringLiteral("Jahr ") + QString::number(jahr);
}

bool kreisVorhanden(TDM_EinAus& dm, int kreis) {
    Sql q = dm.db().sql(
        QStringLiteral("select 1 from t_bkreis where id = :bk and mandant = :mandant;"));
    q.bind(QStringLiteral("bk"), kreis).bind(QStringLiteral("mandant"), dm.gibMandant()).exec();
    return q.next();
}

QString meldungKreisFehlt() {
    return QStringLiteral("Diesen Buchungskreis gibt es beim Mandanten nicht.");
}

KreisFilter::KreisFilter(reportengine::RowSource& quelle, int kreis)
    : m_quelle(quelle), m_kreis(kreis) {
    if (m_kreis > 0) {
        const QStringList felder = m_quelle.fields();
        for (qsizetype i = 0; i < felder.size() && m_bk < 0; ++i) {
            if (felder[i].compare(QLatin1String("BK"), Qt::CaseInsensitive) == 0)
                m_bk = static_cast<int>(i);
        }
        if (m_bk < 0)
            throw std::invalid_argument("rows without a column BK cannot be filtered by circle");
    }
}

bool KreisFilter::next() {
    while (m_quelle.next()) {
        if (m_kreis <= 0 || m_quelle.value(m_bk).toInt() == m_kreis)
            return true;
    }
    return false;
}

} // namespace auswertung
