// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"
#include "calendar/EventRules.h"
#include "calendar/MonthPainter.h"

#include <array>
#include <vector>

// The month view's placement of rows as they are read in table order, keeping only what a
// drawing of the grid can show: per cell its first visible rows, up to one more than the
// icons that fit (that one only makes the "..."). Hidden holidays are never kept. Once
// every cell holds that many, no later row can change the drawing and the read can stop.
// The scene it gives draws exactly as one made with EventRules::placeMonth over all rows.
class MonthPlacement {
public:
    // A grid of W x H twips from `first`, showing month `month`, drawn with `flags` and
    // the icon size of `smallIcons`.
    MonthPlacement(const QDate& first, int month, const HolidayFlags& flags, bool smallIcons,
                   double W, double H);

    // Takes the next row; rows come in table order. False once every cell is full.
    bool add(const EventRow& row);

    // Points `scene` at the rows kept and their occurrences; the rest of it is left alone.
    void fill(MonthPainter::MonthScene& scene) const;
    // The kept rows a drawing shows an icon of, which need their text and picture read.
    std::vector<EventRow*> drawnRows();

private:
    EventRules::MonthDays m_days;
    HolidayFlags m_flags;
    bool m_smallIcons;
    double m_width;
    double m_height;
    std::array<int, 42> m_room{};             // icons that fit, plus one for "..."
    std::array<std::vector<int>, 42> m_cells; // indices into m_rows, in table order
    int m_fullCells = 0;
    std::vector<EventRow> m_rows;
    std::vector<int> m_hit;
};
