// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Schema.h"

#include "core/DataFile.h"
#include "core/DateText.h"
#include "core/Migrations.h"

#include <QFile>

namespace Schema {

QStringList createStatements() {
    // Dates are ISO text (YYYY-MM-DD, date-times YYYY-MM-DD HH:MM), yes/no values integers
    // (-1/0 or 1/0 as each column is written), pictures PNG blobs, geometry in twips.
    return {
        QStringLiteral("CREATE TABLE System ("
                       " NotifyAgo INTEGER NOT NULL DEFAULT 2,"
                       " ShowEvery INTEGER NOT NULL DEFAULT 60,"
                       " CheckSum INTEGER NOT NULL DEFAULT 0,"
                       " AddHolidays INTEGER NOT NULL DEFAULT 0,"
                       " AddAmerica INTEGER NOT NULL DEFAULT 0,"
                       " AddCanada INTEGER NOT NULL DEFAULT 0,"
                       " RmWav TEXT NOT NULL DEFAULT '',"
                       " CheckMail INTEGER NOT NULL DEFAULT 0,"
                       " CheckMailMin INTEGER NOT NULL DEFAULT 5,"
                       " MailUser TEXT NOT NULL DEFAULT '',"
                       " MailPOP3 TEXT NOT NULL DEFAULT '',"
                       " MailPwd TEXT NOT NULL DEFAULT '',"
                       " Lastupdate TEXT,"
                       " winLeft REAL NOT NULL DEFAULT 0,"
                       " winTop REAL NOT NULL DEFAULT 0,"
                       " winWidth REAL NOT NULL DEFAULT 0,"
                       " winHeight REAL NOT NULL DEFAULT 0,"
                       " winMax INTEGER NOT NULL DEFAULT 0,"
                       " WallOpt INTEGER NOT NULL DEFAULT 3,"
                       " WallLastDay TEXT,"
                       " CurWall TEXT NOT NULL DEFAULT '',"
                       " MailType TEXT NOT NULL DEFAULT 'pop3',"
                       " MailPort INTEGER NOT NULL DEFAULT 0,"
                       " MailSSL INTEGER NOT NULL DEFAULT 0,"
                       " MailAuto INTEGER NOT NULL DEFAULT 0,"
                       " MailKeyring INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE TABLE Events ("
                       " eDate TEXT NOT NULL,"
                       " Description TEXT NOT NULL DEFAULT '',"
                       " IconImg BLOB,"
                       " SmallImg BLOB,"
                       " Frequency INTEGER NOT NULL DEFAULT 1,"
                       " Holiday INTEGER NOT NULL DEFAULT 0,"
                       " UID TEXT,"
                       " LastModified TEXT,"
                       " Subscription INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE INDEX EventsByDate ON Events (eDate)"),
        QStringLiteral("CREATE INDEX EventsByCode ON Events (Frequency, eDate, Holiday)"),
        QStringLiteral("CREATE INDEX EventsByUid ON Events (UID)"),
        QStringLiteral(
            "CREATE TABLE EventTombstones (UID TEXT PRIMARY KEY, Deleted TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE Subscriptions ("
                       " ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT NOT NULL,"
                       " Url TEXT NOT NULL, Every INTEGER NOT NULL DEFAULT 1440,"
                       " LastRefresh TEXT, Failures INTEGER NOT NULL DEFAULT 0)"),
        // Calendar sync with a CalDAV server: the account and each synced event.
        QStringLiteral("CREATE TABLE CalDavAccount ("
                       " ID INTEGER PRIMARY KEY CHECK (ID = 1),"
                       " Server TEXT NOT NULL DEFAULT '', User TEXT NOT NULL DEFAULT '',"
                       " Calendar TEXT NOT NULL DEFAULT '',"
                       " CalendarName TEXT NOT NULL DEFAULT '',"
                       " SyncToken TEXT NOT NULL DEFAULT '',"
                       " Every INTEGER NOT NULL DEFAULT 15, LastSync TEXT,"
                       " LastResult TEXT NOT NULL DEFAULT '',"
                       " Sent INTEGER NOT NULL DEFAULT 0, Received INTEGER NOT NULL DEFAULT 0,"
                       " Password TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE TABLE CalDavEvents ("
                       " Href TEXT PRIMARY KEY, UID TEXT NOT NULL DEFAULT '',"
                       " ETag TEXT NOT NULL DEFAULT '', Hash TEXT NOT NULL DEFAULT '')"),
        // A new note is 240 x 180 pixels at the top left of the Quick Notes window.
        QStringLiteral("CREATE TABLE QNotes ("
                       " nID INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " nLeft REAL NOT NULL DEFAULT 120,"
                       " nTop REAL NOT NULL DEFAULT 120,"
                       " nWidth REAL NOT NULL DEFAULT 3600,"
                       " nHeight REAL NOT NULL DEFAULT 2700,"
                       " Content TEXT,"
                       " ZOrder INTEGER NOT NULL DEFAULT 0,"
                       " CDate TEXT,"
                       " Frequency INTEGER NOT NULL DEFAULT 0,"
                       " SchDT TEXT)"),
        QStringLiteral("CREATE TABLE Schedule ("
                       " SchType INTEGER NOT NULL DEFAULT 1,"
                       " Launch TEXT NOT NULL DEFAULT '',"
                       " SchDT TEXT NOT NULL,"
                       " Frequency INTEGER NOT NULL DEFAULT 1)"),
        QStringLiteral("CREATE TABLE QAccess ("
                       " FullPath TEXT NOT NULL,"
                       " Hits INTEGER NOT NULL DEFAULT 1,"
                       " qaDate TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE SCapture ("
                       " Title TEXT NOT NULL DEFAULT 'New Screen Image',"
                       " CapImg BLOB)"),
        QStringLiteral("CREATE TABLE WPaper ("
                       " wpFile TEXT NOT NULL)"),
    };
}

QStringList tableNames() {
    return {QStringLiteral("System"),        QStringLiteral("Events"),
            QStringLiteral("QNotes"),        QStringLiteral("Schedule"),
            QStringLiteral("QAccess"),       QStringLiteral("SCapture"),
            QStringLiteral("WPaper"),        QStringLiteral("EventTombstones"),
            QStringLiteral("Subscriptions"), QStringLiteral("CalDavAccount"),
            QStringLiteral("CalDavEvents")};
}

QString createTemplate(const QString& path, const QDate& madeOn) {
    QFile::remove(path);
    QString error;
    {
        DataFile db(path, DataFile::Create);
        if (!db.isOpen())
            return db.lastError();
        Transaction t(db);
        if (!t.isActive())
            return db.lastError();
        for (const QString& sql : createStatements()) {
            if (!db.exec(sql))
                return db.lastError();
        }
        const QString day = DateText::fromDate(madeOn);
        if (!db.exec(QStringLiteral("INSERT INTO System (NotifyAgo, Lastupdate, WallLastDay)"
                                    " VALUES (255, ?, ?)"),
                     {day, day}))
            return db.lastError();
        if (!db.setUserVersion(Migrations::currentVersion()) || !t.commit())
            return db.lastError();
    }
    return error;
}

} // namespace Schema
