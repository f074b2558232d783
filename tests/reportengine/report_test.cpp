#include "reportengine/pagepainter.h"
#include "reportengine/previewwindow.h"
#include "reportengine/report.h"
#include "reportengine/textfit.h"
#include "zeilen.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace reportengine;

namespace {

// A formatter that shows what the engine hands it: the value and the mask.
QString zeigeWert(const QVariant& v, const QString& mask) {
    if (mask.isEmpty())
        return v.toString();
    return v.toString() + QLatin1Char('|') + mask;
}

// "band: text text ..." for each printed band, in order; the engine's page
// numbers and print dates are left out (tested on their own).
QStringList baender(const PageModel& model) {
    QStringList out;
    for (const Page& p : model.pages) {
        for (const PageBand& b : p.bands) {
            if (b.kind == BandKind::PageFooter || b.name == QLatin1String("Seitenzahl"))
                continue;
            QStringList texts;
            for (const PageText& t : b.texts) {
                if (t.element != QLatin1String("Seitenangabe"))
                    texts << (t.visible ? t.text : QStringLiteral("-"));
            }
            out << b.name + QStringLiteral(": ") + texts.join(QLatin1Char(' '));
        }
    }
    return out;
}

// Side and circle groups with sums per circle, per side and over all.
std::unique_ptr<Report> gruppenBericht() {
    auto r = std::make_unique<Report>(QStringLiteral("Gruppen"));
    r->setFormatter(zeigeWert);
    r->addTitle(QStringLiteral("Titel"), 10)
        .addLabel(QStringLiteral("T"), {0, 0, 80, 5}, QStringLiteral("Liste"));
    r->addGroupHeader(QStringLiteral("Seite"), QStringLiteral("seite"), 6)
        .addField(QStringLiteral("S"), {0, 0, 40, 5}, QStringLiteral("seite"));
    r->addGroupHeader(QStringLiteral("Kreis"), QStringLiteral("kreis"), 6)
        .addField(QStringLiteral("K"), {0, 0, 40, 5}, QStringLiteral("kreis"));
    r->addDetail(QStringLiteral("Detail"), 5)
        .addField(QStringLiteral("B"), {0, 0, 40, 5}, QStringLiteral("betrag"),
                  QStringLiteral("m"));
    Band& kreisFuss = r->addGroupFooter(QStringLiteral("Kreis"), QStringLiteral("KreisFuss"), 6);
    kreisFuss.addField(QStringLiteral("K"), {0, 0, 40, 5}, QStringLiteral("kreis"));
    kreisFuss
        .addSum(QStringLiteral("Summe"), {50, 0, 40, 5}, QStringLiteral("betrag"),
                QStringLiteral("m"))
        .setResetAfterPrint();
    r->addGroupFooter(QStringLiteral("Seite"), QStringLiteral("SeiteFuss"), 6)
        .addSum(QStringLiteral("Summe"), {50, 0, 40, 5}, QStringLiteral("betrag"),
                QStringLiteral("m"))
        .setResetAfterPrint();
    r->addSummary(QStringLiteral("Ende"), 6)
        .addSum(QStringLiteral("Summe"), {50, 0, 40, 5}, QStringLiteral("betrag"),
                QStringLiteral("m"));
    return r;
}

TEST(ReportEngine, NestedGroupsPrintHeadersFootersAndSumsThatReset) {
    auto r = gruppenBericht();
    TabellenZeilen rows(
        {"seite", "kreis", "betrag"},
        {{1, "A", 100LL}, {1, "A", 250LL}, {1, "B", 7LL}, {2, "B", 1000LL}, {2, "C", -1LL}});
    const PageModel m = r->produce(rows);
    EXPECT_EQ(baender(m), QStringList({"Titel: Liste", "Seite: 1", "Kreis: A", "Detail: 100|m",
                                       "Detail: 250|m", "KreisFuss: A 350|m", "Kreis: B",
                                       "Detail: 7|m", "KreisFuss: B 7|m", "SeiteFuss: 357|m",
                                       // the inner group starts again with the outer one
                                       "Seite: 2", "Kreis: B", "Detail: 1000|m",
                                       "KreisFuss: B 1000|m", "Kreis: C", "Detail: -1|m",
                                       "KreisFuss: C -1|m", "SeiteFuss: 999|m", "Ende: 1356|m"}));
    // read once, in order
    EXPECT_EQ(rows.nextCalls, 6);

    // a second run starts from zero again
    TabellenZeilen again({"seite", "kreis", "betrag"}, {{1, "A", 5LL}});
    EXPECT_EQ(baender(r->produce(again)).last(), "Ende: 5|m");
}

TEST(ReportEngine, WithoutRowsTitleAndSummaryArePrinted) {
    auto r = gruppenBericht();
    TabellenZeilen rows({"seite", "kreis", "betrag"}, {});
    const PageModel m = r->produce(rows);
    ASSERT_EQ(m.pages.size(), 1u);
    EXPECT_EQ(baender(m), QStringList({"Titel: Liste", "Ende: 0|m"}));
}

TEST(ReportEngine, EventsSetTextsDisableElementsAndSuppressBands) {
    Report r(QStringLiteral("Ereignisse"));
    QStringList calls;
    int skip = 0;
    r.onBeforePrint([&] {
        calls << QStringLiteral("report");
        skip = 0;
    });
    Band& detail = r.addDetail(QStringLiteral("Detail"), 5);
    detail.addLabel(QStringLiteral("Text"), {0, 0, 40, 5});
    detail.addField(QStringLiteral("Versteckt"), {50, 0, 20, 5}, QStringLiteral("n"));
    detail.onBeforePrint([&](Band& b, bool& print) {
        const int n = r.value(QStringLiteral("N")).toInt(); // case does not matter
        if (n == 2) {
            print = false; // suppressed: not printed, not summed, no after-print
            return;
        }
        b.element(QStringLiteral("Text")).setText(QStringLiteral("Zeile %1").arg(n));
        b.element(QStringLiteral("Versteckt")).setEnabled(n != 3);
    });
    detail.onAfterPrint([&](Band&) { calls << QStringLiteral("nach ") + r.value("n").toString(); });
    r.addSummary(QStringLiteral("Summe"), 5)
        .addSum(QStringLiteral("S"), {0, 0, 40, 5}, QStringLiteral("n"));
    TabellenZeilen rows({"n"}, {{1}, {2}, {3}});
    const PageModel m = r.produce(rows);
    EXPECT_EQ(baender(m), QStringList({"Detail: Zeile 1 1", "Detail: Zeile 3 -", "Summe: 4"}));
    EXPECT_EQ(calls, QStringList({"report", "nach 1", "nach 3"}));
    // the disabled element keeps its field in the text lines; a report
    // without a header gets a line for its page number
    EXPECT_EQ(textLines(m), QStringList({"Seite 1 von 1", "Zeile 1\t1", "Zeile 3\t", "4"}));
    // outside production there is no row
    EXPECT_FALSE(r.value(QStringLiteral("n")).isValid());
}

TEST(ReportEngine, SumsStayExactIntegers) {
    Report r(QStringLiteral("Summen"));
    QVariant seen;
    r.setFormatter([&](const QVariant& v, const QString&) {
        seen = v;
        return v.toString();
    });
    r.addDetail(QStringLiteral("D"), 5);
    r.addSummary(QStringLiteral("S"), 5)
        .addSum(QStringLiteral("X"), {0, 0, 40, 5}, QStringLiteral("b"), QStringLiteral("#"));
    std::vector<QVariantList> data;
    for (int i = 0; i < 1000; ++i)
        data.push_back({QVariant(1LL)}); // 0.0001 each: a double sum would drift
    data.push_back({QVariant()});        // null adds nothing
    TabellenZeilen rows({"b"}, data);
    r.produce(rows);
    EXPECT_EQ(seen.typeId(), QMetaType::LongLong);
    EXPECT_EQ(seen.toLongLong(), 1000);
}

TEST(ReportEngine, PageBreakRepeatsThePageHeaderWithItsNumber) {
    Report r(QStringLiteral("Seiten"));
    Band& kopf = r.addPageHeader(QStringLiteral("Kopf"), 17);
    kopf.addLabel(QStringLiteral("Seite"), {150, 0, 15, 5}, QStringLiteral("Seite"));
    kopf.addPageNumber(QStringLiteral("Nummer"), {165, 0, 25, 5});
    kopf.setFrame(false, true);
    r.addDetail(QStringLiteral("D"), 10)
        .addField(QStringLiteral("N"), {0, 0, 20, 5}, QStringLiteral("n"));
    std::vector<QVariantList> data;
    for (int i = 1; i <= 60; ++i)
        data.push_back({i});
    TabellenZeilen rows({"n"}, data);
    const PageModel m = r.produce(rows);
    // 277 mm between the margins less 5 for the print date, 17 for the
    // header: 25 rows a page
    ASSERT_EQ(m.pages.size(), 3u);
    for (size_t p = 0; p < 3; ++p) {
        const Page& page = m.pages[p];
        ASSERT_FALSE(page.bands.empty());
        EXPECT_EQ(page.bands.front().name, "Kopf");
        EXPECT_EQ(page.bands.front().texts[1].text, QString::number(p + 1));
        EXPECT_DOUBLE_EQ(page.bands.front().top, 10.0);
        EXPECT_EQ(page.lines.size(), 1u); // the header's bottom frame
        for (const PageBand& b : page.bands)
            EXPECT_LE(b.top + b.height, 287.0 + 1e-9);
    }
    EXPECT_EQ(m.pages[0].bands.size(), 1u + 25u + 1u);
    EXPECT_EQ(m.pages[1].bands[1].texts[0].text, "26");
    EXPECT_EQ(m.pages[2].bands[m.pages[2].bands.size() - 2].texts[0].text, "60");
    EXPECT_DOUBLE_EQ(m.pages[1].bands[1].top, 27.0);
}

TEST(ReportEngine, ALongTextIsCutAtItsElementAndStaysOnOneLine) {
    Report r(QStringLiteral("Lang"));
    Band& d = r.addDetail(QStringLiteral("D"), 5);
    d.addField(QStringLiteral("Name"), {0, 0, 30, 5}, QStringLiteral("name"));
    d.addField(QStringLiteral("Betrag"), {30, 0, 20, 5}, QStringLiteral("betrag"))
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
    const QString lang = QString(200, QLatin1Char('W'));
    TabellenZeilen rows({"name", "betrag"}, {{lang, "12,00"},
                                             {QStringLiteral("Zeile\neins\tzwei"), "1,00"},
                                             {QStringLiteral("kurz"), "2,00"}});
    const PageModel m = r.produce(rows);
    TextFit fit;
    // after the band with the page number
    const std::vector<PageBand> b(m.pages[0].bands.begin() + 1, m.pages[0].bands.end());
    const QString cut = b[0].texts[0].text;
    EXPECT_GT(cut.size(), 3);
    EXPECT_LT(cut.size(), 200);
    EXPECT_TRUE(lang.startsWith(cut));
    EXPECT_LE(fit.widthMm(cut, b[0].texts[0].font), 30.0);
    EXPECT_GT(fit.widthMm(cut + QLatin1Char('W'), b[0].texts[0].font), 30.0);
    EXPECT_EQ(b[1].texts[0].text, "Zeile eins zwei");
    EXPECT_EQ(b[2].texts[0].text, "kurz");
    EXPECT_EQ(b[0].texts[1].text, "12,00");
}

TEST(ReportEngine, AnEventThatThrowsStopsProduction) {
    Report r(QStringLiteral("Fehler"));
    r.addSummary(QStringLiteral("S"), 5).onBeforePrint([](Band&, bool&) {
        throw std::runtime_error("kaputt");
    });
    TabellenZeilen rows({"n"}, {{1}});
    EXPECT_THROW(r.produce(rows), std::runtime_error);
    TabellenZeilen unbekannt({"x"}, {});
    r.addDetail(QStringLiteral("D"), 5)
        .addField(QStringLiteral("F"), {0, 0, 5, 5}, QStringLiteral("fehlt"));
    EXPECT_THROW(r.produce(unbekannt), std::invalid_argument);
}

// The words of the model's texts on each page, in order.
QStringList woerter(const Page& page) {
    QStringList out;
    for (const PageBand& b : page.bands) {
        for (const PageText& t : b.texts)
            out << t.text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    return out;
}

TEST(ReportEngine, EveryPageIsNumberedOfAllAndDated) {
    Report r(QStringLiteral("Seiten"));
    r.setDruckdatum(QDate(2026, 12, 11));
    Band& kopf = r.addPageHeader(QStringLiteral("Kopf"), 17);
    // reaches into the place of the page number: kept clear of it
    kopf.addLabel(QStringLiteral("Name"), {50, 0, 140, 6}, QStringLiteral("Kurz"));
    kopf.addLabel(QStringLiteral("Darunter"), {50, 6, 140, 6}, QStringLiteral("Zweite"));
    r.addDetail(QStringLiteral("D"), 10)
        .addField(QStringLiteral("N"), {0, 0, 20, 5}, QStringLiteral("n"));
    std::vector<QVariantList> data;
    for (int i = 1; i <= 60; ++i)
        data.push_back({i});
    TabellenZeilen rows({"n"}, data);
    const PageModel m = r.produce(rows);
    ASSERT_EQ(m.pages.size(), 3u);
    for (size_t p = 0; p < 3; ++p) {
        const Page& page = m.pages[p];
        const PageBand& k = page.bands.front();
        const auto text = [&k](const char* element) -> const PageText& {
            for (const PageText& t : k.texts) {
                if (t.element == QLatin1String(element))
                    return t;
            }
            throw std::out_of_range(element);
        };
        const PageText& seite = text("Seitenangabe");
        EXPECT_EQ(seite.text, QStringLiteral("Seite %1 von 3").arg(p + 1));
        // the right edge of the header: 10 mm margin + 190 mm
        EXPECT_DOUBLE_EQ(seite.rect.right(), 200.0);
        EXPECT_TRUE(seite.alignment & Qt::AlignRight);
        EXPECT_LT(text("Name").rect.right(), seite.rect.left());
        EXPECT_DOUBLE_EQ(text("Darunter").rect.right(), 200.0);
        const PageBand& fuss = page.bands.back();
        EXPECT_EQ(fuss.kind, BandKind::PageFooter);
        ASSERT_EQ(fuss.texts.size(), 1u);
        EXPECT_EQ(fuss.texts[0].text, "Gedruckt am 11.12.2026");
        // below every band of the page, above the bottom margin
        EXPECT_GE(fuss.top, page.bands[page.bands.size() - 2].top +
                                page.bands[page.bands.size() - 2].height - 1e-9);
        EXPECT_LE(fuss.top + fuss.height, 287.0 + 1e-9);
    }
    // the print date is no content of the lines
    for (const QString& z : textLines(m))
        EXPECT_FALSE(z.contains(QStringLiteral("Gedruckt"))) << z.toStdString();
    EXPECT_EQ(textLines(m).first(), "Kurz\tSeite 1 von 3");
}

TEST(ReportEngine, AGroupGoesOnUnderItsHeadersAndItsSumsKeepItsLastRow) {
    auto r = gruppenBericht();
    // page 1: title 10, headers 6 + 6 from 10 mm, then 5 mm rows down to
    // 282 mm (the print date below): room for 50 rows
    const auto fall = [&r](int anzahl) {
        std::vector<QVariantList> data;
        for (int i = 1; i <= anzahl; ++i)
            data.push_back({1, "A", static_cast<qlonglong>(i)});
        TabellenZeilen rows({"seite", "kreis", "betrag"}, data);
        return r->produce(rows);
    };
    {
        // the 50th row would fit, but its sums would stand alone on page 2
        const PageModel m = fall(50);
        ASSERT_EQ(m.pages.size(), 2u);
        const QStringList b = baender(m);
        const int seite2 = 1 + 2 + 49; // title, headers, rows
        EXPECT_EQ(b[seite2 - 1], "Detail: 49|m");
        EXPECT_EQ(b.mid(seite2),
                  QStringList({"Seite: 1 (Fortsetzung)", "Kreis: A (Fortsetzung)", "Detail: 50|m",
                               "KreisFuss: A 1275|m", "SeiteFuss: 1275|m", "Ende: 1275|m"}));
        // page 2 starts with its page number, then the repeated headers
        EXPECT_EQ(m.pages[1].bands[0].name, "Seitenzahl");
        EXPECT_EQ(m.pages[1].bands[0].texts.at(0).text, "Seite 2 von 2");
        EXPECT_EQ(m.pages[1].bands[1].name, "Seite");
    }
    {
        // 46 rows leave 20 mm: the sums and the result fit below them
        const PageModel m = fall(46);
        ASSERT_EQ(m.pages.size(), 1u);
        EXPECT_EQ(baender(m).last(), "Ende: 1081|m");
    }
}

TEST(ReportEngine, AWrappedTextGrowsItsRowAndPushesWhatIsBelow) {
    Report r(QStringLiteral("Umbruch"));
    Band& kopf = r.addPageHeader(QStringLiteral("Kopf"), 12);
    kopf.addLabel(QStringLiteral("Name"), {50, 0, 140, 6}).setWrap();
    kopf.addLabel(QStringLiteral("Darunter"), {50, 6, 100, 6}, QStringLiteral("Jahr 2026"));
    kopf.onBeforePrint([](Band& b, bool&) {
        b.element(QStringLiteral("Name"))
            .setText(QStringLiteral("Tischlerei und Zimmerei Huber Gesellschaft mit beschränkter "
                                    "Haftung Kleinwalsertal"));
    });
    Band& d = r.addDetail(QStringLiteral("D"), 5);
    d.addField(QStringLiteral("Text"), {0, 0, 30, 5}, QStringLiteral("text")).setWrap();
    d.addField(QStringLiteral("Betrag"), {30, 0, 20, 5}, QStringLiteral("betrag"))
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
    const QString lang = QStringLiteral("Honorar Webdesign Kunde Bäckerei Huber "
                                        "Donaudampfschifffahrtsgesellschaftskapitän Ende");
    TabellenZeilen rows({"text", "betrag"}, {{lang, "12,00"}, {QStringLiteral("kurz"), "2,00"}});
    const PageModel m = r.produce(rows);
    ASSERT_EQ(m.pages.size(), 1u);
    const Page& page = m.pages[0];
    TextFit fit;
    const FontSpec font;
    const double zeile = fit.lineHeightMm(font);

    // the detail: all words, no line wider than the column, the amount on the first
    const PageBand& lang1 = page.bands[1];
    QStringList zeilen;
    for (const PageText& t : lang1.texts) {
        if (t.element == QLatin1String("Text")) {
            zeilen << t.text;
            EXPECT_LE(fit.widthMm(t.text, font), 30.0) << t.text.toStdString();
        }
    }
    ASSERT_GT(zeilen.size(), 2);
    // broken at blanks; only the word wider than the column within itself
    const QStringList gedruckt = zeilen.join(QLatin1Char(' ')).split(QLatin1Char(' '));
    for (const QString& w : lang.split(QLatin1Char(' '))) {
        if (fit.widthMm(w, font) <= 30.0)
            EXPECT_TRUE(gedruckt.contains(w)) << w.toStdString();
        else
            EXPECT_FALSE(gedruckt.contains(w)) << w.toStdString();
    }
    EXPECT_EQ(zeilen.join(QString()).remove(QLatin1Char(' ')),
              QString(lang).remove(QLatin1Char(' ')));
    EXPECT_EQ(lang1.texts.back().text, "12,00");
    EXPECT_DOUBLE_EQ(lang1.texts.back().rect.top(), lang1.top);
    EXPECT_NEAR(lang1.height, 5 + static_cast<double>(zeilen.size() - 1) * zeile, 1e-9);
    // the next row starts below the grown one
    EXPECT_NEAR(page.bands[2].top, lang1.top + lang1.height, 1e-9);
    EXPECT_EQ(page.bands[2].texts[0].text, "kurz");
    EXPECT_DOUBLE_EQ(page.bands[2].height, 5);

    // the header: the name left of "Seite", in lines, the label below it pushed down
    const PageBand& k = page.bands[0];
    double seiteLinks = 0, darunter = 0;
    QStringList name;
    for (const PageText& t : k.texts) {
        if (t.element == QLatin1String("Seitenangabe"))
            seiteLinks = t.rect.left();
        if (t.element == QLatin1String("Darunter"))
            darunter = t.rect.top();
    }
    double unten = 0;
    for (const PageText& t : k.texts) {
        if (t.element != QLatin1String("Name"))
            continue;
        name << t.text;
        EXPECT_LT(t.rect.left() + fit.widthMm(t.text, t.font), seiteLinks);
        unten = t.rect.top() + zeile;
    }
    ASSERT_GE(name.size(), 2);
    EXPECT_EQ(name.join(QLatin1Char(' ')),
              "Tischlerei und Zimmerei Huber Gesellschaft mit beschränkter Haftung Kleinwalsertal");
    EXPECT_GE(darunter + 1e-9, unten);
    EXPECT_NEAR(k.height, 12 + static_cast<double>(name.size() - 1) * zeile, 1e-9);
    EXPECT_TRUE(woerter(page).contains(QStringLiteral("Jahr")));
}

class PdfTest : public ::testing::Test {
protected:
    PageModel einfacheSeite() {
        Report r(QStringLiteral("PDF"));
        Band& t = r.addTitle(QStringLiteral("T"), 20);
        t.addLabel(QStringLiteral("A"), {0, 0, 100, 6}, QStringLiteral("Umsatzsteuer März"));
        t.addLabel(QStringLiteral("B"), {120, 0, 40, 6}, QStringLiteral("1.234,50"))
            .setAlignment(Qt::AlignRight | Qt::AlignTop);
        t.addLine(QStringLiteral("L"), {0, 8, 190, 0});
        t.addBox(QStringLiteral("R"), {0, 10, 190, 8});
        TabellenZeilen rows({"n"}, {});
        return r.produce(rows);
    }
    QTemporaryDir dir;
};

TEST_F(PdfTest, WrittenTextCanBeReadBack) {
    const QString path = dir.filePath(QStringLiteral("bericht.pdf"));
    ASSERT_FALSE(writePdf(einfacheSeite(), path, QStringLiteral("Test")).has_value());
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("Umsatzsteuer März"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("1.234,50"))) << text.toStdString();
    // nothing left beside it
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"bericht.pdf"}));
}

