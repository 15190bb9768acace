// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/EventSearch.h"

#include "calendar/EventRules.h"
#include "calendar/EventStore.h"

EventSearch::Result EventSearch::findNext(const QDate& selected, const QString& boxText,
                                          const HolidayFlags& flags) {
    const QString text = boxText.trimmed();
    const std::vector<EventRow> rows = m_store.readForSearch(selected, text);
    if (!m_store.lastError().isEmpty())
        return {QDate(), m_store.lastError()};
    return {EventRules::searchFirstDate(rows, selected, flags), QString()};
}
