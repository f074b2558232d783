#include "stammdatenfixture.h"

#include "masterdata/dblookuplistbox.h"
#include "masterdata/mandanten.h"
#include "masterdata/mandantenbefehle.h"
#include "masterdata/tmandantenauswahl.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <functional>

namespace {

const QString kDoppelt = QStringLiteral("Es gibt bereits einen Mandanten mit dieser Bezeichnung!");
const QString kAktiv = QStringLiteral(
    "Der aktive Mandant kann nicht gelöscht werden. \rBitte zuerst mit Doppelklick den "
    "Mandanten wechseln. \rDanach den zu löschenden Mandanten markieren.");

QString frage1(const QString& name) {
    return "Soll der Mandant: \r\r" + name + "\r\rwirklich gelöscht werden?";
}
QString frage2(const QString& name) {
    return "Soll der Mandant: \r\r" + name +
           "\r\rwirklich endgültig gelöscht werden?\rEs gibt kein Rückgängig!!!";
}
QString geloescht(const QString& name) {
    return "Der Mandant: \r" + name + "\rwurde vollständig gelöscht!?";
}

} // namespace

class MandantenTest : public StammdatenFixture {
protected:
    void SetUp() override {
        StammdatenFixture::SetUp();
        befehle = std::make_unique<MandantenBefehle>(*umgebung, *fenster);
        beta = *mandanten::anlegen(*dm, QStringLiteral("Beta")).id;
    }
    void TearDown() override {
        befehle.reset();
        StammdatenFixture::TearDown();
    }

    // Opens the client list, marks `markiert` and runs `handlung` in it.
    void inDerListe(std::optional<int> markiert, std::function<void(TMandantenauswahl&)> handlung) {
        ui.answerModal([=](QDialog& d) {
            auto& liste = dynamic_cast<TMandantenauswahl&>(d);
            if (markiert)
                liste.DBLookupListBox1->setKeyValue(*markiert);
            handlung(liste);
            return int(QDialog::Rejected);
        });
        befehle->Mandanten1Click();
    }

    std::unique_ptr<MandantenBefehle> befehle;
    int beta = -1;
};

