#include "auszuggenerator.h"

#include <QDate>
#include <QXmlStreamWriter>
#include <iterator>
#include <random>

namespace auszuggenerator {

namespace {

const char* const kNamen[] = {"Müller",  "Huber", "Wagner", "Gruber",  "Pichler",
                              "Steiner", "Moser", "Mayer",  "Hofer",   "Leitner",
                              "Berger",  "Fuchs", "Eder",   "Fischer", "Schmid"};
const char* const kArten[] = {"GmbH",       "& Söhne KG",   "e.U.",    "OG",
                              "AG",         "Handels GmbH", "Elektro", "Consulting",
                              "Transporte", "Bürobedarf"};
const char* const kTexte[] = {"Rechnung",   "Lieferung", "Honorar",  "Miete",   "Wartung",
                              "Gutschrift", "Beratung",  "Material", "Service", "Abo"};

QString betrag(qint64 cent) {
    return QStringLiteral("%1.%2").arg(cent / 100).arg(cent % 100, 2, 10, QLatin1Char('0'));
}

} // namespace

const std::vector<Partei>& parteien() {
    static const std::vector<Partei> p = [] {
        std::vector<Partei> out;
        int i = 0;
        for (const char* art : kArten)
            for (const char* name : kNamen) {
                Partei partei;
                partei.name = QString::fromUtf8(name) + QLatin1Char(' ') + QString::fromUtf8(art);
                if (i % 5 != 4)
                    partei.iban = QStringLiteral("AT%1").arg(611904300234573201LL + i * 7919LL);
                partei.kunde = i % 3 == 0;
                out.push_back(partei);
                ++i;
            }
        return out;
    }();
    return p;
}

int parteiVon(int zeile) {
    const int n = int(parteien().size());
    if (zeile < n)
        return zeile;
    std::mt19937 zufall(unsigned(zeile) * 2654435761u);
    return int(zufall() % unsigned(n));
}

QByteArray camt053(int erste, int anzahl, int gesamt) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeDefaultNamespace(QStringLiteral("urn:iso:std:iso:20022:tech:xsd:camt.053.001.08"));
    w.writeStartElement(QStringLiteral("Document"));
    w.writeStartElement(QStringLiteral("BkToCstmrStmt"));
    w.writeStartElement(QStringLiteral("GrpHdr"));
    w.writeTextElement(QStringLiteral("MsgId"), QStringLiteral("BENCH-%1").arg(erste));
    w.writeTextElement(QStringLiteral("CreDtTm"), QStringLiteral("2026-12-10T06:00:00+01:00"));
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("Stmt"));
    w.writeTextElement(QStringLiteral("Id"), QStringLiteral("BENCH-%1").arg(erste));
    const QDate anfang(2026, 1, 2);
    const int tage = int(anfang.daysTo(QDate(2026, 12, 9)));
    for (int i = erste; i < erste + anzahl; ++i) {
        std::mt19937 zufall(unsigned(i) * 40503u + 17u);
        const Partei& p = parteien()[std::size_t(parteiVon(i))];
        const bool karte = zufall() % 10 == 0;
        const qint64 cent = 100 + qint64(zufall() % 499900);
        const QDate tag = anfang.addDays(qint64(i) * tage / gesamt);
        w.writeStartElement(QStringLiteral("Ntry"));
        w.writeStartElement(QStringLiteral("Amt"));
        w.writeAttribute(QStringLiteral("Ccy"), QStringLiteral("EUR"));
        w.writeCharacters(betrag(karte ? 350 : cent));
        w.writeEndElement();
        w.writeTextElement(QStringLiteral("CdtDbtInd"),
                           p.kunde ? QStringLiteral("CRDT") : QStringLiteral("DBIT"));
        w.writeStartElement(QStringLiteral("Sts"));
        w.writeTextElement(QStringLiteral("Cd"), QStringLiteral("BOOK"));
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("BookgDt"));
        w.writeTextElement(QStringLiteral("Dt"), tag.toString(Qt::ISODate));
        w.writeEndElement();
        if (!karte)
            w.writeTextElement(QStringLiteral("AcctSvcrRef"),
                               QStringLiteral("2026%1").arg(i, 9, 10, QLatin1Char('0')));
        w.writeStartElement(QStringLiteral("NtryDtls"));
        w.writeStartElement(QStringLiteral("TxDtls"));
        w.writeStartElement(QStringLiteral("Refs"));
        w.writeTextElement(QStringLiteral("EndToEndId"), QStringLiteral("NOTPROVIDED"));
        w.writeEndElement();
        const QString seite = p.kunde ? QStringLiteral("Dbtr") : QStringLiteral("Cdtr");
        w.writeStartElement(QStringLiteral("RltdPties"));
        w.writeStartElement(seite);
        w.writeStartElement(QStringLiteral("Pty"));
        w.writeTextElement(QStringLiteral("Nm"), p.name);
        w.writeEndElement();
        w.writeEndElement();
        if (!p.iban.isEmpty()) {
            w.writeStartElement(seite + QStringLiteral("Acct"));
            w.writeStartElement(QStringLiteral("Id"));
            w.writeTextElement(QStringLiteral("IBAN"), p.iban);
            w.writeEndElement();
            w.writeEndElement();
        }
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("RmtInf"));
        w.writeTextElement(QStringLiteral("Ustrd"),
                           karte ? QStringLiteral("Parkschein")
                                 : QStringLiteral("%1 %2")
                                       .arg(QString::fromUtf8(kTexte[zufall() % std::size(kTexte)]))
                                       .arg(2026000 + i));
        w.writeEndElement();
        w.writeEndElement(); // TxDtls
        w.writeEndElement(); // NtryDtls
        w.writeEndElement(); // Ntry
    }
    w.writeEndDocument();
    return out;
}

} // namespace auszuggenerator
