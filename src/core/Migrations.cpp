// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Migrations.h"

#include "base/Log.h"
#include "core/DataFile.h"

#include <QStringList>

namespace Migrations {

namespace {

// A random (version 4) UID and the time it was given, for every event that has none.
QString giveEventsUids() {
    return QStringLiteral("UPDATE Events SET UID = lower(hex(randomblob(4)) || '-' || "
                          "hex(randomblob(2)) || '-4' || substr(hex(randomblob(2)), 2) || '-a' || "
                          "substr(hex(randomblob(2)), 2) || '-' || hex(randomblob(6))), "
                          "LastModified = strftime('%Y-%m-%dT%H:%M:%SZ', 'now') WHERE UID IS NULL");
}

// The calendar sync's tables: its account (one row), and for each event on the server
// its href, ETag and the fingerprint of the rows it was last synced as.
QStringList calendarSyncTables() {
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS CalDavAccount ("
                       " ID INTEGER PRIMARY KEY CHECK (ID = 1),"
                       " Server TEXT NOT NULL DEFAULT '', User TEXT NOT NULL DEFAULT '',"
                       " Calendar TEXT NOT NULL DEFAULT '',"
                       " CalendarName TEXT NOT NULL DEFAULT '',"
                       " SyncToken TEXT NOT NULL DEFAULT '',"
                       " Every INTEGER NOT NULL DEFAULT 15, LastSync TEXT,"
                       " LastResult TEXT NOT NULL DEFAULT '',"
                       " Sent INTEGER NOT NULL DEFAULT 0, Received INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS CalDavEvents ("
                       " Href TEXT PRIMARY KEY, UID TEXT NOT NULL DEFAULT '',"
                       " ETag TEXT NOT NULL DEFAULT '', Hash TEXT NOT NULL DEFAULT '')")};
}

// Step n brings a file from version n - 1 to version n. Append new steps; never edit an
// old one, since files in the field were made by it.
const QList<QStringList>& steps() {
    static const QList<QStringList> all{
        // 1: the month view reads dates and codes from an index instead of the table.
        {QStringLiteral("CREATE INDEX IF NOT EXISTS EventsByCode "
                        "ON Events (Frequency, eDate, Holiday)")},
        // 2: events get stable identities for calendar interchange. Every row gets a random
        // UID once and the time it was given one; a row with the same UID as others belongs
        // to the same event (a multi-day or expanded one). Deleted user events leave their
        // UID and the time of deletion.
        {QStringLiteral("ALTER TABLE Events ADD COLUMN UID TEXT"),
         QStringLiteral("ALTER TABLE Events ADD COLUMN LastModified TEXT"), giveEventsUids(),
         QStringLiteral("CREATE INDEX IF NOT EXISTS EventsByUid ON Events (UID)"),
         QStringLiteral("CREATE TABLE IF NOT EXISTS EventTombstones ("
                        " UID TEXT PRIMARY KEY, Deleted TEXT NOT NULL)"),
         // Calendars the user subscribed to; their rows carry the subscription's ID.
         QStringLiteral("ALTER TABLE Events ADD COLUMN Subscription INTEGER NOT NULL DEFAULT 0"),
         QStringLiteral("CREATE TABLE IF NOT EXISTS Subscriptions ("
                        " ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT NOT NULL,"
                        " Url TEXT NOT NULL, Every INTEGER NOT NULL DEFAULT 1440,"
                        " LastRefresh TEXT, Failures INTEGER NOT NULL DEFAULT 0)")},
        // 3: the mail account's kind, port and security, whether it came from the mail
        // program (before, the server only ever did), and whether its password is in the
        // desktop keyring.
        {QStringLiteral("ALTER TABLE System ADD COLUMN MailType TEXT NOT NULL DEFAULT 'pop3'"),
         QStringLiteral("ALTER TABLE System ADD COLUMN MailPort INTEGER NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE System ADD COLUMN MailSSL INTEGER NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE System ADD COLUMN MailAuto INTEGER NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE System ADD COLUMN MailKeyring INTEGER NOT NULL DEFAULT 0"),
         QStringLiteral("UPDATE System SET MailAuto = -1 WHERE MailPOP3 <> ''")},
        // 4: calendar sync with a CalDAV server.
        calendarSyncTables(),
        // 5: the calendar sync's password, kept here only while no keyring is reachable.
        {QStringLiteral("ALTER TABLE CalDavAccount ADD COLUMN Password TEXT NOT NULL DEFAULT ''")},
    };
    return all;
}

} // namespace

QStringList rowRepairs() {
    return {giveEventsUids()};
}

int currentVersion() {
    return int(steps().size());
}

Outcome run(DataFile& db) {
    const int version = db.userVersion();
    if (version < 0)
        return Outcome::Failed;
    if (version > currentVersion()) {
        qCWarning(lcData) << "data file version" << version << "is newer than this program's"
                          << currentVersion() << "- left unchanged";
        return Outcome::NewerThanProgram;
    }
    if (version == currentVersion())
        return Outcome::UpToDate;
    for (int v = version; v < currentVersion(); ++v) {
        Transaction t(db);
        bool ok = t.isActive();
        for (const QString& sql : steps()[v]) {
            if (ok)
                ok = db.exec(sql);
        }
        if (!ok || !db.setUserVersion(v + 1) || !t.commit()) {
            qCWarning(lcData) << "migration to version" << v + 1 << "failed:" << db.lastError();
            return Outcome::Failed;
        }
    }
    return Outcome::Migrated;
}

} // namespace Migrations
