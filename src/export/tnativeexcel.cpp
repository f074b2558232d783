#include "export/tnativeexcel.h"

#include "export/windows1252.h"
#include "platform/atomicfile.h"

#include <QDateTime>
#include <QLocale>
#include <cstring>

namespace {

constexpr int LastRow = 65535;
constexpr int LastColumn = 256;
constexpr int MaxText = 255;

QByteArray shortText(const QString& text, int* replaced = nullptr) {
    Encoded1252 encoded = toWindows1252(text.left(MaxText));
    if (replaced)
        *replaced += encoded.replaced;
    return encoded.bytes.left(MaxText);
}

} // namespace

TNativeExcel::TNativeExcel() {
    BeginFile();
}

void TNativeExcel::put16(quint16 v) {
    put8(static_cast<quint8>(v & 0xFF));
    put8(static_cast<quint8>(v >> 8));
}

void TNativeExcel::putDouble(double v) {
    quint64 bits = 0;
    static_assert(sizeof bits == sizeof v);
    std::memcpy(&bits, &v, sizeof v);
    for (int i = 0; i < 8; ++i)
        put8(static_cast<quint8>((bits >> (8 * i)) & 0xFF));
}

void TNativeExcel::BeginFile() {
    m_state = State::Open;
    m_fonts = 0;
    m_replaced = 0;
    m_stream.clear();
    if (m_biff == bvBIFF2) {
        record(0x0009, 4);
        put16(0x0200);
        put16(0x0010);
        record(0x0000, 8);
    } else {
        const quint16 id = m_biff == bvBIFF3 ? 0x0209 : m_biff == bvBIFF4 ? 0x0409 : 0x0809;
        record(id, 6);
        put16(0x0200);
        put16(0x0010);
        put16(0x0000);
        record(0x0200, 10);
    }
    put16(0);
    put16(LastRow);
    put16(0);
    put16(LastColumn);
    if (m_biff != bvBIFF2)
        put16(0);
}

void TNativeExcel::EndFile() {
    record(0x000A, 0);
    m_state = State::Closed;
}

void TNativeExcel::record(quint16 id, quint16 length) {
    // a record after the end of file starts a new one
    if (m_state == State::Closed)
        BeginFile();
    put16(id);
    put16(length);
}

void TNativeExcel::cellHeader(quint16 id, quint16 length) {
    record(id, length);
    put16(static_cast<quint16>(m_row - 1));
    put16(static_cast<quint16>(m_column - 1));
    put8((Locked ? 0x40 : 0) | (Hidden ? 0x80 : 0));
    put8(static_cast<quint8>(m_activeFont << 6));
    static constexpr quint8 alignBits[] = {0, 1, 3, 2, 4, 7};
    quint8 b3 = alignBits[Alignment];
    if (Borders.contains(ebLeft))
        b3 |= 0x08;
    if (Borders.contains(ebRight))
        b3 |= 0x10;
    if (Borders.contains(ebTop))
        b3 |= 0x20;
    if (Borders.contains(ebBottom))
        b3 |= 0x40;
    if (Shading)
        b3 |= 0x80;
    put8(b3);
    moveCursor();
}

void TNativeExcel::moveCursor() {
    switch (MoveAfterEnter) {
    case maNone:
        break;
    case maRight:
        if (m_column < LastColumn) {
            ++m_column;
        } else if (m_row < LastRow) {
            m_column = 1;
            ++m_row;
        }
        break;
    case maDown:
        if (m_row < LastRow) {
            ++m_row;
        } else if (m_column < LastColumn) {
            m_row = 1;
            ++m_column;
        }
        break;
    case maLeft:
        if (m_column > 1) {
            --m_column;
        } else if (m_row > 1) {
            m_column = LastColumn;
            --m_row;
        }
        break;
    case maUp:
        if (m_row > 1) {
            --m_row;
        } else if (m_column >= 2) {
            m_row = LastRow;
            --m_column;
        }
        break;
    }
}

void TNativeExcel::WriteBlank() {
    cellHeader(0x0001, 7);
}

void TNativeExcel::WriteInteger(qint64 value) {
    // the integer record holds only 0 … 65535
    if (value < 0 || value > 0xFFFF) {
        WriteNumber(static_cast<double>(value));
        return;
    }
    cellHeader(0x0002, 9);
    put16(static_cast<quint16>(value));
}

void TNativeExcel::WriteNumber(double value) {
    cellHeader(0x0003, 15);
    putDouble(value);
}

