#include "bookings/belegeingabe.h"

#include "bookings/belegeingabehilfe.h"
#include "bookings/belegeingabepfeile.h"
#include "bookings/belegeingabevorgaben.h"
#include "bookings/buchungspruefung.h"
#include "bookings/steuerbuchungen.h"
#include "data/dates.h"
#include "data/dm_einaus.h"
#include "data/steuerfreikz.h"
#include "data/steuersatz.h"
#include "data/texte.h"
#include "platform/clock.h"
#include "platform/settingsfile.h"
#include "platform/userseam.h"
#include "toolkit/dateedit.h"
#include "toolkit/tastensuche.h"
#include "toolkit/umgebung.h"
#include "toolkit/zeichengrenze.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

namespace {

// The amount as the edit shows it for a change: no grouping, at least two
// and at most the four decimals the column keeps, so nothing is lost.
QString eingabetext(Currency betrag) {
    const std::int64_t units = betrag.units();
    const bool negativ = units < 0;
    const std::uint64_t u =
        negativ ? static_cast<std::uint64_t>(-(units + 1)) + 1 : static_cast<std::uint64_t>(units);
    QString nachkomma = QStringLiteral("%1").arg(u % Currency::Scale, 4, 10, QLatin1Char('0'));
    while (nachkomma.size() > 2 && nachkomma.endsWith(QLatin1Char('0')))
        nachkomma.chop(1);
    return (negativ ? QStringLiteral("-") : QString()) + QString::number(u / Currency::Scale) +
           QLatin1Char(',') + nachkomma;
}

QCheckBox* schalter(QWidget* parent, const char* name, const QString& text, const QString& farbe,
                    bool textLinks) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setStyleSheet(farbe.isEmpty()
                           ? QStringLiteral("font-weight: bold;")
                           : QStringLiteral("font-weight: bold; color: %1;").arg(farbe));
    if (textLinks)
        box->setLayoutDirection(Qt::RightToLeft);
    return box;
}

QLabel* beschriftung(QWidget* parent, const QString& text) {
    return new QLabel(text, parent);
}

} // namespace

TFormBelegeingabe::TFormBelegeingabe(Umgebung& umgebung, const Buchung& datensatz,
                                     DatensatzZustand zustand, QWidget* parent,
                                     bool eingabenBehalten)
    : QDialog(parent), m_umgebung(umgebung), m_datensatz(datensatz), m_zustand(zustand),
      m_eingabenBehalten(eingabenBehalten && zustand == DatensatzZustand::Einfuegen) {
    baueFenster();
    zeigeDatensatz();
    FormActivate();
    // the first stop of the tab order, whichever box was created first
    DBCheckBoxEin->setFocus(Qt::OtherFocusReason);
}

TFormBelegeingabe::~TFormBelegeingabe() {
    if (m_hilfe)
        m_hilfe->removeEventFilter(this);
}

void TFormBelegeingabe::setBuchungskreiseZeigen(std::function<void()> zeigen) {
    m_buchungskreiseZeigen = std::move(zeigen);
}

void TFormBelegeingabe::setHilfe(TFormBelegeingabeHilfe* hilfe) {
    if (m_hilfe)
        m_hilfe->removeEventFilter(this);
    m_hilfe = hilfe;
    if (m_hilfe)
        m_hilfe->installEventFilter(this);
}

