#include "app/tform_velmora.h"
#include "desktop/desktopverknuepfung.h"
#include "desktop/taboutbox.h"
#include "fixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

namespace dv = desktopverknuepfung;

QString lesen(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(DesktopIcon, TheFirstStartFlag) {
    const struct {
        const char* zeile; // the settings file's line, none when empty
        bool erstellt;
        const char* danach;
    } faelle[] = {
        {"DesktopIcon=false", true, "true"},
        {"", true, "true"},
        {"DesktopIcon=False", false, "False"},
        {"DesktopIcon=true", false, "true"},
    };
    for (const auto& fall : faelle) {
        QTemporaryDir dir;
        const QString pfad = dir.filePath("velmora.ini");
        {
            QFile f(pfad);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("[Einstellungen]\n") + fall.zeile + "\n[Buchen Mandant 7]\nBK=3\n");
        }
        SettingsFile ini(pfad);
        int erstellt = 0;
        dv::beimErstenStart(ini, [&] { ++erstellt; });
        EXPECT_EQ(erstellt, fall.erstellt ? 1 : 0) << fall.zeile;
        EXPECT_EQ(ini.readString("Einstellungen", "DesktopIcon"), fall.danach) << fall.zeile;
        EXPECT_EQ(ini.readString("Buchen Mandant 7", "BK"), "3");
    }
}

TEST(DesktopIcon, ADesktopThatCannotBeWrittenStillSetsTheFlag) {
    QTemporaryDir dir;
    // a file where the desktop directory should be: it cannot be created
    QFile(dir.filePath("Desktop")).open(QIODevice::WriteOnly);
    SettingsFile ini(dir.filePath("velmora.ini"));
    bool gemacht = true;
    dv::beimErstenStart(ini, [&] { gemacht = dv::erstellen(dir.filePath("Desktop"), "/opt/v"); });
    EXPECT_FALSE(gemacht);
    EXPECT_EQ(ini.readString("Einstellungen", "DesktopIcon"), "true");
    EXPECT_FALSE(dv::erstellen(QString(), "/opt/v"));
}

TEST(DesktopIcon, TheLauncherIsWrittenExecutableAndReplaced) {
    QTemporaryDir dir;
    const QString desktop = dir.filePath("Schreib tisch/neu");
    ASSERT_TRUE(dv::erstellen(desktop, "/opt/Velmora Programm"));
    const QString launcher = desktop + "/Velmora.desktop";
    EXPECT_EQ(lesen(launcher), "[Desktop Entry]\n"
                               "Type=Application\n"
                               "Version=1.0\n"
                               "Name=Velmora\n"
                               "Comment=Velmora\n"
                               "Exec=\"/opt/Velmora Programm/velmora\"\n"
                               "Path=/opt/Velmora Programm/\n"
                               "Icon=/opt/Velmora Programm/velmora.png\n"
                               "Terminal=false\n");
    EXPECT_TRUE(QFileInfo(launcher).isExecutable());

    // a second time replaces it, and nothing else stays behind
    ASSERT_TRUE(dv::erstellen(desktop, "/usr/local/velmora/"));
    EXPECT_TRUE(lesen(launcher).contains("\nExec=/usr/local/velmora/velmora\n"));
    EXPECT_EQ(QDir(desktop).entryList(QDir::Files | QDir::Hidden), QStringList{"Velmora.desktop"});
}

TEST(DesktopIcon, ExecIsQuotedAsDesktopEntriesRequire) {
    const struct {
        const char* programm;
        const char* exec;
    } faelle[] = {
        {"/opt/velmora", "Exec=/opt/velmora/velmora"},
        {"/home/eva/Büro", "Exec=/home/eva/Büro/velmora"},
        {"/opt/a$b", "Exec=\"/opt/a\\\\$b/velmora\""},
        {"/opt/\"x\"", "Exec=\"/opt/\\\\\"x\\\\\"/velmora\""},
        {"/opt/100%", "Exec=/opt/100%%/velmora"},
    };
    for (const auto& fall : faelle)
        EXPECT_TRUE(dv::eintrag(QString::fromUtf8(fall.programm))
                        .split('\n')
                        .contains(QString::fromUtf8(fall.exec)))
            << dv::eintrag(QString::fromUtf8(fall.programm)).toStdString();
}

// The main window with the desktop of the tests (a temporary directory).
class DesktopFenster : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant();
        desktop = dv::desktopVerzeichnis();
        ASSERT_FALSE(desktop.startsWith(QDir::homePath())) << "tests never use the real desktop";
        QFile::remove(launcher());
    }
    QString launcher() const { return desktop + "/Velmora.desktop"; }
    QString desktop;
};

