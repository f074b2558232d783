#include "clirunner.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(CliSicherung, PrintsTheVerifiedCopyOrTheReason) {
    CliRunner cli;
    const CliErgebnis ohne = cli.run({"sicherung"});
    EXPECT_EQ(ohne.status, 1);
    EXPECT_TRUE(ohne.err.startsWith("Die Datenbank Velmora_tab.mdb wurde im Verzeichnis"))
        << ohne.err.toStdString();

    cli.ok({"init", "--mandant", "Huber KG", "--jahr", "2026"});
    const QString ordner = QDir(cli.dir()).filePath("Datensicherung");
    EXPECT_EQ(cli.ok({"sicherung"}), ordner + "/Velmora_tab_2026-12-10_000000.mdb\n");
    EXPECT_EQ(cli.ok({"sicherung"}), ordner + "/Velmora_tab_2026-12-10_000000_2.mdb\n");
    EXPECT_EQ(cli.run({"sicherung", "jetzt"}).status, 2);

    // a damaged working database: status 1, the reason, the copies untouched
    {
        QFile f(QDir(cli.dir()).filePath("Velmora_tab.mdb"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.resize(f.size() - 1024);
    }
    const CliErgebnis kaputt = cli.run({"sicherung"});
    EXPECT_EQ(kaputt.status, 1);
    EXPECT_TRUE(kaputt.err.contains("ist beschädigt oder nicht lesbar"))
        << kaputt.err.toStdString();
    EXPECT_EQ(
        QDir(ordner).entryList({"*.mdb"}, QDir::Files, QDir::Name),
        QStringList({"Velmora_tab_2026-12-10_000000.mdb", "Velmora_tab_2026-12-10_000000_2.mdb"}));
    EXPECT_TRUE(QFile::exists(ordner + "/datensicherung.log"));
}

} // namespace
