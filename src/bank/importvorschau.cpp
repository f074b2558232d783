#include "bank/importvorschau.h"

#include "bank/duplikate.h"
#include "data/festschreibung.h"
#include "data/summen.h"

QString statusText(Zeilenstatus s) {
    switch (s) {
    case Zeilenstatus::Neu:
        return QStringLiteral("neu");
    case Zeilenstatus::Doppelt:
        return QStringLiteral("doppelt");
    case Zeilenstatus::Ausserhalb:
        return QStringLiteral("außerhalb des Wirtschaftsjahres");
    case Zeilenstatus::Festgeschrieben:
        return QStringLiteral("festgeschrieben");
    case Zeilenstatus::Vorgemerkt:
        return QStringLiteral("vorgemerkt");
    case Zeilenstatus::Fremdwaehrung:
        return QStringLiteral("Fremdwährung");
    }
    return {};
}

namespace importvorschau {

std::vector<Zeilenstatus> status(Datenbank& db, int mandant, int zeitraum, const Auszug& a) {
    const int jahr = ZeitraumJahr(db, zeitraum, mandant);
    const auto gesperrtBis = festschreibung::bis(db, mandant, zeitraum);
    const std::vector<bool> doppelt = duplikate::pruefen(db, mandant, a);
    std::vector<Zeilenstatus> out;
    out.reserve(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        const Auszugszeile& z = a[i];
        if (z.vorgemerkt)
            out.push_back(Zeilenstatus::Vorgemerkt);
        else if (z.waehrung != QLatin1String("EUR"))
            out.push_back(Zeilenstatus::Fremdwaehrung);
        else if (doppelt[i])
            out.push_back(Zeilenstatus::Doppelt);
        else if (z.buchungsdatum.year() != jahr)
            out.push_back(Zeilenstatus::Ausserhalb);
        else if (gesperrtBis && z.buchungsdatum <= *gesperrtBis)
            out.push_back(Zeilenstatus::Festgeschrieben);
        else
            out.push_back(Zeilenstatus::Neu);
    }
    return out;
}

std::vector<Vorschauzeile> erstellen(Datenbank& db, int mandant, int zeitraum, const Auszug& a) {
    const std::vector<Zeilenstatus> st = status(db, mandant, zeitraum, a);
    Vorschlaege vorschlaege(db, mandant);
    std::vector<Vorschauzeile> out;
    out.reserve(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        Vorschauzeile v{a[i], st[i], std::nullopt, false};
        if (v.status == Zeilenstatus::Neu)
            v.vorschlag = vorschlaege.fuer(a[i]);
        v.angekreuzt = v.buchbar();
        out.push_back(std::move(v));
    }
    return out;
}

} // namespace importvorschau
