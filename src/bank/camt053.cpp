#include "bank/camt053.h"

#include <QRegularExpression>
#include <QXmlStreamReader>
#include <functional>
#include <memory>
#include <optional>

namespace camt053 {

namespace {

const QString kPraefix = QStringLiteral("urn:iso:std:iso:20022:tech:xsd:");
const QStringList kVersionen{QStringLiteral("camt.053.001.02"), QStringLiteral("camt.053.001.04"),
                             QStringLiteral("camt.053.001.08")};

// An element of the statement's namespace with its text and children.
struct Knoten {
    QString name;
    QString text;
    QString ccy;
    std::vector<std::unique_ptr<Knoten>> kinder;

    const Knoten* kind(QStringView n) const {
        for (const auto& k : kinder)
            if (k->name == n)
                return k.get();
        return nullptr;
    }
    std::vector<const Knoten*> alle(QStringView n) const {
        std::vector<const Knoten*> out;
        for (const auto& k : kinder)
            if (k->name == n)
                out.push_back(k.get());
        return out;
    }
    // The element at a path of names separated by '/', or null.
    const Knoten* pfad(const QString& p) const {
        const Knoten* k = this;
        for (const QStringView teil : QStringView(p).split(u'/')) {
            k = k->kind(teil);
            if (!k)
                return nullptr;
        }
        return k;
    }
    QString textAn(const QString& p) const {
        const Knoten* k = pfad(p);
        return k ? k->text.trimmed() : QString();
    }
};

QString ort(const QXmlStreamReader& r) {
    return QStringLiteral("Zeile %1, Spalte %2").arg(r.lineNumber()).arg(r.columnNumber() + 1);
}

[[noreturn]] void fehler(const QXmlStreamReader& r, const QString& was) {
    throw KontoauszugFehler(
        QStringLiteral("Der Kontoauszug kann nicht gelesen werden (%1): %2").arg(ort(r), was));
}

// The few element names of a statement, each kept once and shared by its
// elements instead of a string per element.
class Namen {
public:
    QString name(QStringView n) {
        for (const QString& bekannt : m_namen)
            if (bekannt == n)
                return bekannt;
        m_namen.push_back(n.toString());
        return m_namen.back();
    }

private:
    std::vector<QString> m_namen;
};

// Reads the document into a tree of its elements; refuses DTDs, entity
// references Qt does not resolve itself, and malformed XML. Each entry of a
// statement goes to eintrag as soon as it is complete and is then dropped,
// so a long statement is never held as a whole.
std::unique_ptr<Knoten> baum(QXmlStreamReader& r,
                             const std::function<void(const Knoten&)>& eintrag) {
    std::unique_ptr<Knoten> wurzel;
    std::vector<Knoten*> stapel;
    Namen namen;
    QString ns;
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::DTD:
            fehler(r, QStringLiteral("Eine Datei mit DOCTYPE wird nicht gelesen."));
        case QXmlStreamReader::EntityReference:
            fehler(r, QStringLiteral("Die Datei verweist auf die Entität „%1“.")
                          .arg(r.name().toString()));
        case QXmlStreamReader::StartElement: {
            if (!wurzel) {
                ns = r.namespaceUri().toString();
                if (r.name() != QLatin1String("Document") || !ns.startsWith(kPraefix) ||
                    !ns.mid(kPraefix.size()).startsWith(QLatin1String("camt.053.")))
                    throw KontoauszugFehler(
                        QStringLiteral("Die Datei ist kein CAMT.053-Kontoauszug (%1 im "
                                       "Namensraum „%2“).")
                            .arg(r.name().toString(), ns));
                const QString version = ns.mid(kPraefix.size());
                if (!kVersionen.contains(version))
                    throw KontoauszugFehler(
                        QStringLiteral("Die Kontoauszugsversion %1 wird nicht unterstützt "
                                       "(gelesen werden %2).")
                            .arg(version, kVersionen.join(QStringLiteral(", "))));
                wurzel = std::make_unique<Knoten>();
                wurzel->name = r.name().toString();
                stapel.push_back(wurzel.get());
                break;
            }
            auto k = std::make_unique<Knoten>();
            // elements of other namespaces (bank extensions) are kept but never matched
            k->name = r.namespaceUri() == ns ? namen.name(r.name())
                                             : QLatin1Char('{') + r.name().toString();
            k->ccy = r.attributes().value(QLatin1String("Ccy")).toString();
            Knoten* roh = k.get();
            stapel.back()->kinder.push_back(std::move(k));
            stapel.push_back(roh);
            break;
        }
        case QXmlStreamReader::EndElement: {
            const Knoten* fertig = stapel.back();
            stapel.pop_back();
            if (stapel.size() == 3 && fertig->name == QLatin1String("Ntry") &&
                stapel[2]->name == QLatin1String("Stmt") &&
                stapel[1] == wurzel->kind(u"BkToCstmrStmt")) {
                eintrag(*fertig);
                stapel.back()->kinder.pop_back();
            }
            break;
        }
        case QXmlStreamReader::Characters:
            // every text is read trimmed: the indentation around elements is dropped
            // here rather than kept in a string of each element
            if (!stapel.empty() && !(r.isWhitespace() && (!stapel.back()->kinder.empty() ||
                                                          stapel.back()->text.isEmpty())))
                stapel.back()->text += r.text();
            break;
        default:
            break;
        }
    }
    if (r.hasError())
        fehler(r, r.errorString());
    if (!wurzel)
        throw KontoauszugFehler(QStringLiteral("Die Datei ist leer."));
    return wurzel;
}

