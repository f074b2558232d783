#include "bookings/buchungsschreiber.h"

#include "bookings/buchungspruefung.h"
#include "bookings/steuerbuchungen.h"
#include "data/aenderungsprotokoll.h"
#include "data/buchung.h"
#include "data/dm_einaus.h"
#include "data/festschreibung.h"
#include "data/summen.h"
#include "data/texte.h"

void Buchungsschreiber::sperrePruefen(const Buchung* alt, const Buchung* neu) {
    if (const QString fehler = festschreibung::pruefen(m_dm.db(), alt, neu); !fehler.isEmpty())
        throw BuchungAbgewiesen(fehler);
}

void Buchungsschreiber::pruefen(Buchung& b, Belegnummernwahl wahl) {
    Datenbank& db = m_dm.db();
    b.Text = texte::einzeilig(b.Text);
    const QString fehler =
        buchungspruefung::buchung(db, b, ZeitraumJahr(db, b.Wirtschaftsjahr, b.mandant));
    if (!fehler.isEmpty())
        throw BuchungAbgewiesen(fehler);
    switch (wahl) {
    case Belegnummernwahl::Naechste:
        b.Belegnummer = m_dm.neueBelegnummer(b.mandant, b.Wirtschaftsjahr);
        break;
    case Belegnummernwahl::Vorschlag:
        if (!b.Belegnummer || buchungspruefung::belegnummerVorhanden(
                                  db, b.mandant, b.Wirtschaftsjahr, *b.Belegnummer, b.ID))
            b.Belegnummer = m_dm.neueBelegnummer(b.mandant, b.Wirtschaftsjahr);
        break;
    case Belegnummernwahl::WieAngegeben:
        if (b.Belegnummer && buchungspruefung::belegnummerVorhanden(
                                 db, b.mandant, b.Wirtschaftsjahr, *b.Belegnummer, b.ID))
            throw BuchungAbgewiesen(buchungspruefung::belegnummerVergeben(*b.Belegnummer));
        break;
    case Belegnummernwahl::AuchDoppelt:
        break;
    }
}

int Buchungsschreiber::neueBuchungSpeichern(const Buchung& b, Belegnummernwahl wahl) {
    Transaktion t(m_dm.db());
    Buchung neu = b;
    neu.ID = m_dm.neueID(QStringLiteral("T_Buchungen"));
    pruefen(neu, wahl);
    sperrePruefen(nullptr, &neu);
    buchungstabelle::einfuegen(m_dm.db(), neu);
    SteuerBuchen(neu);
    aenderungsprotokoll::buchung(m_dm, std::nullopt, neu.ID, neu.mandant);
    t.commit();
    return neu.ID;
}

BuchungInzwischenGeaendert::BuchungInzwischenGeaendert(const QString& text,
                                                       std::optional<Buchung> aktuell)
    : DatenbankFehler(text), m_aktuell(std::move(aktuell)) {}

bool Buchungsschreiber::buchungAendern(const Buchung& b, Belegnummernwahl wahl,
                                       const std::optional<Buchung>& geoeffnet) {
    Transaktion t(m_dm.db());
    const auto alt = aenderungsprotokoll::lesen(m_dm.db(), b.ID, b.mandant);
    // read under the write lock: another clerk's change is either in or waits
    if (geoeffnet && (!alt || !(alt->buchung == *geoeffnet))) {
        QString wer = aenderungsprotokoll::letzterBenutzer(m_dm.db(), b.ID, b.mandant);
        if (wer.isEmpty())
            wer = QStringLiteral("einem anderen Benutzer");
        throw BuchungInzwischenGeaendert(
            alt ? QStringLiteral("Die Buchung wurde inzwischen von %1 geändert.").arg(wer)
                : QStringLiteral("Die Buchung wurde inzwischen von %1 gelöscht.").arg(wer),
            alt ? std::optional<Buchung>(alt->buchung) : std::nullopt);
    }
    if (!alt)
        return false;
    Buchung neu = b;
    pruefen(neu, wahl);
    sperrePruefen(&alt->buchung, &neu);
    if (!buchungstabelle::aendern(m_dm.db(), neu))
        return false;
    LoeschenKontenbewegungen(neu.ID, false, neu.mandant);
    SteuerBuchen(neu);
    aenderungsprotokoll::buchung(m_dm, alt, neu.ID, neu.mandant);
    t.commit();
    return true;
}

void Buchungsschreiber::buchungLoeschen(int id, int mandant) {
    Transaktion t(m_dm.db());
    const auto alt = aenderungsprotokoll::lesen(m_dm.db(), id, mandant);
    if (alt)
        sperrePruefen(&alt->buchung, nullptr);
    LoeschenKontenbewegungen(id, true, mandant);
    LoeschenKontenbewegungen(id, false, mandant);
    // a row that is already gone leaves nothing to log
    if (alt)
        aenderungsprotokoll::buchung(m_dm, alt, std::nullopt, mandant);
    t.commit();
}

bool kleinunternehmer(Datenbank& db, int mandant) {
    Sql q = db.wiederverwendet(
        QStringLiteral("select SteuerfreiKZ from T_Stammdaten where mandant = :mandant"));
    q.bind("mandant", mandant).exec();
    return q.next() && q.value(0).toString() == QLatin1String("016");
}

void steuerbuchungenEinfuegen(Datenbank& db, const Buchung& b, bool kleinunternehmer,
                              const std::function<int()>& naechsteID) {
    for (const Steuerbuchung& s : SteuerbuchungenAbleiten(b, kleinunternehmer)) {
        const auto betrag = Currency::fromDouble(s.St_Betrag);
        if (!betrag)
            throw DatenbankFehler(
                QStringLiteral("Der Steuerbetrag der Buchung %1 ist zu groß.").arg(b.ID));
        db.wiederverwendet(
              QStringLiteral("INSERT INTO t_kontenbewegungen ( mandant, id, Buchungen_id, "
                             "Konten_Nr, St_Betrag ) "
                             "values (:mandant, :id, :Buchungen_id, :Konten_nr, :St_Betrag);"))
            .bind("mandant", b.mandant)
            .bind("id", naechsteID())
            .bind("Buchungen_id", b.ID)
            .bind("Konten_nr", s.Konten_Nr)
            .bind("St_Betrag", static_cast<qlonglong>(betrag->units()))
            .exec();
    }
}

void Buchungsschreiber::SteuerBuchen(const Buchung& b) {
    Transaktion t(m_dm.db());
    steuerbuchungenEinfuegen(m_dm.db(), b, b.Steuerschuld && kleinunternehmer(m_dm.db(), b.mandant),
                             [this] { return m_dm.neueID(QStringLiteral("t_Kontenbewegungen")); });
    t.commit();
}

void Buchungsschreiber::LoeschenKontenbewegungen(int id, bool buchungLoeschen, int mandant) {
    if (buchungLoeschen) {
        buchungstabelle::loeschen(m_dm.db(), id, mandant);
        return;
    }
    m_dm.db()
        .sql(QStringLiteral(
            "delete from t_Kontenbewegungen where buchungen_id = :id and mandant = :mandant"))
        .bind("id", id)
        .bind("mandant", mandant)
        .exec();
}
