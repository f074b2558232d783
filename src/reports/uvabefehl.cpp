#include "reports/uvabefehl.h"

#include "data/dm_einaus.h"
#include "data/festschreibung.h"
#include "export/exportsavedialog.h"
#include "platform/clock.h"
#include "platform/userseam.h"
#include "reports/tuvaansicht.h"
#include "reports/tuvaauswahl.h"
#include "reports/uva.h"
#include "toolkit/umgebung.h"

#include <QDir>
#include <QFileInfo>
#include <variant>

UvaBefehl::UvaBefehl(Umgebung& umgebung, QWidget* parent)
    : QObject(parent), m_umgebung(umgebung), m_parent(parent),
      m_auswahl(std::make_unique<TUvaAuswahl>(parent)) {
    setObjectName(QStringLiteral("UvaBefehl"));
}

UvaBefehl::~UvaBefehl() = default;

void UvaBefehl::UVA1Click() {
    UserSeam& ui = m_umgebung.ui;
    TDM_EinAus& dm = m_umgebung.dm;
    m_auswahl->setVorgabe(uva::vorgabeCode(m_umgebung.clock.today(), dm.gibJahr()));
    if (ui.runModal(*m_auswahl) != QDialog::Accepted)
        return;
    const int code = m_auswahl->rueckgabe();

    uva::Eingabe eingabe;
    try {
        eingabe = uva::eingabeLesen(dm, code);
    } catch (const DatenbankFehler& e) {
        ui.error(QStringLiteral("Die UVA konnte nicht erstellt werden.\r") + e.text());
        return;
    }
    const auto r = uva::erstellen(eingabe);
    if (const QString* meldung = std::get_if<QString>(&r)) {
        ui.question(UserSeam::Kind::Warning, *meldung, UserSeam::Ok);
        return;
    }
    const uva::Erklaerung& e = std::get<uva::Erklaerung>(r);

    TUvaAnsicht ansicht(e, eingabe.ZeitraumText, m_parent);
    if (ui.runModal(ansicht) != QDialog::Accepted)
        return;

    ExportSaveDialog speichern(ui, {}, m_parent);
    speichern.setWindowTitle(QStringLiteral("UVA speichern"));
    speichern.setDefaultSuffix(QStringLiteral("xml"));
    speichern.setNameFilter(QStringLiteral("UVA-Datei (*.xml)"));
    speichern.setDirectory(m_verzeichnis.isEmpty() ? QDir::homePath() : m_verzeichnis);
    speichern.selectFile(uva::dateiname(e));
    if (ui.runModal(speichern) != QDialog::Accepted || speichern.chosenFile().isEmpty())
        return;
    const QString datei = speichern.chosenFile();
    if (const auto fehler = uva::schreiben(uva::xml(e, m_umgebung.clock.now()), datei)) {
        ui.error(*fehler + QStringLiteral("\rEs wurde keine Datei erstellt."));
        return;
    }
    m_verzeichnis = QFileInfo(datei).absolutePath();
    ui.message(QStringLiteral("Die UVA wurde gespeichert:\r%1\rSie kann in FinanzOnline "
                              "hochgeladen werden.")
                   .arg(QDir::toNativeSeparators(datei)));
    festschreibenAnbieten(eingabe.Bis);
}

void UvaBefehl::festschreibenAnbieten(const QDate& bis) {
    UserSeam& ui = m_umgebung.ui;
    TDM_EinAus& dm = m_umgebung.dm;
    try {
        const int mandant = dm.gibMandant();
        const int zeitraum = dm.gibZeitraum();
        // a period already locked is not offered again
        if (const auto schon = festschreibung::bis(dm.db(), mandant, zeitraum);
            schon && bis <= *schon)
            return;
        if (ui.question(UserSeam::Kind::Confirmation, festschreibung::frage(bis),
                        UserSeam::Yes | UserSeam::No | UserSeam::DefaultNo) != UserSeam::Yes)
            return;
        festschreibung::festschreiben(dm, mandant, zeitraum, bis);
    } catch (const DatenbankFehler& e) {
        ui.error(e.text());
    }
}
