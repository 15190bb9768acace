// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QTime>

class Clock;
struct ScheduleEditorState;

// A note's alarm: the card's schedule mark, the due test when the window opens, and the
// schedule editor's preset and result (Frequency codes of FiringRules).
namespace NoteSchedule {

// The mark shows for any schedule, except a one-time one whose day has passed (or that
// has no date, so it can never come).
bool markVisible(int frequency, const QDateTime& due, const QDate& today);

// Due in the minute of `now`: the note's alarm fires in that minute by the tick's own
// rules, so a repeating alarm set on an earlier day flashes every time it comes round.
bool dueNow(int frequency, const QDateTime& due, const QDateTime& now);

// An alarm of the open window's card `index`.
struct CardAlarm {
    int index = -1;
    int frequency = 0;
    QDateTime due;
};
// The cards due in any of `minutes` (this minute and those passed over while asleep), in
// the order of `cards`.
QList<int> dueIn(const QList<CardAlarm>& cards, const QList<QDateTime>& minutes);

// What the editor opens with. `choice` is the repeat option (0 daily ... 3 yearly), -1
// when none. A note without SchDT opens on the current minute.
struct EditorPreset {
    QDate date;
    QTime time;
    bool active = false;
    bool oneTime = false;
    int choice = -1;
};
EditorPreset preset(int frequency, const QDateTime& due, const QDateTime& now);

// What a confirmed editor stores: `editorCode` is its frequency code (0 when "Active" is
// cleared), and SchDT is the picked date and minute whatever the code.
struct Stored {
    int frequency = 0;
    QDateTime due;
};
Stored stored(int editorCode, const QDate& date, const QTime& time);

// The schedule editor's state for `preset`: reminder mode, which asks only for the date,
// the time and how often; what is not preset is as for a fresh entry.
ScheduleEditorState editorState(const EditorPreset& preset, const Clock& clock);
// What the editor's confirmed `state` stores.
Stored stored(const ScheduleEditorState& state);

} // namespace NoteSchedule
