#include "app/startup.h"
#include "app/tform_velmora.h"
#include "app/velmoraapp.h"
#include "data/dm_einaus.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "platform/scripteduserseam.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// A program directory with a stub updater that records how it was started.
class StartupFiles : public ::testing::Test {
protected:
    void SetUp() override {
        pfad = startup::ProgrammPfad(dir.filePath("velmora"));
        QFile stub(pfad + startup::updaterFileName());
        ASSERT_TRUE(stub.open(QIODevice::WriteOnly));
        // sleeps first, so a caller that did not wait finds no record
        stub.write("#!/bin/sh\nsleep 0.2\n{ echo \"$0\"; echo \"$#\"; pwd; } > updater-ran.txt\n");
        stub.close();
        QFile::setPermissions(stub.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner);
    }
    void place(const QString& name) {
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_TEMPLATE_PATH), pfad + name));
    }
    QStringList updaterRecord() const {
        QFile f(pfad + "updater-ran.txt");
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    QStringList databases() const {
        return QDir(pfad).entryList({"*.mdb"}, QDir::Files, QDir::Name);
    }

    QTemporaryDir dir;
    QString pfad;
};

TEST_F(StartupFiles, ProgrammPfadEndsWithASeparator) {
    EXPECT_EQ(startup::ProgrammPfad("/opt/velmora/velmora"), "/opt/velmora/");
    EXPECT_TRUE(pfad.endsWith('/'));
}

TEST_F(StartupFiles, FirstStartRenamesTheTemplateAndRunsNoUpdater) {
    place("Velmora_neu.mdb");
    const auto v = startup::DatenbankDateienVorbereiten(pfad);
    EXPECT_TRUE(v.renamed);
    EXPECT_FALSE(v.updaterRan);
    EXPECT_EQ(databases(), QStringList{"Velmora_tab.mdb"});
    EXPECT_TRUE(updaterRecord().isEmpty());
}

TEST_F(StartupFiles, TemplateBesideTheWorkingDatabaseRunsTheUpdaterAndWaits) {
    place("Velmora_tab.mdb");
    place("Velmora_neu.mdb");
    const auto v = startup::DatenbankDateienVorbereiten(pfad);
    EXPECT_FALSE(v.renamed);
    EXPECT_TRUE(v.updaterRan);
    const QStringList record = updaterRecord();
    ASSERT_EQ(record.size(), 3) << "start-up must wait until the updater has ended";
    EXPECT_EQ(record[0], pfad + startup::updaterFileName());
    EXPECT_EQ(record[1], "0") << "the empty parameter adds no argument";
    EXPECT_EQ(QDir(record[2]).canonicalPath(), QDir(pfad).canonicalPath());
    EXPECT_EQ(process::commandLine(pfad + startup::updaterFileName(), QString()),
              "\"" + pfad + "check_update\" ");
    EXPECT_EQ(databases(), QStringList({"Velmora_neu.mdb", "Velmora_tab.mdb"}));
}

TEST_F(StartupFiles, FileNamesInOtherCasesAreTheSameFiles) {
    const struct {
        QStringList vorher;
        bool umbenannt;
        bool updater;
        QStringList nachher;
    } faelle[] = {
        // the user's data stays the working database; the template waits for the updater
        {{"velmora_TAB.mdb", "Velmora_neu.mdb"},
         false,
         true,
         {"Velmora_neu.mdb", "velmora_TAB.mdb"}},
        {{"VELMORA_TAB.MDB", "velmora_NEU.mdb"},
         false,
         true,
         {"VELMORA_TAB.MDB", "velmora_NEU.mdb"}},
        {{"velmora_tab.mdb"}, false, false, {"velmora_tab.mdb"}},
        // a template in another case is still the template
        {{"velmora_neu.mdb"}, true, false, {"Velmora_tab.mdb"}},
        {{"VELMORA_NEU.MDB"}, true, false, {"Velmora_tab.mdb"}},
    };
    for (const auto& fall : faelle) {
        const QString name = fall.vorher.join(QLatin1Char(' '));
        for (const QString& db : databases())
            QFile::remove(pfad + db);
        QFile::remove(pfad + "updater-ran.txt");
        for (const QString& datei : fall.vorher)
            place(datei);
        const auto v = startup::DatenbankDateienVorbereiten(pfad);
        EXPECT_EQ(v.renamed, fall.umbenannt) << name.toStdString();
        EXPECT_EQ(v.updaterRan, fall.updater) << name.toStdString();
        EXPECT_EQ(!updaterRecord().isEmpty(), fall.updater) << name.toStdString();
        EXPECT_EQ(databases(), fall.nachher) << name.toStdString();
    }
}

