// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/AppContext.h"
#include "shell/ShellTables.h"
#include "shell/ui/ToolRegistry.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class AboutBox;
class HelpWindow;
class Menu;
class MainWindow;

// The user's ways in: the one dispatcher of the menu commands (the registered tools' tray
// indexes and the shell's own TrayMenu::Index entries) that the tray icon, the tray menu,
// the tick and the pop-up windows use, and the windows it opens.
// Each window is created the first time it is needed, never at start-up: the main window,
// the tray menu, the help window and the About box.
class CommandDispatcher : public QObject {
    Q_OBJECT
public:
    explicit CommandDispatcher(AppContext& context, QObject* parent = nullptr);
    ~CommandDispatcher() override;

    // Tools register their pages here before the first window opens.
    ToolRegistry& tools() { return m_tools; }
    // How the process ends after the exit sequence; tests replace it.
    void setQuitHandler(std::function<void()> quit) { m_quit = std::move(quit); }

    // Runs the tray menu's entry `index`.
    void dispatch(int index);
    // Shows the main window with the page of the tool with `id`; false when no shown tool
    // has that id.
    bool showTool(const QString& id);
    // Makes the page of the tool with `id` the main window's without showing the window
    // (a shown one stays shown); false when no shown tool has that id.
    bool loadTool(const QString& id);
    // Shows the first tool's page (the calendar's): a click on the tray icon, a second start.
    void showFirstTool();
    // Shows the main window with the tool of a toolbar button.
    void showTool(int toolbarButton);
    // Opens the tray menu beside the cursor, or beside `at` where a tray host named the
    // place (or keeps it open when it is). Where windows cannot be placed (native Wayland)
    // there is no menu window: the tray's exported menu is the menu there.
    void showMenu(std::optional<QPoint> at = std::nullopt);
    // "Unload Plumora?": on Yes the notices, the main window, the controller and the menu
    // are unloaded and the process ends. False when the answer was not Yes.
    bool unload();
    // The same exit sequence without the question: the session ends, or a signal asked.
    void unloadNow();

    void showHelp(const QString& topic);
    void showAbout(QWidget* owner);
    // Opens the product web site, or tells the user why it could not.
    void openWebSite();

    MainWindow* mainWindow() const;
    Menu* menuWindow() const;
    HelpWindow* helpWindow() const;

Q_SIGNALS:
    // A tool's page was chosen through a menu command (after it was shown).
    void toolShown(const QString& id);
    // "Show Reminder" was chosen: the reminder window is loaded, and decides whether to show.
    void reminderChosen();
    // "Unload Plumora?" was answered Yes: a receiver that sets `*stay` keeps the program
    // running (work that could not be saved, and the user chose to stay). Direct connections.
    void unloadConfirmed(bool* stay);
    // The exit sequence reached the controller's part: the tick stops and the tray icon goes.
    void releasing();

private:
    MainWindow* ensureMainWindow();
    void closeMenu();
    void closeWindowsTitled(const QString& title);

    AppContext& m_context;
    std::function<void()> m_quit;
    ToolRegistry m_tools;
    QPointer<MainWindow> m_main;
    QPointer<Menu> m_menu;
    QPointer<HelpWindow> m_help;
    QPointer<AboutBox> m_about;
};
