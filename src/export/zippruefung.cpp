#include "export/zippruefung.h"

#include <QXmlStreamReader>
#include <zlib.h>

namespace {

quint32 le(const QByteArray& b, qsizetype at, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(b[at + i]);
    return v;
}

bool entpacken(const QByteArray& roh, quint32 methode, quint32 groesse, QByteArray& out) {
    if (methode == 0) {
        out = roh;
        return true;
    }
    if (methode != 8)
        return false;
    out.resize(groesse);
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(roh.constData()));
    z.avail_in = static_cast<uInt>(roh.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = groesse;
    const int rc = inflate(&z, Z_FINISH);
    const bool ok = rc == Z_STREAM_END && z.total_out == groesse;
    inflateEnd(&z);
    return ok;
}

bool wohlgeformt(const QByteArray& xml) {
    // every part begins with its declaration, written on its own: a part
    // without it lost a write and may still parse
    if (!xml.startsWith("<?xml "))
        return false;
    QXmlStreamReader r(xml);
    while (!r.atEnd())
        r.readNext();
    return !r.hasError();
}

} // namespace

bool zipVollstaendig(const QByteArray& b) {
    constexpr qsizetype EndeGroesse = 22;
    if (b.size() < EndeGroesse)
        return false;
    qsizetype ende = -1;
    for (qsizetype i = b.size() - EndeGroesse; i >= 0 && i >= b.size() - EndeGroesse - 65535; --i) {
        if (le(b, i, 4) == 0x06054b50) {
            ende = i;
            break;
        }
    }
    if (ende < 0)
        return false;
    const quint32 eintraege = le(b, ende + 10, 2);
    qsizetype pos = le(b, ende + 16, 4);
    if (eintraege == 0)
        return false;
    for (quint32 n = 0; n < eintraege; ++n) {
        if (pos + 46 > ende || le(b, pos, 4) != 0x02014b50)
            return false;
        const quint32 methode = le(b, pos + 10, 2);
        const quint32 crc = le(b, pos + 16, 4);
        const quint32 gepackt = le(b, pos + 20, 4);
        const quint32 groesse = le(b, pos + 24, 4);
        const quint32 nameLaenge = le(b, pos + 28, 2);
        const quint32 zusatz = le(b, pos + 30, 2);
        const quint32 kommentar = le(b, pos + 32, 2);
        const qsizetype lokal = le(b, pos + 42, 4);
        const QByteArray name = b.mid(pos + 46, nameLaenge);
        pos += 46 + nameLaenge + zusatz + kommentar;

        if (lokal + 30 > ende || le(b, lokal, 4) != 0x04034b50)
            return false;
        const qsizetype daten = lokal + 30 + le(b, lokal + 26, 2) + le(b, lokal + 28, 2);
        if (daten + gepackt > ende)
            return false;
        QByteArray inhalt;
        if (!entpacken(b.mid(daten, gepackt), methode, groesse, inhalt))
            return false;
        const uLong pruefsumme =
            crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(inhalt.constData()),
                  static_cast<uInt>(inhalt.size()));
        if (pruefsumme != crc)
            return false;
        if ((name.endsWith(".xml") || name.endsWith(".rels")) && !wohlgeformt(inhalt))
            return false;
    }
    return true;
}