// An ISO 20022 amount: digits with at most five decimals, a point between.
std::optional<Currency> betrag(const QString& text) {
    static const QRegularExpression muster(QStringLiteral("^(\\d{1,14})(?:\\.(\\d{1,5}))?$"));
    const auto m = muster.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    QString nachkomma = m.captured(2);
    if (nachkomma.size() == 5 && nachkomma.back() != QLatin1Char('0'))
        return std::nullopt; // finer than the ten-thousandths we keep
    nachkomma = nachkomma.left(4).leftJustified(4, QLatin1Char('0'));
    return Currency::fromUnits(m.captured(1).toLongLong() * Currency::Scale +
                               nachkomma.toLongLong());
}

QDate datum(const Knoten& eintrag, const QString& wo) {
    const Knoten* d = eintrag.kind(wo);
    if (!d)
        return {};
    if (const QString dt = d->textAn(QStringLiteral("Dt")); !dt.isEmpty())
        return QDate::fromString(dt, Qt::ISODate);
    // "2026-03-02T10:15:00+01:00": the bank's own calendar day
    return QDate::fromString(d->textAn(QStringLiteral("DtTm")).left(10), Qt::ISODate);
}

// A party's name: directly below it (001.02, 001.04) or below Pty (001.08).
QString name(const Knoten* partei) {
    if (!partei)
        return {};
    if (const QString n = partei->textAn(QStringLiteral("Nm")); !n.isEmpty())
        return n;
    return partei->textAn(QStringLiteral("Pty/Nm"));
}

[[noreturn]] void eintragFehler(int nummer, const QString& was) {
    throw KontoauszugFehler(
        QStringLiteral("Der Kontoauszug kann nicht gelesen werden: Buchung %1 %2.")
            .arg(nummer)
            .arg(was));
}

std::optional<Currency> betragVon(const Knoten* amt) {
    return amt ? betrag(amt->text.trimmed()) : std::nullopt;
}

