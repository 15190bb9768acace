// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/Menu.h"

#include "shell/MenuCloseRule.h"
#include "shell/SessionPlatform.h"
#include "shell/ShellTables.h"
#include "shell/ui/Artwork.h"
#include "shell/ui/ToolRegistry.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>

#include <algorithm>

namespace {
constexpr int CloseInterval = 500;
constexpr int PictureSize = 16;
const char* const IndexProperty = "menuIndex";

// An entry as assistive technology sees it: a menu item named by its caption, which the
// press action chooses. The choice runs after the request has been answered, since it may
// open a modal window.
class MenuEntryAccessible : public QAccessibleWidget {
public:
    MenuEntryAccessible(QLabel* label, Menu* menu)
        : QAccessibleWidget(label, QAccessible::MenuItem), m_menu(menu) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = m_menu && m_menu->isHighlighted(index());
        return s;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action != pressAction() || !m_menu)
            return;
        QMetaObject::invokeMethod(
            m_menu, [menu = m_menu, i = index()] { menu->activate(i); }, Qt::QueuedConnection);
    }

private:
    int index() const { return widget()->property(IndexProperty).toInt(); }
    QPointer<Menu> m_menu;
};

QAccessibleInterface* menuEntryFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QLabel") || object->objectName() != QLatin1String("MenuLB"))
        return nullptr;
    auto* menu = qobject_cast<Menu*>(object->parent());
    return menu ? new MenuEntryAccessible(static_cast<QLabel*>(object), menu) : nullptr;
}
} // namespace

Menu::Menu(std::function<void(int)> clickMenu, const ToolRegistry& tools, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_clickMenu(std::move(clickMenu)) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(menuEntryFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QStringLiteral("Menu"));
    // On sway the menu stands where it is put; the compositor still gives it the keyboard,
    // as an ordinary window's type asks, so it closes once another window takes it.
    if (ownPlacementBypassesWindowManager(QGuiApplication::platformName().toUtf8(),
                                          qgetenv("XDG_CURRENT_DESKTOP"), qgetenv("SWAYSOCK")))
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                       Qt::X11BypassWindowManagerHint);
    // Never shown (the window has no frame), but it tells the menu from the main window.
    setWindowTitle(tr("Plumora Menu"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(3, 3, 3, 3);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(0);
    grid->setColumnStretch(1, 1);

    // The same entries the tray exports.
    const qreal ratio = devicePixelRatioF();
    auto picture = [&tools, ratio](int index) { return Menu::picture(tools, index, ratio); };
    const QList<TrayMenuEntries::Entry> entries = tools.trayEntries();
    int count = TrayMenu::ItemCount;
    for (const TrayMenuEntries::Entry& e : entries)
        count = std::max(count, e.index + 1);
    m_labels.resize(count);
    int row = 0;
    for (const TrayMenuEntries::Entry& entry : entries) {
        if (entry.isSeparator()) {
            auto* line = new QFrame(this);
            line->setObjectName(QStringLiteral("MenuLine"));
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            grid->addWidget(line, row++, 0, 1, 2);
            continue;
        }
        const int index = entry.index;
        auto* img = new QLabel(this);
        img->setObjectName(QStringLiteral("MenuImg"));
        img->setPixmap(picture(index));
        img->setContentsMargins(4, 3, 6, 3);
        // The picture only decorates its entry: the entry beside it is what a screen
        // reader reads, once.
        // Named before it gets its text: the text's change event already asks for the
        // label's accessible interface, which the factory tells by this name.
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("MenuLB"));
        label->setTextFormat(Qt::PlainText);
        label->setText(entry.caption);
        label->setEnabled(entry.enabled);
        label->setContentsMargins(6, 3, 16, 3);
        label->setAutoFillBackground(true);
        for (QLabel* l : {img, label}) {
            l->setProperty(IndexProperty, index);
            l->setMouseTracking(true);
            l->installEventFilter(this);
        }
        grid->addWidget(img, row, 0);
        grid->addWidget(label, row++, 1);
        m_labels[index] = label;
        m_order << index;
    }
    // Menu load: every label gets the normal colours.
    for (QLabel* label : std::as_const(m_labels))
        if (label)
            setColours(label, false);

    m_closeTimer.setObjectName(QStringLiteral("CloseTimer"));
    m_closeTimer.setParent(this);
    m_closeTimer.setInterval(CloseInterval);
    connect(&m_closeTimer, &QTimer::timeout, this, &Menu::closeTimerTick);
    m_closeTimer.start();
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(windowTitle());
    adjustSize();
}

