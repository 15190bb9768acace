// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "base/FileReplace.h"
#include "data/DataBackup.h"
#include "data/DataFile.h"
#include "data/Migrations.h"
#include "data/RestoreRebuild.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using DataBackup::Result;
Q_DECLARE_METATYPE(Result)

namespace {

const QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Owner, group and other bits, as in a file mode (the "user" bits repeat the owner's here).
QFileDevice::Permissions mode(const QString& path) {
    return QFile::permissions(path) & QFileDevice::Permissions::fromInt(0x7077);
}

// A data file whose System row carries `user` as MailUser.
void makeDataFile(const QString& path, const QString& user) {
    QFile::remove(path);
    QVERIFY(programSchema().createTemplate(path, QDate(2026, 1, 15)).isEmpty());
    DataFile db(path);
    QVERIFY(db.exec(QStringLiteral("UPDATE System SET MailUser = ?"), {user}));
}

QString mailUser(const QString& path) {
    DataFile db(path);
    const QVariant user = db.scalar(QStringLiteral("SELECT MailUser FROM System"));
    return user.isValid() ? user.toString() : QStringLiteral("<unreadable>");
}

QByteArray bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs statements, one a line, on a file (made when missing).
void run(const QString& path, const QString& sql) {
    DataFile db(path, DataFile::Create);
    for (const QString& statement : sql.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        QVERIFY2(db.exec(statement), qPrintable(db.lastError()));
}

QVariant value(const QString& path, const QString& sql) {
    DataFile db(path);
    return db.scalar(sql);
}

// The rename that puts a restored file in place fails, as on a disk that went away.
int failingRename(const char* from, const char* to) {
    if (QByteArray(to).endsWith("/data.plm") && QByteArray(from).contains(".part-")) {
        errno = EIO;
        return -1;
    }
    return ::rename(from, to);
}

} // namespace

class TestDataBackup : public QObject {
    Q_OBJECT
    QTemporaryDir m_tmp;
    QString m_home;   // the program folder
    QString m_data;   // its data.plm
    QString m_folder; // the folder the user picks

private Q_SLOTS:
    void init() {
        static int n = 0;
        m_home = m_tmp.filePath(QStringLiteral("home%1").arg(n));
        m_folder = m_tmp.filePath(QStringLiteral("picked%1").arg(n++));
        QVERIFY(QDir().mkpath(m_home) && QDir().mkpath(m_folder));
        m_data = m_home + QStringLiteral("/data.plm");
        makeDataFile(m_data, QStringLiteral("current"));
    }

    void backupReplacesAnEarlierBackup() {
        const QString target = m_folder + QStringLiteral("/data.plm");
        makeDataFile(target, QStringLiteral("older backup"));

        QCOMPARE(DataBackup::backup(m_data, m_folder), Result::Done);
        QCOMPARE(mailUser(target), QStringLiteral("current"));
        QCOMPARE(mode(target), OwnerOnly);
        QCOMPARE(entries(m_folder), QStringList{QStringLiteral("data.plm")});
        QCOMPARE(DataBackup::backupMessage(Result::Done, m_folder),
                 QStringLiteral("Data has been backup to '%1'.").arg(target));
    }

    void failedBackupKeepsWhatWasThereAndLeavesNoPart() {
        QCOMPARE(DataBackup::backup(m_data, m_folder + QStringLiteral("/nowhere")), Result::Failed);
        // The backup's name is taken by a folder: the finished copy cannot be put in place.
        QVERIFY(QDir(m_folder).mkdir(QStringLiteral("data.plm")));
        QCOMPARE(DataBackup::backup(m_data, m_folder), Result::Failed);
        QCOMPARE(entries(m_folder), QStringList{QStringLiteral("data.plm")});
        QVERIFY(QFileInfo(m_folder + QStringLiteral("/data.plm")).isDir());
    }

    void restoreRefusesAndChangesNothing_data() {
        QTest::addColumn<QByteArray>("sql"); // builds the picked data.plm; empty: none there
        QTest::addColumn<Result>("result");
        QTest::newRow("no data.plm") << QByteArray() << Result::NotFound;
        QTest::newRow("random bytes") << QByteArray("random") << Result::NotDataFile;
        QTest::newRow("empty file") << QByteArray("empty") << Result::NotDataFile;
        QTest::newRow("SQLite without System")
            << QByteArray("CREATE TABLE Events (x)") << Result::NotDataFile;
        QTest::newRow("System with two rows")
            << QByteArray("CREATE TABLE System (MailUser);"
                          "INSERT INTO System VALUES ('a'), ('b')")
            << Result::NotDataFile;
    }

    void restoreRefusesAndChangesNothing() {
        QFETCH(QByteArray, sql);
        QFETCH(Result, result);
        const QString source = m_folder + QStringLiteral("/data.plm");
        if (sql == "random" || sql == "empty") {
            QFile f(source);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (sql == "random")
                f.write(QByteArray("SQLite format 3").append(4096, '\x5a'));
        } else if (!sql.isEmpty()) {
            DataFile db(source, DataFile::Create);
            for (const QByteArray& statement : sql.split(';'))
                QVERIFY(db.exec(QString::fromLatin1(statement)));
        }
        const QByteArray dataBefore = bytes(m_data);
        const QByteArray sourceBefore = bytes(source);
        const QStringList homeBefore = entries(m_home);

        QCOMPARE(DataBackup::checkRestoreSource(programSchema(), m_folder), result);
        QCOMPARE(DataBackup::restore(programSchema(), m_folder, m_data), result);
        QCOMPARE(bytes(m_data), dataBefore);
        QCOMPARE(bytes(source), sourceBefore);
        QCOMPARE(entries(m_home), homeBefore);
    }

    void restoreReplacesTheDataFileAndKeepsTheOldOne() {
        makeDataFile(m_folder + QStringLiteral("/data.plm"), QStringLiteral("from backup"));
        const QByteArray replaced = bytes(m_data);

        QCOMPARE(DataBackup::checkRestoreSource(programSchema(), m_folder), Result::Done);
        QCOMPARE(DataBackup::restore(programSchema(), m_folder, m_data), Result::Done);
        QCOMPARE(mailUser(m_data), QStringLiteral("from backup"));
        QCOMPARE(mode(m_data), OwnerOnly);
        QCOMPARE(bytes(m_data + QStringLiteral(".before-restore")), replaced);
        QCOMPARE(entries(m_home), (QStringList{QStringLiteral("data.plm"),
                                               QStringLiteral("data.plm.before-restore")}));
    }

    // Files crafted to act once restored: nothing of theirs but the values comes along.
    void restoreCarriesValuesNeverSchema() {
        const QString source = m_folder + QStringLiteral("/data.plm");
        makeDataFile(source, QStringLiteral("from backup"));
        run(source, QStringLiteral(
                        "INSERT INTO QNotes (nID, Content, ZOrder) VALUES (7, 'kept note', 1)\n"
                        "CREATE TRIGGER redirect AFTER UPDATE ON System BEGIN"
                        " UPDATE System SET MailPOP3 = '127.0.0.2'; END\n"
                        "CREATE TRIGGER wipe AFTER UPDATE ON QNotes BEGIN DELETE FROM QNotes; END\n"
                        "CREATE VIEW Everything AS SELECT * FROM QNotes\n"
                        "CREATE TABLE Extra (x)\n"
                        "CREATE INDEX ByContent ON QNotes (Content)"));

        DataBackup::RestoreDetails details;
        QCOMPARE(DataBackup::restore(programSchema(), m_folder, m_data, &details), Result::Done);
        QCOMPARE(details.leftOut,
                 (QStringList{QStringLiteral("index ByContent"), QStringLiteral("table Extra"),
                              QStringLiteral("trigger redirect"), QStringLiteral("trigger wipe"),
                              QStringLiteral("view Everything")}));
        const QString message = DataBackup::restoreMessage(Result::Done, m_folder, details);
        QVERIFY(message.startsWith(QStringLiteral("Restore is complete.")));
        QVERIFY(message.contains(QStringLiteral("- trigger wipe")));

        QCOMPARE(value(m_data, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type IN"
                                              " ('trigger', 'view') OR name = 'Extra'"))
                     .toInt(),
                 0);
        QCOMPARE(value(m_data, QStringLiteral("PRAGMA user_version")).toInt(),
                 programSchema().currentVersion());
        run(m_data, QStringLiteral("UPDATE System SET MailUser = 'x'\n"
                                   "UPDATE QNotes SET ZOrder = 2"));
        QCOMPARE(value(m_data, QStringLiteral("SELECT MailPOP3 FROM System")).toString(),
                 QString());
        QCOMPARE(value(m_data, QStringLiteral("SELECT Content FROM QNotes WHERE nID = 7")),
                 QVariant(QStringLiteral("kept note")));
    }

    // An older or hand-made file: missing columns take the schema's defaults, a missing
    // value in a column that needs one too, and names match whatever their letter case.
    void restoreFillsWhatTheSourceLacks() {
        run(m_folder + QStringLiteral("/data.plm"),
            QStringLiteral("CREATE TABLE system (mailuser TEXT, ShowEvery INTEGER)\n"
                           "INSERT INTO system VALUES ('old', NULL)\n"
                           "CREATE TABLE Events (eDate, Description)\n"
                           "INSERT INTO Events VALUES ('2026-02-01', 'kept')\n"
                           "INSERT INTO Events VALUES (NULL, 'no date')"));
        DataBackup::RestoreDetails details;
        QCOMPARE(DataBackup::restore(programSchema(), m_folder, m_data, &details), Result::Done);
        QCOMPARE(mailUser(m_data), QStringLiteral("old"));
        QCOMPARE(value(m_data, QStringLiteral("SELECT ShowEvery FROM System")).toInt(), 60);
        QCOMPARE(value(m_data, QStringLiteral("SELECT group_concat(Description) FROM Events")),
                 QVariant(QStringLiteral("kept")));
        QCOMPARE(details.leftOut,
                 QStringList{QStringLiteral("1 rows of Events that are not valid")});
    }

    void restoreRefusesWithAReason_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<qint64>("maxBytes");
        QTest::addColumn<int>("ms");
        QTest::addColumn<Result>("result");
        QTest::addColumn<QString>("reason");
        // Counting this view's rows never ends; it is not even opened.
        QTest::newRow("System a recursive view")
            << QStringLiteral("CREATE VIEW System AS WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL"
                              " SELECT x + 1 FROM n WHERE x < 1e11) SELECT x FROM n")
            << qint64(1) << 5000 << Result::NotDataFile
            << QStringLiteral("it is not a Plumora data file");
        QTest::newRow("newer") << QStringLiteral("CREATE TABLE System (x)\nINSERT INTO System"
                                                 " VALUES (1)\nPRAGMA user_version = 999")
                               << qint64(1) << 5000 << Result::Newer
                               << QStringLiteral("newer version of Plumora (data version 999");
        QTest::newRow("too large") << QString() << qint64(-1) << 5000 << Result::OverLimit
                                   << QStringLiteral("it is larger than");
        QTest::newRow("too slow") << QString() << qint64(1) << -1 << Result::OverLimit
                                  << QStringLiteral("reading it took longer than");
    }