TEST_F(PdfTest, AnUnwritableDirectoryIsToldAndLeavesNoFile) {
    const auto missing = writePdf(einfacheSeite(), dir.filePath(QStringLiteral("fehlt/x.pdf")));
    ASSERT_TRUE(missing.has_value());
    EXPECT_TRUE(missing->contains(QStringLiteral("fehlt/x.pdf")));
    EXPECT_TRUE(missing->contains(QStringLiteral("konnte nicht geschrieben werden")));

    const QString sub = dir.filePath(QStringLiteral("gesperrt"));
    ASSERT_TRUE(QDir().mkdir(sub));
    QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString path = sub + QStringLiteral("/bericht.pdf");
    const auto failed = writePdf(einfacheSeite(), path);
    QFile::setPermissions(sub,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!failed) // root writes anywhere
        GTEST_SKIP() << "the directory is writable for this user";
    EXPECT_TRUE(QDir(sub).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(PdfTest, SavingOverTheBooksIsRefusedAndTheDialogStaysOpen) {
    const QString buecher = dir.filePath(QStringLiteral("Velmora_tab.mdb"));
    {
        QFile f(buecher);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Bücher");
    }
    const QString vorher = QDir::currentPath();
    QDir::setCurrent(dir.path());
    PreviewWindow vorschau(einfacheSeite(), QStringLiteral("Verprobung"));
    QStringList gesagt;
    vorschau.setMessageSink([&](const QString& text) { gesagt << text; });

    // first the books' name in another case, then a sound name
    QStringList namen{QStringLiteral("VELMORA_tab.mdb"), QStringLiteral("verprobung")};
    bool offenNachAblehnung = false;
    QTimer treiber;
    QObject::connect(&treiber, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d || namen.isEmpty())
            return;
        // typed into the name field, as a user does
        d->setDirectory(dir.path());
        d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(namen.takeFirst());
        static_cast<QDialog*>(d)->accept();
        if (namen.size() == 1)
            offenNachAblehnung = d->isVisible();
    });
    treiber.start(10);
    vorschau.savePdf();
    QDir::setCurrent(vorher);

    EXPECT_TRUE(offenNachAblehnung);
    EXPECT_EQ(gesagt, QStringList{QStringLiteral("Diese Datei gehört zu den Büchern von Velmora "
                                                 "und wird nicht überschrieben.")});
    QFile f(buecher);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("Bücher"));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("verprobung.pdf"))));
}

} // namespace
