#include "bookings/belegeingabehilfe.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* zeile(QWidget* parent, QVBoxLayout* layout, const QString& text, bool fett,
              bool unterstrichen = false) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    QFont f = label->font();
    f.setBold(fett);
    f.setUnderline(unterstrichen);
    label->setFont(f);
    layout->addWidget(label);
    return label;
}

} // namespace

TFormBelegeingabeHilfe::TFormBelegeingabeHilfe(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormBelegeingabeHilfe"));
    setWindowTitle(QStringLiteral("Belegeingabe: Hilfe"));
    setModal(false);
    // an open help window must not keep the program alive
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(698, 321);

    auto* layout = new QVBoxLayout(this);
    zeile(this, layout, QStringLiteral("Belegeingabe: Kurzbeschreibung"), true, true);
    zeile(this, layout,
          QStringLiteral("Klicken sie Einnahme oder Ausgabe an (oder Alt + E bzw. Alt + A)"), true);
    zeile(this, layout, QStringLiteral("Belegdatum:"), true);
    zeile(this, layout, QStringLiteral("Eintippen oder auswählen (Pfeil anklicken)"), false);
    zeile(this, layout, QStringLiteral("Betrag in €"), true);
    zeile(this, layout, QStringLiteral("Es wird der Bruttobetrag eingegeben"), false);
    zeile(this, layout, QStringLiteral("Innergemeinschaftlich: (Import aus einem EU-Land)"), true);
    zeile(this, layout,
          QStringLiteral("Es wird der Nettobetrag angegeben, die 20% Steuerbuchungen erfolgen "
                         "automatisch."),
          false);
    zeile(this, layout, QStringLiteral("Einfuhr aus Drittland: (Import aus einem nicht-EU-Land)"),
          true);
    zeile(this, layout,
          QStringLiteral("Dieser Schalter wird nur gebraucht,  um die  Einfuhrumsatzsteuer, die "
                         "beim Zollamt bezahlt wurde, zu verbuchen."),
          false);
    zeile(this, layout, QStringLiteral("Der Steuersatz ist 0%."), false);
    zeile(this, layout,
          QStringLiteral("Der eigentliche Rechnungsbetrag wird als normale Ausgabe ebenfalls mit "
                         "einem Steuersatz von 0% verbucht."),
          false);
    layout->addStretch();

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(BitBtn1);
    layout->addLayout(knoepfe);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormBelegeingabeHilfe::BitBtn1Click);
}

void TFormBelegeingabeHilfe::zeigen() {
    show();
    raise();
    activateWindow();
}

void TFormBelegeingabeHilfe::BitBtn1Click() {
    close();
}
