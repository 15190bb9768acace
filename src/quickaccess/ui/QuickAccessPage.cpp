// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/ui/QuickAccessPage.h"

#include "data/ChangeHub.h"
#include "data/SaveFailures.h"
#include "platform/CdTray.h"
#include "platform/DesktopShell.h"
#include "platform/Dialogs.h"
#include "platform/MountTable.h"
#include "platform/RegularFile.h"
#include "quickaccess/QuickAccessLog.h"
#include "shell/ShellTables.h"
#include "shell/Twips.h"
#include "shell/ui/PopupMenuAccess.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Page geometry in twips.
constexpr int SideMargin = 315;
constexpr int GridTop = 300;
constexpr int FrameGap = 120;
constexpr int BottomMargin = 240;
constexpr int FrameNarrowing = 48;
constexpr int NameColumnWidth = 3900;
constexpr int IconColumnWidth = 420;
constexpr int MinimumGridHeight = 900;

constexpr char FolderNotFound[] = QT_TRANSLATE_NOOP("QuickAccessPage", "Folder not found! ");

// A manila folder on a 32-unit grid, painted as vectors so it stays sharp at any size and
// device pixel ratio. Edges run along odd units with a 2-unit pen, so at 16 and 32 pixels
// they fill whole pixels.
void paintFolder(QPainter& p, const QRectF& box) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.topLeft());
    p.scale(box.width() / 32.0, box.height() / 32.0);
    p.setPen(QPen(QColor(0x9a, 0x6a, 0x0e), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));

    QPainterPath back;
    back.moveTo(3, 27);
    back.lineTo(3, 5);
    back.lineTo(13, 5);
    back.lineTo(15, 9);
    back.lineTo(29, 9);
    back.lineTo(29, 27);
    back.closeSubpath();
    p.setBrush(QColor(0xe3, 0xa6, 0x2a));
    p.drawPath(back);

    QPainterPath front;
    front.moveTo(3, 27);
    front.lineTo(7, 13);
    front.lineTo(31, 13);
    front.lineTo(29, 27);
    front.closeSubpath();
    QLinearGradient shade(0, 13, 0, 27);
    shade.setColorAt(0, QColor(0xfb, 0xd7, 0x6e));
    shade.setColorAt(1, QColor(0xf2, 0xbc, 0x42));
    p.setBrush(shade);
    p.drawPath(front);
    p.restore();
}

// Draws the folder picture, centred, in the grid's first column.
class FolderIconDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index); // background and selection
        const int side = std::min({16, option.rect.width() - 2, option.rect.height() - 2});
        if (side <= 0)
            return;
        // On whole pixels, so the edges stay sharp.
        const QRect& cell = option.rect;
        paintFolder(*painter, QRectF(cell.x() + (cell.width() - side) / 2,
                                     cell.y() + (cell.height() - side) / 2, side, side));
    }
};

// The folder's own name: what follows the last "/", or the whole path when there is none.
QString folderName(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString name = (slash < 0 ? path : path.mid(slash + 1)).trimmed();
    return name.isEmpty() ? path.trimmed() : name;
}

int px(int twips) {
    return Twips::toPixels(twips);
}

QString mountPointFromTable(const QString& device) {
    const std::optional<QByteArray> table =
        RegularFile::read(QStringLiteral("/proc/self/mountinfo"), 16 * 1024 * 1024);
    return table ? CdDrives::mountPointOf(device, MountTable::parse(*table)) : QString();
}

} // namespace

QuickAccessMachine QuickAccessMachine::system() {
    QuickAccessMachine machine;
    machine.cdDrives = [] { return CdDrives::list(); };
    machine.mountPointOf = mountPointFromTable;
    machine.ejectTray = CdTray::eject;
    machine.closeTray = CdTray::close;
    machine.beep = [] { QApplication::beep(); };
    return machine;
}

QuickAccessPage::QuickAccessPage(AppContext& context, QuickAccessMachine machine, QWidget* parent)
    : ToolPage(parent), m_context(context), m_machine(std::move(machine)),
      m_store(context.stores.get<QuickAccessStore>()) {
    setObjectName(QStringLiteral("QAccess"));
    setWindowTitle(tr("Quick Access"));
    setAccessibleName(tr("Quick Access"));
    buildControls();
    reload();
    // The minute's folder tracking and other processes write QAccess: a shown list follows.
    connect(&context.stores.changes, &ChangeHub::changed, this, [this](const QString& table) {
        if (table == QLatin1String("QAccess") && isVisible())
            reload();
    });
}

