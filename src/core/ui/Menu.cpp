#include "core/ui/Menu.h"

#include "core/MenuCloseRule.h"
#include "core/ShellTables.h"
#include "core/ui/Artwork.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>

namespace {
constexpr int CloseInterval = 500;
constexpr int PictureSize = 16;
const char* const IndexProperty = "menuIndex";
} // namespace

Menu::Menu(std::function<void(int)> clickMenu, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_clickMenu(std::move(clickMenu)) {
    setObjectName(QStringLiteral("Menu"));
    // Never shown (the window has no frame), but it tells the menu from the main window.
    setWindowTitle(QStringLiteral("Plumora Menu"));
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

    m_labels.resize(TrayMenu::ItemCount);
    int row = 0;
    const QList<QList<int>> groups = TrayMenu::groups();
    for (int g = 0; g < groups.size(); ++g) {
        if (g > 0) {
            auto* line = new QFrame(this);
            line->setObjectName(QStringLiteral("MenuLine"));
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            grid->addWidget(line, row++, 0, 1, 2);
        }
        for (int index : groups[g]) {
            auto* img = new QLabel(this);
            img->setObjectName(QStringLiteral("MenuImg"));
            img->setPixmap(
                Artwork::pixmap(Artwork::forMenuIndex(index), PictureSize, devicePixelRatioF()));
            img->setContentsMargins(4, 3, 6, 3);
            auto* label = new QLabel(TrayMenu::caption(index), this);
            label->setObjectName(QStringLiteral("MenuLB"));
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
        }
    }
    // Menu load: every label gets the normal colours.
    for (QLabel* label : m_labels)
        setColours(label, false);

    m_closeTimer.setObjectName(QStringLiteral("CloseTimer"));
    m_closeTimer.setParent(this);
    m_closeTimer.setInterval(CloseInterval);
    connect(&m_closeTimer, &QTimer::timeout, this, &Menu::closeTimerTick);
    m_closeTimer.start();
    adjustSize();
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
        setColours(m_labels[j], j == index);
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
            clicked(index.toInt());
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
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Menu::clicked(int index) {
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