    void restoreRefusesWithAReason() {
        QFETCH(QString, sql);
        QFETCH(qint64, maxBytes);
        QFETCH(int, ms);
        QFETCH(Result, result);
        QFETCH(QString, reason);
        const QString source = m_folder + QStringLiteral("/data.plm");
        if (sql.isEmpty())
            makeDataFile(source, QStringLiteral("from backup"));
        else
            run(source, sql);
        RestoreRebuild::Limits limits;
        limits.maxBytes = maxBytes < 0 ? 1024 : qint64(1) << 30;
        limits.msPerStatement = ms;
        const RestoreRebuild::Source found =
            RestoreRebuild::examine(programSchema(), source, limits);
        QCOMPARE(DataBackup::checkRestoreSource(programSchema(), m_folder) == Result::Done,
                 sql.isEmpty()); // within the default limits an honest file is accepted
        QVERIFY2(found.reason.contains(reason), qPrintable(found.reason));
        if (!sql.isEmpty()) {
            const QByteArray before = bytes(m_data);
            DataBackup::RestoreDetails details;
            QCOMPARE(DataBackup::restore(programSchema(), m_folder, m_data, &details), result);
            QCOMPARE(bytes(m_data), before);
            QCOMPARE(DataBackup::restoreMessage(result, m_folder, details),
                     QStringLiteral("'%1' cannot be restored: %2.\nNothing was changed.")
                         .arg(source, found.reason));
        }
    }

