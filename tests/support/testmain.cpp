#include "toolkit/fokusstil.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // the tests build real widgets without a display
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // as the program itself shows the focus
    fokusSichtbarMachen();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
