// The hot paths over a generated fiscal year of 100,000 bookings: the main
// window's totals and lists, and a booking saved with its postings, each
// beside the raw SQLite time of the same statement.
#include "bookings/buchungsschreiber.h"
#include "data/buchung.h"
#include "data/buchungsliste.h"
#include "data/dm_einaus.h"
#include "data/summen.h"
#include "platform/clock.h"
#include "platform/scripteduserseam.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kBuchungen = 100000;

struct Jahr {
    QTemporaryDir dir;
    FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(10, 0))};
    ScriptedUserSeam ui;
    std::unique_ptr<TDM_EinAus> dm;
    int mandant = 0;

    Jahr() {
        QFile::copy(QStringLiteral(VELMORA_TEMPLATE_PATH), dir.filePath("Velmora_tab.mdb"));
        QFile::setPermissions(dir.filePath("Velmora_tab.mdb"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        dm = std::make_unique<TDM_EinAus>(dir.path(), ui, clock);
        ui.answerInput(QStringLiteral("Mandant 1"));
        ui.answerInput(QStringLiteral("2026"));
        dm->DataModuleCreate();
        mandant = dm->gibMandant();
        Transaktion t(dm->db());
        dm->db().execute(
            QStringLiteral(
                "insert into T_BKreis (id, mandant, BKName, BKKurz) values (1, %1, 'Erlöse', 'ER')")
                .arg(mandant));
        dm->db().execute(
            QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                "INSERT INTO T_Buchungen SELECT i, %2, 1, date('2026-01-01', '+' || (i % 365) || ' "
                "days'), i, "
                "'Text ' || i, 20, 1200000, 1, 1 + (i % 2), 2, 2, 2, 2 FROM n")
                .arg(kBuchungen)
                .arg(mandant));
        dm->db().execute(
            QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                "INSERT INTO t_kontenbewegungen SELECT %2, i, i, 1020 + 1000 * (i % 2), 200000 "
                "FROM n")
                .arg(kBuchungen)
                .arg(mandant));
        t.commit();
    }
};

Jahr& jahr() {
    static Jahr j;
    return j;
}

void BM_Summen(benchmark::State& state) {
    Jahr& j = jahr();
    for (auto _ : state)
        benchmark::DoNotOptimize(SummenBerechnen(j.dm->db(), 1, j.mandant));
}
BENCHMARK(BM_Summen)->Unit(benchmark::kMillisecond);

void BM_SummenRohesSql(benchmark::State& state) {
    Jahr& j = jahr();
    for (auto _ : state) {
        Sql q = j.dm->db().sql(
            QStringLiteral("select sum(Betrag) from T_Buchungen where mandant = :m and "
                           "Wirtschaftsjahr = 1 and IstEinnahme = 1 and IstDrittland = 2"));
        q.bind("m", j.mandant).exec();
        q.next();
        benchmark::DoNotOptimize(q.value(0));
    }
}
BENCHMARK(BM_SummenRohesSql)->Unit(benchmark::kMillisecond);

// What the main window needs to show a list: open it and read the first page.
void BM_ListeErsteSeite(benchmark::State& state) {
    Jahr& j = jahr();
    for (auto _ : state) {
        Buchungsliste liste(j.dm->db(), true);
        liste.starten(1, j.mandant);
        for (int row = 0; row < 20; ++row)
            benchmark::DoNotOptimize(liste.zeile(row));
    }
}
BENCHMARK(BM_ListeErsteSeite)->Unit(benchmark::kMillisecond);

void BM_BuchungSpeichern(benchmark::State& state) {
    Jahr& j = jahr();
    Buchung b;
    b.mandant = j.mandant;
    b.Wirtschaftsjahr = 1;
    b.Buchungsdatum = QDate(2026, 3, 1);
    b.Belegnummer = 1;
    b.Steuersatz = 20;
    b.Betrag = *Currency::parse(QStringLiteral("120"));
    b.BK = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(Buchungsschreiber(*j.dm).neueBuchungSpeichern(b));
}
BENCHMARK(BM_BuchungSpeichern)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
