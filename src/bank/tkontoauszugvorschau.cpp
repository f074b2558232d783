#include "bank/tkontoauszugvorschau.h"
#include "data/steuersatz.h"

#include "data/dates.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

using BArt = TKontoauszugVorschau::Buchungsart;

const std::pair<BArt, const char*> kArten[] = {{BArt::Einnahme, "Einnahme"},
                                               {BArt::Ausgabe, "Ausgabe"},
                                               {BArt::EU, "EU-Erwerb"},
                                               {BArt::Drittland, "Einfuhr"},
                                               {BArt::ReverseCharge, "Reverse Charge"},
                                               {BArt::Bauleistung, "Bauleistung"}};

BArt artVon(const Vorschlag& v) {
    if (v.einnahme)
        return BArt::Einnahme;
    if (v.merkmale.eu)
        return BArt::EU;
    if (v.merkmale.drittland)
        return BArt::Drittland;
    if (v.merkmale.reverseCharge)
        return BArt::ReverseCharge;
    if (v.merkmale.bauleistung)
        return BArt::Bauleistung;
    return BArt::Ausgabe;
}

QString artText(BArt a) {
    for (const auto& [art, text] : kArten)
        if (art == a)
            return QString::fromUtf8(text);
    return {};
}

// A choice from a fixed list of (text, value): one combo box while editing,
// plain items otherwise, so that a long statement stays quick to show.
class AuswahlDelegate final : public QStyledItemDelegate {
public:
    AuswahlDelegate(std::vector<std::pair<QString, int>> werte, QObject* parent)
        : QStyledItemDelegate(parent), m_werte(std::move(werte)) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* box = new QComboBox(parent);
        for (const auto& [text, wert] : m_werte)
            box->addItem(text, wert);
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* box = static_cast<QComboBox*>(editor);
        box->setCurrentIndex(std::max(0, box->findData(index.data(Qt::UserRole))));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* box = static_cast<QComboBox*>(editor);
        model->setData(index, box->currentData(), Qt::UserRole);
        model->setData(index, box->currentText(), Qt::DisplayRole);
    }

private:
    std::vector<std::pair<QString, int>> m_werte;
};

QTableWidgetItem* fest(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTableWidgetItem* auswahl(const QString& text, int wert) {
    auto* item = new QTableWidgetItem(text);
    item->setData(Qt::UserRole, wert);
    return item;
}

} // namespace

