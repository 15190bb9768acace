// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/MainWindow.h"

#include "platform/WindowSystem.h"
#include "shell/WindowPlacement.h"
#include "shell/ui/Artwork.h"
#include "shell/ui/HelpKey.h"
#include "shell/ui/ScreenKeeper.h"
#include "shell/ui/ToolPage.h"
#include "shell/ui/ToolRegistry.h"
#include "shell/ui/UnloadCheck.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {

bool hasMethod(const QObject* object, const char* signature) {
    return object->metaObject()->indexOfMethod(QMetaObject::normalizedSignature(signature)) >= 0;
}

void postKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, modifiers));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, modifiers));
}

} // namespace

MainWindow::MainWindow(AppContext& context, const ToolRegistry& tools, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_tools(tools) {
    setObjectName(QStringLiteral("PLM"));
    setWindowTitle(QStringLiteral("Plumora"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    m_client->installEventFilter(this);
    setCentralWidget(m_client);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    m_statusPanel = new QLabel(status);
    m_statusPanel->setObjectName(QStringLiteral("StatusPanel1"));
    // The first panel takes the whole width but the size grip's corner.
    status->addWidget(m_statusPanel, 1);
    setStatusBar(status);

    buildToolbar();
    buildMenus();
    applyStoredPlacement();
    // Kept on the screens that exist (and with them every other open window of ours); such
    // a move is not the user's, so it is not what the window stores when it closes.
    auto* keeper = new ScreenKeeper(m_context.windows, this);
    keeper->watch(this);
    connect(keeper, &ScreenKeeper::moved, this, [this](QWidget* window, const QRect& placed) {
        if (window == this)
            m_fittedTo = placed;
    });
}

void MainWindow::buildToolbar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("MainTB"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(24, 24));
    bar->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, bar);

    m_toolGroup = new QActionGroup(this);
    m_toolGroup->setExclusive(true);
    auto separator = [this, bar](int number) {
        QAction* action = bar->addSeparator();
        if (number) {
            action->setObjectName(QStringLiteral("MainTB_%1").arg(number));
            m_buttons.insert(number, action);
        }
    };
    auto button = [this, bar](int b, const QIcon& icon, const QString& tip) {
        QAction* action = bar->addAction(icon, tip);
        action->setToolTip(tip);
        action->setObjectName(QStringLiteral("MainTB_%1").arg(b));
        connect(action, &QAction::triggered, this, [this, b] { clickToolbarButton(b); });
        m_buttons.insert(b, action);
        return action;
    };

    separator(1);
    const QList<ToolDescriptor>& tools = m_tools.tools();
    for (qsizetype i = 0; i < tools.size(); ++i) {
        const ToolDescriptor& tool = tools[i];
        const int b = m_tools.toolbarButtonAt(i);
        if (i > 0 && tool.startsGroup)
            separator(b <= MainToolbar::ButtonCount ? b - 1 : 0);
        QAction* action =
            button(b, tool.paintIcon ? Artwork::icon(tool.paintIcon) : QIcon(), tool.tip);
        action->setCheckable(true);
        m_toolGroup->addAction(action);
        // A screen reader toggles the button (and so its action) past a click: that shows
        // the tool as a click does, and never leaves no tool checked.
        connect(action, &QAction::toggled, this, [this, b, action](bool on) {
            if (m_switching)
                return;
            if (on)
                clickToolbarButton(b);
            else if (!m_toolGroup->checkedAction())
                action->setChecked(true);
        });
        if (auto* widget = qobject_cast<QAbstractButton*>(bar->widgetForAction(action)))
            connect(widget, &QAbstractButton::toggled, this, [this, b, action, widget] {
                if (widget->isChecked() && !action->isChecked())
                    clickToolbarButton(b);
                else if (!widget->isChecked() && action->isChecked())
                    widget->setChecked(true);
            });
    }
    separator(MainToolbar::ReminderButton - 1);
    button(MainToolbar::ReminderButton, Artwork::icon(Artwork::Picture::Reminder),
           MainToolbar::tip(MainToolbar::ReminderButton));
    separator(MainToolbar::HelpButton - 1);
    button(MainToolbar::HelpButton, Artwork::icon(Artwork::Picture::Help),
           MainToolbar::tip(MainToolbar::HelpButton));
}

void MainWindow::buildMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption, auto&& slot) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, std::forward<decltype(slot)>(slot));
        return a;
    };
    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    tools->setObjectName(QStringLiteral("ToolsMenu"));
    const QList<ToolDescriptor>& registered = m_tools.tools();
    for (qsizetype i = 0; i < registered.size(); ++i) {
        const ToolDescriptor& d = registered[i];
        if (i > 0 && d.startsGroup)
            tools->addSeparator();
        QAction* a = tools->addAction(d.menuCaption());
        a->setObjectName(d.id + QStringLiteral("Menu"));
        connect(a, &QAction::triggered, this,
                [this, b = m_tools.toolbarButtonAt(i)] { clickToolbarButton(b); });
    }
    tools->addSeparator();
    item(tools, "ReminderMenu", tr("Show &Reminder"), [this] { Q_EMIT reminderRequested(); });

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    item(edit, "UndoMenu", tr("&Undo"),
         [this] { editFocused("undo()", Qt::Key_Z, Qt::ControlModifier); });
    edit->addSeparator();
    item(edit, "CutMenu", tr("Cu&t"),
         [this] { editFocused("cut()", Qt::Key_X, Qt::ControlModifier); });
    item(edit, "CopyMenu", tr("&Copy"),
         [this] { editFocused("copy()", Qt::Key_C, Qt::ControlModifier); });
    item(edit, "PasteMenu", tr("&Paste"),
         [this] { editFocused("paste()", Qt::Key_V, Qt::ControlModifier); });
    item(edit, "DeleteMenu", tr("&Delete"),
         [this] { editFocused(nullptr, Qt::Key_Delete, Qt::NoModifier); });
    edit->addSeparator();
    item(edit, "SelectAllMenu", tr("Select &All"),
         [this] { editFocused("selectAll()", Qt::Key_A, Qt::ControlModifier); });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    m_helpMenu = help;
    item(help, "ContentMenu", tr("Content"), [this] { sendHelpKey(); });
    item(help, "WebSiteMenu", tr("Web Site"), [this] { Q_EMIT webSiteRequested(); });
    help->addSeparator();
    item(help, "AboutMenu", tr("About"), [this] { Q_EMIT aboutRequested(); });
}

