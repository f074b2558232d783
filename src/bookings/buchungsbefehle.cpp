#include "bookings/buchungsbefehle.h"

#include "bookings/belegeingabe.h"
#include "bookings/belegeingabehilfe.h"
#include "bookings/belegeingabevorgaben.h"
#include "bookings/buchungskreisbefehle.h"
#include "bookings/buchungsschreiber.h"
#include "bookings/storno.h"
#include "data/buchung.h"
#include "data/dates.h"
#include "data/dm_einaus.h"
#include "data/festschreibung.h"
#include "data/summen.h"
#include "platform/clock.h"
#include "platform/userseam.h"
#include "toolkit/hauptfenster.h"
#include "toolkit/umgebung.h"

namespace {

const QString kNichtMehrVorhanden = QStringLiteral("Die Buchung ist nicht mehr vorhanden.");

} // namespace

BuchungsBefehle::BuchungsBefehle(Umgebung& umgebung, Hauptfenster& hauptfenster,
                                 BuchungskreisBefehle& buchungskreise)
    : m_umgebung(umgebung), m_hauptfenster(hauptfenster), m_buchungskreise(buchungskreise) {}

BuchungsBefehle::~BuchungsBefehle() = default;

TFormBelegeingabeHilfe& BuchungsBefehle::FormBelegeingabeHilfe() {
    if (!m_hilfe)
        m_hilfe = std::make_unique<TFormBelegeingabeHilfe>();
    return *m_hilfe;
}

void BuchungsBefehle::verbinden(TFormBelegeingabe& dialog) {
    dialog.setBuchungskreiseZeigen([this] { m_buchungskreise.Buchungskreise1Click(); });
    dialog.setHilfe(&FormBelegeingabeHilfe());
}

void BuchungsBefehle::beideListenAktualisieren() {
    m_hauptfenster.QueryEinRequery();
    m_hauptfenster.QueryAusRequery();
    m_hauptfenster.Berechne();
}

void BuchungsBefehle::Buchen1Click() {
    // after a failed write the same entries come back for another try
    std::optional<Buchung> wiederholen;
    bool nochmal = true;
    while (nochmal) {
        Buchung datensatz = wiederholen.value_or(Buchung{});
        datensatz.mandant = m_umgebung.dm.gibMandant();
        TFormBelegeingabe dialog(m_umgebung, datensatz, DatensatzZustand::Einfuegen,
                                 m_hauptfenster.widget(), wiederholen.has_value());
        verbinden(dialog);
        if (m_umgebung.ui.runModal(dialog) != QDialog::Accepted) {
            merkwerteVergessen(m_umgebung.ini, m_umgebung.dm.gibMandant());
            return;
        }
        nochmal = dialog.Weiterbuchen();
        try {
            Buchungsschreiber(m_umgebung.dm)
                .neueBuchungSpeichern(dialog.datensatz(), dialog.belegnummernwahl());
        } catch (const DatenbankFehler& e) {
            m_umgebung.ui.error(e.text());
            wiederholen = dialog.datensatz();
            nochmal = true;
            continue;
        }
        wiederholen.reset();
        beideListenAktualisieren();
    }
}

void BuchungsBefehle::GridDblClick(bool, std::optional<int> buchungsid) {
    if (!buchungsid)
        return;
    std::optional<Buchung> buchung;
    try {
        buchung =
            buchungstabelle::lesen(m_umgebung.dm.db(), *buchungsid, m_umgebung.dm.gibMandant());
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return;
    }
    if (!buchung) {
        m_umgebung.ui.message(kNichtMehrVorhanden);
        beideListenAktualisieren();
        return;
    }
    std::optional<QDate> gesperrtBis;
    try {
        gesperrtBis =
            festschreibung::bis(m_umgebung.dm.db(), buchung->mandant, buchung->Wirtschaftsjahr);
    } catch (const DatenbankFehler& e) {
        m_umgebung.ui.error(e.text());
        return;
    }
    // a locked booking is shown, never edited and refused afterwards
    if (gesperrtBis && buchung->Buchungsdatum <= *gesperrtBis) {
        gesperrtZeigen(*buchung, *gesperrtBis);
        return;
    }
    // the state the user sees: another clerk's change since is not overwritten
    Buchung geoeffnet = *buchung;
    for (;;) {
        TFormBelegeingabe dialog(m_umgebung, *buchung, DatensatzZustand::Bearbeiten,
                                 m_hauptfenster.widget());
        verbinden(dialog);
        if (m_umgebung.ui.runModal(dialog) != QDialog::Accepted)
            return;
        if (m_umgebung.ui.question(
                UserSeam::Kind::Confirmation,
                QStringLiteral(
                    "Wollen sie die Änderungen an dieser Buchung wirklich durchführen ?"),
                UserSeam::Ok | UserSeam::Cancel) != UserSeam::Ok)
            return;
        try {
            if (!Buchungsschreiber(m_umgebung.dm)
                     .buchungAendern(dialog.datensatz(), dialog.belegnummernwahl(), geoeffnet)) {
                m_umgebung.ui.message(kNichtMehrVorhanden);
                beideListenAktualisieren();
                return;
            }
        } catch (const BuchungInzwischenGeaendert& e) {
            m_umgebung.ui.message(e.text());
            beideListenAktualisieren();
            if (!e.aktuell())
                return;
            // shown again as it is stored now
            *buchung = *e.aktuell();
            geoeffnet = *e.aktuell();
            continue;
        } catch (const DatenbankFehler& e) {
            m_umgebung.ui.error(e.text());
            *buchung = dialog.datensatz();
            continue;
        }
        beideListenAktualisieren();
        return;
    }
}