void eintragLesen(const Knoten& e, int eintragNr, Auszug& out) {
    const auto gesamt = betragVon(e.kind(u"Amt"));
    if (!gesamt)
        eintragFehler(eintragNr, QStringLiteral("hat keinen lesbaren Betrag"));
    const QString ccy = e.kind(u"Amt")->ccy;
    const QString ind = e.textAn(QStringLiteral("CdtDbtInd"));
    if (ind != QLatin1String("CRDT") && ind != QLatin1String("DBIT"))
        eintragFehler(eintragNr, QStringLiteral("ist weder Gutschrift noch Lastschrift"));
    QString status = e.textAn(QStringLiteral("Sts/Cd"));
    if (status.isEmpty())
        status = e.textAn(QStringLiteral("Sts"));
    const QDate buchungstag = datum(e, QStringLiteral("BookgDt"));
    const QDate valuta = datum(e, QStringLiteral("ValDt"));
    if (!buchungstag.isValid())
        eintragFehler(eintragNr, QStringLiteral("hat kein Buchungsdatum"));
    const QString bankRef = e.textAn(QStringLiteral("AcctSvcrRef"));

    std::vector<const Knoten*> details;
    for (const Knoten* nd : e.alle(u"NtryDtls"))
        for (const Knoten* tx : nd->alle(u"TxDtls"))
            details.push_back(tx);
    // several details each with an amount of its own are one line each;
    // otherwise the entry is one line carrying the first detail's data
    bool einzeln = details.size() > 1;
    for (const Knoten* tx : details)
        if (!tx->kind(u"Amt") && !tx->pfad(QStringLiteral("AmtDtls/TxAmt/Amt")))
            einzeln = false;
    const std::size_t anzahl = einzeln ? details.size() : 1;

    for (std::size_t i = 0; i < anzahl; ++i) {
        const Knoten* tx = details.empty() ? nullptr : details[i];
        Auszugszeile z;
        z.zeile = static_cast<int>(out.size()) + 1;
        z.buchungsdatum = buchungstag;
        z.valuta = valuta;
        z.vorgemerkt = status != QLatin1String("BOOK");
        bool gutschrift = ind == QLatin1String("CRDT");
        Currency b = *gesamt;
        z.waehrung = ccy;
        if (einzeln) {
            const Knoten* amt = tx->kind(u"Amt");
            if (!amt)
                amt = tx->pfad(QStringLiteral("AmtDtls/TxAmt/Amt"));
            const auto eigener = betragVon(amt);
            if (!eigener)
                eintragFehler(eintragNr, QStringLiteral("hat einen unlesbaren Teilbetrag"));
            b = *eigener;
            z.waehrung = amt->ccy;
            if (const QString txInd = tx->textAn(QStringLiteral("CdtDbtInd")); !txInd.isEmpty())
                gutschrift = txInd == QLatin1String("CRDT");
        }
        if (z.waehrung.isEmpty())
            z.waehrung = QStringLiteral("EUR");
        z.betrag = gutschrift ? b : -b;
        if (!bankRef.isEmpty())
            z.referenz = bankRef + QLatin1Char('/') + QString::number(i + 1);
        QStringList zwecke;
        if (tx) {
            const QString e2e = tx->textAn(QStringLiteral("Refs/EndToEndId"));
            if (e2e != QLatin1String("NOTPROVIDED"))
                z.endToEnd = e2e;
            // the other side: the debtor pays us, we pay the creditor
            const QString seite = gutschrift ? QStringLiteral("Dbtr") : QStringLiteral("Cdtr");
            const Knoten* parteien = tx->kind(u"RltdPties");
            if (parteien) {
                z.gegenpartei = name(parteien->kind(seite));
                z.iban = parteien->textAn(seite + QStringLiteral("Acct/Id/IBAN"));
            }
            if (const Knoten* rmt = tx->kind(u"RmtInf"))
                for (const Knoten* u : rmt->alle(u"Ustrd"))
                    if (const QString t = u->text.simplified(); !t.isEmpty())
                        zwecke << t;
        }
        if (zwecke.isEmpty())
            if (const QString t = e.textAn(QStringLiteral("AddtlNtryInf")).simplified();
                !t.isEmpty())
                zwecke << t;
        z.text = zwecke.join(QLatin1Char(' '));
        out.push_back(std::move(z));
    }
}

} // namespace

Auszug lesen(const QByteArray& xml) {
    QXmlStreamReader r(xml);
    r.setNamespaceProcessing(true);
    Auszug out;
    int eintragNr = 0;
    // a malformed document is refused before any of its entries
    std::optional<KontoauszugFehler> ersterFehler;
    const auto wurzel = baum(r, [&](const Knoten& e) {
        ++eintragNr;
        if (ersterFehler)
            return;
        try {
            eintragLesen(e, eintragNr, out);
        } catch (const KontoauszugFehler& f) {
            ersterFehler = f;
        }
    });
    if (!wurzel->kind(u"BkToCstmrStmt"))
        throw KontoauszugFehler(QStringLiteral("Die Datei enthält keinen Kontoauszug."));
    if (ersterFehler)
        throw *ersterFehler;
    return out;
}

} // namespace camt053
