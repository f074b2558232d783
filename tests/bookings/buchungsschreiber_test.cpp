#include "belegtest.h"

#include "bookings/buchungsschreiber.h"
#include "data/steuersatz.h"

class BuchungsschreiberTest : public BelegFixture {
protected:
    Buchungsschreiber schreiber() { return Buchungsschreiber(*dm); }
    QString abfrage(const QString& sql) {
        Sql q = dm->db().sql(sql);
        q.exec();
        return q.next() ? q.value(0).toString() : QString();
    }
};

TEST_F(BuchungsschreiberTest, PostingIdentifiersAreTableMaximaAcrossClients) {
    const int erste = schreiber().neueBuchungSpeichern(beleg("120,00", 20, true));
    EXPECT_EQ(erste, 1);
    EXPECT_EQ(wert("select id from t_kontenbewegungen where Buchungen_id = 1").toInt(), 1);

    // another client's posting holds the highest identifier
    bewegung(mandant + 1, 77, 1020, "1,00");
    const int ig = schreiber().neueBuchungSpeichern(beleg("1000,00", 20, false, 1));
    EXPECT_EQ(ig, 2);
    Sql q = dm->db().sql(QStringLiteral(
        "select id, Konten_Nr from t_kontenbewegungen where Buchungen_id = 2 order by id"));
    q.exec();
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 3);
    EXPECT_EQ(q.value(1).toInt(), 1021);
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 4);
    EXPECT_EQ(q.value(1).toInt(), 2021);
}

TEST_F(BuchungsschreiberTest, NewBookingStoresEveryColumnAndItsPostings) {
    Buchung b = beleg("1.234,56", 10, false);
    b.ID = 999; // the dialog's proposal; the writer allocates inside its transaction
    b.IstKFZ = 1;
    const int id = schreiber().neueBuchungSpeichern(b);
    b.ID = id;
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), id, mandant), b);
    EXPECT_EQ(bewegungen(id), QStringList{QStringLiteral("2010:1122300")});
}

TEST_F(BuchungsschreiberTest, ChangeReplacesPostingsAndKeepsTheIdentifier) {
    const int id = schreiber().neueBuchungSpeichern(beleg("120,00", 20, true));
    ASSERT_EQ(bewegungen(id), QStringList{QStringLiteral("1020:200000")});
    schreiber().neueBuchungSpeichern(beleg("50,00", 10, false)); // posting 2

    Buchung b = *buchungstabelle::lesen(dm->db(), id, mandant);
    b.IstEinnahme = 2;
    b.IstEU = 1;
    b.Betrag = *Currency::parse(QStringLiteral("100"));
    ASSERT_TRUE(schreiber().buchungAendern(b));
    EXPECT_EQ(bewegungen(id),
              (QStringList{QStringLiteral("1021:200000"), QStringLiteral("2021:200000")}));
    QStringList ids;
    Sql q = dm->db().sql(
        QStringLiteral("select id from t_kontenbewegungen where Buchungen_id = %1 order by id")
            .arg(id));
    q.exec();
    while (q.next())
        ids << q.value(0).toString();
    EXPECT_EQ(ids.join(QLatin1Char(',')), QStringLiteral("3,4"));
    EXPECT_EQ(anzahl("T_Buchungen"), 2);
}

TEST_F(BuchungsschreiberTest, ChangeOfAVanishedRowChangesNothing) {
    Buchung b = beleg("120,00", 20, true);
    b.ID = 5;
    bewegung(mandant, 5, 1020, "3,00"); // an orphan must not be touched either
    EXPECT_FALSE(schreiber().buchungAendern(b));
    EXPECT_EQ(anzahl("T_Buchungen"), 0);
    EXPECT_EQ(bewegungen(5), QStringList{QStringLiteral("1020:30000")});
}

TEST_F(BuchungsschreiberTest, DeleteTakesThePostingsAlongOnlyOfThatClient) {
    const int id = schreiber().neueBuchungSpeichern(beleg("1000,00", 20, false, 1));
    const int andere = schreiber().neueBuchungSpeichern(beleg("50,00", 10, false));
    bewegung(mandant + 1, id, 1020, "9,00");
    schreiber().buchungLoeschen(id, mandant);
    EXPECT_EQ(anzahl("T_Buchungen", QStringLiteral("ID = %1").arg(id)), 0);
    EXPECT_TRUE(bewegungen(id).isEmpty());
    EXPECT_EQ(bewegungen(andere).size(), 1);
    EXPECT_EQ(anzahl("t_kontenbewegungen", QStringLiteral("mandant <> %1").arg(mandant)), 1);
}