TKontoauszugVorschau::TKontoauszugVorschau(std::vector<Vorschauzeile> zeilen,
                                           std::vector<std::pair<int, QString>> kreise,
                                           std::vector<int> saetze, QWidget* parent)
    : QDialog(parent), m_zeilen(std::move(zeilen)), m_kreise(std::move(kreise)),
      m_saetze(std::move(saetze)) {
    setObjectName(QStringLiteral("KontoauszugVorschau"));
    setWindowTitle(QStringLiteral("Kontoauszug importieren"));
    resize(1100, 520);

    Tabelle = new QTableWidget(static_cast<int>(m_zeilen.size()), Spalten, this);
    Tabelle->setObjectName(QStringLiteral("Tabelle"));
    Tabelle->setHorizontalHeaderLabels(
        {QString(), QStringLiteral("Datum"), QStringLiteral("Betrag"),
         QStringLiteral("Gegenpartei"), QStringLiteral("Text"), QStringLiteral("Status"),
         QStringLiteral("Buchungskreis"), QStringLiteral("Satz"), QStringLiteral("Art"),
         QStringLiteral("Buchungstext"), QStringLiteral("Vorschlag")});
    Tabelle->verticalHeader()->hide();
    Tabelle->setWordWrap(false);
    Tabelle->setSelectionBehavior(QAbstractItemView::SelectRows);
    Tabelle->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);

    std::vector<std::pair<QString, int>> kreisWerte{{QString(), 0}};
    for (const auto& [id, name] : m_kreise)
        kreisWerte.emplace_back(name, id);
    std::vector<std::pair<QString, int>> satzWerte;
    for (const int s : m_saetze)
        satzWerte.emplace_back(
            QStringLiteral("%1 %").arg(steuersatz::text(steuersatz::ausZehntel(s))), s);
    std::vector<std::pair<QString, int>> artWerte;
    for (const auto& [art, text] : kArten)
        artWerte.emplace_back(QString::fromUtf8(text), static_cast<int>(art));
    Tabelle->setItemDelegateForColumn(Kreis, new AuswahlDelegate(kreisWerte, Tabelle));
    Tabelle->setItemDelegateForColumn(Satz, new AuswahlDelegate(satzWerte, Tabelle));
    Tabelle->setItemDelegateForColumn(Art, new AuswahlDelegate(artWerte, Tabelle));

    m_fuellen = true;
    Tabelle->setUpdatesEnabled(false);
    for (int row = 0; row < Tabelle->rowCount(); ++row)
        zeileFuellen(row);
    Tabelle->setUpdatesEnabled(true);
    m_fuellen = false;
    Tabelle->resizeColumnsToContents();
    Tabelle->setColumnWidth(Text, std::min(Tabelle->columnWidth(Text), 260));
    Tabelle->setColumnWidth(Buchungstext, std::min(Tabelle->columnWidth(Buchungstext), 260));
    Tabelle->setColumnWidth(Kreis, std::max(Tabelle->columnWidth(Kreis), 110));
    connect(Tabelle, &QTableWidget::itemChanged, this, &TKontoauszugVorschau::geaendert);

    Zusammenfassung = new QLabel(this);
    Zusammenfassung->setObjectName(QStringLiteral("Zusammenfassung"));
    auto* knoepfe = new QDialogButtonBox(this);
    SchalterBuchen = knoepfe->addButton(QStringLiteral("Buchen"), QDialogButtonBox::AcceptRole);
    SchalterBuchen->setObjectName(QStringLiteral("SchalterBuchen"));
    SchalterAbbrechen =
        knoepfe->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    SchalterAbbrechen->setObjectName(QStringLiteral("SchalterAbbrechen"));
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Tabelle);
    auto* unten = new QHBoxLayout;
    unten->addWidget(Zusammenfassung, 1);
    unten->addWidget(knoepfe);
    layout->addLayout(unten);
    zusammenfassen();
}

QString TKontoauszugVorschau::kreisText(int bk) const {
    for (const auto& [id, name] : m_kreise)
        if (id == bk)
            return name;
    return bk > 0 ? QString::number(bk) : QString();
}

void TKontoauszugVorschau::zeileFuellen(int row) {
    const Vorschauzeile& v = m_zeilen[static_cast<std::size_t>(row)];
    const Auszugszeile& z = v.zeile;
    auto* haken = new QTableWidgetItem;
    haken->setFlags(v.buchbar() ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable
                                : Qt::ItemFlags(Qt::NoItemFlags));
    haken->setCheckState(v.angekreuzt ? Qt::Checked : Qt::Unchecked);
    Tabelle->setItem(row, Haken, haken);
    Tabelle->setItem(row, Datum, fest(dates::format(z.buchungsdatum)));
    auto* betrag = fest(z.waehrung == QLatin1String("EUR")
                            ? z.betrag.format()
                            : z.betrag.format() + QLatin1Char(' ') + z.waehrung);
    betrag->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Tabelle->setItem(row, Betrag, betrag);
    Tabelle->setItem(row, Gegenpartei, fest(z.gegenpartei));
    Tabelle->setItem(row, Text, fest(z.text));
    Tabelle->setItem(row, Status, fest(statusText(v.status)));
    if (v.status != Zeilenstatus::Neu) {
        for (int s : {Kreis, Satz, Art, Buchungstext, Herkunft})
            Tabelle->setItem(row, s, fest(QString()));
        return;
    }
    Vorschlag p;
    if (v.vorschlag) {
        p = *v.vorschlag;
    } else {
        p.einnahme = z.betrag >= Currency();
        p.text = vorschlag::buchungstext(z);
    }
    Tabelle->setItem(row, Kreis, auswahl(kreisText(p.bk), p.bk));
    Tabelle->setItem(row, Satz,
                     auswahl(QStringLiteral("%1 %").arg(steuersatz::text(p.steuersatz)),
                             steuersatz::zehntel(p.steuersatz)));
    const BArt art = artVon(p);
    Tabelle->setItem(row, Art, auswahl(artText(art), static_cast<int>(art)));
    Tabelle->setItem(row, Buchungstext, new QTableWidgetItem(p.text));
    Tabelle->setItem(row, Herkunft,
                     fest(!v.vorschlag ? QString()
                          : p.herkunft == Vorschlag::Herkunft::Regel
                              ? QStringLiteral("Regel %1").arg(p.regel)
                          : p.herkunft == Vorschlag::Herkunft::Gelernt ? QStringLiteral("gelernt")
                                                                       : QString()));
}