TEST_F(MandantenTest, FlowsOfTheClientList) {
    enum Aktion { Neu, Umbenennen, Loeschen, Wechseln };
    struct Fluss {
        const char* name;
        Aktion aktion;
        bool betaMarkiert; // otherwise the current client Alpha
        std::vector<std::optional<QString>> eingaben;
        std::vector<UserSeam::Button> antworten;
        QStringList fragen;
        QStringList meldungen;
        QStringList namenDanach;
        QString aktivDanach;
    };
    const QString emoji = QString::fromUtf8("Bäckerei \"Zum 'Kipferl'\" 🥐");
    const QString lang = QString(500, QChar(u'ß'));
    const std::vector<Fluss> fluesse = {
        {"create", Neu, false, {"Gamma"}, {}, {}, {}, {"Alpha", "Beta", "Gamma"}, "Alpha"},
        {"create cancelled", Neu, false, {std::nullopt}, {}, {}, {}, {"Alpha", "Beta"}, "Alpha"},
        {"create empty", Neu, false, {""}, {}, {}, {}, {"Alpha", "Beta"}, "Alpha"},
        {"create duplicate", Neu, false, {"Beta"}, {}, {}, {kDoppelt}, {"Alpha", "Beta"}, "Alpha"},
        {"create differs in case",
         Neu,
         false,
         {"beta"},
         {},
         {},
         {},
         {"Alpha", "Beta", "beta"},
         "Alpha"},
        {"create with trailing blank",
         Neu,
         false,
         {"Beta "},
         {},
         {},
         {},
         {"Alpha", "Beta", "Beta "},
         "Alpha"},
        {"create quotes and emoji",
         Neu,
         false,
         {emoji},
         {},
         {},
         {},
         {"Alpha", "Beta", emoji},
         "Alpha"},
        {"create 500 characters", Neu, false, {lang}, {}, {}, {}, {"Alpha", "Beta", lang}, "Alpha"},
        {"rename", Umbenennen, true, {"Delta"}, {}, {}, {}, {"Alpha", "Delta"}, "Alpha"},
        {"rename to own name",
         Umbenennen,
         true,
         {"Beta"},
         {},
         {},
         {kDoppelt},
         {"Alpha", "Beta"},
         "Alpha"},
        {"rename to another's name",
         Umbenennen,
         true,
         {"Alpha"},
         {},
         {},
         {kDoppelt},
         {"Alpha", "Beta"},
         "Alpha"},
        {"rename cancelled",
         Umbenennen,
         true,
         {std::nullopt},
         {},
         {},
         {},
         {"Alpha", "Beta"},
         "Alpha"},
        {"rename empty", Umbenennen, true, {""}, {}, {}, {}, {"Alpha", "Beta"}, "Alpha"},
        {"rename the current client",
         Umbenennen,
         false,
         {"Älpha"},
         {},
         {},
         {},
         {"Älpha", "Beta"},
         "Älpha"},
        {"delete the current client",
         Loeschen,
         false,
         {},
         {},
         {},
         {kAktiv},
         {"Alpha", "Beta"},
         "Alpha"},
        {"delete, first No",
         Loeschen,
         true,
         {},
         {UserSeam::No},
         {frage1("Beta")},
         {},
         {"Alpha", "Beta"},
         "Alpha"},
        {"delete, second No",
         Loeschen,
         true,
         {},
         {UserSeam::Yes, UserSeam::No},
         {frage1("Beta"), frage2("Beta")},
         {},
         {"Alpha", "Beta"},
         "Alpha"},
        {"delete",
         Loeschen,
         true,
         {},
         {UserSeam::Yes, UserSeam::Yes},
         {frage1("Beta"), frage2("Beta")},
         {geloescht("Beta")},
         {"Alpha"},
         "Alpha"},
        // Beta has no year yet: it is asked for once the list closes
        {"switch", Wechseln, true, {"2027"}, {}, {}, {}, {"Alpha", "Beta"}, "Beta"},
        {"switch to the current client",
         Wechseln,
         false,
         {},
         {},
         {},
         {},
         {"Alpha", "Beta"},
         "Alpha"},
    };

    for (const Fluss& f : fluesse) {
        SCOPED_TRACE(f.name);
        neueDatenbank();
        ersterMandant(QStringLiteral("Alpha"), 2026);
        fenster = std::make_unique<FakeHauptfenster>(*dm);
        befehle = std::make_unique<MandantenBefehle>(*umgebung, *fenster);
        beta = *mandanten::anlegen(*dm, QStringLiteral("Beta")).id;
        for (const auto& e : f.eingaben)
            ui.answerInput(e);
        for (UserSeam::Button b : f.antworten)
            ui.answerQuestion(b);

        const int markiert = f.betaMarkiert ? beta : dm->gibMandant();
        inDerListe(markiert, [&](TMandantenauswahl& liste) {
            switch (f.aktion) {
            case Neu:
                liste.Mandant_NeuClick();
                break;
            case Umbenennen:
                liste.Mandant_BearbeitenClick();
                break;
            case Loeschen:
                liste.BitBtn1Click();
                break;
            case Wechseln:
                liste.DBLookupListBox1DblClick();
                break;
            }
        });

        EXPECT_EQ(ui.texts("question"), f.fragen);
        EXPECT_EQ(meldungen(), f.meldungen);
        EXPECT_TRUE(ui.texts("error").isEmpty());
        EXPECT_EQ(ui.pending(), 0u);
        EXPECT_EQ(namen(), f.namenDanach);
        EXPECT_EQ(dm->gibMandantName(dm->gibMandant()), f.aktivDanach);
        EXPECT_EQ(anzahl("T_Mandant", "Aktiv = 1"), 1);
        // master-data rows stay with deleted clients and come with each new one
        const bool neuAngelegt = f.aktion == Neu && f.namenDanach.size() == 3;
        EXPECT_EQ(anzahl("T_Stammdaten"), neuAngelegt ? 3 : 2);
        ASSERT_EQ(fenster->anzeigen.size(), 1u);
        EXPECT_EQ(fenster->anzeigen[0].mandant, f.aktivDanach);
        ui.clearShown();
    }
}

