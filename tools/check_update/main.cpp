// The updater Velmora runs at start-up, and waits for, while a template
// database lies beside the working one: it adds what the template has and
// the working database lacks, after a backup, and removes the template. A
// failure leaves both files as they were, is logged in "Datensicherung" and
// ends with status 1.
#include "data/db.h"
#include "sicherung/aktualisierung.h"
#include "sicherung/datensicherung.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString dir = QDir::currentPath();
    const QDateTime jetzt = QDateTime::currentDateTime();
    QString fehler;
    try {
        const aktualisierung::Ergebnis e = aktualisierung::aktualisieren(dir, jetzt);
        if (e.vorlageGefunden)
            Datensicherung(dir).protokollieren(jetzt, aktualisierung::bericht(e));
        return 0;
    } catch (const DatenbankFehler& e) {
        fehler = e.text();
    } catch (const std::exception& e) {
        fehler = QString::fromLocal8Bit(e.what());
    }
    Datensicherung(dir).protokollieren(
        jetzt, QStringLiteral("Aktualisierung nach der Vorlage fehlgeschlagen: ") + fehler);
    std::fprintf(stderr, "%s\n", fehler.toLocal8Bit().constData());
    return 1;
}