void BuchungsBefehle::gesperrtZeigen(const Buchung& buchung, const QDate& bis) {
    TFormBelegeingabe dialog(m_umgebung, buchung, DatensatzZustand::Bearbeiten,
                             m_hauptfenster.widget());
    dialog.nurLesen(festschreibung::grundNurLesen(bis));
    UserSeam& ui = m_umgebung.ui;
    if (ui.runModal(dialog) != TFormBelegeingabe::Stornieren)
        return;
    TDM_EinAus& dm = m_umgebung.dm;
    try {
        const int jahr = ZeitraumJahr(dm.db(), buchung.Wirtschaftsjahr, buchung.mandant);
        const auto tag = storno::ersterOffenerTag(m_umgebung.clock.today(), jahr, bis);
        if (!tag) {
            ui.message(QStringLiteral("Das Wirtschaftsjahr %1 ist bis zu seinem letzten Tag "
                                      "festgeschrieben: die Gegenbuchung kann in ihm nicht mehr "
                                      "gebucht werden.")
                           .arg(jahr));
            return;
        }
        if (!storno::stornieren(dm, buchung.ID, buchung.mandant, *tag)) {
            ui.message(kNichtMehrVorhanden);
            beideListenAktualisieren();
            return;
        }
        beideListenAktualisieren();
        ui.message(QStringLiteral("Die Gegenbuchung wurde mit dem Datum %1 gebucht.")
                       .arg(dates::format(*tag)));
    } catch (const DatenbankFehler& e) {
        ui.error(e.text());
    }
}

void BuchungsBefehle::GridEntfernen(bool einnahmeListe, std::optional<int> buchungsid) {
    if (!buchungsid)
        return;
    UserSeam& ui = m_umgebung.ui;
    // a locked booking is refused before anything is asked
    try {
        TDM_EinAus& dm = m_umgebung.dm;
        if (const auto b = buchungstabelle::lesen(dm.db(), *buchungsid, dm.gibMandant())) {
            if (const QString nein = festschreibung::pruefen(dm.db(), &*b, nullptr);
                !nein.isEmpty()) {
                ui.message(nein);
                return;
            }
        }
    } catch (const DatenbankFehler& e) {
        ui.error(e.text());
        return;
    }
    const UserSeam::Buttons knoepfe = UserSeam::Yes | UserSeam::No | UserSeam::Cancel;
    const QString frage =
        einnahmeListe ? QStringLiteral("Wollen Sie die ausgewählte Einnahme wirklich löschen?")
                      : QStringLiteral("Wollen Sie die ausgewählte Ausgabe wirklich löschen?");
    if (ui.question(UserSeam::Kind::Confirmation, frage, knoepfe) != UserSeam::Yes)
        return;
    if (ui.question(UserSeam::Kind::Warning, QStringLiteral("Wirklich löschen?"), knoepfe) !=
        UserSeam::Yes)
        return;
    try {
        Buchungsschreiber(m_umgebung.dm).buchungLoeschen(*buchungsid, m_umgebung.dm.gibMandant());
    } catch (const DatenbankFehler& e) {
        ui.error(e.text());
        return;
    }
    if (einnahmeListe)
        m_hauptfenster.QueryEinRequery();
    else
        m_hauptfenster.QueryAusRequery();
    m_hauptfenster.Berechne();
}
