// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scheduler/ScheduleRow.h"

#include <QColor>
#include <QDate>
#include <QString>
#include <QTime>

#include <functional>
#include <optional>

class Clock;
class QWidget;

// The schedule-entry editor apart from its window: what the user set in its controls, and
// everything that follows from it (which controls are enabled or shown, the frequency code,
// whether OK may be pressed). The window copies its controls in, calls these and copies the
// answers back out after every click.
struct ScheduleEditorState {
    // How far reminder mode moves the date and frequency frame up, in twips.
    static constexpr int ReminderShiftTwips = 730;
    static constexpr int ReminderShiftAbove = 1000;

    bool launchProgram = true; // "Launch Program" selected; otherwise "Shut Down System"
    bool hibernate = false;    // "On Hibernation"
    QString program; // the command line to run (ScheduledCommand), kept while shutting down
    QDate date;
    QTime time;
    bool active = true;        // "Active"
    bool oneTime = false;      // "This is a one-time schedule"
    int freqOption = 0;        // "Daily", "Weekly", "Monthly", "Yearly" as 0 ... 3; -1 for none
    bool reminderMode = false; // note alarms: only date, time and frequency are asked

    // A new entry: today at the current minute, "Launch Program", "Active", "Daily".
    static ScheduleEditorState fresh(const Clock& clock);
    // An existing entry. A type other than 1 opens as "Shut Down System"; an entry with an
    // unreadable date keeps the fresh date and time; an inactive or unknown frequency keeps
    // the fresh "Daily".
    static ScheduleEditorState forEntry(const ScheduleRow& row, const Clock& clock);

    // "Frequency" with its options shows unless the entry is one-time.
    bool frequencyVisible() const { return !oneTime; }
    // The code the entry is saved with: 0 inactive, 1 one time, 2 ... 5 for the options
    // (0 when none is selected). frequencyTag() is the same as text.
    int frequency() const;
    QString frequencyTag() const { return QString::number(frequency()); }
    // Date, time, one-time and the frequency options take input only while "Active".
    bool whenEnabled() const { return active; }
    // OK waits for a program unless the entry shuts down or the editor asks for a reminder.
    bool okEnabled() const { return !launchProgram || !program.isEmpty() || reminderMode; }

    // The type options, "Run:" and the program button are hidden in reminder mode.
    bool typeVisible() const { return !reminderMode; }
    // "Run:" and the program button take input only for "Launch Program".
    bool programEnabled() const { return launchProgram; }
    // The Run field's text: the command line, hidden (but kept) while shutting down.
    QString programText() const { return launchProgram ? program : QString(); }
    // Why OK cannot take the command line as it is (ScheduledCommand::problem); empty when it
    // can, and always for a shut-down or a reminder.
    QString programProblem() const;
    bool hibernateVisible() const { return !launchProgram && !reminderMode; }
    QColor launchCaptionColour() const;
    QColor shutDownCaptionColour() const;

    // The file chosen in the program dialog, empty when it was cancelled. An executable
    // regular file becomes the program (quoted when its path needs it), without arguments;
    // anything else leaves the program as it was and is refused with the reason returned
    // (empty when nothing was refused).
    QString chooseProgram(const QString& chosen);
    // Where the program dialog opens: on the current program when it still exists, else in
    // the home folder.
    QString dialogStart() const;

    // Reminder mode moves the date and frequency frame up and shortens the dialog by the
    // same amount, once: only while the frame's top lies below ReminderShiftAbove.
    static int reminderShift(int frameTopTwips);

    // The Schedule row the editor's answers make: type 1 for "Launch Program", else 2;
    // Launch the program, or "H" / "" for hibernate / power off; SchDT to the minute.
    ScheduleRow entry(qint64 rowId = 0) const;
};

// The scheduler's editor as its window offers it to other tools (a note's alarm): shows the
// preset state modally and returns what was confirmed.
using ScheduleEditing = std::function<std::optional<ScheduleEditorState>(
    const ScheduleEditorState& preset, QWidget* parent)>;
// The name it is offered by (ToolDescriptor::offers).
inline const QString ScheduleEditingOffer = QStringLiteral("Schedule.edit");