TEST_F(MandantenTest, ListShowsAndMarksTheCurrentClientAndAsksWithThePresets) {
    ui.answerInput(QStringLiteral("Gamma"));
    ui.answerInput(std::nullopt);
    inDerListe(beta, [&](TMandantenauswahl& liste) {
        EXPECT_EQ(liste.windowTitle(), "Mandanten");
        EXPECT_EQ(liste.Label_Mandant->text(), "Alpha");
        EXPECT_EQ(liste.Mandant_Neu->text(), "Neuen Mandant\nanlegen");
        EXPECT_EQ(liste.Mandant_Bearbeiten->text(), "Markierten Mandant\nbearbeiten");
        EXPECT_EQ(liste.BitBtn1->text(), "Markierten Mandant löschen");
        EXPECT_EQ(liste.Schliessen->text(), "S&chließen");
        EXPECT_EQ(liste.DBLookupListBox1->keyValue(), beta);
        liste.Mandant_NeuClick();
        // the new client is listed; the current one is marked again
        EXPECT_EQ(liste.DBLookupListBox1->model()->rowCount(), 3);
        EXPECT_EQ(liste.DBLookupListBox1->keyValue(), dm->gibMandant());
        liste.DBLookupListBox1->setKeyValue(idVon("Gamma"));
        EXPECT_EQ(liste.DBLookupListBox1->markedText(), "Gamma");
        liste.Mandant_BearbeitenClick();
    });
    EXPECT_EQ(
        ui.texts("input"),
        QStringList({"Neuer Mandant|Bezeichnung des Mandanten|Bezeichnung des neuen Mandanten",
                     "Mandant umbenennen|Bezeichnung des Mandanten|Gamma"}));
    EXPECT_EQ(anzahl("T_Mandant", "Aktiv = 0"), 2);
    EXPECT_EQ(anzahl("T_Zeitraum"), 1);
    EXPECT_EQ(anzahl("T_Einstellungen"), 1);
}

TEST_F(MandantenTest, NothingMarkedDoesNothing) {
    inDerListe(std::nullopt, [&](TMandantenauswahl& liste) {
        liste.DBLookupListBox1->setKeyValue(std::nullopt);
        liste.Mandant_BearbeitenClick();
        liste.BitBtn1Click();
        liste.DBLookupListBox1DblClick();
    });
    EXPECT_TRUE(ui.texts("input").isEmpty());
    EXPECT_TRUE(ui.texts("question").isEmpty());
    EXPECT_TRUE(meldungen().isEmpty());
    EXPECT_EQ(namen(), QStringList({"Alpha", "Beta"}));
    EXPECT_EQ(dm->gibMandantName(dm->gibMandant()), "Alpha");
}

TEST_F(MandantenTest, NewClientGetsItsFirstYearOnlyWhenCurrentAndTheListCloses) {
    ui.answerInput(QStringLiteral("Neu"));
    inDerListe(std::nullopt, [&](TMandantenauswahl& liste) {
        liste.Mandant_NeuClick();
        const int neu = idVon("Neu");
        EXPECT_EQ(wert(QStringLiteral("select Aktiv from T_Mandant where id = %1").arg(neu)), 0);
        EXPECT_EQ(anzahl("T_Stammdaten", QStringLiteral("mandant = %1").arg(neu)), 1);
    });
    const int neu = idVon("Neu");
    // closing the list asks nothing: the current client Alpha has its year
    EXPECT_EQ(ui.pending(), 0u);
    EXPECT_TRUE(jahre(neu).isEmpty());
    EXPECT_EQ(anzahl("T_Einstellungen", QStringLiteral("mandant = %1").arg(neu)), 0);

    ui.clearShown();
    for (const auto& antwort :
         std::vector<std::optional<QString>>{std::nullopt, "zwanzig", std::nullopt, "2031"})
        ui.answerInput(antwort);
    inDerListe(neu, [&](TMandantenauswahl& liste) {
        liste.DBLookupListBox1DblClick();
        EXPECT_EQ(liste.Label_Mandant->text(), "Neu");
        EXPECT_EQ(dm->gibMandant(), neu);
        EXPECT_EQ(dm->stammdatenFilter(), neu);
        EXPECT_TRUE(jahre(neu).isEmpty());
        EXPECT_EQ(ui.pending(), 4u);
    });
    const QString frage = QStringLiteral("Neues Wirtschaftsjahr|Jahreszahl (zb: 2008)|2026");
    EXPECT_EQ(ui.texts("input"), QStringList({frage, frage, frage, frage}));
    EXPECT_EQ(meldungen(), QStringList({"Geben sie das Jahr bitte 4-stellig an!"}));
    EXPECT_EQ(jahre(neu), QList<int>({2031}));
    EXPECT_EQ(dm->gibJahr(), 2031);
    EXPECT_EQ(dm->QueryZeitraum().rowCount(), 1);
    ASSERT_FALSE(fenster->anzeigen.empty());
    EXPECT_EQ(fenster->anzeigen.back().mandant, "Neu");
    EXPECT_EQ(fenster->anzeigen.back().jahr, 2031);

    // back to Alpha: it keeps its year and nothing is asked
    ui.clearShown();
    inDerListe(idVon("Alpha"), [](TMandantenauswahl& l) { l.DBLookupListBox1DblClick(); });
    EXPECT_TRUE(ui.texts("input").isEmpty());
    EXPECT_EQ(fenster->anzeigen.back().mandant, "Alpha");
    EXPECT_EQ(fenster->anzeigen.back().jahr, 2026);
    EXPECT_EQ(jahre(neu), QList<int>({2031}));
}

