#include "export/tnativeexcel.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

// The bytes after the start-of-file and dimension records of a BIFF2 writer.
QByteArray afterPrologue(const TNativeExcel& x) {
    return x.stream().mid(20);
}

TEST(TNativeExcel, FreshFileHoldsStartDimensionsAndEnd) {
    TNativeExcel x;
    x.setBIFF(bvBIFF2);
    x.CloseFile();
    EXPECT_EQ(x.stream(), hex("0900 0400 0002 1000"
                              "0000 0800 0000 ffff 0000 0001"
                              "0a00 0000"));
    EXPECT_EQ(x.stream().size(), 24);

    const struct {
        TBIFFVersion v;
        const char* bof;
    } versions[] = {{bvBIFF3, "0902"}, {bvBIFF4, "0904"}, {bvBIFF5, "0908"}};
    for (const auto& v : versions) {
        TNativeExcel y;
        y.setBIFF(bvBIFF2);
        y.setBIFF(v.v);
        y.CloseFile();
        EXPECT_EQ(y.stream(), hex(v.bof) + hex("0600 0002 1000 0000"
                                               "0002 0a00 0000 ffff 0000 0001 0000"
                                               "0a00 0000"));
        EXPECT_EQ(y.stream().size(), 28);
    }
    // the default version is BIFF5
    TNativeExcel z;
    z.CloseFile();
    EXPECT_EQ(z.stream().size(), 28);
}

