// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/CommandDispatcher.h"

#include "base/Log.h"
#include "platform/DesktopShell.h"
#include "platform/Dialogs.h"
#include "platform/WindowSystem.h"
#include "shell/MenuPlacement.h"
#include "shell/WebSite.h"
#include "shell/ui/AboutBox.h"
#include "shell/ui/AppEventRules.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/Menu.h"

#include <QApplication>

CommandDispatcher::CommandDispatcher(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_quit([] { QCoreApplication::quit(); }) {
    setObjectName(QStringLiteral("CommandDispatcher"));
    if (AppEventRules* rules = AppEventRules::install())
        connect(rules, &AppEventRules::helpRequested, this, &CommandDispatcher::showHelp);
}

CommandDispatcher::~CommandDispatcher() {
    delete m_about.data();
    delete m_menu.data();
    delete m_main.data();
    delete m_help.data();
}

MainWindow* CommandDispatcher::mainWindow() const {
    return m_main;
}

Menu* CommandDispatcher::menuWindow() const {
    return m_menu;
}

HelpWindow* CommandDispatcher::helpWindow() const {
    return m_help;
}

MainWindow* CommandDispatcher::ensureMainWindow() {
    if (!m_main) {
        m_main = new MainWindow(m_context, m_tools);
        connect(m_main, &MainWindow::reminderRequested, this,
                [this] { dispatch(TrayMenu::ShowReminder); });
        connect(m_main, &MainWindow::aboutRequested, this, [this] { showAbout(m_main); });
        connect(m_main, &MainWindow::webSiteRequested, this, &CommandDispatcher::openWebSite);
    }
    return m_main;
}

void CommandDispatcher::dispatch(int index) {
    if (const int button = m_tools.toolbarButtonOfTrayIndex(index)) {
        showTool(button);
        return;
    }
    switch (index) {
    case TrayMenu::ShowReminder:
        Q_EMIT reminderChosen();
        closeMenu();
        break;
    case TrayMenu::Unload:
        // The question is asked with the menu gone: it must not stay on top of the box.
        closeMenu();
        unload();
        break;
    case TrayMenu::Help:
        showHelp(QStringLiteral("index.htm"));
        break;
    case TrayMenu::About: {
        const QPointer<Menu> menu = m_menu;
        if (menu)
            menu->closeTimer().stop();
        showAbout(nullptr);
        if (menu)
            menu->closeTimer().start();
        break;
    }
    case TrayMenu::Web:
        openWebSite();
        break;
    default:
        break;
    }
}

bool CommandDispatcher::showTool(const QString& id) {
    const int button = m_tools.buttonOf(id);
    if (button)
        showTool(button);
    else
        qCWarning(lcDesktop) << "no tool" << id << "to show";
    return button != 0;
}

bool CommandDispatcher::loadTool(const QString& id) {
    const int button = m_tools.buttonOf(id);
    if (button)
        ensureMainWindow()->clickToolbarButton(button);
    else
        qCWarning(lcDesktop) << "no tool" << id << "to load";
    return button != 0;
}

void CommandDispatcher::showFirstTool() {
    if (!m_tools.tools().isEmpty())
        showTool(m_tools.toolbarButtonAt(0));
}

void CommandDispatcher::showTool(int button) {
    MainWindow* main = ensureMainWindow();
    if (!m_context.windows.showWindow(main, false)) {
        closeMenu();
        return;
    }
    if (main->isMinimized())
        main->showNormal();
    main->clickToolbarButton(button);
    main->raise();
    main->activateWindow();
    // The main window takes the foreground, which closes the menu; close it here too, for
    // desktops that keep the focus where it was.
    closeMenu();
    if (const ToolDescriptor* tool = m_tools.toolOfButton(button))
        Q_EMIT toolShown(tool->id);
}

void CommandDispatcher::showMenu(std::optional<QPoint> at) {
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        // A window there cannot stand beside the tray: it would come up as an ordinary
        // titled window in the middle of the screen.
        qCInfo(lcDesktop) << "no menu window on native Wayland; the tray's own menu is used";
        return;
    }
    WindowSystem& windows = m_context.windows;
    const QPoint cursor = at.value_or(windows.cursorPos());
    Menu* menu = m_menu;
    if (!menu) {
        menu = new Menu([this](int index) { dispatch(index); }, m_tools);
        m_menu = menu;
    }
    // The screen of the place the host named, which need not be the pointer's.
    QRect screen = windows.screenGeometry();
    QRect area = windows.workArea();
    if (at)
        for (const QRect& s : windows.screens())
            if (s.contains(*at)) {
                screen = s;
                area = windows.workAreaOf(s);
                break;
            }
    // Placed before it is shown, so it never flashes where it was last time.
    menu->adjustSize();
    menu->move(MenuPlacement::place(cursor, menu->size(), screen, area));
    if (!windows.showWindow(menu, false))
        return;
    windows.makeTopmost(menu);
    menu->raise();
    menu->activateWindow();
}

bool CommandDispatcher::unload() {
    const MessageAnswer answer = m_context.dialogs.messageBox(
        tr("Unload Plumora?  "), tr("Confirm"), MessageButtons::YesNo, MessageIcon::Question);
    if (answer != MessageAnswer::Yes)
        return false;
    bool stay = false;
    Q_EMIT unloadConfirmed(&stay);
    if (stay)
        return false;
    unloadNow();
    return true;
}

void CommandDispatcher::unloadNow() {
    if (m_context.windows.isNewMailOpen())
        closeWindowsTitled(WindowTitles::NewMail);
    if (m_context.windows.isReminderOpen())
        closeWindowsTitled(WindowTitles::Reminder);
    if (m_main)
        m_main->closeAtEnd();
    Q_EMIT releasing();
    if (AboutBox* about = m_about)
        about->reject();
    if (m_help)
        m_help->close();
    closeMenu();
    if (m_quit)
        m_quit();
}

void CommandDispatcher::showHelp(const QString& topic) {
    if (!m_help)
        m_help = new HelpWindow(m_context.paths.resource(QStringLiteral("help")));
    m_help->showTopic(topic);
}

void CommandDispatcher::showAbout(QWidget* owner) {
    if (AboutBox* open = m_about) {
        open->raise();
        open->activateWindow();
        return;
    }
    m_about = new AboutBox(
        m_context.windows, [this] { openWebSite(); }, owner);
    m_context.windows.showWindow(m_about, true);
    // Modal: it has been answered by now (or the exit sequence closed it).
    AboutBox* answered = m_about;
    if (answered && !answered->isVisible())
        delete answered;
}

void CommandDispatcher::openWebSite() {
    const QString address = productWebSite();
    // Until the site has an address its page is part of the help, which needs no browser.
    if (address == QLatin1String(LocalProductPage)) {
        showHelp(address);
        return;
    }
    if (m_context.shell.openUrl(address))
        return;
    m_context.dialogs.messageBox(tr("No web browser could be started to open %1.").arg(address),
                                 QStringLiteral("Plumora"), MessageButtons::Ok,
                                 MessageIcon::Information);
}

void CommandDispatcher::closeMenu() {
    if (Menu* menu = m_menu)
        menu->close();
}

void CommandDispatcher::closeWindowsTitled(const QString& title) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w->windowTitle() == title)
            w->close();
    }
}
