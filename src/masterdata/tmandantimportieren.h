#pragma once

#include <QDialog>

class QLabel;

// "Velmora - Mandant importieren": the reserved entry point for copying
// clients in from another database. It shows its prompt and does nothing.
class TMandantImportieren final : public QDialog {
    Q_OBJECT
public:
    explicit TMandantImportieren(QWidget* parent = nullptr);

    QLabel* Label2 = nullptr;
    QLabel* Label1 = nullptr;
};
