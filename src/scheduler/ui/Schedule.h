// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scheduler/ScheduleEditorState.h"
#include "scheduler/ScheduleList.h"
#include "scheduler/ScheduleStore.h"
#include "shell/AppContext.h"
#include "shell/ui/ToolPage.h"

#include <QPointer>

#include <functional>
#include <optional>

class QLabel;
class QTableWidget;

// The Power Scheduler list ("Power Scheduler"): one line per Schedule entry in SchDT order
// in the grid SchGrid, then empty lines for new entries. A double-click on the "X" column
// (or Space / Delete on a line) marks the line's entry for deletion; a double-click
// elsewhere (or Enter) opens the entry editor on the line and saves what it confirms into
// that line's own entry. Marked entries, and rows left at type 0, are deleted in one go when
// the window closes or hides (not when another tool is shown, which keeps the marks); the
// list is read again the next time it is shown.
class Schedule : public ToolPage {
    Q_OBJECT
public:
    enum Column { MarkCol, TypeCol, DescCol, WhenCol, FreqCol, ColumnCount };
    // A line's position among the ordered entries (the key that finds its entry again): data
    // of the line's first cell, so it is neither on the screen nor read out.
    static constexpr int PositionRole = Qt::UserRole;
    // Margins kept around the grid in the page, in twips.
    static constexpr int SpareWidthTwips = 560;
    static constexpr int SpareHeightTwips = 2150;
    static constexpr int HeaderTwips = 310;

    // Shows the entry editor for a preset: the confirmed answers, nullopt when cancelled.
    using Editor = std::function<std::optional<ScheduleEditorState>(
        QWidget* parent, const ScheduleEditorState& preset)>;

    explicit Schedule(AppContext& context, QWidget* parent = nullptr);

    void activated() override;
    // Marks are applied too, as when the window closes.
    void keepEverything() override {
        aboutToHide();
        applyMarks();
    }
    // The entries marked for deletion are deleted first.
    bool keepForUnload(QString* failure) override;
    void giveUpUnsaved() override { m_stale = true; }
    void hostResized() override;

    // What a double-click on a grid cell does (line 0 is the first line below the header).
    void doubleClickCell(int line, int column);

    // Replaces the entry editor (tests).
    void setEditor(Editor editor) { m_editor = std::move(editor); }
    const ScheduleList& list() const { return m_list; }
    QTableWidget* grid() const { return m_grid; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    // False (the reason in the store) when the marked entries could not be deleted.
    bool deleteMarked();
    void applyMarks();
    // Reads the table again; the marks of entries still listed are kept.
    void reload();
    void fill();
    void showLine(int line);
    void toggleMark(int line);
    void editLine(int line);
    void layOut();
    void fitColumns();
    void tell(const QString& text);

    AppContext& m_context;
    ScheduleStore& m_store;
    ScheduleList m_list;
    Editor m_editor;
    // The marks were applied or the table changed: read it when shown again.
    bool m_stale = false;
    QTableWidget* m_grid;
    QLabel* m_hintLb;
};

// The Power Scheduler as the main window's tool.
class ScheduleTool {
public:
    explicit ScheduleTool(AppContext& context) : m_context(context) {}
    // Makes the page (the main window asks the first time the tool is chosen) and keeps
    // hold of it.
    Schedule* makePage(QWidget* parent);
    // The page once the main window has loaded it; null before.
    Schedule* page() const { return m_page; }

private:
    AppContext& m_context;
    QPointer<Schedule> m_page;
};