void TFormBelegeingabe::baueFenster() {
    setObjectName(QStringLiteral("FormBelegeingabe"));
    setWindowTitle(QStringLiteral("Belegeingabe"));
    // only the main window waits: the help window stays usable beside it
    setWindowModality(Qt::WindowModal);
    resize(438, 381);

    auto* haupt = new QVBoxLayout(this);

    auto* kopf = new QFrame(this);
    kopf->setFrameShape(QFrame::StyledPanel);
    auto* kopfLayout = new QHBoxLayout(kopf);
    const QString navy = QStringLiteral("font-weight: bold; color: navy;");
    kopfLayout->addWidget(beschriftung(kopf, QStringLiteral("Mandant:")));
    LabelMandant = new QLabel(kopf);
    LabelMandant->setObjectName(QStringLiteral("LabelMandant"));
    // the client's name as typed, even when it looks like markup
    LabelMandant->setTextFormat(Qt::PlainText);
    LabelMandant->setStyleSheet(navy);
    kopfLayout->addWidget(LabelMandant, 1);
    kopfLayout->addWidget(beschriftung(kopf, QStringLiteral("Wirtschaftsjahr:")));
    LabelJahr = new QLabel(kopf);
    LabelJahr->setObjectName(QStringLiteral("LabelJahr"));
    LabelJahr->setStyleSheet(navy);
    kopfLayout->addWidget(LabelJahr);
    haupt->addWidget(kopf);

    // the reason a locked booking is only shown
    LabelGesperrt = new QLabel(this);
    LabelGesperrt->setObjectName(QStringLiteral("LabelGesperrt"));
    LabelGesperrt->setWordWrap(true);
    LabelGesperrt->setStyleSheet(QStringLiteral("font-weight: bold; color: maroon;"));
    LabelGesperrt->hide();
    haupt->addWidget(LabelGesperrt);

    auto* art = new QHBoxLayout;
    DBCheckBoxEin =
        schalter(this, "DBCheckBoxEin", QStringLiteral("&Einnahme"), QStringLiteral("green"), true);
    DBCheckBoxAus =
        schalter(this, "DBCheckBoxAus", QStringLiteral("&Ausgabe"), QStringLiteral("red"), true);
    DBCheckBoxKFZ = new QCheckBox(QStringLiteral("KFZ"), this);
    DBCheckBoxKFZ->setObjectName(QStringLiteral("DBCheckBoxKFZ"));
    DBCheckBoxGebaeude = new QCheckBox(QStringLiteral("Gebäude"), this);
    DBCheckBoxGebaeude->setObjectName(QStringLiteral("DBCheckBoxGebaeude"));
    art->addWidget(DBCheckBoxEin);
    art->addWidget(DBCheckBoxAus);
    art->addWidget(DBCheckBoxKFZ);
    art->addWidget(DBCheckBoxGebaeude);
    art->addStretch();
    haupt->addLayout(art);

    auto* felder = new QGridLayout;
    int zeile = 0;

    DatumPicker = new DateEdit(this);
    DatumPicker->setObjectName(QStringLiteral("DatumPicker"));
    DatumPicker->setCalendarPopup(true);
    DatumPicker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    // month and day names of the calendar in the program's language, not the system's
    const QLocale deutsch(QLocale::German, QLocale::Austria);
    DatumPicker->setLocale(deutsch);
    auto* kalender = new QCalendarWidget(DatumPicker);
    kalender->setLocale(deutsch);
    kalender->setFirstDayOfWeek(Qt::Monday);
    kalender->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    DatumPicker->setCalendarWidget(kalender);
    UpDown1 = new Belegeingabepfeile(this);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    auto* datum = new QHBoxLayout;
    datum->addWidget(DatumPicker);
    datum->addWidget(UpDown1);
    datum->addStretch();
    felder->addWidget(beschriftung(this, QStringLiteral("Belegdatum")), zeile, 0);
    felder->addLayout(datum, zeile++, 1, 1, 2);

    DBEditBelegnummer = new QLineEdit(this);
    DBEditBelegnummer->setObjectName(QStringLiteral("DBEditBelegnummer"));
    felder->addWidget(beschriftung(this, QStringLiteral("Belegnummer")), zeile, 0);
    felder->addWidget(DBEditBelegnummer, zeile++, 1);

    DBComboText = new QComboBox(this);
    DBComboText->setObjectName(QStringLiteral("DBComboText"));
    DBComboText->setEditable(true);
    DBComboText->setInsertPolicy(QComboBox::NoInsert);
    zeichenBegrenzen(DBComboText->lineEdit(), buchungspruefung::TextLaenge);
    felder->addWidget(beschriftung(this, QStringLiteral("Belegtext")), zeile, 0);
    felder->addWidget(DBComboText, zeile++, 1, 1, 2);

    DBEdit_Betrag = new QLineEdit(this);
    DBEdit_Betrag->setObjectName(QStringLiteral("DBEdit_Betrag"));
    LabelBruttoNetto = new QLabel(QStringLiteral("Brutto"), this);
    LabelBruttoNetto->setObjectName(QStringLiteral("LabelBruttoNetto"));
    auto* betragLabel = new QHBoxLayout;
    betragLabel->addWidget(beschriftung(this, QStringLiteral("Betrag in €")));
    betragLabel->addWidget(LabelBruttoNetto);
    betragLabel->addStretch();
    felder->addLayout(betragLabel, zeile, 0);
    felder->addWidget(DBEdit_Betrag, zeile++, 1);

    DBCombo_Steuersatz = new QComboBox(this);
    DBCombo_Steuersatz->setObjectName(QStringLiteral("DBCombo_Steuersatz"));
    DBCombo_Steuersatz->setEditable(true);
    DBCombo_Steuersatz->setInsertPolicy(QComboBox::NoInsert);
    felder->addWidget(beschriftung(this, QStringLiteral("Steuersatz")), zeile, 0);
    felder->addWidget(DBCombo_Steuersatz, zeile++, 1);

    DBLookupComboBox1 = new QComboBox(this);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    new Tastensuche(DBLookupComboBox1);
    BitBtn1 = new QPushButton(QStringLiteral("Neu"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    felder->addWidget(beschriftung(this, QStringLiteral("Buchungskreis")), zeile, 0);
    felder->addWidget(DBLookupComboBox1, zeile, 1);
    felder->addWidget(BitBtn1, zeile++, 2);

    DBCheckBoxEU =
        schalter(this, "DBCheckBoxEU", QStringLiteral("Innergemeinschaftlich"), QString(), false);
    DBCheckBoxDritt = schalter(this, "DBCheckBoxDritt", QStringLiteral("Einfuhr aus Drittland"),
                               QString(), false);
    felder->addWidget(DBCheckBoxEU, zeile, 1);
    felder->addWidget(DBCheckBoxDritt, zeile++, 2);
    DBCheckBoxRC = schalter(this, "DBCheckBoxRC", QStringLiteral("Reverse Charge (§ 19 Abs. 1)"),
                            QString(), false);
    DBCheckBoxBau = schalter(this, "DBCheckBoxBau", QStringLiteral("Bauleistung (§ 19 Abs. 1a)"),
                             QString(), false);
    felder->addWidget(DBCheckBoxRC, zeile, 1);
    felder->addWidget(DBCheckBoxBau, zeile++, 2);
    DBComboKZ = new QComboBox(this);
    DBComboKZ->setObjectName(QStringLiteral("DBComboKZ"));
    DBComboKZ->addItem(QStringLiteral("wie in den Stammdaten"), QString());
    for (const steuerfreikz::Wahl& w : steuerfreikz::wahlen())
        DBComboKZ->addItem(w.text, w.wert);
    LabelKZ = beschriftung(this, QStringLiteral("Kennzahl"));
    felder->addWidget(LabelKZ, zeile, 0);
    felder->addWidget(DBComboKZ, zeile++, 1, 1, 2);

    // carry identifier, fiscal year and date into the record; never shown
    const auto versteckt = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setVisible(false);
        return e;
    };
    DBZeitraum = versteckt("DBZeitraum");
    DB_ID = versteckt("DB_ID");
    DBDatum = versteckt("DBDatum");
    felder->setColumnStretch(1, 1);
    haupt->addLayout(felder);
    haupt->addStretch();

    auto* knoepfe = new QHBoxLayout;
    SchalterOK = new QPushButton(QStringLiteral("OK"), this);
    SchalterOK->setObjectName(QStringLiteral("SchalterOK"));
    SchalterCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    SchalterCancel->setObjectName(QStringLiteral("SchalterCancel"));
    BitBtn2 = new QPushButton(QStringLiteral("&Hilfe"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    SchalterOK_WEITER = new QPushButton(QStringLiteral("OK und\nweiterbuchen"), this);
    SchalterOK_WEITER->setObjectName(QStringLiteral("SchalterOK_WEITER"));
    SchalterOK_WEITER->setDefault(true);
    knoepfe->addWidget(SchalterOK);
    knoepfe->addWidget(SchalterCancel);
    knoepfe->addWidget(BitBtn2);
    knoepfe->addStretch();
    knoepfe->addWidget(SchalterOK_WEITER);
    SchalterSchliessen = new QPushButton(QStringLiteral("Schließen"), this);
    SchalterSchliessen->setObjectName(QStringLiteral("SchalterSchliessen"));
    SchalterStornieren = new QPushButton(QStringLiteral("&Stornieren"), this);
    SchalterStornieren->setObjectName(QStringLiteral("SchalterStornieren"));
    SchalterSchliessen->hide();
    SchalterStornieren->hide();
    knoepfe->addWidget(SchalterStornieren);
    knoepfe->addWidget(SchalterSchliessen);
    haupt->addLayout(knoepfe);

    QWidget* reihenfolge[] = {
        DBCheckBoxEin,     DBCheckBoxAus,      DatumPicker,       DBEditBelegnummer, DBComboText,
        DBEdit_Betrag,     DBCombo_Steuersatz, DBLookupComboBox1, BitBtn1,           DBCheckBoxEU,
        DBCheckBoxDritt,   DBCheckBoxRC,       DBCheckBoxBau,     DBComboKZ,         UpDown1,
        SchalterOK,        SchalterCancel,     BitBtn2,           SchalterOK_WEITER, DBCheckBoxKFZ,
        DBCheckBoxGebaeude};
    for (size_t i = 1; i < std::size(reihenfolge); ++i)
        setTabOrder(reihenfolge[i - 1], reihenfolge[i]);

    // Alt+E and Alt+A choose, they never take a choice back
    DBCheckBoxEin->installEventFilter(this);
    DBCheckBoxAus->installEventFilter(this);

    connect(DatumPicker, &QDateEdit::dateChanged, this, &TFormBelegeingabe::DatumPickerChange);
    connect(UpDown1, &Belegeingabepfeile::geklickt, this, &TFormBelegeingabe::UpDown1Click);
    connect(DBCheckBoxEin, &QCheckBox::toggled, this, &TFormBelegeingabe::DBCheckBoxEinClick);
    connect(DBCheckBoxAus, &QCheckBox::toggled, this, &TFormBelegeingabe::DBCheckBoxAusClick);
    connect(DBCheckBoxEU, &QCheckBox::toggled, this, &TFormBelegeingabe::DBCheckBoxEUClick);
    connect(DBCheckBoxDritt, &QCheckBox::toggled, this, &TFormBelegeingabe::DBCheckBoxDrittClick);
    connect(DBCheckBoxRC, &QCheckBox::toggled, this, &TFormBelegeingabe::DBCheckBoxRCClick);
    connect(DBCheckBoxBau, &QCheckBox::toggled, this, &TFormBelegeingabe::DBCheckBoxBauClick);
    connect(DBCombo_Steuersatz, &QComboBox::currentTextChanged, this,
            &TFormBelegeingabe::zeigeKennzahl);
    connect(DBCheckBoxKFZ, &QCheckBox::toggled, this, &TFormBelegeingabe::DBCheckBoxKFZClick);
    connect(DBCheckBoxGebaeude, &QCheckBox::toggled, this,
            &TFormBelegeingabe::DBCheckBoxGebaeudeClick);
    connect(DBLookupComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_fuellen)
            return;
        const QVariant key = DBLookupComboBox1->itemData(index);
        m_bk = key.isValid() ? std::optional<int>(key.toInt()) : std::nullopt;
    });
    connect(SchalterOK, &QPushButton::clicked, this, &TFormBelegeingabe::SchalterOKClick);
    connect(SchalterOK_WEITER, &QPushButton::clicked, this,
            &TFormBelegeingabe::SchalterOK_WEITERClick);
    connect(SchalterCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(SchalterSchliessen, &QPushButton::clicked, this, &QDialog::reject);
    connect(SchalterStornieren, &QPushButton::clicked, this, [this] { done(Stornieren); });
    connect(BitBtn1, &QPushButton::clicked, this, &TFormBelegeingabe::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormBelegeingabe::BitBtn2Click);
}

void TFormBelegeingabe::zeigeDatensatz() {
    const Buchung& b = m_datensatz;
    DB_ID->setText(QString::number(b.ID));
    DBZeitraum->setText(QString::number(b.Wirtschaftsjahr));
    if (b.Buchungsdatum.isValid()) {
        DatumPicker->setDate(b.Buchungsdatum);
        DBDatum->setText(dates::format(b.Buchungsdatum));
    }
    DBEditBelegnummer->setText(b.Belegnummer ? QString::number(*b.Belegnummer) : QString());
    m_alteNummer = b.Belegnummer;
    DBComboText->setEditText(b.Text);
    DBCombo_Steuersatz->setEditText(steuersatz::text(b.Steuersatz));
    DBComboKZ->setCurrentIndex(std::max(0, DBComboKZ->findData(b.SteuerfreiKZ)));
    m_bk = b.BK;
    if (m_zustand == DatensatzZustand::Bearbeiten || m_eingabenBehalten) {
        DBEdit_Betrag->setText(eingabetext(b.Betrag));
        m_regeln.laden(b);
    }
    zeigeSchalter();
}

void TFormBelegeingabe::FormActivate() {
    TDM_EinAus& dm = m_umgebung.dm;
    m_jahr = dm.gibJahr();
    DatumPicker->setDateRange(QDate(m_jahr, 1, 1), QDate(m_jahr, 12, 31));
    LabelJahr->setText(QString::number(m_jahr));
    const int mandant = dm.gibMandant();
    LabelMandant->setText(dm.gibMandantName(mandant));
    try {
        dm.BuchungskreiseFiltern(mandant);
        fuelleBuchungskreise();
    } catch (const DatenbankFehler& e) {
        // no choice rather than the circles of an earlier reading
        m_fuellen = true;
        DBLookupComboBox1->clear();
        m_fuellen = false;
        m_bk.reset();
        m_umgebung.ui.error(e.text());
    }
    m_weiterbuchen = false;

    fuelleListe(DBCombo_Steuersatz, steuersaetze(m_jahr, dm.gibSteuerDE()));
    QStringList texte;
    try {
        texte = buchungstabelle::texte(dm.db(), mandant, dm.gibZeitraum());
    } catch (const DatenbankFehler&) {
        // without suggestions the text is typed
    }
    fuelleListe(DBComboText, texte);

    if (m_zustand == DatensatzZustand::Bearbeiten) {
        setWindowTitle(QStringLiteral("Belegeingabe - Buchung bearbeiten"));
        if (const auto d = dates::parse(DBDatum->text()))
            DatumPicker->setDate(*d);
        DatumPickerChange();
        SchalterOK_WEITER->setEnabled(false);
        // Enter confirms a change too, not only a new booking
        SchalterOK->setDefault(true);
        return;
    }

    setWindowTitle(QStringLiteral("Belegeingabe - Neue Buchung"));
    if (m_eingabenBehalten) {
        m_eingabenBehalten = false;
    } else {
        const Buchung neu = neueBuchung(dm, m_umgebung.ini, m_umgebung.clock.today());
        DBCombo_Steuersatz->setEditText(steuersatz::text(neu.Steuersatz));
        DBComboKZ->setCurrentIndex(0);
        DBComboText->setEditText(neu.Text);
        if (neu.BK) {
            m_bk = neu.BK;
            waehleBuchungskreis();
        }
        m_vorschlag = neu.Belegnummer.value_or(1);
        DBEditBelegnummer->setText(QString::number(*m_vorschlag));
        m_datensatz.ID = neu.ID;
        m_datensatz.Wirtschaftsjahr = neu.Wirtschaftsjahr;
        DB_ID->setText(QString::number(neu.ID));
        DBZeitraum->setText(QString::number(neu.Wirtschaftsjahr));
        DatumPicker->setDate(neu.Buchungsdatum);
        DatumPickerChange();
        m_regeln.setzen(neu.IstEinnahme == buchungscode::Ja ? Belegeingaberegeln::Einnahme
                                                            : Belegeingaberegeln::Ausgabe,
                        true);
        for (auto s : {Belegeingaberegeln::EU, Belegeingaberegeln::Drittland,
                       Belegeingaberegeln::KFZ, Belegeingaberegeln::Gebaeude,
                       Belegeingaberegeln::ReverseCharge, Belegeingaberegeln::Bauleistung})
            m_regeln.setzen(s, false);
        m_regeln.nimmSteuersatz(); // clearing sets no rate; the remembered one stands
        zeigeSchalter();
    }
    SchalterOK_WEITER->setEnabled(true);
}

void TFormBelegeingabe::nurLesen(const QString& grund) {
    m_nurLesen = true;
    setWindowTitle(QStringLiteral("Belegeingabe - Festgeschriebene Buchung"));
    LabelGesperrt->setText(grund);
    LabelGesperrt->show();
    // every entry, also one added later, shows its value and takes no key
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<QFrame*>(w) && w != SchalterSchliessen && w != SchalterStornieren)
            w->setEnabled(false);
    }
    for (QPushButton* b : {SchalterOK, SchalterCancel, BitBtn2, SchalterOK_WEITER})
        b->hide();
    SchalterOK->setDefault(false);
    SchalterOK_WEITER->setDefault(false);
    SchalterSchliessen->show();
    SchalterStornieren->show();
    SchalterSchliessen->setDefault(true);
    setTabOrder(SchalterStornieren, SchalterSchliessen);
    SchalterSchliessen->setFocus(Qt::OtherFocusReason);
}

