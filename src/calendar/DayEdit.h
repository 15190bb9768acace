// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"

#include <QByteArray>
#include <QDate>
#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

class EventStore;

// One line of the event editor's grid, as the user sees and edits it.
struct DayEditRow {
    bool holiday = false; // a listed holiday: shown for information, never edited or saved
    bool marked = false;  // "X": the row is not saved, which deletes the event
    // The Icon cell's picture, opaque on the mask colour &HC0C0C0; null while the cell is
    // empty. `stored` keeps a listed row's IconImg byte for byte until another is picked.
    QImage picture;
    QByteArray stored;
    bool picked = false; // a picture was picked for the row in this editor
    QString description;
    QString date;   // the Date cell's text, "" while empty
    QString repeat; // "none", "weekly", "monthly", "yearly" or "" (same as "none")

    // A listed user event's identity and last change, and its cells as listed, so Save
    // keeps both for a row the user left as it was. Empty for a new row.
    QString uid;
    QDateTime modified;
    QString listedDescription;
    QString listedDate;
    int listedFrequency = 0;

    // Whether the user changed a listed row's text, date, repeat or picture.
    bool changed() const;

    // Anything in the row that makes it more than a blank line.
    bool used() const;
};

// The event editor's rules for one day, apart from its window: which rows it lists, how
// the cells fill and which rows Save writes back. The window only shows the rows and
// forwards the user's clicks and edits here.
class DayEdit {
public:
    // The grid always offers at least this many event lines.
    static constexpr int MinimumRows = 50;
    static constexpr int SmallSide = 16;

    static const QStringList RepeatItems; // "none", "weekly", "monthly", "yearly"

    // The repeat text of a Frequency code: 3 "weekly", 4 "monthly", 5 "yearly", any other
    // "none"; and back: "weekly" 3, "monthly" 4, "yearly" 5, anything else (empty too) 1.
    static QString repeatText(int frequency);
    static int frequencyOf(const QString& repeat);

    // Dates in the Date cell: "YYYY-MM-DD", which reads back to the same date whatever the
    // user's regional settings. readDate gives an invalid date for any other text.
    static QString dateText(const QDate& date);
    static QDate readDate(const QString& text);

    // The 16 x 16 rendering stored as SmallImg: the picture with &HC0C0C0 see-through,
    // scaled onto a surface of that same colour, and every pure black pixel of the result
    // repainted &H404040 so dark pictures stay visible on the small-icon grid.
    static QImage smallPicture(const QImage& picture);

    // `defaultIcon` is the picture of an event without one of its own (HolidaysIL 1).
    DayEdit(const QDate& day, const HolidayFlags& flags, QImage defaultIcon);

    // Lists the rows the store read for the day: visible holidays first, then the user's
    // events, each group in table order. A downloaded yearly holiday shows its date in the
    // edited year; every other row its stored date.
    void load(const std::vector<EventRow>& rows);

    const QDate& day() const { return m_day; }
    const QImage& defaultIcon() const { return m_defaultIcon; }
    int rowCount() const { return int(m_rows.size()); }
    const DayEditRow& row(int r) const { return m_rows.at(r); }

    // Cells 1 ... 4 of a row take edits only while it is a user row without the "X".
    bool editable(int r) const;
    // A click on the "X" cell: toggles the mark. False (nothing changes) for a holiday row
    // and for a blank line, which has nothing to delete.
    bool toggleMark(int r);
    // The description box's text changed: an empty Date cell gets the edited day.
    void descriptionTyped(int r);
    // The description box was left: its text goes into the cell.
    void setDescription(int r, const QString& text);
    // The icon picker chose a picture (null when cancelled: nothing changes). An empty Date
    // cell gets the edited day.
    void pickIcon(int r, const QImage& picture);
    // The date picker's date goes into the Date cell only for a row that has a description
    // or a picked picture, so a stray look at the picker never makes a row.
    bool takesPickedDate(int r) const;
    void setDate(int r, const QDate& date);
    // Where the date picker opens: the cell's date, or the edited day when it has none.
    QDate pickerDate(int r) const;
    // A choice in the repeat list: "none" empties the cell, any other item is written.
    void setRepeat(int r, const QString& item);
    // What the repeat list opens on: the cell's text, or "none" when it is empty.
    QString repeatChoice(int r) const;

    // The rows Save writes: every user row without the "X" whose description is not empty.
    // A row without a picture gets the default icon; every row gets its SmallImg rendered.
    // A Date cell that does not read as a date (which the cell rules never leave behind)
    // stands for the edited day rather than losing the event. A listed row keeps its UID;
    // one left as it was keeps its modified time too, a changed one gets none (the store
    // stamps it), a new row gets neither.
    std::vector<EventRow> rowsToSave() const;
    // Save: the day's user events replaced by rowsToSave() in one transaction. False when
    // the data file refused; then nothing changed and `error` says why.
    bool save(EventStore& store, QString* error = nullptr) const;

private:
    void fillDate(int r);
    // Keeps MinimumRows lines and one blank line after the last used one, so the grid
    // grows with the day's events instead of running out of lines.
    void keepSpareRow();

    QDate m_day;
    HolidayFlags m_flags;
    QImage m_defaultIcon;
    std::vector<DayEditRow> m_rows;
};