void QuickAccessPage::buildControls() {
    m_grid = new QTableWidget(0, 3, this);
    m_grid->setObjectName(QStringLiteral("FolderGrid"));
    m_grid->setAccessibleName(tr("Frequently used folders"));
    m_grid->setAccessibleDescription(tr("Double-click a folder or press Enter to open it"));
    m_grid->setHorizontalHeaderLabels({QString(), tr("Frequently Used Folder"), tr("Location")});
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(
        std::max(20, m_grid->fontMetrics().height() + 8));
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setTabKeyNavigation(false);
    m_grid->setWordWrap(false);
    m_grid->setTextElideMode(Qt::ElideMiddle);
    m_grid->setShowGrid(false);
    m_grid->setItemDelegateForColumn(0, new FolderIconDelegate(m_grid));
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    m_grid->setColumnWidth(0, px(IconColumnWidth));
    m_grid->setColumnWidth(1, px(NameColumnWidth));
    // The location takes the remaining width; long paths are shortened in the middle and
    // shown whole in their tool tip.
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { openFolder(row); });
    // An empty list says why, as folders only come in over time.
    m_emptyLb =
        new QLabel(tr("Folders you open on two different days appear here."), m_grid->viewport());
    m_emptyLb->setObjectName(QStringLiteral("EmptyLb"));
    m_emptyLb->setAlignment(Qt::AlignCenter);
    m_emptyLb->setWordWrap(true);
    (new QVBoxLayout(m_grid->viewport()))->addWidget(m_emptyLb);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("QAMenu"));
    QAction* clear = m_menu->addAction(tr("Clear List"));
    clear->setObjectName(QStringLiteral("ClearMenu"));
    connect(clear, &QAction::triggered, this, &QuickAccessPage::clearList);
    PopupMenuAccess::attach(this, m_menu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(m_grid->viewport()->mapToGlobal(at)); });

    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("CmdFrame"));
    m_frame->setFrameShape(QFrame::StyledPanel);
    auto* rows = new QVBoxLayout(m_frame);
    auto* shortcutRow = new QHBoxLayout;
    auto* driveRow = new QHBoxLayout;
    rows->addLayout(shortcutRow);
    rows->addLayout(driveRow);

    const std::array<const char*, 4> shortcuts{
        QT_TRANSLATE_NOOP("QuickAccessPage", "Compose New E-mail"),
        QT_TRANSLATE_NOOP("QuickAccessPage", "Command Prompt.."),
        QT_TRANSLATE_NOOP("QuickAccessPage", "Computer Management"),
        QT_TRANSLATE_NOOP("QuickAccessPage", "System Information")};
    const std::array<const char*, 4> shortcutHelp{
        QT_TRANSLATE_NOOP("QuickAccessPage", "Write a new message in your mail program"),
        QT_TRANSLATE_NOOP("QuickAccessPage", "Open a terminal in a folder you choose"),
        QT_TRANSLATE_NOOP("QuickAccessPage", "Open your desktop's settings"),
        QT_TRANSLATE_NOOP("QuickAccessPage", "Open a tool that describes this computer")};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(tr(shortcuts[std::size_t(i)]), m_frame);
        b->setObjectName(QStringLiteral("SUCmd"));
        b->setProperty("index", i);
        b->setAccessibleName(b->text());
        b->setAccessibleDescription(tr(shortcutHelp[std::size_t(i)]));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { runShortcut(Shortcut(i)); });
        shortcutRow->addWidget(b, 1);
        m_shortcutButtons[std::size_t(i)] = b;
    }

    m_cdCb = new QComboBox(m_frame);
    m_cdCb->setObjectName(QStringLiteral("CdCb"));
    m_cdCb->setAccessibleName(tr("CD drive"));
    m_cdCb->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(m_cdCb, &QComboBox::currentIndexChanged, this, &QuickAccessPage::updateDriveButtons);
    driveRow->addWidget(m_cdCb, 1);
    const std::array<const char*, 4> drive{QT_TRANSLATE_NOOP("QuickAccessPage", "Eject"),
                                           QT_TRANSLATE_NOOP("QuickAccessPage", "Close"),
                                           QT_TRANSLATE_NOOP("QuickAccessPage", "AutoPlay"),
                                           QT_TRANSLATE_NOOP("QuickAccessPage", "Explore")};
    const std::array<const char*, 4> driveHelp{
        QT_TRANSLATE_NOOP("QuickAccessPage", "Open the tray of the selected CD drive"),
        QT_TRANSLATE_NOOP("QuickAccessPage", "Close the tray of the selected CD drive"),
        QT_TRANSLATE_NOOP("QuickAccessPage", "Start the program of the disc in the selected drive"),
        QT_TRANSLATE_NOOP("QuickAccessPage",
                          "Open the disc of the selected drive in the file manager")};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(tr(drive[std::size_t(i)]), m_frame);
        b->setObjectName(QStringLiteral("cdCmd"));
        b->setProperty("index", i);
        b->setAccessibleName(b->text());
        b->setAccessibleDescription(tr(driveHelp[std::size_t(i)]));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { runDriveCommand(DriveCommand(i)); });
        driveRow->addWidget(b, 1);
        m_driveButtons[std::size_t(i)] = b;
    }

    QWidget* previous = m_grid;
    for (QPushButton* b : m_shortcutButtons) {
        setTabOrder(previous, b);
        previous = b;
    }
    setTabOrder(previous, m_cdCb);
    previous = m_cdCb;
    for (QPushButton* b : m_driveButtons) {
        setTabOrder(previous, b);
        previous = b;
    }
}

