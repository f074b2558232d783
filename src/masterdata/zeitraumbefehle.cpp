#include "masterdata/zeitraumbefehle.h"

#include "masterdata/tformzeitraum.h"
#include "platform/userseam.h"
#include "toolkit/hauptfenster.h"
#include "toolkit/umgebung.h"

ZeitraumBefehle::ZeitraumBefehle(Umgebung& umgebung, Hauptfenster& hauptfenster)
    : m_umgebung(umgebung), m_hauptfenster(hauptfenster), m_ablauf(umgebung) {}

void ZeitraumBefehle::Wirtschaftsjahrauswhlen1Click() {
    FormZeitraumZeigen();
    m_hauptfenster.AnzeigeAktualisieren();
}

void ZeitraumBefehle::FormZeitraumZeigen() {
    TFormZeitraum dialog(m_umgebung, m_ablauf, m_hauptfenster.widget());
    dialog.FormActivate();
    m_umgebung.ui.runModal(dialog);
}
