// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "data/Migrations.h"
#include "data/Settings.h"
#include "mock/OlderFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Puts a file's modification time an hour back, so the next write must move it forward.
void ageFile(const QString& path) {
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    const struct timespec times[2] = {{st.st_mtim.tv_sec - 3600, 0}, {st.st_mtim.tv_sec - 3600, 0}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

int count(const QString& path, const QString& sql) {
    DataFile db(path);
    return db.scalar(sql).toInt();
}

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path;

private Q_SLOTS:
    void init() {
        m_path = m_dir.filePath(QStringLiteral("data.plm"));
        QFile::remove(m_path);
        QCOMPARE(programSchema().createTemplate(m_path, QDate(2026, 1, 15)), QString());
    }

    void templateHoldsEveryTableAndAFirstRunRow() {
        DataFile db(m_path);
        QVERIFY(db.isOpen());
        for (const QString& table : programSchema().tableNames())
            QVERIFY2(!db.columns(table).isEmpty(), qPrintable(table));
        QCOMPARE(db.userVersion(), programSchema().currentVersion());
        Settings s;
        const SettingsStore::ReadResult read = SettingsStore::read(db, s);
        QVERIFY(read.rowRead);
        // The tick's settings reload stops at a column with no value: every one must hold one.
        QCOMPARE(read.missing, QList<Settings::Field>());
        QCOMPARE(s.notifyAgo, 255);
        QCOMPARE(s.lastHolidayUpdate, QDate(2026, 1, 15));
    }

    // Values no program of ours writes are brought into range when read, so every field
    // reads and the tick's reload completes; the file keeps what it holds.
    void absurdValuesAreBoundedWhenRead() {
        DataFile db(m_path);
        const QString huge(100000, u'x');
        QVERIFY(db.exec(QStringLiteral("UPDATE System SET ShowEvery = 1000000000000,"
                                       " CheckMailMin = -5, NotifyAgo = 'many', winLeft = 1e300,"
                                       " MailUser = ?, Lastupdate = 'garbage'"),
                        {huge}));
        Settings s;
        const SettingsStore::ReadResult read = SettingsStore::read(db, s);
        // Text in a number column is no number: it stops a reload as before.
        QCOMPARE(read.missing, QList<Settings::Field>{Settings::Field::NotifyAgo});
        QCOMPARE(s.showEvery, 24 * 60);
        QCOMPARE(s.checkMailMinutes, 1);
        QCOMPARE(s.windowLeft, 1e7);
        QCOMPARE(s.mailUser.size(), 4096);
        QVERIFY(!s.lastHolidayUpdate.isValid());
        QCOMPARE(db.scalar(QStringLiteral("SELECT length(MailUser) FROM System")).toInt(), 100000);
        // A missing value still counts as missing.
        QVERIFY(db.exec(QStringLiteral("UPDATE System SET Lastupdate = NULL")));
        QCOMPARE(SettingsStore::read(db, s).missing,
                 (QList<Settings::Field>{Settings::Field::LastHolidayUpdate,
                                         Settings::Field::NotifyAgo}));
    }

    // Every field goes to its own column and comes back; columns are found without regard
    // to case, and a column this program does not know is kept untouched.
    void everySettingRoundTrips() {
        {
            DataFile db(m_path);
            QVERIFY(db.exec(QStringLiteral("ALTER TABLE System RENAME COLUMN AddAmerica TO "
                                           "addamerica")));
            QVERIFY(db.exec(QStringLiteral("ALTER TABLE System ADD COLUMN FutureThing TEXT "
                                           "DEFAULT 'kept'")));
        }
        Settings changed;
        changed.notifyAgo = 7;
        changed.showEvery = 25;
        changed.smallIcons = -1;
        changed.addHolidays = changed.addAmerica = changed.addCanada = true;
        changed.reminderSound = QStringLiteral("/home/ann/bell ring.wav");
        changed.checkMail = true;
        changed.checkMailMinutes = 12;
        changed.mailUser = QStringLiteral("ann");
        changed.mailServer = QStringLiteral("pop.example.org");
        changed.mailPassword = QStringLiteral("s3cr'et; --");
        changed.lastHolidayUpdate = QDate(2026, 2, 28);
        changed.windowLeft = 150;
        changed.windowTop = 300.5;
        changed.windowWidth = 9000;
        changed.windowHeight = 7500;
        changed.windowMaximised = true;
        changed.wallpaperOption = 1;
        changed.wallpaperLastDay = QDate(2026, 3, 1);
        changed.currentWallpaper = QStringLiteral("/pics/Sea.JPG");

        const SettingsStore store(m_path);
        const Settings loaded = store.load().value();
        QVERIFY(store.save(loaded, changed));
        QCOMPARE(store.load().value(), changed);

        DataFile db(m_path);
        QCOMPARE(db.scalar(QStringLiteral("SELECT FutureThing FROM System")).toString(),
                 QStringLiteral("kept"));
        // Yes/no columns keep the values older files hold: holiday switches 1, others -1.
        QCOMPARE(db.scalar(QStringLiteral("SELECT addamerica FROM System")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT CheckMail FROM System")).toInt(), -1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT winMax FROM System")).toInt(), -1);
    }

    void onlyChangedSettingsAreWritten() {
        const SettingsStore store(m_path);
        const Settings loaded = store.load().value();
        {
            DataFile db(m_path);
            QVERIFY(db.exec(QStringLiteral("UPDATE System SET MailUser = 'other writer'")));
        }
        Settings updated = loaded;
        updated.showEvery = 30;
        QVERIFY(store.save(loaded, updated));
        const Settings now = store.load().value();
        QCOMPARE(now.showEvery, 30);
        QCOMPARE(now.mailUser, QStringLiteral("other writer"));
        // Nothing changed: no write at all, so the tick sees no change either.
        ageFile(m_path);
        const qint64 stamp = fileModifiedStamp(m_path);
        QVERIFY(store.save(now, now));
        QCOMPARE(fileModifiedStamp(m_path), stamp);
    }

    void valuesAreBoundNeverPasted() {
        DataFile db(m_path);
        const QString hostile = QStringLiteral("x'); DELETE FROM System; --");
        QVERIFY(db.exec(QStringLiteral("INSERT INTO WPaper (wpFile) VALUES (?)"), {hostile}));
        QCOMPARE(db.scalar(QStringLiteral("SELECT wpFile FROM WPaper")).toString(), hostile);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM System")).toInt(), 1);
    }

    // A view a file carries never runs, and the schema cannot be rewritten behind SQLite's
    // back. (Triggers go at start-up.)
    void aConnectionRunsNoViewAndKeepsItsSchema() {
        DataFile db(m_path);
        QVERIFY(db.exec(QStringLiteral("CREATE VIEW Loop AS WITH RECURSIVE n(x) AS (SELECT 1"
                                       " UNION ALL SELECT x + 1 FROM n) SELECT x FROM n")));
        QVERIFY(!db.exec(QStringLiteral("SELECT count(*) FROM Loop")));
        db.exec(QStringLiteral("PRAGMA writable_schema = ON"));
        QVERIFY(!db.exec(QStringLiteral("UPDATE sqlite_master SET sql = 'x' WHERE name = 'Loop'")));
    }

    void readersNeverCreateAMissingFile() {
        const QString missing = m_dir.filePath(QStringLiteral("absent.plm"));
        DataFile db(missing);
        QVERIFY(!db.isOpen());
        QVERIFY(!QFileInfo::exists(missing));
        // A failed save reports why the file could not be opened, not a later symptom.
        Transaction t(db);
        QVERIFY(!t.isActive());
        QVERIFY2(db.lastError().contains(QLatin1String("not found")), qPrintable(db.lastError()));
        QVERIFY(!SettingsStore(missing).load());
    }

    void everyCommittedWriteChangesTheModifiedTime() {
        ageFile(m_path);
        const qint64 before = fileModifiedStamp(m_path);
        {
            DataFile db(m_path);
            QVERIFY(
                db.exec(QStringLiteral("INSERT INTO Schedule (SchType, Launch, SchDT, Frequency)"
                                       " VALUES (1, '', '2026-01-01 08:30', 2)")));
        }
        QVERIFY(fileModifiedStamp(m_path) > before);
        ageFile(m_path);
        const qint64 afterInsert = fileModifiedStamp(m_path);
        QVERIFY(SettingsStore(m_path).update([](Settings& s) { s.showEvery = 30; }));
        QVERIFY(fileModifiedStamp(m_path) > afterInsert);
        QVERIFY(!QFileInfo::exists(m_path + QStringLiteral("-wal")));
    }

    void aTransactionNotCommittedChangesNothing() {
        {
            DataFile db(m_path);
            Transaction t(db);
            QVERIFY(t.isActive());
            QVERIFY(db.exec(QStringLiteral("INSERT INTO WPaper (wpFile) VALUES (?)"),
                            {QStringLiteral("a")}));
            QVERIFY(!db.exec(QStringLiteral("INSERT INTO NoSuchTable VALUES (1)")));
            // Leaving the scope without commit() rolls back.
        }
        QCOMPARE(count(m_path, QStringLiteral("SELECT COUNT(*) FROM WPaper")), 0);
        {
            DataFile db(m_path);
            Transaction t(db);
            QVERIFY(db.exec(QStringLiteral("INSERT INTO WPaper (wpFile) VALUES ('b')")));
            QVERIFY(t.commit());
        }
        QCOMPARE(count(m_path, QStringLiteral("SELECT COUNT(*) FROM WPaper")), 1);
    }

    // The data file tells the listener it was given of each committed write: the tables it
    // touched, once each, with the file's stamp from before it. A rolled back write, or one
    // that failed, is told to nobody.
    void committedWritesReachTheListener() {
        struct Listener : CommitListener {
            QList<QStringList> tables;
            QList<qint64> stamps;
            void committed(const QStringList& written, qint64 stampBefore) override {
                tables.append(written);
                stamps.append(stampBefore);
            }
        } listener;
        ageFile(m_path);
        const qint64 before = fileModifiedStamp(m_path);
        {
            DataFile db(m_path, &listener);
            QVERIFY(db.exec(QStringLiteral("INSERT INTO WPaper (wpFile) VALUES ('a')")));
            QVERIFY(!db.exec(QStringLiteral("DELETE FROM NoSuchTable")));
            Transaction t(db);
            QVERIFY(db.exec(QStringLiteral("UPDATE WPaper SET wpFile = 'b'")));
            QVERIFY(db.exec(QStringLiteral("DELETE FROM Schedule")));
            QVERIFY(db.exec(QStringLiteral("DELETE FROM WPaper WHERE wpFile = 'x'")));
            QVERIFY(t.commit());
            {
                Transaction rolledBack(db);
                QVERIFY(db.exec(QStringLiteral("INSERT INTO WPaper (wpFile) VALUES ('c')")));
            }
            // Any case, the OR forms and quoted names; a read names no table.
            Transaction forms(db);
            QVERIFY(db.exec(QStringLiteral("  update or ignore \"Schedule\" set SchDT = SchDT")));
            QVERIFY(db.exec(QStringLiteral("replace into [WPaper] (wpFile) values ('d')")));
            QVERIFY(
                db.exec(QStringLiteral("insert OR replace\nINTO `WPaper` (wpFile) values ('e')")));
            QVERIFY(db.exec(QStringLiteral("SELECT count(*) FROM Schedule")));
            QVERIFY(forms.commit());
        }
        QCOMPARE(listener.tables,
                 (QList<QStringList>{{QStringLiteral("WPaper")},
                                     {QStringLiteral("WPaper"), QStringLiteral("Schedule")},
                                     {QStringLiteral("Schedule"), QStringLiteral("WPaper")}}));
        QCOMPARE(listener.stamps.first(), before);
        QVERIFY(listener.stamps.last() > before);
    }

    void aRowVisitorStopsWhenAsked() {
        DataFile db(m_path);
        for (int i = 0; i < 5; ++i)
            QVERIFY(db.exec(QStringLiteral("INSERT INTO WPaper (wpFile) VALUES (?)"), {i}));
        QStringList seen;
        QVERIFY(db.forEach(QStringLiteral("SELECT wpFile FROM WPaper ORDER BY rowid"), {},
                           [&](DataFile::Row row) {
                               seen << row.value(0).toString();
                               return seen.size() < 3;
                           }));
        QCOMPARE(seen, (QStringList{"0", "1", "2"}));
        QVERIFY(!db.forEach(QStringLiteral("SELECT x FROM NoSuchTable"), {},
                            [](DataFile::Row) { return true; }));
        QVERIFY2(db.lastError().contains(QLatin1String("NoSuchTable"), Qt::CaseInsensitive),
                 qPrintable(db.lastError()));
    }

    // A file from before schema versions (user_version 0, no EventsByCode, no event
    // identities, no mail account columns) is brought up to date once; a file of a newer
    // program is left as it is.
    // A file from before the calendar password and last-success columns opens with its
    // account intact, a sync that worked counted as the last success, and ends with the same
    // table a new file gets.
    void calendarPasswordColumnAddedToOldFiles() {
        const auto tableShape = [](const QString& path) {
            QStringList out;
            DataFile db(path);
            db.forEach(QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk "
                                      "FROM pragma_table_info('CalDavAccount') ORDER BY cid"),
                       {}, [&](DataFile::Row q) {
                           QStringList cells;
                           for (int i = 0; i < 5; ++i)
                               cells << q.value(i).toString();
                           out << cells.join(u'|');
                           return true;
                       });
            return out;
        };
        const QStringList fresh = tableShape(m_path);
        QVERIFY(fresh.at(fresh.size() - 2).startsWith(QStringLiteral("Password|TEXT|1|''")));
        QVERIFY(fresh.last().startsWith(QStringLiteral("LastSuccess|TEXT|0||")));
        {
            DataFile db(m_path);
            QVERIFY(db.exec(QStringLiteral("ALTER TABLE CalDavAccount DROP COLUMN LastSuccess")));
            QVERIFY(db.exec(QStringLiteral("ALTER TABLE CalDavAccount DROP COLUMN Password")));
            QVERIFY(db.exec(QStringLiteral(
                "INSERT INTO CalDavAccount (ID, Server, User, Every, LastSync, LastResult) "
                "VALUES (1, 'https://dav.example.org/', 'ann', 60, '2026-03-01 10:00:00', "
                "'1 event sent, 0 received')")));
            QVERIFY(db.setUserVersion(4));
            QCOMPARE(Migrations::run(db, programSchema()), Migrations::Outcome::Migrated);
            QCOMPARE(db.userVersion(), programSchema().currentVersion());
            QCOMPARE(db.scalar(QStringLiteral("SELECT User || ' ' || Every || ' [' || Password || "
                                              "'] ' || LastSuccess FROM CalDavAccount"))
                         .toString(),
                     QStringLiteral("ann 60 [] 2026-03-01 10:00:00")); // a sync that worked
        }
        QCOMPARE(tableShape(m_path), fresh);
    }

    // Each owner (the settings, each tool's store) gives its own tables and steps, numbered
    // in the file's one version sequence. A version's statements from every part run in one
    // transaction in the parts' order: a failure in one part leaves the others' undone too.
    void partsShareTheOneVersionSequence() {
        SchemaPart first;
        first.create = {QStringLiteral("CREATE TABLE System (NotifyAgo INTEGER, Lastupdate TEXT,"
                                       " WallLastDay TEXT, Extra TEXT)"),
                        QStringLiteral("CREATE INDEX SystemByExtra ON System (Extra)")};
        first.steps[1] = {QStringLiteral("ALTER TABLE System ADD COLUMN Extra TEXT")};
        first.steps[3] = {QStringLiteral("CREATE INDEX IF NOT EXISTS SystemByExtra "
                                         "ON System (Extra)")};
        SchemaPart second;
        second.create = {QStringLiteral("CREATE TABLE Tally (n INTEGER, Note TEXT)")};
        second.steps[2] = {QStringLiteral("CREATE TABLE IF NOT EXISTS Tally (n INTEGER)")};
        second.steps[3] = {QStringLiteral("ALTER TABLE Tally ADD COLUMN Note TEXT")};
        const FileSchema schema({first, second});
        QCOMPARE(schema.currentVersion(), 3);
        QCOMPARE(schema.tableNames(), (QStringList{"System", "Tally"}));
        QCOMPARE(schema.indexNames(), QStringList{"SystemByExtra"});
        QCOMPARE(schema.step(3).size(), 2);
        QCOMPARE(createIfMissing(first.create.first()),
                 QStringLiteral("CREATE TABLE IF NOT EXISTS System (NotifyAgo INTEGER, "
                                "Lastupdate TEXT, WallLastDay TEXT, Extra TEXT)"));
        QCOMPARE(createIfMissing(second.steps[2].first()), second.steps[2].first());
        SchemaPart third;
        third.create = {createIfMissing(QStringLiteral("CREATE INDEX Ab_1(x)"))};
        QCOMPARE(FileSchema({third}).indexNames(), QStringList{"Ab_1"});

        QFile::remove(m_path);
        {
            DataFile db(m_path, DataFile::Create);
            QVERIFY(db.exec(QStringLiteral(
                "CREATE TABLE System (NotifyAgo INTEGER, Lastupdate TEXT, WallLastDay TEXT)")));
            QCOMPARE(Migrations::run(db, schema), Migrations::Outcome::Migrated);
            QCOMPARE(db.userVersion(), 3);
            QVERIFY(db.exec(QStringLiteral("INSERT INTO Tally (n, Note) VALUES (1, 'a')")));
        }
        QCOMPARE(count(m_path, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE "
                                              "name = 'SystemByExtra'")),
                 1);

        // Version 2 to 3 with the second part's statement failing: the first part's index is
        // not left behind, and the file stays at 2.
        SchemaPart broken = second;
        broken.steps[3] = {QStringLiteral("ALTER TABLE NoSuchTable ADD COLUMN Note TEXT")};
        {
            DataFile db(m_path);
            QVERIFY(db.exec(QStringLiteral("DROP INDEX SystemByExtra")));
            QVERIFY(db.setUserVersion(2));
            QCOMPARE(Migrations::run(db, FileSchema({first, broken})), Migrations::Outcome::Failed);
            QCOMPARE(db.userVersion(), 2);
        }
        QCOMPARE(count(m_path, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE "
                                              "name = 'SystemByExtra'")),
                 0);
    }

    // A part that names its owner counts its own versions beside the file's one sequence:
    // made fresh at its latest version, stepped one transaction per step, a failing step
    // leaves its tables and version as they were, and one beyond the program's stays as it
    // is. The file's own version is not touched by any of it.
    void ownedPartsCountTheirOwnVersions() {
        SchemaPart system;
        system.create = {QStringLiteral("CREATE TABLE System (NotifyAgo INTEGER)")};
        system.steps[1] = {QStringLiteral("CREATE TABLE IF NOT EXISTS System (NotifyAgo INTEGER)")};
        SchemaPart tally;
        tally.owner = QStringLiteral("Tally");
        tally.create = {QStringLiteral("CREATE TABLE Tally (n INTEGER, At TEXT)")};
        tally.steps[1] = {QStringLiteral("CREATE TABLE Tally (n INTEGER)")};
        tally.steps[2] = {QStringLiteral("ALTER TABLE Tally ADD COLUMN At TEXT")};
        FileSchema schema({system});
        schema.add(tally);
        schema.add(SchemaPart{.owner = QStringLiteral("Tally")}); // known already: kept
        QCOMPARE(schema.currentVersion(), 1);
        QCOMPARE(schema.tableNames(), (QStringList{"System", "Tally", "ToolVersions"}));
        QVERIFY(schema.step(2).isEmpty());
        const auto version = [this] {
            return count(m_path, QStringLiteral("SELECT Version FROM ToolVersions "
                                                "WHERE Tool = 'Tally'"));
        };

        QFile::remove(m_path);
        {
            DataFile db(m_path, DataFile::Create);
            QVERIFY(db.exec(QStringLiteral("CREATE TABLE System (NotifyAgo INTEGER)")));
            QVERIFY(db.setUserVersion(1));
            QCOMPARE(Migrations::run(db, schema), Migrations::Outcome::UpToDate);
            QVERIFY(db.columns(QStringLiteral("Tally")).contains(QStringLiteral("At")));
            QCOMPARE(db.userVersion(), 1);
        }
        QCOMPARE(version(), 2);

        // At version 1, with the second step failing: nothing of it stays.
        SchemaPart broken = tally;
        broken.steps[2] = {QStringLiteral("CREATE TABLE Marker (x)"),
                           QStringLiteral("ALTER TABLE NoSuchTable ADD COLUMN At TEXT")};
        FileSchema brokenSchema({system});
        brokenSchema.add(broken);
        {
            DataFile db(m_path);
            QVERIFY(db.exec(QStringLiteral("DROP TABLE Tally")));
            QVERIFY(db.exec(QStringLiteral("CREATE TABLE Tally (n INTEGER)")));
            QVERIFY(db.exec(QStringLiteral("UPDATE ToolVersions SET Version = 1")));
            QCOMPARE(Migrations::run(db, brokenSchema), Migrations::Outcome::Failed);
            QVERIFY(db.columns(QStringLiteral("Marker")).isEmpty());
        }
        QCOMPARE(version(), 1);
        {
            DataFile db(m_path);
            QCOMPARE(Migrations::run(db, schema), Migrations::Outcome::UpToDate);
            QVERIFY(db.columns(QStringLiteral("Tally")).contains(QStringLiteral("At")));
            QVERIFY(db.exec(QStringLiteral("UPDATE ToolVersions SET Version = 9")));
            QCOMPARE(Migrations::run(db, schema), Migrations::Outcome::UpToDate);
        }
        QCOMPARE(version(), 9);
    }

    // A file brought up from version 0 by the steps has every table, column and index a
    // fresh file gets, whichever part each came from.
    void migratedFileHasTheFreshShape() {
        const auto shape = [](const QString& path) {
            QStringList out;
            DataFile db(path);
            for (const QString& table : programSchema().tableNames())
                db.forEach(QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk "
                                          "FROM pragma_table_info(?) ORDER BY cid"),
                           {table}, [&](DataFile::Row q) {
                               QStringList cells{table};
                               for (int i = 0; i < 5; ++i)
                                   cells << q.value(i).toString();
                               out << cells.join(u'|');
                               return true;
                           });
            db.forEach(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' "
                                      "AND name NOT LIKE 'sqlite_%' ORDER BY name"),
                       {}, [&](DataFile::Row q) {
                           out << q.value(0).toString();
                           return true;
                       });
            return out;
        };
        const QStringList fresh = shape(m_path);
        QVERIFY(fresh.contains(QStringLiteral("EventsByUid")));
        {
            // The file as the first versioned program made it.
            DataFile db(m_path);
            for (const char* sql :
                 {"DROP TABLE EventTombstones", "DROP TABLE Subscriptions",
                  "DROP TABLE CalDavAccount", "DROP TABLE CalDavEvents", "DROP INDEX EventsByUid",
                  "DROP INDEX EventsByCode", "ALTER TABLE Events DROP COLUMN UID",
                  "ALTER TABLE Events DROP COLUMN LastModified",
                  "ALTER TABLE Events DROP COLUMN Subscription"})
                QVERIFY2(db.exec(QLatin1String(sql)), sql);
            for (const char* column :
                 {"MailType", "MailPort", "MailSSL", "MailAuto", "MailKeyring"})
                QVERIFY(db.exec(QStringLiteral("ALTER TABLE System DROP COLUMN ") +
                                QLatin1String(column)));
            QVERIFY(db.setUserVersion(0));
            QCOMPARE(Migrations::run(db, programSchema()), Migrations::Outcome::Migrated);
        }
        QCOMPARE(shape(m_path), fresh);
    }

    void migrationsRunOnceAndNeverDowngrade() {
        // The Events table as it was before event identities.
        const auto withoutIdentities = [this] {
            DataFile db(m_path);
            return db.exec(QStringLiteral("DROP TABLE EventTombstones")) &&
                   db.exec(QStringLiteral("DROP INDEX EventsByUid")) &&
                   db.exec(QStringLiteral("ALTER TABLE Events DROP COLUMN UID")) &&
                   db.exec(QStringLiteral("ALTER TABLE Events DROP COLUMN LastModified")) &&
                   db.exec(QStringLiteral("ALTER TABLE Events DROP COLUMN Subscription")) &&
                   db.exec(QStringLiteral("DROP TABLE Subscriptions"));
        };
        QVERIFY(withoutIdentities());
        {
            DataFile db(m_path);
            QVERIFY(db.exec(QStringLiteral("DROP INDEX EventsByCode")));
            QVERIFY(dropLaterColumns(db));
            QVERIFY(db.setUserVersion(0));
        }
        const auto indexCount = [&] {
            return count(m_path, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE "
                                                "type = 'index' AND name = 'EventsByCode'"));
        };
        {
            DataFile db(m_path);
            QCOMPARE(Migrations::run(db, programSchema()), Migrations::Outcome::Migrated);
            QCOMPARE(db.userVersion(), programSchema().currentVersion());
            QCOMPARE(Migrations::run(db, programSchema()), Migrations::Outcome::UpToDate);
        }
        QCOMPARE(indexCount(), 1);

        // Rows of a file from before event identities get one UID each, once.
        const auto uids = [&] {
            QStringList out;
            DataFile db(m_path);
            db.forEach(QStringLiteral("SELECT UID FROM Events ORDER BY rowid"), {},
                       [&](DataFile::Row q) {
                           out << q.value(0).toString();
                           return true;
                       });
            return out;
        };
        QVERIFY(withoutIdentities());
        {
            DataFile db(m_path);
            for (int i = 0; i < 3; ++i)
                QVERIFY(db.exec(QStringLiteral("INSERT INTO Events (eDate) VALUES ('2026-01-0%1')")
                                    .arg(i + 1)));
            // The steps after identities run as well.
            QVERIFY(dropLaterColumns(db));
            QVERIFY(db.setUserVersion(1));
            QCOMPARE(Migrations::run(db, programSchema()), Migrations::Outcome::Migrated);
            QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Events WHERE "
                                              "LastModified LIKE '____-__-__T__:__:__Z'"))
                         .toInt(),
                     3);
        }
        const QStringList given = uids();
        QCOMPARE(QSet<QString>(given.begin(), given.end()).size(), 3);
        for (const QString& uid : given)
            QVERIFY2(
                QRegularExpression(QStringLiteral("^[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}$"))
                    .match(uid)
                    .hasMatch(),
                qPrintable(uid));
        {
            DataFile db(m_path);
            QCOMPARE(Migrations::run(db, programSchema()), Migrations::Outcome::UpToDate);
        }
        QCOMPARE(uids(), given);

        const int newer = programSchema().currentVersion() + 5;
        {
            DataFile db(m_path);
            QVERIFY(db.setUserVersion(newer));
        }
        ageFile(m_path);
        const qint64 stamp = fileModifiedStamp(m_path);
        DataFile db(m_path);
        QCOMPARE(Migrations::run(db, programSchema()), Migrations::Outcome::NewerThanProgram);
        QCOMPARE(db.userVersion(), newer);
        QCOMPARE(fileModifiedStamp(m_path), stamp);
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
