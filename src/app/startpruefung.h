#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class Datenbank;
class Hintergrundpruefung;

// The check of the whole working database at every start of the window. It
// runs in the background while the lists show; a write waits for its verdict,
// and after a finding every write is refused until "Datenbank prüfen" passes.
class Startpruefung final : public QObject {
    Q_OBJECT
public:
    struct Anzeige {
        std::function<void(const QString&)> status;  // the status bar's text, empty clears it
        std::function<void(const QString&)> schaden; // the check's damage message, once found
    };
    // dir: where the folder "Datensicherung" with the backups lies
    Startpruefung(Datenbank& db, QString dir, Anzeige anzeige);
    ~Startpruefung() override;

    void starten();
    void abbrechen();
    bool laeuft() const;
    // Waits for the verdict (a measurement that must not run beside it).
    void abwarten();
    // The damage message while the file counts as damaged.
    const std::optional<QString>& befund() const { return m_befund; }
    // "Datenbank prüfen" found problems, or found none.
    void gefunden(const QString& meldung);
    void bestanden();

    static QString statusText();

private:
    void urteil(const std::optional<QStringList>& befunde);
    void schreibenPruefen();

    Datenbank& m_db;
    QString m_dir;
    Anzeige m_anzeige;
    std::unique_ptr<Hintergrundpruefung> m_pruefung;
    std::optional<QString> m_befund;
    bool m_geurteilt = false;
};
