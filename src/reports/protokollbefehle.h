#pragma once

#include <QObject>
#include <memory>

class QWidget;
class TMonatsAuswahl;
struct Umgebung;

// "Verwalten > Änderungsprotokoll" and "Verwalten > Zeitraum festschreiben…".
// Owned by the main window as a child object.
class ProtokollBefehle final : public QObject {
    Q_OBJECT
public:
    ProtokollBefehle(Umgebung& umgebung, QWidget* parent);
    ~ProtokollBefehle() override;

    void Aenderungsprotokoll1Click();
    // The month dialog, then a question that says what a lock means; Yes
    // locks the current fiscal year up to the end of the chosen period.
    void ZeitraumFestschreiben1Click();

    TMonatsAuswahl& Auswahl() { return *m_auswahl; }

private:
    Umgebung& m_umgebung;
    QWidget* m_parent;
    std::unique_ptr<TMonatsAuswahl> m_auswahl;
};
