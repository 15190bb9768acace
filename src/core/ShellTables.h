// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// The fixed tables of the main window's toolbar and of the tray menu, shared by the
// windows that show them and by the command dispatcher.
namespace MainToolbar {

// Buttons are numbered by position, 1 to 14, separators included.
inline constexpr int ButtonCount = 14;
enum Button {
    CalendarButton = 2,
    QNotesButton = 3,
    ScheduleButton = 5,
    QAccessButton = 6,
    SCaptureButton = 7,
    SSWPButton = 9,
    OptionsButton = 10,
    ReminderButton = 12,
    HelpButton = 14,
};

// The tool-tip text that selects a button's action; "" for separators and numbers
// outside the toolbar.
QString tip(int button);
bool isSeparator(int button);
// The seven tool buttons that behave as a group.
bool isTool(int button);
// The objectName of the child window of a tool button ("Calendar", "QNotes", ...).
QString childName(int button);
// The tool button that shows a child window, 0 for none.
int buttonOfChild(const QString& childName);
// Power Scheduler, Quick Access and Screen Capture draw an etched rule at their top.
bool drawsEtchedRule(int button);
QList<int> toolButtons();

} // namespace MainToolbar

namespace TrayMenu {

inline constexpr int ItemCount = 12;
enum Index {
    Calendar = 0,
    QNotes = 1,
    Schedule = 2,
    QAccess = 3,
    SCapture = 4,
    SSWP = 5,
    Options = 6,
    ShowReminder = 7,
    Unload = 8,
    Help = 9,
    About = 10,
    Web = 11,
};

// The label caption of a menu index; "" outside 0..11.
QString caption(int index);
// The main window's toolbar button that indexes 0..6 press; 0 for every other index.
int toolbarButton(int index);
// The labels from top to bottom, in groups with a separator line between two groups.
QList<QList<int>> groups();

} // namespace TrayMenu
