#include "data/sqldialekt.h"

#include <QRegularExpression>

namespace sqldialekt {

namespace {

bool bezeichnerZeichen(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// The end (exclusive) of a literal or quoted name that starts at i.
qsizetype ueberQuote(const QString& s, qsizetype i) {
    const QChar q = s[i];
    qsizetype j = i + 1;
    while (j < s.size()) {
        if (s[j] == q) {
            if (j + 1 < s.size() && s[j + 1] == q) {
                j += 2; // a doubled quote stands for itself
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return j;
}

bool istIif(const QString& s, qsizetype i, qsizetype* klammer) {
    if (i + 3 > s.size() || s.mid(i, 3).compare(QLatin1String("iif"), Qt::CaseInsensitive) != 0)
        return false;
    if (i > 0 && bezeichnerZeichen(s[i - 1]))
        return false;
    qsizetype j = i + 3;
    while (j < s.size() && s[j].isSpace())
        ++j;
    if (j >= s.size() || s[j] != QLatin1Char('('))
        return false;
    *klammer = j;
    return true;
}

// The arguments of a call whose "(" is at offen, split at the commas of its
// own level; ende gets the position after the ")".
QStringList argumente(const QString& s, qsizetype offen, qsizetype* ende) {
    QStringList args;
    int tiefe = 0;
    qsizetype start = offen + 1;
    qsizetype i = offen + 1;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            i = ueberQuote(s, i);
            continue;
        }
        if (c == QLatin1Char('(') || c == QLatin1Char('[')) {
            ++tiefe;
        } else if (c == QLatin1Char(']')) {
            --tiefe;
        } else if (c == QLatin1Char(')')) {
            if (tiefe == 0) {
                args << s.mid(start, i - start);
                *ende = i + 1;
                return args;
            }
            --tiefe;
        } else if (c == QLatin1Char(',') && tiefe == 0) {
            args << s.mid(start, i - start);
            start = i + 1;
        }
        ++i;
    }
    *ende = s.size();
    args << s.mid(start);
    return args;
}

} // namespace

QString fuerPostgres(const QString& text) {
    QString out;
    out.reserve(text.size() + 32);
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype e = ueberQuote(text, i);
            out += QStringView(text).mid(i, e - i);
            i = e;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < text.size() && text[i + 1] == QLatin1Char('-')) {
            const qsizetype e = text.indexOf(QLatin1Char('\n'), i);
            const qsizetype ende = e < 0 ? text.size() : e;
            out += QStringView(text).mid(i, ende - i);
            i = ende;
            continue;
        }
        if (c == QLatin1Char('[')) {
            const qsizetype e = text.indexOf(QLatin1Char(']'), i);
            if (e > i) {
                const QString name = text.mid(i + 1, e - i - 1);
                static const QRegularExpression einfach(
                    QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
                if (einfach.match(name).hasMatch())
                    out += name;
                else
                    out += QLatin1Char('"') + name.toLower() + QLatin1Char('"');
                i = e + 1;
                continue;
            }
        }
        qsizetype klammer = 0;
        if (istIif(text, i, &klammer)) {
            qsizetype ende = 0;
            const QStringList a = argumente(text, klammer, &ende);
            if (a.size() == 3) {
                out += QStringLiteral("(CASE WHEN %1 THEN %2 ELSE %3 END)")
                           .arg(fuerPostgres(a[0]).trimmed(), fuerPostgres(a[1]).trimmed(),
                                fuerPostgres(a[2]).trimmed());
                i = ende;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

QString spaltentypFuerPostgres(const QString& spalte, const QString& typ) {
    const QString t = typ.trimmed().toUpper();
    if (t == QLatin1String("INTEGER") || t == QLatin1String("INT")) {
        // whole rates as integers, 4,9 as 4.9: one column, both kinds of value
        if (spalte.compare(QLatin1String("Steuersatz"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("NUMERIC");
        return QStringLiteral("BIGINT");
    }
    if (t == QLatin1String("REAL"))
        return QStringLiteral("DOUBLE PRECISION");
    return typ.trimmed();
}

QString ddlFuerPostgres(const QString& ddl) {
    QString ohneKommentar;
    for (const QString& zeile : ddl.split(QLatin1Char('\n'))) {
        // "--" inside a literal does not occur in the template's definitions
        const qsizetype k = zeile.indexOf(QLatin1String("--"));
        ohneKommentar += (k >= 0 ? zeile.left(k) : zeile) + QLatin1Char('\n');
    }
    QString s = fuerPostgres(ohneKommentar).trimmed();
    if (s.contains(QLatin1String("typeof("), Qt::CaseInsensitive))
        return QString();
    // a column definition: a name followed by the template's type
    static const QRegularExpression spalte(
        QStringLiteral("([A-Za-z_][A-Za-z0-9_]*)(\\s+)(INTEGER|INT|REAL)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype pos = 0;
    auto it = spalte.globalMatch(s);
    while (it.hasNext()) {
        const auto m = it.next();
        // "CREATE TABLE" and "ADD COLUMN" are not column names
        out += QStringView(s).mid(pos, m.capturedStart() - pos);
        out += m.captured(1) + m.captured(2) + spaltentypFuerPostgres(m.captured(1), m.captured(3));
        pos = m.capturedEnd();
    }
    out += QStringView(s).mid(pos);
    return out;
}

} // namespace sqldialekt
