// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TickTimer.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/caldav/DavHttp.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <deque>

class Clock;

// How a sync ended.
struct SyncOutcome {
    bool ok = false;
    QString status; // for the status line: "3 events sent, 1 received" or the failure
    int sent = 0;
    int received = 0;
    int conflicts = 0;
    QStringList conflictTexts;
    bool userMustAct = false; // stopped on what only the user can mend (certificate, password)
    Withheld withheld;        // removals waiting for the user's word: the sync pauses
};
Q_DECLARE_METATYPE(SyncOutcome)

// One two-way sync of the user's events with the chosen calendar. It first applies what
// changed on the server (a sync-collection REPORT with the stored token, else a Depth-1
// PROPFIND compared by ETag; bodies by calendar-multiget), each batch in one transaction
// with the token stored after the last, then sends what changed here: PUT with If-Match
// (If-None-Match: * for a new event) and DELETE with If-Match for the deleted. A 412 has
// the server's version fetched and merged; 507 and 5xx stop the sync. Everything runs on
// the event loop. A sync ends within DeadlineMs, after at most MaxPages sync-collection
// pages, and at a page that announces more changes but brings none; hrefs outside the
// calendar (another server, or a path that climbs out) are skipped.
class CalDavSync : public QObject {
    Q_OBJECT
public:
    static constexpr int BatchSize = 100;
    static constexpr int Parallel = 4;
    static constexpr int MaxPages = 100;
    static constexpr int DeadlineMs = 15 * 60 * 1000;
    // Removals from the server wait for the user's word when they would delete more than a
    // quarter of the synced events, and at least this many.
    static constexpr int MassRemovals = 10;
    static bool asksFirst(int removals, int synced) {
        return removals >= MassRemovals && removals * 4 > synced;
    }
    // The question put to the user about withheld removals.
    static QString question(const Withheld& w);

    CalDavSync(CalDavStore store, Clock& clock, QObject* parent = nullptr);

    // Starts a sync; finished() follows once.
    void start(const CalDavAccount& account, const QString& password);
    bool isRunning() const { return m_running; }
    // Ends the running sync at once, its requests dropped; finished() follows.
    void cancel();
    // Tests hand in a timer on the fake clock for the whole sync's deadline; null goes back
    // to the own one.
    void setDeadlineTimer(TickTimer* timer) { m_deadline = timer ? timer : &m_ownDeadline; }
    void setMaxPages(int pages) { m_maxPages = pages; }
    // What the deadline timer calls: a sync still running is abandoned.
    void deadlinePassed();
    // The requests' limits (tests shorten them).
    DavHttp& http() { return m_http; }
    // Requests sent by the latest sync.
    int requestsSent() const { return m_http.requestsSent() - m_requestsBefore; }

    // A write of the caller's to the data file between syncs (the status line's result):
    // the file's stamps from just before and just after it.
    void noteOwnWrite(qint64 stampBefore, qint64 stampAfter) {
        if (stampBefore == m_quietStamp)
            m_quietStamp = stampAfter;
    }

    // The path of an href as the server writes it, relative to `base`, decoded.
    static QString pathOf(const QUrl& base, const QString& href);
    // The decoded path of an href that names a member of `collection` (or the collection
    // itself); empty, with the reason in `why`, for one on another origin or outside it once
    // `.` and `..` are resolved.
    static QString memberPath(const QUrl& collection, const QString& href, QString* why = nullptr);

Q_SIGNALS:
    void finished(const SyncOutcome& outcome);

private:
    struct Operation {
        enum Kind { Create, Change, Remove } kind;
        QString uid;
        QString href;
        QString etag;
        QString hash;
        QByteArray body;
        std::vector<EventRow> rows; // the rows `body` was written from
        bool patched = false;       // `body` is a kept event with the change written in
    };

    QUrl urlOf(const QString& path) const;
    void pull();
    void listAll();
    // Whether the listing's removals of synced events may be applied as the user answered;
    // false when the sync stops to ask first.
    bool mayRemove(const QStringList& removed, const std::vector<CalDavRecord>& records);
    void fetch(QStringList changed, QStringList removed, QString token, bool more);
    // Stores a batch of fetched events, read beforehand, then goes on with the next.
    void store(const std::vector<ServerEvent>& events, const QStringList& changed,
               const QStringList& removed, const QString& token, bool more, const QDateTime& now);
    void push();
    void startNext();
    void done(const Operation& op, const DavReply& reply);
    void refetch(const QString& href);
    // The responses whose hrefs lie in the calendar; the others are logged and dropped.
    DavMultistatus inCalendar(DavMultistatus m) const;
    void abandon(const QString& why);
    void stop(const QString& why);
    void stop(const DavReply& reply);
    // Keeps the first failure of requests running side by side.
    void failed(const DavReply& reply);
    void end();

    CalDavStore m_store;
    Clock& m_clock;
    DavHttp m_http;
    CalDavAccount m_account;
    QUrl m_calendar;
    bool m_running = false;
    bool m_listed = false; // the full listing ran in this sync
    bool m_again = false;  // a merge left events to send: push once more
    bool m_pushedAgain = false;
    int m_pages = 0; // sync-collection pages read in this sync
    int m_run = 0;   // counts the syncs started, so a read that comes back late is dropped
    int m_deadlineMs = DeadlineMs;
    int m_maxPages = MaxPages;
    QTimer m_deadlineQtTimer;
    QtTickTimer m_ownDeadline{m_deadlineQtTimer};
    TickTimer* m_deadline = &m_ownDeadline;
    int m_requestsBefore = 0;
    std::deque<Operation> m_queue;
    int m_inFlight = 0;
    QString m_failure;
    SyncOutcome m_outcome;
    ApplyCounts m_counts;
    CalDavStore::Removal m_removal = CalDavStore::Removal::Delete;
    // The data file's stamp when the last sync found nothing to send and wrote nothing;
    // while the file keeps it and the server reports no change, nothing is read again.
    qint64 m_quietStamp = -1;
    qint64 m_pushStamp = -1; // the file's stamp as push() read the events
};
