#include "data/texte.h"

namespace texte {

namespace {

bool paarAb(const QString& text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
}

} // namespace

int zeichenAnzahl(const QString& text) {
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++n)
        i += paarAb(text, i) ? 2 : 1;
    return n;
}

QString ersteZeichen(const QString& text, int n) {
    qsizetype i = 0;
    for (int gezaehlt = 0; i < text.size() && gezaehlt < n; ++gezaehlt)
        i += paarAb(text, i) ? 2 : 1;
    return text.left(i);
}

QString einzeilig(const QString& text) {
    // most texts need nothing: those are handed on without a copy
    bool aendern = false;
    for (qsizetype i = 0; i < text.size() && !aendern; ++i) {
        const QChar c = text[i];
        if (paarAb(text, i))
            ++i;
        else
            aendern = c.isSurrogate() || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
                      c == QLatin1Char('\n');
    }
    if (!aendern)
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (paarAb(text, i)) {
            out += c;
            out += text[++i];
        } else if (c.isSurrogate()) {
            out += QChar(QChar::ReplacementCharacter);
        } else if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            out += QLatin1Char(' ');
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace texte
