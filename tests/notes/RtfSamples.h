// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

// Documents written by other programs, each exercising what such writers add around the
// text: generator and theme groups, style sheets, list fallbacks, fields, code pages.
inline const char* const WordPadSample =
    R"({\rtf1\ansi\ansicpg1252\deff0\nouicompat\deflang1033{\fonttbl{\f0\fnil\fcharset0 Calibri;}{\f1\fswiss\fprq2\fcharset0 Arial{\*\panose 020b0604020202020204};}}
{\colortbl ;\red255\green0\blue0;\red0\green0\blue255;}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang9 Hello \b bold\b0  and \cf1 red\cf0 , caf\'e9 \u8364\'80 5.\par
\i\f1\fs20 Italic Arial\i0\par
}
)";

inline const char* const WordSample =
    R"({\rtf1\adeflang1025\ansi\ansicpg1252\uc1\adeff31507\deff0\stshfdbch31505{\fonttbl{\f0\fbidi \froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}
{\f13\fbidi \fnil\fcharset134\fprq2{\*\panose 02010600030101010101}SimSun{\*\falt \'cb\'ce\'cc\'e5};}{\f3\fbidi \froman\fcharset2\fprq2 Symbol;}}
{\colortbl;\red0\green0\blue0;\red0\green128\blue0;}{\stylesheet{\ql \li0\ri0\widctlpar\f0\fs24 \snext0 Normal;}{\*\cs10 \additive \ssemihidden Default Paragraph Font;}}
{\*\rsidtbl \rsid1\rsid2}{\info{\title Draft}{\author Somebody}{\creatim\yr2026\mo3\dy5}}{\*\xmlnstbl {\xmlns1 http://example.invalid/}}
\paperw12240\paperh15840\margl1800\margr1800{\*\themedata 504b030414000600}{\*\latentstyles\lsdstimax376{\lsdlockedexcept \lsdqformat1 Normal;}}
\pard\plain \ql\f0\fs24 {\*\bkmkstart Start}{\*\bkmkend Start}Plain {\strike gone}{\ul\cf2 green underline}\par
{\listtext\pard\plain\f3\fs24 \'b7\tab}\ls1 Item\par
{\field{\*\fldinst {HYPERLINK "http://example.invalid/"}}{\fldrslt {\ul\cf2 link}}}\par
\pard\plain\f13\fs21\uc2 \u20320\'c4\'e3\u22909\'ba\'c3 \'ca\'c0\'bd\'e7\par
{\*\unknownthing with {nested} text}\trowd\cellx1000\cellx2000 A\cell B\cell\row
}
)";

// A Japanese editor writing Shift_JIS bytes, with the font name in that code page too.
inline const char* const ShiftJisSample =
    R"({\rtf1\ansi\ansicpg932\deff0{\fonttbl{\f0\fnil\fcharset128 \'82\'6c\'82\'72 \'83\'53\'83\'56\'83\'62\'83\'4e;}}\f0\fs20 \'82\'b1\'82\'f1\'82\'c9\'82\'bf\'82\'cd\par})";

// An old writer: a colour table with no "auto" entry, groups per run, no code page.
inline const char* const OldMailSample =
    "{\\rtf1\\ansi\\deff0{\\fonttbl\\f0\\froman Tms Rmn;\\f1\\fswiss Helv;}"
    "{\\colortbl\\red0\\green0\\blue0;\\red0\\green255\\blue0;}"
    "\\pard\\plain{\\f1\\fs18 first line}\\line{\\f1\\fs18\\cf1 green}\r\n"
    "\\par{\\pict\\wmetafile8\\picw100\\pich100 0100090000033600\\bin4 }{}{}"
    "\\par tail}";

// "Family size [b] [i] [u] [s] [#rrggbb]" as a character format.
inline QTextCharFormat format(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(' '));
    QTextCharFormat f;
    f.setFontFamilies({QString(parts.at(0)).replace(QLatin1Char('_'), QLatin1Char(' '))});
    f.setFontPointSize(parts.at(1).toDouble());
    f.setFontWeight(parts.contains(QStringLiteral("b")) ? QFont::Bold : QFont::Normal);
    f.setFontItalic(parts.contains(QStringLiteral("i")));
    f.setFontUnderline(parts.contains(QStringLiteral("u")));
    f.setFontStrikeOut(parts.contains(QStringLiteral("s")));
    for (const QString& p : parts)
        if (p.startsWith(QLatin1Char('#')))
            f.setForeground(QColor(p));
    return f;
}

// Runs as pairs of text and spec; the text "\n" starts a new paragraph.
using Runs = QList<QPair<QString, QString>>;

inline void build(QTextDocument& doc, const Runs& runs) {
    QTextCursor c(&doc);
    for (const auto& [text, look] : runs) {
        if (text == QLatin1String("\n"))
            c.insertBlock(QTextBlockFormat(), format(look));
        else
            c.insertText(text, format(look));
    }
}

// A note of `runs` runs of one letter each, each in a colour of its own: one word as long
// as the note (about 3 MB of RTF for 160,000 runs).
inline QString colourRuns(int runs) {
    QString rtf = QStringLiteral("{\\rtf1\\ansi{\\colortbl;");
    for (int i = 1; i <= runs; ++i)
        rtf += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(i % 256).arg(i / 256 % 256).arg(7);
    rtf += QLatin1Char('}');
    for (int i = 1; i <= runs; ++i)
        rtf += QStringLiteral("\\cf%1 x").arg(i);
    return rtf + QLatin1Char('}');
}
