// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QTextCharFormat>

class QTextCursor;

// The Quick Notes toolbar: its commands, when they are available, the size list, and how
// the formatting commands treat the focused note's selection.
namespace NoteToolbar {

// In toolbar order.
enum class Command { New, Delete, Find, Spelling, Schedule, Color, Bold, Italic, Underline };
inline constexpr int CommandCount = 9;

// The English name of each command ("New", "Delete", ... "Underline"), which also names
// its button; toolTip() is the name in the user's language.
const char* name(Command command);
QString toolTip(Command command);
// "New" is always available; every other command and both font boxes need a note.
bool enabled(Command command, int noteCount);
bool fontBoxesEnabled(int noteCount);

const QList<int>& sizes(); // the size box: 8 ... 72
// A size as the size box shows it: "9", "10.5".
QString sizeText(qreal points);

inline constexpr const char* DeleteQuestion =
    QT_TRANSLATE_NOOP("NoteToolbar", "Are you sure to delete this note?");
inline constexpr const char* DeleteTitle = QT_TRANSLATE_NOOP("NoteToolbar", "Confirm");

// The family of a new note's text: Arial where it is installed, else the installed family
// the system shows for Arial, else the desktop's own font; as QFontDatabase::families()
// lists it, so the font box finds it.
QString defaultFamily();
// A card's default font: defaultFamily() at 9 points.
QFont defaultFont();
// What a card's text gets at the caret when the card is built: defaultFont(), plain, black.
QTextCharFormat insertionFormat();

// The look of the selection (or of the caret) as the toolbar shows it. `family` is empty
// and `points` 0 when the selection mixes fonts or sizes; the toggles and the colour are
// those of its first character, since the toggles act from that character.
struct Shown {
    QString family;
    qreal points = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor colour;
};
Shown shown(const QTextCursor& cursor);

enum class Toggle { Bold, Italic, Underline };
// The change a toggle makes: the whole selection takes the state its first character does
// not have, so a mixed selection becomes uniform. Merge it into the selection (or into
// the caret's format when nothing is selected).
QTextCharFormat toggled(const QTextCursor& cursor, Toggle toggle);

} // namespace NoteToolbar
