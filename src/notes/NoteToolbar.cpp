// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteToolbar.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

namespace {

// Formats of the characters the cursor selects, one per run, in text order; the caret's
// format when it selects no character.
QList<QTextCharFormat> selectedFormats(const QTextCursor& cursor) {
    QList<QTextCharFormat> formats;
    if (cursor.hasSelection() && cursor.document()) {
        const int start = cursor.selectionStart();
        const int end = cursor.selectionEnd();
        for (QTextBlock b = cursor.document()->findBlock(start); b.isValid() && b.position() < end;
             b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                if (f.isValid() && f.position() < end && f.position() + f.length() > start)
                    formats.append(f.charFormat());
            }
        }
    }
    if (formats.isEmpty())
        formats.append(cursor.charFormat());
    return formats;
}

QString familyOf(const QTextCharFormat& f, const QFont& fallback) {
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    const QString family = f.stringProperty(QTextFormat::FontFamily);
    return family.isEmpty() ? fallback.family() : family;
}

qreal pointsOf(const QTextCharFormat& f, const QFont& fallback) {
    return f.fontPointSize() > 0 ? f.fontPointSize() : fallback.pointSizeF();
}

bool isBold(const QTextCharFormat& f) {
    return f.fontWeight() > QFont::Medium;
}

} // namespace

namespace NoteToolbar {

const char* name(Command command) {
    static const char* const names[CommandCount] = {
        QT_TRANSLATE_NOOP("NoteToolbar", "New"),      QT_TRANSLATE_NOOP("NoteToolbar", "Delete"),
        QT_TRANSLATE_NOOP("NoteToolbar", "Find"),     QT_TRANSLATE_NOOP("NoteToolbar", "Spelling"),
        QT_TRANSLATE_NOOP("NoteToolbar", "Schedule"), QT_TRANSLATE_NOOP("NoteToolbar", "Color"),
        QT_TRANSLATE_NOOP("NoteToolbar", "Bold"),     QT_TRANSLATE_NOOP("NoteToolbar", "Italic"),
        QT_TRANSLATE_NOOP("NoteToolbar", "Underline")};
    return names[int(command)];
}

QString toolTip(Command command) {
    return QCoreApplication::translate("NoteToolbar", name(command));
}

bool enabled(Command command, int noteCount) {
    return command == Command::New || noteCount > 0;
}

bool fontBoxesEnabled(int noteCount) {
    return noteCount > 0;
}

const QList<int>& sizes() {
    static const QList<int> list{8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
    return list;
}

QString sizeText(qreal points) {
    return QString::number(points, 'g', 4);
}

QString defaultFamily() {
    static const QString family = [] {
        // The font box's entry for a family: its name, or "Name [Foundry]" when two
        // foundries make it; empty when it is not installed.
        const QStringList installed = QFontDatabase::families();
        const auto listed = [&installed](const QString& name) {
            for (const QString& f : installed)
                if (f.compare(name, Qt::CaseInsensitive) == 0)
                    return f;
            for (const QString& f : installed)
                if (f.startsWith(name + QStringLiteral(" ["), Qt::CaseInsensitive))
                    return f;
            return QString();
        };
        const QString wanted = QStringLiteral("Arial");
        // Else the metric twin fontconfig puts in its place (Liberation Sans, Nimbus Sans),
        // else the desktop's own font.
        for (const QString& name : {wanted, QFontInfo(QFont(wanted)).family(),
                                    QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()})
            if (const QString entry = listed(name); !entry.isEmpty())
                return entry;
        return installed.value(0, wanted);
    }();
    return family;
}

QFont defaultFont() {
    return QFont(defaultFamily(), 9);
}

QTextCharFormat insertionFormat() {
    QTextCharFormat f;
    f.setFontFamilies({defaultFamily()});
    f.setFontPointSize(9);
    f.setFontWeight(QFont::Normal);
    f.setFontItalic(false);
    f.setFontStrikeOut(false);
    f.setFontUnderline(false);
    f.setForeground(QColor(Qt::black));
    return f;
}

Shown shown(const QTextCursor& cursor) {
    const QFont fallback = cursor.document() ? cursor.document()->defaultFont() : QFont();
    const QList<QTextCharFormat> formats = selectedFormats(cursor);
    const QTextCharFormat& first = formats.first();
    Shown s;
    s.family = familyOf(first, fallback);
    s.points = pointsOf(first, fallback);
    for (const QTextCharFormat& f : formats) {
        if (familyOf(f, fallback) != s.family)
            s.family.clear();
        if (!qFuzzyCompare(pointsOf(f, fallback), s.points))
            s.points = 0;
    }
    s.bold = isBold(first);
    s.italic = first.fontItalic();
    s.underline = first.fontUnderline();
    s.colour =
        first.foreground().style() != Qt::NoBrush ? first.foreground().color() : QColor(Qt::black);
    return s;
}

QTextCharFormat toggled(const QTextCursor& cursor, Toggle toggle) {
    const QTextCharFormat first = selectedFormats(cursor).first();
    QTextCharFormat change;
    switch (toggle) {
    case Toggle::Bold:
        change.setFontWeight(isBold(first) ? QFont::Normal : QFont::Bold);
        break;
    case Toggle::Italic:
        change.setFontItalic(!first.fontItalic());
        break;
    case Toggle::Underline:
        change.setFontUnderline(!first.fontUnderline());
        break;
    }
    return change;
}

} // namespace NoteToolbar
