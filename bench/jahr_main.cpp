// velmora-jahr N DIR: a generated year of N bookings in DIR/Velmora_tab.mdb,
// for timing the program and velmora-cli by hand.
#include "jahrgenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    bool ok = false;
    const int n = a.size() == 3 ? a[1].toInt(&ok) : 0;
    if (!ok || n < 0) {
        std::fprintf(stderr, "velmora-jahr N DIR\n");
        return 2;
    }
    try {
        QDir().mkpath(a[2]);
        jahrgenerator::erzeugen(QStringLiteral(VELMORA_TEMPLATE_PATH),
                                QDir(a[2]).filePath(QStringLiteral("Velmora_tab.mdb")), n);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
