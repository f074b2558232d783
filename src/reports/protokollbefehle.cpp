#include "reports/protokollbefehle.h"

#include "data/dates.h"
#include "data/dm_einaus.h"
#include "data/festschreibung.h"
#include "platform/userseam.h"
#include "reports/tmonatsauswahl.h"
#include "reports/tprotokoll.h"
#include "reports/zeitraum.h"
#include "toolkit/umgebung.h"

#include <QCheckBox>
#include <QGroupBox>

ProtokollBefehle::ProtokollBefehle(Umgebung& umgebung, QWidget* parent)
    : QObject(parent), m_umgebung(umgebung), m_parent(parent),
      m_auswahl(std::make_unique<TMonatsAuswahl>(parent)) {
    setObjectName(QStringLiteral("ProtokollBefehle"));
    m_auswahl->setObjectName(QStringLiteral("FestschreibenAuswahl"));
    m_auswahl->setWindowTitle(QStringLiteral("Zeitraum festschreiben"));
    m_auswahl->RadioGroup1->setTitle(QStringLiteral("  Festschreiben bis zum Ende von  "));
    m_auswahl->CheckBox_export->hide();
}

ProtokollBefehle::~ProtokollBefehle() = default;

void ProtokollBefehle::Aenderungsprotokoll1Click() {
    TProtokoll fenster(m_umgebung, m_parent);
    m_umgebung.ui.runModal(fenster);
}

void ProtokollBefehle::ZeitraumFestschreiben1Click() {
    UserSeam& ui = m_umgebung.ui;
    TDM_EinAus& dm = m_umgebung.dm;
    if (ui.runModal(*m_auswahl) != QDialog::Accepted)
        return;
    const auto periode = ZeitraumBestimmen(m_auswahl->rueckgabe(), dm.gibJahr());
    if (!periode)
        return;
    try {
        const int mandant = dm.gibMandant();
        const int zeitraum = dm.gibZeitraum();
        if (const auto schon = festschreibung::bis(dm.db(), mandant, zeitraum);
            schon && periode->Bis <= *schon) {
            ui.message(QStringLiteral("Das Wirtschaftsjahr ist bereits bis %1 festgeschrieben.")
                           .arg(dates::format(*schon)));
            return;
        }
        if (ui.question(UserSeam::Kind::Warning, festschreibung::frage(periode->Bis),
                        UserSeam::Yes | UserSeam::No | UserSeam::DefaultNo) != UserSeam::Yes)
            return;
        festschreibung::festschreiben(dm, mandant, zeitraum, periode->Bis);
    } catch (const DatenbankFehler& e) {
        ui.error(e.text());
        return;
    }
    ui.message(QStringLiteral("Der Zeitraum bis %1 ist festgeschrieben.")
                   .arg(dates::format(periode->Bis)));
}
