#include "reports/texporthilfe.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TExportHilfe::TExportHilfe(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ExportHilfe"));
    setWindowTitle(QStringLiteral("Hilfe zum Finanzamtexport"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(390, 175);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(6, 6, 286, 163);

    // Liberation Sans where Tahoma is missing: the texts must fit the frame
    QFont schrift;
    schrift.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans")});
    schrift.setPointSize(10);
    const auto text = [&](const char* name, const QString& inhalt) {
        auto* l = new QLabel(inhalt, Bevel1);
        l->setObjectName(QLatin1String(name));
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        l->setFont(schrift);
        return l;
    };
    Label1 =
        text("Label1", QStringLiteral("Nach dem Drücken des  Schalters \"Exportieren\"  öffnet "
                                      "sich ein Auswahlfeld, mit dessen Standardvorgaben der "
                                      "Export durchgeführt wird."));
    Label2 =
        text("Label2",
             QStringLiteral("Die gespeicherte Datei kann vom Finanzamt dann verwendet werden."));
    Label3 =
        text("Label3", QStringLiteral("Diese Funktion wird nur bei einer Steuerprüfung benötigt."));
    auto* spalte = new QVBoxLayout(Bevel1);
    spalte->setContentsMargins(6, 4, 6, 4);
    spalte->setSpacing(4);
    spalte->addWidget(Label1);
    spalte->addWidget(Label2);
    spalte->addWidget(Label3);
    spalte->addStretch();

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(302, 8, 80, 26);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TExportHilfe::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}
