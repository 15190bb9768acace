// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/CalendarGeometry.h"
#include "calendar/EventIcons.h"
#include "calendar/EventRow.h"
#include "calendar/EventStore.h"
#include "calendar/HolidayUpdate.h"
#include "calendar/MonthLayout.h"
#include "calendar/MonthNavigation.h"
#include "calendar/caldav/CalendarSync.h"
#include "calendar/ical/Subscriptions.h"
#include "shell/AppContext.h"
#include "shell/ui/ToolPage.h"

#include <QCoreApplication>
#include <QDate>
#include <QPointer>

#include <functional>
#include <optional>
#include <vector>

class CalendarGrid;
class OptionsGroup;
class QCalendarWidget;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;
class TrayController;

// The Personal Calendar month view ("Personal Calendar"): 42 day cells with one icon per
// event and the events' texts in a tooltip. One date is always selected; the editor, the
// search and the export work from it. The window keeps no event data: every full redraw
// reads the month from the data file again. Controls carry their names as
// objectName (CalPic, MnYrLb, MonthBtn, YearUd, TodayCmd, ...); the window's own name,
// "Calendar", makes F1 open the help topic "calendar.htm" through the application's help key.
class Calendar : public ToolPage {
    Q_OBJECT
public:
    Calendar(AppContext& context, QWidget* parent = nullptr);
    ~Calendar() override;

    // Moves the selection rectangle to the selected date and, when that date is not in the
    // month drawn last or `force` is true, reads and draws the whole month again.
    void redraw(bool force);

    // Shown or resized inside the main window: lay out and redraw shortly (RefreshTimer).
    void activated() override;
    void hostResized() override;

    Q_INVOKABLE QDate selectedDate() const;
    // Selects a date (kept within 1 January 1753 ... 31 December 9999) without drawing;
    // callers follow with redraw(true), as the reminder does to open the calendar at an
    // event's date.
    Q_INVOKABLE void setSelectedDate(const QDate& date);

    // The copies of the holiday switches (AddH, AddC, AddA) and of the small-icon mode
    // (SmIco), read from System when the window was created; the editor and the export
    // use these.
    HolidayFlags holidayFlags() const;
    bool smallIcons() const;
    // HolidaysIL and the decoded event pictures, shared with the export.
    EventIcons& icons() { return m_icons; }

    const EventStore& store() const { return m_store; }
    const CalendarGeometry& geometryTwips() const { return m_geometry; }
    // The tooltip list of the last full redraw: one line per drawn icon.
    const std::vector<MonthLayout::TooltipEntry>& tooltipList() const { return m_tooltips; }

    // The "Calendar" menu of the main window: the editor, the .ics import and export and
    // the subscriptions, through the signals below.
    QMenu* pageMenu() override { return m_pageMenu; }

Q_SIGNALS:
    // The tools that open from the month view, run by whoever connects (the calendar tool).
    // The event editor, run modally for selectedDate(); the month is drawn again after it.
    // With nothing connected the editor's commands do nothing.
    void editEventsRequested();
    // An item of the "Export" menu: 1 selected date, 2 coming 7 days, 3 selected month.
    void exportRequested(int range);
    // The Export menu's iCalendar items: "iCalendar file (.ics)...", "Import iCalendar
    // file...", "Subscribe to a calendar...".
    void icsExportRequested();
    void icsImportRequested();
    void subscribeRequested();
    // .ics files dropped on the window; a drop is taken only while this is connected.
    void icsDropped(const QStringList& files);
    // "Find Next" with the search box's text; the search selects its answer and calls
    // redraw(true).
    void findNextRequested(const QString& text);

public Q_SLOTS:
    // RefreshTimer's step: switches the timer off, lays the window out for its size and
    // redraws the month.
    void layOutNow();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    // Whether dropped .ics files are taken: someone imports them.
    bool dropsTaken() const;
    void readSettings();
    // The grid's first weekday from the user's "Weeks start on" choice.
    void readWeekStart();
    // Events or the settings the month shows changed: the month is drawn again.
    void dataChanged();
    void applyGeometry();
    void placeTitle();
    // Selects `date` and redraws; `force` as for redraw().
    void go(const QDate& date, bool force);
    // A move of the user's: the date it selects, or the editor.
    void take(const MonthNavigation::Step& step);

