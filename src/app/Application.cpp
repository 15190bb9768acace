// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "app/ProgramTools.h"

#include "base/Log.h"
#include "calendar/HolidayUpdateJob.h"
#include "mail/ui/MailDescriptor.h"
#include "notes/NoteDueReader.h"
#include "notify/ReminderJob.h"
#include "platform/MountTable.h"
#include "platform/NetworkStatus.h"
#include "quickaccess/ui/QuickAccessPage.h"
#include "scheduler/ScheduleDueReader.h"
#include "scheduler/ui/ScheduleEditor.h"
#include "shell/Autostart.h"
#include "shell/DueEntriesJob.h"
#include "shell/MissedEntriesJob.h"
#include "shell/MissedMinutes.h"
#include "shell/ui/AppEventRules.h"
#include "shell/ui/FocusRingStyle.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/UnloadCheck.h"
#include "wallpaper/ui/WallpaperChanger.h"

#include <QCoreApplication>
#include <QTimer>

Application::Application(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_dispatcher(context),
      m_controller(context, m_dispatcher),
      m_notices(
          context, [this](const QString& id) { m_dispatcher.showTool(id); },
          [this](const QDate& date) {
              m_dispatcher.showTool(QStringLiteral("Calendar"));
              m_calendar.showDate(date);
          }),
      // The tools that make and keep their pages.
      m_calendar(context,
                 [this](const QString& text) { m_notices.showPopMessage(text, QString()); }),
      m_notes(context, &ScheduleEditor::edit), m_schedule(context), m_capture(context),
      m_options(m_dispatcher.tools(), context, [this](int button) { keepTool(button); }),
      m_mailWatch(context, [this](const QString& text, const QString& action) {
          m_notices.showPopMessage(text, action);
      }) {
    // Every window: Return presses the focused button, a focused button shows its ring, and
    // no tooltip stays over a window that opens.
    AppEventRules::install();
    FocusRingStyle::install();
    // The minute jobs follow settings and entries as soon as they are written.
    // The hub announces one change table by table: the tick reads what it keeps once.
    QObject::connect(&changes(), &ChangeHub::changed, this, [this](const QString& table) {
        if (!m_controller.tick().keeps(table) || std::exchange(m_tickRereadAsked, true))
            return;
        QMetaObject::invokeMethod(
            this,
            [this, table] {
                m_tickRereadAsked = false;
                m_controller.tick().tableChanged(table);
            },
            Qt::QueuedConnection);
    });
    // The question about removals from the server is answered in Options: a click on it opens
    // them.
    m_calendar.sync().setAsk(
        [this](const QString& text) { m_notices.showPopMessage(text, QStringLiteral("Options")); });
    // "Show Reminder" chosen by the user says when nothing is coming; the reminder that
    // start-up loads stays silent.
    connect(&m_dispatcher, &CommandDispatcher::reminderChosen, this,
            [this] { m_notices.loadReminder(true); });
    connect(&m_controller, &TrayController::startupReminderDue, this,
            [this] { m_notices.loadReminder(false); });
    connect(&m_dispatcher, &CommandDispatcher::releasing, &m_controller, &TrayController::release);
    // Unsaved work is never dropped without the user's word.
    connect(&m_dispatcher, &CommandDispatcher::unloadConfirmed, this, [this](bool* stay) {
        *stay = *stay || !UnloadCheck::confirm(m_dispatcher.mainWindow(), m_context.dialogs);
    });
    connect(&m_notes, &NotesTool::notice, this,
            [this](const QString& text) { m_notices.showPopMessage(text, QString()); });
    // The program's tools, in their order, with the pages and jobs their objects give; then
    // the mail watch and the shell's own jobs; a tool added later comes after them.
    const auto showNotes = [this] { m_dispatcher.showTool(QStringLiteral("QNotes")); };
    ProgramParts parts{
        .calendar = pagesOf(m_calendar),
        .notes = pagesOf(m_notes),
        .schedule = pagesOf(m_schedule),
        .quickAccess = QuickAccessPage::pages(context),
        .capture = pagesOf(m_capture),
        .wallpaper = WallpaperChanger::pages(context),
        .options = pagesOf(m_options),
        .calendarJobs = [this](TrayController& c) { m_calendar.addJobs(c); },
        .calendarOptions = [this](QWidget* owner) { return m_calendar.makeOptionsGroup(owner); },
        .notesDue = {{QLatin1String(NoteAlarmAction),
                      noteAlarmAction([this, showNotes] { m_notes.alarm(showNotes); },
                                      [this, showNotes](const QList<QDateTime>& at) {
                                          m_notes.lateAlarm(showNotes, at);
                                      })}},
        // Open work is saved before a shut-down entry starts the helper.
        .scheduleDue = scheduleDueActions(
            context.shell,
            [table = MountTable()](const QString& path) { return table.isFixedLocalDisk(path); },
            [this] { m_notes.saveNow(); })};
    for (ToolDescriptor& tool : programTools(std::move(parts)))
        registerTool(std::move(tool));
    addJobs();
}

Application::~Application() = default;

void Application::addJobs() {
    // Once a minute after the tools' own jobs, in this order: the mail check, the reminder,
    // the due and the missed entries.
    registerTool(mailDescriptor(m_mailWatch));
    auto reminder =
        std::make_unique<ReminderJob>(m_context.clock, [this] { m_notices.loadReminder(); });
    reminder->setShownTest([this] { return m_notices.reminder() != nullptr; });
    m_controller.addMinuteJob(std::move(reminder));
    m_controller.addMinuteJob(std::make_unique<DueEntriesJob>());
    // After it, so that notes due now and notes due while asleep flash together.
    m_controller.addMinuteJob(std::make_unique<MissedEntriesJob>());
    m_controller.tick().setMissedNotice([this](const QStringList& lines) {
        m_notices.showPopMessage(MissedMinutes::notice(lines), QString());
    });

    m_controller.addStartupJob(std::make_unique<AutostartOnFirstRun>(
        Autostart::forUser(QStringLiteral(PLUMORA_APP_ID), QCoreApplication::applicationFilePath()),
        m_context.registry, m_context.paths.isInstalledCopy()));
}

int Application::addTool(ToolDescriptor tool) {
    // The program's own parts are in the schema the stores were made with; an added tool's
    // join it, so that the start-up makes or steps its tables, and the hub and a restore
    // know them.
    FileSchema& schema = m_context.stores.schema;
    for (SchemaPart& part : tool.schema) {
        if (part.owner.isEmpty())
            part.owner = tool.id;
        changes().addTables(FileSchema({part}).tableNames());
        schema.add(std::move(part));
    }
    tool.schema.clear();
    return registerTool(std::move(tool));
}

int Application::registerTool(ToolDescriptor tool) {
    if (tool.addJobs)
        tool.addJobs(m_controller);
    if (tool.optionsGroup)
        m_options.addGroup(tool.optionsGroup);
    if (tool.dueReader)
        m_controller.tick().addDueReader(tool.dueReader, tool.dueTables);
    m_controller.tick().addDueActions(tool.dueActions);
    return tool.isShown() ? m_dispatcher.tools().add(std::move(tool)) : 0;
}

void Application::keepTool(int toolbarButton) {
    MainWindow* main = m_dispatcher.mainWindow();
    if (ToolPage* page = main ? main->loadedPage(toolbarButton) : nullptr)
        page->keepEverything();
}

void Application::setImportFiles(const QStringList& files) {
    m_controller.setImportFiles(
        files, [this](const QStringList& paths, const SingleInstance::Answer& answer) {
            m_calendar.importQuietly(m_context, paths,
                                     [this, answer](const CalendarTool::ImportSummary& summary) {
                                         // The answer goes back before the calendar and the summary
                                         // show: their event loops must not run while a second
                                         // start still waits on the socket.
                                         answer(summary.refusal);
                                         QTimer::singleShot(0, this, [this, summary] {
                                             m_dispatcher.showTool(QStringLiteral("Calendar"));
                                             m_calendar.showImportSummary(m_context, summary);
                                         });
                                     });
        });
}

bool Application::start() {
    const AppPaths& paths = m_context.paths;
    qCInfo(lcStartup) << "data file:" << paths.dataFile();
    for (const char* resource : {"data.src", "help", "Icons", "reminder.wav"})
        qCInfo(lcStartup) << resource << "from:" << paths.resource(QLatin1String(resource));
    for (const char* helper : {"ShutDown", "libplumora_sound.so", "libplumora_print.so",
                               "libplumora_keychain.so", "libplumora_ical.so"})
        qCInfo(lcStartup) << helper << "from:" << paths.helperProgram(QLatin1String(helper));
    return m_controller.start();
}
