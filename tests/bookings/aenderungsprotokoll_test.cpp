#include "belegtest.h"

#include "bookings/buchungsschreiber.h"
#include "data/aenderungsprotokoll.h"

#include <functional>
#include <map>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace ap = aenderungsprotokoll;

class AenderungsprotokollTest : public BelegFixture {
protected:
    Buchungsschreiber schreiber() { return Buchungsschreiber(*dm); }

    // "Aktion:Buchungsid" of every row in id order.
    QStringList zeilen() {
        Sql q =
            dm->db().sql(QStringLiteral("select Aktion, Buchungsid from T_Protokoll order by id"));
        q.exec();
        QStringList r;
        while (q.next())
            r << q.value(0).toString() + QLatin1Char(':') + q.value(1).toString();
        return r;
    }

    QJsonObject json(const QString& sql) {
        return QJsonDocument::fromJson(wert(sql).toString().toUtf8()).object();
    }

    QString pruefung() {
        const ap::Pruefung p = ap::pruefen(dm->db());
        return p.fehler.isEmpty() ? ap::meldungInOrdnung(p.eintraege) : p.fehler;
    }
};

TEST_F(AenderungsprotokollTest, EveryWriteLogsOneRowWithItsStateBeforeAndAfter) {
    clock.set(QDateTime(QDate(2026, 12, 10), QTime(11, 22, 33)));
    const int id = schreiber().neueBuchungSpeichern(beleg("120,00", 20, true));
    Buchung b = *buchungstabelle::lesen(dm->db(), id, mandant);
    b.Betrag = *Currency::parse(QStringLiteral("-60,5"));
    b.IstEinnahme = 2;
    b.IstEU = 1;
    ASSERT_TRUE(schreiber().buchungAendern(b));
    schreiber().buchungLoeschen(id, mandant);
    EXPECT_EQ(zeilen(), (QStringList{"neu:1", "geändert:1", "gelöscht:1"}));

    EXPECT_EQ(wert("select Zeitpunkt from T_Protokoll where id = 1").toString(),
              "2026-12-10T11:22:33");
    EXPECT_EQ(wert("select mandant from T_Protokoll where id = 1").toInt(), mandant);
    EXPECT_EQ(wert("select Wirtschaftsjahr from T_Protokoll where id = 1").toInt(), zeitraum);
    EXPECT_TRUE(wert("select Vorher from T_Protokoll where id = 1").isNull());

    // the change: the old and the new state with their postings, exact amounts
    const QJsonObject vorher = json("select Vorher from T_Protokoll where id = 2");
    const QJsonObject nachher = json("select Nachher from T_Protokoll where id = 2");
    EXPECT_EQ(vorher.value("Betrag").toString(), "120.0000");
    EXPECT_EQ(
        QJsonDocument(vorher.value("Kontenbewegungen").toArray()).toJson(QJsonDocument::Compact),
        R"([[1020,"20.0000"]])");
    EXPECT_EQ(nachher.value("Betrag").toString(), "-60.5000");
    EXPECT_EQ(nachher.value("IstEU").toInt(), 1);
    EXPECT_EQ(nachher.value("Buchungsdatum").toString(), "2026-03-15");
    EXPECT_EQ(
        QJsonDocument(nachher.value("Kontenbewegungen").toArray()).toJson(QJsonDocument::Compact),
        R"([[1021,"-12.1000"],[2021,"-12.1000"]])");
    // the deletion keeps what was deleted
    EXPECT_EQ(wert("select Vorher from T_Protokoll where id = 3"),
              wert("select Nachher from T_Protokoll where id = 2"));
    EXPECT_TRUE(wert("select Nachher from T_Protokoll where id = 3").isNull());

    // a deletion of a row that is already gone writes nothing
    schreiber().buchungLoeschen(id, mandant);
    EXPECT_EQ(anzahl("T_Protokoll"), 3);
    EXPECT_EQ(pruefung(), "Protokoll in Ordnung: 3 Einträge");
}

TEST_F(AenderungsprotokollTest, AFailureInTheMiddleLeavesNeitherChangeNorRow) {
    const int id = schreiber().neueBuchungSpeichern(beleg("120,00", 20, true));
    Buchung b = *buchungstabelle::lesen(dm->db(), id, mandant);
    b.Betrag = *Currency::parse(QStringLiteral("240"));

    // the postings fail after the booking row was written
    postingsSchlagenFehl();
    EXPECT_THROW(schreiber().neueBuchungSpeichern(beleg("10,00", 20, true)), DatenbankFehler);
    EXPECT_THROW(schreiber().buchungAendern(b), DatenbankFehler);
    schreibfehlerWeg();
    postingsSchlagenFehl(QStringLiteral("DELETE"));
    EXPECT_THROW(schreiber().buchungLoeschen(id, mandant), DatenbankFehler);
    schreibfehlerWeg();

    // the log row itself fails after booking and postings were written
    schreibfehler(QStringLiteral("T_Protokoll"));
    EXPECT_THROW(schreiber().neueBuchungSpeichern(beleg("10,00", 20, true)), DatenbankFehler);
    EXPECT_THROW(schreiber().buchungAendern(b), DatenbankFehler);
    EXPECT_THROW(schreiber().buchungLoeschen(id, mandant), DatenbankFehler);
    schreibfehlerWeg();

    EXPECT_EQ(anzahl("T_Buchungen"), 1);
    EXPECT_EQ(wert("select Betrag from T_Buchungen").toLongLong(), 1200000);
    EXPECT_EQ(bewegungen(id), QStringList{"1020:200000"});
    EXPECT_EQ(zeilen(), QStringList{"neu:1"});
    EXPECT_EQ(pruefung(), "Protokoll in Ordnung: 1 Einträge");
}

