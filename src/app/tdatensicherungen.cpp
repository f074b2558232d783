#include "app/tdatensicherungen.h"

#include "data/currency.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// 1234567 bytes as "1.206 KB", grouped as every number of the program
QString groesse(qint64 bytes) {
    const qint64 kb = (bytes + 1023) / 1024;
    return Currency::fromUnits(kb * Currency::Scale).format().section(QLatin1Char(','), 0, 0) +
           QStringLiteral(" KB");
}

QTableWidgetItem* zelle(const QString& text, Qt::Alignment ausrichtung) {
    auto* z = new QTableWidgetItem(text);
    z->setTextAlignment(ausrichtung | Qt::AlignVCenter);
    return z;
}

} // namespace

TDatensicherungen::TDatensicherungen(const QString& ordner,
                                     std::vector<wiederherstellung::Kopie> kopien, QWidget* parent)
    : QDialog(parent), m_kopien(std::move(kopien)) {
    setObjectName(QStringLiteral("Datensicherungen"));
    setWindowTitle(QStringLiteral("Datensicherungen"));
    resize(520, 360);

    LabelOrdner = new QLabel(QStringLiteral("Die Sicherungen liegen im Ordner %1.")
                                 .arg(QDir::toNativeSeparators(ordner)),
                             this);
    LabelOrdner->setObjectName(QStringLiteral("LabelOrdner"));
    LabelOrdner->setWordWrap(true);
    LabelOrdner->setTextFormat(Qt::PlainText);

    Liste = new QTableWidget(static_cast<int>(m_kopien.size()), 3, this);
    Liste->setObjectName(QStringLiteral("Liste"));
    Liste->setHorizontalHeaderLabels({QStringLiteral("Datum und Uhrzeit"), QStringLiteral("Größe"),
                                      QStringLiteral("Buchungen")});
    Liste->verticalHeader()->hide();
    Liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    Liste->setSelectionMode(QAbstractItemView::SingleSelection);
    Liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Liste->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int row = 0; row < static_cast<int>(m_kopien.size()); ++row) {
        const auto& k = m_kopien[static_cast<size_t>(row)];
        Liste->setItem(row, 0,
                       zelle(k.zeit.toString(QStringLiteral("dd.MM.yyyy HH:mm")), Qt::AlignLeft));
        Liste->setItem(row, 1, zelle(groesse(k.bytes), Qt::AlignRight));
        Liste->setItem(
            row, 2,
            zelle(k.buchungen ? QString::number(*k.buchungen) : QStringLiteral("nicht lesbar"),
                  Qt::AlignRight));
    }
    if (!m_kopien.empty())
        Liste->selectRow(0);

    SchalterZurueck = new QPushButton(QStringLiteral("&Zurückspielen"), this);
    SchalterZurueck->setObjectName(QStringLiteral("SchalterZurueck"));
    SchalterZurueck->setEnabled(!m_kopien.empty());
    SchalterSchliessen = new QPushButton(QStringLiteral("Schließen"), this);
    SchalterSchliessen->setObjectName(QStringLiteral("SchalterSchliessen"));
    SchalterSchliessen->setDefault(true);
    connect(SchalterZurueck, &QPushButton::clicked, this, &QDialog::accept);
    connect(SchalterSchliessen, &QPushButton::clicked, this, &QDialog::reject);
    connect(Liste, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(SchalterZurueck);
    knoepfe->addStretch();
    knoepfe->addWidget(SchalterSchliessen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelOrdner);
    layout->addWidget(Liste, 1);
    layout->addLayout(knoepfe);
    Liste->setFocus();
}

std::optional<QString> TDatensicherungen::auswahl() const {
    const int row = Liste->currentRow();
    if (row < 0 || row >= static_cast<int>(m_kopien.size()))
        return std::nullopt;
    return m_kopien[static_cast<size_t>(row)].pfad;
}
