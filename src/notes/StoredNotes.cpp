// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/StoredNotes.h"

StoredNotes::Known StoredNotes::knownOf(const NoteRecord& row) {
    return {hashOf(row.content), !row.content.isNull(), row.zOrder,
            row.geometry,        row.frequency,         row.due};
}

void StoredNotes::load(const QList<NoteRecord>& rows) {
    m_rows.clear();
    for (const NoteRecord& row : rows)
        added(row);
}

void StoredNotes::added(const NoteRecord& row) {
    m_rows.insert(row.id, knownOf(row));
}

void StoredNotes::removed(qint64 id) {
    m_rows.remove(id);
}

void StoredNotes::written(const QList<NoteStore::Write>& writes) {
    for (const NoteStore::Write& w : writes) {
        const auto it = m_rows.find(w.id);
        if (it == m_rows.end())
            continue;
        if (w.zOrder)
            it->zOrder = *w.zOrder;
        if (w.content) {
            it->content = hashOf(*w.content);
            it->hasContent = !w.content->isNull();
        }
        if (w.geometry)
            it->geometry = *w.geometry;
    }
}

void StoredNotes::scheduled(qint64 id, int frequency, const QDateTime& due) {
    const auto it = m_rows.find(id);
    if (it == m_rows.end())
        return;
    it->frequency = frequency;
    // The table keeps the minute, and nothing for an invalid time.
    it->due = due.isValid() ? QDateTime(due.date(), QTime(due.time().hour(), due.time().minute()))
                            : QDateTime();
}

bool StoredNotes::differs(const QList<NoteRecord>& rows) const {
    if (rows.size() != m_rows.size())
        return true;
    for (const NoteRecord& row : rows) {
        const auto it = m_rows.constFind(row.id);
        if (it == m_rows.cend() || !(*it == knownOf(row)))
            return true;
    }
    return false;
}
