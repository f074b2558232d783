#include "reports/tuvaansicht.h"

#include "reports/verprobung.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QLabel* betragLabel(QWidget* parent, const char* name, bool fett = false) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (fett) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

} // namespace

TUvaAnsicht::TUvaAnsicht(const uva::Erklaerung& e, const QString& zeitraumText, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("UvaAnsicht"));
    setWindowTitle(QStringLiteral("UVA für FinanzOnline - ") + zeitraumText);

    Tabelle = new QTableWidget(static_cast<int>(e.Betraege.size()), 3, this);
    Tabelle->setObjectName(QStringLiteral("Tabelle"));
    Tabelle->setHorizontalHeaderLabels(
        {QStringLiteral("KZ"), QStringLiteral("Text"), QStringLiteral("Betrag")});
    Tabelle->verticalHeader()->hide();
    Tabelle->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tabelle->setSelectionBehavior(QAbstractItemView::SelectRows);
    Tabelle->setTabKeyNavigation(false);
    int zeile = 0;
    for (const uva::Kz kz : uva::reihenfolge(e)) {
        auto* betragItem = new QTableWidgetItem(e.betrag(kz).format());
        betragItem->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Tabelle->setItem(zeile, 0, new QTableWidgetItem(uva::kzName(kz)));
        Tabelle->setItem(zeile, 1, new QTableWidgetItem(uva::kzText(kz)));
        Tabelle->setItem(zeile, 2, betragItem);
        ++zeile;
    }
    Tabelle->resizeColumnsToContents();
    Tabelle->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    const Currency kz095 = e.kz095();
    LabelKZ095Text = new QLabel(
        QStringLiteral("KZ 095 %1 (berechnet, nicht in der Datei)").arg(uva::kz095Text(kz095)),
        this);
    LabelKZ095Text->setObjectName(QStringLiteral("LabelKZ095Text"));
    LabelKZ095 = betragLabel(this, "LabelKZ095", true);
    LabelKZ095->setText(verprobung::saldoBetrag(kz095).format());
    LabelVerprobungText = new QLabel(QStringLiteral("Umsatzsteuerverprobung: ") +
                                         verprobung::saldoText(e.VerprobungSaldo),
                                     this);
    LabelVerprobungText->setObjectName(QStringLiteral("LabelVerprobungText"));
    LabelVerprobung = betragLabel(this, "LabelVerprobung", true);
    LabelVerprobung->setText(verprobung::saldoBetrag(e.VerprobungSaldo).format());
    LabelDifferenz = betragLabel(this, "LabelDifferenz");
    LabelDifferenz->setText(e.differenz().format());
    LabelKFZ = betragLabel(this, "LabelKFZ");
    LabelKFZ->setText(e.KFZ.format());
    LabelGebaeude = betragLabel(this, "LabelGebaeude");
    LabelGebaeude->setText(e.Gebaeude.format());
    LabelSchema = new QLabel(QStringLiteral("Datei nach ") + uva::schemaDatei(e.Von), this);
    LabelSchema->setObjectName(QStringLiteral("LabelSchema"));

    auto* summen = new QFormLayout;
    summen->addRow(LabelKZ095Text, LabelKZ095);
    summen->addRow(LabelVerprobungText, LabelVerprobung);
    summen->addRow(new QLabel(QStringLiteral("Differenz durch die Rundung je Kennzahl"), this),
                   LabelDifferenz);
    summen->addRow(
        new QLabel(QStringLiteral("Davon Vorsteuer KFZ (ohne Kennzahl, zur Information)"), this),
        LabelKFZ);
    summen->addRow(
        new QLabel(QStringLiteral("Davon Vorsteuer Gebäude (ohne Kennzahl, zur Information)"),
                   this),
        LabelGebaeude);

    BitBtnSpeichern = new QPushButton(QStringLiteral("&Speichern…"), this);
    BitBtnSpeichern->setObjectName(QStringLiteral("BitBtnSpeichern"));
    BitBtnSpeichern->setDefault(true);
    BitBtnAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    BitBtnAbbrechen->setObjectName(QStringLiteral("BitBtnAbbrechen"));
    connect(BitBtnSpeichern, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtnAbbrechen, &QPushButton::clicked, this, &QDialog::reject);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(LabelSchema, 1);
    knoepfe->addWidget(BitBtnSpeichern);
    knoepfe->addWidget(BitBtnAbbrechen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Tabelle, 1);
    if (!e.Warnungen.isEmpty()) {
        LabelWarnung = new QLabel(e.Warnungen.join(QLatin1Char('\n')), this);
        LabelWarnung->setObjectName(QStringLiteral("LabelWarnung"));
        LabelWarnung->setStyleSheet(QStringLiteral("color: darkred;"));
        LabelWarnung->setWordWrap(true);
        layout->addWidget(LabelWarnung);
    }
    layout->addLayout(summen);
    layout->addLayout(knoepfe);
    resize(620, 480);
    BitBtnSpeichern->setFocus();
}
