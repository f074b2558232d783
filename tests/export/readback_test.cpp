#include "exporttest.h"

#include "data/anzeige.h"
#include "export/excelformat.h"

#include <QDir>
#include <QProcess>

namespace {

// Runs python3 with a script on a file and answers its standard output.
QString python(const QString& script, const QString& file) {
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, file});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return QStringLiteral("<python failed: %1>")
            .arg(QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

Currency betrag(const char* text) {
    return Currency::parse(QString::fromUtf8(text)).value();
}

// The readers, each printing one line per row.
const char* const ReadXlsx = "import sys, openpyxl\n"
                             "s = openpyxl.load_workbook(sys.argv[1]).active\n"
                             "print(*(int(s.column_dimensions[c].width) for c in 'ABCD'))\n"
                             "for row in s.iter_rows():\n"
                             "  print('|'.join('%s:%r' % (c.data_type, c.value) for c in row))\n";
// Excel reads the file in the system's code page, Windows-1252 in Austria
const char* const ReadXls =
    "import sys, xlrd\n"
    "s = xlrd.open_workbook(sys.argv[1], encoding_override='cp1252').sheet_by_index(0)\n"
    "for r in range(s.nrows):\n"
    "  print('|'.join('%d:%r' % (c.ctype, c.value) for c in s.row(r)))\n";
const char* const ReadCsv = "import sys, csv\n"
                            "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                            "  for row in csv.reader(f, delimiter=';'):\n"
                            "    print('|'.join(repr(v) for v in row))\n";
// A DIF reader: the header up to DATA, then per row BOT and its cells,
// "1,0" with a string value, "0,V" with a number.
const char* const ReadDif =
    "import sys\n"
    "lines = open(sys.argv[1], encoding='cp1252', newline='').read().split('\\r\\n')\n"
    "i = lines.index('DATA') + 3\n"
    "rows = []\n"
    "while lines[i] != '-1,0' or lines[i + 1] != 'EOD':\n"
    "  kind, value = lines[i].split(',', 1)\n"
    "  text = lines[i + 1]\n"
    "  if kind == '-1':\n"
    "    rows.append([])\n"
    "  elif kind == '1':\n"
    "    assert text.startswith('\"') and text.endswith('\"'), text\n"
    "    rows[-1].append('s:' + repr(text[1:-1].replace('\"\"', '\"')))\n"
    "  else:\n"
    "    rows[-1].append('n:' + value)\n"
    "  i += 2\n"
    "for row in rows:\n"
    "  print('|'.join(row))\n";

} // namespace

// Texts that look like numbers, umlauts, "€", a character beyond
// Windows-1252, negative amounts, dates and empty cells, read back by the
// readers a user's spreadsheet program stands for.
class ReadBack : public ExportFixture {
protected:
    void SetUp() override {
        ExportFixture::SetUp();
        model.clear();
        model.setHorizontalHeaderLabels({"Text", "Betrag", "Datum", "Nr"});
        const struct {
            const char* text;
            const char* betrag; // empty: no amount
            QDate datum;        // invalid: no date
        } rows[] = {
            {"0815", "-119,88", QDate(2026, 1, 15)},
            {"1e3", "1234,5", QDate(2026, 12, 31)},
            {"nan", "0", QDate()},
            {"Müller; \"Söhne\" €", "-960", QDate(2026, 2, 28)},
            {"", "", QDate(2026, 3, 1)},
            {"-inf →", "0,01", QDate(2026, 6, 30)},
        };
        qlonglong nr = 0;
        for (const auto& r : rows) {
            QList<QStandardItem*> items;
            items << new QStandardItem(QString::fromUtf8(r.text));
            auto* b = new QStandardItem();
            if (*r.betrag) {
                b->setText(anzeige::zahl(betrag(r.betrag)));
                b->setData(QVariant::fromValue(betrag(r.betrag)), ZahlRolle);
            }
            auto* d = new QStandardItem();
            if (r.datum.isValid()) {
                d->setText(anzeige::datum(r.datum));
                d->setData(r.datum, DatumRolle);
            }
            auto* n = new QStandardItem(QString::number(++nr));
            n->setData(nr, ZahlRolle);
            items << b << d << n;
            model.appendRow(items);
        }
    }

