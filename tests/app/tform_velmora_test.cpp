#include "app/tdatensicherungen.h"
#include "app/tform_velmora.h"
#include "bookings/buchungskreis.h"
#include "bookings/buchungskreisliste.h"
#include "data/buchungsliste.h"
#include "data/festschreibung.h"
#include "export/tdbgridexport.h"
#include "fixture.h"
#include "reports/anlagenverzeichnis.h"
#include "reports/e1a.h"
#include "reports/tabelle.h"
#include "reports/tanlagenverzeichnis.h"
#include "reports/texportansicht.h"
#include "reports/tforme1a.h"
#include "reports/tmonatsauswahl.h"
#include "sicherung/datensicherung.h"
#include "toolkit/gridspalten.h"
#include <QComboBox>
#include <QPushButton>

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <functional>
#include <map>

// Readable QString values in failure messages.
static void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Modifier keys pressed on their own, as QTest sends them before a key.
static bool nurModifier(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta;
}

namespace {

const QString kStammdatenFrage = QStringLiteral("Sie müssen noch die Stammdaten eintragen");

// Logs the keys a widget receives.
class Rekorder final : public QObject {
public:
    explicit Rekorder(QStringList& log) : m_log(log) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && !nurModifier(static_cast<QKeyEvent*>(e)->key()))
            m_log << o->objectName() + ":" + QString::number(static_cast<QKeyEvent*>(e)->key(), 16);
        return false;
    }

private:
    QStringList& m_log;
};

// "Mandant 1" with the fiscal year 2026, its master data entered and one
// booking circle.
class HauptfensterTest : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant();
        m = dm->gibMandant();
        z = dm->gibZeitraum();
        bk = kreis(m, QStringLiteral("Büro"), QStringLiteral("B"));
        ganzerName(QStringLiteral("'Max Muster'"));
    }
    void TearDown() override {
        form.reset();
        VelmoraFixture::TearDown();
    }

    void ganzerName(const QString& sqlWert) {
        dm->db().execute("update T_Stammdaten set GanzerName = " + sqlWert);
    }
    TForm_Velmora& erzeugen() {
        form = std::make_unique<TForm_Velmora>(*umgebung);
        return *form;
    }
    QLabel* label(const char* name) { return form->findChild<QLabel*>(QLatin1String(name)); }
    QString text(const char* name) { return label(name)->text(); }
    QTableView* grid(const char* name) { return form->findChild<QTableView*>(QLatin1String(name)); }
    int zeilen(const char* name) { return grid(name)->model()->rowCount(); }
    QString zelle(const char* name, int row, int col) {
        return grid(name)->model()->index(row, col).data().toString();
    }
    int einnahme(const QString& betrag, const QString& steuer,
                 const QString& datum = "2026-03-01") {
        const int b = buchung(m, z, datum, betrag, 20, bk, true);
        bewegung(m, b, 1020, steuer);
        return b;
    }
    int ausgabe(const QString& betrag, const QString& steuer, const QString& datum = "2026-03-01") {
        const int b = buchung(m, z, datum, betrag, 20, bk, false);
        bewegung(m, b, 2020, steuer);
        return b;
    }
    QStringList summen() {
        return {text("Label_Einnahmen"), text("Label_Ust"), text("Label_Ausgaben"),
                text("Label_Vst")};
    }
    // The dialog a modal run shows, by its object name and caption.
    void modalMerken(QStringList& log, int ergebnis = QDialog::Rejected) {
        ui.answerModal([&log, ergebnis](QDialog& d) {
            log << d.objectName() + "|" + d.windowTitle();
            return ergebnis;
        });
    }

    int m = -1, z = -1, bk = -1;
    std::unique_ptr<TForm_Velmora> form;
};

