#include "kontoauszugbench.h"

#include "auszuggenerator.h"
#include "bank/bankimport.h"
#include "bank/bankregeln.h"
#include "bank/kontoauszugdatei.h"
#include "bank/tkontoauszugvorschau.h"
#include "data/dm_einaus.h"
#include "jahrgenerator.h"
#include "platform/clock.h"
#include "platform/scripteduserseam.h"
#include "rohsql.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>

namespace kontoauszugbench {

namespace {

using jahrgenerator::kAktuellerMandant;
using jahrgenerator::kAktuellerZeitraum;

// the January statement imported before: its last lines overlap the measured one
constexpr int kVorher = 1000;
constexpr int kUeberlappung = 500;
constexpr int kGesamt = kVorher - kUeberlappung + kZeilen;

QString basis() {
    const QByteArray dir = qgetenv("VELMORA_BENCH_DIR");
    return dir.isEmpty() ? QStringLiteral("/tmp") : QString::fromLocal8Bit(dir);
}

// A data module on the working database in dir.
struct Modul {
    FixedClock clock{QDateTime(QDate(jahrgenerator::kJahr, 12, 10), QTime(10, 0))};
    ScriptedUserSeam ui;
    TDM_EinAus dm;
    explicit Modul(const QString& dir) : dm(dir, ui, clock) { dm.ADO_VelmoraConnect(); }
};

// The client's usual circle and rate for a counterparty without a rule.
Vorschlag vonHand(const Auszugszeile& z) {
    const int p = auszuggenerator::parteiVon(z.zeile - 1);
    Vorschlag v;
    v.bk = 1 + p % jahrgenerator::kKreise;
    const double saetze[] = {20, 10, 0};
    v.steuersatz = saetze[p % 3];
    v.einnahme = z.betrag >= Currency();
    v.text = vorschlag::buchungstext(z);
    return v;
}

void regelnAnlegen(Datenbank& db) {
    const auto& p = auszuggenerator::parteien();
    struct R {
        const char* enthaelt;
        int partei; // by IBAN when >= 0
        Bankregel::Richtung richtung;
        int bk;
        double satz;
    };
    const R regeln[] = {{"Elektro", -1, Bankregel::Richtung::Ausgabe, 3, 20},
                        {"Miete", -1, Bankregel::Richtung::Ausgabe, 4, 0},
                        {"Bürobedarf", -1, Bankregel::Richtung::Ausgabe, 5, 20},
                        {nullptr, 7, Bankregel::Richtung::Beide, 6, 10},
                        {nullptr, 22, Bankregel::Richtung::Beide, 7, 20},
                        {"Honorar", -1, Bankregel::Richtung::Einnahme, 8, 20},
                        {"Wartung", -1, Bankregel::Richtung::Ausgabe, 9, 20},
                        {"Parkschein", -1, Bankregel::Richtung::Ausgabe, 10, 20}};
    for (const R& r : regeln) {
        Bankregel b;
        if (r.enthaelt)
            b.enthaelt = QString::fromUtf8(r.enthaelt);
        else
            b.iban = p[std::size_t(r.partei)].iban;
        b.richtung = r.richtung;
        b.bk = r.bk;
        b.steuersatz = r.satz;
        bankregeln::anlegen(db, kAktuellerMandant, b);
    }
}

std::vector<Vorschauzeile> vorschauVon(Modul& m, const QString& datei) {
    return importvorschau::erstellen(m.dm.db(), kAktuellerMandant, kAktuellerZeitraum,
                                     kontoauszugdatei::lesen(datei, std::nullopt));
}

struct Tabellenzeilen {
    QString tabelle;
    QStringList spalten;
    std::vector<std::vector<QVariant>> zeilen;
};

// What a booking of the statement adds to each table, read back from a run.
std::vector<Tabellenzeilen> neueZeilen(Datenbank& db, const std::map<QString, long long>& vorher) {
    std::vector<Tabellenzeilen> out;
    for (const auto& [tabelle, max] : vorher) {
        Tabellenzeilen t{tabelle, {}, {}};
        Sql q = db.sql(
            QStringLiteral("select * from %1 where id > %2 order by id").arg(tabelle).arg(max));
        q.exec();
        while (q.next()) {
            const QSqlRecord r = q.query().record();
            if (t.spalten.isEmpty())
                for (int c = 0; c < r.count(); ++c)
                    t.spalten << r.fieldName(c);
            std::vector<QVariant> zeile;
            for (int c = 0; c < r.count(); ++c)
                zeile.push_back(r.value(c));
            t.zeilen.push_back(std::move(zeile));
        }
        out.push_back(std::move(t));
    }
    return out;
}

const QStringList& tabellen() {
    static const QStringList t{QStringLiteral("T_Buchungen"), QStringLiteral("t_kontenbewegungen"),
                               QStringLiteral("T_Protokoll"), QStringLiteral("T_BankZeile")};
    return t;
}

// The year with its rules and the imported January, the measured statement
// and the rows its booking adds; made once per size.
struct Vorbereitet {
    QTemporaryDir dir{basis() + QStringLiteral("/velmora-auszug-XXXXXX")};
    std::vector<Tabellenzeilen> zeilen;

