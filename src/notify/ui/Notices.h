#pragma once

#include "core/AppContext.h"

#include <QDate>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class ChimePlayer;
class PopMsg;
class Reminder;
class SysTray;

// The program's one reference to each notice window: the reminder (tray-menu command 7
// loads it) and the pop-up message. Each is created when first needed and forgotten when
// it closes, so the next use builds a fresh one.
class Notices : public QObject {
    Q_OBJECT
public:
    using ClickMenu = std::function<void(int index)>;
    // Brings up the calendar with `date` selected.
    using OpenCalendar = std::function<void(const QDate& date)>;

    Notices(AppContext& context, ClickMenu clickMenu, OpenCalendar openCalendar,
            QObject* parent = nullptr);
    ~Notices() override;

    // Hands tray-menu command 7 to loadReminder() and a click on the reminder to the
    // calendar (command 0, then the date). Call before the controller's create(), whose
    // start-up loads the reminder.
    static std::unique_ptr<Notices> attach(AppContext& context, SysTray& tray);

    // Loads the reminder; while one is loaded, nothing changes.
    void loadReminder();
    Reminder* reminder() const;

    // The caller's sequence for the pop-up message: show it, set the action, set the text.
    // An open message is reused. Null when the window could not be shown.
    PopMsg* ShowPopMsg(const QString& text, const QString& action);
    PopMsg* popMsg() const;

private:
    void playReminderSound();

    AppContext& m_context;
    ClickMenu m_clickMenu;
    OpenCalendar m_openCalendar;
    ChimePlayer* m_chime;
    QPointer<Reminder> m_reminder;
    QPointer<PopMsg> m_popMsg;
};