TEST_F(MandantenTest, DeletingAClientKeepsBookingsPostingsAndMasterData) {
    const int alpha = idVon("Alpha");
    const int jahrBeta = dm->ersterZeitraumAnlegen(beta, 2026);
    const int bk = kreis(beta, "Erlöse", "E");
    const int b = buchung(beta, jahrBeta, "2026-03-01", "120,00", 20, bk, true);
    bewegung(beta, b, 1020, "20,00");
    Stammdaten sd;
    sd.mandant = beta;
    sd.GanzerName = "Beta GmbH";
    dm->stammdatenSpeichern(sd);
    const int bkAlpha = kreis(alpha, "Erlöse", "E");
    const int bAlpha = buchung(alpha, dm->gibZeitraum(), "2026-03-01", "60,00", 20, bkAlpha, true);
    bewegung(alpha, bAlpha, 1020, "10,00");
    ini->writeString(TDM_EinAus::buchenAbschnitt(beta), "Steuersatz", "20");
    ini->writeString(TDM_EinAus::buchenAbschnitt(alpha), "Steuersatz", "10");
    ini->writeString("Einstellungen", "DesktopIcon", "true");

    ui.answerQuestion(UserSeam::Yes);
    ui.answerQuestion(UserSeam::Yes);
    inDerListe(beta, [](TMandantenauswahl& l) { l.BitBtn1Click(); });

    EXPECT_EQ(meldungen(), QStringList({geloescht("Beta")}));
    const QString vonBeta = QStringLiteral("mandant = %1").arg(beta);
    EXPECT_EQ(anzahl("T_Mandant", QStringLiteral("id = %1").arg(beta)), 0);
    EXPECT_EQ(anzahl("T_BKreis", vonBeta), 0);
    EXPECT_EQ(anzahl("T_Zeitraum", vonBeta), 0);
    EXPECT_EQ(anzahl("T_Einstellungen", vonBeta), 0);
    EXPECT_EQ(anzahl("T_Buchungen", vonBeta), 1);
    EXPECT_EQ(anzahl("t_kontenbewegungen", vonBeta), 1);
    EXPECT_EQ(wert("select GanzerName from T_Stammdaten where " + vonBeta), "Beta GmbH");
    // the other client is untouched
    const QString vonAlpha = QStringLiteral("mandant = %1").arg(alpha);
    EXPECT_EQ(anzahl("T_BKreis", vonAlpha), 1);
    EXPECT_EQ(anzahl("T_Buchungen", vonAlpha), 1);
    EXPECT_EQ(anzahl("t_kontenbewegungen", vonAlpha), 1);
    EXPECT_EQ(anzahl("T_Zeitraum", vonAlpha), 1);
    EXPECT_EQ(anzahl("T_Einstellungen", vonAlpha), 1);
    // its section is gone, the rest of the file stays
    EXPECT_FALSE(ini->hasKey(TDM_EinAus::buchenAbschnitt(beta), "Steuersatz"));
    EXPECT_EQ(ini->readString(TDM_EinAus::buchenAbschnitt(alpha), "Steuersatz"), "10");
    EXPECT_EQ(ini->readString("Einstellungen", "DesktopIcon"), "true");
    EXPECT_EQ(dm->Table_Mandant().rowCount(), 1);
}

