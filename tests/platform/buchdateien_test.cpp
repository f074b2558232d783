#include "platform/buchdateien.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Ort {
    QTemporaryDir arbeit;
    QTemporaryDir programm;
    buchdateien::Orte orte{arbeit.path(), programm.path()};

    Ort() {
        QFile db(arbeit.filePath("Velmora_tab.mdb"));
        EXPECT_TRUE(db.open(QIODevice::WriteOnly));
        QDir(arbeit.path()).mkdir("Datensicherung");
    }
};

TEST(Buchdateien, RefusesTheBooksFilesByNameLinkAndCase) {
    Ort o;
    const QString a = o.arbeit.path();
    const QString p = o.programm.path();
    QFile::link(a + "/Velmora_tab.mdb", a + "/verweis.pdf");
    QDir(a).mkdir("unter");
    QFile::link(a, a + "/unter/zurueck");

    struct Fall {
        QString ziel;
        bool geschuetzt;
    };
    const Fall faelle[] = {
        {a + "/Velmora_tab.mdb", true},
        {a + "/velmora_TAB.MDB", true},
        {a + "/unter/../Velmora_tab.mdb", true},
        {a + "/unter/zurueck/Velmora_tab.mdb", true},
        {a + "/verweis.pdf", true},
        {a + "/Velmora_tab.mdb-journal", true},
        {a + "/velmora_tab.mdb-WAL", true},
        {a + "/Velmora_neu.mdb", true}, // not there now, still the template's name
        {a + "/velmora.ini", true},
        {p + "/Velmora.INI", true},
        {p + "/velmora-cli", true},
        {p + "/check_update", true},
        {a + "/datensicherung", true},
        {a + "/Datensicherung/Velmora_tab_2026.mdb", true},
        {a + "/DATENSICHERUNG/neu/x.pdf", true},
        {p + "/Datensicherung/x.csv", true},
        {a + "/Verprobung.pdf", false},
        {a + "/unter/Velmora_tab.mdb", false},
        {a + "/Velmora_tab.mdb.pdf", false},
        {a + "/Datensicherung.pdf", false},
        {QString(), false},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(buchdateien::gehoertZuDenBuechern(f.ziel, o.orte), f.geschuetzt)
            << f.ziel.toStdString();
}

TEST(Buchdateien, RelativeNamesCountFromTheCurrentDirectory) {
    Ort o;
    const QString vorher = QDir::currentPath();
    QDir::setCurrent(o.arbeit.path());
    const bool datenbank = buchdateien::gehoertZuDenBuechern("Velmora_tab.mdb", o.orte);
    const bool bericht = buchdateien::gehoertZuDenBuechern("bericht.pdf", o.orte);
    QDir::setCurrent(vorher);
    EXPECT_TRUE(datenbank);
    EXPECT_FALSE(bericht);
}

} // namespace
