// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ShellTables.h"

#include <array>

namespace MainToolbar {

namespace {
struct Row {
    const char* tip;
    const char* child;
};
// Index 0 is button 1; empty tips are separators.
constexpr std::array<Row, ButtonCount> Rows{{
    {"", ""},
    {"Personal Calendar", "Calendar"},
    {"Quick Notes", "QNotes"},
    {"", ""},
    {"Power Scheduler", "Schedule"},
    {"Quick Access", "QAccess"},
    {"Screen Capture", "SCapture"},
    {"", ""},
    {"Wallpaper Changer", "SSWP"},
    {"Options", "Options"},
    {"", ""},
    {"Reminder", ""},
    {"", ""},
    {"Help", ""},
}};

const Row* row(int button) {
    return button >= 1 && button <= ButtonCount ? &Rows[std::size_t(button - 1)] : nullptr;
}
} // namespace

QString tip(int button) {
    const Row* r = row(button);
    return r ? QString::fromLatin1(r->tip) : QString();
}

bool isSeparator(int button) {
    const Row* r = row(button);
    return r && *r->tip == '\0';
}

bool isTool(int button) {
    const Row* r = row(button);
    return r && *r->child != '\0';
}

QString childName(int button) {
    const Row* r = row(button);
    return r ? QString::fromLatin1(r->child) : QString();
}

int buttonOfChild(const QString& name) {
    for (int b = 1; b <= ButtonCount; ++b) {
        if (isTool(b) && childName(b) == name)
            return b;
    }
    return 0;
}

bool drawsEtchedRule(int button) {
    return button == ScheduleButton || button == QAccessButton || button == SCaptureButton;
}

QList<int> toolButtons() {
    return {CalendarButton, QNotesButton, ScheduleButton, QAccessButton,
            SCaptureButton, SSWPButton,   OptionsButton};
}

} // namespace MainToolbar

namespace TrayMenu {

QString caption(int index) {
    static const std::array<const char*, ItemCount> Captions{"Personal Calendar",
                                                             "Quick Notes",
                                                             "Power Scheduler",
                                                             "Quick Access",
                                                             "Screen Capture",
                                                             "Wallpaper Changer",
                                                             "Options",
                                                             "Show Reminder",
                                                             "Unload Plumora",
                                                             "Help",
                                                             "About",
                                                             "Web"};
    return index >= 0 && index < ItemCount ? QString::fromLatin1(Captions[std::size_t(index)])
                                           : QString();
}

int toolbarButton(int index) {
    using namespace MainToolbar;
    static const std::array<int, 7> Buttons{CalendarButton, QNotesButton,   ScheduleButton,
                                            QAccessButton,  SCaptureButton, SSWPButton,
                                            OptionsButton};
    return index >= 0 && index < int(Buttons.size()) ? Buttons[std::size_t(index)] : 0;
}

QList<QList<int>> groups() {
    // The tool groups of the toolbar, then the reminder, the help entries, and leaving
    // Plumora last, apart from the rest.
    return {{Calendar, QNotes}, {Schedule, QAccess, SCapture},
            {SSWP, Options},    {ShowReminder},
            {Help, About, Web}, {Unload}};
}

} // namespace TrayMenu
