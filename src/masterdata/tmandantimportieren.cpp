#include "masterdata/tmandantimportieren.h"

#include "masterdata/dialogteile.h"

#include <QLabel>
#include <QVBoxLayout>

TMandantImportieren::TMandantImportieren(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("MandantImportieren"));
    setWindowTitle(QStringLiteral("Velmora - Mandant importieren"));
    QFont tahoma = font();
    tahoma.setFamily(QStringLiteral("Tahoma"));
    setFont(tahoma);

    Label2 = dialogteile::label(this, "Label2",
                                QStringLiteral("Mit diesem Assistenten können  \"alte\" "
                                               "zusätzliche Mandanten importiert werden"),
                                true);
    Label2->setWordWrap(true);
    QPalette p = Label2->palette();
    p.setColor(QPalette::WindowText, QColor(128, 0, 0));
    Label2->setPalette(p);
    Label1 =
        dialogteile::label(this, "Label1", QStringLiteral("Wo befindet sich der alte Mandant:"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addWidget(Label1);
    layout->addStretch(1);
    resize(400, 160);
}
