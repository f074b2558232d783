#pragma once

#include "export/exporttypes.h"

#include <QByteArray>
#include <QFont>
#include <QString>
#include <QVariant>
#include <stdexcept>

enum TExcelAlignment { eaGeneral, eaLeft, eaRight, eaCenter, eaFill, eaMultiPlan };
enum TBIFFVersion { bvBIFF2, bvBIFF3, bvBIFF4, bvBIFF5 };
enum TExcelBorder { ebTop, ebBottom, ebLeft, ebRight };
using TExcelBorders = EnumSet<TExcelBorder>;
enum TMoveAfterEnter { maNone, maUp, maDown, maLeft, maRight };
enum TMarginSide { msLeft, msRight, msTop, msBottom };

// The file could not be saved; what() holds the reason for the user.
class ExcelSaveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Builds a one-sheet BIFF spreadsheet in memory, cell by cell at a moving
// cursor, and saves it in one step. Only the start-of-file and dimension
// records follow the chosen version; every other record has the BIFF2 layout.
class TNativeExcel {
public:
    TNativeExcel();
    virtual ~TNativeExcel() = default;

    virtual void BeginFile();
    virtual void EndFile();
    void Restart() { BeginFile(); }
    void CloseFile() { EndFile(); }
    // Writes the stream to FileName through a temporary file; throws
    // ExcelSaveError when that fails. The file is not closed by saving.
    void SaveFile();

    void WriteBlank();
    void WriteInteger(qint64 value);
    void WriteNumber(double value);
    void WriteLabel(const QString& text);
    // Kinds 0 true, 1 false, 2 to 8 the errors #NULL! … #N/A.
    void WriteBoolErr(int kind);
    void WriteBoolean(bool value) { WriteBoolErr(value ? 0 : 1); }
    void WriteValue(const QVariant& value);

    void WriteFont(const QFont* font);
    void WriteHeader(const QString& text);
    void WriteFooter(const QString& text);
    // Columns 1-based; the record holds them 0-based in a byte each.
    void WriteColumnWidth(int firstColumn, int lastColumn, int widthInCharacters);
    void WriteMargin(TMarginSide side, double inches);
    void WriteProtect(bool on);

    quint8 ActiveFont() const { return m_activeFont; }
    // Ignored beyond the fonts written so far (font 0 is always allowed).
    void setActiveFont(int font);
    TBIFFVersion BIFF() const { return m_biff; }
    void setBIFF(TBIFFVersion v);
    const QString& FileName() const { return m_fileName; }
    // The extension becomes ".XLS" unless it already is ".xls" in any case.
    void setFileName(const QString& name);
    int Row() const { return m_row; }
    void setRow(int row);
    int Column() const { return m_column; }
    void setColumn(int column);

    TExcelAlignment Alignment = eaGeneral;
    TExcelBorders Borders;
    TMoveAfterEnter MoveAfterEnter = maRight;
    bool Shading = false;
    bool Hidden = false;
    bool Locked = true;
    static QString Version() { return QStringLiteral("1.0"); }

    const QByteArray& stream() const { return m_stream; }
    int fontsWritten() const { return m_fonts; }
    // Characters of text cells written as "?" since BeginFile, as
    // Windows-1252 cannot hold them.
    int replacedCharacters() const { return m_replaced; }

private:
    enum class State { New, Open, Closed };
    void record(quint16 id, quint16 length);
    void cellHeader(quint16 id, quint16 length);
    void moveCursor();
    void put16(quint16 v);
    void put8(quint8 v) { m_stream.append(static_cast<char>(v)); }
    void putDouble(double v);
    void putShortText(const QString& text);

    QByteArray m_stream;
    State m_state = State::New;
    int m_fonts = 0;
    int m_replaced = 0;
    quint8 m_activeFont = 0;
    TBIFFVersion m_biff = bvBIFF5;
    QString m_fileName;
    int m_row = 1;
    int m_column = 1;
};
