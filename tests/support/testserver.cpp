#include "testserver.h"

#include "data/db.h"
#include "sicherung/aktualisierung.h"

#include <QCoreApplication>
#include <QDateTime>
#include <memory>

namespace testserver {

namespace {

QString basis() {
    return qEnvironmentVariable("VELMORA_TEST_DB");
}

QString eigenerName() {
    return QStringLiteral("velmora_t%1").arg(QCoreApplication::applicationPid());
}

serverziel::Ziel zielFuer(const QString& datenbank) {
    QString fehler;
    auto z = serverziel::lesen(basis(), &fehler);
    if (!z)
        throw DatenbankFehler(fehler);
    z->datenbank = datenbank;
    return *z;
}

} // namespace

bool aktiv() {
    return !basis().isEmpty();
}

QString url() {
    const serverziel::Ziel z = zielFuer(eigenerName());
    return QStringLiteral("postgresql://%1@/%2?host=%3").arg(z.benutzer, z.datenbank, z.host);
}

bool& angelegt() {
    static bool ja = false;
    return ja;
}

void aufraeumen() {
    if (!aktiv() || !angelegt())
        return;
    Datenbank verwaltung(QStringLiteral("testserver_verwaltung"));
    verwaltung.openServer(zielFuer(QStringLiteral("postgres")));
    verwaltung.execute(
        QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(eigenerName()));
    angelegt() = false;
}

serverziel::Ziel leereDatenbank() {
    if (!angelegt()) {
        Datenbank verwaltung(QStringLiteral("testserver_verwaltung"));
        verwaltung.openServer(zielFuer(QStringLiteral("postgres")));
        verwaltung.execute(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(eigenerName()));
        verwaltung.execute(QStringLiteral("CREATE DATABASE %1").arg(eigenerName()));
        angelegt() = true;
    }
    const serverziel::Ziel ziel = zielFuer(eigenerName());
    Datenbank db(QStringLiteral("testserver_schema"));
    db.openServer(ziel);
    db.execute(QStringLiteral("DROP SCHEMA IF EXISTS public CASCADE"));
    db.execute(QStringLiteral("CREATE SCHEMA public"));
    return ziel;
}

serverziel::Ziel frischeDatenbank() {
    const serverziel::Ziel ziel = leereDatenbank();
    Datenbank db(QStringLiteral("testserver_schema"));
    db.openServer(ziel);
    aktualisierung::serverAktualisieren(db, QDateTime::currentDateTime());
    return ziel;
}

} // namespace testserver