void TFormBelegeingabe::fuelleListe(QComboBox* box, const QStringList& eintraege) {
    // refilling the list must not change what stands in the field
    const QString text = box->currentText();
    box->clear();
    box->addItems(eintraege);
    box->setEditText(text);
}

void TFormBelegeingabe::fuelleBuchungskreise() {
    QSqlQueryModel& kreise = m_umgebung.dm.ADO_BK();
    while (kreise.canFetchMore())
        kreise.fetchMore();
    m_fuellen = true;
    DBLookupComboBox1->clear();
    for (int row = 0; row < kreise.rowCount(); ++row) {
        const QSqlRecord r = kreise.record(row);
        DBLookupComboBox1->addItem(r.value(QStringLiteral("BKName")).toString(),
                                   r.value(QStringLiteral("id")).toInt());
    }
    m_fuellen = false;
    waehleBuchungskreis();
}

void TFormBelegeingabe::waehleBuchungskreis() {
    // a circle deleted meanwhile in the circle list is no choice any more
    const int index = m_bk ? DBLookupComboBox1->findData(*m_bk) : -1;
    if (index < 0)
        m_bk.reset();
    m_fuellen = true;
    DBLookupComboBox1->setCurrentIndex(index);
    m_fuellen = false;
}

void TFormBelegeingabe::DatumPickerChange() {
    DBDatum->setText(dates::format(DatumPicker->date()));
}