    void editEvents();
    void exportEvents();
    void findNext();
    void gridKey(int key, Qt::KeyboardModifiers modifiers);
    // The grid's accessible name and description: the selected date and its events.
    void describeSelection();
    void gridPressed(const QPointF& twips);
    void gridMoved(const QPointF& twips);

    AppContext& m_context;
    EventStore& m_store;
    EventIcons m_icons;
    CalendarGeometry m_geometry;
    std::vector<MonthLayout::TooltipEntry> m_tooltips;
    // EventStore::shownWithinWindow, read again after the events changed.
    std::optional<QHash<QString, QDate>> m_shownUntil;
    QDate m_drawnFirst; // first visible day of the grid drawn last
    Qt::DayOfWeek m_weekStart = Qt::Sunday;
    int m_tooltipKey = 0; // date key of the cell whose tooltip is up, 0 for none
    double m_tooltipWidth = 0;

    QFrame* m_calFrame;
    QFrame* m_cmdFrame;
    QLabel* m_calHeadImg;
    QLabel* m_title;
    QToolButton* m_monthButtons[2];
    QWidget* m_yearUd;
    QLabel* m_weekdays;
    CalendarGrid* m_grid;
    QLabel* m_tooltip;
    QLabel* m_searchLabel;
    QLineEdit* m_searchTb;
    QPushButton* m_findCmd;
    QPushButton* m_editCmd;
    QPushButton* m_exportCmd;
    QPushButton* m_todayCmd;
    QCalendarWidget* m_monthCal;
    QCheckBox* m_addH;
    QCheckBox* m_addC;
    QCheckBox* m_addA;
    QCheckBox* m_smIco;
    QTimer* m_refreshTimer;
    QMenu* m_exportMenu;
    QMenu* m_pageMenu;
};

// The calendar as the main window's "Personal Calendar" tool, with its event editor and its
// background work: the holiday lists, the subscribed calendars and the CalDAV sync. Others
// bring it up at a date through showDate().
class CalendarTool {
    Q_DECLARE_TR_FUNCTIONS(CalendarTool)

public:
    // `tell` shows a background failure the user must act on (none: not shown).
    explicit CalendarTool(AppContext& context, std::function<void(const QString&)> tell = {});
    // Makes the page (the main window asks the first time the tool is chosen) and keeps
    // hold of it.
    Calendar* makePage(QWidget* parent);
    // Adds its start-up jobs (the shipped holidays, the sync after start-up) and its minute
    // jobs (the holiday update, the subscriptions, the sync), in that order.
    void addJobs(TrayController& controller);
    // The "Calendar sync" group of Options, run by this tool's sync.
    OptionsGroup* makeOptionsGroup(QWidget* parent);
    // The page once the main window has loaded it; null before.
    Calendar* page() const { return m_page; }
    // Selects `date` in the loaded page and redraws it.
    void showDate(const QDate& date);
    // What an import of files did, for its summary window.
    struct ImportSummary {
        QString text; // every file's report
        bool failed = false;
        QString refusal; // the first line of the first refused file's report
    };
    // Imports iCalendar files (from the menu, a drop or the command line), redraws the page
    // when it is loaded and shows what each file brought in one summary window.
    void importFiles(AppContext& context, const QStringList& paths);
    // The same in two steps, for a request that must be answered before a window opens:
    // the import with nothing shown, its files read on a worker thread and stored from the
    // event loop, after which `done` gets what it did; then its summary window.
    void importQuietly(AppContext& context, const QStringList& paths,
                       std::function<void(const ImportSummary& summary)> done);
    void showImportSummary(AppContext& context, const ImportSummary& summary);
    // The account's sync, which Options sets up.
    CalendarSync& sync() { return m_sync; }

private:
    AppContext& m_context;
    QPointer<Calendar> m_page;
    HolidayUpdate m_holidayUpdate;
    SubscriptionRefresh m_subscriptions;
    CalendarSync m_sync;
};
