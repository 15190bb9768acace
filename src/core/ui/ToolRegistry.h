#pragma once

#include <QHash>

#include <functional>

class QWidget;

// How a tool plugs into the main window without the main window knowing it.
//
// Register a factory per toolbar button (MainToolbar::CalendarButton, QNotesButton,
// ScheduleButton, QAccessButton, SCaptureButton, SSWPButton, OptionsButton), once, from
// main.cpp, before the first window opens:
//
//     tray.shell().tools().registerTool(MainToolbar::CalendarButton, [&](QWidget* parent) {
//         return new Calendar(context, parent);
//     });
//
// The main window calls the factory the first time the tool is chosen and keeps the widget
// until the main window closes; afterwards it only hides and shows it. A tool without a
// factory appears as an empty child window with its caption.
//
// What the main window expects of the widget, all optional and found through Qt's
// meta-object system, so no tool header is needed here:
// - objectName: the designed window name ("Calendar", "QNotes", "Schedule", "QAccess",
//   "SCapture", "SSWP", "Options"); it names the help topic (lower case + ".htm"). Set
//   from the toolbar table when the factory leaves it empty; so is windowTitle, the caption
//   shown in the status bar.
// - Q_INVOKABLE void MDI_Resize(): called after the main window was resized.
// - Q_INVOKABLE void SaveNotes() (Quick Notes): called before the tool is hidden and
//   when the main window closes.
// - a QTimer child named "RefreshTimer" (the calendar): started instead of MDI_Resize,
//   and when the calendar is chosen.
// - Q_INVOKABLE void ClearList() (Quick Access): called by the "Clear List" item of the
//   context menu QAMenu.
// - closeEvent(): delivered to every loaded tool when the main window closes.
// Context menus of tools live in the main window: PLM::contextMenu(tool, "QAMenu") or
// "ExportMenu" returns the menu to pop up.
class ToolRegistry {
public:
    using Factory = std::function<QWidget*(QWidget* parent)>;
    // range: 1 selected date, 2 coming 7 days, 3 selected month.
    using ExportHandler = std::function<void(int range)>;

    void registerTool(int toolbarButton, Factory factory) {
        m_factories.insert(toolbarButton, std::move(factory));
    }
    Factory factory(int toolbarButton) const { return m_factories.value(toolbarButton); }

    // The items of the "Export" menu (Selected date, Coming 7 days, Selected month): the
    // calendar's export loads ExportEvents, calls ExportHTML(range) and unloads it.
    void setExportHandler(ExportHandler handler) { m_export = std::move(handler); }
    const ExportHandler& exportHandler() const { return m_export; }

private:
    QHash<int, Factory> m_factories;
    ExportHandler m_export;
};
