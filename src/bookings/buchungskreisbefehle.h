#pragma once

struct Umgebung;
class QWidget;

// "Verwalten" → "Buchungskreise": the circle list of the current client.
class BuchungskreisBefehle {
public:
    BuchungskreisBefehle(Umgebung& umgebung, QWidget* parent);

    void Buchungskreise1Click();

private:
    Umgebung& m_umgebung;
    QWidget* m_parent;
};