TEST_F(HauptfensterTest, WindowLabelsGridsAndMenu) {
    einnahme("10,00", "1,67");
    ausgabe("12,00", "2,00");
    erzeugen();
    EXPECT_EQ(form->windowTitle(), "Tarnholt :: Velmora");
    EXPECT_EQ(text("Label11"), "Aktueller Mandant:");
    EXPECT_EQ(text("Label8"), "Aktuelles Wirtschaftsjahr:");
    EXPECT_EQ(text("Label7"), "Die Entertaste öffnet die Buchungsmaske...");
    EXPECT_EQ(label("Label7")->toolTip(), "Sie können mich auch anklicken...");
    EXPECT_EQ(label("LabelMandant")->toolTip(),
              "Mit einem Klick können sie den Mandanten wechseln");
    EXPECT_EQ(label("LabelJahr")->toolTip(),
              "Mit einem Klick können sie das Wirtschaftsjahr wechseln");
    EXPECT_EQ(label("LabelJahr")->cursor().shape(), Qt::PointingHandCursor);
    const std::vector<std::pair<const char*, const char*>> texte = {
        {"Label1", "Einnahmen"}, {"Label9", "(Brutto)"},  {"Label3", "Gesamt"}, {"Label4", "UST"},
        {"Label2", "Ausgaben"},  {"Label10", "(Brutto)"}, {"Label5", "Gesamt"}, {"Label6", "VST"}};
    for (const auto& [name, erwartet] : texte)
        EXPECT_EQ(text(name), QString::fromUtf8(erwartet)) << name;
    EXPECT_TRUE(label("Label_Ust")->alignment() & Qt::AlignRight);

    struct Spalte {
        const char* titel;
        int ein, aus;
        Qt::Alignment ausrichtung;
    };
    const std::vector<Spalte> spalten = {
        {"Buchungsdatum", 83, 82, Qt::AlignRight | Qt::AlignVCenter},
        {"Belegnummer", 71, 71, Qt::AlignRight | Qt::AlignVCenter},
        {"Steuersatz", 56, 56, Qt::AlignRight | Qt::AlignVCenter},
        {"Betrag", 66, 68, Qt::AlignRight | Qt::AlignVCenter},
        {"Buchungstext", 161, 159, Qt::AlignLeft | Qt::AlignVCenter},
        {"BK", 23, 24, Qt::AlignCenter}};
    for (const char* g : {"Grid_Ein", "Grid_Aus"}) {
        QTableView* v = grid(g);
        SCOPED_TRACE(g);
        EXPECT_EQ(v->toolTip(), "Mit einem Doppelklick können sie eine Buchung ändern\nMit Entf "
                                "können sie eine Buchung löschen.");
        EXPECT_EQ(v->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(v->editTriggers(), QAbstractItemView::NoEditTriggers);
        ASSERT_EQ(v->model()->columnCount(), 6);
        int summe = 0;
        int entwurfSumme = 0;
        for (int c = 0; c < 6; ++c) {
            const Spalte& s = spalten[static_cast<size_t>(c)];
            EXPECT_EQ(v->model()->headerData(c, Qt::Horizontal).toString(), s.titel);
            const int entwurf = g == std::string("Grid_Ein") ? s.ein : s.aus;
            summe += v->columnWidth(c);
            entwurfSumme += entwurf;
            // the amount column is at least as wide as its largest amounts, and
            // the text column gives up what that takes
            if (c == 3)
                EXPECT_GE(v->columnWidth(c), entwurf);
            else if (c == 4)
                EXPECT_LE(v->columnWidth(c), entwurf);
            else
                EXPECT_EQ(v->columnWidth(c), entwurf) << c;
            EXPECT_EQ(v->model()->index(0, c).data(Qt::TextAlignmentRole).toInt(),
                      static_cast<int>(s.ausrichtung))
                << c;
        }
        EXPECT_EQ(summe, entwurfSumme) << "the designed total width";
    }
    EXPECT_FALSE(grid("Grid_Ein")->model()->flags(grid("Grid_Ein")->model()->index(0, 0)) &
                 Qt::ItemIsEditable);

    // the data exports read Query_Export through its model, without a grid
    EXPECT_EQ(grid("DBGrid_export"), nullptr);
    EXPECT_EQ(form->DBGridExport1().model(), &dm->Query_Export());

    QStringList verwalten;
    for (QAction* a : form->menuAction("Verwalten1")->menu()->actions())
        verwalten << a->objectName() + (a->isVisible() ? "" : "(hidden)");
    EXPECT_EQ(verwalten,
              QStringList({"Stammdaten1", "Mandanten1", "Wirtschaftsjahrauswhlen1",
                           "Buchungskreise1", "AnlagenVerwalten1", "Datenbankpruefen1",
                           "Aenderungsprotokoll1", "ZeitraumFestschreiben1", "Datensicherungen1",
                           "N1", "Iconerstellen1", "N2(hidden)", "MandantImportieren1(hidden)"}));
}

TEST_F(HauptfensterTest, EveryMenuAndItemHasAMnemonicOfItsOwn) {
    erzeugen();
    // menu (or the bar) -> the mnemonic letters of its items, in their order
    const std::map<QString, QString> erwartet{
        {"MainMenu1", "DBVAEI"},    {"Datei1", "KD"},  {"Verwalten1", "SMWBAPNFDIO"},
        {"Auswerten1", "UJADPMVE"}, {"Export1", "FU"}, {"Info1", "V"}};
    const auto buchstaben = [](const QList<QAction*>& actions, const QString& wo) {
        QString folge;
        for (const QAction* a : actions) {
            if (a->isSeparator())
                continue;
            const QKeySequence m = QKeySequence::mnemonic(a->text());
            EXPECT_FALSE(m.isEmpty()) << wo.toStdString() << ": " << a->text().toStdString();
            const QString taste = m.toString().section(QLatin1Char('+'), -1);
            EXPECT_FALSE(folge.contains(taste, Qt::CaseInsensitive))
                << wo.toStdString() << ": " << a->text().toStdString() << " twice";
            folge += taste;
        }
        return folge;
    };
    std::map<QString, QString> gefunden;
    gefunden["MainMenu1"] = buchstaben(form->menuBar()->actions(), "MainMenu1");
    for (const QAction* a : form->menuBar()->actions()) {
        if (a->menu())
            gefunden[a->objectName()] = buchstaben(a->menu()->actions(), a->objectName());
    }
    EXPECT_EQ(gefunden, erwartet);

    // Alt and the letter open the menu
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QMenu* verwalten = form->menuAction("Verwalten1")->menu();
    QTest::keyClick(form.get(), Qt::Key_V, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return verwalten->isVisible(); }, 1000));
    verwalten->close();
}

TEST_F(HauptfensterTest, TheLockIsSeenInTheStatusBarAndInGrey) {
    einnahme("10,00", "1,67", "2026-03-31");
    einnahme("20,00", "3,33", "2026-04-01");
    ausgabe("12,00", "2,00", "2026-01-05");
    erzeugen();
    form->resize(900, 800);
    form->show();
    form->AnzeigeAktualisieren();
    EXPECT_EQ(form->StatusFestschreibung()->text(), "");
    EXPECT_EQ(form->statusBar()->findChild<QLabel*>("StatusFestschreibung"),
              form->StatusFestschreibung());
    // a cell as it is drawn, without the selection
    const auto bild = [this](int row) {
        QTableView* g = grid("Grid_Ein");
        g->clearSelection();
        g->setCurrentIndex(QModelIndex());
        return g->viewport()->grab(g->visualRect(g->model()->index(row, 3))).toImage();
    };
    const QImage offen0 = bild(0);
    const QImage offen1 = bild(1);

    // March locked through the menu: the window shows it at once
    ui.answerModal([](QDialog& d) {
        dynamic_cast<TMonatsAuswahl&>(d).RadioButton(3)->click();
        return int(QDialog::Accepted);
    });
    ui.answerQuestion(UserSeam::Yes);
    form->menuAction("ZeitraumFestschreiben1")->trigger();
    EXPECT_EQ(form->StatusFestschreibung()->text(), "Festgeschrieben bis 31.03.2026");
    const auto grau = [this](const char* name, int row) {
        return grid(name)->model()->index(row, 0).data(AusgegrautRole).toBool();
    };
    EXPECT_EQ(zelle("Grid_Ein", 0, 0), "01.04.2026");
    EXPECT_FALSE(grau("Grid_Ein", 0));
    EXPECT_TRUE(grau("Grid_Ein", 1));
    EXPECT_TRUE(grau("Grid_Aus", 0));
    EXPECT_EQ(bild(0), offen0) << "an open booking is drawn as before";
    EXPECT_NE(bild(1), offen1) << "a locked booking is drawn grey";
}