void TFormBelegeingabe::UpDown1Click(bool hoch) {
    const QDate d = DatumPicker->date();
    if (hoch && d != DatumPicker->maximumDate())
        DatumPicker->setDate(d.addDays(1));
    else if (!hoch && d != DatumPicker->minimumDate())
        DatumPicker->setDate(d.addDays(-1));
    DatumPickerChange();
}

void TFormBelegeingabe::regelAnwenden(Belegeingaberegeln::Schalter s, QCheckBox* box) {
    m_regeln.setzen(s, box->isChecked());
    zeigeSchalter();
}

void TFormBelegeingabe::DBCheckBoxEinClick() {
    regelAnwenden(Belegeingaberegeln::Einnahme, DBCheckBoxEin);
}
void TFormBelegeingabe::DBCheckBoxAusClick() {
    regelAnwenden(Belegeingaberegeln::Ausgabe, DBCheckBoxAus);
}
void TFormBelegeingabe::DBCheckBoxEUClick() {
    regelAnwenden(Belegeingaberegeln::EU, DBCheckBoxEU);
}
void TFormBelegeingabe::DBCheckBoxDrittClick() {
    regelAnwenden(Belegeingaberegeln::Drittland, DBCheckBoxDritt);
}
void TFormBelegeingabe::DBCheckBoxRCClick() {
    regelAnwenden(Belegeingaberegeln::ReverseCharge, DBCheckBoxRC);
}
void TFormBelegeingabe::DBCheckBoxBauClick() {
    regelAnwenden(Belegeingaberegeln::Bauleistung, DBCheckBoxBau);
}
void TFormBelegeingabe::DBCheckBoxKFZClick() {
    regelAnwenden(Belegeingaberegeln::KFZ, DBCheckBoxKFZ);
}
void TFormBelegeingabe::DBCheckBoxGebaeudeClick() {
    regelAnwenden(Belegeingaberegeln::Gebaeude, DBCheckBoxGebaeude);
}

