// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/RtfWriter.h"

#include <QFont>
#include <QList>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>

namespace {

// What one run of text carries, as indexes into the font and colour tables.
struct RunFormat {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int colour = 0; // 0: the reader's default colour
    bool operator==(const RunFormat&) const = default;
};

class Tables {
public:
    explicit Tables(const QFont& defaultFont) : m_default(defaultFont) {
        m_fonts.append(familyOr(defaultFont.family(), QStringLiteral("Arial")));
    }

    RunFormat resolve(const QTextCharFormat& f) {
        RunFormat run;
        run.font = fontIndex(family(f));
        qreal points = f.fontPointSize();
        if (points <= 0)
            points = m_default.pointSizeF();
        if (points <= 0)
            points = 12;
        run.halfPoints = std::clamp(qRound(points * 2), 2, 3276);
        run.bold = f.fontWeight() > QFont::Medium;
        run.italic = f.fontItalic();
        run.underline = f.fontUnderline();
        run.strike = f.fontStrikeOut();
        if (f.foreground().style() != Qt::NoBrush)
            run.colour = colourIndex(f.foreground().color().rgb());
        return run;
    }

    QString header() const {
        QString out = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl");
        for (int i = 0; i < m_fonts.size(); ++i) {
            out += QStringLiteral("{\\f%1\\fnil ").arg(i);
            escapeFontName(m_fonts.at(i), out);
            out += QStringLiteral(";}");
        }
        out += QStringLiteral("}{\\colortbl;");
        for (QRgb c : m_colours)
            out += QStringLiteral("\\red%1\\green%2\\blue%3;")
                       .arg(qRed(c))
                       .arg(qGreen(c))
                       .arg(qBlue(c));
        out += QStringLiteral("}\n");
        return out;
    }

private:
    // Control characters cannot be written in a name, and blanks around it are not kept.
    static QString familyOr(QString family, const QString& fallback) {
        family.removeIf([](QChar c) { return c.unicode() < 0x20; });
        family = family.trimmed();
        return family.isEmpty() ? fallback : family;
    }

    QString family(const QTextCharFormat& f) const {
        const QStringList families = f.fontFamilies().toStringList();
        for (const QString& name : families)
            if (const QString clean = familyOr(name, QString()); !clean.isEmpty())
                return clean;
        return familyOr(f.stringProperty(QTextFormat::FontFamily), m_fonts.first());
    }

    int fontIndex(const QString& name) {
        const int at = int(m_fonts.indexOf(name));
        if (at >= 0)
            return at;
        m_fonts.append(name);
        return int(m_fonts.size() - 1);
    }

    int colourIndex(QRgb rgb) {
        rgb = qRgb(qRed(rgb), qGreen(rgb), qBlue(rgb));
        const int at = int(m_colours.indexOf(rgb));
        if (at >= 0)
            return at + 1;
        m_colours.append(rgb);
        return int(m_colours.size());
    }

    // A font name ends at ';', so one inside the name goes as a hex byte.
    static void escapeFontName(const QString& name, QString& out) {
        for (QChar c : name) {
            const char16_t u = c.unicode();
            if (u == u';')
                out += QStringLiteral("\\'3b");
            else if (u == u'\\' || u == u'{' || u == u'}')
                out += QLatin1Char('\\') + c;
            else if (u < 0x20)
                continue;
            else if (u < 0x80)
                out += c;
            else
                out += QStringLiteral("\\u%1?").arg(qint16(u));
        }
    }

    QFont m_default;
    QStringList m_fonts;
    QList<QRgb> m_colours;
};

void writeFormat(const RunFormat& run, QString& out) {
    out += QLatin1String("\\f") + QString::number(run.font) + QLatin1String("\\fs") +
           QString::number(run.halfPoints);
    if (run.bold)
        out += QStringLiteral("\\b");
    if (run.italic)
        out += QStringLiteral("\\i");
    if (run.underline)
        out += QStringLiteral("\\ul");
    if (run.strike)
        out += QStringLiteral("\\strike");
    if (run.colour > 0)
        out += QLatin1String("\\cf") + QString::number(run.colour);
}

// Every character outside ASCII goes as \uN (a signed 16-bit value per UTF-16 unit, so a
// surrogate pair is two of them) with "?" for readers that cannot show it.
void escapeText(QStringView text, QString& out) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\\':
        case u'{':
        case u'}':
            out += QLatin1Char('\\') + c;
            continue;
        case u'\t':
            out += QStringLiteral("\\tab ");
            continue;
        case QChar::LineSeparator:
        case u'\n':
            out += QStringLiteral("\\line ");
            continue;
        case QChar::ParagraphSeparator:
            out += QStringLiteral("\\par ");
            continue;
        case QChar::ObjectReplacementCharacter:
            continue; // a picture or other object: not kept
        default:
            break;
        }
        if (u < 0x20)
            continue;
        if (u < 0x80)
            out += c;
        else
            out += QLatin1String("\\u") + QString::number(qint16(u)) + QLatin1Char('?');
    }
}

} // namespace

namespace RtfWriter {

QString write(const QTextDocument& document) {
    Tables tables(document.defaultFont());
    QString body;
    body.reserve(document.characterCount() * 2 + 64);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        bool open = false;
        RunFormat current;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.charFormat().isImageFormat())
                continue;
            const RunFormat run = tables.resolve(fragment.charFormat());
            if (!open || !(run == current)) {
                if (open)
                    body += QLatin1Char('}');
                body += QLatin1Char('{');
                writeFormat(run, body);
                body += QLatin1Char(' ');
                current = run;
                open = true;
            }
            escapeText(fragment.text(), body);
        }
        if (open)
            body += QLatin1Char('}');
        // The paragraph mark carries the block's own format, which an empty line shows.
        body += QLatin1Char('{');
        writeFormat(tables.resolve(block.charFormat()), body);
        body += QStringLiteral("\\par}\n");
    }
    return tables.header() + body + QLatin1Char('}');
}

int removeObjects(QTextDocument& document) {
    QList<QPair<int, int>> spans; // position, length
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            if (fragment.charFormat().isImageFormat()) {
                spans.append({fragment.position(), fragment.length()});
                continue;
            }
            const QString text = fragment.text();
            for (int i = 0; i < text.size(); ++i)
                if (text.at(i) == QChar::ObjectReplacementCharacter)
                    spans.append({fragment.position() + i, 1});
        }
    }
    int removed = 0;
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (auto it = spans.crbegin(); it != spans.crend(); ++it) {
        cursor.setPosition(it->first);
        cursor.setPosition(it->first + it->second, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        removed += it->second;
    }
    cursor.endEditBlock();
    return removed;
}

} // namespace RtfWriter
