#include "core/DataBackup.h"
#include "core/DataFile.h"
#include "core/Schema.h"

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
    QVERIFY(Schema::createTemplate(path, QDate(2026, 1, 15)).isEmpty());
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

        QCOMPARE(DataBackup::checkRestoreSource(m_folder), result);
        QCOMPARE(DataBackup::restore(m_folder, m_data), result);
        QCOMPARE(bytes(m_data), dataBefore);
        QCOMPARE(bytes(source), sourceBefore);
        QCOMPARE(entries(m_home), homeBefore);
    }

    void restoreReplacesTheDataFileAndKeepsTheOldOne() {
        makeDataFile(m_folder + QStringLiteral("/data.plm"), QStringLiteral("from backup"));
        const QByteArray replaced = bytes(m_data);

        QCOMPARE(DataBackup::checkRestoreSource(m_folder), Result::Done);
        QCOMPARE(DataBackup::restore(m_folder, m_data), Result::Done);
        QCOMPARE(mailUser(m_data), QStringLiteral("from backup"));
        QCOMPARE(mode(m_data), OwnerOnly);
        QCOMPARE(bytes(m_data + QStringLiteral(".before-restore")), replaced);
        QCOMPARE(entries(m_home), (QStringList{QStringLiteral("data.plm"),
                                               QStringLiteral("data.plm.before-restore")}));
    }
};

QTEST_GUILESS_MAIN(TestDataBackup)
#include "tst_databackup.moc"
