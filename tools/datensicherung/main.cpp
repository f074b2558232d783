// The backup Velmora starts when its main window closes. The copying arrives
// with its own change; until then it ends at once without touching anything.
#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return 0;
}
