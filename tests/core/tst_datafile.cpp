#include "core/DataFile.h"
#include "core/Schema.h"
#include "core/SystemRow.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

class TestDataFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path;

private Q_SLOTS:
    void init() {
        m_path = m_dir.filePath(QStringLiteral("data.plm"));
        QFile::remove(m_path);
        QCOMPARE(Schema::createTemplate(m_path, QDate(2026, 1, 15)), QString());
    }

    void templateHoldsEveryTableAndAFirstRunRow() {
        DataFile db(m_path);
        QVERIFY(db.isOpen());
        for (const QString& table : Schema::tableNames())
            QVERIFY2(!db.columns(table).isEmpty(), qPrintable(table));
        SystemRow row;
        QVERIFY(row.load(db));
        QCOMPARE(row.integer(QStringLiteral("NotifyAgo")), 255);
        // The tick's settings reload stops at a column with no value: every one must hold one.
        for (const char* column : {"Lastupdate", "CheckMail", "MailUser", "MailPOP3", "MailPwd",
                                   "ShowEvery", "CheckMailMin"})
            QVERIFY2(!row.value(QLatin1String(column)).isNull(), column);
        QCOMPARE(row.date(QStringLiteral("Lastupdate")), QDate(2026, 1, 15));
    }

    void columnsMatchWithoutRegardToCase() {
        DataFile db(m_path);
        SystemRow row;
        QVERIFY(row.load(db));
        QVERIFY(row.set(db, QStringLiteral("addamerica"), 1));
        QCOMPARE(row.integer(QStringLiteral("AddAmerica")), 1);
        QVERIFY(row.boolean(QStringLiteral("ADDAMERICA")));

        SystemRow again;
        QVERIFY(again.load(db));
        QCOMPARE(again.integer(QStringLiteral("AddAmerica")), 1);
    }

    void unknownColumnsAreRefusedBeforeReachingSql() {
        DataFile db(m_path);
        SystemRow row;
        QVERIFY(row.load(db));
        QVERIFY(!row.set(db, QStringLiteral("NotifyAgo = 0; DROP TABLE Events; --"), 1));
        QVERIFY(!row.set(db, {{QStringLiteral("MailUser"), QStringLiteral("a")},
                              {QStringLiteral("NoSuchColumn"), 1}}));
        SystemRow again;
        QVERIFY(again.load(db));
        QCOMPARE(again.text(QStringLiteral("MailUser")), QString());
        QVERIFY(!db.columns(QStringLiteral("Events")).isEmpty());
    }

    void valuesAreBoundNeverPasted() {
        DataFile db(m_path);
        const QString hostile = QStringLiteral("x'); DELETE FROM System; --");
        QVERIFY(db.exec(QStringLiteral("INSERT INTO WPaper (wpFile) VALUES (?)"), {hostile}));
        QSqlQuery q = db.query(QStringLiteral("SELECT wpFile FROM WPaper"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), hostile);
        SystemRow row;
        QVERIFY(row.load(db));
    }

    void readersNeverCreateAMissingFile() {
        const QString missing = m_dir.filePath(QStringLiteral("absent.plm"));
        DataFile db(missing);
        QVERIFY(!db.isOpen());
        QVERIFY(!QFileInfo::exists(missing));
    }

    void everyCommittedWriteChangesTheModifiedTime() {
        const qint64 before = fileModifiedStamp(m_path);
        QVERIFY(before > 0);
        QThread::msleep(5);
        {
            DataFile db(m_path);
            QVERIFY(
                db.exec(QStringLiteral("INSERT INTO Schedule (SchType, Launch, SchDT, Frequency)"
                                       " VALUES (1, '', '2026-01-01 08:30', 2)")));
        }
        const qint64 afterInsert = fileModifiedStamp(m_path);
        QVERIFY(afterInsert > before);
        QThread::msleep(5);
        {
            DataFile db(m_path);
            SystemRow row;
            QVERIFY(row.load(db));
            QVERIFY(row.set(db, QStringLiteral("ShowEvery"), 30));
        }
        QVERIFY(fileModifiedStamp(m_path) > afterInsert);
        QVERIFY(!QFileInfo::exists(m_path + QStringLiteral("-wal")));
    }

    void aFailedTransactionChangesNothing() {
        {
            DataFile db(m_path);
            QVERIFY(db.transaction());
            QVERIFY(db.exec(QStringLiteral("INSERT INTO WPaper (wpFile) VALUES (?)"),
                            {QStringLiteral("a")}));
            QVERIFY(!db.exec(QStringLiteral("INSERT INTO NoSuchTable VALUES (1)")));
            db.rollback();
        }
        DataFile db(m_path);
        QSqlQuery q = db.query(QStringLiteral("SELECT COUNT(*) FROM WPaper"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
