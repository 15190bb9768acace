#include "core/ui/PLM.h"

#include "core/WebSite.h"
#include "core/WindowPlacement.h"
#include "core/ui/Artwork.h"
#include "core/ui/HelpKey.h"
#include "core/ui/ToolRegistry.h"
#include "platform/Platform.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

bool hasMethod(const QObject* object, const char* signature) {
    return object->metaObject()->indexOfMethod(QMetaObject::normalizedSignature(signature)) >= 0;
}

// Calls a tool's optional operation; tools that do not offer it are left alone.
void callIfOffered(QObject* object, const char* name) {
    if (object && hasMethod(object, QByteArray(QByteArray(name) + "()").constData()))
        QMetaObject::invokeMethod(object, name, Qt::DirectConnection);
}

void postKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, modifiers));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, modifiers));
}

const QString QNotesName = QStringLiteral("QNotes");
const QString CalendarName = QStringLiteral("Calendar");

} // namespace

PLM::PLM(AppContext& context, const ToolRegistry& tools, QWidget* parent)
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
    buildContextMenus();
    applyStoredPlacement();
}

void PLM::buildToolbar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("MainTB"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(24, 24));
    bar->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, bar);

    m_toolGroup = new QActionGroup(this);
    m_toolGroup->setExclusive(true);
    for (int b = 1; b <= MainToolbar::ButtonCount; ++b) {
        QAction* action = nullptr;
        if (MainToolbar::isSeparator(b)) {
            action = bar->addSeparator();
        } else {
            const QString tip = MainToolbar::tip(b);
            action = bar->addAction(Artwork::icon(Artwork::forToolbarButton(b)), tip);
            action->setToolTip(tip);
            if (MainToolbar::isTool(b)) {
                action->setCheckable(true);
                m_toolGroup->addAction(action);
            }
            connect(action, &QAction::triggered, this, [this, b] { MainTB_ButtonClick(b); });
        }
        action->setObjectName(QStringLiteral("MainTB_%1").arg(b));
        m_buttons[std::size_t(b)] = action;
    }
}

