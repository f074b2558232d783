#include "exporttest.h"

#include "export/exportformat.h"
#include "export/tfrm_progressform.h"

#include <QApplication>
#include <QDir>
#include <QProgressBar>
#include <QSqlQueryModel>

namespace {

const QByteArray kExport = "Name\tBetrag\tOrt\r\n"
                           "M\xFC"
                           "ller\t12,50\tWien\r\n"
                           "\t\tGraz\r\n"
                           "A, \"B\"\t-3\tLinz\r\n";

} // namespace

class ExportRun : public ExportFixture {};

TEST_F(ExportRun, EmptyDataWritesOnlyTheCaptionRow) {
    setRows({});
    EXPECT_EQ(run(), QByteArray("Name\tBetrag\tOrt\r\n"));
    EXPECT_EQ(exporter->rowTotal(), 0);
}

TEST_F(ExportRun, GridWithoutColumnsWritesNoFileAndNoEndEvent) {
    model.clear();
    bool ended = false;
    exporter->OnEndExport = [&](TCustomExport&) { ended = true; };
    run();
    EXPECT_FALSE(QFileInfo::exists(path("out.TXT")));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(ended);
    EXPECT_TRUE(errors.empty());
}

TEST_F(ExportRun, NameTypedWithAnotherExtensionIsWrittenWithTheFormats) {
    exporter->FileName = path("x.csv");
    exporter->RunExport();
    EXPECT_EQ(bytes(path("x.TXT")), kExport);
    EXPECT_FALSE(QFileInfo::exists(path("x.csv")));
    exporter->FileName = path("ohne");
    exporter->RunExport();
    EXPECT_EQ(bytes(path("ohne.TXT")), kExport);
}

TEST_F(ExportRun, HeaderFooterAndDateLinesInTheTabFormat) {
    exporter->Options = {xoShowHeader, xoShowExportDate, xoHeaderLine, xoFooterLine};
    exporter->OnGetHeader = [](TCustomExport&, int total, QString& text) {
        text = QStringLiteral("Kopf %1\r\nzweite Zeile").arg(total);
    };
    exporter->OnGetFooter = [](TCustomExport&, int, QString& text) { text = "Fuß"; };
    const QList<QByteArray> lines = run().split('\n');
    ASSERT_EQ(lines.size(), 9); // eight lines, each ending in CR LF
    EXPECT_EQ(lines[0], "Kopf 3\r");
    EXPECT_EQ(lines[1], "zweite Zeile\r");
    EXPECT_EQ(lines[2], "Name\tBetrag\tOrt\r");
    EXPECT_EQ(lines[6], "Fu\xDF\r");
    EXPECT_TRUE(lines[7].startsWith("Created: ")) << lines[7].constData();
    EXPECT_TRUE(lines[7].endsWith('\r'));
    EXPECT_EQ(lines[8], "");
}

TEST_F(ExportRun, CsvWritesNoHeaderOrFooterLines) {
    exporter->ExportType = xtCSV;
    exporter->Options = {xoShowExportDate};
    exporter->OnGetHeader = [](TCustomExport&, int, QString& text) { text = "Kopf"; };
    exporter->OnGetFooter = [](TCustomExport&, int, QString& text) { text = "Fuß"; };
    exporter->FileName = path("out");
    exporter->RunExport();
    EXPECT_EQ(bytes(path("out.CSV")), QByteArray("M\xFC"
                                                 "ller,\"12,50\",Wien\r\n,,Graz\r\n\"A, "
                                                 "\"\"B\"\"\",-3,Linz\r\n"));
}

TEST_F(ExportRun, SelectedRowsOnlyAndTheRowEventDecide) {
    grid.setSelectionMode(QAbstractItemView::MultiSelection);
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.selectRow(0);
    grid.selectRow(2);
    exporter->Options = {xoSelectedRowsOnly};
    std::vector<int> seen;
    exporter->OnExport = [&](TCustomExport&, int row, bool& exportRow, TExportValues& values,
                             int total) {
        seen.push_back(row);
        EXPECT_EQ(total, 3);
        if (row == 2) {
            EXPECT_TRUE(exportRow);
            values[2] = QStringLiteral("geändert");
        }
    };
    EXPECT_EQ(run(), QByteArray("M\xFC"
                                "ller\t12,50\tWien\r\nA, \"B\"\t-3\tge\xE4"
                                "ndert\r\n"));
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(exporter->rowsProcessed(), 3);
    EXPECT_EQ(exporter->rowsExported(), 2);
}