    explicit Vorbereitet(int n) {
        const QString jahr =
            jahrgenerator::verzeichnis(QStringLiteral(VELMORA_TEMPLATE_PATH), basis(), n);
        QDir().mkpath(vorlage());
        if (!QFile::copy(jahr + QStringLiteral("/Velmora_tab.mdb"),
                         vorlage() + QStringLiteral("/Velmora_tab.mdb")))
            throw std::runtime_error("cannot copy the year");
        schreiben(dir.filePath(QStringLiteral("januar.xml")),
                  auszuggenerator::camt053(0, kVorher, kGesamt));
        schreiben(auszug(), auszuggenerator::camt053(kVorher - kUeberlappung, kZeilen, kGesamt));
        {
            Modul m(vorlage());
            regelnAnlegen(m.dm.db());
            auto januar = vorschauVon(m, dir.filePath(QStringLiteral("januar.xml")));
            for (Vorschauzeile& v : januar)
                if (v.status == Zeilenstatus::Neu && !v.vorschlag) {
                    v.vorschlag = vonHand(v.zeile);
                    v.angekreuzt = true;
                }
            bankimport::buchen(m.dm, kAktuellerMandant, kAktuellerZeitraum, januar);
        }
        // one booking of the statement, for the rows the baseline inserts
        const QString probe = arbeitskopie(QStringLiteral("probe"));
        Modul m(probe);
        std::map<QString, long long> vorher;
        for (const QString& t : tabellen()) {
            Sql q = m.dm.db().sql(QStringLiteral("select coalesce(max(id), 0) from %1").arg(t));
            q.exec();
            q.next();
            vorher[t] = q.value(0).toLongLong();
        }
        const Importergebnis e = bankimport::buchen(m.dm, kAktuellerMandant, kAktuellerZeitraum,
                                                    vorschauVon(m, auszug()));
        std::fprintf(stderr, "Kontoauszug: %zu gebucht, %d doppelt, %zu offen\n", e.gebucht.size(),
                     e.doppelt, e.offen.size());
        zeilen = neueZeilen(m.dm.db(), vorher);
    }

