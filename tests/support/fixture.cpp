#include "fixture.h"

#include "data/currency.h"
#include "testserver.h"

#include <QFile>
#include <QSqlRecord>

void VelmoraFixture::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    ini = std::make_unique<SettingsFile>(dir() + QStringLiteral("velmora.ini"));
    neueDatenbank();
}

void VelmoraFixture::TearDown() {
    umgebung.reset();
    dm.reset();
}

void VelmoraFixture::neueDatenbank() {
    umgebung.reset();
    dm.reset();
    QFile::remove(dbPath());
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_TEMPLATE_PATH), dbPath()));
    QFile(dbPath()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    dm = std::make_unique<TDM_EinAus>(dir(), ui, clock);
    if (testserver::aktiv()) {
        m_server = testserver::frischeDatenbank();
        dm->setServer(m_server);
    }
    dm->ADO_VelmoraConnect();
    umgebung = std::make_unique<Umgebung>(Umgebung{*dm, ui, *ini, clock});
}

std::unique_ptr<TDM_EinAus> VelmoraFixture::weiteresModul(UserSeam& u, bool verbinden) {
    auto modul = std::make_unique<TDM_EinAus>(dir(), u, clock);
    modul->setServer(m_server);
    if (verbinden)
        modul->ADO_VelmoraConnect();
    return modul;
}

void VelmoraFixture::ersterMandant(const QString& name, int jahr) {
    ui.answerInput(name);
    ui.answerInput(QString::number(jahr));
    dm->DataModuleCreate();
    ui.clearShown();
}

int VelmoraFixture::kreis(int mandant, const QString& name, const QString& kurz) {
    Transaktion t(dm->db());
    const int id = dm->gibNeueID(QStringLiteral("t_bkreis"));
    dm->db()
        .sql(QStringLiteral(
            "insert into T_BKreis (id, mandant, BKName, BKKurz) values (:id, :m, :n, :k)"))
        .bind("id", id)
        .bind("m", mandant)
        .bind("n", name)
        .bind("k", kurz)
        .exec();
    t.commit();
    return id;
}

int VelmoraFixture::buchung(int mandant, int zeitraum, const QString& datum, const QString& betrag,
                            int satz, int bk, bool einnahme, int eu, int dritt, int beleg) {
    Transaktion t(dm->db());
    const int id = dm->gibNeueID(QStringLiteral("T_Buchungen"));
    dm->db()
        .sql(QStringLiteral(
            "insert into T_Buchungen (ID, mandant, Wirtschaftsjahr, Buchungsdatum, Belegnummer, "
            "Text, "
            "Steuersatz, Betrag, BK, IstEinnahme, IstEU, IstDrittland, IstKFZ, IstGebaeude) values "
            "(:id, :m, :z, :d, :b, :t, :s, :betrag, :bk, :e, :eu, :dr, 2, 2)"))
        .bind("id", id)
        .bind("m", mandant)
        .bind("z", zeitraum)
        .bind("d", datum)
        .bind("b", beleg ? beleg : id)
        .bind("t", QStringLiteral("Buchung %1").arg(id))
        .bind("s", satz)
        .bind("betrag", static_cast<qlonglong>(Currency::parse(betrag)->units()))
        .bind("bk", bk)
        .bind("e", einnahme ? 1 : 2)
        .bind("eu", eu)
        .bind("dr", dritt)
        .exec();
    t.commit();
    return id;
}

void VelmoraFixture::bewegung(int mandant, int buchung, int konto, const QString& betrag) {
    Transaktion t(dm->db());
    const int id = dm->gibNeueID(QStringLiteral("t_kontenbewegungen"));
    dm->db()
        .sql(QStringLiteral("insert into t_kontenbewegungen (mandant, id, Buchungen_id, Konten_Nr, "
                            "St_Betrag) values (:m, :id, :b, :k, :betrag)"))
        .bind("m", mandant)
        .bind("id", id)
        .bind("b", buchung)
        .bind("k", konto)
        .bind("betrag", static_cast<qlonglong>(Currency::parse(betrag)->units()))
        .exec();
    t.commit();
}

void VelmoraFixture::schreibfehler(const QString& tabelle, const QString& art,
                                   const QString& name) {
    m_schreibfehler[name] = tabelle;
    if (!dm->db().istServer()) {
        dm->db().execute(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 "
                                        "BEGIN SELECT RAISE(ABORT, 'Schreibfehler'); END")
                             .arg(name, art, tabelle));
        return;
    }
    dm->db().execute(QStringLiteral("CREATE OR REPLACE FUNCTION %1_f() RETURNS trigger LANGUAGE "
                                    "plpgsql AS $$ BEGIN RAISE EXCEPTION 'Schreibfehler'; END $$")
                         .arg(name));
    dm->db().execute(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE "
                                    "FUNCTION %1_f()")
                         .arg(name, art, tabelle));
}

void VelmoraFixture::schreibfehlerWeg(const QString& name) {
    const QString tabelle = m_schreibfehler.at(name);
    dm->db().execute(dm->db().istServer()
                         ? QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, tabelle)
                         : QStringLiteral("DROP TRIGGER %1").arg(name));
}

QVariant VelmoraFixture::wert(const QString& sql) {
    Sql q = dm->db().sql(sql);
    q.exec();
    return q.next() ? q.value(0) : QVariant();
}

int VelmoraFixture::anzahl(const QString& table, const QString& where) {
    return wert(QStringLiteral("select count(*) from ") + table +
                (where.isEmpty() ? QString() : QStringLiteral(" where ") + where))
        .toInt();
}

Datenbankkopie::Datenbankkopie(const QString& quelle, const Clock& clock) {
    const QString ziel = dir.filePath(QStringLiteral("Velmora_tab.mdb"));
    if (!QFile::copy(quelle, ziel))
        throw DatenbankFehler(QStringLiteral("Die Kopie von %1 ist misslungen.").arg(quelle));
    dm = std::make_unique<TDM_EinAus>(dir.path() + QLatin1Char('/'), ui, clock);
    dm->ADO_VelmoraConnect();
}

QStringList zeilenAlsText(Datenbank& db, const QString& tabelle) {
    Sql q = db.sql(QStringLiteral("select * from %1 order by 1").arg(tabelle));
    q.exec();
    QStringList out;
    while (q.next()) {
        const QSqlRecord r = q.query().record();
        QStringList spalten;
        for (int c = 0; c < r.count(); ++c)
            spalten << (r.isNull(c) ? QStringLiteral("NULL") : r.value(c).toString());
        out << spalten.join(QLatin1Char('|'));
    }
    return out;
}
