#include "app/startup.h"
#include "app/tform_velmora.h"
#include "app/velmoraapp.h"
#include "desktop/taboutbox.h"
#include "platform/clock.h"
#include "toolkit/fokusstil.h"
#include "toolkit/qtuserseam.h"
#include "toolkit/uebersetzung.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setWindowIcon(programmIcon());
    // the standard dialogs in German, as every text of the program
    const QtUebersetzung uebersetzung;
    fokusSichtbarMachen();

    const QString programmPfad = startup::ProgrammPfad(QCoreApplication::applicationFilePath());
    const startup::Vorbereitung vorbereitet = startup::DatenbankDateienVorbereiten(programmPfad);

    QtUserSeam ui;
    if (!vorbereitet.fehler.isEmpty())
        ui.error(vorbereitet.fehler);
    SystemClock clock;
    VelmoraApp velmora(programmPfad, QDir::currentPath(), ui, clock);
    // velmora --db postgresql://user@host/velmora: an office's books on a server
    std::optional<QString> db;
    const QStringList argumente = QCoreApplication::arguments();
    for (qsizetype i = 1; i + 1 < argumente.size(); ++i) {
        if (argumente[i] == QLatin1String("--db"))
            db = argumente[i + 1];
    }
    if (!velmora.starten(db))
        return 1;
    ui.setParent(&velmora.Form_Velmora());
    velmora.Form_Velmora().show();
    return QApplication::exec();
}
