// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/AppContext.h"
#include "shell/Jobs.h"
#include "shell/RemoteCommand.h"
#include "shell/SingleInstance.h"
#include "shell/Tick.h"
#include "shell/TrayActivations.h"

#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class CommandDispatcher;
class QDBusConnection;
class StatusNotifierItem;
class X11TrayWatch;

// The hidden controller: owns the tray icon, the one-minute timer PLMTimer with its tick,
// and start-up. It is never shown. The icon is Plumora's own StatusNotifierItem where the
// desktop runs a watcher for one, else Qt's icon in an XEmbed tray; a tray that comes
// later gets the icon, and one that goes is told once.
class TrayController : public QObject {
    Q_OBJECT
public:
    TrayController(AppContext& context, CommandDispatcher& dispatcher, QObject* parent = nullptr);
    ~TrayController() override;

    // Work for start-up and for every minute, in the order added.
    void addStartupJob(std::unique_ptr<StartupJob> job);
    void addMinuteJob(std::unique_ptr<MinuteJob> job) { m_tick.addJob(std::move(job)); }
    // The start-up jobs' names in the order they run.
    QStringList startupJobNames() const;

    // Files to import (plumora --import): a second start hands them to the running copy,
    // which passes them to `import`; the first copy imports them once it is created.
    // `import` gives the answer for a second start once it ran: empty, or the first line of
    // a refusal.
    void setImportFiles(const QStringList& files, SingleInstance::ImportHandler import) {
        m_importFiles = files;
        m_import = std::move(import);
    }
    // An action for the running copy (plumora --capture, --new-note, --show): a second
    // start hands it over and waits for the answer; the first copy runs it once created.
    // `run` acts on a command and gives its refusal, empty when it was taken.
    using CommandRunner = std::function<QString(const RemoteCommand& command)>;
    void setCommand(std::optional<RemoteCommand> command) { m_command = std::move(command); }
    void setCommandRunner(CommandRunner run) { m_runCommand = std::move(run); }
    // Creation: data file care, start-up jobs, the reminder once.
    void create();
    // The program's start: false when another copy already runs, and then nothing at all
    // happens here (no creation step, no icon, no timer). Otherwise the icon goes up first,
    // so it appears at once, and creation and load follow as soon as the event loop turns.
    bool start();
    // A start that found another copy running: the exit status its request earned (0 when
    // the running copy took it).
    int secondStartStatus() const { return m_secondStartStatus; }
    // The controller's own part of the exit: the tick stops and the icon leaves the tray.
    void release();

    // A tray mouse message (514 button-up, 515 double-click, 517 right button-up).
    void handleTrayMessage(int message);
    // Qt's activation reasons mapped onto those messages.
    void handleActivation(QSystemTrayIcon::ActivationReason reason);

    Tick& tick() { return m_tick; }
    // The services a tool's jobs are made with (ToolDescriptor::addJobs).
    AppContext& context() { return m_context; }
    QTimer& timer() { return m_timer; }
    QSystemTrayIcon* trayIcon() const { return m_icon; }
    StatusNotifierItem* statusNotifierItem() const { return m_sni; }
    // The icon stands in a tray now (a watcher took the item, or an XEmbed tray the icon).
    bool trayShown() const;

    // The D-Bus tray's clicks, at the host's coordinates.
    void handleActivate(QPoint at);
    void handleSecondaryActivate();
    void handleContextMenu(QPoint at);
    // An entry of the exported menu was chosen (its dbusmenu id).
    void handleExportedMenuItem(int id);

Q_SIGNALS:
    // Start-up is done: the reminder it loads once, quietly. Without a receiver start-up
    // runs "Show Reminder".
    void startupReminderDue();

private:
    void onTimer();
    // Takes the one-copy lock and answers later starts; false when another copy has it.
    bool claim();
    // A second start's --import: the files go to the running copy; gives the exit status.
    int handOverImport();
    // A second start's action: the same for a command.
    int handOverCommand();
    // A command line that came over the socket: its answer line.
    QByteArray answerCommand(const QByteArray& request);
    void addTrayIcon();
    void addStatusNotifierItem(const QDBusConnection& bus);
    void exportMenuPictures();
    // Qt's icon, for an XEmbed tray.
    void addXEmbedIcon();
    void onWatcherRegistered();
    void onWatcherGone();
    // Re-checks the tray: an XEmbed tray that came gets the icon, one that went is told.
    void checkTray();
    // Whether an XEmbed tray holds the selection.
    bool xembedTrayAvailable() const;
    void tellNoTrayOnce();
    void tellTrayGone();

    AppContext& m_context;
    CommandDispatcher& m_dispatcher;
    SingleInstance m_instance;
    QStringList m_importFiles;
    SingleInstance::ImportHandler m_import;
    std::optional<RemoteCommand> m_command;
    CommandRunner m_runCommand;
    int m_secondStartStatus = 0;
    QTimer m_timer;
    Tick m_tick;
    std::vector<std::unique_ptr<StartupJob>> m_startupJobs;
    QSystemTrayIcon* m_icon = nullptr;
    StatusNotifierItem* m_sni = nullptr;
    // Follows the XEmbed tray on X11 from the first tick on; null elsewhere.
    X11TrayWatch* m_trayWatch = nullptr;
    bool m_trayWatchTried = false;
    TrayActivations m_activations;
    TrayLoss m_loss;
    // A double-click arms this so the button-up after it does not open the menu.
    bool m_suppressNextButtonUp = false;
};