QPixmap Menu::picture(const ToolRegistry& tools, int index, qreal devicePixelRatio) {
    using Picture = Artwork::Picture;
    if (const ToolDescriptor* tool = tools.toolOfTrayIndex(index); tool && tool->paintIcon)
        return Artwork::pixmap(tool->paintIcon, PictureSize, devicePixelRatio);
    switch (index) {
    case TrayMenu::ShowReminder:
        return Artwork::pixmap(Picture::Reminder, PictureSize, devicePixelRatio);
    case TrayMenu::Help:
        return Artwork::pixmap(Picture::Help, PictureSize, devicePixelRatio);
    case TrayMenu::About:
        return Artwork::pixmap(Picture::About, PictureSize, devicePixelRatio);
    case TrayMenu::Web:
        return Artwork::pixmap(Picture::Web, PictureSize, devicePixelRatio);
    case TrayMenu::Unload:
        return Artwork::pixmap(Picture::Unload, PictureSize, devicePixelRatio);
    default:
        return QPixmap();
    }
}

QLabel* Menu::label(int index) const {
    return index >= 0 && index < m_labels.size() ? m_labels[index] : nullptr;
}

void Menu::setColours(QLabel* label, bool highlighted) {
    const QPalette& app = QApplication::palette();
    const QColor fg = app.color(highlighted ? QPalette::HighlightedText : QPalette::WindowText);
    const QColor bg = app.color(highlighted ? QPalette::Highlight : QPalette::Button);
    // Assigning the colour it already has would repaint the label on every mouse move.
    if (label->palette().color(QPalette::WindowText) == fg &&
        label->palette().color(QPalette::Window) == bg)
        return;
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, fg);
    pal.setColor(QPalette::Window, bg);
    label->setPalette(pal);
}

void Menu::highlightLabel(int index) {
    for (int j = 0; j < m_labels.size(); ++j)
        if (m_labels[j])
            setColours(m_labels[j], j == index);
}

int Menu::highlighted() const {
    for (int index : m_order)
        if (isHighlighted(index))
            return index;
    return -1;
}

void Menu::moveHighlight(int step) {
    if (m_order.isEmpty())
        return;
    const int at = m_order.indexOf(highlighted());
    int next = 0;
    if (at < 0)
        next = step > 0 ? 0 : int(m_order.size()) - 1;
    else
        next = (at + step + int(m_order.size())) % int(m_order.size());
    highlightLabel(m_order[next]);
    if (QAccessible::isActive()) {
        QAccessibleEvent focus(m_labels[m_order[next]], QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

bool Menu::isHighlighted(int index) const {
    const QLabel* l = label(index);
    return l && l->palette().color(QPalette::Window) ==
                    QApplication::palette().color(QPalette::Highlight);
}

bool Menu::eventFilter(QObject* watched, QEvent* event) {
    const QVariant index = watched->property(IndexProperty);
    if (!index.isValid())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
        highlightLabel(index.toInt());
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QWidget*>(watched)->rect().contains(
                static_cast<QMouseEvent*>(event)->position().toPoint())) {
            activate(index.toInt());
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void Menu::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_wasActive = true;
    QWidget::changeEvent(event);
}

void Menu::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Up:
        moveHighlight(-1);
        return;
    case Qt::Key_Down:
        moveHighlight(1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (const int index = highlighted(); index >= 0)
            activate(index);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void Menu::activate(int index) {
    if (!label(index))
        return;
    // A question or a box the choice opens takes the foreground; the menu must outlive it
    // rather than be closed under the click that is still being handled.
    QPointer<Menu> self(this);
    const bool wasRunning = m_closeTimer.isActive();
    m_closeTimer.stop();
    if (m_clickMenu)
        m_clickMenu(index);
    if (self && wasRunning && isVisible())
        m_closeTimer.start();
}

void Menu::closeTimerTick() {
    using MenuCloseRule::Front;
    QWidget* active = QApplication::activeWindow();
    const Front front = active == this ? Front::Menu
                        : active       ? Front::OtherOwnWindow
                        : QGuiApplication::applicationState() != Qt::ApplicationActive
                            ? Front::OtherProgram
                            : Front::Nothing;
    if (front == Front::Menu)
        m_wasActive = true;
    else if (!m_wasActive)
        ++m_ticksNotInFront;
    if (MenuCloseRule::shouldClose(front, m_wasActive, m_ticksNotInFront))
        close();
}
