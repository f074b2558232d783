// The updater Velmora runs at start-up while a template database lies beside
// the working one. It has nothing to update yet, so it leaves both files as
// they are and ends at once: start-up then goes on with the working database.
#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return 0;
}
