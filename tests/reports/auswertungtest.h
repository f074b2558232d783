#pragma once

#include "bookings/buchungsschreiber.h"
#include "data/buchung.h"
#include "data/dm_einaus.h"
#include "fixture.h"
#include "reportengine/pagepainter.h"

// Bookings of the fiscal year 2026 of "Huber KG" (master-data name
// "Tischlerei Huber"), written as the booking dialog writes them, and the
// texts of a laid-out report.
class AuswertungTest : public VelmoraFixture {
public:
    struct Beleg {
        const char* datum;
        const char* betrag;
        double satz;
        bool einnahme = true;
        bool eu = false;
        bool dritt = false;
        int bk = 0; // 0: the first circle "Erlöse"
        const char* text = "";
        int beleg = 0;                            // 0: the next voucher number
        std::optional<int> schuld = std::nullopt; // reverse charge or construction
    };

protected:
    void SetUp() override {
        VelmoraFixture::SetUp();
        ersterMandant(QStringLiteral("Huber KG"), 2026);
        mandant = dm->gibMandant();
        zeitraum = dm->gibZeitraum();
        auto s = dm->Table_Stammdaten();
        ASSERT_TRUE(s.has_value());
        s->GanzerName = QStringLiteral("Tischlerei Huber");
        dm->stammdatenSpeichern(*s);
        erloese = kreis(mandant, QStringLiteral("Erlöse"), QStringLiteral("ER"));
        einkauf = kreis(mandant, QStringLiteral("Einkauf"), QStringLiteral("EK"));
    }

    void buche(const Beleg& b) {
        Buchung x;
        x.mandant = mandant;
        x.Wirtschaftsjahr = zeitraum;
        x.Buchungsdatum = QDate::fromString(QString::fromLatin1(b.datum), "dd.MM.yyyy");
        x.Betrag = *Currency::parse(QString::fromUtf8(b.betrag));
        x.Steuersatz = b.satz;
        x.Text = QString::fromUtf8(b.text);
        x.BK = b.bk ? b.bk : erloese;
        x.IstEinnahme = b.einnahme ? 1 : 2;
        x.IstEU = b.eu ? 1 : 2;
        x.IstDrittland = b.dritt ? 1 : 2;
        x.Steuerschuld = b.schuld;
        if (b.beleg)
            x.Belegnummer = b.beleg;
        Buchungsschreiber(*dm).neueBuchungSpeichern(x, b.beleg ? Belegnummernwahl::WieAngegeben
                                                               : Belegnummernwahl::Naechste);
    }
    void buche(const std::vector<Beleg>& belege) {
        for (const Beleg& b : belege)
            buche(b);
    }

    // The lines of the bands of one kind, page after page.
    static QStringList zeilenDer(const reportengine::PageModel& m, reportengine::BandKind kind) {
        reportengine::PageModel nur;
        for (const auto& p : m.pages) {
            reportengine::Page q;
            for (const auto& b : p.bands) {
                if (b.kind == kind)
                    q.bands.push_back(b);
            }
            nur.pages.push_back(q);
        }
        return reportengine::textLines(nur);
    }

    int mandant = 0, zeitraum = 0, erloese = 0, einkauf = 0;
};