void MainWindow::applyStoredPlacement() {
    const WindowPlacement::Stored stored = WindowPlacement::load(m_context.stores.settings);
    // The screen under the cursor first: a window that lies beyond every screen opens there.
    const QRect cursorScreen = m_context.windows.screenGeometry();
    QList<WindowPlacement::Screen> screens{
        {cursorScreen, m_context.windows.workAreaOf(cursorScreen)}};
    for (const QRect& s : m_context.windows.screens())
        if (s != cursorScreen)
            screens.append({s, m_context.windows.workAreaOf(s)});
    // The title bar is not known before the window is shown; the style's height for one
    // keeps the frame's top on the screen.
    const QMargins frame(0, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this), 0, 0);
    const WindowPlacement::Opening o = WindowPlacement::onOpen(stored, DefaultSize, screens, frame);
    move(o.geometry.topLeft());
    resize(o.geometry.size());
    m_fittedTo = o.fitted ? QRect(pos(), size()) : QRect();
    if (o.maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
}

QAction* MainWindow::toolbarButton(int button) const {
    return m_buttons.value(button);
}

QList<ToolPage*> MainWindow::loadedPages() const {
    QList<ToolPage*> pages;
    for (int button : m_tools.toolButtons())
        if (ToolPage* page = m_pages.value(button))
            pages << page;
    return pages;
}

void MainWindow::clickToolbarButton(int button) {
    using namespace MainToolbar;
    if (button == ReminderButton || button == HelpButton) {
        toolbarButton(button)->setChecked(false);
        if (button == ReminderButton)
            Q_EMIT reminderRequested();
        else
            sendHelpKey();
        return;
    }
    const ToolDescriptor* tool = m_tools.toolOfButton(button);
    if (!tool)
        return;

    const QScopedValueRollback switching(m_switching, true);
    toolbarButton(button)->setChecked(true);
    // A screen reader's toggle reaches the group past its exclusiveness: only the shown
    // tool's button stays down.
    for (QAction* other : m_toolGroup->actions())
        if (other != toolbarButton(button))
            other->setChecked(false);
    ToolPage* page = ensurePage(button);
    for (const QPointer<ToolPage>& loaded : std::as_const(m_pages)) {
        ToolPage* other = loaded.data();
        if (other && other != page && !other->isHidden()) {
            other->aboutToHide();
            other->hide();
        }
    }

    m_active = page;
    fitActivePage();
    page->show();
    page->raise();
    m_statusPanel->setText(page->windowTitle());
    showPageMenu(page);
    if (tool->etchedRule)
        drawEtchedRule(page);
    page->activated();
    focusPage(page);
}

void MainWindow::showPageMenu(ToolPage* page) {
    QMenu* menu = page->pageMenu();
    if (menu == m_pageMenu)
        return;
    if (m_pageMenu)
        menuBar()->removeAction(m_pageMenu->menuAction());
    m_pageMenu = menu;
    if (menu)
        menuBar()->insertMenu(m_helpMenu->menuAction(), menu);
}

