#include "bank/csvprofil.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <array>

namespace csv {

namespace {

// 0x80 ... 0x9F of Windows-1252; the five unassigned bytes stay C1 controls.
constexpr std::array<char16_t, 32> kObere{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString aus1252(const QByteArray& daten) {
    QString s;
    s.reserve(daten.size());
    for (const char c : daten) {
        const auto b = static_cast<unsigned char>(c);
        s += b >= 0x80 && b < 0xA0 ? QChar(kObere[b - 0x80]) : QChar(b);
    }
    return s;
}

QString dekodieren(const QByteArray& daten, const QString& kodierung) {
    if (kodierung == QLatin1String("windows-1252"))
        return aus1252(daten);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString s = utf8(daten);
    if (utf8.hasError()) {
        // name the line of the first byte that is not UTF-8
        const int zeile = s.left(s.indexOf(QChar::ReplacementCharacter)).count(u'\n') + 1;
        throw KontoauszugFehler(
            QStringLiteral("Die Datei ist nicht in UTF-8 kodiert (Zeile %1).").arg(zeile));
    }
    if (s.startsWith(QChar(0xFEFF)))
        s.remove(0, 1);
    return s;
}

[[noreturn]] void feldFehler(int zeile, int spalte, const QString& was) {
    throw KontoauszugFehler(
        QStringLiteral("Die CSV-Datei kann nicht gelesen werden (Zeile %1, Spalte %2): %3")
            .arg(zeile)
            .arg(spalte)
            .arg(was));
}

std::optional<Currency> betrag(QString t, bool dezimalkomma) {
    t = t.trimmed();
    t.remove(QChar(0x00A0));
    t.remove(QLatin1Char(' '));
    bool minus = false;
    if (t.endsWith(QLatin1Char('-'))) { // "12,50-" as some banks write debits
        minus = true;
        t.chop(1);
    }
    static const QRegularExpression komma(
        QStringLiteral("^([+-]?)(\\d{1,3}(?:\\.\\d{3})+|\\d+)(?:,(\\d{1,4}))?$"));
    static const QRegularExpression punkt(
        QStringLiteral("^([+-]?)(\\d{1,3}(?:,\\d{3})+|\\d+)(?:\\.(\\d{1,4}))?$"));
    const auto m = (dezimalkomma ? komma : punkt).match(t);
    if (!m.hasMatch() || m.captured(2).size() > 16 || (minus && !m.captured(1).isEmpty()))
        return std::nullopt;
    QString ganz = m.captured(2);
    ganz.remove(dezimalkomma ? QLatin1Char('.') : QLatin1Char(','));
    if (ganz.size() > 12)
        return std::nullopt;
    const qint64 units = ganz.toLongLong() * Currency::Scale +
                         m.captured(3).leftJustified(4, QLatin1Char('0')).toLongLong();
    minus = minus || m.captured(1) == QLatin1String("-");
    return Currency::fromUnits(minus ? -units : units);
}

} // namespace

QString profilPruefen(const CsvProfil& p) {
    if (p.name.trimmed().isEmpty())
        return QStringLiteral("Das Profil braucht einen Namen.");
    if (p.trenner.isNull() || p.trenner == QLatin1Char('"') || p.trenner == QLatin1Char('\n'))
        return QStringLiteral("Das Trennzeichen fehlt oder ist ungültig.");
    if (!kKodierungen.contains(p.kodierung))
        return QStringLiteral("Die Kodierung „%1“ wird nicht unterstützt (windows-1252 oder "
                              "utf-8).")
            .arg(p.kodierung);
    if (p.kopfzeilen < 0)
        return QStringLiteral("Die Zahl der Kopfzeilen darf nicht negativ sein.");
    for (const int s : {p.datum, p.betrag, p.soll, p.haben, p.text, p.gegenpartei, p.iban,
                        p.referenz, p.waehrung})
        if (s < 0)
            return QStringLiteral("Spalten werden ab 1 gezählt.");
    if (p.datum == 0)
        return QStringLiteral("Die Spalte des Buchungsdatums fehlt.");
    if (p.datumsformat.trimmed().isEmpty())
        return QStringLiteral("Das Datumsformat fehlt.");
    if ((p.betrag == 0) == (p.soll == 0 && p.haben == 0))
        return QStringLiteral("Anzugeben ist entweder die Betragsspalte oder die Soll- und "
                              "die Habenspalte.");
    if (p.betrag == 0 && (p.soll == 0 || p.haben == 0))
        return QStringLiteral("Soll- und Habenspalte gehören zusammen.");
    return {};
}

std::vector<Datensatz> datensaetze(const QByteArray& daten, const CsvProfil& p) {
    const QString s = dekodieren(daten, p.kodierung);
    std::vector<Datensatz> out;
    Datensatz d;
    QString feld;
    int zeile = 1;
    d.zeile = 1;
    bool inAnfuehrung = false;
    bool leer = true;
    auto abschliessen = [&] {
        d.felder << feld;
        feld.clear();
        if (!(leer && d.felder.size() == 1) && d.zeile > p.kopfzeilen)
            out.push_back(std::move(d));
        d = Datensatz{};
        leer = true;
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (inAnfuehrung) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < s.size() && s[i + 1] == QLatin1Char('"')) {
                    feld += c;
                    ++i;
                } else {
                    inAnfuehrung = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++zeile;
                feld += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && feld.isEmpty()) {
            inAnfuehrung = true;
            leer = false;
        } else if (c == p.trenner) {
            d.felder << feld;
            feld.clear();
            leer = false;
        } else if (c == QLatin1Char('\n')) {
            abschliessen();
            d.zeile = ++zeile;
        } else if (c != QLatin1Char('\r')) {
            feld += c;
            leer = false;
        }
    }
    if (inAnfuehrung)
        throw KontoauszugFehler(
            QStringLiteral("Die CSV-Datei endet in einem Feld in Anführungszeichen (Zeile %1).")
                .arg(zeile));
    if (!leer || !feld.isEmpty())
        abschliessen();
    return out;
}

Auszug lesen(const QByteArray& daten, const CsvProfil& p) {
    if (const QString f = profilPruefen(p); !f.isEmpty())
        throw KontoauszugFehler(f);
    Auszug out;
    for (const Datensatz& d : datensaetze(daten, p)) {
        // banks leave out empty fields at the end of a line: only the date,
        // the amounts and the currency must be there
        auto feld = [&](int spalte, bool pflicht = true) -> QString {
            if (spalte == 0 || (!pflicht && spalte > d.felder.size()))
                return {};
            if (spalte > d.felder.size())
                feldFehler(d.zeile, spalte,
                           QStringLiteral("Die Zeile hat nur %1 Spalten.").arg(d.felder.size()));
            return d.felder[spalte - 1].trimmed();
        };
        Auszugszeile z;
        z.zeile = static_cast<int>(out.size()) + 1;
        z.buchungsdatum = QDate::fromString(feld(p.datum), p.datumsformat);
        if (!z.buchungsdatum.isValid())
            feldFehler(d.zeile, p.datum,
                       QStringLiteral("„%1“ ist kein Datum der Form %2.")
                           .arg(feld(p.datum), p.datumsformat));
        auto zahl = [&](int spalte) {
            const auto b = betrag(feld(spalte), p.dezimalkomma);
            if (!b)
                feldFehler(d.zeile, spalte,
                           QStringLiteral("„%1“ ist kein Betrag.").arg(feld(spalte)));
            return *b;
        };
        if (p.betrag != 0) {
            z.betrag = zahl(p.betrag);
        } else {
            // some banks write 0,00 into the column that does not apply
            auto gesetzt = [&](int spalte) {
                return !feld(spalte).isEmpty() && zahl(spalte) != Currency();
            };
            const bool soll = gesetzt(p.soll);
            const bool haben = gesetzt(p.haben);
            if (soll == haben)
                feldFehler(d.zeile, p.soll,
                           QStringLiteral("Genau eine der Soll- und Habenspalten muss einen "
                                          "Betrag haben."));
            const Currency b = zahl(soll ? p.soll : p.haben);
            const Currency betragsmaessig = b < Currency() ? -b : b;
            z.betrag = soll ? -betragsmaessig : betragsmaessig;
        }
        z.text = feld(p.text, false).simplified();
        z.gegenpartei = feld(p.gegenpartei, false).simplified();
        z.iban = feld(p.iban, false).remove(QLatin1Char(' ')).toUpper();
        z.referenz = feld(p.referenz, false);
        if (p.waehrung != 0)
            z.waehrung = feld(p.waehrung).toUpper();
        out.push_back(std::move(z));
    }
    return out;
}

} // namespace csv
