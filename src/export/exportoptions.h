#pragma once

#include "export/exporttypes.h"

#include <QFont>
#include <QString>
#include <cstdint>

// Colours as the templates store them: $00BBGGRR.
using TColor = std::uint32_t;

// A font with the colour it is drawn in.
struct ExportFont {
    QFont font;
    TColor color = 0x000000;
};

enum THTMLExtension { exHTM, exHTML };
enum THTMLOption { hoShowGridLines, hoBoldHeaders, hoAutoLink, hoOddRowColoring, hoDisplayTitle };
using THTMLOptionSet = EnumSet<THTMLOption>;
enum THTMLColorTemplate {
    ctStandard,
    ctBW,
    ctClassic,
    ctColorful,
    ctDark,
    ctGray,
    ctMSMoney,
    ctOlive,
    ctCustom
};

struct THTMLColors {
    TColor Background = 0xFFFFFF;
    TColor DefaultLink = 0x0000FF;
    QString DefaultFontFace = QStringLiteral("Arial,Helvetica");
    TColor VisitedLink = 0xFFFF00;
    TColor ActiveLink = 0xFF0000;
    TColor DefaultText = 0x000000;
    TColor TableFontColor = 0x000000;
    QString TableFontFace = QStringLiteral("Arial,Helvetica");
    TColor TableBackground = 0xFFFFCF;
    TColor TableOddBackground = 0xFFFFFF;
    TColor HeaderBackground = 0x336699;
    TColor HeadersFontColor = 0xFFFFFF;
};

struct THTMLOptions {
    THTMLColors CustomColors;
    THTMLExtension Extension = exHTML;
    THTMLOptionSet Options{hoShowGridLines, hoBoldHeaders, hoAutoLink, hoOddRowColoring,
                           hoDisplayTitle};
    THTMLColorTemplate Template = ctStandard;
    QString Title;

    // Roles 0 ActiveLink … 9 TableFontColor under the current template.
    TColor HTMLColor(int role) const;
    // 0 the default face, 1 the table's.
    QString HTMLFontFace(int which) const;
};

// "#" and at least six lower-case hexadecimal digits.
QString htmlColorText(TColor color);

enum TRTFColorTemplate { rtStandard, rtClassic, rtColorful, rtGray, rtCustom };
enum TRTFOption { roShowGridLines, roOddRowColoring };
using TRTFOptionSet = EnumSet<TRTFOption>;

struct TRTFColors {
    TRTFColors();
    TColor TableBackground = 0xFFFFCF;
    TColor TableOddBackground = 0xFFFFFF;
    TColor HeaderBackground = 0x336699;
    ExportFont DefaultFont;
    ExportFont HeaderFont;
    ExportFont TableFont;
};

struct TRTFOptions {
    TRTFColorTemplate Template = rtStandard;
    TRTFOptionSet Options{roShowGridLines, roOddRowColoring};
    TRTFColors CustomSettings;
    int CellWidth = 1400;
    int TopMargin = 101;
    int BottomMargin = 101;
    int LeftMargin = 461;
    int RightMargin = 562;

    // Roles 0 default text, 1 caption text, 2 table text, 3 table background,
    // 4 caption background, 5 odd-row background.
    TColor RTFColorRole(int role) const;
};

// "\redR\greenG\blueB;": red the lowest byte, blue the third.
QString RTFColor(TColor color);
// "{\fN\family\fcharset0 name;}": the family from the font's style hint.
QString RTFFontEntry(int n, const QFont& font);
// "\fsN" with twice the point size, then \b, \i, \ul, \strike.
QString RTFFontAttributes(const QFont& font);

enum TExcelOption { reCellsAsText, reSetColumnWidths, reSetMargins, reUseBorders };
using TExcelOptionSet = EnumSet<TExcelOption>;
enum TExcelVersion { xls21, xls30, xls40, xls50 };

struct TExcelOptions {
    TExcelOptions();
    TExcelOptionSet Options{reSetMargins, reUseBorders};
    int ColumnWidth = 20;
    bool Protected = false;
    QString Header;
    QString Footer = QStringLiteral("&P");
    TExcelVersion ExcelVersion = xls50;
    QFont DefaultFont;
    QFont HeaderFont;
    QFont TableFont;
    double TopMargin = 0.3;
    double BottomMargin = 0.3;
    double LeftMargin = 0.3;
    double RightMargin = 0.3;
};