TEST_F(HauptfensterTest, TheAssetWindowAndTheCirclesKennzahlAreReachedFromTheMenu) {
    anlagenverzeichnis::Eintrag laptop;
    laptop.bezeichnung = QStringLiteral("Laptop");
    laptop.anlage.anschaffung = QDate(2026, 3, 15);
    laptop.anlage.kosten = *Currency::parse(QStringLiteral("2400"));
    laptop.anlage.nutzungsdauer = 3;
    anlagenverzeichnis::anlegen(dm->db(), dm->gibMandant(), laptop);
    erzeugen();

    QStringList zeile;
    ui.answerModal([&zeile](QDialog& d) {
        auto& f = dynamic_cast<TAnlagenverzeichnis&>(d);
        EXPECT_EQ(f.LabelJahr->text(), "Geschäftsjahr 2026");
        zeile = f.liste().tabelle().texte().front();
        return int(QDialog::Rejected);
    });
    form->menuAction("AnlagenVerwalten1")->trigger();
    EXPECT_EQ(zeile, QStringList({"Laptop", "15.03.2026", "2.400,00", "0,00", "0,00", "800,00",
                                  "1.600,00"}));

    // the circle list's E 1a button: the window wires it to the same command as "bk e1a"
    ui.answerModal([this](QDialog& d) {
        auto* knopf = d.findChild<QPushButton*>(QStringLiteral("SchalterE1a"));
        EXPECT_TRUE(knopf && knopf->isVisibleTo(&d));
        ui.answerModal([](QDialog& w) {
            auto& f = dynamic_cast<TFormE1a&>(w);
            f.Combo_Kennzahl->setCurrentIndex(
                f.Combo_Kennzahl->findText("9100 ", Qt::MatchStartsWith));
            return int(QDialog::Accepted);
        });
        knopf->click();
        return int(QDialog::Accepted);
    });
    form->menuAction("Buchungskreise1")->trigger();
    EXPECT_EQ(e1a::kreisTexte(dm->db(), dm->gibMandant()).value(bk),
              "9100 Waren, Rohstoffe, Hilfsstoffe");
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_TRUE(ui.texts("error").isEmpty());
}

TEST_F(HauptfensterTest, ACopyIsRestoredFromTheWindow) {
    einnahme("10,00", "1,67");
    const QString kopie =
        Datensicherung(dir()).sichern(QDateTime(QDate(2026, 12, 1), QTime(18, 30)));
    einnahme("20,00", "3,33");
    erzeugen();
    form->setBackupProgramme({}, dir());
    form->AnzeigeAktualisieren();
    ASSERT_EQ(zeilen("Grid_Ein"), 2);

    QStringList gezeigt;
    ui.answerModal([&](QDialog& d) {
        auto& liste = dynamic_cast<TDatensicherungen&>(d);
        EXPECT_EQ(liste.LabelOrdner->text(),
                  "Die Sicherungen liegen im Ordner " + dir() + "Datensicherung.");
        for (int c = 0; c < liste.Liste->columnCount(); ++c)
            gezeigt << liste.Liste->item(0, c)->text();
        return int(QDialog::Accepted);
    });
    ui.answerQuestion(UserSeam::Yes);
    form->menuAction("Datensicherungen1")->trigger();
    EXPECT_EQ(gezeigt[0], "01.12.2026 18:30");
    EXPECT_TRUE(gezeigt[1].endsWith(" KB"));
    EXPECT_EQ(gezeigt[2], "1");
    EXPECT_EQ(ui.texts("message").last(), "Die Sicherung wurde zurückgespielt.");
    EXPECT_EQ(zeilen("Grid_Ein"), 1);
    EXPECT_EQ(text("Label_Einnahmen"), "10,00 €");
    EXPECT_EQ(Datensicherung(dir()).kopien().size(), 2) << "the state before was saved";

    // another program in the middle of reading: refused, the window goes on
    QSqlDatabase anderes = QSqlDatabase::addDatabase("QSQLITE", "anderes_fenster");
    anderes.setDatabaseName(dbPath());
    ASSERT_TRUE(anderes.open());
    {
        QSqlQuery q(anderes);
        ASSERT_TRUE(q.exec("BEGIN"));
        ASSERT_TRUE(q.exec("select count(*) from T_Buchungen"));
        ASSERT_TRUE(q.next());
        ui.clearShown();
        EXPECT_FALSE(form->Zurueckspielen(Datensicherung(dir()).ordner() + "/" +
                                          Datensicherung(dir()).kopien().last()));
        EXPECT_EQ(ui.texts("error"), QStringList{datenbankmeldung::gesperrt(dbPath())});
        q.exec("ROLLBACK");
    }
    anderes.close();
    anderes = QSqlDatabase();
    QSqlDatabase::removeDatabase("anderes_fenster");
    EXPECT_EQ(zeilen("Grid_Ein"), 1);
    EXPECT_EQ(Datensicherung(dir()).kopien().size(), 2);
}

