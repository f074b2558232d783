#include "bookings/buchungskreisauswahl.h"

#include "bookings/buchungskreis.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <algorithm>

namespace {

void fettFarbig(QWidget* w, const QColor& farbe) {
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, farbe);
    p.setColor(QPalette::ButtonText, farbe);
    w->setPalette(p);
}

QLabel* hinweis(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    fettFarbig(l, QColor(0x00, 0x00, 0x80));
    l->adjustSize();
    return l;
}

} // namespace

TFormBuchungsKreisAuswahl::TFormBuchungsKreisAuswahl(QSqlQueryModel& kreise, QWidget* parent)
    : QDialog(parent), m_kreise(kreise) {
    setObjectName(QStringLiteral("FormBuchungsKreisAuswahl"));
    setWindowTitle(QStringLiteral("Buchungskreisauswahl"));
    setFixedSize(319, 227);

    DBLookupListBox1 = new QListView(this);
    DBLookupListBox1->setObjectName(QStringLiteral("DBLookupListBox1"));
    DBLookupListBox1->setModel(&m_kreise);
    DBLookupListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBLookupListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBLookupListBox1->installEventFilter(this);
    DBLookupListBox1->viewport()->installEventFilter(this);
    // the list shows the name; after a re-run the column is looked up again
    auto spalteSetzen = [this] {
        const int c = m_kreise.record().indexOf(QStringLiteral("BKName"));
        DBLookupListBox1->setModelColumn(c < 0 ? 0 : c);
    };
    spalteSetzen();
    connect(&m_kreise, &QAbstractItemModel::modelReset, this, spalteSetzen);

    QLabel* label1 = hinweis(this, "Label1", QStringLiteral("Buchungskreis"));
    QLabel* label2 = hinweis(this, "Label2", QStringLiteral("durch Doppelklick"));
    QLabel* label3 = hinweis(this, "Label3", QStringLiteral("auswählen"));

    CheckBox_export = new QCheckBox(QStringLiteral("Datenexport"), this);
    CheckBox_export->setObjectName(QStringLiteral("CheckBox_export"));
    fettFarbig(CheckBox_export, palette().color(QPalette::WindowText));
    CheckBox_export->hide();

    auto* alle = new QPushButton(QStringLiteral("Alle Buchungskreise"), this);
    alle->setObjectName(QStringLiteral("BitBtn1"));
    fettFarbig(alle, QColor(0x00, 0x80, 0x00));
    alle->setAutoDefault(false);
    connect(alle, &QPushButton::clicked, this, [this] { done(buchungskreise::Alle); });

    auto* abbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechen->setObjectName(QStringLiteral("BitBtn2"));
    fettFarbig(abbrechen, QColor(0x80, 0x00, 0x00));
    abbrechen->setAutoDefault(false);

    // The right column is as wide as its widest text in the system's font;
    // the list takes the rest of the fixed width.
    int rechts = 111;
    for (QWidget* w : {static_cast<QWidget*>(label1), static_cast<QWidget*>(label2),
                       static_cast<QWidget*>(label3), static_cast<QWidget*>(CheckBox_export)})
        rechts = std::max(rechts, w->sizeHint().width());
    rechts = std::min(rechts, width() - 8 - 8 - 8 - 120);
    const int x = width() - 8 - rechts;
    DBLookupListBox1->setGeometry(8, 8, x - 16, 176);
    label1->move(x, 16);
    label2->move(x, 34);
    label3->move(x, 52);
    CheckBox_export->setGeometry(x, 90, rechts, 20);
    alle->setGeometry(8, 192, x - 16, 27);
    abbrechen->setGeometry(x, 192, rechts, 27);
    connect(abbrechen, &QPushButton::clicked, this, [this] { done(Abbrechen); });
}

void TFormBuchungsKreisAuswahl::setDatenexportSichtbar(bool sichtbar) {
    CheckBox_export->setVisible(sichtbar);
}

bool TFormBuchungsKreisAuswahl::datenexport() const {
    return CheckBox_export->isChecked();
}

void TFormBuchungsKreisAuswahl::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    DBLookupListBox1->setFocus();
}

void TFormBuchungsKreisAuswahl::DBLookupListBox1DblClick() {
    const QModelIndex aktuell = DBLookupListBox1->currentIndex();
    const int spalte = m_kreise.record().indexOf(QStringLiteral("id"));
    if (!aktuell.isValid() || spalte < 0 ||
        !DBLookupListBox1->selectionModel()->isSelected(aktuell))
        return;
    const QVariant id = m_kreise.data(m_kreise.index(aktuell.row(), spalte));
    if (id.isNull())
        return;
    done(buchungskreise::Alle + id.toInt());
}

bool TFormBuchungsKreisAuswahl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBLookupListBox1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        DBLookupListBox1DblClick();
        return true;
    }
    if (watched == DBLookupListBox1 && event->type() == QEvent::KeyPress) {
        // the keyboard chooses as the double-click does
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            DBLookupListBox1DblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
