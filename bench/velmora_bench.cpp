// What the user waits for, over generated years of 100,000 and 1,000,000
// bookings: each operation as the program runs it, beside the same
// statements through the SQLite C API. Prints a table of the medians at the
// end. --n=10000,100000 picks the sizes; the years are generated once into
// VELMORA_BENCH_DIR (default /tmp) and copied for every run.
#include "app/startpruefung.h"
#include "app/tform_velmora.h"
#include "app/velmoraapp.h"
#include "bookings/belegeingabevorgaben.h"
#include "bookings/buchungsschreiber.h"
#include "data/buchung.h"
#include "data/buchungsliste.h"
#include "data/dates.h"
#include "data/dm_einaus.h"
#include "data/finanzamtliste.h"
#include "data/summen.h"
#include "export/programmexport.h"
#include "export/tabfrageexport.h"
#include "jahrgenerator.h"
#include "kontoauszugbench.h"
#include "platform/clock.h"
#include "platform/scripteduserseam.h"
#include "reports/einaus.h"
#include "reports/finanzamtexport.h"
#include "reports/journal.h"
#include "reports/plusminus.h"
#include "reports/trep_einaus.h"
#include "reports/trep_einausdetail.h"
#include "reports/trep_journal.h"
#include "reports/trep_plusminus.h"
#include "reports/trep_verprobung.h"
#include "reports/verprobung.h"
#include "reports/zeitraum.h"
#include "rohsql.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>

namespace {

using jahrgenerator::kAktuellerMandant;
using jahrgenerator::kAktuellerZeitraum;
using jahrgenerator::kJahr;

// QSqlQueryModel fetches 256 rows at a time: what a first screen costs.
constexpr int kErsteZeilen = 256;
constexpr int kSichtbareZeilen = 30;

QString basis() {
    const QByteArray dir = qgetenv("VELMORA_BENCH_DIR");
    return dir.isEmpty() ? QStringLiteral("/tmp") : QString::fromLocal8Bit(dir);
}

// A copy of a generated year with the program started on it.
struct Jahr {
    QTemporaryDir dir{basis() + QStringLiteral("/velmora-lauf-XXXXXX")};
    FixedClock clock{QDateTime(QDate(kJahr, 12, 10), QTime(10, 0))};
    ScriptedUserSeam ui;
    std::unique_ptr<VelmoraApp> app;
    std::unique_ptr<RohSql> roh;