    // The data file is never missing: a failure after the old file was kept leaves it in
    // place, and no temporary file behind.
    void failedRenameLeavesTheDataFile() {
        makeDataFile(m_folder + QStringLiteral("/data.plm"), QStringLiteral("from backup"));
        FileOps ops = FileOps::system();
        ops.rename = &failingRename;
        DataBackup::RestoreDetails details;
        QCOMPARE(DataBackup::restore(programSchema(), m_folder, m_data, &details, ops),
                 Result::Failed);
        QCOMPARE(mailUser(m_data), QStringLiteral("current"));
        QVERIFY(details.reason.contains(QStringLiteral("cannot move")));
        for (const QString& name : entries(m_home))
            QVERIFY2(!name.contains(QStringLiteral(".part-")), qPrintable(name));
    }

    // The user's backup is read as it is: a WAL file keeps its mode and its bytes.
    void examiningLeavesAWalSourceUnchanged() {
        const QString source = m_folder + QStringLiteral("/data.plm");
        makeDataFile(source, QStringLiteral("from backup"));
        run(source, QStringLiteral("PRAGMA journal_mode = WAL"));
        const QByteArray before = bytes(source);
        const QStringList folderBefore = entries(m_folder);
        QCOMPARE(DataBackup::checkRestoreSource(programSchema(), m_folder), Result::Done);
        QCOMPARE(DataBackup::restore(programSchema(), m_folder, m_data), Result::Done);
        QCOMPARE(bytes(source), before);
        QCOMPARE(entries(m_folder), folderBefore);
        QCOMPARE(mailUser(m_data), QStringLiteral("from backup"));
    }

