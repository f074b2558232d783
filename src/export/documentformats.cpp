#include "export/documentformats.h"

#include "data/texte.h"
#include "export/windows1252.h"

namespace {

QStringList splitRow(const QString& row) {
    return row.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool in1252(QChar c) {
    return toWindows1252(QString(c)).replaced == 0;
}

QString alignment(const CellInfo& info, bool use, const char* left, const char* right,
                  const char* centre) {
    if (!use)
        return QString();
    switch (info.alignment) {
    case 1:
        return QLatin1String(left);
    case 2:
        return QLatin1String(right);
    case 3:
        return QLatin1String(centre);
    default:
        return QString();
    }
}

} // namespace

QString htmlEscape(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('&'))
            out += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<'))
            out += QStringLiteral("&lt;");
        else if (c == QLatin1Char('>'))
            out += QStringLiteral("&gt;");
        else if (c == QLatin1Char('"'))
            out += QStringLiteral("&quot;");
        else if (c.unicode() > 127 && !c.isSurrogate() && !in1252(c))
            out += QStringLiteral("&#%1;").arg(c.unicode());
        else
            out += c;
    }
    // a character beyond the basic plane as one reference
    QString merged;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out[i].isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate()) {
            merged += QStringLiteral("&#%1;").arg(QChar::surrogateToUcs4(out[i], out[i + 1]));
            ++i;
        } else {
            merged += out[i];
        }
    }
    return merged;
}

QString rtfEscape(const QString& text) {
    QString out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += QLatin1Char('\\');
            out += c;
        } else if (u < 128) {
            out += c;
        } else if (in1252(c)) {
            const auto byte = static_cast<unsigned char>(toWindows1252(QString(c)).bytes[0]);
            out += QStringLiteral("\\'%1").arg(byte, 2, 16, QLatin1Char('0'));
        } else {
            out += QStringLiteral("\\u%1?").arg(static_cast<qint16>(u));
        }
    }
    return out;
}

// --- HTML ---

QString HtmlFormat::extension() const {
    return ctx.html && ctx.html->Extension == exHTM ? QStringLiteral("HTM")
                                                    : QStringLiteral("HTML");
}

QString HtmlFormat::color(int role) const {
    return htmlColorText(ctx.html->HTMLColor(role));
}

void HtmlFormat::preamble(QStringList& out) {
    const THTMLOptions& h = *ctx.html;
    out << QStringLiteral("<!-- THIS FILE WAS CREATED BY QUILLON EXPORT COMPONENTS FOR ORVANE -->")
        << QStringLiteral("<!-- DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 TRANSITIONAL//EN\" -->")
        << QStringLiteral("<HTML>") << QStringLiteral(" <HEAD>")
        << QStringLiteral("  <META HTTP - EQUIV = \"Content - Type\" CONTENT = \"TEXT/HTML\">")
        << QStringLiteral("  <META NAME = \"GENERATOR\" CONTENT = \"Quillon Export Components for "
                          "Orvane\" >")
        << QStringLiteral("  <META NAME = \"Author\" CONTENT = \"Quillon\" >")
        << QStringLiteral(
               "  <META NAME = \"Description\" CONTENT = \"Quillon Export Components\" >");
    if (h.Options.contains(hoDisplayTitle))
        out << QStringLiteral("  <TITLE>%1</TITLE>").arg(htmlEscape(h.Title));
    out << QStringLiteral(" </HEAD>")
        << QStringLiteral(
               " <BODY BGCOLOR=\"%1\" LINK=\"%2\" ALINK=\"%3\" VLINK=\"%4\" TEXT=\"%5\">")
               .arg(color(1), color(2), color(0), color(4), color(3))
        << QStringLiteral(" <FONT COLOR=\"%1\" FACE=\"%2\">").arg(color(3), h.HTMLFontFace(0));
}

void HtmlFormat::headerLines(QStringList& out, const QStringList& lines, const QString& separator) {
    out << lines;
    if (!separator.isEmpty())
        out << separator;
}

QString HtmlFormat::separatorLine(int) const {
    return QStringLiteral("  <HR>");
}

QString HtmlFormat::rowNumberCell(const QString& n, int) const {
    return QStringLiteral("    <TD ALIGN=\"Right\">%1</TD>").arg(htmlEscape(n));
}

QString HtmlFormat::captionRowPrefix(int) const {
    return QStringLiteral("    <TD>&nbsp;</TD>\n");
}

