#include "data/sortierung.h"

#include "data/db.h"

#include <QCollator>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <cstring>
#include <sqlite3.h>

namespace sortierung {

namespace {

QCollator collator(Qt::CaseSensitivity cs) {
    QCollator c{QLocale(QLocale::German, QLocale::Austria)};
    c.setCaseSensitivity(cs);
    c.setNumericMode(false);
    c.setIgnorePunctuation(false);
    return c;
}

// Case decides only between names that are otherwise equal, and then the
// code points, so that no two different names compare as equal.
struct Vergleicher {
    QCollator ohneFall = collator(Qt::CaseInsensitive);
    QCollator mitFall = collator(Qt::CaseSensitive);

    int operator()(QStringView a, QStringView b) const {
        // a sort meets the same name again and again; the collators agree on it
        if (a == b)
            return 0;
        if (const int r = ohneFall.compare(a, b))
            return r;
        if (const int r = mitFall.compare(a, b))
            return r;
        return a.compare(b, Qt::CaseSensitive);
    }
};

const Vergleicher& vergleicher() {
    static const Vergleicher v;
    return v;
}

int sqliteVergleich(void*, int laengeA, const void* a, int laengeB, const void* b) {
    // UTF-8 as stored: equal names, the most frequent case in a sort, need
    // neither a conversion nor the collators
    if (laengeA == laengeB && std::memcmp(a, b, static_cast<size_t>(laengeA)) == 0)
        return 0;
    const QString sa = QString::fromUtf8(static_cast<const char*>(a), laengeA);
    const QString sb = QString::fromUtf8(static_cast<const char*>(b), laengeB);
    const int r = vergleicher()(sa, sb);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

} // namespace

int vergleichen(QStringView a, QStringView b) {
    return vergleicher()(a, b);
}

void registrieren(const QSqlDatabase& db) {
    sqlite3* sqlite = nullptr;
    const QVariant handle = db.isOpen() && db.driver() ? db.driver()->handle() : QVariant();
    if (qstrcmp(handle.typeName(), "sqlite3*") == 0)
        sqlite = *static_cast<sqlite3* const*>(handle.constData());
    if (!sqlite || sqlite3_create_collation_v2(sqlite, kKollation, SQLITE_UTF8, nullptr,
                                               &sqliteVergleich, nullptr) != SQLITE_OK)
        throw DatenbankFehler(
            QStringLiteral("Die Sortierung der Namen konnte in der Datenbank nicht eingerichtet "
                           "werden."));
}

} // namespace sortierung
