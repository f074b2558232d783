#include "fixture.h"

#include "data/buchung.h"
#include "data/db.h"
#include "data/sortierung.h"

#include <QSqlRecord>
#include <algorithm>

namespace {

using Sortierung = VelmoraFixture;

// Deliberately shuffled, with the traps of a plain binary order.
const QStringList kDurcheinander{
    QStringLiteral("Zeitung"), QStringLiteral("Öl"),      QStringLiteral("auto"),
    QStringLiteral("Waren"),   QStringLiteral("Büro"),    QStringLiteral("Ärzte"),
    QStringLiteral("Strasse"), QStringLiteral("10 Euro"), QStringLiteral("Ofen"),
    QStringLiteral("Auto"),    QStringLiteral("Buch"),    QStringLiteral("Straße"),
    QStringLiteral("2 Euro"),  QStringLiteral("bus"),     QStringLiteral("Stroh"),
    QStringLiteral("ärmel"),   QStringLiteral("Arzt"),    QStringLiteral("Übung"),
    QStringLiteral("Uhr"),     QStringLiteral("uva")};

// Case only between otherwise equal names (lower first); umlauts among their
// base letters, just after the plain letter; "ß" as "ss"; digits first, one
// digit at a time.
const QStringList kDeutsch{
    QStringLiteral("10 Euro"), QStringLiteral("2 Euro"), QStringLiteral("ärmel"),
    QStringLiteral("Arzt"),    QStringLiteral("Ärzte"),  QStringLiteral("auto"),
    QStringLiteral("Auto"),    QStringLiteral("Buch"),   QStringLiteral("Büro"),
    QStringLiteral("bus"),     QStringLiteral("Ofen"),   QStringLiteral("Öl"),
    QStringLiteral("Strasse"), QStringLiteral("Straße"), QStringLiteral("Stroh"),
    QStringLiteral("Übung"),   QStringLiteral("Uhr"),    QStringLiteral("uva"),
    QStringLiteral("Waren"),   QStringLiteral("Zeitung")};

TEST_F(Sortierung, NamesInTheOrderOfAGermanReader) {
    QStringList sortiert = kDurcheinander;
    std::sort(sortiert.begin(), sortiert.end(),
              [](const QString& a, const QString& b) { return sortierung::vergleichen(a, b) < 0; });
    EXPECT_EQ(sortiert, kDeutsch);
    EXPECT_EQ(sortierung::vergleichen(u"Auto", u"Auto"), 0);
    EXPECT_NE(sortierung::vergleichen(u"auto", u"Auto"), 0) << "different names never tie";
}

TEST_F(Sortierung, TheCollationOrdersTheCirclesOfTheClient) {
    ersterMandant();
    const int mandant = dm->gibMandant();
    for (const QString& name : kDurcheinander)
        kreis(mandant, name, name.left(1));
    kreis(mandant + 1, QStringLiteral("Aaa anderer Mandant"), QStringLiteral("A"));
    dm->BuchungskreiseFiltern(mandant);
    QSqlQueryModel& bk = dm->ADO_BK();
    while (bk.canFetchMore())
        bk.fetchMore();
    QStringList namen;
    for (int row = 0; row < bk.rowCount(); ++row)
        namen << bk.record(row).value(QStringLiteral("BKName")).toString();
    EXPECT_EQ(namen, kDeutsch);
}

TEST_F(Sortierung, BookingTextSuggestionsInTheSameOrder) {
    ersterMandant();
    const int mandant = dm->gibMandant();
    const int zeitraum = dm->gibZeitraum();
    const int bk = kreis(mandant, QStringLiteral("Büro"), QStringLiteral("B"));
    int n = 0;
    for (const QString& text : kDurcheinander) {
        const int id = buchung(mandant, zeitraum, "2026-03-01", "10", 20, bk, true, 2, 2, ++n);
        Sql q = dm->db().sql(QStringLiteral("update T_Buchungen set Text = :t where ID = :id"));
        q.bind("t", text).bind("id", id).exec();
    }
    EXPECT_EQ(buchungstabelle::texte(dm->db(), mandant, zeitraum), kDeutsch);
}

TEST_F(Sortierung, EveryOpenedConnectionKnowsTheCollation) {
    Datenbank zweite(QStringLiteral("sortierung-zweite"));
    zweite.open(dbPath());
    Sql q = zweite.sql(QStringLiteral("select 'Öl' < 'Zeitung' COLLATE DEUTSCH, "
                                      "'Öl' < 'Zeitung'"));
    q.exec();
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 1);
    EXPECT_EQ(q.value(1).toInt(), 0) << "the binary order puts Ö after Z";
}

} // namespace
