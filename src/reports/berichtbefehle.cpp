#include "reports/berichtbefehle.h"

#include "data/dm_einaus.h"
#include "platform/userseam.h"
#include "reportengine/previewwindow.h"
#include "reports/tmonatsauswahl.h"
#include "reports/trep_verprobung.h"
#include "reports/verprobung.h"
#include "toolkit/umgebung.h"

#include <QCheckBox>

BerichtBefehle::BerichtBefehle(Umgebung& umgebung, QWidget* parent)
    : m_umgebung(umgebung), m_parent(parent),
      m_monatsAuswahl(std::make_unique<TMonatsAuswahl>(parent)),
      m_exportauswahl(std::make_unique<TExportauswahl>(parent)),
      m_repVerprobung(std::make_unique<TRep_Verprobung>(umgebung.dm.db(), m_verprobungDaten)) {}

BerichtBefehle::~BerichtBefehle() = default;

void BerichtBefehle::USTVerprobung1Click() {
    UserSeam& ui = m_umgebung.ui;
    m_monatsAuswahl->CheckBox_export->setVisible(false);
    if (ui.runModal(*m_monatsAuswahl) != QDialog::Accepted)
        return;
    const int code = m_monatsAuswahl->rueckgabe();
    std::optional<reportengine::PageModel> seiten;
    // the query is closed when erzeugen returns or throws
    try {
        seiten = verprobung::erzeugen(m_umgebung.dm, *m_repVerprobung, m_verprobungDaten, code);
    } catch (const DatenbankFehler& e) {
        ui.error(QStringLiteral("Die Umsatzsteuerverprobung konnte nicht erstellt werden.\r") +
                 e.text());
        return;
    } catch (const std::exception& e) {
        ui.error(QStringLiteral("Die Umsatzsteuerverprobung konnte nicht erstellt werden.\r") +
                 QString::fromStdString(e.what()));
        return;
    }
    if (!seiten) {
        ui.message(verprobung::meldungKeineEinnahmen());
        return;
    }
    reportengine::PreviewWindow vorschau(
        std::move(*seiten),
        QStringLiteral("Umsatzsteuerverprobung ") + m_verprobungDaten.ZeitraumText, m_parent);
    vorschau.setMessageSink([&ui](const QString& text) { ui.message(text); });
    ui.runModal(vorschau);
}
