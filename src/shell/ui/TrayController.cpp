// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/TrayController.h"

#include "base/Clock.h"
#include "base/IdlePath.h"
#include "base/Log.h"
#include "data/SettingsCheck.h"
#include "platform/Dialogs.h"
#include "platform/NetworkStatus.h"
#include "platform/Registry.h"
#include "platform/StatusNotifierItem.h"
#include "platform/WindowSystem.h"
#include "platform/X11TrayWatch.h"
#include "shell/ShellTables.h"
#include "shell/TrayClicks.h"
#include "shell/TrayMenuEntries.h"
#include "shell/ui/AppIcon.h"
#include "shell/ui/CommandDispatcher.h"
#include "shell/ui/Menu.h"

#include <QMetaMethod>
#include <QPointer>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStyleHints>

#include <cstdio>
#include <exception>
#include <malloc.h>

namespace {
constexpr int TickInterval = 60000;
const QString& RegistryRoot = RegistryKeys::CurrentUser;
const QString& RegistryKey = RegistryKeys::Plumora;
const QString NoTrayShown = QStringLiteral("NoTrayNoticeShown");
} // namespace

TrayController::TrayController(AppContext& context, CommandDispatcher& dispatcher, QObject* parent)
    : QObject(parent), m_context(context), m_dispatcher(dispatcher),
      m_instance(context.paths.programFolder()),
      m_tick(context.clock, context.paths,
             [&network = context.network] { return network.isOnline(); }) {
    setObjectName(QStringLiteral("SysTray"));
    m_tick.setChanges(&context.stores.changes);
    m_timer.setObjectName(QStringLiteral("PLMTimer"));
    m_timer.setInterval(TickInterval);
    // Each tick is aimed just past a minute boundary; a coarse timer may come early.
    m_timer.setTimerType(Qt::PreciseTimer);
    // Each tick arms the next: a running timer started again is first stopped, a second
    // round through the event dispatcher on every wake.
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TrayController::onTimer);
}

TrayController::~TrayController() = default;

QStringList TrayController::startupJobNames() const {
    QStringList names;
    for (const auto& job : m_startupJobs)
        names << QLatin1String(job->name());
    return names;
}

void TrayController::addStartupJob(std::unique_ptr<StartupJob> job) {
    m_startupJobs.push_back(std::move(job));
}

void TrayController::create() {
    m_suppressNextButtonUp = false;
    const SettingsCheck::Result checked =
        SettingsCheck(m_context.paths, m_context.stores.schema, &m_context.stores.changes).run();
    if (!checked.unreadable.isEmpty())
        m_context.dialogs.messageBox(
            unreadableDataFileMessage(m_context.paths.dataFile(), checked.unreadable),
            QStringLiteral("Plumora"), MessageButtons::Ok, MessageIcon::Warning);
    if (checked.readOnly && checked.unreadable.isEmpty())
        m_context.dialogs.messageBox(readOnlyDataFileMessage(m_context.paths.dataFile()),
                                     QStringLiteral("Plumora"), MessageButtons::Ok,
                                     MessageIcon::Warning);
    if (!checked.cleanupMessage.isEmpty())
        m_context.dialogs.messageBox(checked.cleanupMessage, QStringLiteral("Plumora"),
                                     MessageButtons::Ok, MessageIcon::Warning);
    if (checked.firstRun)
        m_dispatcher.dispatch(TrayMenu::Help);
    for (const auto& job : m_startupJobs) {
        try {
            job->run();
        } catch (const std::exception& e) {
            qCWarning(lcStartup) << "start-up job" << job->name() << "failed:" << e.what();
        } catch (...) {
            qCWarning(lcStartup) << "start-up job" << job->name() << "failed";
        }
    }
    m_tick.invalidateCache();
    if (isSignalConnected(QMetaMethod::fromSignal(&TrayController::startupReminderDue)))
        Q_EMIT startupReminderDue();
    else
        m_dispatcher.dispatch(TrayMenu::ShowReminder);
}

