// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// F1 in every window opens that window's help topic: its TopicProperty when it has one,
// else the window's name (objectName) in lower case + ".htm". The application's event rules
// (AppEventRules) see the key wherever it is typed. The window is the nearest top-level
// window around the focused control, or the nearest widget marked as a window of its own (the
// tools inside the main window carry the property WindowProperty).
class HelpKey {
public:
    static constexpr const char* WindowProperty = "plumoraHelpWindow";
    static constexpr const char* TopicProperty = "plumoraHelpTopic";

    // The topic for F1 typed into `widget`; "index.htm" when its window has no name.
    static QString topicFor(const QWidget* widget);
    // Posts F1 (press and release) to `target`, as the "Help" button and "Content" do.
    static void send(QWidget* target);
};