void QuickAccessPage::reload() {
    QList<QuickAccessStore::Folder> folders;
    if (!m_store.mostUsed(folders))
        tell(tr("The list of folders could not be read."));
    fillGrid(folders);

    const SystemShortcuts& tools = m_machine.shortcuts;
    m_shortcutButtons[CommandPrompt]->setEnabled(tools.terminal(QString()).isValid());
    m_shortcutButtons[ComputerManagement]->setEnabled(tools.settingsConsole().isValid());
    m_shortcutButtons[SystemInformation]->setEnabled(tools.systemInformation().isValid());
    fillDrives();
}

void QuickAccessPage::fillGrid(const QList<QuickAccessStore::Folder>& folders) {
    m_grid->clearContents();
    m_grid->setRowCount(int(folders.size()));
    for (int row = 0; row < folders.size(); ++row) {
        const QString& path = folders[row].fullPath;
        auto* icon = new QTableWidgetItem;
        icon->setData(Qt::AccessibleTextRole, tr("Folder"));
        auto* name = new QTableWidgetItem(folderName(path));
        // The folder is opened by its stored path: a name may end in blanks.
        auto* location = new QTableWidgetItem(path.trimmed());
        location->setData(Qt::UserRole, path);
        location->setToolTip(path);
        name->setToolTip(path);
        m_grid->setItem(row, 0, icon);
        m_grid->setItem(row, 1, name);
        m_grid->setItem(row, 2, location);
    }
    m_grid->setEnabled(!folders.isEmpty());
    m_emptyLb->setVisible(folders.isEmpty());
    m_grid->setAccessibleDescription(folders.isEmpty()
                                         ? m_emptyLb->text()
                                         : tr("Double-click a folder or press Enter to open it"));
    if (!folders.isEmpty())
        m_grid->setCurrentCell(0, 1);
}

void QuickAccessPage::fillDrives() {
    const QString selected = m_cdCb->currentData().toString();
    m_drives = m_machine.cdDrives ? m_machine.cdDrives() : QList<CdDrives::Drive>();
    {
        const QSignalBlocker blocker(m_cdCb);
        m_cdCb->clear();
        for (const CdDrives::Drive& drive : std::as_const(m_drives))
            m_cdCb->addItem(drive.device, drive.device);
        const int again = m_cdCb->findData(selected);
        m_cdCb->setCurrentIndex(again >= 0 ? again : (m_drives.isEmpty() ? -1 : 0));
    }
    m_cdCb->setEnabled(!m_drives.isEmpty());
    updateDriveButtons();
}

void QuickAccessPage::updateDriveButtons() {
    const int index = m_cdCb->currentIndex();
    const bool any = index >= 0 && index < m_drives.size();
    for (QPushButton* b : m_driveButtons)
        b->setEnabled(any);
    // A slot-loading drive has no tray to move.
    if (any) {
        m_driveButtons[Eject]->setEnabled(m_drives[index].canOpenTray);
        m_driveButtons[Close]->setEnabled(m_drives[index].canCloseTray);
    }
}

void QuickAccessPage::activated() {
    reload();
    layOut();
}

void QuickAccessPage::hostResized() {
    layOut();
}

void QuickAccessPage::resizeEvent(QResizeEvent* event) {
    ToolPage::resizeEvent(event);
    layOut();
}

