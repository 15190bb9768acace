// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"
#include "calendar/EventRules.h"
#include "calendar/MonthLayout.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QLocale>

#include <vector>

class EventIcons;

// Draws the month view's surfaces into images, with no widgets, so the same drawing
// serves the window, the benchmark and the screenshots.
namespace MonthPainter {

inline constexpr QRgb GridLineColour = 0xFFE0E0E0;   // &HE0E0E0
inline constexpr QRgb OtherMonthColour = 0xFFC0C0C0; // day numbers outside the month
inline constexpr QRgb SelectionColour = 0xFF4678C8;  // SelShape, and the ring around today

// What one full drawing of the grid needs.
struct MonthScene {
    QDate first;                                     // the first of the 42 visible days
    int month = 1;                                   // the selected month, drawn in black
    const std::vector<EventRow>* rows = nullptr;     // the rows fetched for the month
    std::vector<EventRules::Occurrence> occurrences; // EventRules::placeMonth of `rows`
    HolidayFlags flags;
    bool smallIcons = false;
    QDate today; // its number is drawn bold in a thin ring, so it shows wherever the
                 // selection is; none when invalid
    // Events shown within a moving window (EventStore::shownWithinWindow); their tooltip
    // lines say so.
    const QHash<QString, QDate>* shownUntil = nullptr;
};

// Paints the grid, W x H twips, into `image` (which the caller sized in pixels): white
// cells, the grid lines in &HE0E0E0, each cell's visible icons as MonthLayout::flowCell
// places them (rows hidden by the holiday switches skipped, so a later event takes their
// place), "..." for the overflow, and the day numbers, today's marked. Pictures are made
// for the image's device pixel ratio. Returns the tooltip list: one line per drawn icon,
// keyed by its cell's date.
std::vector<MonthLayout::TooltipEntry> paintGrid(QImage& image, double W, double H,
                                                 const MonthScene& scene, EventIcons& icons,
                                                 const QFont& font);

// The rows a drawing of `scene` on a W x H twip grid shows: each row with at least one
// icon drawn (hidden holidays skipped, nothing past a cell's "..."), as indices into
// scene.rows, ascending. Their text and pictures are all paintGrid reads.
std::vector<int> drawnRows(const MonthScene& scene, double W, double H);

// Paints the weekday header (the locale's abbreviated day names) across `image`, whose
// width is stripWidth twips.
void paintWeekdays(QImage& image, double stripWidth, const QDate& first, const QFont& font,
                   const QLocale& locale);

} // namespace MonthPainter
