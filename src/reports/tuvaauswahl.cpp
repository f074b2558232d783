#include "reports/tuvaauswahl.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

TUvaAuswahl::TUvaAuswahl(QWidget* parent) : TMonatsAuswahl(parent) {
    setObjectName(QStringLiteral("UvaAuswahl"));
    setWindowTitle(QStringLiteral("UVA für FinanzOnline"));
    RadioGroup1->setTitle(QStringLiteral("  Zeitraum der Umsatzsteuervoranmeldung  "));
    RadioButton(17)->hide();
    CheckBox_export->hide();
    // without the whole year the dialog is one row lower
    resize(width(), sizeHint().height());
}

void TUvaAuswahl::FormActivate() {
    waehle(m_vorgabe);
    RadioButton(m_vorgabe)->setFocus();
}
