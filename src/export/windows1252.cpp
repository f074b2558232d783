#include "export/windows1252.h"

#include <QList>
#include <QStringView>
#include <array>

namespace {

// The code page's 0x80..0x9F; 0 where it holds no character.
constexpr std::array<char32_t, 32> Block80 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

int byteFor(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (size_t i = 0; i < Block80.size(); ++i) {
        if (Block80[i] != 0 && Block80[i] == c)
            return 0x80 + static_cast<int>(i);
    }
    return -1;
}

} // namespace

Encoded1252 toWindows1252(const QString& text) {
    Encoded1252 out;
    out.bytes.reserve(text.size());
    // a whole export passes here: Latin-1 goes straight through, the rest is
    // read as code points
    qsizetype i = 0;
    const qsizetype n = text.size();
    const QChar* z = text.constData();
    while (i < n && (z[i].unicode() < 0x80 || (z[i].unicode() >= 0xA0 && z[i].unicode() <= 0xFF)))
        ++i;
    if (i == n) {
        out.bytes.resize(n);
        char* b = out.bytes.data();
        for (qsizetype k = 0; k < n; ++k)
            b[k] = static_cast<char>(z[k].unicode());
        return out;
    }
    for (const char32_t c : QStringView(text).toUcs4()) {
        const int b = byteFor(c);
        if (b < 0) {
            out.bytes.append('?');
            ++out.replaced;
        } else {
            out.bytes.append(static_cast<char>(b));
        }
    }
    return out;
}
