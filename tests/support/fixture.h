#pragma once

#include "data/dm_einaus.h"
#include "platform/clock.h"
#include "platform/scripteduserseam.h"
#include "platform/settingsfile.h"
#include "testserver.h"
#include "toolkit/umgebung.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>

// A copy of a working database in a directory of its own with its own data
// module: the same writes done two ways are then compared table by table.
struct Datenbankkopie {
    Datenbankkopie(const QString& quelle, const Clock& clock);
    QTemporaryDir dir;
    ScriptedUserSeam ui;
    std::unique_ptr<TDM_EinAus> dm;
};

// Every row of a table in the order of its first column, one text per row
// with the columns separated by '|' and NULL as "NULL".
QStringList zeilenAlsText(Datenbank& db, const QString& tabelle);

// A fresh working database from the template in a temporary directory, a
// fixed clock (10.12.2026 10:00) and the scripted user. `dm` is connected but
// holds no client until `ersterMandant` or the test's own DataModuleCreate.
class VelmoraFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString dir() const { return m_dir.path() + QLatin1Char('/'); }
    QString dbPath() const { return dir() + QStringLiteral("Velmora_tab.mdb"); }
    // Copies the template to Velmora_tab.mdb and opens a data module on it.
    void neueDatenbank();
    // Another data module on the same books (a second program, a second clerk);
    // connected when verbinden.
    std::unique_ptr<TDM_EinAus> weiteresModul(UserSeam& u, bool verbinden = true);
    // Runs DataModuleCreate answering the two questions: a client and a year.
    void ersterMandant(const QString& name = QStringLiteral("Mandant 1"), int jahr = 2026);

    // Test data straight into the database.
    int kreis(int mandant, const QString& name, const QString& kurz);
    int buchung(int mandant, int zeitraum, const QString& datum, const QString& betrag, int satz,
                int bk, bool einnahme, int eu = 2, int dritt = 2, int beleg = 0);
    void bewegung(int mandant, int buchung, int konto, const QString& betrag);

    // A test-only trigger that makes every art ("INSERT", "DELETE", "UPDATE")
    // on tabelle fail with "Schreibfehler", in the syntax of the books' engine.
    void schreibfehler(const QString& tabelle, const QString& art = QStringLiteral("INSERT"),
                       const QString& name = QStringLiteral("kaputt"));
    void schreibfehlerWeg(const QString& name = QStringLiteral("kaputt"));

    // One value of a single-row query; invalid QVariant when no row.
    QVariant wert(const QString& sql);
    int anzahl(const QString& table, const QString& where = QString());

    QTemporaryDir m_dir;
    std::optional<serverziel::Ziel> m_server;
    std::map<QString, QString>
        m_schreibfehler; // trigger → table // the books on the test server, if any
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(10, 0))};
    ScriptedUserSeam ui;
    std::unique_ptr<SettingsFile> ini;
    std::unique_ptr<TDM_EinAus> dm;
    std::unique_ptr<Umgebung> umgebung;
};
