#pragma once

#include "core/AppContext.h"
#include "core/ShellTables.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class ToolRegistry;

// The main window "Plumora": one child window per tool, exactly one visible at a time and
// filling the client area, chosen with the toolbar MainTB or the Tools menu. It opens at
// its remembered placement and stores it again when it closes. Closing it unloads its tools
// but never ends Plumora. See ToolRegistry.h for what a tool may offer.
class PLM : public QMainWindow {
    Q_OBJECT
public:
    // The size the window opens with when no size was stored yet.
    static constexpr QSize DesignSize{780, 560};

    PLM(AppContext& context, const ToolRegistry& tools, QWidget* parent = nullptr);

    // The toolbar action of a button number (1..14, separators included).
    void MainTB_ButtonClick(int button);

    QAction* toolbarButton(int button) const;
    // The visible tool, or null before the first choice.
    QWidget* activeChild() const { return m_active; }
    // A tool that has been loaded, by its designed name; null when not loaded yet.
    QWidget* loadedChild(const QString& name) const;
    QWidget* clientArea() const { return m_client; }

    // The context menu "QAMenu" or "ExportMenu" of the main window that holds `tool`.
    static QMenu* contextMenu(QWidget* tool, const QString& name);

Q_SIGNALS:
    // "Reminder" button and "Show Reminder": the tray menu's index 7.
    void reminderRequested();
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbar();
    void buildMenus();
    void buildContextMenus();
    void applyStoredPlacement();
    QWidget* ensureChild(int button);
    void fitActiveChild();
    void drawEtchedRule(QWidget* child);
    void notifyResized();
    // Edit menu: the focused control's own slot when it has one, else the keystroke.
    void editFocused(const char* slot, int key, Qt::KeyboardModifiers modifiers);
    // The Help button and "Content": F1 to the focused control of the active tool.
    void sendHelpKey();

    AppContext& m_context;
    const ToolRegistry& m_tools;
    QWidget* m_client = nullptr;
    QLabel* m_statusPanel = nullptr;
    QActionGroup* m_toolGroup = nullptr;
    std::array<QAction*, MainToolbar::ButtonCount + 1> m_buttons{};
    QPointer<QWidget> m_active;
};