QString HtmlFormat::cell(const QString& text, const CellInfo& info, bool useAlignments) {
    const THTMLOptions& h = *ctx.html;
    const QString a = alignment(info, useAlignments, " ALIGN=\"Left\" ", " ALIGN=\"Right\" ",
                                " ALIGN=\"Center\" ");
    QString w;
    if (info.column < ctx.columnWidths.size())
        w = QStringLiteral(" WIDTH=\"%1\"").arg(htmlEscape(ctx.columnWidths[info.column]));
    const QString line = texte::einzeilig(text);
    QString c = htmlEscape(line);
    if (h.Options.contains(hoAutoLink) && !info.value.isNull()) {
        static const char* const schemes[] = {
            "http:", "https:", "ftp:", "news:", "nntp:", "mailto:"};
        for (const char* scheme : schemes) {
            if (line.contains(QLatin1String(scheme))) {
                c = QStringLiteral("<A HREF=\"%1\">%2</A>")
                        .arg(htmlEscape(line), htmlEscape(texte::einzeilig(info.value.toString())));
                break;
            }
        }
    }
    if (c.isEmpty())
        c = QStringLiteral("&nbsp;");
    if (!info.captionRow)
        return QStringLiteral("    <TD%1%2><small>%3</small></TD>").arg(w, a, c);
    if (h.Options.contains(hoBoldHeaders))
        return QStringLiteral("    <TD%1%2><B><FONT COLOR=\"%3\"><small>%4</small></FONT></B></TD>")
            .arg(w, a, color(6), c);
    return QStringLiteral("    <TD%1%2><FONT COLOR=\"%3\"><small>%4</small></FONT></TD>")
        .arg(w, a, color(6), c);
}

void HtmlFormat::tableStart(QStringList& out) {
    m_tableStarted = true;
    const bool grid = ctx.html->Options.contains(hoShowGridLines);
    out << QStringLiteral("  <TABLE WIDTH=\"100%\" CELLPADDING=\"4\" CELLSPACING=\"0\"%1 "
                          "BGCOLOR=\"%2\">")
               .arg(grid ? QStringLiteral(" BORDER=\"1\"") : QString(), color(7))
        << QStringLiteral("  <FONT COLOR=\"%1\" FACE=\"%2\">")
               .arg(color(9), ctx.html->HTMLFontFace(1))
        << QStringLiteral("   <TR BGCOLOR=\"%1\">").arg(color(5));
}

void HtmlFormat::rowLines(QStringList& out, const QString& row, bool captionRow) {
    if (!m_tableStarted)
        tableStart(out);
    if (!captionRow) {
        const bool odd = ctx.html->Options.contains(hoOddRowColoring) && ctx.processed &&
                         ctx.processed() % 2 == 1;
        out << (odd ? QStringLiteral("   <TR BGCOLOR=\"%1\">").arg(color(8))
                    : QStringLiteral("   <TR>"));
    }
    out << splitRow(row) << QStringLiteral("   </TR>");
}

void HtmlFormat::postamble(QStringList& out) {
    // a table without caption row and without rows is still opened
    if (!m_tableStarted) {
        tableStart(out);
        out << QStringLiteral("   </TR>");
    }
    out << QStringLiteral("  </FONT>") << QStringLiteral("  </TABLE>");
}

TextFileResult HtmlFormat::finish(const QString& target, const QStringList& lines,
                                  const ExportSinks&) {
    QStringList all = lines;
    all << QStringLiteral(" </FONT>") << QStringLiteral(" </BODY>") << QStringLiteral("</HTML>");
    return writeTextFile(target, all);
}

// --- Word and RTF ---

QString RtfFormat::extension() const {
    return m_type == xtWord ? QStringLiteral("DOC") : QStringLiteral("RTF");
}

QString RtfFormat::filterDescription(const TDocumentFilter& f) const {
    return m_type == xtWord ? f.Word : f.RTF;
}

int RtfFormat::cellEdge(int k, int cellWidth) {
    const qint64 num = static_cast<qint64>(k * 100 + 100) * cellWidth;
    const qint64 den = 96;
    qint64 q = num / den;
    const qint64 r = num % den;
    if (2 * r > den || (2 * r == den && q % 2 == 1))
        ++q;
    return static_cast<int>(q);
}

