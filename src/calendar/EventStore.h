// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"
#include "data/DataStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariantList>

#include <functional>
#include <vector>

class DataFile;

// Reads and writes the Events table of one data file. Each call opens the file, runs one
// statement (or one transaction) with bound values and closes it again. A read runs a
// query for a superset of the rows a reader needs and keeps exactly those the reader's
// rule in EventRules.h selects, in table order. A read that fails returns no rows and
// leaves the reason in lastError().
class EventStore : public DataStore {
    Q_DECLARE_TR_FUNCTIONS(EventStore)

public:
    // Its tables in the data file, and the steps that brought older files to them.
    static SchemaPart tables();
    explicit EventStore(QString dataFile, ChangeHub* changes = nullptr);

    // The pictures a read returns: both, or only those the month view draws in its large
    // or small-icon mode (Small also returns IconImg for a row without SmallImg).
    enum class Pictures { Both, Large, Small };

    // Month view: the rows EventRules::monthViewFetches selects for the grid first ... last
    // of month `month`.
    std::vector<EventRow> readMonth(const QDate& first, const QDate& last, int month,
                                    Pictures pictures = Pictures::Both);
    // The month view's read in two steps over one connection, for a grid that draws only a
    // few of the rows readMonth returns. The first step hands `take` the same rows in the
    // same (table) order, with just rowid, eDate, Frequency and Holiday (the indexes hold
    // these, so the rows' text and pictures are not read), and stops early once `take`
    // returns false. The second step reads Description and the mode's pictures into the
    // rows `drawn` then names, with their UIDs. False, with the reason in lastError(), when a step
    // failed. Counts as one query.
    using Take = std::function<bool(const EventRow&)>;
    using Drawn = std::function<std::vector<EventRow*>()>;
    bool readMonthDrawn(const QDate& first, const QDate& last, int month, Pictures pictures,
                        const Take& take, const Drawn& drawn);
    // Editor: the rows EventRules::editorShows lists on day d (visibility not applied).
    std::vector<EventRow> readDay(const QDate& d);
    // Export: every row that can be exported on some date of from ... to - the one-time
    // rows dated in the range and every weekly, monthly and yearly row. Test each date
    // with EventRules::exportShows.
    std::vector<EventRow> readForExport(const QDate& from, const QDate& to);
    // Search from s for `text`: the rows EventRules::searchFetches selects.
    std::vector<EventRow> readForSearch(const QDate& s, const QString& text);
    // Reminder for today t and horizon h: the rows EventRules::reminderFetches selects.
    std::vector<EventRow> readForReminder(const QDate& t, const QDate& h);

    // Adds rows (the rowId is ignored); all or none. False for a row without a valid date.
    // A row without a UID gets a new one.
    bool add(const EventRow& row);
    bool add(const std::vector<EventRow>& rows);
    bool remove(qint64 rowId);
    // The editor's Save for day d: deletes every row EventRules::editorReplaces selects
    // (the user's events shown on d, repeating ones that started earlier included) and adds
    // `rows`, in one transaction, so a failure leaves the day as it was. A UID that no row
    // carries afterwards is remembered as deleted (EventTombstones).
    bool replaceUserEventsOn(const QDate& d, const std::vector<EventRow>& rows);
    // The holiday update: each of `rows` overwrites the text, date and codes of the first
    // stored row EventRules::isSameHoliday matches, or is added when none does; all in one
    // transaction, so a failure leaves the table as it was. Rows added earlier in the same
    // call match too, so a list naming a holiday twice stores it once. `added` receives the
    // number of new rows.
    bool mergeHolidays(const std::vector<EventRow>& rows, int* added = nullptr);
    // Calendar interchange: `rows` carry their event's UID. The rows of each UID replace
    // the user's stored rows of that UID, unless those already hold the same dates, texts
    // and repeats; a UID a holiday carries is left alone. All in one transaction.
    struct PutCounts {
        int added = 0;     // UIDs not stored before
        int updated = 0;   // UIDs whose rows changed
        int unchanged = 0; // UIDs stored exactly so already
        int holidays = 0;  // UIDs of holidays, left as they are
        int removed = 0;   // UIDs a subscribed calendar no longer lists
    };
    // With a `subscription`, the rows belong to it and mirror its calendar: only its own
    // rows are compared, and those of UIDs not in `rows` are removed.
    // `components` (by UID) are the events as the file wrote them; for the user's own events
    // they are kept (KeptEvent) with the rows stored from them.
    bool putEvents(const std::vector<EventRow>& rows, PutCounts* counts = nullptr,
                   int subscription = 0, const QHash<QString, QByteArray>& components = {});

    // The kept events (KeptEvent) by UID; empty with lastError() set when the file cannot
    // be read. An event the user deleted takes its kept component with it.
    QHash<QString, KeptEvent> keptEvents();
    // The kept events whose rules repeat without end and are shown as single dates within a
    // window that moves on as time passes, by UID, with the last date shown.
    QHash<QString, QDate> shownWithinWindow();
    // Keeps `event` in place of what was kept for its UID, inside the caller's transaction.
    static bool keep(DataFile& db, const KeptEvent& event);
    // A kept event's rows as stored: date, repeat code and text of each.
    static QString rowsText(const std::vector<EventRow>& rows);
    static std::vector<EventRow> rowsFromText(const QString& text, const QString& uid);

    // Whether any holiday is stored; false with lastError() set when the file cannot be read.
    bool hasHolidays();

    // The time written as LastModified of rows stored without one and as the time of a
    // deletion; while none is set, SQLite's clock stamps them.
    void setNow(const QDateTime& now) { m_now = now; }
    // A new random event identity.
    static QString newUid();
    // LastModified as stored: UTC, "YYYY-MM-DDTHH:MM:SSZ"; readStamp is invalid for
    // anything else.
    static QString stampText(const QDateTime& t);
    static QDateTime readStamp(const QString& text);

    // Reads of rows and kept events run by this store so far (the month view's moves within
    // a month run none; the hover labels' shownWithinWindow is not counted).
    int queriesRun() const { return m_queries; }

private:
    using Keep = std::function<bool(const EventRow&)>;
    std::vector<EventRow> select(const QString& where, const QVariantList& values, const Keep& keep,
                                 Pictures pictures = Pictures::Both);
    bool select(DataFile& db, const QString& where, const QVariantList& values, const Keep& keep,
                std::vector<EventRow>& rows, Pictures pictures = Pictures::Both);

    QDateTime m_now;
    int m_queries = 0;
};
