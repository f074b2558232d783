#include "export/exportoptions.h"

#include "export/documentformats.h"

#include <QGuiApplication>

namespace {

// ActiveLink, Background, DefaultLink, DefaultText, VisitedLink,
// HeaderBackground, HeadersFontColor, TableBackground, TableOddBackground,
// TableFontColor per template.
constexpr TColor HtmlTemplates[8][10] = {
    {0xFF0000, 0xFFFFFF, 0x0000FF, 0x000000, 0xFFFF00, 0x336699, 0xFFFFFF, 0xFFFFCF, 0xFFFFFF,
     0x000000},
    {0xBBBBBB, 0xFFFFFF, 0xAAAAAA, 0x000000, 0xDDDDDD, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xF3F3F3,
     0x000000},
    {0xFF0000, 0x339966, 0x0066CC, 0x000000, 0x923FC1, 0x000000, 0xFF0000, 0x006BCE, 0x007AEC,
     0xFFFFFF},
    {0xFF0000, 0x339966, 0x0066CC, 0x000000, 0x923FC1, 0xCC0033, 0xFFFFFF, 0xFFFFFF, 0xFAF100,
     0xFFFFFF},
    {0xFFFF00, 0x317676, 0xDDE760, 0xFFE760, 0xCCCC39, 0x3A9393, 0xFFFFFF, 0x004040, 0x000000,
     0xFFFFFF},
    {0xFF0000, 0xFFFFFF, 0x0000FF, 0x000000, 0xFFFF00, 0x808080, 0xFFFFFF, 0xFFFFFF, 0xEEEEEE,
     0x000000},
    {0xFF0000, 0xFFFFFF, 0x0000FF, 0x000000, 0xAABBAA, 0xCEC6B5, 0x000000, 0xDEE7DE, 0xFFFBF0,
     0x000080},
    {0xFF0000, 0xFFFFFF, 0x0000FF, 0x5F605F, 0xFFFF00, 0xCFC890, 0x000000, 0xFFFFFF, 0xFFFFCF,
     0x000000},
};

// Default text, caption text, table text, table background, caption
// background, odd-row background per template.
constexpr TColor RtfTemplates[4][6] = {
    {0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x800000, 0x00FF80},
    {0x000000, 0x0000FF, 0x000000, 0xFF0000, 0x000000, 0xFF8080},
    {0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x0000FF, 0x00FF80},
    {0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x808080, 0x80FF80},
};

QFont toolkitFont() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::font()
                                                                        : QFont();
}

QFont bold(QFont f) {
    f.setBold(true);
    return f;
}

} // namespace

TColor THTMLOptions::HTMLColor(int role) const {
    if (role < 0 || role > 9)
        return 0;
    if (Template != ctCustom)
        return HtmlTemplates[Template][role];
    const THTMLColors& c = CustomColors;
    const TColor custom[10] = {c.ActiveLink,       c.Background,      c.DefaultLink,
                               c.DefaultText,      c.VisitedLink,     c.HeaderBackground,
                               c.HeadersFontColor, c.TableBackground, c.TableOddBackground,
                               c.TableFontColor};
    return custom[role];
}

QString THTMLOptions::HTMLFontFace(int which) const {
    if (Template != ctCustom)
        return QStringLiteral("Arial,Helvetica");
    return which == 0 ? CustomColors.DefaultFontFace : CustomColors.TableFontFace;
}

QString htmlColorText(TColor color) {
    return QLatin1Char('#') + QStringLiteral("%1").arg(color, 6, 16, QLatin1Char('0')).toLower();
}

TRTFColors::TRTFColors()
    : DefaultFont{toolkitFont()}, HeaderFont{bold(toolkitFont())}, TableFont{toolkitFont()} {}

TColor TRTFOptions::RTFColorRole(int role) const {
    if (role < 0 || role > 5)
        return 0;
    if (Template != rtCustom)
        return RtfTemplates[Template][role];
    const TRTFColors& c = CustomSettings;
    const TColor custom[6] = {c.DefaultFont.color, c.HeaderFont.color, c.TableFont.color,
                              c.TableBackground,   c.HeaderBackground, c.TableOddBackground};
    return custom[role];
}

QString RTFColor(TColor color) {
    return QStringLiteral("\\red%1\\green%2\\blue%3;")
        .arg(color & 0xFF)
        .arg((color >> 8) & 0xFF)
        .arg((color >> 16) & 0xFF);
}

QString RTFFontEntry(int n, const QFont& font) {
    QString family;
    switch (font.styleHint()) {
    case QFont::SansSerif:
        family = QStringLiteral("fswiss");
        break;
    case QFont::Serif:
        family = QStringLiteral("froman");
        break;
    case QFont::TypeWriter:
        family = QStringLiteral("fmodern");
        break;
    case QFont::Cursive:
        family = QStringLiteral("fscript");
        break;
    case QFont::Decorative:
        family = QStringLiteral("fdecorative");
        break;
    default:
        family = QStringLiteral("fdontcare");
        break;
    }
    return QStringLiteral("{\\f%1\\%2\\fcharset0 %3;}")
        .arg(n)
        .arg(family, rtfEscape(font.family()));
}

QString RTFFontAttributes(const QFont& font) {
    QString out = QStringLiteral("\\fs%1").arg(qRound(font.pointSizeF() * 2));
    if (font.bold())
        out += QStringLiteral("\\b");
    if (font.italic())
        out += QStringLiteral("\\i");
    if (font.underline())
        out += QStringLiteral("\\ul");
    if (font.strikeOut())
        out += QStringLiteral("\\strike");
    return out;
}

TExcelOptions::TExcelOptions()
    : DefaultFont(toolkitFont()), HeaderFont(bold(toolkitFont())), TableFont(toolkitFont()) {}
