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

// [name] and iif, at every level.
QString ausdruecke(const QString& text) {
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
                static const QRegularExpression einfach(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
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
                           .arg(ausdruecke(a[0]).trimmed(), ausdruecke(a[1]).trimmed(),
                                ausdruecke(a[2]).trimmed());
                i = ende;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

// Splits s[von, bis) at its own level's commas.
QList<std::pair<qsizetype, qsizetype>> teile(const QString& s, qsizetype von, qsizetype bis) {
    QList<std::pair<qsizetype, qsizetype>> out;
    int tiefe = 0;
    qsizetype start = von;
    for (qsizetype i = von; i < bis; ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            i = ueberQuote(s, i) - 1;
            continue;
        }
        if (c == QLatin1Char('('))
            ++tiefe;
        else if (c == QLatin1Char(')'))
            --tiefe;
        else if (c == QLatin1Char(',') && tiefe == 0) {
            out.append({start, i});
            start = i + 1;
        }
    }
    out.append({start, bis});
    return out;
}

// Where the keyword wort starts at s's own level from von on, or -1.
qsizetype schluesselwort(const QString& s, qsizetype von, QLatin1String wort) {
    int tiefe = 0;
    for (qsizetype i = von; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            i = ueberQuote(s, i) - 1;
            continue;
        }
        if (c == QLatin1Char('('))
            ++tiefe;
        else if (c == QLatin1Char(')'))
            --tiefe;
        else if (tiefe == 0 && (i == 0 || !bezeichnerZeichen(s[i - 1])) &&
                 QStringView(s).mid(i, wort.size()).compare(wort, Qt::CaseInsensitive) == 0 &&
                 (i + wort.size() >= s.size() || !bezeichnerZeichen(s[i + wort.size()])))
            return i;
    }
    return -1;
}

// PostgreSQL names a result column in lower case unless it is quoted; the
// exports print the names as headers, so the outer select list names each
// plain column and alias in the statement's own spelling.
QString ergebnisnamen(const QString& s) {
    qsizetype anfang = 0;
    while (anfang < s.size() && s[anfang].isSpace())
        ++anfang;
    if (QStringView(s).mid(anfang, 6).compare(QLatin1String("select"), Qt::CaseInsensitive) != 0 ||
        (anfang + 6 < s.size() && bezeichnerZeichen(s[anfang + 6])))
        return s;
    qsizetype liste = anfang + 6;
    const qsizetype distinct = schluesselwort(s, liste, QLatin1String("distinct"));
    const qsizetype von = schluesselwort(s, liste, QLatin1String("from"));
    if (von < 0)
        return s;
    if (distinct >= 0 && distinct < von &&
        QStringView(s).mid(liste, distinct - liste).trimmed().isEmpty())
        liste = distinct + 8;
    static const QRegularExpression spalte(
        QStringLiteral("^\\s*(?:[A-Za-z_][A-Za-z0-9_]*\\.)?([A-Za-z_][A-Za-z0-9_]*)\\s*$"));
    static const QRegularExpression alias(
        QStringLiteral("\\s[Aa][Ss]\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*$"));
    QStringList neu;
    for (const auto& [a, b] : teile(s, liste, von)) {
        QString teil = s.mid(a, b - a);
        // the blanks after an item stay where they were, before FROM
        qsizetype ende = teil.size();
        while (ende > 0 && teil[ende - 1].isSpace())
            --ende;
        const QString rest = teil.mid(ende);
        teil.truncate(ende);
        if (const auto m = spalte.match(teil); m.hasMatch())
            teil += QStringLiteral(" AS \"%1\"").arg(m.captured(1));
        else if (const auto m2 = alias.match(teil); m2.hasMatch())
            teil = teil.left(m2.capturedStart(1)) + QLatin1Char('"') + m2.captured(1) +
                   QLatin1Char('"');
        neu << teil + rest;
    }
    const QString out = s.left(liste) + neu.join(QLatin1Char(','));
    return out + s.mid(von);
}

} // namespace

QString fuerPostgres(const QString& text) {
    return ergebnisnamen(ausdruecke(text));
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
