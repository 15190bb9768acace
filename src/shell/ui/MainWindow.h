// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/AppContext.h"
#include "shell/ShellTables.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class ToolPage;
class ToolRegistry;

// The main window "Plumora": one page per tool, exactly one visible at a time and filling
// the client area, chosen with the toolbar or the Tools menu. It opens at its remembered
// placement, fitted to the screen, and stores it again when it closes (a fitted one only
// once the user has moved or resized it). It is never smaller than its tools need. Closing it
// unloads its tools but never ends Plumora. It works with tools only through ToolPage.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The size the window opens with when no size was stored yet.
    static constexpr QSize DefaultSize{780, 560};

    MainWindow(AppContext& context, const ToolRegistry& tools, QWidget* parent = nullptr);

    // What a toolbar button (1..14, separators included, then the tools' beyond the shell's
    // slots) does when clicked.
    void clickToolbarButton(int button);

    QAction* toolbarButton(int button) const;
    // The visible page, or null before the first choice.
    ToolPage* activePage() const { return m_active; }
    // The page of a tool button once it has been loaded; null before.
    ToolPage* loadedPage(int button) const { return m_pages.value(button); }
    // Every page loaded so far, in the tools' order.
    QList<ToolPage*> loadedPages() const;
    QWidget* clientArea() const { return m_client; }
    // Closes the window as the program ends, with what was kept already settled.
    void closeAtEnd() {
        m_ending = true;
        close();
    }

Q_SIGNALS:
    // "Reminder" button and "Show Reminder".
    void reminderRequested();
    void aboutRequested();
    // "Web Site" of the Help menu.
    void webSiteRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbar();
    void buildMenus();
    void applyStoredPlacement();
    ToolPage* ensurePage(int button);
    void fitActivePage();
    void focusPage(ToolPage* page);
    // The shown page's own menu goes into the menu bar before Help, the last page's out.
    void showPageMenu(ToolPage* page);
    void drawEtchedRule(QWidget* page);
    // Edit menu: the focused control's own slot when it has one, else the keystroke.
    void editFocused(const char* slot, int key, Qt::KeyboardModifiers modifiers);
    // The Help button and "Content": F1 to the focused control of the active tool.
    void sendHelpKey();

    AppContext& m_context;
    const ToolRegistry& m_tools;
    QWidget* m_client = nullptr;
    QLabel* m_statusPanel = nullptr;
    QActionGroup* m_toolGroup = nullptr;
    QHash<int, QAction*> m_buttons; // by number, the numbered separators included
    QHash<int, QPointer<ToolPage>> m_pages;
    QPointer<ToolPage> m_active;
    QMenu* m_helpMenu = nullptr;
    QPointer<QMenu> m_pageMenu; // the shown page's, in the menu bar
    bool m_switching = false;   // a tool is being shown: its button's toggles are ours
    // The geometry the window was fitted to when it opened (null when it opened as stored):
    // only a different one is stored when it closes.
    QRect m_fittedTo;
    bool m_ending = false;
};
