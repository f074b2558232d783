#include "auswertungtest.h"
#include "reports/journal.h"
#include "reports/mandantenname.h"
#include "reports/trep_journal.h"

namespace {

using reportengine::BandKind;
using reportengine::PageModel;

class JournalTest : public AuswertungTest {
protected:
    PageModel bericht(int code) {
        journal::datenSetzen(*dm, daten, code);
        TRep_Journal rep(daten);
        return journal::erzeugen(*dm, rep, daten);
    }
    // One month for each case, so that each period shows only its own lines.
    void monate() {
        buche({
            // same date: by identifier, not by voucher number
            {"10.01.2026", "100", 20, true, false, false, 0, "Zweite Nummer", 5},
            {"10.01.2026", "50", 20, true, false, false, 0, "Erste Nummer", 2},
            // an intra-community acquisition, then another booking of the same day
            {"03.02.2026", "1000", 20, false, true, false, einkauf, "Ware aus Deutschland", 7},
            {"03.02.2026", "240", 20, false, false, false, einkauf, "Büromaterial", 8},
            {"15.03.2026", "120", 20, true, false, false, 0, "Honorar", 10},
            {"10.03.2026", "150", 0, false, false, true, einkauf, "EUSt Zoll", 12},
            {"31.03.2026", "80", 0, true, false, false, 0, "Neujahr", 11},
            // outside every period tested below but March's quarter
            {"01.04.2026", "10", 10, true, false, false, 0, "Nicht im März", 13},
        });
    }
    T_RepDaten daten;
};

TEST_F(JournalTest, LinesOfEachKindOfBooking) {
    monate();
    struct Fall {
        const char* name;
        int code;
        QStringList zeilen;
    };
    const Fall faelle[] = {
        {"gleiches Datum",
         1,
         {"10.01.2026\t5\tZweite Nummer\t100,00\t20\t\t16,67",
          "10.01.2026\t2\tErste Nummer\t50,00\t20\t\t8,33"}},
        {"innergemeinschaftlicher Erwerb",
         2,
         {"03.02.2026\t7\tWare aus Deutschland\t-1.000,00\t20\t200,00\t200,00",
          "03.02.2026\t8\tBüromaterial\t-240,00\t20\t40,00\t"}},
        {"Einnahme, Drittland, 0 %",
         3,
         {"10.03.2026\t12\tEUSt Zoll\t\t\t150,00\t", "15.03.2026\t10\tHonorar\t120,00\t20\t\t20,00",
          "31.03.2026\t11\tNeujahr\t80,00\t0\t\t"}},
        {"ohne Buchungen", 5, {}},
    };
    for (const Fall& f : faelle) {
        const PageModel m = bericht(f.code);
        EXPECT_EQ(zeilenDer(m, BandKind::Detail), f.zeilen) << f.name;
        ASSERT_EQ(m.pages.size(), 1u) << f.name;
    }
    // a period without bookings still has its page header
    const QStringList kopf = zeilenDer(bericht(5), BandKind::PageHeader);
    EXPECT_EQ(kopf, QStringList({"Buchungsjournal\tTischlerei Huber\tSeite 1 von 1", "Mai 2026",
                                 "Datum\tBelegnummer\tBuchungstext\tBetrag\tSteuersatz\tVST\tUST"}))
        << kopf.join('\n').toStdString();
    // the quarter takes the last day of March but not the first of April
    EXPECT_EQ(zeilenDer(bericht(13), BandKind::Detail).size(), 7);
}

// Reverse charge and construction print once, as an acquisition does, with
// their kind; a small business's reverse charge has no second posting, and
// the next booking still prints.
TEST_F(JournalTest, ReverseChargeConstructionAndKennzahlOnce) {
    dm->db().execute(QStringLiteral("update T_Stammdaten set SteuerfreiKZ = '016'"));
    buche({
        {"04.05.2026", "300", 20, false, true, false, einkauf, "Software", 1,
         steuerschuld::ReverseCharge},
        {"05.05.2026", "500", 10, false, true, false, einkauf, "Dachdecker", 2,
         steuerschuld::Bauleistung},
        {"06.05.2026", "120", 20, false, false, false, einkauf, "Papier", 3},
    });
    Buchung kz;
    kz.mandant = mandant;
    kz.Wirtschaftsjahr = zeitraum;
    kz.Buchungsdatum = QDate(2026, 5, 7);
    kz.Belegnummer = 4;
    kz.Text = QStringLiteral("Lieferung Italien");
    kz.Betrag = *Currency::parse(QStringLiteral("900"));
    kz.BK = erloese;
    kz.SteuerfreiKZ = QStringLiteral("017");
    Buchungsschreiber(*dm).neueBuchungSpeichern(kz);
    EXPECT_EQ(zeilenDer(bericht(5), BandKind::Detail),
              QStringList({"04.05.2026\t1\tSoftware (Reverse Charge)\t-300,00\t20\t60,00\t60,00",
                           "05.05.2026\t2\tDachdecker (Bauleistung)\t-500,00\t10\t50,00\t50,00",
                           "06.05.2026\t3\tPapier\t-120,00\t20\t20,00\t",
                           "07.05.2026\t4\tLieferung Italien (KZ 017)\t900,00\t0\t\t"}));
}

TEST_F(JournalTest, ASecondPageHasItsHeaderAndNumber) {
    for (int i = 1; i <= 60; ++i) {
        const QByteArray text = QByteArray("Beleg ") + QByteArray::number(i);
        buche(Beleg{"04.06.2026", "12", 20, true, false, false, 0, text.constData()});
    }
    const PageModel m = bericht(6);
    ASSERT_EQ(m.pages.size(), 2u);
    const QString kopf2 = "Buchungsjournal\tTischlerei Huber\tSeite 2 von 2";
    EXPECT_EQ(reportengine::textLines(PageModel{m.paperSize, {m.pages[1]}}).mid(0, 2),
              QStringList({kopf2, "Juni 2026"}));
    const QStringList zeilen = zeilenDer(m, BandKind::Detail);
    ASSERT_EQ(zeilen.size(), 60);
    EXPECT_EQ(zeilen[59], "04.06.2026\t60\tBeleg 60\t12,00\t20\t\t2,00");
    // 50 lines fill the first page between its header and the print date;
    // the second has its header, ten lines, the sums and the print date
    EXPECT_EQ(m.pages[1].bands.size(), 1u + 10u + 1u + 1u);
}

TEST_F(JournalTest, SumsUnderTheLinesCountEachBookingOnce) {
    monate();
    // Betrag 100 + 50 - 1.000 - 240 + 120 + 80 (the import's blank amount
    // counts 0); VST 200 + 40 + 150; UST 16,67 + 8,33 + 200 + 20
    EXPECT_EQ(zeilenDer(bericht(13), BandKind::Summary),
              QStringList({"Summe\t-890,00\t\t390,00\t245,00"}));
    EXPECT_EQ(zeilenDer(bericht(5), BandKind::Summary), QStringList({"Summe\t0,00\t\t0,00\t0,00"}));
}

TEST_F(JournalTest, ALongTextAndALongClientNameAreNeverCut) {
    const QString text = QStringLiteral("Honorar Webdesign Kunde Bäckerei Huber Wien Relaunch des "
                                        "Onlineshops mit Warenkorb und Zahlungsmodul");
    const QString name = QStringLiteral(
        "Tischlerei und Zimmerei Huber Gesellschaft mit beschränkter Haftung aus Riezlern");
    ASSERT_EQ(text.size(), 100);
    ASSERT_EQ(name.size(), 80);
    auto s = dm->Table_Stammdaten();
    ASSERT_TRUE(s.has_value());
    s->GanzerName = name;
    dm->stammdatenSpeichern(*s);
    const QByteArray utf8 = text.toUtf8();
    buche(Beleg{"04.06.2026", "1200", 20, true, false, false, 0, utf8.constData()});
    buche(Beleg{"05.06.2026", "12", 20, true, false, false, 0, "Kurz"});
    const PageModel m = bericht(6);
    ASSERT_EQ(m.pages.size(), 1u);
    QStringList woerter;
    for (const auto& b : m.pages[0].bands) {
        for (const auto& t : b.texts)
            woerter << t.text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    for (const QString& w : text.split(QLatin1Char(' ')) + name.split(QLatin1Char(' ')))
        EXPECT_TRUE(woerter.contains(w)) << w.toStdString();
    // the amounts stay on the text's first line; the next booking below its last
    const QStringList zeilen = zeilenDer(m, BandKind::Detail);
    ASSERT_GE(zeilen.size(), 3);
    EXPECT_TRUE(zeilen[0].startsWith("04.06.2026\t1\tHonorar Webdesign"))
        << zeilen[0].toStdString();
    EXPECT_TRUE(zeilen[0].endsWith("\t1.200,00\t20\t\t200,00")) << zeilen[0].toStdString();
    EXPECT_EQ(zeilen.last(), "05.06.2026\t2\tKurz\t12,00\t20\t\t2,00");
    // the name keeps left of "Seite 1 von 1" and the period moves below it
    const QStringList kopf = zeilenDer(m, BandKind::PageHeader);
    EXPECT_TRUE(kopf[0].startsWith("Buchungsjournal\tTischlerei")) << kopf[0].toStdString();
    EXPECT_TRUE(kopf[0].endsWith("\tSeite 1 von 1")) << kopf[0].toStdString();
    EXPECT_TRUE(kopf.contains("Juni 2026"));
    EXPECT_NE(kopf[1], "Juni 2026");
}

TEST_F(JournalTest, ClientNameByTheRowTest) {
    dm->db().sql("update T_Stammdaten set GanzerName = null").exec();
    EXPECT_EQ(zeilenDer(bericht(17), BandKind::PageHeader).first(),
              "Buchungsjournal\t\tSeite 1 von 1");
    dm->db().sql("delete from T_Stammdaten").exec();
    EXPECT_EQ(zeilenDer(bericht(17), BandKind::PageHeader).first(),
              "Buchungsjournal\t" + mandantenname::keinName() + "\tSeite 1 von 1");
}

TEST_F(JournalTest, ExportHasEachBookingOnceWithItsCircle) {
    monate();
    journal::datenSetzen(*dm, daten, 17);
    journal::exportOeffnen(*dm, daten);
    ExportAbfrage& q = dm->Query_Export();
    ASSERT_TRUE(q.offen());
    QStringList zeilen;
    QStringList titel;
    for (int c = 0; c < q.columnCount(); ++c)
        titel << q.headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titel, QStringList({"Datum", "Belegnummer", "Text", "Steuersatz", "Betrag", "VST",
                                  "UST", "Buchungskreis"}));
    for (int r = 0; r < q.rowCount(); ++r) {
        QStringList z;
        for (int c = 0; c < q.columnCount(); ++c)
            z << q.index(r, c).data().toString();
        zeilen << z.join('|');
    }
    EXPECT_EQ(zeilen, QStringList({
                          "10.01.2026|5|Zweite Nummer|20|100||16,67|Erlöse",
                          "10.01.2026|2|Erste Nummer|20|50||8,33|Erlöse",
                          "03.02.2026|7|Ware aus Deutschland|20|-1000|200|200|Einkauf",
                          "03.02.2026|8|Büromaterial|20|-240|40||Einkauf",
                          "10.03.2026|12|EUSt Zoll|0|-150|150||Einkauf",
                          "15.03.2026|10|Honorar|20|120||20|Erlöse",
                          "31.03.2026|11|Neujahr|0|80||0|Erlöse",
                          "01.04.2026|13|Nicht im März|10|10||0,91|Erlöse",
                      }));
    EXPECT_EQ(q.index(2, 4).data(ZahlRolle).value<Currency>(), *Currency::parse("-1000"));
    EXPECT_EQ(q.index(0, 0).data(DatumRolle).toDate(), QDate(2026, 1, 10));
    EXPECT_FALSE(q.index(0, 5).data(ZahlRolle).isValid());
}

} // namespace
