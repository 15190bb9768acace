// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/DayEdit.h"
#include "calendar/icons/IconPickRules.h"
#include "shell/AppContext.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>

class QCalendarWidget;
class QComboBox;
class QFrame;
class QKeyEvent;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class SpellAsYouType;
class SpellChecker;

// The event editor "Edit Events - mmm dd yyyy": the day's events in the grid EventsGrid,
// holidays first on grey, the user's own events editable through the cell editors DescTb,
// DatePick and RepeatCb. Nothing is written before "Save", which replaces the day's user
// events in one go. The rules live in DayEdit; this window shows them and forwards clicks.
class EditEvents : public QDialog {
    Q_OBJECT
public:
    enum Column { MarkCol, IconCol, DescCol, DateCol, RepeatCol };

    // Opens a picker and returns the chosen picture; null when nothing was chosen.
    using IconChooser = std::function<QImage(EditEvents&)>;

    EditEvents(AppContext& context, const QDate& day, const HolidayFlags& flags,
               QWidget* parent = nullptr);
    ~EditEvents() override;

    static QString captionFor(const QDate& day);

    const DayEdit& edit() const { return m_edit; }
    // Replaces the icon picker "Select Icon" (tests).
    void setIconChooser(IconChooser chooser) { m_chooser = std::move(chooser); }

    // The grid's click on an event row (0 = the first line below the header).
    void clickCell(int row, int column);
    // Closes the visible cell editors, taking their values.
    void leaveEditors();
    // "Save": true when the day was written and the editor closed.
    bool save();
    // Esc and the window's close: typed rows that were not saved are only dropped once the
    // user says so. "Cancel" drops them without asking.
    void reject() override;

    // Where the date picker of `size` goes for a cell: below it, or above it when there
    // is no room below, and always whole inside `area`.
    static QRect datePickPlace(const QRect& cell, const QSize& size, const QRect& area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void buildControls();
    void syncRows();
    void showRow(int r);
    QImage shownPicture(const QImage& picture) const;
    void showDescription(int r);
    void showDatePick(int r);
    void showRepeat(int r);
    void cancelEditor(QWidget* editor);
    void closeDescription(bool take);
    void closeDatePick(bool take);
    void closeRepeat();
    void hideEditor(QWidget* editor);
    void datePicked(const QDate& date);
    void repeatChosen(int index);
    QImage chooseIcon(int row);
    // A key on the grid: true when the editor handled it.
    bool gridKey(QKeyEvent* key);
    // What the rows hold, to tell whether anything changed since they were read.
    QStringList rowsText() const;
    // A character typed on cell (r, c): opens the cell's editor with it.
    void typeInto(int r, int c, QKeyEvent* key);

    AppContext& m_context;
    DayEdit m_edit;
    IconFolderMemory m_folders;
    IconChooser m_chooser;
    std::unique_ptr<SpellChecker> m_spell;
    QPointer<SpellAsYouType> m_spelling;

    // The row each visible cell editor belongs to; -1 while it is hidden.
    int m_descRow = -1;
    int m_dateRow = -1;
    int m_repeatRow = -1;
    QStringList m_loadedRows;

    QTableWidget* m_grid;
    QPlainTextEdit* m_descTb;
    QFrame* m_dateFrame;
    QCalendarWidget* m_datePick;
    QComboBox* m_repeatCb;
    QPushButton* m_saveBtn;
    QPushButton* m_cancelBtn;
    QPushButton* m_helpCmd;
};