// Each way of tampering with the file, and the row the check names first.
TEST_F(AenderungsprotokollTest, TheCheckNamesTheFirstRowThatDoesNotMatch) {
    struct Fall {
        const char* was;
        const char* sql;
        const char* meldung;
    };
    const Fall faelle[] = {
        {"untouched", "", "Protokoll in Ordnung: 4 Einträge"},
        {"booking changed", "update T_Buchungen set Betrag = 1 where ID = 2",
         "Buchung 2: sie stimmt nicht mit dem Protokolleintrag 2 überein; sie wurde außerhalb von "
         "Velmora geändert."},
        {"posting changed", "update t_kontenbewegungen set St_Betrag = 5 where Buchungen_id = 1",
         "Buchung 1: sie stimmt nicht mit dem Protokolleintrag 4 überein; sie wurde außerhalb von "
         "Velmora geändert."},
        {"booking deleted", "delete from T_Buchungen where ID = 2",
         "Buchung 2: sie fehlt, obwohl der Protokolleintrag 2 sie enthält; sie wurde außerhalb "
         "von Velmora gelöscht."},
        {"booking inserted",
         "insert into T_Buchungen (ID, mandant, Wirtschaftsjahr, Betrag) values (9, 1, 1, 5)",
         "Buchung 9: sie hat keinen Protokolleintrag; sie wurde außerhalb von Velmora angelegt."},
        {"row in the middle deleted", "delete from T_Protokoll where id = 2",
         "Protokolleintrag 3: der Eintrag 2 davor fehlt."},
        {"first row deleted", "delete from T_Protokoll where id = 1",
         "Protokolleintrag 2: der Eintrag 1 davor fehlt."},
        {"row edited", "update T_Protokoll set Aktion = 'neu' where id = 3",
         "Protokolleintrag 3: sein Inhalt passt nicht zu seiner Prüfsumme; er oder ein Eintrag "
         "davor wurde verändert."},
        {"hash altered", "update T_Protokoll set Hash = 'x' || substr(Hash, 2) where id = 2",
         "Protokolleintrag 2: sein Inhalt passt nicht zu seiner Prüfsumme; er oder ein Eintrag "
         "davor wurde verändert."},
        // the last row of a booking removed: the booking no longer matches
        {"last row deleted", "delete from T_Protokoll where id = 4",
         "Buchung 1: sie stimmt nicht mit dem Protokolleintrag 3 überein; sie wurde außerhalb von "
         "Velmora geändert."},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.was);
        SetUp();
        const int eins = schreiber().neueBuchungSpeichern(beleg("120,00", 20, true));
        schreiber().neueBuchungSpeichern(beleg("50,00", 10, false));
        Buchung b = *buchungstabelle::lesen(dm->db(), eins, mandant);
        b.Text = QStringLiteral("geändert");
        ASSERT_TRUE(schreiber().buchungAendern(b));
        b.Steuersatz = 10;
        ASSERT_TRUE(schreiber().buchungAendern(b));
        if (*f.sql)
            dm->db().execute(QString::fromUtf8(f.sql));
        EXPECT_EQ(pruefung(), QString::fromUtf8(f.meldung));
    }

    // a row edited together with its own hash: the next row breaks
    SetUp();
    schreiber().neueBuchungSpeichern(beleg("120,00", 20, true));
    schreiber().neueBuchungSpeichern(beleg("50,00", 10, false));
    ap::Eintrag e;
    e.id = 1;
    e.Zeitpunkt = QDateTime::fromString(
        wert("select Zeitpunkt from T_Protokoll where id = 1").toString(), Qt::ISODate);
    e.mandant = mandant;
    e.Wirtschaftsjahr = zeitraum;
    e.Aktion = ap::neu();
    e.Buchungsid = 1;
    e.Nachher = wert("select Nachher from T_Protokoll where id = 1").toString();
    // who wrote it is part of the row: the system's user, on a server the role
    e.Benutzer = wert("select Benutzer from T_Protokoll where id = 1").toString();
    EXPECT_EQ(e.Benutzer, dm->db().benutzer());
    EXPECT_FALSE(e.Benutzer.isEmpty());
    ASSERT_EQ(ap::hash(QString(), e), wert("select Hash from T_Protokoll where id = 1").toString());
    e.Nachher.replace(QStringLiteral("120.0000"), QStringLiteral("12.0000"));
    dm->db()
        .sql(QStringLiteral("update T_Protokoll set Nachher = :n, Hash = :h where id = 1"))
        .bind("n", e.Nachher)
        .bind("h", ap::hash(QString(), e))
        .exec();
    EXPECT_EQ(pruefung(), "Protokolleintrag 2: sein Inhalt passt nicht zu seiner Prüfsumme; er "
                          "oder ein Eintrag davor wurde verändert.");
}