void QuickAccessPage::layOut() {
    const int margin = px(SideMargin);
    const int gridWidth = std::max(1, width() - 2 * margin);
    const int frameHeight = m_frame->sizeHint().height();
    const int gridHeight = std::max(px(MinimumGridHeight), height() - px(GridTop) - px(FrameGap) -
                                                               frameHeight - px(BottomMargin));
    m_grid->setGeometry(margin, px(GridTop), gridWidth, gridHeight);
    const int narrowing = px(FrameNarrowing);
    m_frame->setGeometry(margin + narrowing / 2, m_grid->geometry().bottom() + 1 + px(FrameGap),
                         std::max(1, gridWidth - narrowing), frameHeight);
}

bool QuickAccessPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_grid->currentRow() >= 0) {
            openFolder(m_grid->currentRow());
            return true;
        }
    }
    return ToolPage::eventFilter(watched, event);
}

void QuickAccessPage::openFolder(int row) {
    const QTableWidgetItem* location = m_grid->item(row, 2);
    if (location)
        explore(location->data(Qt::UserRole).toString());
}

void QuickAccessPage::explore(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        tell(tr(FolderNotFound));
        return;
    }
    if (!m_context.shell.openUrl(QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded))) {
        tell(tr("No file manager could be started to open %1.").arg(folder));
        return;
    }
    minimiseMainWindow();
}

void QuickAccessPage::runShortcut(Shortcut shortcut) {
    const SystemShortcuts& tools = m_machine.shortcuts;
    switch (shortcut) {
    case ComposeMail:
        if (m_context.shell.openUrl(QStringLiteral("mailto:")))
            minimiseMainWindow();
        else
            tell(tr("No mail program could be started to write a new message."));
        return;
    case CommandPrompt: {
        const QString folder = m_context.dialogs.browseForFolder(
            this, m_context.shell.specialFolderPath(SpecialFolder::Documents));
        if (!folder.isEmpty() && start(tools.terminal(folder)))
            minimiseMainWindow();
        return;
    }
    case ComputerManagement:
        if (start(tools.settingsConsole()))
            minimiseMainWindow();
        return;
    case SystemInformation:
        if (start(tools.systemInformation()))
            minimiseMainWindow();
        return;
    }
}

void QuickAccessPage::runDriveCommand(DriveCommand command) {
    const int index = m_cdCb->currentIndex();
    if (index < 0 || index >= m_drives.size())
        return;
    const QString device = m_drives[index].device;
    switch (command) {
    case Eject:
        if (!m_machine.ejectTray(device))
            tell(tr("The tray of %1 could not be opened.").arg(device));
        return;
    case Close:
        if (!m_machine.closeTray(device))
            tell(tr("The tray of %1 could not be closed.").arg(device));
        return;
    case AutoPlay: {
        const LaunchCommand program = CdDrives::autorunOf(m_machine.mountPointOf(device));
        if (!program.isValid()) {
            if (m_machine.beep)
                m_machine.beep();
        } else if (start(program)) {
            minimiseMainWindow();
        }
        return;
    }
    case Explore:
        explore(m_machine.mountPointOf(device));
        return;
    }
}

bool QuickAccessPage::start(const LaunchCommand& command) {
    if (!command.isValid()) {
        tell(tr("The program for this command is not installed."));
        return false;
    }
    if (m_context.shell.startProgram(command.program, command.arguments, command.workingFolder))
        return true;
    qCWarning(lcQuickAccess) << "could not start" << command.program << command.arguments;
    tell(tr("%1 could not be started.").arg(command.program));
    return false;
}

void QuickAccessPage::clearList() {
    if (m_context.dialogs.messageBox(tr("Are you sure to clear the list?"), tr("Confirm"),
                                     MessageButtons::YesNoDefaultNo,
                                     MessageIcon::Information) != MessageAnswer::Yes)
        return;
    if (!m_store.clear()) {
        tell(SaveFailures::failedText(tr("The cleared list"), m_store.dataFile(),
                                      m_store.lastError()));
        return;
    }
    fillGrid({});
}

void QuickAccessPage::minimiseMainWindow() {
    window()->showMinimized();
}

void QuickAccessPage::tell(const QString& text) {
    ToolPage::tell(m_context.dialogs, text);
}

ToolDescriptor::PageFactory QuickAccessPage::pages(AppContext& context) {
    return [&context](QWidget* parent) {
        return new QuickAccessPage(context, QuickAccessMachine::system(), parent);
    };
}
