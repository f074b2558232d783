#include "desktop/taboutbox.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

QString programmVersion() {
    return QStringLiteral(VELMORA_VERSION);
}

QIcon programmIcon() {
    QIcon icon;
    for (const char* groesse : {"32", "48", "256"})
        icon.addFile(QStringLiteral(":/desktop/bilder/velmora-%1.png").arg(QLatin1String(groesse)));
    return icon;
}

Hersteller Hersteller::laden() {
    return laden(QDir(QCoreApplication::applicationDirPath()).filePath(dateiName()));
}

Hersteller Hersteller::laden(const QString& pfad) {
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly)) {
        f.setFileName(QStringLiteral(":/desktop/hersteller.json"));
        f.open(QIODevice::ReadOnly);
    }
    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    const auto text = [&o](const char* key) {
        return o.value(QLatin1String(key)).toString().trimmed();
    };
    return {text("firma"),   text("ansprechperson"), text("strasse"), text("ort"),
            text("telefon"), text("email"),          text("web")};
}

namespace {

QString verweis(const QString& ziel, const QString& text) {
    return QStringLiteral("<a href=\"%1\" style=\"color: navy;\">%2</a>")
        .arg(ziel.toHtmlEscaped(), text.toHtmlEscaped());
}

// A label that reaches its link by mouse and by keyboard (Tab, then Enter).
QLabel* verweisLabel(const QString& name, const QString& ziel, const QString& text,
                     QWidget* parent) {
    auto* l = new QLabel(verweis(ziel, text), parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::RichText);
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    l->setOpenExternalLinks(false);
    l->setCursor(Qt::PointingHandCursor);
    return l;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent, Hersteller hersteller)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_hersteller(std::move(hersteller)),
      m_oeffnen([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Info"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* innen = new QVBoxLayout(panel);
    innen->setContentsMargins(16, 12, 16, 12);

    auto* programmIconLabel = new QLabel(panel);
    programmIconLabel->setObjectName(QStringLiteral("ProgramIcon"));
    programmIconLabel->setPixmap(programmIcon().pixmap(32, 32));
    innen->addWidget(programmIconLabel);

    auto* produkt = new QLabel(QStringLiteral("Velmora"), panel);
    produkt->setObjectName(QStringLiteral("ProductName"));
    QFont gross = produkt->font();
    gross.setBold(true);
    gross.setPointSizeF(gross.pointSizeF() * 1.8);
    produkt->setFont(gross);
    produkt->setStyleSheet(QStringLiteral("color: maroon;"));
    innen->addWidget(produkt);

    Version = new QLabel(panel);
    Version->setObjectName(QStringLiteral("Version"));
    innen->addWidget(Version);

    auto* entwickelt = new QLabel(QStringLiteral("Entwickelt von ") + m_hersteller.firma, panel);
    entwickelt->setObjectName(QStringLiteral("Copyright"));
    innen->addSpacing(6);
    innen->addWidget(entwickelt);

    auto* zeile = new QHBoxLayout;
    Logo = new QLabel(panel);
    Logo->setObjectName(QStringLiteral("Logo"));
    Logo->setPixmap(QPixmap(QStringLiteral(":/desktop/bilder/hersteller.png")));
    Logo->setCursor(Qt::PointingHandCursor);
    Logo->setToolTip(m_hersteller.web);
    Logo->installEventFilter(this);
    zeile->addWidget(Logo, 0, Qt::AlignTop);
    auto* kontakt = new QVBoxLayout;
    for (const QString& text : {m_hersteller.ansprechperson, m_hersteller.strasse, m_hersteller.ort,
                                m_hersteller.telefon}) {
        if (!text.isEmpty())
            kontakt->addWidget(new QLabel(text, panel));
    }
    zeile->addLayout(kontakt, 1);
    innen->addLayout(zeile);

    Label4 = verweisLabel(QStringLiteral("Label4"), QStringLiteral("mailto:") + m_hersteller.email,
                          m_hersteller.email, panel);
    connect(Label4, &QLabel::linkActivated, this, [this] { Label4Click(); });
    innen->addWidget(Label4);
    // no address is shown rather than a made-up one
    Label4->setVisible(!m_hersteller.email.isEmpty());

    auto* update = new QHBoxLayout;
    auto* updateLabel = new QLabel(QStringLiteral("Update:"), panel);
    updateLabel->setObjectName(QStringLiteral("LabelUpdate"));
    update->addWidget(updateLabel);
    Label6 = verweisLabel(QStringLiteral("Label6"), m_hersteller.web, m_hersteller.web, panel);
    connect(Label6, &QLabel::linkActivated, this, [this] { Label6Click(); });
    update->addWidget(Label6, 1);
    innen->addLayout(update);
    updateLabel->setVisible(!m_hersteller.web.isEmpty());
    Label6->setVisible(!m_hersteller.web.isEmpty());
    if (m_hersteller.web.isEmpty()) {
        Logo->setCursor(Qt::ArrowCursor);
        Logo->setToolTip(QString());
    }

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });

    auto* aussen = new QVBoxLayout(this);
    aussen->addWidget(panel);
    aussen->addWidget(OKButton, 0, Qt::AlignHCenter);
    aussen->setSizeConstraint(QLayout::SetFixedSize);
    OKButton->setFocus();
}

void TAboutBox::FormShow() {
    Version->setText(QStringLiteral("Version: ") + programmVersion());
}

void TAboutBox::OKButtonClick() {
    done(QDialog::Accepted);
}

void TAboutBox::LogoClick() {
    if (!m_hersteller.web.isEmpty())
        m_oeffnen(QUrl(m_hersteller.web));
}

void TAboutBox::Label4Click() {
    if (!m_hersteller.email.isEmpty())
        m_oeffnen(QUrl(QStringLiteral("mailto:") + m_hersteller.email));
}

void TAboutBox::Label6Click() {
    if (!m_hersteller.web.isEmpty())
        m_oeffnen(QUrl(m_hersteller.web));
}

void TAboutBox::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Logo && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        LogoClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
