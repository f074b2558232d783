#include "bank/tcsvprofildialog.h"

#include "data/dates.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kVorschauZeilen = 10;

QSpinBox* spalte(QWidget* parent, const char* name, int minimum = 0) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(minimum, 99);
    if (minimum == 0)
        s->setSpecialValueText(QStringLiteral("–"));
    return s;
}

QString trennerText(QChar c) {
    return c == QLatin1Char('\t') ? QStringLiteral("Tab") : QString(c);
}

} // namespace

TCsvProfilDialog::TCsvProfilDialog(QByteArray daten, std::vector<CsvProfil> gespeichert,
                                   QWidget* parent)
    : QDialog(parent), m_daten(std::move(daten)), m_gespeichert(std::move(gespeichert)) {
    setObjectName(QStringLiteral("CsvProfil"));
    setWindowTitle(QStringLiteral("CSV-Profil"));
    resize(760, 560);

    Gespeichert = new QComboBox(this);
    Gespeichert->setObjectName(QStringLiteral("Gespeichert"));
    Gespeichert->addItem(QStringLiteral("(neues Profil)"));
    for (const CsvProfil& p : m_gespeichert)
        Gespeichert->addItem(p.name);
    Name = new QLineEdit(this);
    Name->setObjectName(QStringLiteral("Name"));
    Trenner = new QComboBox(this);
    Trenner->setObjectName(QStringLiteral("Trenner"));
    Trenner->setEditable(true);
    Trenner->addItems({QStringLiteral(";"), QStringLiteral(","), QStringLiteral("Tab")});
    Kodierung = new QComboBox(this);
    Kodierung->setObjectName(QStringLiteral("Kodierung"));
    Kodierung->addItems(csv::kKodierungen);
    Kopfzeilen = spalte(this, "Kopfzeilen");
    Kopfzeilen->setSpecialValueText(QString());
    Datum = spalte(this, "Datum", 1);
    Datumsformat = new QLineEdit(QStringLiteral("dd.MM.yyyy"), this);
    Datumsformat->setObjectName(QStringLiteral("Datumsformat"));
    Betrag = spalte(this, "Betrag");
    Soll = spalte(this, "Soll");
    Haben = spalte(this, "Haben");
    Text = spalte(this, "Text");
    Gegenpartei = spalte(this, "Gegenpartei");
    IBAN = spalte(this, "IBAN");
    Referenz = spalte(this, "Referenz");
    Waehrung = spalte(this, "Waehrung");
    Dezimalkomma = new QCheckBox(QStringLiteral("Dezimalkomma"), this);
    Dezimalkomma->setObjectName(QStringLiteral("Dezimalkomma"));
    Dezimalkomma->setChecked(true);

    auto* links = new QFormLayout;
    links->addRow(QStringLiteral("Gespeichertes Profil:"), Gespeichert);
    links->addRow(QStringLiteral("Name:"), Name);
    links->addRow(QStringLiteral("Trennzeichen:"), Trenner);
    links->addRow(QStringLiteral("Kodierung:"), Kodierung);
    links->addRow(QStringLiteral("Kopfzeilen:"), Kopfzeilen);
    links->addRow(QStringLiteral("Datumsformat:"), Datumsformat);
    links->addRow(QString(), Dezimalkomma);
    auto* rechts = new QFormLayout;
    rechts->addRow(QStringLiteral("Spalte Datum:"), Datum);
    rechts->addRow(QStringLiteral("Spalte Betrag:"), Betrag);
    rechts->addRow(QStringLiteral("oder Soll:"), Soll);
    rechts->addRow(QStringLiteral("und Haben:"), Haben);
    rechts->addRow(QStringLiteral("Spalte Text:"), Text);
    rechts->addRow(QStringLiteral("Spalte Gegenpartei:"), Gegenpartei);
    rechts->addRow(QStringLiteral("Spalte IBAN:"), IBAN);
    rechts->addRow(QStringLiteral("Spalte Referenz:"), Referenz);
    rechts->addRow(QStringLiteral("Spalte Währung:"), Waehrung);

    Vorschau = new QTableWidget(0, 5, this);
    Vorschau->setObjectName(QStringLiteral("Vorschau"));
    Vorschau->setHorizontalHeaderLabels({QStringLiteral("Datum"), QStringLiteral("Betrag"),
                                         QStringLiteral("Gegenpartei"), QStringLiteral("Text"),
                                         QStringLiteral("IBAN")});
    Vorschau->verticalHeader()->hide();
    Vorschau->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Vorschau->horizontalHeader()->setStretchLastSection(true);
    Fehler = new QLabel(this);
    Fehler->setObjectName(QStringLiteral("Fehler"));
    Fehler->setWordWrap(true);
    Fehler->setStyleSheet(QStringLiteral("color: #a00000"));

    auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    knoepfe->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    knoepfe->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* oben = new QHBoxLayout;
    oben->addLayout(links);
    oben->addLayout(rechts);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(oben);
    layout->addWidget(
        new QLabel(QStringLiteral("Die ersten Zeilen, wie sie gelesen werden:"), this));
    layout->addWidget(Vorschau, 1);
    layout->addWidget(Fehler);
    layout->addWidget(knoepfe);

    connect(Gespeichert, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i > 0)
            setzen(m_gespeichert[static_cast<std::size_t>(i - 1)]);
    });
    for (QSpinBox* s :
         {Kopfzeilen, Datum, Betrag, Soll, Haben, Text, Gegenpartei, IBAN, Referenz, Waehrung})
        connect(s, &QSpinBox::valueChanged, this, &TCsvProfilDialog::vorschauZeigen);
    connect(Trenner, &QComboBox::currentTextChanged, this, &TCsvProfilDialog::vorschauZeigen);
    connect(Kodierung, &QComboBox::currentTextChanged, this, &TCsvProfilDialog::vorschauZeigen);
    connect(Datumsformat, &QLineEdit::textChanged, this, &TCsvProfilDialog::vorschauZeigen);
    connect(Name, &QLineEdit::textChanged, this, &TCsvProfilDialog::vorschauZeigen);
    connect(Dezimalkomma, &QCheckBox::toggled, this, &TCsvProfilDialog::vorschauZeigen);
    if (!m_gespeichert.empty())
        Gespeichert->setCurrentIndex(1);
    vorschauZeigen();
}