TEST_F(HauptfensterTest, AGrownWindowGivesTheListsTheRoom) {
    erzeugen();
    form->show();
    QCoreApplication::processEvents(); // the first showing's refresh
    QWidget* flaeche = form->centralWidget();
    const auto geometrie = [this](const char* name) {
        return form->findChild<QWidget*>(QLatin1String(name))->geometry();
    };
    const char* const fest[] = {"Label11",         "LabelMandant", "Label7",
                                "Label_Einnahmen", "Label_Ust",    "Label_Ausgaben",
                                "Label_Vst",       "Label1",       "Label2"};
    std::map<std::string, QRect> vorher;
    for (const char* name : fest)
        vorher[name] = geometrie(name);
    // as designed
    EXPECT_EQ(flaeche->size(), QSize(695, 657));
    EXPECT_EQ(geometrie("Panel1"), QRect(8, 68, 681, 286));
    EXPECT_EQ(geometrie("Panel2"), QRect(8, 360, 681, 289));
    EXPECT_EQ(geometrie("Grid_Ein"), QRect(185, 20, 488, 261));
    EXPECT_EQ(geometrie("Grid_Aus"), QRect(185, 20, 488, 261));

    form->resize(form->width() + 300, form->height() + 201);
    QCoreApplication::processEvents();
    ASSERT_EQ(flaeche->size(), QSize(995, 858));
    EXPECT_EQ(geometrie("Panel1"), QRect(8, 68, 981, 386));
    EXPECT_EQ(geometrie("Panel2"), QRect(8, 460, 981, 390));
    EXPECT_EQ(geometrie("Grid_Ein"), QRect(185, 20, 788, 361));
    EXPECT_EQ(geometrie("Grid_Aus"), QRect(185, 20, 788, 362));
    for (const char* name : fest)
        EXPECT_EQ(geometrie(name), vorher[name]) << name;

    // never smaller than designed
    form->resize(400, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(flaeche->size(), QSize(695, 657));
    EXPECT_EQ(geometrie("Grid_Aus"), QRect(185, 20, 488, 261));
}

TEST_F(HauptfensterTest, ColumnsCanBeWidenedAndCutTextsShowWhole) {
    const int gross = buchung(m, z, "2026-03-02", "99.999.999,99", 20, bk, true);
    buchung(m, z, "2026-03-01", "-99.999.999,99", 20, bk, true);
    dm->db().execute(QStringLiteral("update T_Buchungen set Text = 'Wareneinkauf <b>Firma</b> "
                                    "Meier und Söhne, Lieferung vom Februar' where ID = %1")
                         .arg(gross));
    erzeugen();
    form->show();
    QTableView* g = grid("Grid_Ein");
    const QHeaderView* kopf = g->horizontalHeader();
    EXPECT_EQ(kopf->sectionResizeMode(4), QHeaderView::Interactive);
    ASSERT_EQ(zeilen("Grid_Ein"), 2);
    for (int row = 0; row < 2; ++row)
        EXPECT_FALSE(zelleAbgeschnitten(*g, g->model()->index(row, 3)))
            << zelle("Grid_Ein", row, 3).toStdString();

    // the long text is cut and shows whole, as plain text, in its tooltip
    const QModelIndex text = g->model()->index(0, 4);
    ASSERT_TRUE(zelleAbgeschnitten(*g, text));
    const QRect r = g->visualRect(text);
    QHelpEvent hilfe(QEvent::ToolTip, r.center(), g->viewport()->mapToGlobal(r.center()));
    QCoreApplication::sendEvent(g->viewport(), &hilfe);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("<p style='white-space:pre'>Wareneinkauf "
                                               "&lt;b&gt;Firma&lt;/b&gt; Meier und Söhne, "
                                               "Lieferung vom Februar</p>"));
    QToolTip::hideText();
    // an uncut cell keeps the grid's hint
    const QRect datum = g->visualRect(g->model()->index(0, 0));
    QHelpEvent hinweis(QEvent::ToolTip, datum.center(), g->viewport()->mapToGlobal(datum.center()));
    QCoreApplication::sendEvent(g->viewport(), &hinweis);
    EXPECT_TRUE(QToolTip::text().startsWith("Mit einem Doppelklick"))
        << QToolTip::text().toStdString();
    QToolTip::hideText();

    // widened by the user, the column stays so through a refresh
    g->setColumnWidth(4, 400);
    EXPECT_FALSE(zelleAbgeschnitten(*g, text));
    form->AnzeigeAktualisieren();
    EXPECT_EQ(g->columnWidth(4), 400);
}

TEST_F(HauptfensterTest, ListsShowDatesAndAmountsInGermanFormsNewestFirst) {
    buchung(m, z, "2026-05-07", "1.234,50", 20, bk, true, 2, 2, 17);
    buchung(m, z, "2026-01-02", "3,00", 10, bk, true, 2, 2, 4);
    buchung(m, z, "2026-02-03", "5,00", 0, 999, true); // no circle: not listed
    erzeugen();
    ASSERT_EQ(zeilen("Grid_Ein"), 2);
    QStringList erste;
    for (int c = 0; c < 6; ++c)
        erste << zelle("Grid_Ein", 0, c);
    EXPECT_EQ(erste, QStringList({"07.05.2026", "17", "20", "1.234,50", "Buchung 1", "B"}));
    EXPECT_EQ(zelle("Grid_Ein", 1, 0), "02.01.2026");
    EXPECT_EQ(grid("Grid_Ein")->currentIndex().row(), 0) << "a fresh list stands on its first row";
    EXPECT_EQ(zeilen("Grid_Aus"), 0);
}