    explicit Jahr(int anzahl) {
        const QString quelle =
            jahrgenerator::verzeichnis(QStringLiteral(VELMORA_TEMPLATE_PATH), basis(), anzahl);
        QFile::copy(quelle + QStringLiteral("/Velmora_tab.mdb"), datei());
        // the baseline writes to its own copy: the program's open lists hold a read lock
        QFile::copy(quelle + QStringLiteral("/Velmora_tab.mdb"), rohDatei());
        app = starten();
        // the start's check of the whole file runs beside the program; the
        // measurements wait for it here, outside their loops
        app->Form_Velmora().startpruefung()->abwarten();
        roh = std::make_unique<RohSql>(rohDatei());
    }
    QString datei() const { return dir.filePath(QStringLiteral("Velmora_tab.mdb")); }
    QString rohDatei() const { return dir.filePath(QStringLiteral("roh.mdb")); }
    std::unique_ptr<VelmoraApp> starten() {
        auto a = std::make_unique<VelmoraApp>(dir.path() + QLatin1Char('/'), dir.path(), ui, clock);
        if (!a->starten())
            throw std::runtime_error("start-up failed: " +
                                     ui.texts(QStringLiteral("error")).join('|').toStdString());
        return a;
    }
    TDM_EinAus& dm() { return app->DM_EinAus(); }
};

std::map<int, std::unique_ptr<Jahr>>& jahre() {
    static std::map<int, std::unique_ptr<Jahr>> j;
    return j;
}

Jahr& jahr(int anzahl) {
    auto& j = jahre()[anzahl];
    if (!j)
        j = std::make_unique<Jahr>(anzahl);
    return *j;
}

// The first screen of both lists, as the grids ask for it.
long long listenLesen(TForm_Velmora& form) {
    long long n = 0;
    for (QTableView* grid : form.findChildren<QTableView*>()) {
        QAbstractItemModel* m = grid->model();
        if (!m)
            continue;
        for (int r = 0; r < std::min(kSichtbareZeilen, m->rowCount()); ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                n += m->data(m->index(r, c)).toString().size();
    }
    return n;
}

const RohSql::Werte& werte() {
    static const RohSql::Werte w{{QStringLiteral("zeitraum"), kAktuellerZeitraum},
                                 {QStringLiteral("mandant"), kAktuellerMandant}};
    return w;
}

RohSql::Werte mit(RohSql::Werte w, const QString& name, const QVariant& wert) {
    w.emplace_back(name, wert);
    return w;
}

RohSql::Werte periode(int code) {
    const Periode p = *ZeitraumBestimmen(code, kJahr);
    return mit(mit(werte(), QStringLiteral("von"), dates::toSql(p.Von)), QStringLiteral("bis"),
               dates::toSql(p.Bis));
}

long long rohAktualisieren(RohSql& r) {
    const QStringList s = SummenStatements();
    long long n = r.laufen(s[0], mit(werte(), QStringLiteral("einnahme"), 1));
    n += r.laufen(s[0], mit(werte(), QStringLiteral("einnahme"), 2));
    n += r.laufen(s[1], werte());
    n += r.laufen(Buchungsliste::statement(true), werte(), kErsteZeilen);
    n += r.laufen(Buchungsliste::statement(false), werte(), kErsteZeilen);
    return n;
}

Buchung neueAusgabe() {
    Buchung b;
    b.mandant = kAktuellerMandant;
    b.Wirtschaftsjahr = kAktuellerZeitraum;
    b.Buchungsdatum = QDate(kJahr, 3, 1);
    b.Steuersatz = 20;
    b.Betrag = *Currency::parse(QStringLiteral("120"));
    b.BK = 1;
    b.IstEinnahme = buchungscode::Nein;
    b.IstEU = buchungscode::Ja;
    b.Text = QStringLiteral("Wareneinkauf EU");
    return b;
}

// The statements of a save: the checks, the identifiers and the rows.
long long rohSpeichern(RohSql& r, int belegnummer) {
    r.laufen(QStringLiteral("BEGIN IMMEDIATE"));
    long long id = r.laufen(QStringLiteral("select max(ID) as maxID from T_Buchungen")) + 1;
    const auto w = werte();
    r.laufen(
        QStringLiteral("select * from t_zeitraum where id = :zeitraum and mandant = :mandant;"), w);
    r.laufen(QStringLiteral("select count(*) from T_BKreis where id = :bk and mandant = :mandant"),
             mit(w, QStringLiteral("bk"), 1));
    r.laufen(QStringLiteral("select SteuerDE from t_stammdaten where mandant = :mandant"), w);
    r.laufen(QStringLiteral("select count(*) from T_Kontenplan "
                            "where Kontonummer = :konto and Steuersatz = :satz"),
             {{QStringLiteral("konto"), 2021}, {QStringLiteral("satz"), 20}});
    r.laufen(QStringLiteral("select 1 from T_Buchungen where mandant = :mandant and "
                            "Wirtschaftsjahr = :zeitraum and Belegnummer = :nummer and "
                            "ID <> :id limit 1"),
             mit(mit(w, QStringLiteral("nummer"), belegnummer), QStringLiteral("id"), id));
    r.laufen(QStringLiteral("insert into T_Buchungen (ID, mandant, Wirtschaftsjahr, Buchungsdatum, "
                            "Belegnummer, Text, Steuersatz, Betrag, BK, IstEinnahme, IstEU, "
                            "IstDrittland, IstKFZ, IstGebaeude) values (:id, :mandant, :zeitraum, "
                            "'2026-03-01', :nummer, 'Wareneinkauf EU', 20, 1200000, 1, 2, 1, 2, 2, "
                            "2)"),
             mit(mit(w, QStringLiteral("nummer"), belegnummer), QStringLiteral("id"), id));
    for (const int konto : {1021, 2021}) {
        const long long bid =
            r.laufen(QStringLiteral("select max(ID) as maxID from t_Kontenbewegungen")) + 1;
        r.laufen(QStringLiteral("INSERT INTO t_kontenbewegungen ( mandant, id, Buchungen_id, "
                                "Konten_Nr, St_Betrag ) values (:mandant, :bid, :id, :konto, "
                                "240000);"),
                 mit(mit(mit(w, QStringLiteral("bid"), bid), QStringLiteral("id"), id),
                     QStringLiteral("konto"), konto));
    }
    // what the program runs besides: the period lock, the booking read back
    // for the change log and the log's row
    r.laufen(QStringLiteral("select max(Bis) from T_Festschreibung "
                            "where mandant = :mandant and Wirtschaftsjahr = :zeitraum"),
             w);
    r.laufen(QStringLiteral("select * from T_Buchungen where ID = :id and mandant = :mandant"),
             mit(w, QStringLiteral("id"), id));
    r.laufen(QStringLiteral("select Konten_Nr, St_Betrag from t_kontenbewegungen "
                            "where mandant = :mandant and Buchungen_id = :id order by id"),
             mit(w, QStringLiteral("id"), id));
    const long long protokoll =
        r.laufen(QStringLiteral("select id from T_Protokoll order by id desc limit 1")) + 1;
    const QString nachher =
        QStringLiteral(
            "{\"Belegnummer\":%1,\"Betrag\":\"12.000,00\",\"BK\":1,\"Buchungsdatum\":"
            "\"2026-03-01\",\"ID\":%2,\"IstDrittland\":2,\"IstEU\":1,\"IstEinnahme\":2,"
            "\"IstGebaeude\":2,\"IstKFZ\":2,\"Steuersatz\":20,\"Text\":\"Wareneinkauf EU\","
            "\"Wirtschaftsjahr\":1,\"mandant\":1,\"Posten\":[{\"Konto\":1021,\"Betrag\":"
            "\"2.400,00\"},{\"Konto\":2021,\"Betrag\":\"2.400,00\"}]}")
            .arg(belegnummer)
            .arg(id);
    r.laufen(QStringLiteral("insert into T_Protokoll (id, Zeitpunkt, mandant, Wirtschaftsjahr, "
                            "Aktion, Buchungsid, Vorher, Nachher, Hash) values (:protokoll, "
                            "'2026-12-10T12:00:00.000', :mandant, :zeitraum, 'Neu', :id, null, "
                            ":nachher, :hash)"),
             mit(mit(mit(mit(w, QStringLiteral("protokoll"), protokoll), QStringLiteral("id"), id),
                     QStringLiteral("nachher"), nachher),
                 QStringLiteral("hash"), QString(64, QLatin1Char('a'))));
    r.laufen(QStringLiteral("COMMIT"));
    return id;
}

long long rohStatements(RohSql& r, const QStringList& texte, const RohSql::Werte& w) {
    long long n = 0;
    for (const QString& t : texte)
        n += r.laufen(t, w);
    return n;
}

// One measured operation: the program's way and the baseline.
struct Operation {
    const char* name;
    std::function<void(Jahr&)> velmora;
    std::function<long long(Jahr&)> roh;
};

std::vector<Operation> operationen() {
    using namespace verprobung;
    return {
        {"Hauptfenster aktualisieren",
         [](Jahr& j) {
             j.app->Form_Velmora().AnzeigeAktualisieren();
             benchmark::DoNotOptimize(listenLesen(j.app->Form_Velmora()));
         },
         [](Jahr& j) { return rohAktualisieren(*j.roh); }},
        {"Belegeingabe oeffnen",
         [](Jahr& j) {
             benchmark::DoNotOptimize(neueBuchung(j.dm(), j.app->ini(), j.clock.today()));
         },
         [](Jahr& j) {
             RohSql& r = *j.roh;
             long long n = r.laufen(
                 QStringLiteral("select count(*) from T_BKreis where id = :bk and mandant = "
                                ":mandant"),
                 mit(werte(), QStringLiteral("bk"), 1));
             n += r.laufen(QStringLiteral("select max(Belegnummer) as maxNr from t_Buchungen "
                                          "where Wirtschaftsjahr = :zeitraum and mandant = "
                                          ":mandant ;"),
                           werte());
             return n + r.laufen(QStringLiteral("select max(ID) as maxID from T_Buchungen"));
         }},
        {"Buchung speichern",
         [](Jahr& j) {
             benchmark::DoNotOptimize(Buchungsschreiber(j.dm()).neueBuchungSpeichern(
                 neueAusgabe(), Belegnummernwahl::Naechste));
         },
         [](Jahr& j) { return rohSpeichern(*j.roh, 99999999); }},
        {"Buchung speichern + aktualisieren",
         [](Jahr& j) {
             Buchungsschreiber(j.dm()).neueBuchungSpeichern(neueAusgabe(),
                                                            Belegnummernwahl::Naechste);
             j.app->Form_Velmora().AnzeigeAktualisieren();
             benchmark::DoNotOptimize(listenLesen(j.app->Form_Velmora()));
         },
         [](Jahr& j) { return rohSpeichern(*j.roh, 99999999) + rohAktualisieren(*j.roh); }},
        {"USt-Verprobung Quartal",
         [](Jahr& j) {
             T_RepDaten daten;
             TRep_Verprobung bericht(j.dm().db(), daten);
             benchmark::DoNotOptimize(verprobung::erzeugen(j.dm(), bericht, daten, 13));
         },
         [](Jahr& j) {
             return rohStatements(*j.roh, {verprobung::periodenPostenSql()}, periode(13));
         }},
        {"USt-Verprobung Jahr",
         [](Jahr& j) {
             T_RepDaten daten;
             TRep_Verprobung bericht(j.dm().db(), daten);
             benchmark::DoNotOptimize(verprobung::erzeugen(j.dm(), bericht, daten, 17));
         },
         [](Jahr& j) {
             return rohStatements(*j.roh, {verprobung::periodenPostenSql()}, periode(17));
         }},
        {"Journal Quartal",
         [](Jahr& j) {
             T_RepDaten daten;
             journal::datenSetzen(j.dm(), daten, 13);
             TRep_Journal bericht(daten);
             benchmark::DoNotOptimize(journal::erzeugen(j.dm(), bericht, daten));
         },
         [](Jahr& j) {
             return rohStatements(*j.roh, {journal::queryJournalZeilen().join('\n')}, periode(13));
         }},
        {"Buchungskreis-Auswertung",
         [](Jahr& j) {
             T_RepDaten daten;
             TRep_EinAus bericht(daten);
             benchmark::DoNotOptimize(einaus::auswertungErzeugen(j.dm(), bericht, daten, 0));
         },
         [](Jahr& j) {
             return rohStatements(*j.roh, {einaus::queryEinAusZeilen().join('\n')}, periode(17));
         }},
        {"Buchungskreis-Details",
         [](Jahr& j) {
             T_RepDaten daten;
             einaus::detailDatenSetzen(j.dm(), daten);
             TRep_EinAusDetail bericht(j.dm().db(), daten);
             benchmark::DoNotOptimize(einaus::detailsErzeugen(j.dm(), bericht, daten));
         },
         [](Jahr& j) {
             return rohStatements(*j.roh, {einaus::queryEinAusDetailZeilen().join('\n')},
                                  periode(17));
         }},
        {"Plus-Minus-Vergleich",
         [](Jahr& j) {
             T_RepDaten daten;
             TRep_PlusMinus bericht(daten);
             benchmark::DoNotOptimize(plusminus::erzeugen(j.dm(), bericht, daten));
         },
         [](Jahr& j) {
             return rohStatements(*j.roh, {plusminus::queryPlusMinusZeilen().join('\n')},
                                  periode(17));
         }},
        {"Finanzamt-Export Jahr",
         [](Jahr& j) {
             TAbfrageExport e(j.ui, j.clock);
             finanzamtExportOeffnen(j.dm(), e, 12);
             programmExportEinrichten(e, j.ui, QStringLiteral("Export Finanzamt"));
             e.ExportTypes.include(xtTAB);
             e.ExportType = xtTAB;
             e.FileName = j.dir.filePath(QStringLiteral("finanzamt.txt"));
             e.RunExport();
         },
         [](Jahr& j) { return rohStatements(*j.roh, {FinanzamtListe::statement()}, periode(17)); }},
        {"Start bis Hauptfenster",
         [](Jahr& j) {
             j.app.reset();
             j.app = j.starten();
             j.app->Form_Velmora().AnzeigeAktualisieren();
             benchmark::DoNotOptimize(listenLesen(j.app->Form_Velmora()));
         },
         [](Jahr& j) {
             j.roh = std::make_unique<RohSql>(j.rohDatei());
             return rohAktualisieren(*j.roh);
         }},
    };
}

// Collects the medians and prints the table after the console's lines.
class Tabelle : public benchmark::ConsoleReporter {
public:
    using ConsoleReporter::ConsoleReporter;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.aggregate_name == "median" ||
                (r.run_type == Run::RT_Iteration && r.repetitions <= 1))
                m_median[r.run_name.function_name] = r.GetAdjustedRealTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-36s %9s %14s %14s %7s\n", "Operation", "N", "Velmora [ms]", "SQLite [ms]",
                    "Ratio");
        for (const auto& [name, n, op] : m_zeilen) {
            const auto v = m_median.find(name + "/velmora");
            const auto r = m_median.find(name + "/sqlite");
            if (v == m_median.end() || r == m_median.end())
                continue;
            std::printf("%-36s %9d %14.2f %14.2f %7.2f\n", op.c_str(), n, v->second, r->second,
                        v->second / r->second);
        }
        std::fflush(stdout);
    }
    void zeile(const std::string& name, int n, const std::string& op) {
        m_zeilen.push_back({name, n, op});
    }