TEST_F(BuchungsschreiberTest, FailuresRollBackTheWholeBooking) {
    const int id = schreiber().neueBuchungSpeichern(beleg("120,00", 20, true));
    const Buchung vorher = *buchungstabelle::lesen(dm->db(), id, mandant);
    postingsSchlagenFehl();

    EXPECT_THROW(schreiber().neueBuchungSpeichern(beleg("50,00", 10, false)), DatenbankFehler);
    EXPECT_EQ(anzahl("T_Buchungen"), 1);

    Buchung geaendert = vorher;
    geaendert.Betrag = *Currency::parse(QStringLiteral("240"));
    EXPECT_THROW(schreiber().buchungAendern(geaendert), DatenbankFehler);
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), id, mandant), vorher);
    EXPECT_EQ(bewegungen(id), QStringList{QStringLiteral("1020:200000")});

    schreibfehlerWeg();
    postingsSchlagenFehl(QStringLiteral("DELETE"));
    EXPECT_THROW(schreiber().buchungLoeschen(id, mandant), DatenbankFehler);
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), id, mandant), vorher);

    // and the connection is usable afterwards
    schreibfehlerWeg();
    EXPECT_NO_THROW(schreiber().buchungLoeschen(id, mandant));
    EXPECT_EQ(anzahl("t_kontenbewegungen"), 0);
}

// Every writer passes the same checks at the moment of writing, whatever
// the dialog or the command line checked before.
TEST_F(BuchungsschreiberTest, TheWriterRefusesWhatNoDialogMayStore) {
    const int fremderKreis = kreis(mandant + 1, QStringLiteral("Fremd"), QStringLiteral("F"));
    const struct {
        const char* was;
        std::function<void(Buchung&)> aendern;
        QString meldung;
    } faelle[] = {
        {"rate 1000 on an acquisition", [](Buchung& b) { b.Steuersatz = 1000; },
         "Für den Steuersatz 1000 % gibt es kein Steuerkonto."},
        {"import at 15",
         [](Buchung& b) {
             b.IstDrittland = 1;
             b.Steuersatz = 15;
         },
         "Für den Steuersatz 15 % gibt es kein Steuerkonto."},
        {"amount too large",
         [](Buchung& b) { b.Betrag = *Currency::parse(QStringLiteral("100000000")); },
         "Der Betrag darf höchstens 99.999.999,99 betragen."},
        {"three decimals", [](Buchung& b) { b.Betrag = Currency::fromUnits(1230); },
         "Der Betrag darf höchstens zwei Nachkommastellen haben."},
        {"circle of another client", [&](Buchung& b) { b.BK = fremderKreis; },
         "Den Buchungskreis " + QString::number(fremderKreis) +
             " gibt es beim aktuellen Mandanten nicht."},
        {"date of another year", [](Buchung& b) { b.Buchungsdatum = QDate(2025, 12, 31); },
         "Das Belegdatum 31.12.2025 liegt nicht im Wirtschaftsjahr 2026."},
        {"4,9 % the day before it began",
         [](Buchung& b) {
             b.Steuersatz = 4.9;
             b.Buchungsdatum = QDate(2026, 6, 30);
         },
         "Der Steuersatz 4,9 % gilt erst ab 01.07.2026."},
        {"reverse charge on an income",
         [](Buchung& b) {
             b.IstEinnahme = 1;
             b.Steuerschuld = steuerschuld::ReverseCharge;
         },
         "Reverse Charge und Bauleistungen gibt es nur bei Ausgaben ohne Einfuhr aus Drittland."},
        {"construction with an import",
         [](Buchung& b) {
             b.IstDrittland = 1;
             b.Steuerschuld = steuerschuld::Bauleistung;
         },
         "Reverse Charge und Bauleistungen gibt es nur bei Ausgaben ohne Einfuhr aus Drittland."},
        {"unknown kind of liability", [](Buchung& b) { b.Steuerschuld = 3; },
         "Unbekannte Art der Steuerschuld: 3."},
        {"a Kennzahl on an expense", [](Buchung& b) { b.SteuerfreiKZ = QStringLiteral("011"); },
         "Eine Kennzahl für steuerfreie Umsätze gibt es nur bei Einnahmen zu 0 %."},
        {"a Kennzahl that does not exist",
         [](Buchung& b) {
             b.IstEinnahme = 1;
             b.IstEU = 2;
             b.Steuersatz = 0;
             b.SteuerfreiKZ = QStringLiteral("012");
         },
         "'012' ist keine Kennzahl für steuerfreie Umsätze."},
    };
    for (const auto& f : faelle) {
        Buchung b = beleg("100", 20, false, 1);
        f.aendern(b);
        try {
            schreiber().neueBuchungSpeichern(b);
            ADD_FAILURE() << f.was;
        } catch (const BuchungAbgewiesen& e) {
            EXPECT_EQ(e.text(), f.meldung) << f.was;
        }
    }
    EXPECT_EQ(anzahl("T_Buchungen"), 0);
    EXPECT_EQ(anzahl("t_kontenbewegungen"), 0);
}

