// SPDX-License-Identifier: GPL-3.0-or-later
#include "notify/ui/Notices.h"

#include "base/Clock.h"
#include "calendar/EventStore.h"
#include "data/Settings.h"
#include "notify/ReminderList.h"
#include "notify/ui/MessagePopup.h"
#include "notify/ui/Reminder.h"
#include "platform/WindowSystem.h"
#include "shell/ReminderSound.h"
#include "shell/ui/ChimePlayer.h"

Notices::Notices(AppContext& context, ShowTool showTool, OpenCalendar openCalendar, QObject* parent)
    : QObject(parent), m_context(context), m_showTool(std::move(showTool)),
      m_openCalendar(std::move(openCalendar)),
      m_chime(new ChimePlayer(context.paths.helperProgram(QStringLiteral("libplumora_sound.so")),
                              this)) {
    setObjectName(QStringLiteral("Notices"));
}

Notices::~Notices() {
    delete m_reminder.data();
    delete m_popMsg.data();
}

Reminder* Notices::reminder() const {
    return m_reminder;
}

MessagePopup* Notices::popMsg() const {
    return m_popMsg;
}

QString Notices::nothingComingText(int days) {
    if (days <= 0)
        return tr("No events today.");
    if (days == 1)
        return tr("No events in the coming day.");
    return tr("No events in the coming %1 days.").arg(days);
}

void Notices::loadReminder(bool tellWhenEmpty) {
    if (m_reminder)
        return;
    // An empty reminder would only close itself unseen a second later; with nothing to
    // announce no window is built at all, which keeps start-up and idle ticks light.
    ReminderList list = ReminderRules::load(
        m_context.stores.settings, m_context.stores.get<EventStore>(), m_context.clock.today());
    if (list.isEmpty()) {
        if (tellWhenEmpty) {
            const std::optional<Settings> s = m_context.stores.settings.load();
            showPopMessage(nothingComingText(s ? s->notifyAgo : 0), QString());
        }
        return;
    }
    auto* reminder = new Reminder(m_context, std::move(list));
    m_reminder = reminder;
    connect(reminder, &Reminder::shown, this, &Notices::playReminderSound);
    connect(reminder, &Reminder::calendarRequested, this, [this](const QDate& date) {
        if (m_openCalendar)
            m_openCalendar(date);
    });
}

void Notices::playReminderSound() {
    m_chime->play(ReminderSound::prepare(m_context.paths));
}

MessagePopup* Notices::showPopMessage(const QString& text, const QString& action) {
    MessagePopup* msg = m_popMsg;
    if (!msg) {
        msg = new MessagePopup(m_context.windows, m_context.shell, m_showTool);
        m_popMsg = msg;
    }
    // A message on screen is not replaced unseen by the next one with the same action: the
    // new text goes below it (once), and the window stays its full time from now.
    const QString shown = msg->message();
    const bool onScreen = msg->isVisible() && msg->action() == action && !shown.isEmpty();
    if (!m_context.windows.showWindow(msg, false))
        return nullptr;
    msg->setAction(action);
    if (!onScreen)
        msg->setMessage(text);
    else if (!shown.contains(text))
        msg->setMessage(shown + QStringLiteral("\n\n") + text);
    if (onScreen)
        msg->msgTimer().start();
    return msg;
}