TEST(TNativeExcel, SavesAndReopensAfterTheEnd) {
    QTemporaryDir dir;
    TNativeExcel x;
    x.setFileName(dir.filePath("a.xls"));
    x.setBIFF(bvBIFF2);
    x.CloseFile();
    x.SaveFile();
    QFile f(dir.filePath("a.xls"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().size(), 24);
    // a record after the end starts a new file
    x.WriteBlank();
    EXPECT_EQ(x.stream().size(), 20 + 11);

    x.setFileName(dir.filePath("fehlt/b.xls"));
    EXPECT_THROW(x.SaveFile(), ExcelSaveError);
}

TEST(TNativeExcel, CellRecordsWithAttributeBytes) {
    TNativeExcel x;
    x.setBIFF(bvBIFF2);
    QFont a(QStringLiteral("Arial"));
    a.setPointSize(10);
    QFont b(QStringLiteral("Tahoma"));
    b.setPointSize(8);
    b.setBold(true);
    b.setItalic(true);
    x.WriteFont(&a);
    x.WriteFont(&b);
    x.setActiveFont(1);
    x.setRow(3);
    x.setColumn(2);
    x.Locked = false;
    x.Hidden = true;
    x.Shading = true;
    x.Alignment = eaRight;
    x.Borders = {ebLeft, ebBottom};
    x.WriteInteger(513);
    x.Locked = true;
    x.Hidden = false;
    x.Shading = false;
    x.Borders = {};
    x.Alignment = eaCenter;
    x.WriteNumber(12.5);
    x.Alignment = eaGeneral;
    x.WriteLabel(QStringLiteral("Fuß"));
    x.WriteBoolean(true);
    x.WriteBoolErr(3);
    x.WriteBlank();
    EXPECT_EQ(afterPrologue(x),
              hex("3100 0a00 c800 0000 05 417269616c"             // Arial 10 pt
                  "3100 0b00 a000 0300 06 5461686f6d61"           // Tahoma 8 pt bold italic
                  "0200 0900 0200 0100 80 40 cb 0102"             // integer 513 at B3
                  "0300 0f00 0200 0200 40 40 02 0000000000002940" // 12.5 at C3
                  "0400 0b00 0200 0300 40 40 00 03 4675df"        // "Fuß" in Windows-1252
                  "0500 0900 0200 0400 40 40 00 01 00"            // true
                  "0500 0900 0200 0500 40 40 00 07 01"            // #DIV/0!
                  "0100 0700 0200 0600 40 40 00"));               // blank
}

TEST(TNativeExcel, IntegersBeyondTheRecordBecomeNumbers) {
    TNativeExcel x;
    x.setBIFF(bvBIFF2);
    x.MoveAfterEnter = maNone;
    x.WriteInteger(65535);
    x.WriteInteger(65536);
    x.WriteInteger(-1);
    EXPECT_EQ(afterPrologue(x), hex("0200 0900 0000 0000 40 00 00 ffff"
                                    "0300 0f00 0000 0000 40 00 00 00000000 0000f040"
                                    "0300 0f00 0000 0000 40 00 00 00000000 0000f0bf"));
}

TEST(TNativeExcel, LongTextsAreCutTo255) {
    TNativeExcel x;
    x.setBIFF(bvBIFF2);
    x.WriteLabel(QString(300, QLatin1Char('x')));
    x.WriteHeader(QString(300, QLatin1Char('k')));
    const QByteArray s = afterPrologue(x);
    ASSERT_EQ(s.size(), 4 + 263 + 4 + 256);
    EXPECT_EQ(s.left(4), hex("0400 0701")); // length 8 + 255
    EXPECT_EQ(static_cast<quint8>(s[11]), 255);
    EXPECT_EQ(s.mid(12, 255), QByteArray(255, 'x'));
    EXPECT_EQ(s.mid(267, 5), hex("1400 0001 ff"));
}

TEST(TNativeExcel, CursorMovesAndWraps) {
    const struct {
        TMoveAfterEnter move;
        int row, column;         // before
        int nextRow, nextColumn; // after one cell
    } table[] = {
        {maNone, 5, 5, 5, 5},
        {maRight, 1, 255, 1, 256},
        {maRight, 1, 256, 2, 1},
        {maRight, 65535, 256, 65535, 256},
        {maDown, 65534, 3, 65535, 3},
        {maDown, 65535, 3, 1, 4},
        {maDown, 65535, 256, 65535, 256},
        {maLeft, 4, 2, 4, 1},
        {maLeft, 4, 1, 3, 256},
        {maLeft, 1, 1, 1, 1},
        {maUp, 2, 7, 1, 7},
        {maUp, 1, 7, 65535, 6},
        {maUp, 1, 1, 1, 1},
    };
    for (const auto& c : table) {
        TNativeExcel x;
        x.MoveAfterEnter = c.move;
        x.setRow(c.row);
        x.setColumn(c.column);
        x.WriteBlank();
        EXPECT_EQ(x.Row(), c.nextRow) << c.move << " " << c.row << "/" << c.column;
        EXPECT_EQ(x.Column(), c.nextColumn) << c.move << " " << c.row << "/" << c.column;
    }
    // the cell written at column 256 lands in the last column
    TNativeExcel x;
    x.setBIFF(bvBIFF2);
    x.setColumn(256);
    x.WriteBlank();
    EXPECT_EQ(afterPrologue(x).mid(4, 4), hex("0000 ff00"));
}

TEST(TNativeExcel, OutOfRangeSettingsAreIgnored) {
    TNativeExcel x;
    x.setRow(0);
    x.setRow(65536);
    x.setColumn(0);
    x.setColumn(257);
    EXPECT_EQ(x.Row(), 1);
    EXPECT_EQ(x.Column(), 1);

    QFont f(QStringLiteral("Arial"));
    x.WriteFont(&f);
    x.WriteFont(&f);
    x.setActiveFont(3);
    EXPECT_EQ(x.ActiveFont(), 0);
    x.setActiveFont(2); // only fonts 0 and 1 exist
    EXPECT_EQ(x.ActiveFont(), 0);
    x.setActiveFont(1);
    EXPECT_EQ(x.ActiveFont(), 1);
    x.WriteFont(nullptr);
    x.WriteFont(&f);
    x.WriteFont(&f);
    const qsizetype size = x.stream().size();
    x.WriteFont(&f); // a fifth font
    EXPECT_EQ(x.stream().size(), size);
    EXPECT_EQ(x.fontsWritten(), 4);
    x.setActiveFont(3);
    EXPECT_EQ(x.ActiveFont(), 3);
    // a new file starts counting again
    x.Restart();
    EXPECT_EQ(x.fontsWritten(), 0);
}

TEST(TNativeExcel, FileNameGetsTheXlsExtension) {
    const struct {
        const char* given;
        const char* expected;
    } table[] = {
        {"/tmp/a.xls", "/tmp/a.xls"},     {"/tmp/a.XlS", "/tmp/a.XlS"},
        {"/tmp/a.txt", "/tmp/a.XLS"},     {"/tmp/a", "/tmp/a.XLS"},
        {"/tmp/v.1/a", "/tmp/v.1/a.XLS"}, {"/tmp/a.b.txt", "/tmp/a.b.XLS"},
    };
    TNativeExcel x;
    for (const auto& c : table) {
        x.setFileName(QString::fromUtf8(c.given));
        EXPECT_EQ(x.FileName(), QString::fromUtf8(c.expected));
    }
}

TEST(TNativeExcel, ValuesByTheirType) {
    TNativeExcel x;
    x.setBIFF(bvBIFF2);
    x.MoveAfterEnter = maNone;
    x.WriteValue(QVariant());
    x.WriteValue(QVariant::fromValue(nullptr));
    x.WriteValue(QVariant(7));
    x.WriteValue(QVariant(0.5));
    x.WriteValue(QVariant(QStringLiteral("a")));
    x.WriteValue(QVariant(false));
    const qsizetype size = x.stream().size();
    x.WriteValue(QVariant(qlonglong(7))); // no cell for 64-bit integers
    x.WriteValue(QVariant(QByteArray("b")));
    EXPECT_EQ(x.stream().size(), size);
    EXPECT_EQ(afterPrologue(x), hex("0100 0700 0000 0000 400000"
                                    "0500 0900 0000 0000 400000 00 01"
                                    "0200 0900 0000 0000 400000 0700"
                                    "0300 0f00 0000 0000 400000 000000000000e03f"
                                    "0400 0900 0000 0000 400000 01 61"
                                    "0500 0900 0000 0000 400000 00 00"));
}

} // namespace