// The new columns are stored and read back; 4,9 % from its first day; a
// small business (016) owes reverse-charge tax without deducting it.
TEST_F(BuchungsschreiberTest, RatesWithADecimalAndTheKindsOfLiability) {
    Buchung b = beleg("104,90", 20, true);
    b.Steuersatz = 4.9;
    b.Buchungsdatum = QDate(2026, 7, 1);
    const int erste = schreiber().neueBuchungSpeichern(b);
    EXPECT_EQ(bewegungen(erste), QStringList{"1049:49000"});
    // SQLite keeps whole rates as integers; the server's column is a decimal
    EXPECT_EQ(abfrage(QStringLiteral("select %1 Steuersatz from T_Buchungen where ID = ")
                          .arg(testserver::aktiv() ? "" : "typeof(Steuersatz) || ' ' ||") +
                      QString::number(erste)),
              testserver::aktiv() ? "4.9" : "real 4.9");

    Buchung kz = beleg("80", 0, true);
    kz.SteuerfreiKZ = QStringLiteral("017");
    const int zweite = schreiber().neueBuchungSpeichern(kz);
    Buchung rc = beleg("500", 20, false, 1);
    rc.Steuerschuld = steuerschuld::ReverseCharge;
    const int dritte = schreiber().neueBuchungSpeichern(rc);
    EXPECT_EQ(bewegungen(dritte), (QStringList{"1021:1000000", "2021:1000000"}));
    if (!testserver::aktiv()) {
        EXPECT_EQ(abfrage("select typeof(Steuersatz) from T_Buchungen where ID = " +
                          QString::number(dritte)),
                  "integer");
    }
    for (const int id : {erste, zweite, dritte}) {
        const auto gelesen = buchungstabelle::lesen(dm->db(), id, mandant);
        ASSERT_TRUE(gelesen.has_value());
        const Buchung& soll = id == erste ? b : id == zweite ? kz : rc;
        EXPECT_EQ(gelesen->Steuerschuld, soll.Steuerschuld) << id;
        EXPECT_EQ(gelesen->SteuerfreiKZ, soll.SteuerfreiKZ) << id;
        EXPECT_EQ(steuersatz::zehntel(gelesen->Steuersatz), steuersatz::zehntel(soll.Steuersatz));
    }

    dm->db().execute(QStringLiteral("update T_Stammdaten set SteuerfreiKZ = '016'"));
    Buchung bau = beleg("1000", 10, false, 1);
    bau.Steuerschuld = steuerschuld::Bauleistung;
    EXPECT_EQ(bewegungen(schreiber().neueBuchungSpeichern(bau)), QStringList{"1021:1000000"});
    // an intra-community acquisition keeps its deduction
    EXPECT_EQ(bewegungen(schreiber().neueBuchungSpeichern(beleg("100", 20, false, 1))),
              (QStringList{"1021:200000", "2021:200000"}));
}