void RtfFormat::preamble(QStringList& out) {
    const TRTFOptions& r = *ctx.rtf;
    const TRTFColors& s = r.CustomSettings;
    out << QStringLiteral("{\\rtf1\\ansi\\deff0\\deftab720\r\n") << QStringLiteral("{\\fonttbl")
        << RTFFontEntry(0, s.DefaultFont.font) << RTFFontEntry(1, s.HeaderFont.font)
        << RTFFontEntry(2, s.TableFont.font) + QStringLiteral("}\r\n");
    QString colors = QStringLiteral("{\\colortbl");
    for (int role : {0, 1, 2, 4, 3, 5})
        colors += RTFColor(r.RTFColorRole(role));
    out << colors + QStringLiteral("}\r\n");
    out << QStringLiteral("\\margl%1\\margr%2\\margt%3\\margb%4")
               .arg(r.LeftMargin)
               .arg(r.RightMargin)
               .arg(r.TopMargin)
               .arg(r.BottomMargin);
}

QString RtfFormat::paragraph(const QString& line) const {
    return QStringLiteral("\\par \\pard\\plain\\f0%1\\cf0 %2\r\n")
        .arg(RTFFontAttributes(ctx.rtf->CustomSettings.DefaultFont.font), rtfEscape(line));
}

void RtfFormat::headerLines(QStringList& out, const QStringList& lines, const QString&) {
    for (const QString& line : lines)
        out << paragraph(line);
    out << QStringLiteral("\\par \\pard\\plain\\cgrid\r\n")
        << QStringLiteral("{\\stylesheet{\\nowidctlpar\\widctlpar\\adjustright \\fs20\\cgrid "
                          "\\snext0 Normal;}\r\n")
        << QStringLiteral("{\\*\\cs10 \\additive Default Paragraph Font;}}\r\n")
        << QStringLiteral("{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang{\\pntxta.}}\r\n")
        << QStringLiteral(
               "{\\*\\pnseclvl2\\pnucltr\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}\r\n")
        << QStringLiteral("{\\*\\pnseclvl3\\pndec\\pnstart1\\pnindent720\\pnhang{\\pntxta.}}\r\n")
        << QStringLiteral("{\\*\\pnseclvl4\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxta)}}\r\n")
        << QStringLiteral("{\\*\\pnseclvl5\\pndec\\pnstart1\\pnindent720\\pnhang{\\pntxtb "
                          "(}{\\pntxta)}}\r\n")
        << QStringLiteral("{\\*\\pnseclvl6\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxtb "
                          "(}{\\pntxta )}}\r\n")
        << QStringLiteral("{\\*\\pnseclvl7\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb "
                          "(}{\\pntxta)}}\r\n")
        << QStringLiteral("{\\*\\pnseclvl8\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxtb "
                          "(}{\\pntxta)}}\r\n")
        << QStringLiteral("{\\*\\pnseclvl9\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb "
                          "(}{\\pntxta )}}\r\n");
}

QString RtfFormat::rowNumberCell(const QString& n, int) const {
    return rtfEscape(n) + QStringLiteral("\\cell ");
}

QString RtfFormat::captionRowPrefix(int) const {
    return QStringLiteral(" \\cell ");
}

QString RtfFormat::cell(const QString& text, const CellInfo& info, bool useAlignments) {
    return alignment(info, useAlignments, "\\ql ", "\\qr ", "\\qc ") +
           rtfEscape(texte::einzeilig(text)) + QStringLiteral("\\cell ");
}