CsvProfil TCsvProfilDialog::profil() const {
    CsvProfil p;
    p.name = Name->text().trimmed();
    const QString t = Trenner->currentText();
    p.trenner = t == QLatin1String("Tab") ? QLatin1Char('\t') : t.isEmpty() ? QChar() : t.front();
    p.kodierung = Kodierung->currentText();
    p.kopfzeilen = Kopfzeilen->value();
    p.datum = Datum->value();
    p.datumsformat = Datumsformat->text().trimmed();
    p.betrag = Betrag->value();
    p.soll = Soll->value();
    p.haben = Haben->value();
    p.text = Text->value();
    p.gegenpartei = Gegenpartei->value();
    p.iban = IBAN->value();
    p.referenz = Referenz->value();
    p.waehrung = Waehrung->value();
    p.dezimalkomma = Dezimalkomma->isChecked();
    return p;
}

void TCsvProfilDialog::setzen(const CsvProfil& p) {
    m_setzen = true;
    Name->setText(p.name);
    Trenner->setCurrentText(trennerText(p.trenner));
    Kodierung->setCurrentText(p.kodierung);
    Kopfzeilen->setValue(p.kopfzeilen);
    Datum->setValue(p.datum);
    Datumsformat->setText(p.datumsformat);
    Betrag->setValue(p.betrag);
    Soll->setValue(p.soll);
    Haben->setValue(p.haben);
    Text->setValue(p.text);
    Gegenpartei->setValue(p.gegenpartei);
    IBAN->setValue(p.iban);
    Referenz->setValue(p.referenz);
    Waehrung->setValue(p.waehrung);
    Dezimalkomma->setChecked(p.dezimalkomma);
    m_setzen = false;
    vorschauZeigen();
}

void TCsvProfilDialog::vorschauZeigen() {
    if (m_setzen)
        return;
    Vorschau->setRowCount(0);
    CsvProfil p = profil();
    if (p.name.isEmpty())
        p.name = QStringLiteral("?"); // the name does not change how the file reads
    try {
        const Auszug a = csv::lesen(m_daten, p);
        const int n = std::min<int>(kVorschauZeilen, static_cast<int>(a.size()));
        Vorschau->setRowCount(n);
        for (int row = 0; row < n; ++row) {
            const Auszugszeile& z = a[static_cast<std::size_t>(row)];
            const QString betrag = z.waehrung == QLatin1String("EUR")
                                       ? z.betrag.format()
                                       : z.betrag.format() + QLatin1Char(' ') + z.waehrung;
            const QString texte[] = {dates::format(z.buchungsdatum), betrag, z.gegenpartei, z.text,
                                     z.iban};
            for (int col = 0; col < 5; ++col)
                Vorschau->setItem(row, col, new QTableWidgetItem(texte[col]));
        }
        Fehler->setText(QStringLiteral("%1 Zeilen").arg(a.size()));
    } catch (const KontoauszugFehler& f) {
        Fehler->setText(f.text());
    }
    Vorschau->resizeColumnsToContents();
}

void TCsvProfilDialog::done(int r) {
    if (r == QDialog::Accepted) {
        if (const QString f = csv::profilPruefen(profil()); !f.isEmpty()) {
            Fehler->setText(f);
            return;
        }
    }
    QDialog::done(r);
}
