#include "exporttest.h"

#include "data/anzeige.h"
#include "export/windows1252.h"

namespace {

using Rows = std::vector<std::vector<QString>>;

// One export of the three-column grid; the expected bytes are worked out by hand.
struct FormatCase {
    const char* name;
    TExportType type;
    TExportOptions options;
    QStringList widths;
    int hiddenColumn;
    QString rowNumberFormat;
    Rows rows; // empty: the fixture's rows
    QByteArray expected;
};

const QByteArray kRowsTab = "M\xFC"
                            "ller\t12,50\tWien\r\n"
                            "\t\tGraz\r\n"
                            "A, \"B\"\t-3\tLinz\r\n";

std::vector<FormatCase> cases() {
    const QString d = QStringLiteral("%d");
    return {
        {"TabCaptionsAndCells",
         xtTAB,
         {xoShowHeader, xoUseAlignments},
         {},
         -1,
         d,
         {},
         "Name\tBetrag\tOrt\r\n" + kRowsTab},
        // separator lines are empty in the tab format
        {"TabIgnoresSeparatorLines",
         xtTAB,
         {xoShowHeader, xoHeaderLine, xoFooterLine},
         {"8", "6", "6"},
         -1,
         d,
         {},
         "Name\tBetrag\tOrt\r\n" + kRowsTab},
        {"CsvQuotesBlankCommaAndQuotes",
         xtCSV,
         {xoShowHeader, xoHeaderLine},
         {},
         -1,
         d,
         {},
         "Name,Betrag,Ort\r\n"
         "M\xFC"
         "ller,\"12,50\",Wien\r\n"
         ",,Graz\r\n"
         "\"A, \"\"B\"\"\",-3,Linz\r\n"},
        {"CsvBareTextKeepsDoubledQuote",
         xtCSV,
         {},
         {},
         -1,
         d,
         {{"x\"y", "a b", "c,d"}},
         "x\"\"y,\"a b\",\"c,d\"\r\n"},
        {"FixedWidthWithAlignmentsAndLines",
         xtTXT,
         {xoShowHeader, xoUseAlignments, xoHeaderLine, xoFooterLine},
         {"8", "6", "6"},
         -1,
         d,
         {},
         "Name     Betrag  Ort  \r\n"
         "----------------------\r\n"
         "M\xFC"
         "ller    12,50  Wien \r\n"
         "                 Graz \r\n"
         "A, \"B\"       -3  Linz \r\n"
         "----------------------\r\n"},
        {"FixedWidthWithoutAlignments",
         xtTXT,
         {xoShowHeader},
         {"8", "6", "6"},
         -1,
         d,
         {},
         "Name     Betrag Ort   \r\n"
         "M\xFC"
         "ller   12,50  Wien  \r\n"
         "                Graz  \r\n"
         "A, \"B\"   -3     Linz  \r\n"},
        {"TruncateKeepsWidthWithSymbol",
         xtTXT,
         {xoShowHeader, xoTruncate},
         {"10", "6", "6"},
         -1,
         d,
         {{"Zwanzig Zeichen lang", "1", "x"}},
         "Name       Betrag Ort   \r\n"
         "Zwanzig... 1      x     \r\n"},
        {"FixedWidthRowNumbers",
         xtTXT,
         {xoShowHeader, xoRowNumbers},
         {"8", "6", "6"},
         -1,
         d,
         {},
         "  Name     Betrag Ort   \r\n"
         "1 M\xFC"
         "ller   12,50  Wien  \r\n"
         "2                 Graz  \r\n"
         "3 A, \"B\"   -3     Linz  \r\n"},
        {"TabRowNumbersKeepColumns",
         xtTAB,
         {xoShowHeader, xoRowNumbers},
         {},
         -1,
         d,
         {},
         "\tName\tBetrag\tOrt\r\n"
         "1\tM\xFC"
         "ller\t12,50\tWien\r\n"
         "2\t\t\tGraz\r\n"
         "3\tA, \"B\"\t-3\tLinz\r\n"},
        {"CsvRowNumbersQuotedWithBlank",
         xtCSV,
         {xoShowHeader, xoRowNumbers},
         {},
         -1,
         QStringLiteral("Nr %d"),
         {{"a", "b", "c"}, {"d", "e", "f"}},
         ",Name,Betrag,Ort\r\n"
         "\"Nr 1\",a,b,c\r\n"
         "\"Nr 2\",d,e,f\r\n"},
        {"HiddenColumnLeftOut",
         xtTAB,
         {xoShowHeader},
         {},
         1,
         d,
         {},
         "Name\tOrt\r\n"
         "M\xFC"
         "ller\tWien\r\n"
         "\tGraz\r\n"
         "A, \"B\"\tLinz\r\n"},
        {"HiddenColumnWithExportInvisibles",
         xtTAB,
         {xoShowHeader, xoExportInvisibles},
         {},
         1,
         d,
         {},
         "Name\tBetrag\tOrt\r\n" + kRowsTab},
        // the separator counts all columns' gaps, also the hidden one's
        {"FixedWidthHiddenColumnSeparator",
         xtTXT,
         {xoShowHeader, xoHeaderLine},
         {"8", "6", "6"},
         1,
         d,
         {},
         "Name     Ort   \r\n"
         "----------------\r\n"
         "M\xFC"
         "ller   Wien  \r\n"
         "         Graz  \r\n"
         "A, \"B\"   Linz  \r\n"},
        {"TabBreaksInCellsBecomeBlanks",
         xtTAB,
         {},
         {},
         -1,
         d,
         {{"a\tb", "c\rd", "e\nf"}},
         "a b\tc d\te f\r\n"},
        {"CsvBreaksInCellsBecomeBlanks",
         xtCSV,
         {},
         {},
         -1,
         d,
         {{"a\tb", "c\r\nd", "e\nf"}},
         "\"a b\",\"c  d\",\"e f\"\r\n"},
        {"FixedWidthBreaksInCellsBecomeBlanks",
         xtTXT,
         {},
         {"3", "3", "3"},
         -1,
         d,
         {{"a\tb", "c\rd", "e\nf"}},
         "a b c d e f\r\n"},
        {"Windows1252Bytes", xtTAB, {}, {}, -1, d, {{"ä", "ß", "€"}}, "\xE4\t\xDF\x09\x80\r\n"},
    };
}

class FormatTable : public ExportFixture, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(FormatTable, WritesTheExpectedBytes) {
    const FormatCase& c = GetParam();
    if (!c.rows.empty())
        setRows(c.rows);
    grid.setColumnHidden(c.hiddenColumn, c.hiddenColumn >= 0);
    exporter->ExportType = c.type;
    exporter->Options = c.options;
    exporter->ColumnWidths = c.widths;
    exporter->setRowNumberFormat(c.rowNumberFormat);
    const QString target = c.type == xtCSV ? path("out.CSV") : path("out.TXT");
    exporter->FileName = path("out.txt");
    exporter->RunExport();
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(bytes(target).toStdString(), c.expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatTable, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// A text column is as wide as the longest text its field holds, so every
// data row lines up, and xoTruncate cuts what is longer.
TEST_F(ExportFixture, FixedWidthTextColumnsAreAsWideAsTheirField) {
    setRows({{"Müller", "12,50", "Wien"},
             {"", "", "Graz"},
             {"Donaudampfschiff", "-3", "Sankt Pölten"}});
    model.setHeaderData(0, Qt::Horizontal, static_cast<int>(FeldArt::Text), FeldArtRolle);
    model.setHeaderData(0, Qt::Horizontal, 8, FeldBreiteRolle);
    model.setHeaderData(1, Qt::Horizontal, static_cast<int>(FeldArt::Waehrung), FeldArtRolle);
    model.setHeaderData(2, Qt::Horizontal, static_cast<int>(FeldArt::Text), FeldArtRolle);
    model.setHeaderData(2, Qt::Horizontal, 6, FeldBreiteRolle);
    exporter->ExportType = xtTXT;
    exporter->Options = {xoShowHeader, xoUseAlignments, xoTruncate};
    const auto blanks = [](int n) { return QByteArray(n, ' '); };
    // widths 8, 15 (an amount) and 6; left, right and centred
    EXPECT_EQ(run().toStdString(),
              ("Name" + blanks(14) + "Betrag" + "  Ort  \r\n" + "M\xFCller" + blanks(13) + "12,50" +
               "  Wien \r\n" + blanks(26) + "Graz \r\n" + "Donau..." + blanks(14) + "-3 San...\r\n")
                  .toStdString());
}

TEST(QuoteText, DoublesQuotesAndEnclosesOnBlankOrComma) {
    const struct {
        const char* text;
        bool always;
        const char* expected;
    } table[] = {
        {"plain", false, "plain"},
        {"plain", true, "\"plain\""},
        {"a b", false, "\"a b\""},
        {"1,5", false, "\"1,5\""},
        {"say \"hi\"", false, "\"say \"\"hi\"\"\""},
        {"x\"y", false, "x\"\"y"},
        {"", false, ""},
        {"", true, "\"\""},
    };
    for (const auto& row : table)
        EXPECT_EQ(QuoteText(QString::fromUtf8(row.text), row.always),
                  QString::fromUtf8(row.expected))
            << row.text;
}

TEST(CsvExcel, QuotesOnlySemicolonQuoteAndLineBreak) {
    const struct {
        const char* text;
        const char* expected;
    } table[] = {
        {"a b, c", "a b, c"},
        {"1,5", "1,5"},
        {"a;b", "\"a;b\""},
        {"x\"y", "\"x\"\"y\""},
        {"Zeile\r\nzwei", "\"Zeile\r\nzwei\""},
        {"eins\nzwei", "\"eins\nzwei\""},
        {"", ""},
    };
    for (const auto& row : table)
        EXPECT_EQ(CsvExcelFormat::quoted(QString::fromUtf8(row.text)),
                  QString::fromUtf8(row.expected))
            << row.text;
}

TEST(Windows1252, MapsTheCodePageAndCountsWhatItCannotHold) {
    const Encoded1252 e = toWindows1252(QStringLiteral("Aä€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ\u00A0ÿ"));
    EXPECT_EQ(e.bytes, QByteArray("A\xE4\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91"
                                  "\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F\xA0\xFF"));
    EXPECT_EQ(e.replaced, 0);
    // an arrow, a C1 control, a Cyrillic letter and an emoji outside the BMP
    const Encoded1252 bad = toWindows1252(QStringLiteral("→\u0081ж😀x"));
    EXPECT_EQ(bad.bytes, QByteArray("????x"));
    EXPECT_EQ(bad.replaced, 4);
}

} // namespace
