// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QLine>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QString>

#include <optional>

// A note card's geometry, all in twips inside the Quick Notes window: its inner layout and
// decoration, moving and resizing with the mouse, keeping it on screen, and where "New"
// puts a card.
namespace NoteGeometry {

// A press this close to both the right and the bottom edge grabs the resize grip.
inline constexpr int GripTwips = 120;
// The grip never makes a card this narrow or this low (or less).
inline constexpr int MinWidth = 250;
inline constexpr int MinHeight = 350;
// On release a card's top stays below the toolbar, and room for the taskbar and the
// window's frame stays below it; its right edge stays this far inside the screen.
inline constexpr int TopLimit = 380;
inline constexpr int BottomAllowance = 2010;
inline constexpr int RightAllowance = 10;
// "New": the offset from the focused card, and the fallback when centring fails.
inline constexpr int CascadeTwips = 200;
inline constexpr QPoint FallbackPlace{0, 400};

inline constexpr QRgb BorderColour = 0xFFC0C000;
inline constexpr QRgb HeaderRuleColour = 0xFFE0E000;
inline constexpr QRgb GripColour = 0xFFD0D000;

struct Layout {
    QRect text;       // NotesRtb
    QPoint upArrow;   // upLb
    QPoint downArrow; // dnLb
    QPoint mark;      // SchLb
};
// Where the card's parts lie for a card of `card` size; `arrowHeight` is the height of
// the up arrow label.
Layout layout(QSize card, int arrowHeight);

struct Decoration {
    QRect border; // drawn as an outline from its top-left to its bottom-right corner
    QLine headerRule;
    QLine grip;
    int dateTop = 20;
};
Decoration decoration(QSize card);
// Left edge of the creation date, centred over the card's header.
int dateLeft(int cardWidth, int dateTextWidth);
// The creation date as the header shows it: "March 05, 2026", the month named in the
// time locale.
QString dateText(const QDate& created);

enum class Drag { Move, Resize };
// The drag a press at `at` (inside the card) starts.
Drag dragAt(QPoint at, QSize card);
// Resizing with the pointer at `at`: the new size, or nothing while the pointer lies at or
// inside the minimum.
std::optional<QSize> resizedTo(QPoint at);
// Moving: the card's new top-left for the pointer at `at`, grabbed at `grab`.
QPoint movedTo(QPoint topLeft, QPoint at, QPoint grab);
// On release: the top-left that keeps `card` on a screen of `screen` size. When a card
// is too big for the room, its top-left corner wins, so its header stays reachable.
QPoint keptOnScreen(const QRect& card, QSize screen);

// "New": 200 twips right of and below the focused card when one is visible (but not past
// the screen's bottom and right limits), else centred in the main window of `mainWindow` size, else
// FallbackPlace.
QPoint newCardPlace(const std::optional<QRect>& focusedCard, QSize card, QSize mainWindow,
                    QSize screen);

// Text wrapped at word boundaries measures a word to its end on every line it fills, so a
// word of many thousand characters (a hostile note, or a pasted dump) takes time growing
// with its square. A note holding a run of more than LongestWord characters without a
// blank breaks its lines anywhere instead.
inline constexpr int LongestWord = 1000;
bool hasOverlongWord(QStringView text);

} // namespace NoteGeometry