// Which event requeries which list, runs Berechne and checks the master data.
TEST_F(HauptfensterTest, RefreshTable) {
    struct Fall {
        const char* ereignis;
        std::function<void(TForm_Velmora&)> ausloesen;
        bool ein, aus, berechne, stammdaten;
    };
    const std::vector<Fall> faelle = {
        {"window activated", [](TForm_Velmora& f) { f.FormActivate(); }, true, true, true, true},
        {"full refresh after the year or client dialog",
         [](TForm_Velmora& f) { f.AnzeigeAktualisieren(); }, true, true, true, true},
        {"income list requeried", [](TForm_Velmora& f) { f.QueryEinRequery(); }, true, false, false,
         false},
        {"expense list requeried", [](TForm_Velmora& f) { f.QueryAusRequery(); }, false, true,
         false, false},
        {"totals", [](TForm_Velmora& f) { f.Berechne(); }, false, false, true, false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.ereignis);
        form.reset();
        SetUp(); // a fresh database
        ganzerName("null");
        einnahme("120,00", "20,00");
        ausgabe("60,00", "10,00");

        // window created: lists yes, totals and master data no
        erzeugen();
        EXPECT_EQ(zeilen("Grid_Ein"), 1);
        EXPECT_EQ(zeilen("Grid_Aus"), 1);
        EXPECT_EQ(text("LabelJahr"), "");
        EXPECT_EQ(text("Label_Einnahmen"), "");
        EXPECT_TRUE(ui.shown().empty());

        einnahme("240,00", "40,00", "2026-04-01");
        ausgabe("12,00", "2,00", "2026-04-01");
        if (f.stammdaten)
            ui.answerModal([](QDialog&) { return QDialog::Rejected; });
        f.ausloesen(*form);
        EXPECT_EQ(zeilen("Grid_Ein"), f.ein ? 2 : 1);
        EXPECT_EQ(zeilen("Grid_Aus"), f.aus ? 2 : 1);
        if (f.berechne) {
            EXPECT_EQ(summen(), QStringList({"360,00 €", "60,00 €", "72,00 €", "12,00 €"}));
            EXPECT_EQ(text("LabelJahr"), "2026");
            EXPECT_EQ(text("LabelMandant"), "Mandant 1");
        } else {
            EXPECT_EQ(text("Label_Einnahmen"), "");
        }
        EXPECT_EQ(ui.texts("message"),
                  f.stammdaten ? QStringList{kStammdatenFrage} : QStringList{});
        EXPECT_EQ(ui.pending(), 0u);
        EXPECT_TRUE(ui.texts("error").isEmpty());
    }
}

TEST_F(HauptfensterTest, WithoutAnySettingsRowCreationAsksForAYearFirst) {
    einnahme("120,00", "20,00");
    dm->db().execute("delete from T_Einstellungen");
    QStringList dialoge;
    ui.answerModal([&](QDialog& d) {
        dialoge << d.objectName();
        dm->einstellungAnlegen(m, z);
        return QDialog::Rejected;
    });
    erzeugen();
    EXPECT_EQ(ui.texts("message"), QStringList{"Sie müssen noch ein Wirtschaftsjahr anlegen"});
    EXPECT_EQ(dialoge, QStringList{"FormZeitraum"});
    EXPECT_EQ(zeilen("Grid_Ein"), 1);
    EXPECT_EQ(ui.pending(), 0u);
}

// At creation the year dialog is shown once; the refresh and its questions
// wait for the first showing.
TEST_F(HauptfensterTest, WithoutAnySettingsRowCreationShowsTheYearDialogOnly) {
    einnahme("120,00", "20,00");
    ganzerName("null");
    dm->db().execute("delete from T_Einstellungen");
    QStringList dialoge;
    modalMerken(dialoge);
    erzeugen();
    EXPECT_EQ(dialoge, QStringList{"FormZeitraum|Wirtschaftsjahre"});
    EXPECT_EQ(ui.texts("message"), QStringList{"Sie müssen noch ein Wirtschaftsjahr anlegen"});
    EXPECT_EQ(text("LabelJahr"), "");
    EXPECT_EQ(text("Label_Einnahmen"), "");
    EXPECT_EQ(zeilen("Grid_Ein"), 0);
    EXPECT_TRUE(ui.texts("error").isEmpty());
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(HauptfensterTest, TheFirstShowingRefreshesOnce) {
    einnahme("120,00", "20,00");
    erzeugen();
    ganzerName("null");
    ui.answerModal([](QDialog&) { return QDialog::Rejected; });
    form->show();
    form->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(text("Label_Einnahmen"), "120,00 €");
    EXPECT_EQ(ui.texts("message"), QStringList{kStammdatenFrage});
    form->hide();
    form->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(ui.texts("message").size(), 1) << "showing it again is no activation";
    form->hide();
}

TEST_F(HauptfensterTest, TotalsOfTheFixtureInGermanFormatsFitTheirLabels) {
    einnahme("1.234,50", "205,75");
    const int eu = buchung(m, z, "2026-03-01", "100,00", 20, bk, false, 1, 2);
    bewegung(m, eu, 1021, "20,00");
    bewegung(m, eu, 2021, "20,00");
    const int dritt = buchung(m, z, "2026-03-01", "50,00", 20, bk, false, 2, 1);
    bewegung(m, dritt, 3000, "50,00");
    ausgabe("12.345.678,90", "2.057.613,15");
    erzeugen().Berechne();
    EXPECT_EQ(summen(),
              QStringList({"1.234,50 €", "225,75 €", "12.345.778,90 €", "2.057.683,15 €"}));
    for (const char* name : {"Label_Einnahmen", "Label_Ust", "Label_Ausgaben", "Label_Vst"}) {
        QLabel* l = label(name);
        EXPECT_LE(QFontMetrics(l->font()).horizontalAdvance(l->text()), l->width()) << name;
    }
    EXPECT_EQ(label("Label_Einnahmen")->font().pointSize(), 12);
}

// A name that looks like markup is still shown as it was typed.
TEST_F(HauptfensterTest, TheClientsNameShowsExactlyAsStored) {
    const QString name = QStringLiteral("<b>Huber</b> &amp; Söhne");
    dm->db()
        .sql(QStringLiteral("update T_Mandant set Bezeichnung = :name where id = :id"))
        .bind("name", name)
        .bind("id", m)
        .exec();
    erzeugen().Berechne();
    QLabel* l = label("LabelMandant");
    EXPECT_EQ(l->text(), name);
    EXPECT_GE(l->sizeHint().width(), QFontMetrics(l->font()).horizontalAdvance(name))
        << "shown as plain text, not as markup";
}

TEST_F(HauptfensterTest, MasterDataPromptOncePerRefreshNeverNested) {
    ganzerName("null");
    erzeugen();
    int verschachtelt = 0;
    ui.answerModal([&](QDialog& d) {
        EXPECT_EQ(d.objectName(), "Stammdaten");
        // a refresh or activation while the dialog is open asks nothing
        form->AnzeigeAktualisieren();
        form->FormActivate();
        verschachtelt = static_cast<int>(ui.texts("message").size());
        return QDialog::Rejected;
    });
    form->AnzeigeAktualisieren();
    EXPECT_EQ(verschachtelt, 1);
    EXPECT_EQ(ui.texts("message"), QStringList{kStammdatenFrage});
    EXPECT_TRUE(wert("select GanzerName from T_Stammdaten").isNull()) << "cancel changes nothing";

    // asked again at the next refresh; entering the name ends the asking
    ui.answerModal([](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("DBEditGanzerName"))->setText("Max Muster");
        return QDialog::Accepted;
    });
    form->AnzeigeAktualisieren();
    EXPECT_EQ(ui.texts("message").size(), 2);
    EXPECT_EQ(wert("select GanzerName from T_Stammdaten").toString(), "Max Muster");
    form->AnzeigeAktualisieren();
    EXPECT_EQ(ui.texts("message").size(), 2);
    EXPECT_EQ(ui.pending(), 0u);
}