    QString vorlage() const { return dir.filePath(QStringLiteral("vorlage")); }
    QString auszug() const { return dir.filePath(QStringLiteral("auszug.xml")); }
    // A fresh copy of the prepared year in its own directory.
    QString arbeitskopie(const QString& name) const {
        const QString ziel = dir.filePath(name);
        QDir(ziel).removeRecursively();
        QDir().mkpath(ziel);
        if (!QFile::copy(vorlage() + QStringLiteral("/Velmora_tab.mdb"),
                         ziel + QStringLiteral("/Velmora_tab.mdb")))
            throw std::runtime_error("cannot copy the prepared year");
        return ziel;
    }
    static void schreiben(const QString& pfad, const QByteArray& inhalt) {
        QFile f(pfad);
        if (!f.open(QIODevice::WriteOnly) || f.write(inhalt) != inhalt.size())
            throw std::runtime_error("cannot write " + pfad.toStdString());
    }
};

std::map<int, std::unique_ptr<Vorbereitet>>& vorbereitete() {
    static std::map<int, std::unique_ptr<Vorbereitet>> v;
    return v;
}

Vorbereitet& vorbereitet(int n) {
    auto& v = vorbereitete()[n];
    if (!v)
        v = std::make_unique<Vorbereitet>(n);
    return *v;
}

} // namespace

void vorschau(benchmark::State& state, int n) {
    Vorbereitet& v = vorbereitet(n);
    Modul m(v.arbeitskopie(QStringLiteral("vorschau")));
    for (auto _ : state)
        benchmark::DoNotOptimize(vorschauVon(m, v.auszug()));
}

void vorschaufenster(benchmark::State& state, int n) {
    Vorbereitet& v = vorbereitet(n);
    Modul m(v.arbeitskopie(QStringLiteral("vorschaufenster")));
    const std::vector<int> saetze{0, 100, 130, 200};
    for (auto _ : state) {
        std::vector<std::pair<int, QString>> kreise;
        Sql q = m.dm.db().sql(QStringLiteral("select id, BKName from T_BKreis where mandant = "
                                             ":mandant order by BKName COLLATE DEUTSCH"));
        q.bind("mandant", kAktuellerMandant).exec();
        while (q.next())
            kreise.emplace_back(q.value(0).toInt(), q.value(1).toString());
        TKontoauszugVorschau fenster(vorschauVon(m, v.auszug()), kreise, saetze);
        fenster.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(fenster.angekreuzt());
    }
}

void vorschauRoh(benchmark::State& state, int n) {
    Vorbereitet& v = vorbereitet(n);
    RohSql r(v.arbeitskopie(QStringLiteral("vorschau-roh")) + QStringLiteral("/Velmora_tab.mdb"));
    const RohSql::Werte w{{QStringLiteral("mandant"), kAktuellerMandant},
                          {QStringLiteral("zeitraum"), kAktuellerZeitraum},
                          {QStringLiteral("von"), QStringLiteral("2026-01-01")},
                          {QStringLiteral("bis"), QStringLiteral("2026-12-31")}};
    for (auto _ : state) {
        // the year, its lock, the rules, what was imported on the statement's
        // days and the last booking of every counterparty
        long long s = r.laufen(QStringLiteral("select * from t_zeitraum where id = :zeitraum and "
                                              "mandant = :mandant"),
                               w);
        s += r.laufen(QStringLiteral("select max(Bis) from T_Festschreibung where mandant = "
                                     ":mandant and Wirtschaftsjahr = :zeitraum"),
                      w);
        s += r.laufen(QStringLiteral("select * from T_BankRegel where mandant = :mandant "
                                     "order by Reihenfolge"),
                      w);
        s += r.laufen(QStringLiteral("select Referenz, Schluessel from T_BankZeile where "
                                     "mandant = :mandant and Datum between :von and :bis"),
                      w);
        s += r.laufen(QStringLiteral("select b.* from T_Buchungen b join (select max(id) as id "
                                     "from T_BankZeile where mandant = :mandant group by "
                                     "coalesce(IBAN, Gegenpartei)) l join T_BankZeile z on "
                                     "z.id = l.id where b.ID = z.Buchungsid"),
                      w);
        benchmark::DoNotOptimize(s);
    }
}

void buchen(benchmark::State& state, int n) {
    Vorbereitet& v = vorbereitet(n);
    for (auto _ : state) {
        state.PauseTiming();
        auto m = std::make_unique<Modul>(v.arbeitskopie(QStringLiteral("buchen")));
        const auto zeilen = vorschauVon(*m, v.auszug());
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            bankimport::buchen(m->dm, kAktuellerMandant, kAktuellerZeitraum, zeilen));
        state.PauseTiming();
        m.reset();
        state.ResumeTiming();
    }
}

void buchenRoh(benchmark::State& state, int n) {
    Vorbereitet& v = vorbereitet(n);
    for (auto _ : state) {
        state.PauseTiming();
        auto r = std::make_unique<RohSql>(v.arbeitskopie(QStringLiteral("buchen-roh")) +
                                          QStringLiteral("/Velmora_tab.mdb"));
        state.ResumeTiming();
        r->laufen(QStringLiteral("BEGIN IMMEDIATE"));
        long long s = 0;
        for (const Tabellenzeilen& t : v.zeilen)
            s += r->einfuegen(t.tabelle, t.spalten, t.zeilen);
        r->laufen(QStringLiteral("COMMIT"));
        benchmark::DoNotOptimize(s);
        state.PauseTiming();
        r.reset();
        state.ResumeTiming();
    }
}

void aufraeumen() {
    vorbereitete().clear();
}

} // namespace kontoauszugbench
