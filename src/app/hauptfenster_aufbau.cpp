// The controls of TForm_Velmora at their designed places.
#include "app/klicklabel.h"
#include "app/tform_velmora.h"
#include "data/buchungsliste.h"
#include "data/dm_einaus.h"
#include "toolkit/gridspalten.h"
#include "toolkit/umgebung.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <algorithm>

static_assert(Buchungsliste::GesperrtRole == AusgegrautRole, "locked bookings are drawn grey");

namespace {

const QColor kNavy(0x00, 0x00, 0x80);
const QColor kGruen(0x00, 0x80, 0x00);
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kPurpur(0x80, 0x00, 0x80);

QFont schrift(const QStringList& familien, int punkte, bool fett) {
    QFont f;
    f.setFamilies(familien);
    f.setPointSize(punkte);
    f.setBold(fett);
    return f;
}

// The designed fonts are MS Sans Serif and Arial; Arial, or its metric twin
// Liberation Sans, keeps the designed sizes on every system.
QFont arial(int punkte, bool fett) {
    return schrift({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}, punkte, fett);
}

QFont arial12Fett() {
    return arial(12, true);
}

void faerben(QWidget* w, const QColor& farbe) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, farbe);
    w->setPalette(p);
}

template <class L = QLabel>
L* label(QWidget* parent, const char* name, int x, int y, const QString& text = QString()) {
    auto* l = new L(parent);
    l->setObjectName(QLatin1String(name));
    l->setText(text);
    l->move(x, y);
    l->adjustSize();
    return l;
}

void fett(QLabel* l) {
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->adjustSize();
}

// A total: 110 pixels wide, right-aligned, Arial 12 pt bold.
QLabel* summe(QWidget* parent, const char* name, int x, int y) {
    QLabel* l = label(parent, name, x, y);
    l->setFont(arial12Fett());
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setGeometry(x, y, 110, l->fontMetrics().height() + 2);
    return l;
}

QFrame* panel(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* p = new QFrame(parent);
    p->setObjectName(QLatin1String(name));
    p->setFrameStyle(QFrame::Panel | QFrame::Raised);
    p->setGeometry(x, y, w, h);
    return p;
}

QTableView* listenGrid(QWidget* parent, const char* name) {
    auto* g = new QTableView(parent);
    g->setObjectName(QLatin1String(name));
    listenGridEinrichten(*g);
    g->setFrameShape(QFrame::Box);
    g->setFrameShadow(QFrame::Plain);
    QPalette p = g->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    g->setPalette(p);
    return g;
}

} // namespace

void TForm_Velmora::anordnen(QSize flaeche) {
    // as anchored controls: the panels share the extra height, panels and
    // grids take the extra width; labels and totals keep their places
    if (!Panel1)
        return; // a resize while the controls are still being made
    const int breiter = std::max(0, flaeche.width() - kEntwurf.width());
    const int hoeher = std::max(0, flaeche.height() - kEntwurf.height());
    const int oben = hoeher / 2;
    const int unten = hoeher - oben;
    Panel1->setGeometry(8, 68, 681 + breiter, 286 + oben);
    Panel2->setGeometry(8, 360 + oben, 681 + breiter, 289 + unten);
    Grid_Ein->setGeometry(185, 20, 488 + breiter, 261 + oben);
    Grid_Aus->setGeometry(185, 20, 488 + breiter, 261 + unten);
}

void TForm_Velmora::baueFenster() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    central->setFont(arial(8, false));
    // the designed size is the smallest; a larger window gives the lists room
    central->setMinimumSize(kEntwurf);
    central->resize(kEntwurf);
    setCentralWidget(central);

    Label11 = label(central, "Label11", 8, 8, QStringLiteral("Aktueller Mandant:"));
    fett(Label11);
    LabelMandant = label<KlickLabel>(central, "LabelMandant", 160, 8);
    // a client's name is shown as typed, even when it looks like markup
    LabelMandant->setTextFormat(Qt::PlainText);
    fett(LabelMandant);
    faerben(LabelMandant, kNavy);
    LabelMandant->setToolTip(QStringLiteral("Mit einem Klick können sie den Mandanten wechseln"));
    connect(LabelMandant, &KlickLabel::clicked, this, &TForm_Velmora::LabelMandantClick);

    Label8 = label(central, "Label8", 8, 26, QStringLiteral("Aktuelles Wirtschaftsjahr:"));
    fett(Label8);
    LabelJahr = label<KlickLabel>(central, "LabelJahr", 160, 26);
    fett(LabelJahr);
    faerben(LabelJahr, kNavy);
    LabelJahr->setToolTip(
        QStringLiteral("Mit einem Klick können sie das Wirtschaftsjahr wechseln"));
    connect(LabelJahr, &KlickLabel::clicked, this, &TForm_Velmora::LabelJahrClick);

    Label7 = label<KlickLabel>(central, "Label7", 8, 50,
                               QStringLiteral("Die Entertaste öffnet die Buchungsmaske..."));
    Label7->setFont(arial(10, true));
    Label7->adjustSize();
    faerben(Label7, kGruen);
    Label7->setToolTip(QStringLiteral("Sie können mich auch anklicken..."));
    connect(Label7, &KlickLabel::clicked, this, &TForm_Velmora::Label7Click);

    Panel1 = panel(central, "Panel1", 8, 68, 681, 286);
    QLabel* label1 = label(Panel1, "Label1", 5, 20, QStringLiteral("Einnahmen"));
    label1->setFont(arial12Fett());
    label1->adjustSize();
    faerben(label1, kNavy);
    label(Panel1, "Label9", 104, 24, QStringLiteral("(Brutto)"));
    label(Panel1, "Label3", 5, 48, QStringLiteral("Gesamt"));
    Label_Einnahmen = summe(Panel1, "Label_Einnahmen", 60, 45);
    label(Panel1, "Label4", 5, 73, QStringLiteral("UST"));
    Label_Ust = summe(Panel1, "Label_Ust", 60, 70);
    faerben(Label_Ust, kPurpur);
    Grid_Ein = listenGrid(Panel1, "Grid_Ein");

    Panel2 = panel(central, "Panel2", 8, 360, 681, 289);
    QLabel* label2 = label(Panel2, "Label2", 5, 30, QStringLiteral("Ausgaben"));
    label2->setFont(arial12Fett());
    label2->adjustSize();
    faerben(label2, kMaroon);
    label(Panel2, "Label10", 104, 34, QStringLiteral("(Brutto)"));
    label(Panel2, "Label5", 5, 63, QStringLiteral("Gesamt"));
    Label_Ausgaben = summe(Panel2, "Label_Ausgaben", 60, 60);
    label(Panel2, "Label6", 5, 94, QStringLiteral("VST"));
    Label_Vst = summe(Panel2, "Label_Vst", 60, 90);
    faerben(Label_Vst, kPurpur);
    Grid_Aus = listenGrid(Panel2, "Grid_Aus");

    gridBinden(*Grid_Ein, *m_queryEin, Buchungsliste::spalten(true));
    gridBinden(*Grid_Aus, *m_queryAus, Buchungsliste::spalten(false));
    for (QTableView* g : {Grid_Ein, Grid_Aus}) {
        g->installEventFilter(this);
        g->viewport()->installEventFilter(this);
    }

    anordnen(kEntwurf);
    central->installEventFilter(this);
}
