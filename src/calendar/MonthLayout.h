// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/Twips.h"

#include <QDate>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <vector>

// The month view's geometry and navigation, with no widgets. Lengths are twips (15 per
// pixel); the window converts at its boundary. W and H are the grid's width and height:
// 7 columns of W/7 and 6 rows of H/6.
namespace MonthLayout {

inline constexpr double toPixels(double twips) {
    return Twips::toPixelsF(twips);
}
inline constexpr double toTwips(double pixels) {
    return Twips::fromPixels(pixels);
}

inline constexpr int Cells = 42;

// Icons are 360 twips (24 pixels), 240 (16 pixels) in small-icon mode.
inline double iconSize(bool smallIcons) {
    return smallIcons ? 240 : 360;
}

// Cell k (0 ... 41): row k / 7, column k % 7.
QRectF cellRect(int cell, double W, double H);
// The selection rectangle of cell k: 20 twips in from the cell's top and left lines.
QRectF selectionRect(int cell, double W, double H);
// The cell under grid point (x, y); points on or past the last line count to the last
// row or column.
int cellAt(double x, double y, double W, double H);

// Where the icons of one cell go. Icons start 40 twips in from the cell's top left and
// run left to right; when the next icon would reach the cell's right edge the line wraps
// to 20 twips from the left, one icon lower. When the next icon would reach the cell's
// bottom edge, "..." is printed 20 twips right of and 130 twips above the position it
// would have had, and the cell's remaining icons are neither drawn nor listed in the
// tooltip.
struct CellFlow {
    std::vector<QPointF> icons; // top-left of each drawn icon, in order
    bool more = false;          // "..." printed at `morePos`
    QPointF morePos;
};
CellFlow flowCell(const QRectF& cell, double iconSize, int count);

// The day number sits centred at the bottom of its cell: 30 twips left of centre (measured
// with the width of "88", or "8" for days 1 ... 9) and 30 twips above the bottom (with the
// height of "8"). Returns the text's top-left.
QString dayNumberSample(int day);
QPointF dayNumberPos(const QRectF& cell, double sampleWidth, double digitHeight);

// Weekday header: name c (0 ... 6) centred in its seventh of the strip, 60 twips down.
QPointF weekdayPos(int column, double stripWidth, double textWidth);

// Title "mmmm yyyy": 180 twips left of centre in the header; the year up/down 120 twips
// right of the title.
double titleLeft(double headerWidth, double titleWidth);
double yearUpDownLeft(double titleLeftPos, double titleWidth);

// ---- Tooltip ------------------------------------------------------------------------
// An event's line in the tooltip: a description longer than 70 characters is cut to 70,
// then before its last space when it has one, and " ...." is appended.
QString tooltipLine(const QString& description);
// The key of a cell's date in the tooltip list: month x 100 + day.
inline int tooltipKey(const QDate& d) {
    return d.month() * 100 + d.day();
}
struct TooltipEntry {
    QString text;
    int key;
};
// The tooltip of the cell whose date has `key`: each of its lines followed by a line
// break, a blank line between two lines. `longest` receives the longest line's length.
QString tooltipText(const std::vector<TooltipEntry>& entries, int key, int* longest);
// 2000 twips wide while the longest line is shorter than 30 characters, else 3000.
double tooltipWidth(int longest);
// No tooltip within 100 twips of the grid's edges.
bool nearEdge(double x, double y, double W, double H);
// 360 twips below the pointer, or above it (50 twips clear) in the grid's lowest 2000.
double tooltipTop(double y, double H, double tooltipHeight);

// ---- Navigation -----------------------------------------------------------------------
// Month buttons: one calendar month back or on; a result in 1753 or earlier, or in 9999
// or later, selects today instead.
QDate stepMonth(const QDate& selected, int months, const QDate& today);
// Year up/down: one year back or on, refused (the date returned unchanged) when the
// selected year is already 1753 or earlier going down, 9999 or later going up.
QDate stepYear(const QDate& selected, int years);
// Arrow keys and clicks: the date `days` away, or the selected date unchanged when that
// leaves the selectable range 1 January 1753 ... 31 December 9999.
QDate stepDays(const QDate& selected, int days);

} // namespace MonthLayout