TEST_F(AenderungsprotokollTest, TheChainCoversEveryColumnOfARow) {
    ap::Eintrag e;
    e.id = 7;
    e.Zeitpunkt = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
    e.mandant = 1;
    e.Wirtschaftsjahr = 2;
    e.Aktion = ap::neu();
    e.Buchungsid = 3;
    e.Nachher = QStringLiteral("{}");
    const QString h = ap::hash(QStringLiteral("abc"), e);
    EXPECT_EQ(h.size(), 64);
    EXPECT_NE(ap::hash(QStringLiteral("abd"), e), h);
    for (const auto& aendern : std::initializer_list<std::function<void(ap::Eintrag&)>>{
             [](ap::Eintrag& x) { x.id = 8; },
             [](ap::Eintrag& x) { x.Zeitpunkt = x.Zeitpunkt.addSecs(1); },
             [](ap::Eintrag& x) { x.mandant = 2; }, [](ap::Eintrag& x) { x.Wirtschaftsjahr = 3; },
             [](ap::Eintrag& x) { x.Aktion = ap::geloescht(); },
             [](ap::Eintrag& x) { x.Buchungsid.reset(); },
             [](ap::Eintrag& x) { x.Vorher = QStringLiteral("{}"); },
             [](ap::Eintrag& x) { x.Nachher.clear(); }}) {
        ap::Eintrag anders = e;
        aendern(anders);
        EXPECT_NE(ap::hash(QStringLiteral("abc"), anders), h);
    }
}

TEST_F(AenderungsprotokollTest, DeletingAYearLogsItsBookingsAndKeepsEveryRow) {
    const int anderes = dm->zeitraumAnlegen(mandant, 2025);
    Buchung alt = beleg("80,00", 20, true);
    alt.Wirtschaftsjahr = anderes;
    alt.Buchungsdatum = QDate(2025, 5, 1);
    schreiber().neueBuchungSpeichern(alt);
    schreiber().neueBuchungSpeichern(beleg("10,00", 20, true));
    alt.Betrag = *Currency::parse(QStringLiteral("90"));
    alt.Belegnummer = 99;
    schreiber().neueBuchungSpeichern(alt);

    dm->ZeitraumLoeschen(anderes);
    EXPECT_EQ(zeilen(), (QStringList{"neu:1", "neu:2", "neu:3", "gelöscht:1", "gelöscht:3",
                                     "Wirtschaftsjahr gelöscht:"}));
    EXPECT_EQ(wert("select Vorher from T_Protokoll where id = 4"),
              wert("select Nachher from T_Protokoll where id = 1"));
    EXPECT_EQ(wert("select Vorher from T_Protokoll where id = 6").toString(), R"({"Jahr":2025})");
    EXPECT_EQ(pruefung(), "Protokoll in Ordnung: 6 Einträge");

    // a client's deletion: one row, its bookings stay in the file and in the log
    const int zweiter = dm->mandantAnlegen(QStringLiteral("Zweiter"), false);
    dm->MandantLoeschen(zweiter);
    EXPECT_EQ(zeilen().back(), "Mandant gelöscht:");
    EXPECT_EQ(wert("select Vorher from T_Protokoll where id = 7").toString(),
              QStringLiteral(R"({"Bezeichnung":"Zweiter","mandant":%1})").arg(zweiter));
    EXPECT_EQ(pruefung(), "Protokoll in Ordnung: 7 Einträge");
}

TEST_F(AenderungsprotokollTest, TheFieldsOfARowAreShownAsTheUserKnowsThem) {
    const int id = schreiber().neueBuchungSpeichern(beleg("1.234,50", 20, true));
    const auto f = ap::felder(wert("select Nachher from T_Protokoll").toString());
    std::map<QString, QString> m(f.begin(), f.end());
    EXPECT_EQ(f.front().first, "Buchungsdatum");
    EXPECT_EQ(m["Buchungsdatum"], "15.03.2026");
    EXPECT_EQ(m["Betrag"], "1.234,50");
    EXPECT_EQ(m["Kontenbewegungen"], "1020: 205,75");
    EXPECT_EQ(m["Belegnummer"], "1");
    EXPECT_EQ(m.count("ID"), 0u);
    EXPECT_TRUE(ap::felder(QString()).empty());
    (void)id;
}
