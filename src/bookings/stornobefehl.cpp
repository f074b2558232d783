#include "bookings/stornobefehl.h"

#include "bookings/storno.h"
#include "data/buchung.h"
#include "data/dates.h"
#include "data/dm_einaus.h"
#include "data/summen.h"
#include "platform/clock.h"
#include "platform/userseam.h"
#include "toolkit/hauptfenster.h"
#include "toolkit/umgebung.h"

std::optional<int> StornoBefehl::Stornieren1Click(std::optional<int> buchungsid) {
    if (!buchungsid)
        return std::nullopt;
    UserSeam& ui = m_umgebung.ui;
    TDM_EinAus& dm = m_umgebung.dm;
    QDate vorschlag = m_umgebung.clock.today();
    try {
        const int mandant = dm.gibMandant();
        const auto b = buchungstabelle::lesen(dm.db(), *buchungsid, mandant);
        if (!b) {
            ui.message(QStringLiteral("Die Buchung ist nicht mehr vorhanden."));
            return std::nullopt;
        }
        const int jahr = ZeitraumJahr(dm.db(), b->Wirtschaftsjahr, mandant);
        if (vorschlag.year() != jahr)
            vorschlag = QDate(jahr, 12, 31);
    } catch (const DatenbankFehler& e) {
        ui.error(e.text());
        return std::nullopt;
    }
    QString eingabe = dates::format(vorschlag);
    for (;;) {
        const auto antwort = ui.inputBox(QStringLiteral("Stornieren"),
                                         QStringLiteral("Datum der Stornobuchung"), eingabe);
        if (!antwort)
            return std::nullopt;
        eingabe = *antwort;
        const auto datum = dates::parse(antwort->trimmed());
        if (!datum) {
            ui.message(QStringLiteral("'%1' ist kein gültiges Datum.").arg(*antwort));
            continue;
        }
        try {
            const auto neu = storno::stornieren(dm, *buchungsid, dm.gibMandant(), *datum);
            if (!neu) {
                ui.message(QStringLiteral("Die Buchung ist nicht mehr vorhanden."));
                return std::nullopt;
            }
            m_hauptfenster.QueryEinRequery();
            m_hauptfenster.QueryAusRequery();
            m_hauptfenster.Berechne();
            return neu;
        } catch (const DatenbankFehler& e) {
            // a date the checks or the lock refuse: another try with the same text
            ui.error(e.text());
        }
    }
}