void TFormBelegeingabe::zeigeSchalter() {
    const std::pair<QCheckBox*, Belegeingaberegeln::Schalter> boxen[] = {
        {DBCheckBoxEin, Belegeingaberegeln::Einnahme},
        {DBCheckBoxAus, Belegeingaberegeln::Ausgabe},
        {DBCheckBoxEU, Belegeingaberegeln::EU},
        {DBCheckBoxDritt, Belegeingaberegeln::Drittland},
        {DBCheckBoxKFZ, Belegeingaberegeln::KFZ},
        {DBCheckBoxGebaeude, Belegeingaberegeln::Gebaeude},
        {DBCheckBoxRC, Belegeingaberegeln::ReverseCharge},
        {DBCheckBoxBau, Belegeingaberegeln::Bauleistung}};
    for (const auto& [box, s] : boxen) {
        const QSignalBlocker still(box);
        box->setChecked(m_regeln.an(s));
        if (s != Belegeingaberegeln::Einnahme && s != Belegeingaberegeln::Ausgabe)
            box->setEnabled(m_regeln.flagsVerfuegbar());
    }
    LabelBruttoNetto->setText(m_regeln.bruttoNetto());
    if (const auto satz = m_regeln.nimmSteuersatz())
        DBCombo_Steuersatz->setEditText(steuersatz::text(*satz));
    zeigeKennzahl();
}