void PLM::buildMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption, auto&& slot) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, std::forward<decltype(slot)>(slot));
        return a;
    };
    auto tool = [this](int button) { return [this, button] { MainTB_ButtonClick(button); }; };
    using namespace MainToolbar;

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("ToolsMenu"));
    item(tools, "CalendarMenu", QStringLiteral("Personal &Calendar"), tool(CalendarButton));
    item(tools, "QNotesMenu", QStringLiteral("Quick &Notes"), tool(QNotesButton));
    tools->addSeparator();
    item(tools, "ScheduleMenu", QStringLiteral("Power &Scheduler"), tool(ScheduleButton));
    item(tools, "QAccessMenu", QStringLiteral("Quick &Access"), tool(QAccessButton));
    item(tools, "SCaptureMenu", QStringLiteral("&Screen Capture"), tool(SCaptureButton));
    tools->addSeparator();
    item(tools, "SSWPMenu", QStringLiteral("&Wallpaper Changer"), tool(SSWPButton));
    item(tools, "OptionsMenu", QStringLiteral("&Options"), tool(OptionsButton));
    tools->addSeparator();
    item(tools, "ReminderMenu", QStringLiteral("Show &Reminder"),
         [this] { Q_EMIT reminderRequested(); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    item(edit, "UndoMenu", QStringLiteral("&Undo"),
         [this] { editFocused("undo()", Qt::Key_Z, Qt::ControlModifier); });
    edit->addSeparator();
    item(edit, "CutMenu", QStringLiteral("Cu&t"),
         [this] { editFocused("cut()", Qt::Key_X, Qt::ControlModifier); });
    item(edit, "CopyMenu", QStringLiteral("&Copy"),
         [this] { editFocused("copy()", Qt::Key_C, Qt::ControlModifier); });
    item(edit, "PasteMenu", QStringLiteral("&Paste"),
         [this] { editFocused("paste()", Qt::Key_V, Qt::ControlModifier); });
    item(edit, "DeleteMenu", QStringLiteral("&Delete"),
         [this] { editFocused(nullptr, Qt::Key_Delete, Qt::NoModifier); });
    edit->addSeparator();
    item(edit, "SelectAllMenu", QStringLiteral("Select &All"),
         [this] { editFocused("selectAll()", Qt::Key_A, Qt::ControlModifier); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    item(help, "ContentMenu", QStringLiteral("Content"), [this] { sendHelpKey(); });
    item(help, "WebSiteMenu", QStringLiteral("Web Site"),
         [this] { m_context.platform.OpenUrlInBrowser(productWebSite()); });
    help->addSeparator();
    item(help, "AboutMenu", QStringLiteral("About"), [this] { Q_EMIT aboutRequested(); });
}

void PLM::buildContextMenus() {
    auto* qa = new QMenu(this);
    qa->setObjectName(QStringLiteral("QAMenu"));
    QAction* clear = qa->addAction(QStringLiteral("Clear List"));
    clear->setObjectName(QStringLiteral("ClearMenu"));
    connect(clear, &QAction::triggered, this,
            [this] { callIfOffered(loadedChild(QStringLiteral("QAccess")), "ClearList"); });

    auto* exportMenu = new QMenu(QStringLiteral("Export"), this);
    exportMenu->setObjectName(QStringLiteral("ExportMenu"));
    const QStringList ranges{QStringLiteral("Selected date"), QStringLiteral("Coming 7 days"),
                             QStringLiteral("Selected month")};
    for (int i = 0; i < ranges.size(); ++i) {
        QAction* a = exportMenu->addAction(ranges[i]);
        a->setObjectName(QStringLiteral("OptMenu"));
        a->setData(i);
        connect(a, &QAction::triggered, this, [this, i] {
            if (m_tools.exportHandler())
                m_tools.exportHandler()(i + 1);
        });
    }
}

QMenu* PLM::contextMenu(QWidget* tool, const QString& name) {
    auto* plm = qobject_cast<PLM*>(tool ? tool->window() : nullptr);
    return plm ? plm->findChild<QMenu*>(name, Qt::FindDirectChildrenOnly) : nullptr;
}

void PLM::applyStoredPlacement() {
    const WindowPlacement::Stored stored = WindowPlacement::load(m_context.paths.dataFile());
    const QRect screen = m_context.platform.screenGeometry();
    // "Beyond the screen" means beyond every screen, so a window left on a second display
    // stays there.
    QRect desktop = screen;
    for (const QScreen* s : QGuiApplication::screens())
        desktop |= s->geometry();
    const WindowPlacement::Opening o = WindowPlacement::onOpen(stored, DesignSize, desktop, screen);
    move(o.geometry.topLeft());
    resize(o.geometry.size());
    if (o.maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
}

QAction* PLM::toolbarButton(int button) const {
    return button >= 1 && button <= MainToolbar::ButtonCount ? m_buttons[std::size_t(button)]
                                                             : nullptr;
}

QWidget* PLM::loadedChild(const QString& name) const {
    return m_client->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
}

void PLM::MainTB_ButtonClick(int button) {
    const QString tip = MainToolbar::tip(button);
    if (tip == QLatin1String("Reminder") || tip == QLatin1String("Help")) {
        toolbarButton(button)->setChecked(false);
        if (tip == QLatin1String("Reminder"))
            Q_EMIT reminderRequested();
        else
            sendHelpKey();
        return;
    }
    if (!MainToolbar::isTool(button))
        return;

    toolbarButton(button)->setChecked(true);

    for (QWidget* child : m_client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isHidden())
            continue;
        if (child->objectName() == QNotesName)
            callIfOffered(child, "SaveNotes");
        child->hide();
    }

    QWidget* child = ensureChild(button);
    m_active = child;
    child->show();
    child->raise();
    if (child->objectName() == CalendarName) {
        if (auto* refresh = child->findChild<QTimer*>(QStringLiteral("RefreshTimer")))
            refresh->start();
    }
    m_statusPanel->setText(child->windowTitle());
    fitActiveChild();
    if (MainToolbar::drawsEtchedRule(button))
        drawEtchedRule(child);
}

QWidget* PLM::ensureChild(int button) {
    const QString name = MainToolbar::childName(button);
    if (QWidget* loaded = loadedChild(name))
        return loaded;
    QWidget* child = nullptr;
    if (const ToolRegistry::Factory factory = m_tools.factory(button))
        child = factory(m_client);
    if (!child)
        child = new QWidget;
    if (child->parentWidget() != m_client || child->isWindow())
        child->setParent(m_client, Qt::Widget);
    if (child->objectName().isEmpty())
        child->setObjectName(name);
    if (child->windowTitle().isEmpty())
        child->setWindowTitle(MainToolbar::tip(button));
    child->setProperty(HelpKey::WindowProperty, true);
    child->setAutoFillBackground(true);
    child->hide();
    return child;
}

void PLM::fitActiveChild() {
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

void PLM::drawEtchedRule(QWidget* child) {
    const std::array<std::pair<const char*, QPalette::ColorRole>, 2> lines{
        {{"L1", QPalette::Dark}, {"L2", QPalette::Light}}};
    int y = 0;
    for (const auto& [name, role] : lines) {
        auto* rule = child->findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
        if (!rule) {
            rule = new QWidget(child);
            rule->setObjectName(QLatin1String(name));
            rule->setAutoFillBackground(true);
            rule->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        QPalette pal = rule->palette();
        pal.setColor(QPalette::Window, child->palette().color(role));
        rule->setPalette(pal);
        rule->setGeometry(0, y++, child->width(), 1);
        rule->show();
        rule->raise();
    }
}

void PLM::notifyResized() {
    if (!m_active)
        return;
    if (m_active->objectName() == CalendarName) {
        if (auto* refresh = m_active->findChild<QTimer*>(QStringLiteral("RefreshTimer")))
            refresh->start();
    } else {
        callIfOffered(m_active, "MDI_Resize");
    }
}

bool PLM::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client && event->type() == QEvent::Resize) {
        fitActiveChild();
        notifyResized();
    }
    return QMainWindow::eventFilter(watched, event);
}

void PLM::editFocused(const char* slot, int key, Qt::KeyboardModifiers modifiers) {
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

void PLM::sendHelpKey() {
    QWidget* target = QApplication::focusWidget();
    const bool inTool = target && m_active && m_active->isAncestorOf(target);
    if (!inTool)
        target = m_active ? m_active.data() : this;
    HelpKey::send(target);
}

void PLM::closeEvent(QCloseEvent* event) {
    // Tools are unloaded with the window: give each its own close, and Quick Notes its save
    // even when it does not save on close itself.
    for (QWidget* child : m_client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->objectName() == QNotesName)
            callIfOffered(child, "SaveNotes");
        child->close();
    }
    const Qt::WindowStates state = windowState();
    WindowPlacement::save(m_context.paths.dataFile(),
                          WindowPlacement::onClose(QRect(pos(), size()),
                                                   state.testFlag(Qt::WindowMinimized),
                                                   state.testFlag(Qt::WindowMaximized)));
    event->accept();
}
