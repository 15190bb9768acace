// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteSearch.h"

#include <algorithm>

NoteSearch::NoteSearch(QList<Card> cards) : m_cards(std::move(cards)) {
    std::stable_sort(m_cards.begin(), m_cards.end(),
                     [](const Card& a, const Card& b) { return a.depth < b.depth; });
}

QList<int> NoteSearch::order() const {
    QList<int> indexes;
    for (const Card& c : m_cards)
        indexes.append(c.index);
    return indexes;
}

std::optional<NoteSearch::Hit> NoteSearch::findNext(const QString& text, const TextOf& textOf) {
    if (text.isEmpty() || m_cards.isEmpty())
        return std::nullopt;
    while (true) {
        const int index = m_cards.at(m_line).index;
        if (const std::optional<QString> plain = textOf(index)) {
            const qsizetype at = plain->indexOf(text, m_from, Qt::CaseInsensitive);
            if (at >= 0) {
                m_from = int(at + text.size());
                return Hit{index, int(at), int(text.size())};
            }
        }
        m_from = 0;
        if (++m_line >= m_cards.size()) {
            m_line = 0;
            return std::nullopt;
        }
    }
}
