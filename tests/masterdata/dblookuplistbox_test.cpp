#include "stammdatenfixture.h"

#include "masterdata/dblookuplistbox.h"
#include "masterdata/mandanten.h"

#include <QSignalSpy>
#include <QTest>

class DBLookupListBoxTest : public StammdatenFixture {
protected:
    void SetUp() override {
        StammdatenFixture::SetUp();
        beta = *mandanten::anlegen(*dm, "Beta").id;
        dm->Table_MandantRequery();
        liste.setSource(&dm->Table_Mandant(), "id", "Bezeichnung");
        liste.resize(200, 200);
        liste.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&liste));
    }

    DBLookupListBox liste;
    int beta = -1;
};

TEST_F(DBLookupListBoxTest, TheMarkedKeySurvivesARequeryWhileItsRowExists) {
    liste.setKeyValue(beta);
    EXPECT_EQ(liste.markedText(), "Beta");
    mandanten::anlegen(*dm, "Gamma");
    dm->Table_MandantRequery();
    EXPECT_EQ(liste.keyValue(), beta);
    dm->MandantLoeschen(beta);
    dm->Table_MandantRequery();
    EXPECT_EQ(liste.keyValue(), std::nullopt);
    liste.setKeyValue(4711);
    EXPECT_EQ(liste.keyValue(), std::nullopt);
}

TEST_F(DBLookupListBoxTest, EnterAndDoubleClickChooseTheMarkedEntry) {
    QSignalSpy gewaehlt(&liste, &DBLookupListBox::entryChosen);
    liste.setKeyValue(std::nullopt);
    QTest::keyClick(&liste, Qt::Key_Return);
    EXPECT_EQ(gewaehlt.count(), 0);
    liste.setKeyValue(beta);
    QTest::keyClick(&liste, Qt::Key_Return);
    EXPECT_EQ(gewaehlt.count(), 1);
    const QRect zeile = liste.visualRect(liste.model()->index(0, liste.modelColumn()));
    QTest::mouseDClick(liste.viewport(), Qt::LeftButton, {}, zeile.center());
    EXPECT_EQ(gewaehlt.count(), 2);
    EXPECT_EQ(liste.markedText(), "Alpha");
    // a double-click below the entries chooses nothing
    QTest::mouseDClick(liste.viewport(), Qt::LeftButton, {}, QPoint(10, 190));
    EXPECT_EQ(gewaehlt.count(), 2);
}