void TNativeExcel::WriteLabel(const QString& text) {
    const QByteArray bytes = shortText(text, &m_replaced);
    cellHeader(0x0004, static_cast<quint16>(8 + bytes.size()));
    put8(static_cast<quint8>(bytes.size()));
    m_stream.append(bytes);
}

void TNativeExcel::WriteBoolErr(int kind) {
    static constexpr quint8 values[] = {1, 0, 0x00, 0x07, 0x0F, 0x17, 0x1D, 0x24, 0x2A};
    if (kind < 0 || kind > 8)
        return;
    cellHeader(0x0005, 9);
    put8(values[kind]);
    put8(kind >= 2 ? 1 : 0);
}

void TNativeExcel::WriteValue(const QVariant& value) {
    if (!value.isValid()) {
        WriteBlank();
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Nullptr:
        WriteBoolErr(2);
        break;
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::UChar:
    case QMetaType::Char:
    case QMetaType::SChar:
        WriteInteger(value.toInt());
        break;
    case QMetaType::Float:
    case QMetaType::Double:
        WriteNumber(value.toDouble());
        break;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        WriteLabel(QLocale::system().toString(value.toDateTime(), QLocale::ShortFormat));
        break;
    case QMetaType::QString:
        WriteLabel(value.toString());
        break;
    case QMetaType::Bool:
        WriteBoolean(value.toBool());
        break;
    default:
        // other types have no cell; the cursor stays
        break;
    }
}

void TNativeExcel::WriteFont(const QFont* font) {
    if (!font || m_fonts >= 4)
        return;
    const QByteArray name = shortText(font->family());
    record(0x0031, static_cast<quint16>(5 + name.size()));
    put16(static_cast<quint16>(qRound(font->pointSizeF() * 20)));
    quint16 bits = 0;
    if (font->bold())
        bits |= 1;
    if (font->italic())
        bits |= 2;
    if (font->underline())
        bits |= 4;
    if (font->strikeOut())
        bits |= 8;
    put16(bits);
    put8(static_cast<quint8>(name.size()));
    m_stream.append(name);
    ++m_fonts;
}

void TNativeExcel::putShortText(const QString& text) {
    const QByteArray bytes = shortText(text);
    put8(static_cast<quint8>(bytes.size()));
    m_stream.append(bytes);
}

void TNativeExcel::WriteHeader(const QString& text) {
    record(0x0014, static_cast<quint16>(shortText(text).size() + 1));
    putShortText(text);
}

void TNativeExcel::WriteFooter(const QString& text) {
    record(0x0015, static_cast<quint16>(shortText(text).size() + 1));
    putShortText(text);
}

void TNativeExcel::WriteColumnWidth(int firstColumn, int lastColumn, int widthInCharacters) {
    record(0x0024, 4);
    put8(static_cast<quint8>(firstColumn - 1));
    put8(static_cast<quint8>(lastColumn - 1));
    put16(static_cast<quint16>(widthInCharacters * 256));
}

void TNativeExcel::WriteMargin(TMarginSide side, double inches) {
    static constexpr quint16 ids[] = {0x0026, 0x0027, 0x0028, 0x0029};
    record(ids[side], 8);
    putDouble(inches);
}

void TNativeExcel::WriteProtect(bool on) {
    record(0x0012, 2);
    put16(on ? 1 : 0);
}

void TNativeExcel::setActiveFont(int font) {
    if (font < 0 || font > 3 || (font > 0 && font >= m_fonts))
        return;
    m_activeFont = static_cast<quint8>(font);
}

void TNativeExcel::setBIFF(TBIFFVersion v) {
    if (v == m_biff)
        return;
    m_biff = v;
    BeginFile();
}

void TNativeExcel::setFileName(const QString& name) {
    const qsizetype slash = qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf('\\'));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString ext = dot > slash ? name.mid(dot) : QString();
    if (ext.compare(QLatin1String(".xls"), Qt::CaseInsensitive) == 0)
        m_fileName = name;
    else
        m_fileName = (dot > slash ? name.left(dot) : name) + QStringLiteral(".XLS");
}

void TNativeExcel::setRow(int row) {
    if (row >= 1 && row <= LastRow)
        m_row = row;
}

void TNativeExcel::setColumn(int column) {
    if (column >= 1 && column <= LastColumn)
        m_column = column;
}

void TNativeExcel::SaveFile() {
    AtomicFile file;
    if (!file.open(m_fileName) || !file.write(m_stream) || !file.commit())
        throw ExcelSaveError(file.cause().toStdString());
}
