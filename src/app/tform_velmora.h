#pragma once

#include "toolkit/hauptfenster.h"

#include <QMainWindow>
#include <QSize>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QFrame;
class QKeyEvent;
class QLabel;
class QMenu;
class QTableView;
struct Umgebung;
struct Summen;
class BerichtBefehle;
class BuchungsBefehle;
class BuchungskreisBefehle;
class E1aAblauf;
class TFormE1a;
class Buchungsliste;
class KlickLabel;
class MandantenBefehle;
class Tastenvorschau;
class TAboutBox;
class TDBGridExport;
class TExportansicht;
class Startpruefung;
class StornoBefehl;
class ZeitraumBefehle;

// The main window: client and year, the income and expense lists side by
// side with their totals, and the menu from which every command starts.
// Enter anywhere in it starts a new booking; in a list, a double-click or F2
// changes the current booking and Del deletes it.
class TForm_Velmora final : public QMainWindow, public Hauptfenster {
    Q_OBJECT
public:
    explicit TForm_Velmora(Umgebung& umgebung);
    ~TForm_Velmora() override;

    // Hauptfenster. Each shows a database error itself.
    void AnzeigeAktualisieren() override;
    void Berechne() override;
    void QueryEinRequery() override;
    void QueryAusRequery() override;
    QWidget* widget() override { return this; }

    // Reopens both lists; throws DatenbankFehler.
    void QueryStarten(int zeitraum, int mandant);
    // The year and client labels; throws DatenbankFehler when the fiscal
    // year cannot be read.
    void ZeigeAktuellesJahr(int zeitraum, int mandant);

    // The window has become active: the full refresh, unless one is running
    // or a modal window is open.
    void FormActivate();

    // "Stornieren" of the income or the expense list's current booking.
    void StornierenClick(bool einnahmeListe);
    // The context menu of a list, as right click and the menu key show it.
    std::unique_ptr<QMenu> kontextMenue(bool einnahmeListe);

    // Menu handlers, named after their items.
    void Beenden1Click();
    void Buchen1Click();
    void Stammdaten1Click();
    void Mandanten1Click();
    void Wirtschaftsjahrauswhlen1Click();
    void Buchungskreise1Click();
    // "Verwalten > Anlagenverzeichnis": the register of the current year to edit.
    void AnlagenVerwalten1Click();
    // The whole integrity check with progress, and its finding.
    void DatenbankPruefen1Click();
    void Iconerstellen1Click();
    void MandantImportieren1Click();
    void USTVerprobung1Click();
    void Journal1Click();
    void BuchungskreisAuswertung1Click();
    void BuchungskreisDetails1Click();
    void Plus_MinusClick();
    void MonatsuebersichtClick();
    void AnlagenverzeichnisClick();
    void JahresabschlussClick();
    void Finanzamt1Click();
    void berVelmora1Click();

    // The header labels as commands.
    void Label7Click();
    void LabelJahrClick();
    void LabelMandantClick();

    QAction* menuAction(const QString& objectName) const;
    Buchungsliste& Query_Ein() { return *m_queryEin; }
    Buchungsliste& Query_Aus() { return *m_queryAus; }
    BerichtBefehle& berichte() { return *m_berichte; }
    BuchungskreisBefehle& buchungskreise() { return *m_buchungskreise; }
    // The export of the hidden grid, for the journal and circle-detail exports.
    TDBGridExport& DBGridExport1() { return *m_dbGridExport1; }
    TExportansicht& Exportansicht() { return *m_exportansicht; }
    // The about box, created at its first showing.
    TAboutBox* AboutBox() const { return m_aboutBox.get(); }
    // How "Export > Finanzamt" asks for its month (1 to 12, nullopt on Cancel).
    void setFinanzamtMonatFrage(std::function<std::optional<int>()> frage) {
        m_finanzamtMonat = std::move(frage);
    }