TEST_F(StartupFiles, NormalStartAndNoFilesAtAllDoNothing) {
    EXPECT_FALSE(startup::DatenbankDateienVorbereiten(pfad).renamed);
    EXPECT_TRUE(databases().isEmpty());
    place("Velmora_tab.mdb");
    const auto v = startup::DatenbankDateienVorbereiten(pfad);
    EXPECT_FALSE(v.renamed);
    EXPECT_FALSE(v.updaterRan);
    EXPECT_TRUE(updaterRecord().isEmpty());
}

TEST_F(StartupFiles, ApplicationWithoutDatabaseShowsTheErrorAndStops) {
    FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    ScriptedUserSeam ui;
    VelmoraApp app(pfad, pfad, ui, clock);
    EXPECT_FALSE(app.starten());
    ASSERT_EQ(ui.texts("error").size(), 1);
    EXPECT_TRUE(
        ui.texts("error")[0].startsWith("Die Datenbank velmora_tab.mdb wurde im Verzeichnis"));
    EXPECT_TRUE(databases().isEmpty());
}

TEST_F(StartupFiles, FirstStartEndsInTheMainWindowWithItsMenus) {
    place("Velmora_neu.mdb");
    startup::DatenbankDateienVorbereiten(pfad);
    FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    ScriptedUserSeam ui;
    ui.answerInput(QStringLiteral("Mandant 1"));
    ui.answerInput(QStringLiteral("2026"));
    VelmoraApp app(pfad, pfad, ui, clock);
    ASSERT_TRUE(app.starten());
    EXPECT_EQ(app.DM_EinAus().gibJahr(), 2026);
    TForm_Velmora& form = app.Form_Velmora();
    EXPECT_EQ(form.windowTitle(), "Tarnholt :: Velmora");
    for (const char* name :
         {"Datei1", "Beenden1", "Buchen1", "Verwalten1", "Stammdaten1", "Mandanten1",
          "Wirtschaftsjahrauswhlen1", "Buchungskreise1", "Iconerstellen1", "Auswerten1",
          "USTVerprobung1", "Journal1", "BuchungskreisAuswertung1", "BuchungskreisDetails1",
          "Plus_Minus", "Export1", "Finanzamt1", "Info1", "berVelmora1"}) {
        QAction* a = form.menuAction(QLatin1String(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_TRUE(a->isVisible()) << name;
    }
    for (const char* name : {"N2", "MandantImportieren1"}) {
        QAction* a = form.menuAction(QLatin1String(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_FALSE(a->isVisible()) << name;
    }
    // every item can be chosen
    for (const char* name :
         {"Beenden1", "Buchen1", "Stammdaten1", "Mandanten1", "Wirtschaftsjahrauswhlen1",
          "Buchungskreise1", "Datenbankpruefen1", "Iconerstellen1", "USTVerprobung1", "Journal1",
          "BuchungskreisAuswertung1", "BuchungskreisDetails1", "Plus_Minus", "Finanzamt1",
          "berVelmora1"})
        EXPECT_TRUE(form.menuAction(QLatin1String(name))->isEnabled()) << name;
    QAction* kontoauszug = form.menuAction(QStringLiteral("KontoauszugImportieren1"));
    ASSERT_NE(kontoauszug, nullptr);
    EXPECT_TRUE(kontoauszug->isVisible() && kontoauszug->isEnabled());
    EXPECT_EQ(kontoauszug->text(), "&Kontoauszug importieren…");
    EXPECT_EQ(form.menuAction("Buchen1")->text(), "&Buchen");
    EXPECT_EQ(form.menuAction("berVelmora1")->text(), "Über &Velmora");
}

TEST_F(StartupFiles, ClosingTheMainWindowStartsTheBackupWithoutWaiting) {
    place("Velmora_tab.mdb");
    FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    ScriptedUserSeam ui;
    ui.answerInput(QStringLiteral("Mandant 1"));
    ui.answerInput(QStringLiteral("2026"));
    // the program runs in its own directory
    struct Arbeitsverzeichnis {
        explicit Arbeitsverzeichnis(const QString& dir) { QDir::setCurrent(dir); }
        ~Arbeitsverzeichnis() { QDir::setCurrent(vorher); }
        QString vorher = QDir::currentPath();
    } wd(pfad);
    VelmoraApp app(pfad, pfad, ui, clock);
    ASSERT_TRUE(app.starten());
    app.Form_Velmora().show();

    const QString backup = pfad + startup::backupFileName();
    {
        QFile stub(backup);
        ASSERT_TRUE(stub.open(QIODevice::WriteOnly));
        stub.write("#!/bin/sh\nsleep 1\npwd > backup-ran.txt\n");
    }
    QFile::setPermissions(backup,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QElapsedTimer timer;
    timer.start();
    app.Form_Velmora().close();
    EXPECT_LT(timer.elapsed(), 900) << "closing must not wait for the backup";
    QFile ran(pfad + "backup-ran.txt");
    for (int i = 0; i < 50 && !ran.exists(); ++i)
        QThread::msleep(100);
    ASSERT_TRUE(ran.open(QIODevice::ReadOnly));
    EXPECT_EQ(QDir(QString::fromUtf8(ran.readAll()).trimmed()).canonicalPath(),
              QDir(pfad).canonicalPath());

    // a missing backup program ends the program all the same, asking
    // nothing; the next start says so in the status bar
    QFile::remove(backup);
    EXPECT_EQ(app.Form_Velmora().StatusDatensicherung()->text(), "");
    app.Form_Velmora().show();
    const int gezeigt = ui.shown().size();
    app.Form_Velmora().close();
    EXPECT_FALSE(app.Form_Velmora().isVisible());
    EXPECT_EQ(ui.shown().size(), gezeigt);
    VelmoraApp naechster(pfad, pfad, ui, clock);
    ASSERT_TRUE(naechster.starten());
    const QString hinweis = naechster.Form_Velmora().StatusDatensicherung()->text();
    EXPECT_TRUE(hinweis.startsWith("Die Datensicherung vom 10.12.2026 09:00 ist fehlgeschlagen: "
                                   "Das Programm datensicherung wurde nicht gefunden"))
        << hinweis.toStdString();
}

TEST_F(StartupFiles, TheBackupIsFoundBesideTheProgramWhenTheWorkingDirectoryHasNone) {
    place("Velmora_tab.mdb");
    FixedClock clock(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    ScriptedUserSeam ui;
    ui.answerInput(QStringLiteral("Mandant 1"));
    ui.answerInput(QStringLiteral("2026"));
    struct Arbeitsverzeichnis {
        explicit Arbeitsverzeichnis(const QString& dir) { QDir::setCurrent(dir); }
        ~Arbeitsverzeichnis() { QDir::setCurrent(vorher); }
        QString vorher = QDir::currentPath();
    } wd(pfad);
    // the program lies elsewhere, with its backup beside it
    QTemporaryDir programm;
    const QString daneben = startup::ProgrammPfad(programm.filePath("velmora"));
    {
        QFile stub(daneben + startup::backupFileName());
        ASSERT_TRUE(stub.open(QIODevice::WriteOnly));
        stub.write("#!/bin/sh\npwd > backup-ran.txt\n");
    }
    QFile::setPermissions(daneben + startup::backupFileName(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    VelmoraApp app(daneben, pfad, ui, clock);
    ASSERT_TRUE(app.starten());
    app.Form_Velmora().show();
    app.Form_Velmora().close();
    QFile ran(pfad + "backup-ran.txt");
    for (int i = 0; i < 50 && !ran.exists(); ++i)
        QThread::msleep(100);
    ASSERT_TRUE(ran.open(QIODevice::ReadOnly)) << "started in the working directory";
    EXPECT_EQ(QDir(QString::fromUtf8(ran.readAll()).trimmed()).canonicalPath(),
              QDir(pfad).canonicalPath());
}

} // namespace
