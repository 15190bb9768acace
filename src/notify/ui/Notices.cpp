#include "notify/ui/Notices.h"

#include "calendar/ui/Calendar.h"
#include "core/Clock.h"
#include "core/ui/PLM.h"
#include "core/ui/SysTray.h"
#include "notify/ReminderList.h"
#include "notify/ReminderSound.h"
#include "notify/ui/ChimePlayer.h"
#include "notify/ui/PopMsg.h"
#include "notify/ui/Reminder.h"
#include "platform/Platform.h"

Notices::Notices(AppContext& context, ClickMenu clickMenu, OpenCalendar openCalendar,
                 QObject* parent)
    : QObject(parent), m_context(context), m_clickMenu(std::move(clickMenu)),
      m_openCalendar(std::move(openCalendar)), m_chime(new ChimePlayer(this)) {
    setObjectName(QStringLiteral("Notices"));
}

Notices::~Notices() {
    delete m_reminder.data();
    delete m_popMsg.data();
}

std::unique_ptr<Notices> Notices::attach(AppContext& context, SysTray& tray) {
    auto openCalendar = [&tray](const QDate& date) {
        tray.ClickMenu(TrayMenu::Calendar);
        PLM* plm = tray.shell().mainWindow();
        const QString name = MainToolbar::childName(MainToolbar::CalendarButton);
        auto* calendar = plm ? qobject_cast<Calendar*>(plm->loadedChild(name)) : nullptr;
        if (!calendar)
            return;
        calendar->setSelectedDate(date);
        calendar->ReDrawCal(true);
    };
    auto notices = std::make_unique<Notices>(
        context, [&tray](int index) { tray.ClickMenu(index); }, openCalendar);
    tray.shell().setReminderLoader([n = QPointer<Notices>(notices.get())] {
        if (n)
            n->loadReminder();
    });
    return notices;
}

Reminder* Notices::reminder() const {
    return m_reminder;
}

PopMsg* Notices::popMsg() const {
    return m_popMsg;
}

void Notices::loadReminder() {
    if (m_reminder)
        return;
    // An empty reminder would only close itself unseen a second later; with nothing to
    // announce no window is built at all, which keeps start-up and idle ticks light.
    ReminderList list = ReminderRules::load(m_context.paths.dataFile(), m_context.clock.today());
    if (list.isEmpty())
        return;
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

PopMsg* Notices::ShowPopMsg(const QString& text, const QString& action) {
    PopMsg* msg = m_popMsg;
    if (!msg) {
        msg = new PopMsg(m_context.platform, m_clickMenu);
        m_popMsg = msg;
    }
    if (!m_context.platform.ShowFormSafely(msg, false))
        return nullptr;
    msg->setAction(action);
    msg->setMessage(text);
    return msg;
}