TEST_F(DesktopFenster, TheFirstStartMakesTheLauncherOnceAndTheMenuOnRequest) {
    {
        TForm_Velmora form(*umgebung);
        EXPECT_TRUE(QFile::exists(launcher()));
        EXPECT_EQ(ini->readString("Einstellungen", "DesktopIcon"), "true");
    }
    QFile::remove(launcher());
    TForm_Velmora form(*umgebung);
    EXPECT_FALSE(QFile::exists(launcher())) << "a deleted launcher does not come back";

    QAction* item = form.menuAction("Iconerstellen1");
    ASSERT_TRUE(item->isEnabled());
    ui.answerQuestion(UserSeam::Cancel);
    item->trigger();
    ASSERT_EQ(ui.texts("question"), QStringList{"Wollen sie einen Icon auf dem Desktop erstellen"});
    EXPECT_FALSE(QFile::exists(launcher()));

    ui.answerQuestion(UserSeam::Ok);
    item->trigger();
    EXPECT_TRUE(QFile::exists(launcher()));
    EXPECT_EQ(ui.texts("message").size(), 0) << "no message follows";
    EXPECT_TRUE(lesen(launcher())
                    .contains("\nExec=" + QCoreApplication::applicationDirPath() + "/velmora\n"));
}

TEST_F(DesktopFenster, TheAboutBoxShowsTheBuildsVersionAndOpensTheLinks) {
    TForm_Velmora form(*umgebung);
    QAction* item = form.menuAction("berVelmora1");
    ASSERT_TRUE(item->isEnabled());
    QStringList geoeffnet;
    QString version;
    QStringList texte;
    ui.answerModal([&](QDialog& d) {
        auto& box = dynamic_cast<TAboutBox&>(d);
        box.setOeffnen([&](const QUrl& url) { geoeffnet << url.toString(); });
        box.show();
        version = box.Version->text();
        EXPECT_EQ(box.windowTitle(), "Info");
        EXPECT_TRUE(box.OKButton->isDefault());
        for (const QLabel* l : box.findChildren<QLabel*>())
            if (l->isVisible())
                texte << l->text();
        // the shipped file has no addresses: no link is shown or opened
        EXPECT_FALSE(box.Label4->isVisible());
        EXPECT_FALSE(box.Label6->isVisible());
        emit box.Label4->linkActivated(QString());
        emit box.Label6->linkActivated(QString());
        QTest::mouseClick(box.Logo, Qt::LeftButton);
        box.OKButton->click();
        return box.result();
    });
    item->trigger();
    EXPECT_EQ(version, "Version: " VELMORA_TEST_VERSION);
    EXPECT_EQ(geoeffnet, QStringList());
    const QString alle = texte.join('|');
    EXPECT_TRUE(alle.contains("Entwickelt von Tarnholt")) << alle.toStdString();
    EXPECT_TRUE(alle.contains("Velmora – Buchhaltung für Einnahmen-Ausgaben-Rechner"))
        << alle.toStdString();
    for (const char* platzhalter : {"example", "Muster", "wird beim Vertrieb", "000 00"})
        EXPECT_FALSE(alle.contains(QString::fromUtf8(platzhalter))) << platzhalter;
}

TEST_F(DesktopFenster, TheAboutBoxReadsTheMakersFileBesideTheProgram) {
    QTemporaryDir dir;
    const QString datei = dir.filePath(Hersteller::dateiName());
    {
        QFile f(datei);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(R"({"firma": "Beispiel GmbH", "telefon": "Tel.: 01 234",
                    "email": "hilfe@beispiel.at", "web": "https://beispiel.at/velmora"})");
    }
    const Hersteller h = Hersteller::laden(datei);
    EXPECT_EQ(h.firma, "Beispiel GmbH");
    EXPECT_EQ(h.ansprechperson, "");
    TAboutBox box(nullptr, h);
    QStringList geoeffnet;
    box.setOeffnen([&](const QUrl& url) { geoeffnet << url.toString(); });
    box.show();
    EXPECT_TRUE(box.Label4->isVisible());
    EXPECT_TRUE(box.Label6->isVisible());
    emit box.Label4->linkActivated(QString());
    emit box.Label6->linkActivated(QString());
    QTest::mouseClick(box.Logo, Qt::LeftButton);
    EXPECT_EQ(geoeffnet, QStringList({"mailto:hilfe@beispiel.at", "https://beispiel.at/velmora",
                                      "https://beispiel.at/velmora"}));
    // a file that cannot be read: the copy built into the program
    EXPECT_EQ(Hersteller::laden(dir.filePath("fehlt.json")).firma, "Tarnholt");
    // the file the build lays beside the program is the one shipped
    EXPECT_EQ(
        Hersteller::laden(QStringLiteral(VELMORA_BUILD_DIR "/hersteller.json")).ansprechperson,
        "Velmora – Buchhaltung für Einnahmen-Ausgaben-Rechner");
}

} // namespace
