#include "data/aenderungsprotokoll.h"

#include "data/dates.h"
#include "data/db.h"
#include "data/dm_einaus.h"
#include "data/steuersatz.h"
#include "platform/clock.h"

#include <QCryptographicHash>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <functional>

namespace aenderungsprotokoll {

QString neu() {
    return QStringLiteral("neu");
}
QString geaendert() {
    return QStringLiteral("geändert");
}
QString geloescht() {
    return QStringLiteral("gelöscht");
}
QString uebernommen() {
    return QStringLiteral("übernommen");
}
QString festgeschrieben() {
    return QStringLiteral("festgeschrieben");
}
QString mandantGeloescht() {
    return QStringLiteral("Mandant gelöscht");
}
QString wirtschaftsjahrGeloescht() {
    return QStringLiteral("Wirtschaftsjahr gelöscht");
}

namespace {

// Ten-thousandths as exact decimal text: "-12.5000".
QString einheiten(Currency c) {
    const qint64 u = c.units();
    const quint64 betrag = u < 0 ? 0 - static_cast<quint64>(u) : static_cast<quint64>(u);
    return QStringLiteral("%1%2.%3")
        .arg(u < 0 ? QStringLiteral("-") : QString())
        .arg(betrag / 10000)
        .arg(betrag % 10000, 4, 10, QLatin1Char('0'));
}

std::optional<Currency> ausEinheiten(const QString& text) {
    static const QRegularExpression muster(QStringLiteral("^(-?)(\\d+)\\.(\\d{4})$"));
    const auto m = muster.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const qint64 u = m.captured(2).toLongLong() * 10000 + m.captured(3).toLongLong();
    return Currency::fromUnits(m.captured(1).isEmpty() ? u : -u);
}

QJsonValue zahlOderNull(const std::optional<int>& v) {
    return v ? QJsonValue(*v) : QJsonValue();
}

QString zeitText(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QVariant nullOder(const std::optional<int>& v) {
    return v ? QVariant(*v) : QVariant(QMetaType(QMetaType::Int));
}

QVariant textOderNull(const QString& s) {
    return s.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(s);
}

// Every booking the condition selects, with its postings, in id order: one
// pass over each table instead of a statement per booking.
void jedeBuchung(Datenbank& db, const QString& bedingung, const std::optional<int>& zeitraum,
                 const std::function<void(const Buchungsstand&)>& tun) {
    Sql b = db.sql(QStringLiteral("select %1 from T_Buchungen %2 order by ID")
                       .arg(buchungstabelle::spalten(), bedingung));
    Sql k = db.sql(
        QStringLiteral("select k.Buchungen_id, k.Konten_Nr, k.St_Betrag from t_kontenbewegungen k "
                       "join T_Buchungen on T_Buchungen.ID = k.Buchungen_id "
                       "and T_Buchungen.mandant = k.mandant %1 order by k.Buchungen_id, k.id")
            .arg(bedingung));
    if (zeitraum) {
        b.bind("zeitraum", *zeitraum);
        k.bind("zeitraum", *zeitraum);
    }
    b.exec();
    k.exec();
    bool nochK = k.next();
    while (b.next()) {
        Buchungsstand s{buchungstabelle::ausZeile(b.query()), {}};
        while (nochK && k.value(0).toInt() < s.buchung.ID)
            nochK = k.next();
        while (nochK && k.value(0).toInt() == s.buchung.ID) {
            s.kontenbewegungen.emplace_back(k.value(1).toInt(),
                                            Currency::fromUnits(k.value(2).toLongLong()));
            nochK = k.next();
        }
        tun(s);
    }
}

QByteArray fingerabdruck(const QString& text) {
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256);
}

} // namespace

std::optional<Buchungsstand> lesen(Datenbank& db, int id, int mandant) {
    auto b = buchungstabelle::lesen(db, id, mandant);
    if (!b)
        return std::nullopt;
    Buchungsstand s{*b, {}};
    Sql q = db.wiederverwendet(
        QStringLiteral("select Konten_Nr, St_Betrag from t_kontenbewegungen "
                       "where mandant = :mandant and Buchungen_id = :id order by id"));
    q.bind("mandant", mandant).bind("id", id).exec();
    while (q.next())
        s.kontenbewegungen.emplace_back(q.value(0).toInt(),
                                        Currency::fromUnits(q.value(1).toLongLong()));
    return s;
}

QString text(const Buchungsstand& stand) {
    const Buchung& b = stand.buchung;
    QJsonArray bewegungen;
    for (const auto& [konto, betrag] : stand.kontenbewegungen)
        bewegungen.append(QJsonArray{konto, einheiten(betrag)});
    QJsonObject o{
        {QStringLiteral("ID"), b.ID},
        {QStringLiteral("mandant"), b.mandant},
        {QStringLiteral("Wirtschaftsjahr"), b.Wirtschaftsjahr},
        {QStringLiteral("Buchungsdatum"),
         b.Buchungsdatum.isValid() ? QJsonValue(dates::toSql(b.Buchungsdatum)) : QJsonValue()},
        {QStringLiteral("Belegnummer"), zahlOderNull(b.Belegnummer)},
        {QStringLiteral("Text"), b.Text},
        {QStringLiteral("Steuersatz"), b.Steuersatz},
        {QStringLiteral("Betrag"), einheiten(b.Betrag)},
        {QStringLiteral("BK"), zahlOderNull(b.BK)},
        {QStringLiteral("IstEinnahme"), b.IstEinnahme},
        {QStringLiteral("IstEU"), b.IstEU},
        {QStringLiteral("IstDrittland"), b.IstDrittland},
        {QStringLiteral("IstKFZ"), b.IstKFZ},
        {QStringLiteral("IstGebaeude"), b.IstGebaeude},
        {QStringLiteral("Kontenbewegungen"), bewegungen},
    };
    // only where set: the text of every other booking stays as it always was
    if (b.Steuerschuld)
        o.insert(QStringLiteral("Steuerschuld"), *b.Steuerschuld);
    if (!b.SteuerfreiKZ.isEmpty())
        o.insert(QStringLiteral("SteuerfreiKZ"), b.SteuerfreiKZ);
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

std::vector<std::pair<QString, QString>> felder(const QString& text) {
    std::vector<std::pair<QString, QString>> result;
    if (text.isEmpty())
        return result;
    const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
    // the order of the booking dialog, then whatever else a row holds
    static const QStringList reihenfolge{
        QStringLiteral("Buchungsdatum"), QStringLiteral("Belegnummer"),
        QStringLiteral("Text"),          QStringLiteral("Betrag"),
        QStringLiteral("Steuersatz"),    QStringLiteral("BK"),
        QStringLiteral("IstEinnahme"),   QStringLiteral("IstEU"),
        QStringLiteral("IstDrittland"),  QStringLiteral("IstKFZ"),
        QStringLiteral("IstGebaeude"),   QStringLiteral("Kontenbewegungen")};
    QStringList namen;
    for (const QString& n : reihenfolge)
        if (o.contains(n))
            namen << n;
    for (const QString& n : o.keys())
        if (!namen.contains(n) && n != QLatin1String("ID") && n != QLatin1String("mandant") &&
            n != QLatin1String("Wirtschaftsjahr"))
            namen << n;
    for (const QString& n : std::as_const(namen)) {
        const QJsonValue v = o.value(n);
        QString anzeige;
        if (n == QLatin1String("Kontenbewegungen")) {
            QStringList teile;
            for (const QJsonValue& k : v.toArray()) {
                const QJsonArray paar = k.toArray();
                const auto betrag = ausEinheiten(paar.at(1).toString());
                teile << QStringLiteral("%1: %2")
                             .arg(paar.at(0).toInt())
                             .arg(betrag ? betrag->format() : paar.at(1).toString());
            }
            anzeige = teile.join(QStringLiteral("; "));
        } else if (n == QLatin1String("Betrag")) {
            const auto betrag = ausEinheiten(v.toString());
            anzeige = betrag ? betrag->format() : v.toString();
        } else if (v.isString()) {
            const QDate d = dates::fromSql(v.toString());
            anzeige = n == QLatin1String("Buchungsdatum") || n == QLatin1String("Bis")
                          ? (d.isValid() ? dates::format(d) : v.toString())
                          : v.toString();
        } else if (n == QLatin1String("Steuersatz") && v.isDouble()) {
            anzeige = steuersatz::text(v.toDouble());
        } else if (v.isDouble()) {
            anzeige = QString::number(v.toInteger());
        }
        result.emplace_back(n, anzeige);
    }
    return result;
}

QString hash(const QString& vorherigerHash, const Eintrag& e) {
    QStringList teile{vorherigerHash,
                      QString::number(e.id),
                      zeitText(e.Zeitpunkt),
                      QString::number(e.mandant),
                      QString::number(e.Wirtschaftsjahr),
                      e.Aktion,
                      e.Buchungsid ? QString::number(*e.Buchungsid) : QString(),
                      e.Vorher,
                      e.Nachher};
    // rows written before the column keep their hash
    if (!e.Benutzer.isEmpty())
        teile << e.Benutzer;
    return QString::fromLatin1(
        QCryptographicHash::hash(teile.join(QChar(0x1f)).toUtf8(), QCryptographicHash::Sha256)
            .toHex());
}

Schreiber::Schreiber(Datenbank& db)
    : m_db(db),
      m_mitBenutzer(db.hatSpalte(QStringLiteral("T_Protokoll"), QStringLiteral("Benutzer"))),
      m_benutzer(m_mitBenutzer ? db.benutzer() : QString()) {
    Sql q = m_db.sql(QStringLiteral("select id, Hash from T_Protokoll order by id desc limit 1"));
    q.exec();
    if (q.next()) {
        m_letzteID = q.value(0).toInt();
        m_letzterHash = q.value(1).toString();
    }
}

int Schreiber::schreiben(Eintrag e) {
    e.id = m_letzteID + 1;
    e.Benutzer = m_benutzer;
    e.Hash = hash(m_letzterHash, e);
    // a file the updater has not yet completed has no column for the writer
    Sql q = m_db.wiederverwendet(
        m_mitBenutzer
            ? QStringLiteral("insert into T_Protokoll (id, Zeitpunkt, mandant, Wirtschaftsjahr, "
                             "Aktion, Buchungsid, Vorher, Nachher, Hash, Benutzer) values (:id, "
                             ":zeitpunkt, :mandant, :wirtschaftsjahr, :aktion, :buchungsid, "
                             ":vorher, :nachher, :hash, :benutzer)")
            : QStringLiteral("insert into T_Protokoll (id, Zeitpunkt, mandant, Wirtschaftsjahr, "
                             "Aktion, Buchungsid, Vorher, Nachher, Hash) values (:id, :zeitpunkt, "
                             ":mandant, :wirtschaftsjahr, :aktion, :buchungsid, :vorher, :nachher, "
                             ":hash)"));
    q.bind("id", e.id)
        .bind("zeitpunkt", zeitText(e.Zeitpunkt))
        .bind("mandant", e.mandant)
        .bind("wirtschaftsjahr", e.Wirtschaftsjahr)
        .bind("aktion", e.Aktion)
        .bind("buchungsid", nullOder(e.Buchungsid))
        .bind("vorher", textOderNull(e.Vorher))
        .bind("nachher", textOderNull(e.Nachher))
        .bind("hash", e.Hash);
    if (m_mitBenutzer)
        q.bind("benutzer", e.Benutzer);
    q.exec();
    m_letzteID = e.id;
    m_letzterHash = e.Hash;
    return e.id;
}

void buchung(TDM_EinAus& dm, const std::optional<Buchungsstand>& alt, const std::optional<int>& neu,
             int mandant) {
    Schreiber schreiber(dm.db());
    buchung(dm, schreiber, alt, neu, mandant);
}

void buchung(TDM_EinAus& dm, Schreiber& schreiber, const std::optional<Buchungsstand>& alt,
             const std::optional<int>& neu, int mandant) {
    Eintrag e;
    e.Zeitpunkt = dm.clock().now();
    e.mandant = mandant;
    if (neu) {
        const auto jetzt = lesen(dm.db(), *neu, mandant);
        if (!jetzt)
            throw DatenbankFehler(
                QStringLiteral("Die Buchung %1 wurde nach dem Speichern nicht gefunden.")
                    .arg(*neu));
        e.Nachher = text(*jetzt);
        e.Wirtschaftsjahr = jetzt->buchung.Wirtschaftsjahr;
        e.Buchungsid = *neu;
    }
    if (alt) {
        e.Vorher = text(*alt);
        e.Buchungsid = alt->buchung.ID;
        if (!neu)
            e.Wirtschaftsjahr = alt->buchung.Wirtschaftsjahr;
    }
    e.Aktion = !alt ? aenderungsprotokoll::neu() : neu ? geaendert() : geloescht();
    schreiber.schreiben(std::move(e));
}

void eintragen(TDM_EinAus& dm, int mandant, int zeitraum, const QString& aktion,
               const QString& vorher, const QString& nachher) {
    Eintrag e;
    e.Zeitpunkt = dm.clock().now();
    e.mandant = mandant;
    e.Wirtschaftsjahr = zeitraum;
    e.Aktion = aktion;
    e.Vorher = vorher;
    e.Nachher = nachher;
    Schreiber(dm.db()).schreiben(std::move(e));
}

int bestandUebernehmen(Datenbank& db, const QDateTime& zeitpunkt) {
    Schreiber schreiber(db);
    int anzahl = 0;
    jedeBuchung(db, QString(), std::nullopt, [&](const Buchungsstand& s) {
        Eintrag e;
        e.Zeitpunkt = zeitpunkt;
        e.mandant = s.buchung.mandant;
        e.Wirtschaftsjahr = s.buchung.Wirtschaftsjahr;
        e.Aktion = uebernommen();
        e.Buchungsid = s.buchung.ID;
        e.Nachher = text(s);
        schreiber.schreiben(std::move(e));
        ++anzahl;
    });
    return anzahl;
}

void jahrGeloescht(TDM_EinAus& dm, int zeitraum, int mandant, const QString& jahrText) {
    Schreiber schreiber(dm.db());
    const QDateTime jetzt = dm.clock().now();
    jedeBuchung(dm.db(), QStringLiteral("where T_Buchungen.Wirtschaftsjahr = :zeitraum"), zeitraum,
                [&](const Buchungsstand& s) {
                    Eintrag e;
                    e.Zeitpunkt = jetzt;
                    e.mandant = s.buchung.mandant;
                    e.Wirtschaftsjahr = s.buchung.Wirtschaftsjahr;
                    e.Aktion = geloescht();
                    e.Buchungsid = s.buchung.ID;
                    e.Vorher = text(s);
                    schreiber.schreiben(std::move(e));
                });
    Eintrag e;
    e.Zeitpunkt = jetzt;
    e.mandant = mandant;
    e.Wirtschaftsjahr = zeitraum;
    e.Aktion = wirtschaftsjahrGeloescht();
    e.Vorher = jahrText;
    schreiber.schreiben(std::move(e));
}

Pruefung pruefen(Datenbank& db) {
    Pruefung p;
    struct Letzter {
        int eintrag;
        QString aktion;
        QByteArray stand;
    };
    QHash<int, Letzter> letzte; // by booking id
    {
        const bool mitBenutzer =
            db.hatSpalte(QStringLiteral("T_Protokoll"), QStringLiteral("Benutzer"));
        Sql q = db.sql(QStringLiteral("select id, Zeitpunkt, mandant, Wirtschaftsjahr, Aktion, "
                                      "Buchungsid, Vorher, Nachher, Hash%1 from T_Protokoll "
                                      "order by id")
                           .arg(mitBenutzer ? QStringLiteral(", Benutzer") : QString()));
        q.exec();
        QString vorheriger;
        int erwartet = 1;
        while (q.next()) {
            Eintrag e;
            e.id = q.value(0).toInt();
            e.Zeitpunkt = QDateTime::fromString(q.value(1).toString(), Qt::ISODate);
            e.mandant = q.value(2).toInt();
            e.Wirtschaftsjahr = q.value(3).toInt();
            e.Aktion = q.value(4).toString();
            if (!q.value(5).isNull())
                e.Buchungsid = q.value(5).toInt();
            e.Vorher = q.value(6).toString();
            e.Nachher = q.value(7).toString();
            e.Hash = q.value(8).toString();
            if (mitBenutzer)
                e.Benutzer = q.value(9).toString();
            if (e.id != erwartet) {
                p.fehler = QStringLiteral("Protokolleintrag %1: der Eintrag %2 davor fehlt.")
                               .arg(e.id)
                               .arg(erwartet);
                return p;
            }
            if (hash(vorheriger, e) != e.Hash) {
                p.fehler = QStringLiteral("Protokolleintrag %1: sein Inhalt passt nicht zu seiner "
                                          "Prüfsumme; er oder ein Eintrag davor wurde verändert.")
                               .arg(e.id);
                return p;
            }
            vorheriger = e.Hash;
            ++erwartet;
            ++p.eintraege;
            if (e.Buchungsid)
                letzte.insert(*e.Buchungsid, {e.id, e.Aktion, fingerabdruck(e.Nachher)});
        }
    }
    jedeBuchung(db, QString(), std::nullopt, [&](const Buchungsstand& s) {
        if (!p.fehler.isEmpty())
            return;
        const auto it = letzte.find(s.buchung.ID);
        if (it == letzte.end() || it->aktion == geloescht()) {
            p.fehler = QStringLiteral("Buchung %1: sie hat keinen Protokolleintrag; sie wurde "
                                      "außerhalb von Velmora angelegt.")
                           .arg(s.buchung.ID);
            return;
        }
        if (it->stand != fingerabdruck(text(s))) {
            p.fehler = QStringLiteral("Buchung %1: sie stimmt nicht mit dem Protokolleintrag %2 "
                                      "überein; sie wurde außerhalb von Velmora geändert.")
                           .arg(s.buchung.ID)
                           .arg(it->eintrag);
            return;
        }
        letzte.erase(it);
    });
    if (!p.fehler.isEmpty())
        return p;
    // what is left are bookings the log knows but the table no longer has
    int erster = 0;
    int buchung = 0;
    for (auto it = letzte.cbegin(); it != letzte.cend(); ++it) {
        if (it->aktion == geloescht())
            continue;
        if (erster == 0 || it->eintrag < erster) {
            erster = it->eintrag;
            buchung = it.key();
        }
    }
    if (erster != 0)
        p.fehler = QStringLiteral("Buchung %1: sie fehlt, obwohl der Protokolleintrag %2 sie "
                                  "enthält; sie wurde außerhalb von Velmora gelöscht.")
                       .arg(buchung)
                       .arg(erster);
    return p;
}

QString meldungInOrdnung(int eintraege) {
    return QStringLiteral("Protokoll in Ordnung: %1 Einträge").arg(eintraege);
}

QString letzterBenutzer(Datenbank& db, int buchungsid, int mandant) {
    if (!db.hatSpalte(QStringLiteral("T_Protokoll"), QStringLiteral("Benutzer")))
        return QString();
    Sql q = db.sql(QStringLiteral("select Benutzer from T_Protokoll where Buchungsid = :id and "
                                  "mandant = :mandant order by id desc limit 1"));
    q.bind("id", buchungsid).bind("mandant", mandant).exec();
    return q.next() ? q.value(0).toString() : QString();
}

} // namespace aenderungsprotokoll