bool TFormBelegeingabe::kennzahlGefragt() const {
    const auto satz = steuersatz::lesen(DBCombo_Steuersatz->currentText());
    return m_regeln.an(Belegeingaberegeln::Einnahme) && satz && steuersatz::zehntel(*satz) == 0;
}

void TFormBelegeingabe::zeigeKennzahl() {
    const bool zeigen = kennzahlGefragt();
    LabelKZ->setVisible(zeigen);
    DBComboKZ->setVisible(zeigen);
}

void TFormBelegeingabe::SchalterOKClick() {
    EingabenMerken(false);
    done(QDialog::Accepted);
}

void TFormBelegeingabe::SchalterOK_WEITERClick() {
    m_weiterbuchen = true;
    EingabenMerken(true);
    done(QDialog::Accepted);
}

void TFormBelegeingabe::EingabenMerken(bool weiter) {
    if (m_zustand != DatensatzZustand::Einfuegen)
        return;
    Eingaben e;
    e.Buchungskreis = m_bk;
    e.Belegnummer = DBEditBelegnummer->text();
    e.Belegdatum = DatumPicker->date();
    e.IstEinnahme =
        m_regeln.an(Belegeingaberegeln::Einnahme) ? buchungscode::Ja : buchungscode::Nein;
    e.Steuersatz = DBCombo_Steuersatz->currentText();
    e.Buchungstext = DBComboText->currentText();
    ::EingabenMerken(m_umgebung.ini, m_umgebung.dm.gibMandant(), e, weiter);
}

