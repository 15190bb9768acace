#include "core/ui/Shell.h"

#include "core/MenuPlacement.h"
#include "core/ShellTables.h"
#include "core/WebSite.h"
#include "core/ui/AboutBox.h"
#include "core/ui/HelpWindow.h"
#include "core/ui/Menu.h"
#include "core/ui/PLM.h"
#include "platform/Platform.h"

#include <QApplication>

Shell::Shell(AppContext& context, std::function<void()> releaseController, QObject* parent)
    : QObject(parent), m_context(context), m_releaseController(std::move(releaseController)),
      m_quit([] { QCoreApplication::quit(); }),
      m_helpKey([this](const QString& topic) { showHelp(topic); }) {
    setObjectName(QStringLiteral("Shell"));
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(&m_helpKey);
}

Shell::~Shell() {
    delete m_about.data();
    delete m_menu.data();
    delete m_plm.data();
    delete m_help.data();
}

PLM* Shell::mainWindow() const {
    return m_plm;
}

Menu* Shell::menuWindow() const {
    return m_menu;
}

HelpWindow* Shell::helpWindow() const {
    return m_help;
}

PLM* Shell::ensureMainWindow() {
    if (!m_plm) {
        m_plm = new PLM(m_context, m_tools);
        connect(m_plm, &PLM::reminderRequested, this,
                [this] { ClickMenu(TrayMenu::ShowReminder); });
        connect(m_plm, &PLM::aboutRequested, this, [this] { showAbout(m_plm); });
    }
    return m_plm;
}

void Shell::ClickMenu(int index) {
    Platform& platform = m_context.platform;
    switch (index) {
    case TrayMenu::Calendar:
    case TrayMenu::QNotes:
    case TrayMenu::Schedule:
    case TrayMenu::QAccess:
    case TrayMenu::SCapture:
    case TrayMenu::SSWP:
    case TrayMenu::Options: {
        PLM* plm = ensureMainWindow();
        if (!platform.ShowFormSafely(plm, false)) {
            closeMenu();
            return;
        }
        if (plm->isMinimized())
            plm->showNormal();
        plm->MainTB_ButtonClick(TrayMenu::toolbarButton(index));
        plm->raise();
        plm->activateWindow();
        // The main window takes the foreground, which closes the menu; close it here too,
        // for desktops that keep the focus where it was.
        closeMenu();
        break;
    }
    case TrayMenu::ShowReminder:
        if (m_loadReminder)
            m_loadReminder();
        closeMenu();
        break;
    case TrayMenu::Unload:
        Unload();
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
        platform.OpenUrlInBrowser(productWebSite());
        break;
    default:
        break;
    }
}

void Shell::ShowMenu() {
    Platform& platform = m_context.platform;
    const QPoint cursor = platform.cursorPos();
    Menu* menu = m_menu;
    if (!menu) {
        menu = new Menu([this](int index) { ClickMenu(index); });
        m_menu = menu;
    }
    // Placed before it is shown, so it never flashes where it was last time.
    menu->adjustSize();
    menu->move(
        MenuPlacement::place(cursor, menu->size(), platform.screenGeometry(), platform.workArea()));
    if (!platform.ShowFormSafely(menu, false))
        return;
    platform.MakeTopmost(menu);
    menu->raise();
    menu->activateWindow();
}

bool Shell::Unload() {
    const MessageAnswer answer = m_context.platform.MessageBox(
        QStringLiteral("Unload Plumora?  "), QStringLiteral("Confirm"), MessageButtons::YesNo,
        MessageIcon::Question);
    if (answer != MessageAnswer::Yes)
        return false;
    if (m_context.platform.IsNewMailOpen())
        closeWindowsTitled(WindowTitles::NewMail);
    if (m_context.platform.IsReminderOpen())
        closeWindowsTitled(WindowTitles::Reminder);
    if (m_plm)
        m_plm->close();
    if (m_releaseController)
        m_releaseController();
    if (AboutBox* about = m_about)
        about->reject();
    if (m_help)
        m_help->close();
    closeMenu();
    if (m_quit)
        m_quit();
    return true;
}

void Shell::showHelp(const QString& topic) {
    if (!m_help)
        m_help = new HelpWindow(m_context.paths.resource(QStringLiteral("help")));
    m_help->showTopic(topic);
}

void Shell::showAbout(QWidget* owner) {
    if (AboutBox* open = m_about) {
        open->raise();
        open->activateWindow();
        return;
    }
    m_about = new AboutBox(m_context.platform, owner);
    m_context.platform.ShowFormSafely(m_about, true);
    // Modal: it has been answered by now (or the exit sequence closed it).
    AboutBox* answered = m_about;
    if (answered && !answered->isVisible())
        delete answered;
}

void Shell::closeMenu() {
    if (Menu* menu = m_menu)
        menu->close();
}

void Shell::closeWindowsTitled(const QString& title) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w->windowTitle() == title)
            w->close();
    }
}
