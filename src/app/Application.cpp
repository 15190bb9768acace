#include "app/Application.h"

#include "calendar/HolidayUpdateJob.h"
#include "core/DueEntriesJob.h"
#include "mail/MailAccountSync.h"
#include "mail/MailCheckJob.h"
#include "notify/ReminderJob.h"
#include "platform/MountTable.h"

Application::Application(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_dispatcher(context),
      m_controller(context, m_dispatcher),
      m_notices(
          context, [this](int index) { m_dispatcher.dispatch(index); },
          [this](const QDate& date) {
              m_dispatcher.dispatch(TrayMenu::Calendar);
              m_calendar.showDate(date);
          }),
      m_calendar(m_dispatcher.tools(), context) {
    // "Show Reminder" chosen by the user says when nothing is coming; the reminder that
    // start-up loads through the same command stays silent.
    m_dispatcher.setReminderLoader([this] { m_notices.loadReminder(!m_starting); });
    m_dispatcher.setControllerRelease([this] { m_controller.release(); });
    addJobs();
}

Application::~Application() = default;

void Application::addJobs() {
    m_controller.addStartupJob(
        std::make_unique<MailAccountSync>(m_context.paths.dataFile(), m_context.mail));

    // Once a minute, in this order.
    m_controller.addMinuteJob(std::make_unique<HolidayUpdateJob>(nullptr));
    m_controller.addMinuteJob(std::make_unique<MailCheckJob>(nullptr));
    m_controller.addMinuteJob(
        std::make_unique<ReminderJob>(m_context.clock, [this] { m_notices.loadReminder(); }));
    m_controller.addMinuteJob(std::make_unique<DueEntriesJob>(
        m_context.shell,
        [table = MountTable()](const QString& path) { return table.isFixedLocalDisk(path); },
        [this] { m_dispatcher.dispatch(TrayMenu::QNotes); }));
}

bool Application::start() {
    m_starting = true;
    m_controller.create();
    m_starting = false;
    return m_controller.load();
}
