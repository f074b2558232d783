#pragma once

#include "fixture.h"
#include "toolkit/hauptfenster.h"

#include <QStringList>
#include <QWidget>

// Records the main window's refreshes together with what they would show.
class FakeHauptfenster final : public Hauptfenster {
public:
    explicit FakeHauptfenster(TDM_EinAus& dm) : m_dm(dm) {}

    struct Anzeige {
        QString mandant;
        int jahr;
    };

    void AnzeigeAktualisieren() override {
        anzeigen.push_back({m_dm.gibMandantName(m_dm.gibMandant()), m_dm.gibJahr()});
    }
    void Berechne() override { ++berechnet; }
    void QueryEinRequery() override {}
    void QueryAusRequery() override {}
    QWidget* widget() override { return nullptr; }

    std::vector<Anzeige> anzeigen;
    int berechnet = 0;

private:
    TDM_EinAus& m_dm;
};

// A database with the current client "Alpha" (year 2026) and the window fake.
class StammdatenFixture : public VelmoraFixture {
protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant(QStringLiteral("Alpha"), 2026);
        fenster = std::make_unique<FakeHauptfenster>(*dm);
    }
    void TearDown() override {
        fenster.reset();
        VelmoraFixture::TearDown();
    }

    int idVon(const QString& name) {
        Sql q = dm->db().sql(QStringLiteral("select id from T_Mandant where Bezeichnung = :n"));
        q.bind("n", name).exec();
        return q.next() ? q.value(0).toInt() : -1;
    }
    QStringList namen() {
        QStringList result;
        Sql q = dm->db().sql(QStringLiteral("select Bezeichnung from T_Mandant order by id"));
        q.exec();
        while (q.next())
            result << q.value(0).toString();
        return result;
    }
    // The calendar years of a client, ascending.
    QList<int> jahre(int mandant) {
        QList<int> result;
        Sql q = dm->db().sql(
            QStringLiteral("select Jahr from T_Zeitraum where mandant = :m order by Jahr"));
        q.bind("m", mandant).exec();
        while (q.next())
            result << q.value(0).toInt();
        return result;
    }
    QStringList meldungen() const { return ui.texts("message"); }

    std::unique_ptr<FakeHauptfenster> fenster;
};
