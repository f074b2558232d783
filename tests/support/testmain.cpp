#include "testserver.h"
#include "toolkit/fokusstil.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // the tests build real widgets without a display
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Windows made in tests put their desktop launcher here, never on the
    // desktop of the user who runs them; programs the tests start inherit it.
    QTemporaryDir xdg;
    {
        QFile dirs(xdg.filePath(QStringLiteral("user-dirs.dirs")));
        if (dirs.open(QIODevice::WriteOnly))
            dirs.write("XDG_DESKTOP_DIR=\"" + QFile::encodeName(xdg.filePath("Schreibtisch")) +
                       "\"\n");
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(xdg.path()));
    QApplication app(argc, argv);
    // as the program itself shows the focus
    fokusSichtbarMachen();
    ::testing::InitGoogleTest(&argc, argv);
    const int ergebnis = RUN_ALL_TESTS();
    try {
        testserver::aufraeumen();
    } catch (const std::exception&) {
        // the cluster goes at the end of the run anyway
    }
    return ergebnis;
}
