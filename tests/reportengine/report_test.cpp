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

// "band: text text ..." for each printed band, in order.
QStringList baender(const PageModel& model) {
    QStringList out;
    for (const Page& p : model.pages) {
        for (const PageBand& b : p.bands) {
            QStringList texts;
            for (const PageText& t : b.texts)
                texts << (t.visible ? t.text : QStringLiteral("-"));
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
    // the disabled element keeps its field in the text lines
    EXPECT_EQ(textLines(m), QStringList({"Zeile 1\t1", "Zeile 3\t", "4"}));
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
    // 277 mm between the margins, 17 for the header: 26 rows a page
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
    EXPECT_EQ(m.pages[0].bands.size(), 27u);
    EXPECT_EQ(m.pages[1].bands[1].texts[0].text, "27");
    EXPECT_EQ(m.pages[2].bands.back().texts[0].text, "60");
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
    const auto& b = m.pages[0].bands;
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