int TrayController::handOverImport() {
    // A file this start cannot read is refused here, with the reason, before anything goes
    // over: the running copy would only find the same.
    for (const QString& path : std::as_const(m_importFiles)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "%s\n",
                         qPrintable(tr("Cannot import %1: %2").arg(path, file.errorString())));
            return 1;
        }
    }
    const SingleInstance::ImportAnswer answer = m_instance.askRunningCopyToImport(m_importFiles);
    switch (answer.kind) {
    case SingleInstance::ImportAnswer::Imported:
        std::fprintf(stderr, "%s\n",
                     qPrintable(tr("The running copy of Plumora was handed the files to import "
                                   "and imported them.")));
        return 0;
    case SingleInstance::ImportAnswer::Refused:
        std::fprintf(stderr, "%s\n", qPrintable(answer.reason));
        return 1;
    case SingleInstance::ImportAnswer::Silent:
        std::fprintf(stderr, "%s\n",
                     qPrintable(tr("The running copy of Plumora was handed the files to import "
                                   "but did not say whether it imported them.")));
        return 1;
    case SingleInstance::ImportAnswer::Unreachable:
        break;
    }
    std::fprintf(
        stderr, "%s\n",
        qPrintable(tr("The running copy of Plumora could not be reached; nothing was imported.")));
    return 1;
}

namespace {
// How long a later start waits for the running copy to take its action.
constexpr int CommandTimeoutMs = 5000;
} // namespace

int TrayController::handOverCommand() {
    const SingleInstance::CommandReply reply =
        m_instance.askRunningCopy(m_command->encode(), CommandTimeoutMs);
    if (!reply.reached) {
        std::fprintf(
            stderr, "%s\n",
            qPrintable(tr("The running copy of Plumora could not be reached; nothing was done.")));
        return 1;
    }
    const std::optional<RemoteCommand::Answer> answer = RemoteCommand::decodeAnswer(reply.answer);
    if (!answer) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(tr("The running copy of Plumora did not answer within %1 seconds.")
                                    .arg(CommandTimeoutMs / 1000)));
        return 1;
    }
    if (!answer->done) {
        std::fprintf(stderr, "%s\n", qPrintable(answer->refusal));
        return 1;
    }
    return 0;
}

QByteArray TrayController::answerCommand(const QByteArray& request) {
    const std::optional<RemoteCommand> command = RemoteCommand::decode(request);
    if (!command) {
        qCWarning(lcStartup) << "a damaged command came over the one-copy socket";
        return RemoteCommand::encodeAnswer(tr("Plumora could not read the request."));
    }
    if (!m_runCommand)
        return RemoteCommand::encodeAnswer(tr("Plumora takes no actions here."));
    return RemoteCommand::encodeAnswer(m_runCommand(*command));
}

bool TrayController::claim() {
    if (m_instance.acquire() == SingleInstance::Outcome::HeldByAnother) {
        if (m_command) {
            m_secondStartStatus = handOverCommand();
            return false;
        }
        if (!m_importFiles.isEmpty()) {
            m_secondStartStatus = handOverImport();
            return false;
        }
        const bool shown = m_instance.askRunningCopyToShow();
        const QString folder = QDir::toNativeSeparators(m_context.paths.programFolder());
        std::fprintf(stderr, "%s\n",
                     qPrintable((shown ? tr("Plumora is already running for %1 (lock %2); it was "
                                            "asked to show its window.")
                                       : tr("Plumora is already running for %1 (lock %2)."))
                                    .arg(folder, m_instance.lockPath())));
        return false;
    }
    // A later start from the same folder asks this copy to show itself.
    m_instance.listen([this] { m_dispatcher.showFirstTool(); });
    m_instance.setImportHandler(
        [this](const QStringList& files, const SingleInstance::Answer& answer) {
            if (!m_import)
                return answer(tr("Plumora cannot import files here."));
            m_import(files, answer);
        });
    m_instance.setCommandHandler(
        [this](const QByteArray& request, const SingleInstance::Reply& reply) {
            reply(answerCommand(request));
        });
    return true;
}

bool TrayController::start() {
    if (!claim())
        return false;
    // The icon goes up before anything else. Whether a tray took it is asked afterwards:
    // that question costs a round trip to the desktop.
    addTrayIcon();
    QGuiApplication::sync();
    QTimer::singleShot(0, this, [this] {
        create();
        if (m_icon && !QSystemTrayIcon::isSystemTrayAvailable()) {
            delete m_icon;
            m_icon = nullptr;
        }
        m_timer.start(m_tick.msUntilNextTick());
        if (!m_importFiles.isEmpty() && m_import)
            m_import(std::exchange(m_importFiles, {}), [](const QString&) {});
        if (m_command && m_runCommand) {
            const QString refusal = m_runCommand(*std::exchange(m_command, std::nullopt));
            if (!refusal.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(refusal));
                qCWarning(lcStartup) << "the command line's action was refused:" << refusal;
            }
        }
        // A watcher that took the item answers on its own time; a watcher on the bus is
        // a tray.
        if (!m_icon && !(m_sni && m_sni->watcherPresent()))
            tellNoTrayOnce();
        exportMenuPictures();
        // What start-up read and freed (the data file, the reminder's list) goes back to
        // the system rather than sitting in the heap for the rest of the session.
        malloc_trim(0);
    });
    return true;
}