TEST_F(MandantenTest, ASettingsFileThatCannotBeChangedDoesNotStopTheDeletion) {
    // A name at the length limit leaves no room for the temporary file beside it,
    // so the file can be read but not replaced, even by root.
    const QString gesperrt = dir() + QString(255, QLatin1Char('x'));
    enum Datei { Fehlt, OhneAbschnitt, NichtBeschreibbar };
    struct Fall {
        const char* name;
        Datei datei;
        bool hinweis;
    };
    const Fall faelle[] = {{"missing", Fehlt, false},
                           {"without the section", OhneAbschnitt, false},
                           {"not writable", NichtBeschreibbar, true}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        neueDatenbank();
        ersterMandant(QStringLiteral("Alpha"), 2026);
        fenster = std::make_unique<FakeHauptfenster>(*dm);
        beta = *mandanten::anlegen(*dm, QStringLiteral("Beta")).id;
        QString pfad = dir() + QStringLiteral("fehlt.ini");
        QByteArray inhalt;
        if (f.datei == OhneAbschnitt) {
            pfad = dir() + QStringLiteral("andere.ini");
            inhalt = "[Einstellungen]\r\nDesktopIcon=true\r\n";
        } else if (f.datei == NichtBeschreibbar) {
            pfad = gesperrt;
            inhalt = "[Buchen Mandant " + QByteArray::number(beta) + "]\r\nSteuersatz=20\r\n";
        }
        if (!inhalt.isEmpty()) {
            QFile datei(pfad);
            ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
            datei.write(inhalt);
        }
        ini = std::make_unique<SettingsFile>(pfad);
        umgebung = std::make_unique<Umgebung>(Umgebung{*dm, ui, *ini, clock});
        befehle = std::make_unique<MandantenBefehle>(*umgebung, *fenster);

        ui.answerQuestion(UserSeam::Yes);
        ui.answerQuestion(UserSeam::Yes);
        inDerListe(beta, [](TMandantenauswahl& l) { l.BitBtn1Click(); });

        EXPECT_EQ(namen(), QStringList({"Alpha"}));
        EXPECT_EQ(meldungen(), QStringList{geloescht("Beta")});
        if (f.hinweis)
            EXPECT_EQ(ui.texts("error"),
                      QStringList{
                          mandanten::meldungEinstellungenNichtGeschrieben(pfad, ini->lastError())});
        else
            EXPECT_TRUE(ui.texts("error").isEmpty());
        if (f.datei == Fehlt) {
            EXPECT_FALSE(QFile::exists(pfad));
        }
        if (f.datei == OhneAbschnitt) {
            QFile datei(pfad);
            ASSERT_TRUE(datei.open(QIODevice::ReadOnly));
            EXPECT_EQ(datei.readAll(), inhalt);
        }
        ui.clearShown();
    }
}

TEST_F(MandantenTest, AFailedDeletionShowsTheErrorAndChangesNothing) {
    dm->ersterZeitraumAnlegen(beta, 2026);
    kreis(beta, "Erlöse", "E");
    ini->writeString(TDM_EinAus::buchenAbschnitt(beta), "Steuersatz", "20");
    dm->db().execute("create trigger sperre before delete on T_Zeitraum "
                     "begin select raise(abort, 'gesperrt'); end");

    ui.answerQuestion(UserSeam::Yes);
    ui.answerQuestion(UserSeam::Yes);
    inDerListe(beta, [](TMandantenauswahl& l) { l.BitBtn1Click(); });

    // the trigger's text follows the German sentence, never alone
    EXPECT_EQ(ui.texts("error"),
              QStringList({"Die Änderung verletzt eine Regel der Datenbank " + dm->db().path() +
                           " und wurde nicht gespeichert. Bitte prüfen Sie die Eingaben. "
                           "(gesperrt)"}));
    EXPECT_TRUE(meldungen().isEmpty());
    EXPECT_EQ(namen(), QStringList({"Alpha", "Beta"}));
    EXPECT_EQ(anzahl("T_BKreis", QStringLiteral("mandant = %1").arg(beta)), 1);
    EXPECT_EQ(anzahl("T_Einstellungen", QStringLiteral("mandant = %1").arg(beta)), 1);
    EXPECT_EQ(ini->readString(TDM_EinAus::buchenAbschnitt(beta), "Steuersatz"), "20");
}

TEST_F(MandantenTest, OperationsRefuseUnknownClientsAndKeepTheCurrentOne) {
    const int unbekannt = 4711;
    EXPECT_EQ(mandanten::wechseln(*dm, unbekannt), mandanten::meldungUnbekannt());
    EXPECT_EQ(mandanten::umbenennen(*dm, unbekannt, "X"), mandanten::meldungUnbekannt());
    EXPECT_EQ(mandanten::loeschenVerweigert(*dm, unbekannt), mandanten::meldungUnbekannt());
    EXPECT_EQ(mandanten::loeschenVerweigert(*dm, dm->gibMandant()), kAktiv);
    EXPECT_EQ(mandanten::loeschenVerweigert(*dm, beta), std::nullopt);
    EXPECT_EQ(mandanten::anlegen(*dm, "").meldung, "Geben sie bitte eine Mandantenbezeichnung an.");
    EXPECT_EQ(dm->gibMandantName(dm->gibMandant()), "Alpha");
    EXPECT_EQ(namen(), QStringList({"Alpha", "Beta"}));
}
