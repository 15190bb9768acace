#pragma once

#include "core/AppContext.h"
#include "core/ControllerState.h"
#include "core/SingleInstance.h"

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include <memory>

#include "core/ui/HelpWindow.h"
#include "core/ui/Shell.h"

class Tick;
class TickHooks;

// The hidden controller: owns the tray icon, the one-minute timer PLMTimer and the
// background operations other windows call. It is never shown.
class SysTray : public QObject {
    Q_OBJECT
public:
    explicit SysTray(AppContext& context, QObject* parent = nullptr);
    ~SysTray() override;

    // Creation: data file care, wallpaper rule, timestamps, the reminder once.
    void create();
    // Load: false when another copy already runs (then no icon, no timer); otherwise the
    // icon is added (or the user told how to reach Plumora) and the timer starts.
    bool load();

    // Public background operations.
    void CheckWallpaper();
    void CheckSetting();
    void CheckOEDefault();
    void CheckQuickAccess();
    void UpdateConfigVar();
    void ShowMenu();
    // The one dispatcher of menu indexes, shared with the pop-up windows and the tick.
    void ClickMenu(int index);

    // A designed tray mouse message (514 button-up, 515 double-click, 517 right button-up).
    void handleTrayMessage(int message);
    // Qt's activation reasons mapped onto those messages.
    void handleActivation(QSystemTrayIcon::ActivationReason reason);

    // Ends Plumora after asking; false when the user answered anything but Yes.
    bool unload();
    // The controller's own part of the exit: the tick stops and the icon leaves the tray.
    void release();
    // The menu dispatcher and the windows it opens; tools register with shell().tools().
    Shell& shell() { return *m_shell; }

    ControllerState& state() { return m_state; }
    QTimer& timer() { return m_timer; }
    QSystemTrayIcon* trayIcon() const { return m_icon; }
    HelpWindow* helpWindow() const { return m_shell->helpWindow(); }

Q_SIGNALS:
    void menuRequested();
    void calendarRequested();

private:
    void tick();
    bool showTrayIcon();
    void tellNoTrayOnce();

    AppContext& m_context;
    ControllerState m_state;
    SingleInstance m_instance;
    QTimer m_timer;
    QSystemTrayIcon* m_icon = nullptr;
    std::unique_ptr<Shell> m_shell;
    // The one-minute heartbeat and what it calls back into.
    std::unique_ptr<TickHooks> m_tickHooks;
    std::unique_ptr<Tick> m_tick;
};
