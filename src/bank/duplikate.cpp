#include "bank/duplikate.h"

#include "data/dates.h"
#include "data/db.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace duplikate {

QString schluessel(const Auszugszeile& z) {
    return QStringLiteral("%1|%2|%3|%4")
        .arg(dates::toSql(z.buchungsdatum))
        .arg(z.betrag.units())
        .arg(z.gegenpartei, z.text);
}

std::vector<bool> pruefen(Datenbank& db, int mandant, const Auszug& a) {
    std::vector<bool> out(a.size(), false);
    QDate von;
    QDate bis;
    for (const Auszugszeile& z : a) {
        if (!von.isValid() || z.buchungsdatum < von)
            von = z.buchungsdatum;
        if (!bis.isValid() || z.buchungsdatum > bis)
            bis = z.buchungsdatum;
    }
    if (!von.isValid())
        return out;
    // what was imported on the statement's days: one read, then counted here
    QSet<QString> referenzen;
    QHash<QString, int> vorher;
    Sql q = db.sql(QStringLiteral("select Referenz, Schluessel from T_BankZeile where mandant = "
                                  ":mandant and Datum between :von and :bis"));
    q.bind("mandant", mandant).bind("von", dates::toSql(von)).bind("bis", dates::toSql(bis)).exec();
    while (q.next()) {
        if (const QString r = q.value(0).toString(); !r.isEmpty())
            referenzen.insert(r);
        ++vorher[q.value(1).toString()];
    }
    QSet<QString> imAuszug;
    QHash<QString, int> gesehen;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const Auszugszeile& z = a[i];
        if (z.vorgemerkt)
            continue;
        if (!z.referenz.isEmpty()) {
            out[i] = referenzen.contains(z.referenz) || imAuszug.contains(z.referenz);
            imAuszug.insert(z.referenz);
            continue;
        }
        const QString s = schluessel(z);
        out[i] = ++gesehen[s] <= vorher.value(s);
    }
    return out;
}

} // namespace duplikate
