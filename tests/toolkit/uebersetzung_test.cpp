#include "toolkit/uebersetzung.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString ohneMnemonic(QString text) {
    return text.remove(QLatin1Char('&'));
}

QStringList knoepfe(QMessageBox::StandardButtons welche) {
    QMessageBox box;
    box.setStandardButtons(welche);
    QStringList texte;
    for (QAbstractButton* b : box.buttons())
        texte << ohneMnemonic(b->text());
    texte.sort();
    return texte;
}

} // namespace

TEST(QtUebersetzung, TheLocaleOrGermanWhenQtHasNoneForIt) {
    const struct {
        const char* locale;
        const char* sprache;
    } faelle[] = {{"de_AT", "de"},
                  {"de_DE", "de"},
                  {"fr_FR", "fr"},
                  // English and C have no texts of their own: German
                  {"en_US", "de"},
                  {"C", "de"},
                  {"xx_XX", "de"}};
    for (const auto& f : faelle) {
        QtUebersetzung u{QLocale(QLatin1String(f.locale))};
        EXPECT_TRUE(u.geladen()) << f.locale;
        EXPECT_TRUE(u.sprache().startsWith(QLatin1String(f.sprache)))
            << f.locale << " " << u.sprache().toStdString();
    }
}

TEST(QtUebersetzung, BoxesAndTheFileDialogSpeakGerman) {
    const QStringList englisch =
        knoepfe(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    {
        QtUebersetzung u{QLocale(QLatin1String("de_AT"))};
        ASSERT_TRUE(u.geladen());
        EXPECT_EQ(
            knoepfe(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok),
            (QStringList{"Abbrechen", "Ja", "Nein", "OK"}));

        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        const auto* name = dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel"));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(ohneMnemonic(name->text()), QStringLiteral("Dateiname:"));
        const auto* box = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(ohneMnemonic(box->button(QDialogButtonBox::Cancel)->text()),
                  QStringLiteral("Abbrechen"));
    }
    // gone with its owner; a folder without catalogues installs nothing
    EXPECT_EQ(knoepfe(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok),
              englisch);
    QTemporaryDir leer;
    QtUebersetzung keine{QLocale(QLatin1String("de_AT")), leer.path()};
    EXPECT_FALSE(keine.geladen());
    EXPECT_EQ(keine.sprache(), QString());
    EXPECT_EQ(knoepfe(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok),
              englisch);
}
