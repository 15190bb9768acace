// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The note search ("Find"): cards are walked front to back in the order their depths had
// when the dialog opened; each "Find Next" finds the next occurrence, every occurrence in
// one card before the next card, regardless of case. After the last one it reports once
// that nothing more was found and starts again at the front card. Deleted cards are
// skipped.
class NoteSearch {
public:
    // Untranslated: shown through QCoreApplication::translate("NoteSearch", ...).
    static constexpr const char* Title = QT_TRANSLATE_NOOP("NoteSearch", "Find");
    static constexpr const char* LookForLabel = QT_TRANSLATE_NOOP("NoteSearch", "Look for:");
    static constexpr const char* FindNextText = QT_TRANSLATE_NOOP("NoteSearch", "Find Next");
    static constexpr const char* NoMoreText =
        QT_TRANSLATE_NOOP("NoteSearch", "No more search result found.");
    static constexpr const char* MessageTitle = QT_TRANSLATE_NOOP("NoteSearch", "Message");

    struct Card {
        int index; // window index
        int depth;
    };
    struct Hit {
        int index = -1; // the card to focus
        int start = 0;  // the found text in that card's plain text (0-based)
        int length = 0;
    };
    // A card's plain text now, or nothing for a deleted card.
    using TextOf = std::function<std::optional<QString>(int index)>;

    explicit NoteSearch(QList<Card> cards);

    // The next occurrence of `text`; nothing when the walk has passed the last card, which
    // the dialog reports with NoMoreText. `text` must not be empty.
    std::optional<Hit> findNext(const QString& text, const TextOf& textOf);

    // Window indexes in search order.
    QList<int> order() const;

private:
    QList<Card> m_cards;
    int m_line = 0;
    int m_from = 0; // where the search goes on in the current card
};
