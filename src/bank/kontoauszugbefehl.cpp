#include "bank/kontoauszugbefehl.h"
#include "data/steuersatz.h"

#include "bank/bankimport.h"
#include "bank/bankprofile.h"
#include "bank/kontoauszugdatei.h"
#include "bank/tcsvprofildialog.h"
#include "bank/tkontoauszugvorschau.h"
#include "bookings/buchungspruefung.h"
#include "data/dm_einaus.h"
#include "platform/userseam.h"
#include "toolkit/hauptfenster.h"
#include "toolkit/umgebung.h"

#include <QFile>
#include <QFileDialog>
#include <QProgressDialog>

namespace {

std::vector<std::pair<int, QString>> kreise(Datenbank& db, int mandant) {
    Sql q = db.sql(QStringLiteral("select id, BKName from T_BKreis where mandant = :mandant "
                                  "order by BKName COLLATE DEUTSCH"));
    q.bind("mandant", mandant).exec();
    std::vector<std::pair<int, QString>> out;
    while (q.next())
        out.emplace_back(q.value(0).toInt(), q.value(1).toString());
    return out;
}

std::vector<int> saetze(TDM_EinAus& dm) {
    const bool steuerDE = dm.gibSteuerDE();
    // in tenths, as the preview's rate column holds them
    std::vector<int> out;
    for (const int s : {0, 49, 50, 70, 100, 120, 130, 190, 200})
        if (buchungspruefung::steuersatzErlaubt(steuersatz::ausZehntel(s), steuerDE))
            out.push_back(s);
    return out;
}

// Long statements show their progress; short ones are booked before it would appear.
constexpr int kFortschrittAb = 200;

} // namespace

KontoauszugBefehl::KontoauszugBefehl(Umgebung& umgebung, Hauptfenster& fenster, QWidget* parent)
    : QObject(parent), m_umgebung(umgebung), m_fenster(fenster), m_parent(parent) {
    setObjectName(QStringLiteral("KontoauszugBefehl"));
}

void KontoauszugBefehl::KontoauszugImportieren1Click() {
    UserSeam& ui = m_umgebung.ui;
    TDM_EinAus& dm = m_umgebung.dm;

    QFileDialog datei(m_parent, QStringLiteral("Kontoauszug importieren"));
    datei.setObjectName(QStringLiteral("KontoauszugDatei"));
    datei.setOption(QFileDialog::DontUseNativeDialog);
    datei.setFileMode(QFileDialog::ExistingFile);
    datei.setNameFilters({QStringLiteral("Kontoauszüge (*.xml *.csv *.XML *.CSV)"),
                          QStringLiteral("Alle Dateien (*)")});
    if (ui.runModal(datei) != QDialog::Accepted || datei.selectedFiles().isEmpty())
        return;
    const QString pfad = datei.selectedFiles().front();

    try {
        std::optional<CsvProfil> profil;
        if (kontoauszugdatei::istCsv(pfad)) {
            QFile f(pfad);
            if (!f.open(QIODevice::ReadOnly)) {
                ui.error(QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                             .arg(pfad, f.errorString()));
                return;
            }
            TCsvProfilDialog dialog(f.readAll(), bankprofile::alle(dm.db()), m_parent);
            if (ui.runModal(dialog) != QDialog::Accepted)
                return;
            profil = dialog.profil();
            bankprofile::speichern(dm.db(), *profil);
        }
        const int mandant = dm.gibMandant();
        const int zeitraum = dm.gibZeitraum();
        const Auszug a = kontoauszugdatei::lesen(pfad, profil);
        TKontoauszugVorschau vorschau(importvorschau::erstellen(dm.db(), mandant, zeitraum, a),
                                      kreise(dm.db(), mandant), saetze(dm), m_parent);
        if (ui.runModal(vorschau) != QDialog::Accepted)
            return;
        const auto zeilen = vorschau.zeilen();

        std::unique_ptr<QProgressDialog> fortschritt;
        if (vorschau.angekreuzt() >= kFortschrittAb) {
            fortschritt = std::make_unique<QProgressDialog>(
                QStringLiteral("Buchungen werden angelegt…"), QStringLiteral("Abbrechen"), 0,
                vorschau.angekreuzt(), m_parent);
            fortschritt->setObjectName(QStringLiteral("KontoauszugFortschritt"));
            fortschritt->setWindowModality(Qt::WindowModal);
            fortschritt->setMinimumDuration(300);
        }
        const Importergebnis e =
            bankimport::buchen(dm, mandant, zeitraum, zeilen, [&](int fertig, int gesamt) {
                if (!fortschritt)
                    return true;
                fortschritt->setMaximum(gesamt);
                fortschritt->setValue(fertig);
                return !fortschritt->wasCanceled();
            });
        fortschritt.reset();
        m_fenster.AnzeigeAktualisieren();
        ui.message(e.abgebrochen
                       ? QStringLiteral("Der Import wurde abgebrochen; es wurde nichts gebucht.")
                       : e.meldung());
    } catch (const KontoauszugFehler& f) {
        ui.error(f.text());
    } catch (const DatenbankFehler& f) {
        ui.error(f.text());
    }
}