private:
    struct Zeile {
        std::string name;
        int n;
        std::string op;
    };
    std::vector<Zeile> m_zeilen;
    std::map<std::string, double> m_median;
};

std::vector<int> groessen(int& argc, char** argv) {
    std::vector<int> n{100000, 1000000};
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (!a.startsWith(QStringLiteral("--n=")))
            continue;
        n.clear();
        for (const QString& s : a.mid(4).split(QLatin1Char(',')))
            n.push_back(s.toInt());
        for (int k = i; k + 1 < argc; ++k)
            argv[k] = argv[k + 1];
        --argc;
        break;
    }
    return n;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // the first start puts a launcher on the desktop: never the real one
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DESKTOP_DIR", QFile::encodeName(home.path()));
    QApplication app(argc, argv);
    const std::vector<int> ns = groessen(argc, argv);
    Tabelle tabelle(benchmark::ConsoleReporter::OO_Tabular);
    for (const int n : ns) {
        for (const Operation& op : operationen()) {
            const std::string name = std::string(op.name) + "/" + std::to_string(n);
            tabelle.zeile(name, n, op.name);
            auto velmora = op.velmora;
            auto roh = op.roh;
            benchmark::RegisterBenchmark((name + "/velmora").c_str(),
                                         [n, velmora](benchmark::State& state) {
                                             Jahr& j = jahr(n);
                                             for (auto _ : state)
                                                 velmora(j);
                                         })
                ->Unit(benchmark::kMillisecond)
                ->MinTime(0.2)
                ->Repetitions(3)
                ->ReportAggregatesOnly(true);
            benchmark::RegisterBenchmark((name + "/sqlite").c_str(),
                                         [n, roh](benchmark::State& state) {
                                             Jahr& j = jahr(n);
                                             for (auto _ : state)
                                                 benchmark::DoNotOptimize(roh(j));
                                         })
                ->Unit(benchmark::kMillisecond)
                ->MinTime(0.2)
                ->Repetitions(3)
                ->ReportAggregatesOnly(true);
        }
    }
    for (const int n : ns) {
        using Lauf = void (*)(benchmark::State&, int);
        const struct {
            const char* name;
            Lauf velmora;
            Lauf roh;
        } auszug[] = {{"Kontoauszug 10000 Zeilen Vorschau", kontoauszugbench::vorschau,
                       kontoauszugbench::vorschauRoh},
                      {"Kontoauszug 10000 Zeilen Fenster", kontoauszugbench::vorschaufenster,
                       kontoauszugbench::vorschauRoh},
                      {"Kontoauszug 10000 Zeilen buchen", kontoauszugbench::buchen,
                       kontoauszugbench::buchenRoh}};
        for (const auto& op : auszug) {
            const std::string name = std::string(op.name) + "/" + std::to_string(n);
            tabelle.zeile(name, n, op.name);
            for (const auto& [art, lauf] :
                 {std::pair{"/velmora", op.velmora}, std::pair{"/sqlite", op.roh}})
                benchmark::RegisterBenchmark(
                    (name + art).c_str(),
                    [n, lauf = lauf](benchmark::State& state) { lauf(state, n); })
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(1)
                    ->Repetitions(3)
                    ->ReportAggregatesOnly(true);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks(&tabelle);
    benchmark::Shutdown();
    jahre().clear();
    kontoauszugbench::aufraeumen();
    return 0;
}