// A client without a master-data row has no name either; OK creates the row.
TEST_F(HauptfensterTest, AClientWithoutAMasterDataRowIsAskedForItToo) {
    dm->db().execute("delete from T_Stammdaten");
    erzeugen();
    ui.answerModal([](QDialog& d) {
        EXPECT_EQ(d.objectName(), "Stammdaten");
        d.findChild<QLineEdit*>(QStringLiteral("DBEditGanzerName"))->setText("Max Muster");
        return QDialog::Accepted;
    });
    form->AnzeigeAktualisieren();
    EXPECT_EQ(ui.texts("message"), QStringList{kStammdatenFrage});
    EXPECT_EQ(wert("select GanzerName from T_Stammdaten where mandant = " + QString::number(m))
                  .toString(),
              "Max Muster");
    form->AnzeigeAktualisieren();
    EXPECT_EQ(ui.texts("message").size(), 1);
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(HauptfensterTest, NestedRefreshOfTheYearCommandAsksForMasterDataOnce) {
    ganzerName("''");
    erzeugen();
    dm->db().execute("delete from T_Einstellungen");
    QStringList dialoge;
    ui.answerModal([&](QDialog& d) {
        dialoge << d.objectName();
        dm->ersterZeitraumAnlegen(m, 2027);
        return QDialog::Rejected;
    });
    modalMerken(dialoge);
    form->AnzeigeAktualisieren();
    EXPECT_EQ(dialoge, QStringList({"FormZeitraum", "Stammdaten|Stammdaten"}));
    EXPECT_EQ(ui.texts("message"), QStringList{kStammdatenFrage});
    EXPECT_EQ(text("LabelJahr"), "2027");
}

TEST_F(HauptfensterTest, BerechneAsksForAYearUntilTheClientHasOne) {
    einnahme("120,00", "20,00");
    erzeugen();
    dm->db().execute("delete from T_Einstellungen");
    int gefragt = 0;
    ui.answerModal([&](QDialog&) {
        ++gefragt;
        return QDialog::Rejected;
    });
    ui.answerModal([&](QDialog&) {
        ++gefragt;
        dm->einstellungAnlegen(m, z);
        return QDialog::Rejected;
    });
    form->Berechne();
    EXPECT_EQ(gefragt, 2);
    EXPECT_EQ(text("LabelJahr"), "2026");
    EXPECT_EQ(text("Label_Einnahmen"), "120,00 €");
    EXPECT_TRUE(ui.texts("error").isEmpty());
}

TEST_F(HauptfensterTest, FailuresKeepWhatTheWindowShowed) {
    einnahme("120,00", "20,00");
    erzeugen().AnzeigeAktualisieren();
    const QStringList vorher = summen();
    ASSERT_EQ(vorher[0], "120,00 €");

    // one failing query of four: no total changes
    einnahme("80,00", "13,33");
    dm->db().execute("alter table t_kontenbewegungen rename to t_weg");
    form->Berechne();
    EXPECT_EQ(ui.texts("error").size(), 1);
    EXPECT_EQ(summen(), vorher);
    dm->db().execute("alter table t_weg rename to t_kontenbewegungen");

    // a fiscal year that cannot be read stops the refresh before the lists
    dm->db().execute("delete from T_Zeitraum");
    form->AnzeigeAktualisieren();
    EXPECT_EQ(ui.texts("error").size(), 2);
    EXPECT_EQ(ui.texts("error").last(), "Das aktuelle Wirtschaftsjahr wurde nicht gefunden.");
    EXPECT_EQ(summen(), vorher);
    EXPECT_EQ(text("LabelJahr"), "2026");
    EXPECT_EQ(zeilen("Grid_Ein"), 1);
}

TEST_F(HauptfensterTest, EnterAnywhereStartsANewBookingThenReachesTheControl) {
    einnahme("120,00", "20,00");
    ausgabe("60,00", "10,00");
    erzeugen();
    QStringList log;
    Rekorder rekorder(log);
    struct Taste {
        QWidget* ziel;
        Qt::Key key;
        Qt::KeyboardModifiers mod;
    };
    QTableView* ein = grid("Grid_Ein");
    QTableView* aus = grid("Grid_Aus");
    QWidget* panel = form->findChild<QWidget*>(QStringLiteral("Panel1"));
    for (QWidget* w : {static_cast<QWidget*>(ein), static_cast<QWidget*>(aus), panel,
                       static_cast<QWidget*>(form.get())})
        w->installEventFilter(&rekorder);
    const std::vector<Taste> tasten = {
        {ein, Qt::Key_Return, Qt::NoModifier},
        {ein, Qt::Key_Return, Qt::ShiftModifier},
        {ein, Qt::Key_Return, Qt::ControlModifier},
        {aus, Qt::Key_Return, Qt::AltModifier},
        {aus, Qt::Key_Return, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier},
        {aus, Qt::Key_Enter, Qt::KeypadModifier},
        {panel, Qt::Key_Return, Qt::NoModifier},
        {form.get(), Qt::Key_Return, Qt::NoModifier},
    };
    for (const Taste& t : tasten) {
        SCOPED_TRACE(t.ziel->objectName().toStdString() + " " + std::to_string(t.mod.toInt()));
        log.clear();
        ui.answerModal([&log](QDialog& d) {
            log << d.windowTitle();
            return QDialog::Rejected;
        });
        QTest::keyClick(t.ziel, t.key, t.mod);
        ASSERT_GE(log.size(), 2);
        EXPECT_EQ(log[0], "Belegeingabe - Neue Buchung") << "never the selected booking";
        EXPECT_EQ(log[1], t.ziel->objectName() + ":" + QString::number(t.key, 16))
            << "the key goes on to the control after the window";
        EXPECT_EQ(ui.pending(), 0u);
    }
    // other keys and the menu bar start nothing
    log.clear();
    QTest::keyClick(ein, Qt::Key_A);
    QTest::keyClick(form->menuBar(), Qt::Key_Return);
    EXPECT_FALSE(log.contains("Belegeingabe - Neue Buchung"));
    EXPECT_EQ(anzahl("T_Buchungen"), 2);
}

TEST_F(HauptfensterTest, Label7MenuAndHeaderLabelsRunTheirCommands) {
    erzeugen();
    QStringList dialoge;
    for (int i = 0; i < 4; ++i)
        modalMerken(dialoge);
    QTest::mouseClick(label("Label7"), Qt::LeftButton);
    form->menuAction("Buchen1")->trigger();
    QTest::mouseClick(label("LabelJahr"), Qt::LeftButton);
    QTest::mouseClick(label("LabelMandant"), Qt::LeftButton);
    ASSERT_EQ(dialoge.size(), 4);
    EXPECT_EQ(dialoge[0], "FormBelegeingabe|Belegeingabe - Neue Buchung");
    EXPECT_EQ(dialoge[1], "FormBelegeingabe|Belegeingabe - Neue Buchung");
    EXPECT_TRUE(dialoge[2].startsWith("FormZeitraum|"));
    EXPECT_TRUE(dialoge[3].startsWith("Mandantenauswahl|"));
    EXPECT_EQ(ui.pending(), 0u);
}

TEST_F(HauptfensterTest, DoubleClickAndDelActOnTheCurrentRow) {
    einnahme("10,00", "1,67", "2026-05-01");
    const int zweite = einnahme("20,00", "3,33", "2026-04-01");
    erzeugen();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTableView* ein = grid("Grid_Ein");
    QString betrag;
    ui.answerModal([&](QDialog& d) {
        betrag = d.windowTitle() + "|" +
                 d.findChild<QLineEdit*>(QStringLiteral("DBEdit_Betrag"))->text();
        return QDialog::Rejected;
    });
    const QRect r = ein->visualRect(ein->model()->index(1, 2));
    QTest::mouseClick(ein->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(ein->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(betrag, "Belegeingabe - Buchung bearbeiten|20,00");
    EXPECT_EQ(*form->Query_Ein().buchungsid(ein->currentIndex().row()), zweite);

    ui.answerQuestion(UserSeam::No);
    ein->setFocus();
    QTest::keyClick(ein, Qt::Key_Delete);
    EXPECT_EQ(ui.texts("question"),
              QStringList{"Wollen Sie die ausgewählte Einnahme wirklich löschen?"});
    // the expense list is empty: neither key nor double-click does anything
    QTableView* aus = grid("Grid_Aus");
    QTest::keyClick(aus, Qt::Key_Delete);
    QTest::mouseDClick(aus->viewport(), Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(ui.texts("question").size(), 1);
    EXPECT_EQ(ui.texts("modal").size(), 1);
    EXPECT_EQ(anzahl("T_Buchungen"), 2);
    EXPECT_EQ(ui.pending(), 0u);
    form->hide();
}

// The lists' context menu, by mouse and by the menu key: "Stornieren".
TEST_F(HauptfensterTest, TheContextMenuStornosTheCurrentRow) {
    einnahme("10,00", "1,67", "2026-05-01");
    const int zweite = einnahme("20,00", "3,33", "2026-04-01");
    erzeugen();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTableView* ein = grid("Grid_Ein");
    ein->setFocus();
    QTest::keyClick(ein, Qt::Key_Down);
    ASSERT_EQ(*form->Query_Ein().buchungsid(ein->currentIndex().row()), zweite);

    // the menu key opens the menu; Enter takes its only item
    QTimer::singleShot(0, [] {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->objectName(), "KontextEin");
        QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
    });
    ui.answerInput(QStringLiteral("06.04.2026"));
    QContextMenuEvent taste(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            ein->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(ein, &taste);
    EXPECT_EQ(ui.texts("input"), QStringList{"Stornieren|Datum der Stornobuchung|10.12.2026"});
    ASSERT_EQ(zeilen("Grid_Ein"), 3);
    EXPECT_EQ(zelle("Grid_Ein", 1, 3), "-20,00");
    EXPECT_EQ(text("Label_Einnahmen"), "10,00 €");

    // an empty list offers nothing to storno
    auto menu = form->kontextMenue(false);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().front()->text(), "&Stornieren");
    EXPECT_FALSE(menu->actions().front()->isEnabled());
    EXPECT_EQ(ui.pending(), 0u);
    form->hide();
}

// The double-click has no key of its own; F2 on a grid does what it does.
TEST_F(HauptfensterTest, F2ChangesTheCurrentRowFromTheKeyboard) {
    einnahme("10,00", "1,67", "2026-05-01");
    einnahme("20,00", "3,33", "2026-04-01");
    ausgabe("30,00", "5,00");
    erzeugen();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QStringList bearbeitet;
    auto merken = [&](QDialog& d) {
        bearbeitet << d.windowTitle() + "|" +
                          d.findChild<QLineEdit*>(QStringLiteral("DBEdit_Betrag"))->text();
        return int(QDialog::Rejected);
    };
    ui.answerModal(merken);
    ui.answerModal(merken);
    QTableView* ein = grid("Grid_Ein");
    ein->setFocus();
    QTest::keyClick(ein, Qt::Key_Down);
    QTest::keyClick(ein, Qt::Key_F2);
    QTest::keyClick(grid("Grid_Aus"), Qt::Key_F2);
    EXPECT_EQ(bearbeitet, QStringList({"Belegeingabe - Buchung bearbeiten|20,00",
                                       "Belegeingabe - Buchung bearbeiten|30,00"}));

    // an empty list has nothing to change
    dm->db().execute("delete from T_Buchungen where IstEinnahme = 2");
    form->QueryAusRequery();
    QTest::keyClick(grid("Grid_Aus"), Qt::Key_F2);
    EXPECT_EQ(ui.texts("modal").size(), 2);
    EXPECT_EQ(ui.pending(), 0u);
    form->hide();
}

TEST_F(HauptfensterTest, DatenbankPruefenTellsASoundFileAndADamagedOne) {
    einnahme("10,00", "1,67");
    erzeugen();
    ui.clearShown();
    form->menuAction("Datenbankpruefen1")->trigger();
    EXPECT_EQ(ui.texts("message"), QStringList{"Die Datenbank ist in Ordnung."});
    // an index whose entries no longer match its table
    dm->db().execute("PRAGMA writable_schema = ON");
    dm->db().execute("update sqlite_master set sql = 'CREATE INDEX ix_buchungen_bk ON "
                     "T_Buchungen (mandant, Text)' where name = 'ix_buchungen_bk'");
    dm->db().execute("PRAGMA writable_schema = OFF");
    dm->ADO_VelmoraConnect();
    ui.clearShown();
    form->menuAction("Datenbankpruefen1")->trigger();
    ASSERT_EQ(ui.texts("error").size(), 1);
    EXPECT_TRUE(ui.texts("error").front().startsWith("Die Datenbank " +
                                                     QDir::toNativeSeparators(dbPath()) +
                                                     " ist beschädigt oder nicht lesbar: "))
        << ui.texts("error").front().toStdString();
}

TEST_F(HauptfensterTest, ARenamedCircleShowsInTheListsAfterTheCircleDialog) {
    einnahme("10,00", "1,67");
    erzeugen();
    ASSERT_EQ(zelle("Grid_Ein", 0, 5), "B");
    ui.answerModal([this](QDialog& d) {
        EXPECT_EQ(d.objectName(), "FormBuchungskreis");
        buchungskreise::aendern(*dm, bk, m, "Büro", "BX");
        return QDialog::Accepted;
    });
    form->menuAction("Buchungskreise1")->trigger();
    EXPECT_EQ(zelle("Grid_Ein", 0, 5), "BX");
    EXPECT_EQ(ui.pending(), 0u);
}

} // namespace

TEST_F(HauptfensterTest, ExportFinanzamtShowsTheChosenMonthsRowsInItsPreview) {
    einnahme("120", "20", "2026-02-10");
    einnahme("60", "10", "2026-03-10");
    erzeugen();
    EXPECT_EQ(form->DBGridExport1().Messages.Caption, QStringLiteral("Export Buchhaltung"));
    EXPECT_EQ(form->DBGridExport1().model(), &dm->Query_Export());
    // the month from the export dialog, which hides "Datenexport"
    ui.answerModal([&](QDialog& d) {
        auto& auswahl = dynamic_cast<TExportauswahl&>(d);
        EXPECT_TRUE(auswahl.CheckBox_export->isHidden());
        auswahl.RadioButton(2)->click();
        return QDialog::Accepted;
    });
    int zeilenInDerVorschau = -1;
    ui.answerModal([&](QDialog& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("Exportansicht"));
        zeilenInDerVorschau = form->Exportansicht().DBGrid_Finanzamt->model()->rowCount();
        return QDialog::Rejected;
    });
    form->menuAction("Finanzamt1")->trigger();
    EXPECT_EQ(zeilenInDerVorschau, 1);
    EXPECT_EQ(ui.pending(), 0u);
}
