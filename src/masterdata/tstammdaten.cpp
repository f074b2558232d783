#include "masterdata/tstammdaten.h"

#include "data/steuerfreikz.h"
#include "data/steuernummer.h"
#include "masterdata/dialogteile.h"
#include "platform/userseam.h"
#include "toolkit/umgebung.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

namespace {

QLineEdit* feld(QWidget* parent, const char* objectName) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(objectName));
    // the text columns have no width: nothing typed is cut off
    e->setMaxLength(std::numeric_limits<int>::max());
    return e;
}

} // namespace

TStammdaten::TStammdaten(Umgebung& umgebung, QWidget* parent)
    : QDialog(parent), m_umgebung(umgebung) {
    using namespace dialogteile;
    setObjectName(QStringLiteral("Stammdaten"));
    setWindowTitle(QStringLiteral("Stammdaten"));

    LabelMandant = wertLabel(this, "LabelMandant");
    LabelMandant->setToolTip(QStringLiteral("Mit einem Klick können sie den Mandanten wechseln"));
    DBEditGanzerName = feld(this, "DBEditGanzerName");
    DBEditAdresse = feld(this, "DBEditAdresse");
    DBEditPlzOrt = feld(this, "DBEditPlzOrt");
    DBEditTelefon = feld(this, "DBEditTelefon");
    DBEditReferat = feld(this, "DBEditReferat");
    DBEditSteuernummer = feld(this, "DBEditSteuernummer");
    DBCheckBoxSteuerDE = new QCheckBox(QStringLiteral("Steuersätze DE"), this);
    DBCheckBoxSteuerDE->setObjectName(QStringLiteral("DBCheckBoxSteuerDE"));
    DBComboSteuerfreiKZ = new QComboBox(this);
    DBComboSteuerfreiKZ->setObjectName(QStringLiteral("DBComboSteuerfreiKZ"));
    DBComboSteuerfreiKZ->addItem(QStringLiteral("(nicht gewählt)"), QString());
    for (const steuerfreikz::Wahl& w : steuerfreikz::wahlen())
        DBComboSteuerfreiKZ->addItem(w.text, w.wert);
    BitBtnOK = button(this, "BitBtnOK", QStringLiteral("OK"));
    BitBtnAbbrechen = button(this, "BitBtnAbbrechen", QStringLiteral("Abbrechen"));
    BitBtnOK->setDefault(true);

    auto* kopf = new QHBoxLayout;
    kopf->addWidget(label(this, "Label8", QStringLiteral("Aktueller Mandant:"), true));
    kopf->addWidget(LabelMandant, 1);
    auto* felder = new QFormLayout;
    const struct {
        const char* name;
        const char* text;
        QWidget* feld;
    } zeilen[] = {{"Label1", "Name", DBEditGanzerName},
                  {"Label2", "Straße HNr.", DBEditAdresse},
                  {"Label3", "PLZ / Ort", DBEditPlzOrt},
                  {"Label4", "Tel", DBEditTelefon},
                  {"Label5", "Referat", DBEditReferat},
                  {"Label6", "Steuernummen", DBEditSteuernummer},
                  {"Label7", "Für Kleinwalsertal", DBCheckBoxSteuerDE},
                  {"Label9", "UVA: Erlöse zu 0 %", DBComboSteuerfreiKZ}};
    for (const auto& z : zeilen) {
        QLabel* l = label(this, z.name, QString::fromUtf8(z.text), true);
        l->setBuddy(z.feld);
        felder->addRow(l, z.feld);
    }
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(BitBtnOK);
    knoepfe->addWidget(BitBtnAbbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kopf);
    layout->addLayout(felder);
    layout->addLayout(knoepfe);
    resize(460, 310);

    connect(BitBtnOK, &QPushButton::clicked, this, [this] {
        // a letter in the tax number would otherwise vanish from the VAT return unseen
        if (const QString fehler = steuernummer::pruefen(DBEditSteuernummer->text());
            !fehler.isEmpty()) {
            m_umgebung.ui.message(fehler);
            DBEditSteuernummer->setFocus();
            return;
        }
        accept();
    });
    connect(BitBtnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

void TStammdaten::FormActivate() {
    TDM_EinAus& dm = m_umgebung.dm;
    LabelMandant->setText(dm.gibMandantName(dm.gibMandant()));
    DBEditGanzerName->setFocus();
}

void TStammdaten::setDaten(const Stammdaten& d) {
    m_mandant = d.mandant;
    DBEditGanzerName->setText(d.GanzerName);
    DBEditAdresse->setText(d.Adresse);
    DBEditPlzOrt->setText(d.PlzOrt);
    DBEditTelefon->setText(d.Telefon);
    DBEditReferat->setText(d.Referat);
    DBEditSteuernummer->setText(d.Steuernummer);
    DBCheckBoxSteuerDE->setChecked(d.SteuerDE);
    const int i = DBComboSteuerfreiKZ->findData(d.SteuerfreiKZ);
    DBComboSteuerfreiKZ->setCurrentIndex(i < 0 ? 0 : i);
}

Stammdaten TStammdaten::daten() const {
    Stammdaten d;
    d.mandant = m_mandant;
    d.GanzerName = DBEditGanzerName->text();
    d.Adresse = DBEditAdresse->text();
    d.PlzOrt = DBEditPlzOrt->text();
    d.Telefon = DBEditTelefon->text();
    d.Referat = DBEditReferat->text();
    d.Steuernummer = DBEditSteuernummer->text();
    d.SteuerDE = DBCheckBoxSteuerDE->isChecked();
    d.SteuerfreiKZ = DBComboSteuerfreiKZ->currentData().toString();
    return d;
}
