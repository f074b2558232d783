#include "app/startpruefung.h"

#include "data/datenbankpruefung.h"
#include "data/db.h"
#include "data/hintergrundpruefung.h"

#include <QApplication>

Startpruefung::Startpruefung(Datenbank& db, QString dir, Anzeige anzeige)
    : m_db(db), m_dir(std::move(dir)), m_anzeige(std::move(anzeige)) {
    m_db.setSchreibwaechter([this] { schreibenPruefen(); });
}

Startpruefung::~Startpruefung() {
    m_db.setSchreibwaechter({});
    abbrechen();
}

QString Startpruefung::statusText() {
    return QStringLiteral("Datenbank wird geprüft …");
}

void Startpruefung::starten() {
    m_pruefung = std::make_unique<Hintergrundpruefung>(m_db.path());
    connect(m_pruefung.get(), &Hintergrundpruefung::fertig, this, [this] {
        if (m_pruefung && !m_geurteilt)
            urteil(m_pruefung->warten());
    });
    if (m_anzeige.status)
        m_anzeige.status(statusText());
    m_pruefung->starten();
}

void Startpruefung::abbrechen() {
    if (!m_pruefung)
        return;
    m_pruefung->abbrechen();
    m_pruefung.reset();
}

bool Startpruefung::laeuft() const {
    return m_pruefung && m_pruefung->laeuft();
}

void Startpruefung::abwarten() {
    if (m_pruefung && !m_geurteilt)
        urteil(m_pruefung->warten());
}

void Startpruefung::urteil(const std::optional<QStringList>& befunde) {
    m_geurteilt = true;
    if (m_anzeige.status)
        m_anzeige.status(QString());
    // a check that could not finish (a lock held long) leaves the file as it was judged
    if (befunde && !befunde->isEmpty()) {
        // velmora-cli, which checks only small files in full, sees it too
        datenbankpruefung::markerSetzen(m_db.path(), *befunde);
        m_befund = datenbankpruefung::befund(m_db.path(), *befunde, m_dir);
        if (m_anzeige.schaden)
            m_anzeige.schaden(*m_befund);
    }
}

void Startpruefung::gefunden(const QString& meldung) {
    m_befund = meldung;
}

void Startpruefung::bestanden() {
    m_befund.reset();
}

void Startpruefung::schreibenPruefen() {
    if (m_pruefung && !m_geurteilt) {
        // the write waits for the verdict; the check reads on its own connection
        const bool cursor = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
        if (cursor)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto befunde = m_pruefung->warten();
        if (cursor)
            QApplication::restoreOverrideCursor();
        urteil(befunde);
    }
    if (m_befund)
        throw DatenbankFehler(*m_befund);
}