    // The backup program: the first of kandidaten that exists is started
    // when the window closes; when none exists or it cannot start, that is
    // recorded for the next start in ordnerDir's backup folder. No
    // kandidaten: nothing is started or recorded.
    // On a server the closing backup is velmora-cli's pg_dump: the tool,
    // its arguments and the password the window was given (handed over in
    // the environment, never written).
    void setServerSicherung(QString programm, QStringList argumente, QString kennwort) {
        m_serverSicherung = {std::move(programm), std::move(argumente), std::move(kennwort)};
    }
    void setBackupProgramme(QStringList kandidaten, QString datenbankDir) {
        m_backupProgramme = std::move(kandidaten);
        m_datenbankDir = std::move(datenbankDir);
    }
    // Shown in the status bar: the last backup failed.
    void setSicherungsHinweis(const std::optional<QString>& hinweis);
    // "Verwalten > Datensicherungen…": the list of copies, and the restore of one.
    void Datensicherungen1Click();
    // Restores kopie and reopens the database; false when it was refused.
    bool Zurueckspielen(const QString& kopie);
    QLabel* StatusFestschreibung() const { return m_statusFestschreibung; }
    QLabel* StatusDatensicherung() const { return m_statusSicherung; }

    // The check of the whole file in the background, at the program's start.
    void startpruefungBeginnen();
    Startpruefung* startpruefung() const { return m_startpruefung.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The client area as designed, the smallest it gets.
    static constexpr QSize kEntwurf{695, 657};
    void baueFenster();
    // Places the panels and grids for a client area of this size.
    void anordnen(QSize flaeche);
    void baueMenue();
    void FormCreate();
    void FormShow();
    void FormKeyDown(const QKeyEvent& key);
    void FormClose();
    void Grid_EinDblClick();
    void Grid_AusDblClick();
    void Grid_EinKeyDown(const QKeyEvent& key);
    void Grid_AusKeyDown(const QKeyEvent& key);

    // Berechne without its error box, for callers that stop on a failure.
    void berechne();
    void summenZeigen(const Summen& summen);
    // The lock of the fiscal year in the status bar and in both lists.
    void festschreibungZeigen(int zeitraum, int mandant);
    // A damaged file: its message where the totals stand, and in the status bar.
    void schadenZeigen(const QString& meldung);
    // A check without findings or a restored copy: the totals come back.
    void schadenAufheben();
    void StammdatenPruefen();
    void aktivierungAnfordern();
    std::optional<int> aktuelleBuchung(bool einnahmeListe) const;

    Umgebung& m_umgebung;
    QStringList m_backupProgramme;
    struct ServerSicherung {
        QString programm;
        QStringList argumente;
        QString kennwort;
    };
    std::optional<ServerSicherung> m_serverSicherung;
    QString m_datenbankDir;
    QLabel* m_statusFestschreibung = nullptr;
    QLabel* m_statusSicherung = nullptr;

    QLabel* Label11 = nullptr;
    KlickLabel* LabelMandant = nullptr;
    QLabel* Label8 = nullptr;
    KlickLabel* LabelJahr = nullptr;
    KlickLabel* Label7 = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Label_Einnahmen = nullptr;
    QLabel* Label_Ust = nullptr;
    QTableView* Grid_Ein = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Label_Ausgaben = nullptr;
    QLabel* Label_Vst = nullptr;
    QTableView* Grid_Aus = nullptr;

    std::unique_ptr<Buchungsliste> m_queryEin;
    std::unique_ptr<Buchungsliste> m_queryAus;
    Tastenvorschau* m_tastenvorschau = nullptr;

    // Refresh state: how deep refreshes nest, whether this round has asked
    // for the master data, whether that question is open now.
    int m_aktualisierungTiefe = 0;
    bool m_stammdatenGefragt = false;
    bool m_stammdatenOffen = false;
    bool m_aktivierungAngefordert = false;
    bool m_gezeigt = false;
    bool m_warInaktiv = false;

    std::unique_ptr<BuchungsBefehle> m_buchungen;
    std::unique_ptr<StornoBefehl> m_storno;
    std::unique_ptr<BuchungskreisBefehle> m_buchungskreise;
    std::unique_ptr<TFormE1a> m_formE1a;
    std::unique_ptr<E1aAblauf> m_e1a;
    std::unique_ptr<MandantenBefehle> m_mandanten;
    std::unique_ptr<ZeitraumBefehle> m_zeitraeume;
    std::unique_ptr<BerichtBefehle> m_berichte;
    std::unique_ptr<TDBGridExport> m_dbGridExport1;
    std::unique_ptr<TExportansicht> m_exportansicht;
    std::unique_ptr<TAboutBox> m_aboutBox;
    std::function<std::optional<int>()> m_finanzamtMonat;
    std::unique_ptr<Startpruefung> m_startpruefung;
    QLabel* m_schadenStatus = nullptr;
};