void MainWindow::focusPage(ToolPage* page) {
    // Keys follow the page the user sees: the control it last had, else its first one;
    // a page with none takes the focus itself, so none stays in a hidden page.
    QWidget* focused = QApplication::focusWidget();
    if (focused && page->isAncestorOf(focused) && focused->isVisible())
        return; // the page chose one as it was activated
    const auto takes = [page](QWidget* w) {
        return w && w != page && page->isAncestorOf(w) && w->isVisibleTo(page) && w->isEnabled() &&
               (w->focusPolicy() & Qt::TabFocus);
    };
    QWidget* target = page->focusWidget();
    for (QWidget* w = page->nextInFocusChain(); !takes(target) && w && w != page;
         w = w->nextInFocusChain())
        target = w;
    (takes(target) ? target : page)->setFocus(Qt::OtherFocusReason);
}

ToolPage* MainWindow::ensurePage(int button) {
    if (ToolPage* loaded = m_pages.value(button))
        return loaded;
    const ToolDescriptor* tool = m_tools.toolOfButton(button);
    ToolPage* page = tool->page ? tool->page(m_client) : nullptr;
    if (!page)
        page = new ToolPage;
    if (page->parentWidget() != m_client || page->isWindow())
        page->setParent(m_client, Qt::Widget);
    if (page->objectName().isEmpty())
        page->setObjectName(tool->id);
    if (page->windowTitle().isEmpty())
        page->setWindowTitle(tool->tip);
    page->setProperty(HelpKey::WindowProperty, true);
    page->setProperty(HelpKey::TopicProperty, tool->topic());
    page->setAutoFillBackground(true);
    page->hide();
    // The window never gets so small that a tool's controls are cut off.
    m_client->setMinimumSize(m_client->minimumSize().expandedTo(page->minimumSize()));
    m_pages.insert(button, page);
    return page;
}

void MainWindow::fitActivePage() {
    QWidget* active = m_active;
    if (!active)
        return;
    active->setGeometry(m_client->rect());
    for (const char* line : {"L1", "L2"}) {
        if (auto* rule =
                active->findChild<QWidget*>(QLatin1String(line), Qt::FindDirectChildrenOnly))
            rule->resize(m_client->width(), 1);
    }
}

void MainWindow::drawEtchedRule(QWidget* page) {
    const std::array<std::pair<const char*, QPalette::ColorRole>, 2> lines{
        {{"L1", QPalette::Dark}, {"L2", QPalette::Light}}};
    int y = 0;
    for (const auto& [name, role] : lines) {
        auto* rule = page->findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
        if (!rule) {
            rule = new QWidget(page);
            rule->setObjectName(QLatin1String(name));
            rule->setAutoFillBackground(true);
            rule->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        QPalette pal = rule->palette();
        pal.setColor(QPalette::Window, page->palette().color(role));
        rule->setPalette(pal);
        rule->setGeometry(0, y++, page->width(), 1);
        rule->show();
        rule->raise();
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client && event->type() == QEvent::Resize) {
        fitActivePage();
        if (ToolPage* active = m_active.data())
            active->hostResized();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::editFocused(const char* slot, int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != this)
        return;
    if (slot && hasMethod(target, slot)) {
        QByteArray name(slot);
        name.chop(2);
        QMetaObject::invokeMethod(target, name.constData(), Qt::DirectConnection);
        return;
    }
    postKey(target, key, modifiers);
}

void MainWindow::sendHelpKey() {
    QWidget* target = QApplication::focusWidget();
    const bool inTool = target && m_active && m_active->isAncestorOf(target);
    if (!inTool)
        target = m_active ? static_cast<QWidget*>(m_active.data()) : this;
    HelpKey::send(target);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Work a page could not keep stays in its window unless the user lets it go.
    if (!m_ending &&
        !UnloadCheck::confirm(this, m_context.dialogs, UnloadCheck::Moment::CloseWindow)) {
        event->ignore();
        return;
    }
    // Tools are unloaded with the window: each keeps what is unsaved, then gets its close.
    for (const QPointer<ToolPage>& loaded : std::as_const(m_pages)) {
        if (ToolPage* page = loaded.data()) {
            page->aboutToHide();
            page->close();
        }
    }
    const Qt::WindowStates state = windowState();
    WindowPlacement::save(m_context.stores.settings, QRect(pos(), size()), m_fittedTo,
                          state.testFlag(Qt::WindowMinimized), state.testFlag(Qt::WindowMaximized));
    event->accept();
}
