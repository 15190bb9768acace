#pragma once

#include "core/AppContext.h"
#include "core/ui/HelpKey.h"
#include "core/ui/ToolRegistry.h"

#include <QObject>
#include <QPointer>

#include <functional>

class AboutBox;
class HelpWindow;
class Menu;
class PLM;

// The user's ways in: the ClickMenu dispatcher of the menu indexes (0..11) that the tray
// icon, the tray menu, the tick and the pop-up windows use, and the windows it opens. Each
// window is created the first time it is needed, never at start-up: the main window PLM,
// the tray menu Menu, the help window and the About box.
class Shell : public QObject {
    Q_OBJECT
public:
    // `releaseController` is the controller's part of the exit: the tick stops and the
    // tray icon goes.
    Shell(AppContext& context, std::function<void()> releaseController, QObject* parent = nullptr);
    ~Shell() override;

    // Tools register their windows here before the first window opens (see ToolRegistry.h).
    ToolRegistry& tools() { return m_tools; }
    // Index 7, "Show Reminder": loads the reminder window, which decides whether to show.
    void setReminderLoader(std::function<void()> loader) { m_loadReminder = std::move(loader); }
    // How the process ends after the exit sequence; tests replace it.
    void setQuitHandler(std::function<void()> quit) { m_quit = std::move(quit); }

    void ClickMenu(int index);
    // Opens the tray menu beside the cursor (or keeps it open when it is).
    void ShowMenu();
    // "Unload Plumora?": on Yes the notices, the main window, the controller and the menu
    // are unloaded and the process ends. False when the answer was not Yes.
    bool Unload();

    void showHelp(const QString& topic);
    void showAbout(QWidget* owner);

    PLM* mainWindow() const;
    Menu* menuWindow() const;
    HelpWindow* helpWindow() const;

private:
    PLM* ensureMainWindow();
    void closeMenu();
    void closeWindowsTitled(const QString& title);

    AppContext& m_context;
    std::function<void()> m_releaseController;
    std::function<void()> m_loadReminder;
    std::function<void()> m_quit;
    ToolRegistry m_tools;
    HelpKey m_helpKey;
    QPointer<PLM> m_plm;
    QPointer<Menu> m_menu;
    QPointer<HelpWindow> m_help;
    QPointer<AboutBox> m_about;
};
