#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <memory>

class QWidget;
class TUvaAuswahl;
struct Umgebung;

// "Export > UVA für FinanzOnline...": the period, the summary, the save
// dialog, then the file. Owned by the main window as a child object.
class UvaBefehl final : public QObject {
    Q_OBJECT
public:
    UvaBefehl(Umgebung& umgebung, QWidget* parent);
    ~UvaBefehl() override;

    void UVA1Click();

    TUvaAuswahl& UvaAuswahl() { return *m_auswahl; }

private:
    // After a filed period: "Zeitraum bis ... festschreiben?", No by default.
    void festschreibenAnbieten(const QDate& bis);

    Umgebung& m_umgebung;
    QWidget* m_parent;
    std::unique_ptr<TUvaAuswahl> m_auswahl;
    QString m_verzeichnis; // where the last file went
};
