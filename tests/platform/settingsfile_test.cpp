#include "platform/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray inhalt(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SettingsFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("velmora.ini"); }
};

TEST_F(SettingsFileTest, KeepsSectionNamesVerbatimAndWritesPlainPairs) {
    SettingsFile ini(path());
    ASSERT_TRUE(ini.writeString("Buchen Mandant 123456", "Belegdatum", "15.03.2024"));
    ASSERT_TRUE(ini.writeString("Einstellungen", "DesktopIcon", "true"));
    const QByteArray text = inhalt(path());
    EXPECT_TRUE(text.contains("[Buchen Mandant 123456]")) << text.constData();
    EXPECT_TRUE(text.contains("Belegdatum=15.03.2024")) << text.constData();
    EXPECT_TRUE(text.contains("DesktopIcon=true")) << text.constData();
    EXPECT_EQ(SettingsFile(path()).readString("Buchen Mandant 123456", "Belegdatum"), "15.03.2024");
}

TEST_F(SettingsFileTest, DefaultsForMissingFileSectionKeyAndUnreadableInteger) {
    SettingsFile ini(path());
    EXPECT_EQ(ini.readString("Einstellungen", "DesktopIcon", "false"), "false");
    EXPECT_EQ(ini.readInteger("Buchen Mandant 1", "Buchungskreis", 0), 0);
    ini.writeString("Buchen Mandant 1", "Buchungskreis", "abc");
    EXPECT_EQ(ini.readInteger("Buchen Mandant 1", "Buchungskreis", 0), 0);
    ini.writeString("Buchen Mandant 1", "Buchungskreis", "7");
    EXPECT_EQ(ini.readInteger("Buchen Mandant 1", "Buchungskreis", 0), 7);
}

TEST_F(SettingsFileTest, DeleteKeyAndEraseSectionLeaveOtherEntries) {
    SettingsFile ini(path());
    ini.writeString("Buchen Mandant 1", "Steuersatz", "20");
    ini.writeString("Buchen Mandant 1", "Buchungstext", "Miete");
    ini.writeString("Buchen Mandant 2", "Steuersatz", "10");
    ASSERT_TRUE(ini.deleteKey("Buchen Mandant 1", "Steuersatz"));
    EXPECT_FALSE(ini.hasKey("Buchen Mandant 1", "Steuersatz"));
    EXPECT_EQ(ini.readString("Buchen Mandant 1", "Buchungstext"), "Miete");
    ASSERT_TRUE(ini.eraseSection("Buchen Mandant 1"));
    EXPECT_FALSE(ini.hasKey("Buchen Mandant 1", "Buchungstext"));
    EXPECT_FALSE(inhalt(path()).contains("[Buchen Mandant 1]"));
    EXPECT_EQ(ini.readString("Buchen Mandant 2", "Steuersatz"), "10");
    // nothing to erase is not a failure
    EXPECT_TRUE(ini.eraseSection("Buchen Mandant 99"));
}

TEST_F(SettingsFileTest, UmlautsAndEqualsSignsSurvive) {
    SettingsFile ini(path());
    ini.writeString("Buchen Mandant 1", "Buchungstext", "Büromiete = März");
    EXPECT_EQ(SettingsFile(path()).readString("Buchen Mandant 1", "Buchungstext"),
              "Büromiete = März");
}

TEST_F(SettingsFileTest, UnwritableFileReportsFailure) {
    // a directory where the file should be: no write can succeed, even as root
    QDir().mkdir(path());
    SettingsFile ini(path());
    EXPECT_FALSE(ini.writeString("A", "b", "c"));
    EXPECT_EQ(ini.readString("A", "b", "default"), "default");
}

} // namespace

namespace {

// A file that cannot be read is never rewritten from the little that could
// be read: that would replace every other entry with one key.
TEST_F(SettingsFileTest, AnUnreadableFileIsLeftUntouchedAndReportedOnce) {
    const QByteArray unlesbar =
        QByteArrayLiteral("[Einstellungen]\r\nDesktopIcon=true\r\nText=\xff\xfe\x00kaputt\r\n");
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(unlesbar);
    }
    SettingsFile ini(path());
    QStringList meldungen;
    ini.setProblemReporter([&](const QString& text) { meldungen << text; });
    EXPECT_FALSE(ini.writeString("Buchen Mandant 1", "Steuersatz", "20"));
    EXPECT_FALSE(ini.deleteKey("Einstellungen", "DesktopIcon"));
    EXPECT_FALSE(ini.eraseSection("Einstellungen"));
    EXPECT_EQ(inhalt(path()), unlesbar);
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_TRUE(meldungen.front().startsWith(
        "Die Einstellungsdatei " + QDir::toNativeSeparators(path()) +
        " kann nicht gelesen werden und wird deshalb nicht geändert: "))
        << meldungen.front().toStdString();

    // a directory in the file's place cannot be read either
    QFile::remove(path());
    ASSERT_TRUE(QDir().mkpath(path()));
    SettingsFile ordner(path());
    EXPECT_FALSE(ordner.writeString("Einstellungen", "DesktopIcon", "true"));
    EXPECT_TRUE(QFileInfo(path()).isDir());

    // a missing file is simply new
    SettingsFile neu(dir.filePath("neu.ini"));
    EXPECT_TRUE(neu.writeString("Einstellungen", "DesktopIcon", "true"));
}

} // namespace
