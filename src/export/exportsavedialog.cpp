#include "export/exportsavedialog.h"

#include "platform/buchdateien.h"
#include "platform/userseam.h"

#include <QDir>
#include <QFileInfo>

ExportSaveDialog::ExportSaveDialog(UserSeam& ui, TargetOf targetOf, QWidget* parent)
    : QFileDialog(parent), m_ui(ui), m_targetOf(std::move(targetOf)) {
    setObjectName(QStringLiteral("SaveDialog"));
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    // our own German question about the file really written
    setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
}

void ExportSaveDialog::setFilterText(const QString& filter) {
    const QString description = filter.section(QLatin1Char('|'), 0, 0);
    if (!description.isEmpty())
        setNameFilter(description);
}

QString ExportSaveDialog::questionReplace(const QString& file) {
    return QStringLiteral("Die Datei %1 gibt es schon.\rSoll sie ersetzt werden?")
        .arg(QDir::toNativeSeparators(file));
}

void ExportSaveDialog::accept() {
    const QStringList files = selectedFiles();
    if (files.isEmpty())
        return;
    const QString chosen = files.front();
    if (QFileInfo(chosen).isDir()) {
        QFileDialog::accept();
        return;
    }
    const QString target = m_targetOf ? m_targetOf(chosen) : chosen;
    // one mistyped name must not cost the books; the dialog stays open
    if (buchdateien::gehoertZuDenBuechern(target)) {
        m_ui.error(buchdateien::meldung());
        return;
    }
    if (QFileInfo::exists(target) &&
        m_ui.question(UserSeam::Kind::Confirmation, questionReplace(target),
                      UserSeam::Yes | UserSeam::No) != UserSeam::Yes)
        return;
    m_chosen = chosen;
    QFileDialog::accept();
}
