// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/AppContext.h"

#include <QDate>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class ChimePlayer;
class MessagePopup;
class Reminder;

// The program's one reference to each notice window: the reminder ("Show Reminder" loads
// it) and the pop-up message. Each is created when first needed and forgotten when
// it closes, so the next use builds a fresh one.
class Notices : public QObject {
    Q_OBJECT
public:
    // Shows a tool's page by its id (a pop-up message's action).
    using ShowTool = std::function<void(const QString& id)>;
    // Brings up the calendar with `date` selected.
    using OpenCalendar = std::function<void(const QDate& date)>;

    Notices(AppContext& context, ShowTool showTool, OpenCalendar openCalendar,
            QObject* parent = nullptr);
    ~Notices() override;

    // Loads the reminder; while one is loaded, nothing changes. When the user asked for it
    // (`tellWhenEmpty`) and nothing is coming, a pop-up message says so; start-up and the
    // tick stay silent.
    void loadReminder(bool tellWhenEmpty = false);

    // The pop-up message's text when nothing is coming within `days` days.
    static QString nothingComingText(int days);
    Reminder* reminder() const;

    // The caller's sequence for the pop-up message: show it, set the action, set the text.
    // An open message is reused; one on screen with the same action keeps its text and shows
    // the new one below it. Null when the window could not be shown.
    MessagePopup* showPopMessage(const QString& text, const QString& action);
    MessagePopup* popMsg() const;

private:
    void playReminderSound();

    AppContext& m_context;
    ShowTool m_showTool;
    OpenCalendar m_openCalendar;
    ChimePlayer* m_chime;
    QPointer<Reminder> m_reminder;
    QPointer<MessagePopup> m_popMsg;
};