void TrayController::handleTrayMessage(int message) {
    switch (TrayClicks::handle(message, m_suppressNextButtonUp)) {
    case TrayClicks::Action::ShowMenu:
        m_dispatcher.showMenu();
        break;
    case TrayClicks::Action::OpenCalendar:
        m_dispatcher.showFirstTool();
        break;
    case TrayClicks::Action::Nothing:
        break;
    }
}

void TrayController::handleActivation(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        handleTrayMessage(TrayClicks::LeftButtonUp);
        break;
    case QSystemTrayIcon::Context:
        handleTrayMessage(TrayClicks::RightButtonUp);
        break;
    case QSystemTrayIcon::DoubleClick:
        handleTrayMessage(TrayClicks::LeftDoubleClick);
        // Qt sends no button-up after a double-click; feed the one the table expects so
        // the next single click opens the menu again.
        handleTrayMessage(TrayClicks::LeftButtonUp);
        break;
    default:
        break;
    }
}

void TrayController::release() {
    m_timer.stop();
    if (m_icon)
        m_icon->hide();
    delete m_sni;
    m_sni = nullptr;
}

PLUMORA_IDLE_PATH void TrayController::onTimer() {
    // Re-armed first, so nothing the tick does can stop the heartbeat, and aligned to
    // the next minute boundary so the timer's drift never adds up. One reading of the
    // clock serves both.
    const QDateTime now = m_context.clock.nowWithFixedOffset();
    m_timer.start(MinuteGate::msUntilNextTick(now));
    checkTray();
    m_tick.run(now);
}

PLUMORA_IDLE_PATH bool TrayController::trayShown() const {
    return (m_sni && m_sni->isRegistered()) || (m_icon && xembedTrayAvailable());
}

PLUMORA_IDLE_PATH bool TrayController::xembedTrayAvailable() const {
    // On X11 the watch answers from the server's notices; Qt's own answer is a round trip
    // to the server, paid on every wake.
    return m_trayWatch ? m_trayWatch->available() : QSystemTrayIcon::isSystemTrayAvailable();
}

PLUMORA_IDLE_PATH void TrayController::checkTray() {
    // Set up at the first tick rather than at start-up, which it would only slow.
    if (!m_trayWatchTried) {
        m_trayWatchTried = true;
        m_trayWatch = X11TrayWatch::create(this);
    }
    // An XEmbed notification area that appears later gets the icon; a D-Bus one is
    // followed by the item itself.
    if (!m_icon && !(m_sni && m_sni->isRegistered()) && xembedTrayAvailable())
        addXEmbedIcon();
    if (m_loss.update(trayShown()))
        tellTrayGone();
}

void TrayController::addTrayIcon() {
    // Plumora serves its item itself: Qt's own D-Bus icon decides once, at start-up,
    // whether a tray exists, and reports no double-click and no place.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        addStatusNotifierItem(bus);
    else
        qCWarning(lcDesktop) << "tray item: no session bus";
    if (!m_sni || !m_sni->watcherPresent())
        addXEmbedIcon();
}

void TrayController::addStatusNotifierItem(const QDBusConnection& bus) {
    m_sni = new StatusNotifierItem(bus, this);
    m_sni->setIcon(plumoraIcon());
    m_sni->setTitle(QStringLiteral("Plumora"));
    // No window can stand beside the tray on native Wayland: the host shows the exported
    // menu on every click.
    m_sni->setItemIsMenu(QGuiApplication::platformName() == QLatin1String("wayland"));
    // The entries' pictures follow once the icon is up: drawing them loads the fonts.
    m_sni->setMenu(TrayMenuEntries::exported(m_dispatcher.tools().trayEntries()));
    connect(m_sni, &StatusNotifierItem::activated, this, &TrayController::handleActivate);
    connect(m_sni, &StatusNotifierItem::secondaryActivated, this,
            &TrayController::handleSecondaryActivate);
    connect(m_sni, &StatusNotifierItem::contextMenuRequested, this,
            &TrayController::handleContextMenu);
    connect(m_sni, &StatusNotifierItem::menuItemClicked, this,
            &TrayController::handleExportedMenuItem);
    connect(m_sni, &StatusNotifierItem::watcherRegistered, this,
            &TrayController::onWatcherRegistered);
    connect(m_sni, &StatusNotifierItem::watcherGone, this, &TrayController::onWatcherGone);
    if (!m_sni->start()) {
        delete m_sni;
        m_sni = nullptr;
    }
}

