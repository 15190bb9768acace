// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteDeck.h"

#include "notes/NoteSchedule.h"

#include <algorithm>

void NoteDeck::sortForLoading(QList<NoteRecord>& rows) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const NoteRecord& a, const NoteRecord& b) { return a.zOrder > b.zOrder; });
}

QList<NoteDeck::Renumbered> NoteDeck::load(const QList<NoteRecord>& rows, const QDateTime& now) {
    m_cards.clear();
    m_flash.clear();
    m_focused = -1;
    m_flashStarted = m_flashing = m_bright = false;
    QList<Renumbered> changed;
    const int n = int(rows.size());
    for (int p = 0; p < n; ++p) {
        const NoteRecord& row = rows.at(p);
        m_cards.append(Card{row.id, n - p, false, true, row.zOrder});
        if (row.zOrder != n - p)
            changed.append({row.id, n - p});
        if (NoteSchedule::dueNow(row.frequency, row.due, now))
            m_flash.append(p);
    }
    return changed;
}

int NoteDeck::visibleCount() const {
    return int(
        std::count_if(m_cards.cbegin(), m_cards.cend(), [](const Card& c) { return c.visible; }));
}

int NoteDeck::add(qint64 id) {
    m_cards.append(Card{id, NewCardDepth, false, true, 0});
    return int(m_cards.size() - 1);
}

NoteDeck::Focus NoteDeck::focus(int index) {
    if (index < 0) {
        index = -1;
        for (int i = 0; i < count(); ++i)
            if (m_cards.at(i).visible && m_cards.at(i).depth == 1)
                index = i;
    }
    if (index < 0 || index >= count() || !m_cards.at(index).visible)
        return {-1, false};
    if (index == m_focused)
        return {index, false};
    m_focused = index;
    const int depth = m_cards.at(index).depth;
    for (Card& c : m_cards)
        if (c.visible && c.depth < depth)
            ++c.depth;
    m_cards[index].depth = 1;
    return {index, true};
}

void NoteDeck::remove(int index) {
    if (index < 0 || index >= count() || !m_cards.at(index).visible)
        return;
    Card& gone = m_cards[index];
    gone.visible = false;
    gone.modified = false;
    for (Card& c : m_cards)
        if (c.visible && c.depth > gone.depth)
            --c.depth;
    m_flash.removeAll(index);
}

void NoteDeck::markModified(int index) {
    if (index >= 0 && index < count() && m_cards.at(index).visible)
        m_cards[index].modified = true;
}

QList<NoteDeck::SaveItem> NoteDeck::saveList() const {
    QList<SaveItem> items;
    for (int i = 0; i < count(); ++i) {
        const Card& c = m_cards.at(i);
        if (c.visible)
            items.append({i, c.id, c.depth, c.modified, c.depth != c.storedDepth});
    }
    return items;
}

void NoteDeck::saved(const QList<SaveItem>& items) {
    for (const SaveItem& item : items) {
        if (item.index < 0 || item.index >= count())
            continue;
        Card& c = m_cards[item.index];
        c.storedDepth = item.zOrder;
        if (item.textChanged)
            c.modified = false;
    }
}

NoteDeck::FirstActivation NoteDeck::firstActivation() {
    if (m_focused >= 0 || visibleCount() == 0)
        return {};
    if (!m_flash.isEmpty() && !m_flashStarted) {
        m_flashStarted = true;
        m_flashing = true;
        m_bright = false;
        return {m_flash, true};
    }
    for (int i = count() - 1; i >= 0; --i)
        if (m_cards.at(i).visible)
            return {{i}, false};
    return {};
}

NoteDeck::Alarm NoteDeck::alarm(const QList<int>& due) {
    QList<int> cards;
    for (int i : due)
        if (i >= 0 && i < count() && m_cards.at(i).visible && !cards.contains(i))
            cards.append(i);
    if (cards.isEmpty() || (m_flashing && cards == m_flash))
        return {};
    Alarm a{stopFlashing(), cards};
    m_flash = cards;
    m_flashStarted = m_flashing = true;
    return a;
}

QRgb NoteDeck::flashTick() {
    m_bright = !m_bright;
    return m_bright ? FlashYellow : PaleYellow;
}

QList<int> NoteDeck::stopFlashing() {
    if (!m_flashing)
        return {};
    m_flashing = false;
    m_bright = false;
    return m_flash;
}
