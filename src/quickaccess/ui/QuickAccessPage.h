// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quickaccess/CdDrives.h"
#include "quickaccess/LaunchCommand.h"
#include "quickaccess/QuickAccessStore.h"
#include "quickaccess/SystemShortcuts.h"
#include "shell/AppContext.h"
#include "shell/ui/ToolDescriptor.h"
#include "shell/ui/ToolPage.h"

#include <QList>

#include <array>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;

// What the Quick Access page asks of the machine besides the desktop roles: the CD drives
// and their trays, the system tools behind the shortcut buttons, and the beep. Tests hand
// in their own.
struct QuickAccessMachine {
    std::function<QList<CdDrives::Drive>()> cdDrives;
    // Where a drive's disc is mounted, "" when it is not.
    std::function<QString(const QString& device)> mountPointOf;
    std::function<bool(const QString& device)> ejectTray;
    std::function<bool(const QString& device)> closeTray;
    std::function<void()> beep;
    SystemShortcuts shortcuts;

    // The real drives (/proc), trays (ioctls), installed tools and QApplication::beep.
    static QuickAccessMachine system();
};

// The Quick Access page ("Quick Access"): the folders used on most days, opened in the file
// manager with a double-click or Enter, shortcuts to a few system tools (SUCmd 0..3) and
// commands for the CD drives (CdCb, cdCmd 0..3). Controls carry their names as objectName;
// the shortcut and drive buttons share theirs and tell themselves apart by the "index"
// property. The list is read again each time the page is shown.
class QuickAccessPage : public ToolPage {
    Q_OBJECT
public:
    enum Shortcut { ComposeMail, CommandPrompt, ComputerManagement, SystemInformation };
    enum DriveCommand { Eject, Close, AutoPlay, Explore };

    explicit QuickAccessPage(AppContext& context,
                             QuickAccessMachine machine = QuickAccessMachine::system(),
                             QWidget* parent = nullptr);
    // What makes the page of the main window's Quick Access tool, on the real machine.
    static ToolDescriptor::PageFactory pages(AppContext& context);

    // Reads the folder list, which system tools are installed and the CD drives.
    void reload();
    // Asks, then forgets every tracked folder.
    void clearList();
    // Opens the folder of a grid line in the file manager.
    void openFolder(int row);
    void runShortcut(Shortcut shortcut);
    void runDriveCommand(DriveCommand command);

    void activated() override;
    void hostResized() override;

    QTableWidget* grid() const { return m_grid; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void fillGrid(const QList<QuickAccessStore::Folder>& folders);
    void fillDrives();
    void updateDriveButtons();
    void layOut();

    // Shows a folder in the file manager; "Folder not found! " when it is gone.
    void explore(const QString& folder);
    // Starts a program; false (after telling the user) when it cannot start.
    bool start(const LaunchCommand& command);
    void minimiseMainWindow();
    void tell(const QString& text);

    AppContext& m_context;
    QuickAccessMachine m_machine;
    QuickAccessStore& m_store;
    QList<CdDrives::Drive> m_drives;

    QTableWidget* m_grid = nullptr;
    QLabel* m_emptyLb = nullptr; // in the grid while it lists no folder
    QFrame* m_frame = nullptr;
    std::array<QPushButton*, 4> m_shortcutButtons{};
    QComboBox* m_cdCb = nullptr;
    std::array<QPushButton*, 4> m_driveButtons{};
    QMenu* m_menu = nullptr;
};
