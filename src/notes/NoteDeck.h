// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/NoteRecord.h"

#include <QColor>
#include <QList>

// The notes of the open Quick Notes window, by window index (the position in load order;
// notes created later take the next index, and a deleted note keeps its index, hidden):
// each card's id, stacking depth (1 is the front) and modified mark, which card has the
// focus frame, and the due cards that flash. The window keeps the widgets and asks here.
class NoteDeck {
public:
    // A new card's depth until its first focus puts it in front.
    static constexpr int NewCardDepth = 1000;
    // Text background of a card, and the other colour of a flashing one.
    static constexpr QRgb PaleYellow = 0xFFFFFFC0;
    static constexpr QRgb FlashYellow = 0xFFFFFF00;

    struct Card {
        qint64 id = 0;
        int depth = 0;
        bool modified = false; // the text changed since it was last saved
        bool visible = true;   // false once deleted
        int storedDepth = 0;   // the ZOrder the data file holds
    };
    struct Renumbered {
        qint64 id;
        int zOrder;
    };
    struct SaveItem {
        int index;
        qint64 id;
        int zOrder;
        bool textChanged;  // only then is Content written
        bool depthChanged; // zOrder differs from what the data file holds
    };
    struct Focus {
        int index = -1;     // the card that has the focus now; -1 when there is none
        bool moved = false; // the frame moved there: bring it forward, update the toolbar
    };
    struct FirstActivation {
        QList<int> focusOrder; // cards to give the focus, in this order
        bool startFlashing = false;
    };

    // Puts rows in loading order, back to front: ZOrder descending, ties in the order given
    // (the order the data file returned them).
    static void sortForLoading(QList<NoteRecord>& rows);

    // Loads rows in loading order: card p for row p with depth (count - p), so stored
    // depths with gaps or ties become 1..n again. Cards due in the minute of `now` go on
    // the flash list. Returns the rows whose stored ZOrder changed, for writing back.
    QList<Renumbered> load(const QList<NoteRecord>& rows, const QDateTime& now);

    int count() const { return int(m_cards.size()); }
    int visibleCount() const;
    const Card& card(int index) const { return m_cards.at(index); }
    // The card in the focus frame; -1 before any card had the focus.
    int focused() const { return m_focused; }

    // "New": a card at the next index with NewCardDepth; give it the focus next.
    int add(qint64 id);
    // Focus to `index`, or with -1 to the last visible card of depth 1. When the frame
    // moves, the card goes to depth 1 and every card that was in front of it one back.
    Focus focus(int index);
    // "Delete": the card is hidden and every card behind it moves one step forward.
    void remove(int index);

    void markModified(int index);
    // What SaveNotes writes: every visible card's depth, and the text of changed ones.
    QList<SaveItem> saveList() const;
    // `items` were written: their depths are stored and the marks of their texts cleared.
    void saved(const QList<SaveItem>& items);

    // Flashing of the cards due when the window opened.
    const QList<int>& flashList() const { return m_flash; }
    FirstActivation firstActivation();
    // An alarm while the window is open: the visible cards of `due` flash from now on, in
    // place of any that flashed before. Nothing changes when exactly these flash already.
    struct Alarm {
        QList<int> unflash;    // cards that flashed before: paint them pale
        QList<int> focusOrder; // cards to give the focus, in this order; empty: no change
    };
    Alarm alarm(const QList<int>& due);
    bool flashing() const { return m_flashing; }
    // FlashTimer: the flash cards' background for the next half second.
    QRgb flashTick();
    // A click into any card's text: flashing ends; returns the cards to paint pale again.
    QList<int> stopFlashing();

private:
    QList<Card> m_cards;
    int m_focused = -1;
    QList<int> m_flash;
    bool m_flashStarted = false;
    bool m_flashing = false;
    bool m_bright = false;
};
