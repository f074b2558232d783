// The backup Velmora starts when its main window closes: a verified copy of
// the working database in its working directory goes into the folder
// "Datensicherung"; a failure is logged there, kept for Velmora's next start,
// and ends with status 1.
#include "data/db.h"
#include "sicherung/datensicherung.h"
#include "sicherung/sicherungsstatus.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Datensicherung sicherung(QDir::currentPath());
    const QDateTime jetzt = QDateTime::currentDateTime();
    QString fehler;
    try {
        sicherung.sichern(jetzt);
        sicherungsstatus::merken(QDir::currentPath(), jetzt, QString());
        return 0;
    } catch (const DatenbankFehler& e) {
        fehler = e.text();
    } catch (const std::exception& e) {
        fehler = QString::fromLocal8Bit(e.what());
    }
    sicherung.protokollieren(jetzt, fehler);
    sicherungsstatus::merken(QDir::currentPath(), jetzt, fehler);
    std::fprintf(stderr, "%s\n", fehler.toLocal8Bit().constData());
    return 1;
}