    QString exportAs(TExportType type, const QString& ext, const char* reader) {
        exporter->ExportType = type;
        exporter->FileName = path("liste.txt");
        exporter->RunExport();
        EXPECT_TRUE(errors.empty()) << exporter->lastError().toStdString();
        return python(QString::fromLatin1(reader), path("liste." + ext));
    }
};

TEST_F(ReadBack, WorkbookKeepsTextsAsTextsAndTypesOnlyTypedValues) {
    EXPECT_EQ(exportAs(xtXLSX, "XLSX", ReadXlsx).toStdString(),
              "18 9 11 5\n"
              "s:'Text'|s:'Betrag'|s:'Datum'|s:'Nr'\n"
              "s:'0815'|n:-119.88|d:datetime.datetime(2026, 1, 15, 0, 0)|n:1\n"
              "s:'1e3'|n:1234.5|d:datetime.datetime(2026, 12, 31, 0, 0)|n:2\n"
              "s:'nan'|n:0|n:None|n:3\n"
              "s:'Müller; \"Söhne\" €'|n:-960|d:datetime.datetime(2026, 2, 28, 0, 0)|n:4\n"
              "n:None|n:None|d:datetime.datetime(2026, 3, 1, 0, 0)|n:5\n"
              "s:'-inf →'|n:0.01|d:datetime.datetime(2026, 6, 30, 0, 0)|n:6\n");
    EXPECT_EQ(exporter->replacedCharacters(), 0);
}

TEST_F(ReadBack, WorkbookColumnsFitTheirContentUpToSixtyCharacters) {
    model.item(1, 0)->setText(QString(70, QLatin1Char('x')));
    const QString out = exportAs(xtXLSX, "XLSX", ReadXlsx);
    EXPECT_TRUE(out.startsWith("60 9 11 5\n")) << out.toStdString();
}

TEST_F(ReadBack, SpreadsheetCellsFollowTheComponentsRuleWithoutNaN) {
    // numbers from the typed amounts and numbers, a text that converts with
    // a decimal period too; never "nan" or "inf" as a number
    EXPECT_EQ(exportAs(xtExcel, "XLS", ReadXls).toStdString(),
              "1:'Text'|1:'Betrag'|1:'Datum'|1:'Nr'\n"
              "2:815.0|2:-119.88|1:'15.01.2026'|2:1.0\n"
              "2:1000.0|2:1234.5|1:'31.12.2026'|2:2.0\n"
              "1:'nan'|2:0.0|1:''|2:3.0\n"
              "1:'Müller; \"Söhne\" €'|2:-960.0|1:'28.02.2026'|2:4.0\n"
              "1:''|1:''|1:'01.03.2026'|2:5.0\n"
              "1:'-inf ?'|2:0.01|1:'30.06.2026'|2:6.0\n");
    EXPECT_EQ(exporter->replacedCharacters(), 1);
}

TEST_F(ReadBack, SemicolonCsvOpensCellByCell) {
    EXPECT_EQ(exportAs(xtCSVExcel, "CSV", ReadCsv).toStdString(),
              "'Text'|'Betrag'|'Datum'|'Nr'\n"
              "'0815'|'-119,88'|'15.01.2026'|'1'\n"
              "'1e3'|'1234,5'|'31.12.2026'|'2'\n"
              "'nan'|'0'|''|'3'\n"
              "'Müller; \"Söhne\" €'|'-960'|'28.02.2026'|'4'\n"
              "''|''|'01.03.2026'|'5'\n"
              "'-inf →'|'0,01'|'30.06.2026'|'6'\n");
    EXPECT_EQ(exporter->replacedCharacters(), 0);
    // UTF-8 with its mark; numbers bare, a text quoted only for its ";"
    const QByteArray file = bytes(path("liste.CSV"));
    EXPECT_TRUE(
        file.startsWith("\xEF\xBB\xBFText;Betrag;Datum;Nr\r\n0815;-119,88;15.01.2026;1\r\n"));
    EXPECT_TRUE(file.contains("\r\n\"M\xC3\xBCller; \"\"S\xC3\xB6hne\"\" \xE2\x82\xAC\";-960;"
                              "28.02.2026;4\r\n;;01.03.2026;5\r\n"));
}