TEST_F(ExportRun, ClipboardGetsTheFixedWidthLinesAndAMessage) {
    exporter->ExportType = xtClipboard;
    exporter->Options = {xoShowHeader, xoClipboardMessage};
    exporter->ColumnWidths = {"6", "5", "4"};
    QString copied;
    exporter->sinks.clipboard = [&](const QString& text) { copied = text; };
    exporter->FileName.clear();
    ui.answerQuestion(UserSeam::Ok);
    exporter->RunExport();
    EXPECT_EQ(copied, QStringLiteral("Name   Betrag Ort \r\nMüller 12,50 Wien\r\n"
                                     "             Graz\r\nA, \"B\" -3    Linz\r\n"));
    EXPECT_EQ(ui.texts("question"), QStringList{"Data was copied to clipboard!"});
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(ExportRun, RowNumberFormatWithoutPercentDIsRefused) {
    exporter->setRowNumberFormat(QStringLiteral("Nr. %d"));
    exporter->setRowNumberFormat(QStringLiteral("Nr."));
    EXPECT_EQ(exporter->RowNumberFormat(), QStringLiteral("Nr. %d"));
    EXPECT_EQ(ui.texts("error"), QStringList{"The format has to contain %d string."});
}

TEST_F(ExportRun, ViewStyleWritesANewTemporaryFileAndOpensIt) {
    exporter->ExportStyle = xsView;
    exporter->TempDir = dir.path();
    QStringList opened;
    exporter->shellOpen = [&](const QString& f) { opened << f; };
    QFile first(path("VLM1.TXT"));
    ASSERT_TRUE(first.open(QIODevice::WriteOnly));
    first.close();
    exporter->RunExport();
    ASSERT_EQ(opened, QStringList{path("VLM2.TXT")});
    EXPECT_EQ(bytes(path("VLM2.TXT")), kExport);
    EXPECT_EQ(bytes(path("VLM1.TXT")), QByteArray());
}

TEST_F(ExportRun, ClosedDataIsErrorTwo) {
    QSqlQueryModel closed;
    grid.setModel(&closed);
    exporter->FileName = path("out.txt");
    exporter->RunExport();
    EXPECT_EQ(errors, std::vector<int>{2});
    EXPECT_FALSE(QFileInfo::exists(path("out.TXT")));
    grid.setModel(&model);
}

TEST_F(ExportRun, AnExistingFileRefusedByTheEventIsErrorsOneAndThree) {
    QFile earlier(path("out.TXT"));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("alt");
    earlier.close();
    exporter->OnFileExist = [](TCustomExport&, const QString&, bool& allow) { allow = false; };
    EXPECT_EQ(run(), QByteArray("alt"));
    EXPECT_EQ(errors, (std::vector<int>{1, 3}));
}

TEST_F(ExportRun, RunKeepsTheGridsCurrentRowAndShowsProgress) {
    grid.show();
    grid.setCurrentIndex(model.index(1, 2));
    exporter->Options = {xoShowHeader, xoShowProgress};
    exporter->Messages.Text = QStringLiteral("In Arbeit...");
    std::vector<int> positions;
    exporter->OnExport = [&](TCustomExport&, int, bool&, TExportValues&, int) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* p = qobject_cast<Tfrm_ProgressForm*>(w)) {
                EXPECT_TRUE(p->isVisible());
                EXPECT_EQ(p->ProgressBar->maximum(), 3);
                positions.push_back(p->ProgressBar->value());
            }
        }
        EXPECT_FALSE(grid.updatesEnabled());
    };
    EXPECT_EQ(run(), kExport);
    // the bar stands at the rows done before each row
    EXPECT_EQ(positions, (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(grid.currentIndex(), model.index(1, 2));
    EXPECT_TRUE(grid.updatesEnabled());
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<Tfrm_ProgressForm*>(w) && w->isVisible());
}

// The public row operations answer outside a run with the component's
// settings; the format objects refuse what needs a run instead of crashing.
TEST_F(ExportRun, RowOperationsWorkOutsideARun) {
    exporter->Options = {xoShowHeader, xoHeaderLine, xoRowNumbers};
    const TExportValues values{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    const struct {
        TExportType type;
        const char* dataRow;
    } table[] = {
        {xtHTML, "    <TD ALIGN=\"Right\">1</TD>\n    <TD><small>a</small></TD>\n"
                 "    <TD><small>b</small></TD>\n    <TD><small>c</small></TD>"},
        {xtRTF, "1\\cell a\\cell b\\cell c\\cell "},
        {xtDIF, "1,0\n\"1\"\n1,0\n\"a\"\n1,0\n\"b\"\n1,0\n\"c\""},
        {xtSYLK, "C;X1;Y1;K\"1\"\nC;X2;Y1;K\"a\"\nC;X3;Y1;K\"b\"\nC;X4;Y1;K\"c\""},
        {xtTAB, "1\ta\tb\tc"},
        {xtCSVExcel, "1;a;b;c"},
        {xtExcel, ""},
        {xtXLSX, ""},
    };
    for (const auto& row : table) {
        exporter->ExportType = row.type;
        EXPECT_EQ(exporter->BuildRow(values, false, true).toStdString(), row.dataRow) << row.type;
        exporter->BuildRow(values, true, false);
        EXPECT_FALSE(exporter->RowNumberCell().isEmpty()) << row.type;
    }
    // the caption cell of HTML takes its colour from the template
    exporter->ExportType = xtHTML;
    EXPECT_TRUE(exporter->BuildRow(values, true, false).contains("<FONT COLOR=\"#ffffff\">"));

    for (const TExportType type : {xtExcel, xtXLSX}) {
        std::unique_ptr<ExportFormat> f = createExportFormat(type);
        QStringList lines;
        // no workbook or file name yet: refused, nothing written
        const TextFileResult r = f->finish(QString(), lines, {});
        EXPECT_FALSE(r.ok) << type;
        EXPECT_FALSE(r.error.isEmpty()) << type;
        if (type == xtXLSX) {
            EXPECT_THROW(f->rowLines(lines, QString(), false), std::runtime_error);
        }
    }
    EXPECT_TRUE(QDir::current()
                    .entryList({"*.XLS", "*.xlsx", ".velmora-*"}, QDir::Files | QDir::Hidden)
                    .isEmpty());
}
