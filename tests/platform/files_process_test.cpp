#include "platform/files.h"
#include "platform/process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(Files, FindsNamesWithoutRegardToCaseButNotHiddenOrDirectories) {
    QTemporaryDir dir;
    touch(dir.filePath("Velmora_tab.mdb"));
    EXPECT_EQ(files::findCaseInsensitive(dir.path(), "velmora_tab.mdb"),
              dir.filePath("Velmora_tab.mdb"));
    EXPECT_EQ(files::findCaseInsensitive(dir.path(), "VELMORA_TAB.MDB"),
              dir.filePath("Velmora_tab.mdb"));
    EXPECT_TRUE(files::findCaseInsensitive(dir.path(), "velmora_neu.mdb").isEmpty());

    QDir(dir.path()).mkdir("velmora_neu.mdb");
    EXPECT_TRUE(files::findCaseInsensitive(dir.path(), "velmora_neu.mdb").isEmpty());
    EXPECT_FALSE(files::exists(dir.path(), "velmora_neu.mdb"));
    touch(dir.filePath(".versteckt"));
    EXPECT_FALSE(files::exists(dir.path(), ".versteckt"));
    EXPECT_TRUE(files::exists(dir.path(), "Velmora_tab.mdb"));
    EXPECT_FALSE(files::exists(dir.path(), "velmora_tab.mdb")) << "exists() wants the exact name";
}

TEST(Process, CommandLineQuotesTheFileAndKeepsTheTrailingBlank) {
    EXPECT_EQ(process::commandLine("/opt/velmora/check_update", ""),
              "\"/opt/velmora/check_update\" ");
    EXPECT_EQ(process::commandLine("/a b/x", "-q"), "\"/a b/x\" -q");
}

TEST(Process, StartAndWaitRunsInTheFilesDirectoryAndWaits) {
    QTemporaryDir dir;
    const QString script = dir.filePath("stub");
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nsleep 0.3\npwd > ran.txt\necho \"$#\" >> ran.txt\n");
    }
    QFile::setPermissions(script,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(process::startAndWait(script, QString()));
    QFile ran(dir.filePath("ran.txt"));
    ASSERT_TRUE(ran.open(QIODevice::ReadOnly)) << "the caller must have waited for the program";
    const QStringList lines = QString::fromUtf8(ran.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(QDir(lines[0]).canonicalPath(), QDir(dir.path()).canonicalPath());
    EXPECT_EQ(lines[1], "0");
    EXPECT_FALSE(process::startAndWait(dir.filePath("fehlt"), QString()));
}

} // namespace
