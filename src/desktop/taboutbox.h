#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;

// The program's version, from the build.
QString programmVersion();
// The program's icon in its sizes, for windows.
QIcon programmIcon();

// The maker's data shown in the about box, from the file "hersteller.json"
// that lies beside the program (the copy built into the program when it is
// missing). A value the file does not hold stays empty and its label hidden.
struct Hersteller {
    QString firma;
    QString ansprechperson;
    QString strasse;
    QString ort;
    QString telefon;
    QString email;
    QString web;
    static QString dateiName() { return QStringLiteral("hersteller.json"); }
    // The file beside the program.
    static Hersteller laden();
    // The file at pfad; the built-in copy when it cannot be read.
    static Hersteller laden(const QString& pfad);
};

// "Info": product, version, maker and the maker's links.
class TAboutBox final : public QDialog {
public:
    explicit TAboutBox(QWidget* parent = nullptr, Hersteller hersteller = Hersteller::laden());

    // How a link is opened; the desktop's default handler unless a test sets it.
    void setOeffnen(std::function<void(const QUrl&)> oeffnen) { m_oeffnen = std::move(oeffnen); }

    QLabel* Version = nullptr;
    QLabel* Label4 = nullptr; // the e-mail address
    QLabel* Label6 = nullptr; // the web address
    QLabel* Logo = nullptr;
    QPushButton* OKButton = nullptr;

    void FormShow();
    void OKButtonClick();
    void LogoClick();
    void Label4Click();
    void Label6Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Hersteller m_hersteller;
    std::function<void(const QUrl&)> m_oeffnen;
};
