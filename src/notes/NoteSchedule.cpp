// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteSchedule.h"

#include "scheduler/ScheduleEditorState.h"
#include "shell/FiringRules.h"

#include <algorithm>

namespace NoteSchedule {

bool markVisible(int frequency, const QDateTime& due, const QDate& today) {
    if (frequency <= FiringRules::Inactive)
        return false;
    if (frequency == FiringRules::OneTime)
        return due.isValid() && due.date() >= today;
    return true;
}

bool dueNow(int frequency, const QDateTime& due, const QDateTime& now) {
    return frequency > FiringRules::Inactive && due.isValid() &&
           FiringRules::fires(due.date(), due.time(), frequency, now.date(), now.time());
}

EditorPreset preset(int frequency, const QDateTime& due, const QDateTime& now) {
    const QDateTime at = due.isValid() ? due : now;
    EditorPreset p;
    p.date = at.date();
    p.time = QTime(at.time().hour(), at.time().minute());
    p.active = frequency > FiringRules::Inactive;
    p.oneTime = frequency == FiringRules::OneTime;
    if (frequency >= FiringRules::Daily && frequency <= FiringRules::Yearly)
        p.choice = frequency - FiringRules::Daily;
    return p;
}

Stored stored(int editorCode, const QDate& date, const QTime& time) {
    Stored s;
    s.frequency = editorCode >= FiringRules::Inactive && editorCode <= FiringRules::Yearly
                      ? editorCode
                      : FiringRules::Inactive;
    s.due = QDateTime(date, QTime(time.hour(), time.minute()));
    return s;
}

QList<int> dueIn(const QList<CardAlarm>& cards, const QList<QDateTime>& minutes) {
    QList<int> due;
    for (const CardAlarm& c : cards)
        if (std::any_of(minutes.begin(), minutes.end(),
                        [&c](const QDateTime& at) { return dueNow(c.frequency, c.due, at); }))
            due.append(c.index);
    return due;
}

ScheduleEditorState editorState(const EditorPreset& preset, const Clock& clock) {
    ScheduleEditorState state = ScheduleEditorState::fresh(clock);
    state.reminderMode = true;
    state.date = preset.date;
    state.time = preset.time;
    state.active = preset.active;
    state.oneTime = preset.oneTime;
    if (preset.choice >= 0)
        state.freqOption = preset.choice;
    return state;
}

Stored stored(const ScheduleEditorState& state) {
    return stored(state.frequency(), state.date, state.time);
}

} // namespace NoteSchedule