    void leftoversOfInterruptedCopiesAreRemoved() {
        const QStringList left{
            QStringLiteral("data.plm.a1B2c3"), QStringLiteral("data.plm.a1B2c3-journal"),
            QStringLiteral("data.plm.part-Zz0099"), QStringLiteral("data.plm.part-Zz0099-wal")};
        // Six small letters, five or seven characters, an unknown ending, another file's
        // copy: none of them is a leftover of this file.
        const QStringList kept{QStringLiteral("data.plm"),
                               QStringLiteral("data.plm.backup"),
                               QStringLiteral("data.plm.before-restore"),
                               QStringLiteral("data.plm.damaged"),
                               QStringLiteral("data.plm.part-Zz009"),
                               QStringLiteral("data.plm.a1B2c3d"),
                               QStringLiteral("data.plm.a1B2c3-old"),
                               QStringLiteral("datAplm.part-Zz0099"),
                               QStringLiteral("notes.txt")};
        for (const QString& name : left + kept) {
            QFile f(m_home + QLatin1Char('/') + name);
            QVERIFY(name == QLatin1String("data.plm") || f.open(QIODevice::WriteOnly));
        }
        // In a folder of the user's only the unmistakable part goes.
        QCOMPARE(FileReplace::removeLeftovers(m_data), 2);
        QCOMPARE(FileReplace::removeLeftovers(m_data, FileReplace::Leftovers::PartsAndOlderCopies),
                 2);
        QStringList present = entries(m_home), expected = kept;
        present.sort();
        expected.sort();
        QCOMPARE(present, expected);
    }
};

QTEST_GUILESS_MAIN(TestDataBackup)
#include "tst_databackup.moc"