TEST_F(ReadBack, DifHoldsEveryCellAsAQuotedString) {
    EXPECT_EQ(exportAs(xtDIF, "DIF", ReadDif).toStdString(),
              "s:'Text'|s:'Betrag'|s:'Datum'|s:'Nr'\n"
              "s:'0815'|s:'-119,88'|s:'15.01.2026'|s:'1'\n"
              "s:'1e3'|s:'1234,5'|s:'31.12.2026'|s:'2'\n"
              "s:'nan'|s:'0'|s:''|s:'3'\n"
              "s:'Müller; \"Söhne\" €'|s:'-960'|s:'28.02.2026'|s:'4'\n"
              "s:''|s:''|s:'01.03.2026'|s:'5'\n"
              "s:'-inf ?'|s:'0,01'|s:'30.06.2026'|s:'6'\n");
    EXPECT_EQ(exporter->replacedCharacters(), 1);
}

// A sheet of the versions the spreadsheet format writes holds 16,384 rows:
// header lines with their blank row, caption, data rows and footer together.
TEST_F(ExportFixture, SpreadsheetRefusesMoreRowsThanASheetHolds) {
    const struct {
        int dataRows;
        const char* header;
        const char* footer;
        bool fits;
    } cases[] = {
        {16383, "", "", true},                                // caption and 16,383 rows
        {16384, "", "", false},                               // one more
        {16381, "Kopf", "", true},                            // header line and its blank row
        {16382, "Kopf", "", false}, {16381, "", "Fuß", true}, // the footer two rows below the last
        {16382, "", "Fuß", false},
    };
    exporter->ExportType = xtExcel;
    exporter->Options = {xoShowHeader};
    int previous = -1;
    for (const auto& c : cases) {
        if (c.dataRows != previous) {
            model.clear();
            model.setColumnCount(1);
            model.setHorizontalHeaderLabels({"Nr"});
            for (int r = 0; r < c.dataRows; ++r)
                model.appendRow(new QStandardItem(QString::number(r + 1)));
            previous = c.dataRows;
        }
        const QString header = QString::fromUtf8(c.header);
        const QString footer = QString::fromUtf8(c.footer);
        exporter->OnGetHeader = [header](TCustomExport&, int, QString& t) { t = header; };
        exporter->OnGetFooter = [footer](TCustomExport&, int, QString& t) { t = footer; };
        errors.clear();
        QFile::remove(path("liste.XLS"));
        exporter->FileName = path("liste.xls");
        exporter->RunExport();
        const std::string what = std::to_string(c.dataRows) + " " + c.header + c.footer;
        if (c.fits) {
            EXPECT_TRUE(errors.empty()) << what;
            EXPECT_EQ(python("import sys, xlrd\n"
                             "s = xlrd.open_workbook(sys.argv[1], "
                             "encoding_override='cp1252').sheet_by_index(0)\n"
                             "print(s.nrows, s.cell_value(s.nrows - 1, 0))\n",
                             path("liste.XLS"))
                          .toStdString(),
                      QStringLiteral("16384 %1\n")
                          .arg(footer.isEmpty() ? QString::number(c.dataRows) + ".0" : footer)
                          .toStdString())
                << what;
        } else {
            EXPECT_EQ(errors, std::vector<int>{3}) << what;
            EXPECT_EQ(
                exporter->lastError(),
                QStringLiteral("Das Format fasst höchstens 16.384 Zeilen; bitte XLSX wählen."))
                << what;
            EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty()) << what;
        }
    }
}
