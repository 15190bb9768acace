// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "app/ProgramTools.h"

#include "base/Log.h"
#include "calendar/HolidayUpdateJob.h"
#include "notify/ReminderJob.h"
#include "platform/NetworkStatus.h"
#include "shell/Autostart.h"
#include "shell/DueEntriesJob.h"
#include "shell/MissedEntriesJob.h"
#include "shell/MissedMinutes.h"
#include "shell/ui/AppEventRules.h"
#include "shell/ui/FocusRingStyle.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/UnloadCheck.h"

#include <QCoreApplication>

Application::Application(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_dispatcher(context),
      m_controller(context, m_dispatcher),
      m_notices(
          context, [this](const QString& id) { m_dispatcher.showTool(id); },
          [this](const QDate& date) {
              m_dispatcher.showTool(QStringLiteral("Calendar"));
              if (CalendarTool* calendar = tool<CalendarTool>(QStringLiteral("Calendar")))
                  calendar->showDate(date);
          }) {
    // Every window: Return presses the focused button, a focused button shows its ring, no
    // tooltip stays over a window that opens, and F1 opens the window's help (the dispatcher,
    // made first, has installed the rules already; this says where the program gets them).
    // They rest while no window of the program is active, as in the tray.
    if (AppEventRules* rules = AppEventRules::install())
        rules->setOnlyWhileActive(true);
    FocusRingStyle::install();
    // The minute jobs follow settings and entries as soon as they are written; a resting
    // job is woken by any write. The hub announces one change table by table: the tick
    // reads what it keeps once.
    QObject::connect(&changes(), &ChangeHub::changed, this, [this](const QString& table) {
        m_controller.tick().wakeJobs();
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
    // The program's tools, in their order, each made with its object by its factory; then
    // the shell's own jobs; a tool added later comes after them.
    for (ToolDescriptor& tool : programTools(context))
        registerTool(std::move(tool));
    addJobs();
    m_controller.setCommandRunner(
        [this](const RemoteCommand& command) { return runCommand(command); });
}

Application::~Application() = default;

void Application::addJobs() {
    // Once a minute after the tools' own jobs (the mail check last of them), in this order:
    // the reminder, the due and the missed entries.
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

int Application::addTool(ToolData data, const ToolFactory& make) {
    // The program's own parts are in the schema the stores were made with; an added tool's
    // join it, so that the start-up makes or steps its tables, and the hub and a restore
    // know them. Its stores are in place before its factory runs, as the program's are.
    if (data.addStores)
        data.addStores(m_context.stores.shelf);
    ToolDescriptor tool = make(m_context);
    FileSchema& schema = m_context.stores.schema;
    for (SchemaPart& part : data.schema) {
        if (part.owner.isEmpty())
            part.owner = tool.id;
        changes().addTables(FileSchema({part}).tableNames());
        schema.add(std::move(part));
    }
    return registerTool(std::move(tool));
}

int Application::registerTool(ToolDescriptor tool) {
    // What a tool asks of the shell or tells the user, the same for every tool.
    ToolLink* link = tool.link.get();
    link->tools = &m_dispatcher.tools();
    connect(link, &ToolLink::notice, this, [this](const QString& text, const QString& action) {
        m_notices.showPopMessage(text, action);
    });
    connect(link, &ToolLink::showTool, this,
            [this](const QString& id) { m_dispatcher.showTool(id); });
    connect(link, &ToolLink::loadToolAsked, this,
            [this](const QString& id) { m_dispatcher.loadTool(id); });
    connect(link, &ToolLink::saveOpenWorkAsked, this, &Application::saveOpenWork);
    connect(link, &ToolLink::keepToolAsked, this, &Application::keepTool);
    connect(link, &ToolLink::commandAsked, this,
            [this](const QString& action, const QString& argument) {
                const QString refusal = runCommand({action, argument});
                if (!refusal.isEmpty())
                    m_notices.showPopMessage(refusal, QString());
            });

    if (tool.addJobs)
        tool.addJobs(m_controller);
    if (tool.takeOptionsGroup)
        for (const ToolDescriptor::OptionsGroupFactory& group : std::as_const(m_optionsGroups))
            tool.takeOptionsGroup(group);
    for (const ToolDescriptor::OptionsGroupFactory& group : std::as_const(tool.optionsGroups)) {
        m_optionsGroups << group;
        for (const ToolDescriptor& taker : std::as_const(m_tools))
            if (taker.takeOptionsGroup)
                taker.takeOptionsGroup(group);
    }
    m_dispatcher.tools().addOffers(tool.offers);
    if (tool.dueReader)
        m_controller.tick().addDueReader(tool.dueReader, tool.dueTables);
    m_controller.tick().addDueActions(tool.dueActions);
    m_tools << tool;
    if (!tool.isShown())
        return 0;
    tool.owner.reset();
    return m_dispatcher.tools().add(std::move(tool));
}

void Application::saveOpenWork() {
    for (const ToolDescriptor& tool : std::as_const(m_tools))
        if (tool.saveNow)
            tool.saveNow();
}

void Application::keepTool(int toolbarButton) {
    MainWindow* main = m_dispatcher.mainWindow();
    if (ToolPage* page = main ? main->loadedPage(toolbarButton) : nullptr)
        page->keepEverything();
}

void Application::setImportFiles(const QStringList& files) {
    // The first tool that opens files takes them.
    for (const ToolDescriptor& tool : std::as_const(m_tools))
        if (tool.openFiles) {
            m_controller.setImportFiles(files, tool.openFiles);
            return;
        }
}

QStringList Application::toolNames() const {
    QStringList names;
    for (const ToolDescriptor& tool : m_tools)
        if (tool.isShown() && !tool.commandName.isEmpty())
            names << tool.commandName;
    return names;
}

QString Application::runCommand(const RemoteCommand& command) {
    const QString refusal = command.refusal(toolNames());
    if (!refusal.isEmpty())
        return refusal;
    if (command.action == QLatin1String(RemoteCommand::Show)) {
        for (const ToolDescriptor& tool : std::as_const(m_tools))
            if (tool.isShown() && tool.commandName == command.argument) {
                m_dispatcher.showTool(tool.id);
                return {};
            }
    }
    // The first tool that offers the action takes it.
    for (const ToolDescriptor& tool : std::as_const(m_tools))
        if (const auto action = tool.actions.constFind(command.action);
            action != tool.actions.cend())
            return (*action)(command.argument);
    qCWarning(lcStartup) << "no tool takes the action" << command.action;
    return tr("Plumora cannot do \"%1\".").arg(command.action);
}

bool Application::start() {
    const AppPaths& paths = m_context.paths;
    qCInfo(lcStartup) << "data file:" << paths.dataFile();
    for (const char* resource : {"data.src", "help", "Icons", "reminder.wav"})
        qCInfo(lcStartup) << resource << "from:" << paths.resource(QLatin1String(resource));
    for (const char* helper :
         {"ShutDown", "libplumora_sound.so", "libplumora_print.so", "libplumora_keychain.so",
          "libplumora_ical.so", "libplumora_hunspell.so", "libplumora_net.so"})
        qCInfo(lcStartup) << helper << "from:" << paths.helperProgram(QLatin1String(helper));
    return m_controller.start();
}