void TFormBelegeingabe::BitBtn1Click() {
    if (m_buchungskreiseZeigen)
        m_buchungskreiseZeigen();
    // back from the circle list: the dialog becomes active again
    FormActivate();
}

void TFormBelegeingabe::BitBtn2Click() {
    if (m_hilfe)
        m_hilfe->zeigen();
}

bool TFormBelegeingabe::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && m_hilfeWarAktiv) {
        m_hilfeWarAktiv = false;
        FormActivate();
    }
    return QDialog::event(e);
}

bool TFormBelegeingabe::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Shortcut && (watched == DBCheckBoxEin || watched == DBCheckBoxAus)) {
        if (m_nurLesen)
            return true;
        auto* box = static_cast<QCheckBox*>(watched);
        box->setFocus(Qt::ShortcutFocusReason);
        if (!box->isChecked())
            box->click();
        return true;
    }
    if (watched == m_hilfe && e->type() == QEvent::WindowActivate)
        m_hilfeWarAktiv = true;
    return QDialog::eventFilter(watched, e);
}

void TFormBelegeingabe::done(int result) {
    // a locked booking is only looked at
    if (m_nurLesen && result == QDialog::Accepted)
        return;
    if (result == QDialog::Accepted && !FormClose()) {
        m_weiterbuchen = false;
        return;
    }
    QDialog::done(result);
}