TEST_F(BuchungsschreiberTest, VoucherNumbersFollowWhereTheyCameFrom) {
    Buchung b = beleg("10", 20, true);
    b.Belegnummer = 5;
    schreiber().neueBuchungSpeichern(b);
    // typed and taken: refused; agreed to by the user: stored as typed
    EXPECT_THROW(schreiber().neueBuchungSpeichern(b, Belegnummernwahl::WieAngegeben),
                 BuchungAbgewiesen);
    const int doppelt = schreiber().neueBuchungSpeichern(b, Belegnummernwahl::AuchDoppelt);
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), doppelt, mandant)->Belegnummer, 5);
    // the dialog's proposal taken meanwhile by another program: the next free one
    const int vorschlag = schreiber().neueBuchungSpeichern(b, Belegnummernwahl::Vorschlag);
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), vorschlag, mandant)->Belegnummer, 6);
    b.Belegnummer.reset();
    const int naechste = schreiber().neueBuchungSpeichern(b, Belegnummernwahl::Naechste);
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), naechste, mandant)->Belegnummer, 7);
    // a change keeping the booking's own number is not a duplicate of itself
    Buchung geaendert = *buchungstabelle::lesen(dm->db(), naechste, mandant);
    geaendert.Text = QStringLiteral("anders");
    EXPECT_TRUE(schreiber().buchungAendern(geaendert, Belegnummernwahl::WieAngegeben));
    geaendert.Belegnummer = 6;
    EXPECT_THROW(schreiber().buchungAendern(geaendert, Belegnummernwahl::WieAngegeben),
                 BuchungAbgewiesen);
}

// Two clerks open the same booking; the second to save is told who changed
// or deleted it meanwhile, and the first one's change stays.
TEST_F(BuchungsschreiberTest, AChangeMadeMeanwhileIsNeverOverwritten) {
    const int id = schreiber().neueBuchungSpeichern(beleg("120,00", 20, true));
    const Buchung geoeffnet = *buchungstabelle::lesen(dm->db(), id, mandant);

    ScriptedUserSeam andererUi;
    const auto anderer = weiteresModul(andererUi);
    Buchung seine = geoeffnet;
    seine.Betrag = *Currency::parse(QStringLiteral("130"));
    ASSERT_TRUE(Buchungsschreiber(*anderer).buchungAendern(seine, Belegnummernwahl::WieAngegeben,
                                                           geoeffnet));

    Buchung meine = geoeffnet;
    meine.Betrag = *Currency::parse(QStringLiteral("99"));
    const int zeilen = anzahl(QStringLiteral("T_Protokoll"));
    try {
        schreiber().buchungAendern(meine, Belegnummernwahl::WieAngegeben, geoeffnet);
        ADD_FAILURE() << "overwrote another clerk's change";
    } catch (const BuchungInzwischenGeaendert& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Die Buchung wurde inzwischen von %1 geändert.")
                                .arg(dm->db().benutzer()));
        ASSERT_TRUE(e.aktuell().has_value());
        EXPECT_EQ(*e.aktuell(), seine);
    }
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), id, mandant), seine);
    EXPECT_EQ(anzahl(QStringLiteral("T_Protokoll")), zeilen);

    // from the state shown again, the change goes through
    EXPECT_TRUE(schreiber().buchungAendern(meine, Belegnummernwahl::WieAngegeben, seine));
    EXPECT_EQ(buchungstabelle::lesen(dm->db(), id, mandant)->Betrag,
              *Currency::parse(QStringLiteral("99")));

    const Buchung jetzt = *buchungstabelle::lesen(dm->db(), id, mandant);
    Buchungsschreiber(*anderer).buchungLoeschen(id, mandant);
    try {
        schreiber().buchungAendern(meine, Belegnummernwahl::WieAngegeben, jetzt);
        ADD_FAILURE() << "wrote a booking another clerk deleted";
    } catch (const BuchungInzwischenGeaendert& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Die Buchung wurde inzwischen von %1 gelöscht.")
                                .arg(dm->db().benutzer()));
        EXPECT_FALSE(e.aktuell().has_value());
    }
    EXPECT_FALSE(buchungstabelle::lesen(dm->db(), id, mandant).has_value());
}
