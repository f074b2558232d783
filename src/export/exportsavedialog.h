#pragma once

#include <QFileDialog>
#include <functional>

class UserSeam;

// The save dialog of an export. It asks before replacing a file: about the
// file that will really be written (the name with the format's extension);
// "Nein" keeps the dialog open.
class ExportSaveDialog final : public QFileDialog {
    Q_OBJECT
public:
    using TargetOf = std::function<QString(const QString& chosen)>;
    ExportSaveDialog(UserSeam& ui, TargetOf targetOf, QWidget* parent = nullptr);

    // A filter in the form "Description (*.ext)|*.EXT".
    void setFilterText(const QString& filter);
    // The name chosen with OK; empty otherwise.
    const QString& chosenFile() const { return m_chosen; }

    static QString questionReplace(const QString& file);

public slots:
    void accept() override;

private:
    UserSeam& m_ui;
    TargetOf m_targetOf;
    QString m_chosen;
};
