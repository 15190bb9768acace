// SPDX-License-Identifier: GPL-3.0-or-later
#include "scheduler/ScheduleEditorState.h"

#include "base/Clock.h"
#include "scheduler/ScheduledCommand.h"
#include "shell/FiringRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QTime minuteOf(const QTime& t) {
    return QTime(t.hour(), t.minute());
}
} // namespace

ScheduleEditorState ScheduleEditorState::fresh(const Clock& clock) {
    ScheduleEditorState s;
    const QDateTime now = clock.now();
    s.date = now.date();
    s.time = minuteOf(now.time());
    return s;
}

ScheduleEditorState ScheduleEditorState::forEntry(const ScheduleRow& row, const Clock& clock) {
    ScheduleEditorState s = fresh(clock);
    s.launchProgram = row.schType == ScheduleType::LaunchProgram;
    if (s.launchProgram)
        s.program = row.launch;
    else
        s.hibernate = row.schType == ScheduleType::ShutDownSystem && row.hibernates();
    if (row.date.isValid() && row.time.isValid()) {
        s.date = row.date;
        s.time = minuteOf(row.time);
    }
    s.active = row.frequency >= FiringRules::OneTime && row.frequency <= FiringRules::Yearly;
    if (row.frequency == FiringRules::OneTime)
        s.oneTime = true;
    else if (row.frequency >= FiringRules::Daily && row.frequency <= FiringRules::Yearly)
        s.freqOption = row.frequency - FiringRules::Daily;
    return s;
}

int ScheduleEditorState::frequency() const {
    if (!active)
        return FiringRules::Inactive;
    if (oneTime)
        return FiringRules::OneTime;
    if (freqOption < 0 || freqOption > 3)
        return FiringRules::Inactive;
    return FiringRules::Daily + freqOption;
}

QColor ScheduleEditorState::launchCaptionColour() const {
    return launchProgram ? QColor(0, 64, 0) : QColor(64, 64, 64);
}

QColor ScheduleEditorState::shutDownCaptionColour() const {
    return launchProgram ? QColor(64, 64, 64) : QColor(128, 0, 0);
}

QString ScheduleEditorState::chooseProgram(const QString& chosen) {
    if (chosen.isEmpty())
        return {};
    const QFileInfo file(chosen);
    if (!file.isFile())
        return QCoreApplication::translate("ScheduleEditorState",
                                           "%1 is not a file, so it cannot be started.")
            .arg(chosen);
    if (!file.isExecutable())
        return QCoreApplication::translate(
                   "ScheduleEditorState",
                   "%1 cannot be started: it is not marked as a program (executable). Choose a "
                   "program, or make the file executable in its properties first.")
            .arg(chosen);
    // Quoted where needed, so arguments typed after it stay apart from the path.
    program = ScheduledCommand::quoted(file.absoluteFilePath());
    return {};
}

QString ScheduleEditorState::programProblem() const {
    return launchProgram && !reminderMode ? ScheduledCommand::problem(program) : QString();
}

QString ScheduleEditorState::dialogStart() const {
    const QString current = ScheduledCommand::split(program).program;
    if (!current.isEmpty() && QFileInfo(current).isFile())
        return current;
    return QDir::homePath();
}

int ScheduleEditorState::reminderShift(int frameTopTwips) {
    return frameTopTwips > ReminderShiftAbove ? ReminderShiftTwips : 0;
}

ScheduleRow ScheduleEditorState::entry(qint64 rowId) const {
    ScheduleRow r;
    r.rowId = rowId;
    r.schType = launchProgram ? ScheduleType::LaunchProgram : ScheduleType::ShutDownSystem;
    r.launch = launchProgram ? program : (hibernate ? QStringLiteral("H") : QStringLiteral(""));
    r.date = date;
    r.time = minuteOf(time);
    r.frequency = frequency();
    return r;
}
