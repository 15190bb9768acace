// SPDX-License-Identifier: GPL-3.0-or-later
#include "mock/FakeClock.h"
#include "notes/NoteDeck.h"
#include "notes/NoteGeometry.h"
#include "notes/NoteSave.h"
#include "notes/NoteSchedule.h"
#include "notes/StoredNotes.h"
#include "scheduler/ScheduleEditorState.h"
#include "shell/FiringRules.h"

#include <QTest>

namespace {

const QDateTime Now(QDate(2026, 3, 10), QTime(8, 30, 45));

NoteRecord row(qint64 id, int zOrder, int frequency = 0, QDateTime due = {}) {
    NoteRecord r;
    r.id = id;
    r.zOrder = zOrder;
    r.frequency = frequency;
    r.due = due;
    return r;
}

QList<int> depths(const NoteDeck& deck) {
    QList<int> d;
    for (int i = 0; i < deck.count(); ++i)
        d.append(deck.card(i).visible ? deck.card(i).depth : 0);
    return d;
}

// Cards 0..n-1 loaded at depths n..1, as a window opens.
NoteDeck loaded(int n) {
    QList<NoteRecord> rows;
    for (int i = 0; i < n; ++i)
        rows.append(row(i + 1, n - i));
    NoteDeck deck;
    deck.load(rows, Now);
    return deck;
}

} // namespace

class TestNoteRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadingRenumbers_data() {
        QTest::addColumn<QList<int>>("stored");    // ZOrder of ids 1, 2, 3 ... in table order
        QTest::addColumn<QList<int>>("loadedIds"); // ids in loading order
        QTest::addColumn<QList<int>>("rewritten"); // ids whose ZOrder is written back
        QTest::newRow("ties and gaps")
            << QList<int>{7, 7, 3} << QList<int>{1, 2, 3} << QList<int>{1, 2, 3};
        QTest::newRow("in order already")
            << QList<int>{1, 3, 2} << QList<int>{2, 3, 1} << QList<int>{};
        QTest::newRow("new rows at 0")
            << QList<int>{0, 2, 0} << QList<int>{2, 1, 3} << QList<int>{2, 1, 3};
    }

    void loadingRenumbers() {
        QFETCH(QList<int>, stored);
        QFETCH(QList<int>, loadedIds);
        QFETCH(QList<int>, rewritten);
        QList<NoteRecord> rows;
        for (int i = 0; i < stored.size(); ++i)
            rows.append(row(i + 1, stored.at(i)));
        NoteDeck::sortForLoading(rows);
        QList<int> ids;
        for (const NoteRecord& r : rows)
            ids.append(int(r.id));
        QCOMPARE(ids, loadedIds);

        NoteDeck deck;
        QList<int> written;
        for (const NoteDeck::Renumbered& r : deck.load(rows, Now))
            written.append(int(r.id));
        QCOMPARE(written, rewritten);
        QCOMPARE(depths(deck), (QList<int>{3, 2, 1}));
        QCOMPARE(deck.focused(), -1);
    }

    void dueCardsFlash() {
        const QDateTime sameMinute(Now.date(), QTime(8, 30));
        NoteDeck deck;
        const QDateTime yesterday = sameMinute.addDays(-1);
        deck.load({row(1, 6, FiringRules::OneTime, sameMinute),
                   row(2, 5, FiringRules::OneTime, yesterday),
                   row(3, 4, FiringRules::Daily, yesterday), // comes round again today
                   row(4, 3, FiringRules::Weekly, yesterday),
                   row(5, 2, FiringRules::Inactive, sameMinute),
                   row(6, 1, FiringRules::Daily, sameMinute.addSecs(60))},
                  Now);
        QCOMPARE(deck.flashList(), (QList<int>{0, 2}));

        const NoteDeck::FirstActivation first = deck.firstActivation();
        QCOMPARE(first.focusOrder, (QList<int>{0, 2}));
        QVERIFY(first.startFlashing);
        for (int i : first.focusOrder)
            deck.focus(i);
        QCOMPARE(deck.flashTick(), NoteDeck::FlashYellow);
        QCOMPARE(deck.flashTick(), NoteDeck::PaleYellow);
        QCOMPARE(deck.flashTick(), NoteDeck::FlashYellow);
        // One click into any text stops both.
        QCOMPARE(deck.stopFlashing(), (QList<int>{0, 2}));
        QVERIFY(!deck.flashing());
        QVERIFY(deck.stopFlashing().isEmpty());
        QVERIFY(deck.firstActivation().focusOrder.isEmpty()); // a card has the focus
    }

    void firstActivationWithoutAlarms() {
        NoteDeck deck = loaded(3);
        const NoteDeck::FirstActivation first = deck.firstActivation();
        QCOMPARE(first.focusOrder, QList<int>{2}); // the front-most after loading
        QVERIFY(!first.startFlashing);
        NoteDeck empty;
        empty.load({}, Now);
        QVERIFY(empty.firstActivation().focusOrder.isEmpty());
    }

    void focusDeleteAndNew() {
        NoteDeck deck = loaded(4); // depths 4 3 2 1
        QVERIFY(deck.focus(3).moved);
        const NoteDeck::Focus f = deck.focus(1);
        QVERIFY(f.moved);
        QCOMPARE(depths(deck), (QList<int>{4, 1, 3, 2}));
        QVERIFY(!deck.focus(1).moved); // the frame lies there already: nothing changes
        QCOMPARE(depths(deck), (QList<int>{4, 1, 3, 2}));

        // Deleting the front card: the rest move forward and the new front takes the focus.
        deck.remove(1);
        QCOMPARE(depths(deck), (QList<int>{3, 0, 2, 1}));
        QCOMPARE(deck.focus(-1).index, 3);
        QCOMPARE(deck.visibleCount(), 3);

        // "New": 1000 until its focus brings it in front of all.
        const int added = deck.add(9);
        QCOMPARE(added, 4);
        QCOMPARE(deck.card(added).depth, NoteDeck::NewCardDepth);
        QVERIFY(deck.focus(added).moved);
        QCOMPARE(depths(deck), (QList<int>{4, 0, 3, 2, 1}));

        // A deleted card can take no focus, and the last delete leaves none to focus.
        QCOMPARE(deck.focus(1).index, -1);
        for (int i : {0, 2, 3, 4})
            deck.remove(i);
        QCOMPARE(deck.focus(-1).index, -1);
    }

    void savingWritesChangedTextOnly() {
        NoteDeck deck = loaded(3);
        deck.markModified(1);
        deck.markModified(2);
        deck.remove(2);
        const QList<NoteDeck::SaveItem> items = deck.saveList();
        QCOMPARE(items.size(), 2);                // the deleted card is not written
        QCOMPARE(items.at(0).textChanged, false); // moved or not, its Content stays
        QCOMPARE(items.at(1).textChanged, true);
        QCOMPARE(items.at(1).zOrder, 1);
        deck.saved(items);
        for (const NoteDeck::SaveItem& item : deck.saveList())
            QVERIFY(!item.textChanged);
    }

    void grip_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<bool>("resize");
        // Card 3600 x 2700: the grip is x > 3480 and y > 2580.
        QTest::newRow("120 from the right edge") << QPoint(3480, 2650) << false;
        QTest::newRow("119 from both edges") << QPoint(3481, 2581) << true;
        QTest::newRow("120 from the bottom") << QPoint(3590, 2580) << false;
        QTest::newRow("header") << QPoint(100, 100) << false;
    }

    void grip() {
        QFETCH(QPoint, press);
        QFETCH(bool, resize);
        QCOMPARE(NoteGeometry::dragAt(press, QSize(3600, 2700)) == NoteGeometry::Drag::Resize,
                 resize);
    }

    void resizing_data() {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QSize>("size"); // invalid: unchanged
        QTest::newRow("width 250") << QPoint(250, 1000) << QSize();
        QTest::newRow("width 251") << QPoint(251, 1000) << QSize(251, 1000);
        QTest::newRow("height 350") << QPoint(1000, 350) << QSize();
        QTest::newRow("height 351") << QPoint(1000, 351) << QSize(1000, 351);
    }

    void resizing() {
        QFETCH(QPoint, pointer);
        QFETCH(QSize, size);
        QCOMPARE(NoteGeometry::resizedTo(pointer).value_or(QSize()), size);
    }

    void releaseKeepsCardOnScreen_data() {
        QTest::addColumn<QRect>("card");
        QTest::addColumn<QPoint>("kept");
        // Screen 1280 x 720 pixels: 19200 x 10800 twips.
        QTest::newRow("top 100") << QRect(500, 100, 3600, 2700) << QPoint(500, 380);
        QTest::newRow("beyond the right edge")
            << QRect(17000, 1000, 3600, 2700) << QPoint(15590, 1000);
        QTest::newRow("left of the window") << QRect(-50, 1000, 3600, 2700) << QPoint(0, 1000);
        QTest::newRow("below the bottom") << QRect(500, 9000, 3600, 2700) << QPoint(500, 6090);
        QTest::newRow("taller than the room") << QRect(500, 500, 3600, 10000) << QPoint(500, 380);
        QTest::newRow("inside") << QRect(500, 1000, 3600, 2700) << QPoint(500, 1000);
    }

    void releaseKeepsCardOnScreen() {
        QFETCH(QRect, card);
        QFETCH(QPoint, kept);
        QCOMPARE(NoteGeometry::keptOnScreen(card, QSize(19200, 10800)), kept);
    }

    void newCardPlace_data() {
        QTest::addColumn<QRect>("focused"); // invalid: no visible focused card
        QTest::addColumn<QSize>("mainWindow");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("cascade") << QRect(1000, 1000, 3600, 2700) << QSize() << QPoint(1200, 1200);
        QTest::newRow("cascade at the right limit")
            << QRect(15500, 6000, 3600, 2700) << QSize() << QPoint(15590, 6090);
        QTest::newRow("centred") << QRect() << QSize(12000, 9000) << QPoint(4170, 2100);
        QTest::newRow("window too small") << QRect() << QSize(3000, 3000) << QPoint(0, 400);
    }

    void newCardPlace() {
        QFETCH(QRect, focused);
        QFETCH(QSize, mainWindow);
        QFETCH(QPoint, place);
        const std::optional<QRect> f = focused.isValid() ? std::optional(focused) : std::nullopt;
        QCOMPARE(NoteGeometry::newCardPlace(f, QSize(3600, 2700), mainWindow, QSize(19200, 10800)),
                 place);
    }

    void headerDate() {
        QCOMPARE(NoteGeometry::dateText(QDate(2026, 3, 5)), QStringLiteral("March 05, 2026"));
    }

    void scheduleMark_data() {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QDateTime>("due");
        QTest::addColumn<bool>("shown");
        const QDateTime past(QDate(2026, 3, 9), QTime(23, 59));
        QTest::newRow("one-time, past") << int(FiringRules::OneTime) << past << false;
        QTest::newRow("one-time, today")
            << int(FiringRules::OneTime) << QDateTime(Now.date(), QTime(0, 0)) << true;
        QTest::newRow("weekly, past") << int(FiringRules::Weekly) << past << true;
        QTest::newRow("not scheduled") << int(FiringRules::Inactive) << Now << false;
        QTest::newRow("one-time, no date") << int(FiringRules::OneTime) << QDateTime() << false;
    }

    void scheduleMark() {
        QFETCH(int, frequency);
        QFETCH(QDateTime, due);
        QFETCH(bool, shown);
        QCOMPARE(NoteSchedule::markVisible(frequency, due, Now.date()), shown);
    }

    void scheduleEditor() {
        const QDateTime due(QDate(2026, 4, 1), QTime(9, 15));
        const NoteSchedule::EditorPreset weekly = NoteSchedule::preset(3, due, Now);
        QVERIFY(weekly.active && !weekly.oneTime);
        QCOMPARE(weekly.choice, 1);
        QCOMPARE(QDateTime(weekly.date, weekly.time), due);
        // A note never scheduled opens on the current minute.
        const NoteSchedule::EditorPreset fresh = NoteSchedule::preset(0, QDateTime(), Now);
        QVERIFY(!fresh.active);
        QCOMPARE(QDateTime(fresh.date, fresh.time), QDateTime(Now.date(), QTime(8, 30)));

        // "Active" cleared: Frequency 0, SchDT as picked.
        const NoteSchedule::Stored off = NoteSchedule::stored(0, due.date(), QTime(9, 15, 30));
        QCOMPARE(off.frequency, 0);
        QCOMPARE(off.due, due);

        // The editor opens in reminder mode on the preset, and what it confirms is stored
        // with its frequency code and minute.
        FakeClock clock(Now);
        ScheduleEditorState state = NoteSchedule::editorState(weekly, clock);
        QVERIFY(state.reminderMode && state.active && !state.oneTime);
        QCOMPARE(state.freqOption, 1);
        QCOMPARE(QDateTime(state.date, state.time), due);
        QCOMPARE(NoteSchedule::stored(state).frequency, FiringRules::Weekly);
        state.oneTime = true;
        state.time = QTime(9, 15, 40);
        QCOMPARE(NoteSchedule::stored(state).frequency, FiringRules::OneTime);
        QCOMPARE(NoteSchedule::stored(state).due, due);
        // No repeat option preset keeps the fresh "Daily".
        QCOMPARE(NoteSchedule::editorState(fresh, clock).freqOption, 0);
    }

    // A save writes the notes whose text, depth or place changed: the depth always, the
    // text and the place only when they changed.
    void whatASaveWrites() {
        const QList<NoteDeck::SaveItem> list{{0, 11, 3, false, false},
                                             {1, 12, 2, true, false},
                                             {2, 13, 1, false, true},
                                             {3, 14, 4, false, false}};
        const QRect moved(300, 300, 3600, 2700);
        const auto movedTo = [&](int index) {
            return index == 3 ? std::optional(moved) : std::nullopt;
        };
        QList<int> textsAsked;
        const NoteSave::Pending p = NoteSave::pending(list, movedTo, [&](int index) {
            textsAsked << index;
            return QStringLiteral("{\\rtf1 %1}").arg(index);
        });
        QCOMPARE(textsAsked, QList<int>{1});
        QCOMPARE(p.items.size(), 3);
        QCOMPARE(p.writes.size(), 3);
        QCOMPARE(p.writes[0].id, 12);
        QCOMPARE(p.writes[0].zOrder, 2);
        QCOMPARE(p.writes[0].content, QStringLiteral("{\\rtf1 1}"));
        QVERIFY(!p.writes[0].geometry);
        QCOMPARE(p.writes[1].id, 13);
        QVERIFY(!p.writes[1].content && !p.writes[1].geometry);
        QCOMPARE(p.writes[2].id, 14);
        QCOMPARE(p.writes[2].geometry, moved);
        QCOMPARE(p.items[2].index, 3);

        QVERIFY(NoteSave::unsaved(list, movedTo));
        const auto still = [](int) { return std::optional<QRect>(); };
        QVERIFY(!NoteSave::unsaved({list[0]}, still));
        QVERIFY(NoteSave::unsaved({list[3]}, movedTo));
        QVERIFY(NoteSave::pending({list[0]}, still, {}).writes.isEmpty());
    }

    // An alarm flashes the cards due in this minute or in any minute passed over.
    void cardsDueIn() {
        const QDateTime at(QDate(2026, 3, 10), QTime(8, 30));
        const QList<NoteSchedule::CardAlarm> cards{
            {0, FiringRules::Daily, QDateTime(QDate(2026, 3, 1), QTime(8, 30))},
            {2, FiringRules::OneTime, QDateTime(QDate(2026, 3, 10), QTime(8, 29))},
            {3, FiringRules::Inactive, at},
            {5, FiringRules::OneTime, at}};
        QCOMPARE(NoteSchedule::dueIn(cards, {at}), (QList<int>{0, 5}));
        QCOMPARE(NoteSchedule::dueIn(cards, {at.addSecs(-60), at.addSecs(45)}),
                 (QList<int>{0, 2, 5}));
        QVERIFY(NoteSchedule::dueIn(cards, {at.addSecs(60)}).isEmpty());
    }

    // The page's own writes leave the table as it knows it; anyone else's change shows.
    void storedNotesTellOwnWritesFromOthers() {
        QList<NoteRecord> rows{row(1, 2, FiringRules::Daily, Now), row(2, 1)};
        rows[0].content = QStringLiteral("{\\rtf1 a}");
        rows[0].geometry = QRect(100, 100, 3600, 2700);
        StoredNotes stored;
        stored.load(rows);
        QVERIFY(!stored.differs(rows));

        // Own writes: text, depth, place, alarm, a new note, a deleted one.
        rows[0].content = QStringLiteral("{\\rtf1 b}");
        rows[0].zOrder = 1;
        rows[1].geometry = QRect(200, 200, 3600, 2700);
        stored.written({{1, 1, rows[0].content, std::nullopt},
                        {2, std::nullopt, std::nullopt, rows[1].geometry}});
        rows[1].frequency = FiringRules::OneTime;
        rows[1].due = QDateTime(Now.date(), QTime(8, 30));
        stored.scheduled(2, FiringRules::OneTime, Now); // the table keeps the minute
        NoteRecord added = row(3, NoteDeck::NewCardDepth);
        rows.append(added);
        stored.added(added);
        QVERIFY(!stored.differs(rows));
        rows.removeFirst();
        stored.removed(1);
        QVERIFY(!stored.differs(rows));

        // Anyone else's: each column the page shows, a row added or gone.
        const auto changed = [&](const std::function<void(QList<NoteRecord>&)>& change) {
            QList<NoteRecord> other = rows;
            change(other);
            return stored.differs(other);
        };
        QVERIFY(changed([](auto& r) { r[0].content = QStringLiteral("{\\rtf1 c}"); }));
        QVERIFY(changed([](auto& r) { r[1].content = QString(""); })); // null before
        QVERIFY(changed([](auto& r) { r[0].zOrder = 7; }));
        QVERIFY(changed([](auto& r) { r[0].geometry.translate(15, 0); }));
        QVERIFY(changed([](auto& r) { r[0].frequency = FiringRules::Weekly; }));
        QVERIFY(changed([](auto& r) { r[0].due = QDateTime(); }));
        QVERIFY(changed([](auto& r) { r.append(row(9, 1)); }));
        QVERIFY(changed([](auto& r) { r.removeLast(); }));
        QVERIFY(changed([](auto& r) { r[1].id = 9; }));
    }
};

QTEST_GUILESS_MAIN(TestNoteRules)
#include "tst_noterules.moc"