void TrayController::exportMenuPictures() {
    if (!m_sni)
        return;
    DBusMenuNode menu = TrayMenuEntries::exported(m_dispatcher.tools().trayEntries());
    // The entries' pictures, as the menu window shows them.
    for (DBusMenuNode& item : menu.children) {
        const QPixmap picture =
            Menu::picture(m_dispatcher.tools(), TrayMenuEntries::indexOfId(item.id));
        QByteArray png;
        QBuffer buffer(&png);
        if (!picture.isNull() && buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "PNG"))
            item.properties.insert(QStringLiteral("icon-data"), png);
    }
    m_sni->setMenu(menu);
}

void TrayController::onWatcherRegistered() {
    // One icon: the XEmbed one goes when the same panel shows the item.
    delete m_icon;
    m_icon = nullptr;
    m_context.windows.setTrayIconLocator([sni = QPointer<StatusNotifierItem>(m_sni)] {
        const QPoint at = sni ? sni->lastHostPosition() : QPoint();
        return at.isNull() ? QRect() : QRect(at, QSize(1, 1));
    });
    m_loss.update(true);
    qCInfo(lcDesktop) << "tray item registered with the watcher";
}

void TrayController::onWatcherGone() {
    qCInfo(lcDesktop) << "the tray's watcher went away";
    // A panel restarting comes back on its own; the minute tick tells a tray that stays
    // away.
    if (!m_icon && QSystemTrayIcon::isSystemTrayAvailable())
        addXEmbedIcon();
}

void TrayController::handleActivate(QPoint at) {
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    switch (m_activations.activate(m_context.clock.monotonicMs(), interval)) {
    case TrayActivations::Action::ShowMenu:
        // Hosts that know no place send 0,0.
        m_dispatcher.showMenu(at.isNull() ? std::nullopt : std::optional<QPoint>(at));
        break;
    case TrayActivations::Action::OpenCalendar:
        // Showing the calendar closes the menu the first click opened.
        m_dispatcher.showFirstTool();
        break;
    }
}

void TrayController::handleSecondaryActivate() {
    m_dispatcher.showFirstTool();
}

void TrayController::handleContextMenu(QPoint at) {
    m_dispatcher.showMenu(at.isNull() ? std::nullopt : std::optional<QPoint>(at));
}

void TrayController::handleExportedMenuItem(int id) {
    const int index = TrayMenuEntries::indexOfId(id);
    if (index >= 0)
        m_dispatcher.dispatch(index);
}

void TrayController::addXEmbedIcon() {
    m_icon = new QSystemTrayIcon(plumoraIcon(), this);
    m_icon->setToolTip(QStringLiteral("Plumora"));
    connect(m_icon, &QSystemTrayIcon::activated, this, &TrayController::handleActivation);
    m_icon->show();
    // Notices go to the monitor that holds the icon.
    m_context.windows.setTrayIconLocator(
        [icon = QPointer<QSystemTrayIcon>(m_icon)] { return icon ? icon->geometry() : QRect(); });
}

void TrayController::tellTrayGone() {
    qCWarning(lcDesktop) << "the notification area holding the icon is gone";
    // Posted: the box waits for its answer, and the tick that found the loss goes on.
    QTimer::singleShot(0, this, [this] {
        m_context.dialogs.messageBox(
            tr("The notification area that held Plumora's icon is gone, so the icon "
               "cannot be clicked for now.\n\n"
               "Your reminders and scheduled tasks keep working in the background. "
               "The icon comes back by itself within a minute of a notification "
               "area appearing again."),
            QStringLiteral("Plumora"), MessageButtons::Ok, MessageIcon::Information);
    });
}

void TrayController::tellNoTrayOnce() {
    Registry& registry = m_context.registry;
    if (!registry.readString(RegistryRoot, RegistryKey, NoTrayShown).isEmpty())
        return;
    registry.writeString(RegistryRoot, RegistryKey, NoTrayShown, QStringLiteral("1"));
    m_context.dialogs.messageBox(
        tr("Plumora is running, but this desktop has no notification area for its "
           "icon, so you cannot click it yet.\n\n"
           "Your reminders and scheduled tasks keep working in the background. "
           "To reach Plumora's menu, turn on a notification area (on GNOME, the "
           "\"AppIndicator and KStatusNotifierItem Support\" extension); the icon "
           "appears there by itself within a minute."),
        QStringLiteral("Plumora"), MessageButtons::Ok, MessageIcon::Information);
    m_dispatcher.showFirstTool();
}
