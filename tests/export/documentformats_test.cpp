#include "exporttest.h"

#include "data/anzeige.h"
#include "export/documentformats.h"
#include "export/excelformat.h"

#include <QDir>

#include <QProcess>

namespace {

QByteArray expected(const QString& name) {
    QFile f(QStringLiteral(VELMORA_EXPORT_EXPECTED_DIR "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing " + name.toUtf8() + ">";
    QByteArray content = f.readAll();
    if (!name.endsWith(QLatin1String(".hex")))
        return content;
    QByteArray hex;
    for (const QByteArray& line : content.split('\n')) {
        if (!line.trimmed().startsWith('#'))
            hex += line;
    }
    return QByteArray::fromHex(hex);
}

QFont font(const char* family, int points, QFont::StyleHint hint, bool bold = false) {
    QFont f{QString::fromLatin1(family)};
    f.setPointSize(points);
    f.setStyleHint(hint);
    f.setBold(bold);
    return f;
}

// Runs python3 with a script on a file and answers its standard output.
QString python(const QString& script, const QString& file) {
    QProcess p;
    // the Debian interpreter, which has the readers installed
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, file});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<python failed: %1>")
            .arg(QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class DocumentFormats : public ExportFixture {
protected:
    void headerAndFooter() {
        exporter->OnGetHeader = [](TCustomExport&, int, QString& t) { t = "Kopf"; };
        exporter->OnGetFooter = [](TCustomExport&, int, QString& t) { t = "Fuß"; };
    }
    QByteArray runAs(TExportType type, const QString& ext) {
        exporter->ExportType = type;
        exporter->FileName = path("liste.txt");
        exporter->RunExport();
        EXPECT_TRUE(errors.empty()) << exporter->lastError().toStdString();
        return bytes(path("liste." + ext));
    }
};

TEST_F(DocumentFormats, HtmlEscapesTextsAndLinksAndColoursOddRows) {
    setRows({{"Müller & Söhne <GmbH>", "12,50", "Wien"},
             {"", "", "Graz"},
             {"http://x.at/?a=1&b=2", "-3", "Linz"}});
    headerAndFooter();
    exporter->Options = {xoShowHeader, xoUseAlignments, xoHeaderLine, xoFooterLine};
    exporter->ColumnWidths = {"8", "6"};
    exporter->HTML.Title = "Liste & Co";
    EXPECT_EQ(runAs(xtHTML, "HTML").toStdString(), expected("liste.html").toStdString());
}

TEST_F(DocumentFormats, RtfEscapesTextsAndDefinesEveryGridColumn) {
    setRows({{"Rabatt {10%} \\ Müller", "12,50", "Wien"}, {"", "", "Graz"}});
    grid.setColumnHidden(1, true);
    headerAndFooter();
    exporter->Options = {xoShowHeader, xoUseAlignments};
    TRTFColors& s = exporter->DOC_RTF.CustomSettings;
    s.DefaultFont.font = font("Arial", 10, QFont::SansSerif);
    s.HeaderFont.font = font("Arial", 10, QFont::SansSerif, true);
    s.TableFont.font = font("Times New Roman", 9, QFont::Serif);
    const QByteArray want = expected("liste.rtf");
    EXPECT_EQ(runAs(xtRTF, "RTF").toStdString(), want.toStdString());
    // Word writes the same text
    EXPECT_EQ(runAs(xtWord, "DOC").toStdString(), want.toStdString());
}

TEST_F(DocumentFormats, DifAndSylkIgnoreHeaderFooterAndDate) {
    headerAndFooter();
    exporter->Options = {xoShowHeader, xoRowNumbers, xoShowExportDate, xoHeaderLine, xoFooterLine};
    EXPECT_EQ(runAs(xtDIF, "DIF").toStdString(), expected("liste.dif").toStdString());
    EXPECT_EQ(runAs(xtSYLK, "SLK").toStdString(), expected("liste.slk").toStdString());
}

TEST_F(DocumentFormats, SpreadsheetCellsByTheirText) {
    setRows({{"Müller", "12.5", "12,5"}});
    exporter->OnGetFooter = [](TCustomExport&, int, QString& t) { t = "Fuß"; };
    exporter->Options = {xoShowHeader, xoUseAlignments, xoShowExportDate};
    TExcelOptions& e = exporter->EXCEL;
    e.ExcelVersion = xls21;
    e.Options = {reUseBorders};
    e.DefaultFont = font("Arial", 10, QFont::SansSerif);
    e.HeaderFont = font("Arial", 10, QFont::SansSerif, true);
    e.TableFont = e.DefaultFont;
    const QByteArray file = runAs(xtExcel, "XLS");
    EXPECT_EQ(file.toHex(' ').toStdString(), expected("liste.xls.hex").toHex(' ').toStdString());
}

TEST_F(DocumentFormats, RealReadersSeeTheSpreadsheetValues) {
    setRows({{"Müller", "12.5", "12,5"}, {"x", "-3", "Graz"}});
    exporter->Options = {xoShowHeader, xoRowNumbers};
    const QString xlrd = QStringLiteral(
        "import sys, xlrd\n"
        // the file names no code page; its texts are Windows-1252
        "s = xlrd.open_workbook(sys.argv[1], encoding_override='cp1252').sheet_by_index(0)\n"
        "for r in range(s.nrows):\n"
        "  print('|'.join('%d:%r' % (c.ctype, c.value) for c in s.row(r)))\n");
    for (TExcelVersion v : {xls21, xls50}) {
        exporter->EXCEL.ExcelVersion = v;
        runAs(xtExcel, "XLS");
        // 1 text, 2 number, 0 empty
        EXPECT_EQ(python(xlrd, path("liste.XLS")).toStdString(),
                  "0:''|1:'Name'|1:'Betrag'|1:'Ort'\n"
                  "2:1.0|1:'Müller'|2:12.5|1:'12,5'\n"
                  "2:2.0|1:'x'|2:-3.0|1:'Graz'\n")
            << v;
    }
}

TEST(DocumentColours, HtmlAndRtfReadTheSameValueDifferently) {
    THTMLOptions h;
    EXPECT_EQ(htmlColorText(h.HTMLColor(2)), "#0000ff");
    EXPECT_EQ(htmlColorText(0x336699), "#336699");
    EXPECT_EQ(RTFColor(0x0000FF), "\\red255\\green0\\blue0;");
    EXPECT_EQ(RTFColor(0x336699), "\\red153\\green102\\blue51;");
    h.Template = ctCustom;
    h.CustomColors.HeaderBackground = 0x123456;
    h.CustomColors.TableFontFace = "Tahoma";
    EXPECT_EQ(h.HTMLColor(5), 0x123456u);
    EXPECT_EQ(h.HTMLFontFace(1), "Tahoma");
    EXPECT_EQ(h.HTMLFontFace(0), "Arial,Helvetica");
    TRTFOptions r;
    EXPECT_EQ(r.RTFColorRole(4), 0x800000u);
    r.Template = rtCustom;
    r.CustomSettings.HeaderFont.color = 0x00FF00;
    EXPECT_EQ(r.RTFColorRole(1), 0x00FF00u);
    EXPECT_EQ(r.RTFColorRole(5), 0xFFFFFFu);
}

TEST(DocumentTexts, EscapesAndFontEntries) {
    EXPECT_EQ(htmlEscape("a&b<c>\"d\" ü €"), "a&amp;b&lt;c&gt;&quot;d&quot; ü €");
    EXPECT_EQ(htmlEscape("→ 😀"), "&#8594; &#128512;");
    EXPECT_EQ(rtfEscape("{a}\\b ü € →"), "\\{a\\}\\\\b \\'fc \\'80 \\u8594?");
    const struct {
        QFont::StyleHint hint;
        const char* family;
    } hints[] = {{QFont::SansSerif, "fswiss"},       {QFont::Serif, "froman"},
                 {QFont::TypeWriter, "fmodern"},     {QFont::Cursive, "fscript"},
                 {QFont::Decorative, "fdecorative"}, {QFont::AnyStyle, "fdontcare"}};
    for (const auto& h : hints) {
        // the configured name also where the font is not installed
        QFont f = font("Nirgendwo Sans", 8, h.hint);
        EXPECT_EQ(RTFFontEntry(3, f),
                  QStringLiteral("{\\f3\\%1\\fcharset0 Nirgendwo Sans;}").arg(h.family));
    }
    QFont f = font("Tahoma", 8, QFont::SansSerif, true);
    f.setItalic(true);
    f.setUnderline(true);
    f.setStrikeOut(true);
    EXPECT_EQ(RTFFontAttributes(f), "\\fs16\\b\\i\\ul\\strike");
    // halves to even: 4375 exactly, 1458.33, 2916.67, and 150 × 96 ÷ 96 … at width 48: 50, 100
    EXPECT_EQ(RtfFormat::cellEdge(0, 1400), 1458);
    EXPECT_EQ(RtfFormat::cellEdge(1, 1400), 2917);
    EXPECT_EQ(RtfFormat::cellEdge(2, 1400), 4375);
    EXPECT_EQ(RtfFormat::cellEdge(0, 1), 1);   // 1.04
    EXPECT_EQ(RtfFormat::cellEdge(0, 24), 25); // 25.0
    EXPECT_EQ(RtfFormat::cellEdge(0, 12), 12); // 12.5 → 12
    EXPECT_EQ(RtfFormat::cellEdge(2, 12), 38); // 37.5 → 38
}

TEST(DocumentTexts, SpreadsheetNumbersTakeOnlyThePeriod) {
    EXPECT_EQ(numberFromText("12.5"), 12.5);
    EXPECT_EQ(numberFromText("-3"), -3.0);
    EXPECT_FALSE(numberFromText("12,5"));
    EXPECT_FALSE(numberFromText("1,234.5"));
    EXPECT_FALSE(numberFromText(""));
    EXPECT_FALSE(numberFromText("12 Stk"));
}

TEST_F(DocumentFormats, WorkbookHoldsTypedCellsReadByOpenpyxl) {
    setRows({{"Müller & Söhne", "1.234,50", "01.03.2026"}, {"12.5", "-3,00", ""}});
    // the models' typed values beside the display texts
    model.item(0, 1)->setData(QVariant::fromValue(Currency::fromDouble(1234.5).value()), ZahlRolle);
    model.item(1, 1)->setData(QVariant::fromValue(Currency::fromDouble(-3).value()), ZahlRolle);
    model.item(0, 2)->setData(QDate(2026, 3, 1), DatumRolle);
    model.item(1, 0)->setData(qlonglong(70000), ZahlRolle);
    exporter->Options = {xoShowHeader, xoRowNumbers};
    ASSERT_EQ(runAs(xtXLSX, "XLSX").left(2), "PK");
    const QString openpyxl = QStringLiteral(
        "import sys, openpyxl\n"
        "s = openpyxl.load_workbook(sys.argv[1]).active\n"
        "print(s.freeze_panes, s.auto_filter.ref, s['B1'].font.b, "
        "int(s.column_dimensions['B'].width))\n"
        "for row in s.iter_rows():\n"
        "  print('|'.join('%s:%r:%s' % (c.data_type, c.value, c.number_format) for c in row))\n");
    EXPECT_EQ(python(openpyxl, path("liste.XLSX")).toStdString(),
              "A2 A1:D1 True 15\n"
              "n:None:General|s:'Name':General|s:'Betrag':General|s:'Ort':General\n"
              "n:1:0|s:'Müller & Söhne':General|n:1234.5:#,##0.00|"
              "d:datetime.datetime(2026, 3, 1, 0, 0):dd.mm.yyyy\n"
              "n:2:0|n:70000:0|n:-3:#,##0.00|n:None:General\n");
    // no temporary file stays behind
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"liste.XLSX"});
}

TEST_F(DocumentFormats, WorkbookThatCannotBeWrittenLeavesNothing) {
    exporter->ExportType = xtXLSX;
    exporter->FileName = path("fehlt/liste.txt");
    exporter->RunExport();
    EXPECT_EQ(errors, std::vector<int>{3});
    EXPECT_FALSE(exporter->lastError().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
