// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/MonthPlacement.h"

#include "calendar/MonthLayout.h"

#include <limits>

MonthPlacement::MonthPlacement(const QDate& first, int month, const HolidayFlags& flags,
                               bool smallIcons, double W, double H)
    : m_days(first, month), m_flags(flags), m_smallIcons(smallIcons), m_width(W), m_height(H) {
    const double icon = MonthLayout::iconSize(smallIcons);
    for (int k = 0; k < MonthLayout::Cells; ++k) {
        // The flow stops by itself where the cell is full.
        const MonthLayout::CellFlow flow = MonthLayout::flowCell(
            MonthLayout::cellRect(k, W, H), icon, std::numeric_limits<int>::max());
        m_room[size_t(k)] = int(flow.icons.size()) + 1;
    }
}

bool MonthPlacement::add(const EventRow& row) {
    if (m_fullCells == MonthLayout::Cells)
        return false;
    if (EventRules::isHidden(row.holiday, m_flags))
        return true;
    m_hit.clear();
    m_days.cellsOf(row, m_hit);
    bool kept = false;
    for (int k : m_hit) {
        std::vector<int>& cell = m_cells[size_t(k)];
        if (int(cell.size()) >= m_room[size_t(k)])
            continue;
        cell.push_back(int(m_rows.size()));
        kept = true;
        if (int(cell.size()) == m_room[size_t(k)])
            ++m_fullCells;
    }
    if (kept)
        m_rows.push_back(row);
    return m_fullCells < MonthLayout::Cells;
}

void MonthPlacement::fill(MonthPainter::MonthScene& scene) const {
    scene.rows = &m_rows;
    scene.occurrences.clear();
    for (int k = 0; k < MonthLayout::Cells; ++k)
        for (int i : m_cells[size_t(k)])
            scene.occurrences.push_back({k, i});
}

std::vector<EventRow*> MonthPlacement::drawnRows() {
    MonthPainter::MonthScene scene;
    fill(scene);
    scene.flags = m_flags;
    scene.smallIcons = m_smallIcons;
    std::vector<EventRow*> out;
    for (int i : MonthPainter::drawnRows(scene, m_width, m_height))
        out.push_back(&m_rows[size_t(i)]);
    return out;
}
