#pragma once

#include <QObject>

class Hauptfenster;
class QWidget;
struct Umgebung;

// "Datei > Kontoauszug importieren…": file, profile for a CSV file, the
// preview, then the booking with a progress bar and the result message.
class KontoauszugBefehl final : public QObject {
    Q_OBJECT
public:
    KontoauszugBefehl(Umgebung& umgebung, Hauptfenster& fenster, QWidget* parent);

    void KontoauszugImportieren1Click();

private:
    Umgebung& m_umgebung;
    Hauptfenster& m_fenster;
    QWidget* m_parent;
};
