// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/EventRow.h"
#include "calendar/ical/IcsImport.h"
#include "data/DataStore.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <optional>
#include <vector>

// Removals the server asked for that wait for the user's word: the sync pauses until the
// user answers, and the next sync does what they chose.
struct Withheld {
    enum class Answer { None, Delete, Keep };
    int removals = 0; // the events the server no longer lists; 0: nothing withheld
    int synced = 0;   // of the events synced
    Answer answer = Answer::None;
    bool pending() const { return removals > 0 && answer == Answer::None; }
};

// The calendar sync account: one row of CalDavAccount.
struct CalDavAccount {
    QString server; // as the user typed it
    QString user;
    QString calendar; // the chosen calendar's URL; empty until one is picked
    QString calendarName;
    QString syncToken;     // the server's token after the last complete pull; empty: full
    int everyMinutes = 15; // 5, 15 or 60; 0 syncs only when asked
    QDateTime lastSync;    // the last sync's end, successful or not
    QString lastResult;    // what it ended with, for the status line
    QDateTime lastSuccess; // the end of the last sync that worked; invalid: none yet
    int sent = 0;          // events the last sync sent
    int received = 0;      // and received
    QString password;      // kept here only while no keyring is reachable; empty: in the keyring
    Withheld withheld;
    bool configured() const { return !server.isEmpty() && !calendar.isEmpty(); }
};

// What the server last said of one of its events: where it is, its ETag, and the
// fingerprint of the rows it was stored as (or sent from), which tells a local edit.
struct CalDavRecord {
    QString href; // the path on the server, decoded
    QString uid;  // empty for a resource that could not be read
    QString etag;
    QString hash;
};

// One event as the server holds it.
struct ServerEvent {
    QString href;
    QString etag;
    QByteArray ics;
    // `ics` already read (off the event loop, with the batch's whole row budget); else apply()
    // reads it.
    std::optional<IcsImport::Result> read = std::nullopt;
};

// What applying server events did.
struct ApplyCounts {
    int received = 0;          // events added or changed here, removals included
    int conflicts = 0;         // changed on both sides: both kept
    int skipped = 0;           // bodies the importer refused
    QStringList conflictTexts; // the copies' texts, for the notice
};

// The rows a mass removal deleted, kept so that they can be put back.
struct KeptCopy {
    int events = 0; // by UID
    QDateTime at;   // when they were deleted
};

// The sync's tables and the Events rows it touches. Each call opens the data file for one
// transaction, so a batch is applied whole or not at all.
class CalDavStore : public DataStore {
public:
    // Its tables in the data file, and the steps that brought older files to them.
    static SchemaPart tables();
    static constexpr char ConflictSuffix[] = " (edited on this computer)";

    explicit CalDavStore(QString dataFile, ChangeHub* changes = nullptr);

    std::optional<CalDavAccount> account();
    // Writes the user's settings (server, user, calendar, interval). A change of server or
    // calendar forgets the records and the token: the next sync starts afresh.
    bool saveAccount(const CalDavAccount& a);
    // Keeps the password in the data file (no keyring); empty clears it.
    bool savePassword(const QString& password);
    // Blanks the password once the keyring holds it, only when the file still holds
    // `password`; `blanked` says whether it did.
    bool blankPassword(const QString& password, bool& blanked);
    // The end of an attempt; `ok`: it worked, and is the last success too.
    bool recordResult(const QDateTime& at, const QString& result, int sent, int received, bool ok);

    std::vector<CalDavRecord> records();
    bool saveRecord(const CalDavRecord& r);
    bool forgetRecord(const QString& href);
    bool forgetToken();

    // The events kept as the server wrote them (KeptEvent), by UID; and one kept as sent.
    QHash<QString, KeptEvent> keptEvents();
    bool keep(const KeptEvent& event);

    // Makes the rows of the user's kept events whose rules repeat without end again for the
    // window of `today` (once it moved about a month past them), in one transaction, with the kept
    // rows (and a synced event's fingerprint) following them, so neither the next edit nor the sync
    // takes the move for the user's. An edit made here since is written into the kept event first;
    // a synced one waits until the sync has sent it. `rolled` receives the events made again.
    bool rollWindows(const QDate& today, const QDateTime& now, const QTimeZone& zone,
                     int* rolled = nullptr);

    // The user's own events (Holiday 0, no subscription), by UID.
    QHash<QString, std::vector<EventRow>> localEvents();
    QStringList tombstones();

    // The fingerprint of an event's rows: dates, repeats and texts, in any order.
    static QString hash(const std::vector<EventRow>& rows);

    // Pauses the sync until the user answers: the server no longer lists `removals` of the
    // `synced` events.
    bool withhold(int removals, int synced);
    // The user's answer to the withheld removals; the next sync carries it out.
    bool answerWithheld(Withheld::Answer answer);
    // The withheld removals are settled: a sync carried out the answer, or found none due.
    bool settleWithheld();

    // What becomes of the events of `removed` hrefs: deleted here; deleted with their rows
    // kept in CalDavKept first (the user agreed to a mass removal); or kept here with the
    // record forgotten, so that the next push sends them back as new.
    enum class Removal { Delete, DeleteKeepingCopy, Forget };

    // Applies one batch of server changes in one transaction: `events` added or changed,
    // `removed` hrefs gone, and, when given, the token stored with them. An event changed
    // here since its last sync is kept as a copy whose text ends in ConflictSuffix. With
    // DeleteKeepingCopy, a copy kept at an earlier `now` gives way to this one.
    bool apply(const std::vector<ServerEvent>& events, const QStringList& removed,
               const std::optional<QString>& token, const QDate& today, const QDateTime& now,
               ApplyCounts& counts, const QTimeZone& zone = QTimeZone::systemTimeZone(),
               Removal removal = Removal::Delete);

    // The rows the last agreed mass removal deleted; none: events 0.
    KeptCopy keptCopy();
    // Puts the kept rows back among the user's events (those whose UID is not there again),
    // to be sent as new by the next sync, and empties the copy. The number of events put
    // back, or -1 on failure.
    int restoreKept(const QDateTime& now);
};
