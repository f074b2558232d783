#include "bookings/buchungsschreiber.h"

#include "bookings/steuerbuchungen.h"
#include "data/buchung.h"
#include "data/dm_einaus.h"

int Buchungsschreiber::neueBuchungSpeichern(const Buchung& b) {
    Transaktion t(m_dm.db());
    Buchung neu = b;
    neu.ID = m_dm.gibNeueID(QStringLiteral("T_Buchungen"));
    buchungstabelle::einfuegen(m_dm.db(), neu);
    SteuerBuchen(neu);
    t.commit();
    return neu.ID;
}

bool Buchungsschreiber::buchungAendern(const Buchung& b) {
    Transaktion t(m_dm.db());
    if (!buchungstabelle::aendern(m_dm.db(), b))
        return false;
    LoeschenKontenbewegungen(b.ID, false, b.mandant);
    SteuerBuchen(b);
    t.commit();
    return true;
}

void Buchungsschreiber::buchungLoeschen(int id, int mandant) {
    Transaktion t(m_dm.db());
    LoeschenKontenbewegungen(id, true, mandant);
    LoeschenKontenbewegungen(id, false, mandant);
    t.commit();
}

void Buchungsschreiber::SteuerBuchen(const Buchung& b) {
    Transaktion t(m_dm.db());
    for (const Steuerbuchung& s : SteuerbuchungenAbleiten(b)) {
        const auto betrag = Currency::fromDouble(s.St_Betrag);
        if (!betrag)
            throw DatenbankFehler(
                QStringLiteral("Der Steuerbetrag der Buchung %1 ist zu groß.").arg(b.ID));
        const int id = m_dm.gibNeueID(QStringLiteral("t_Kontenbewegungen"));
        m_dm.db()
            .sql(QStringLiteral("INSERT INTO t_kontenbewegungen ( mandant, id, Buchungen_id, "
                                "Konten_Nr, St_Betrag ) "
                                "values (:mandant, :id, :Buchungen_id, :Konten_nr, :St_Betrag);"))
            .bind("mandant", b.mandant)
            .bind("id", id)
            .bind("Buchungen_id", b.ID)
            .bind("Konten_nr", s.Konten_Nr)
            .bind("St_Betrag", static_cast<qlonglong>(betrag->units()))
            .exec();
    }
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