bool TFormBelegeingabe::FormClose() {
    UserSeam& ui = m_umgebung.ui;
    const auto abweisen = [&ui](QWidget* feld, const QString& text) {
        ui.message(text);
        feld->setFocus();
    };

    // what the fields cannot take at all
    const QString betragText = DBEdit_Betrag->text();
    const bool betragLeer = betragText.trimmed().isEmpty();
    const auto betrag = buchungspruefung::betrag(betragText);
    if (!betragLeer && !betrag.ok()) {
        abweisen(DBEdit_Betrag, betrag.fehler);
        return false;
    }
    const auto beleg = buchungspruefung::belegnummer(DBEditBelegnummer->text());
    if (!beleg.ok()) {
        abweisen(DBEditBelegnummer, beleg.fehler);
        return false;
    }

    // amount and circle, each on its own
    bool vollstaendig = true;
    if (betragLeer) {
        abweisen(DBEdit_Betrag, buchungspruefung::betragFehlt());
        vollstaendig = false;
    }
    if (!m_bk) {
        abweisen(DBLookupComboBox1, buchungspruefung::buchungskreisFehlt());
        vollstaendig = false;
    }
    if (!vollstaendig)
        return false;

    const auto satz = buchungspruefung::steuersatz(DBCombo_Steuersatz->currentText());
    if (!satz.ok()) {
        abweisen(DBCombo_Steuersatz, satz.fehler);
        return false;
    }

    Buchung b = m_datensatz;
    b.Buchungsdatum = DatumPicker->date();
    b.Belegnummer = beleg.wert;
    b.Text = texte::ersteZeichen(texte::einzeilig(DBComboText->currentText()),
                                 buchungspruefung::TextLaenge);
    b.Betrag = *betrag.wert;
    b.Steuersatz = *satz.wert;
    b.BK = m_bk;
    m_regeln.uebernehmen(b);
    b.SteuerfreiKZ = kennzahlGefragt() ? DBComboKZ->currentData().toString() : QString();

    if (const QString grenze = buchungspruefung::betragsgrenzen(b.Betrag); !grenze.isEmpty()) {
        abweisen(DBEdit_Betrag, grenze);
        return false;
    }
    Datenbank& db = m_umgebung.dm.db();
    QString konto;
    bool vergeben = false;
    const bool neu = m_zustand == DatensatzZustand::Einfuegen;
    // a proposal left as it was, or a booking's own number, is never asked about
    const bool eigeneNummer =
        neu ? beleg.wert && beleg.wert == m_vorschlag : beleg.wert == m_alteNummer;
    try {
        konto = buchungspruefung::steuersatzPruefen(db, klassifiziere(b), b.Steuersatz, b.mandant);
        if (konto.isEmpty())
            konto = steuersatz::datumPruefen(b.Steuersatz, b.Buchungsdatum);
        if (konto.isEmpty() && beleg.wert && !eigeneNummer)
            vergeben = buchungspruefung::belegnummerVorhanden(db, b.mandant, b.Wirtschaftsjahr,
                                                              *beleg.wert, neu ? -1 : b.ID);
    } catch (const DatenbankFehler& e) {
        ui.error(e.text());
        return false;
    }
    if (!konto.isEmpty()) {
        abweisen(DBCombo_Steuersatz, konto);
        return false;
    }
    m_wahl = Belegnummernwahl::WieAngegeben;
    if (eigeneNummer)
        m_wahl = neu ? Belegnummernwahl::Vorschlag : Belegnummernwahl::AuchDoppelt;
    if (vergeben) {
        if (ui.question(UserSeam::Kind::Confirmation,
                        buchungspruefung::frageBelegnummerVergeben(*beleg.wert),
                        UserSeam::Yes | UserSeam::No) != UserSeam::Yes) {
            DBEditBelegnummer->setFocus();
            return false;
        }
        m_wahl = Belegnummernwahl::AuchDoppelt;
    }
    m_datensatz = b;
    return true;
}