void TKontoauszugVorschau::geaendert(QTableWidgetItem* item) {
    if (m_fuellen)
        return;
    const int row = item->row();
    if (item->column() == Kreis) {
        // a circle makes a new line bookable; taking it away unticks it
        const bool mitKreis = item->data(Qt::UserRole).toInt() > 0;
        QTableWidgetItem* haken = Tabelle->item(row, Haken);
        m_fuellen = true;
        haken->setFlags(mitKreis ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable
                                 : Qt::ItemFlags(Qt::NoItemFlags));
        haken->setCheckState(mitKreis ? Qt::Checked : Qt::Unchecked);
        m_fuellen = false;
    }
    zusammenfassen();
}

int TKontoauszugVorschau::angekreuzt() const {
    int n = 0;
    for (int row = 0; row < Tabelle->rowCount(); ++row)
        n += Tabelle->item(row, Haken)->checkState() == Qt::Checked;
    return n;
}

void TKontoauszugVorschau::zusammenfassen() {
    int neu = 0;
    for (const Vorschauzeile& v : m_zeilen)
        neu += v.status == Zeilenstatus::Neu;
    Zusammenfassung->setText(QStringLiteral("%1 Zeilen, %2 neu, %3 zum Buchen ausgewählt")
                                 .arg(m_zeilen.size())
                                 .arg(neu)
                                 .arg(angekreuzt()));
    SchalterBuchen->setEnabled(angekreuzt() > 0);
}

std::vector<Vorschauzeile> TKontoauszugVorschau::zeilen() const {
    std::vector<Vorschauzeile> out = m_zeilen;
    for (int row = 0; row < Tabelle->rowCount(); ++row) {
        Vorschauzeile& v = out[static_cast<std::size_t>(row)];
        v.angekreuzt = Tabelle->item(row, Haken)->checkState() == Qt::Checked;
        if (v.status != Zeilenstatus::Neu)
            continue;
        Vorschlag p = v.vorschlag.value_or(Vorschlag{});
        p.bk = Tabelle->item(row, Kreis)->data(Qt::UserRole).toInt();
        p.steuersatz = steuersatz::ausZehntel(Tabelle->item(row, Satz)->data(Qt::UserRole).toInt());
        const auto art =
            static_cast<Buchungsart>(Tabelle->item(row, Art)->data(Qt::UserRole).toInt());
        p.einnahme = art == Buchungsart::Einnahme;
        const bool kfz = p.merkmale.kfz && !p.einnahme;
        const bool gebaeude = p.merkmale.gebaeude && !p.einnahme;
        p.merkmale = Merkmale{};
        p.merkmale.eu = art == Buchungsart::EU;
        p.merkmale.drittland = art == Buchungsart::Drittland;
        p.merkmale.reverseCharge = art == Buchungsart::ReverseCharge;
        p.merkmale.bauleistung = art == Buchungsart::Bauleistung;
        p.merkmale.kfz = kfz;
        p.merkmale.gebaeude = gebaeude;
        p.text = Tabelle->item(row, Buchungstext)->text();
        if (v.vorschlag && p != *v.vorschlag)
            p.herkunft = Vorschlag::Herkunft::Hand;
        if (v.vorschlag || p.bk > 0)
            v.vorschlag = p;
        v.angekreuzt = v.angekreuzt && v.buchbar();
    }
    return out;
}