QString RtfFormat::rowDefinition(bool captionRow) const {
    const TRTFOptions& r = *ctx.rtf;
    const int n = ctx.columnCount + (ctx.options.contains(xoRowNumbers) ? 1 : 0);
    const bool odd = !captionRow && r.Options.contains(roOddRowColoring) && ctx.processed &&
                     ctx.processed() % 2 == 1;
    const QString background = captionRow ? QStringLiteral(" \\clcbpat3")
                               : odd      ? QStringLiteral(" \\clcbpat5")
                                          : QStringLiteral(" \\clcbpat4");
    QString out = QStringLiteral("\\trowd\\trgaph108\\trrh260\\trleft0");
    for (int k = 0; k < n; ++k) {
        out += QStringLiteral("\\clvertalc");
        if (r.Options.contains(roShowGridLines))
            out += QStringLiteral("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                                  "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10");
        out += background + QStringLiteral("\\cltxlrtb\\cellx") +
               QString::number(cellEdge(k, r.CellWidth));
    }
    out += QStringLiteral("\\pard\\ri-123\\nowidctlpar\\widctlpar\\intbl\\adjustright");
    if (captionRow)
        out += QStringLiteral(" {\\f1%1\\cf1\\cgrid0 ")
                   .arg(RTFFontAttributes(r.CustomSettings.HeaderFont.font));
    else
        out += QStringLiteral(" {\\f2%1\\cf2\\cgrid0 ")
                   .arg(RTFFontAttributes(r.CustomSettings.TableFont.font));
    return out;
}

void RtfFormat::rowLines(QStringList& out, const QString& row, bool captionRow) {
    out << rowDefinition(captionRow) + row +
               QStringLiteral("}\\pard \\nowidctlpar\\widctlpar\\intbl\\adjustright {\\row}\r\n");
}

void RtfFormat::postamble(QStringList& out) {
    out << QStringLiteral("\\pard\\nowidctlpar\\widctlpar\\adjustright {\r\n");
}

void RtfFormat::footer(QStringList& out, const QString&, const QStringList& lines,
                       const QString& dateLine) {
    for (const QString& line : lines)
        out << paragraph(line);
    if (!dateLine.isEmpty())
        out << paragraph(dateLine);
}

TextFileResult RtfFormat::finish(const QString& target, const QStringList& lines,
                                 const ExportSinks&) {
    const Encoded1252 encoded = toWindows1252(lines.join(QString()) + QStringLiteral("}}"));
    TextFileResult result = writeBytesFile(target, encoded.bytes);
    result.replaced = encoded.replaced;
    return result;
}

// --- DIF ---

void DifFormat::preamble(QStringList& out) {
    const int columns = ctx.columnCount + (ctx.options.contains(xoRowNumbers) ? 1 : 0);
    out << QStringLiteral("TABLE") << QStringLiteral("0,1")
        << QLatin1Char('"') + ctx.className + QLatin1Char('"') << QStringLiteral("VECTORS")
        << QStringLiteral("0,%1").arg(columns) << QStringLiteral("\"\"") << QStringLiteral("TUPLES")
        << QStringLiteral("0,%1").arg(ctx.rowTotal) << QStringLiteral("\"\"")
        << QStringLiteral("DATA") << QStringLiteral("0,0") << QStringLiteral("\"\"");
}

QString DifFormat::rowNumberCell(const QString& n, int) const {
    return QStringLiteral("1,0\n\"%1\"").arg(texte::einzeilig(n));
}

QString DifFormat::captionRowPrefix(int) const {
    return QStringLiteral("1,0\n\"\"\n");
}

QString DifFormat::cell(const QString& text, const CellInfo&, bool) {
    // a string value is always quoted: readers take a bare one for no cell
    return QStringLiteral("1,0\n") + QuoteText(texte::einzeilig(text), true);
}

void DifFormat::rowLines(QStringList& out, const QString& row, bool) {
    out << QStringLiteral("-1,0") << QStringLiteral("BOT");
    // an empty text still is its own line
    out << row.split(QLatin1Char('\n'));
}

TextFileResult DifFormat::finish(const QString& target, const QStringList& lines,
                                 const ExportSinks&) {
    QStringList all = lines;
    all << QStringLiteral("-1,0") << QStringLiteral("EOD");
    return writeTextFile(target, all);
}

// --- SYLK ---

void SylkFormat::preamble(QStringList& out) {
    m_row = 1;
    out << QStringLiteral("ID;P") + ctx.className;
}

QString SylkFormat::rowNumberCell(const QString& n, int) const {
    return QStringLiteral("C;X1;Y%1;K\"%2\"").arg(m_row).arg(texte::einzeilig(n));
}

QString SylkFormat::captionRowPrefix(int) const {
    return QString();
}

QString SylkFormat::cell(const QString& text, const CellInfo& info, bool) {
    const int x = info.column + 1 + (ctx.options.contains(xoRowNumbers) ? 1 : 0);
    return QStringLiteral("C;X%1;Y%2;K%3")
        .arg(x)
        .arg(m_row)
        .arg(QuoteText(texte::einzeilig(text), true));
}

void SylkFormat::rowLines(QStringList& out, const QString& row, bool) {
    out << splitRow(row);
    ++m_row;
}

TextFileResult SylkFormat::finish(const QString& target, const QStringList& lines,
                                  const ExportSinks&) {
    QStringList all = lines;
    all << QStringLiteral("E");
    return writeTextFile(target, all);
}
