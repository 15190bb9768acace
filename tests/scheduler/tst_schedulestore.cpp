// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "scheduler/ScheduleDueReader.h"
#include "scheduler/ScheduleList.h"
#include "scheduler/ScheduleStore.h"
#include "shell/DueEntries.h"
#include "shell/FiringRules.h"

#include <QTemporaryDir>
#include <QTest>

class TestScheduleStore : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    AppPaths m_paths{m_dir.path(), m_dir.path()};

    // Another program writing to the same file.
    void otherWriter(const char* sql) {
        DataFile db(m_paths.dataFile());
        QVERIFY2(db.exec(QString::fromLatin1(sql)), qPrintable(db.lastError()));
    }
    std::vector<ScheduleRow> rows() {
        std::vector<ScheduleRow> out;
        ScheduleStore(m_paths.dataFile()).readAll(out);
        return out;
    }
    QStringList launches() {
        QStringList out;
        for (const ScheduleRow& r : rows())
            out << r.launch;
        return out;
    }

private Q_SLOTS:
    void init() {
        QFile::remove(m_paths.dataFile());
        QCOMPARE(programSchema().createTemplate(m_paths.dataFile(), QDate(2026, 3, 1)), QString());
    }

    // An entry made in the editor at a time with seconds is stored to the minute, and the
    // tick's reader fires it then and not a minute earlier or later.
    void savedEntryFiresAtItsMinute() {
        FakeClock clock(QDateTime(QDate(2026, 3, 10), QTime(8, 29, 41)));
        ScheduleStore store(m_paths.dataFile());
        ScheduleList list;
        list.load({});
        ScheduleEditorState editor = list.editorFor(3, clock);
        editor.launchProgram = false;
        editor.hibernate = true;
        editor.time = QTime(8, 30, 59);
        editor.oneTime = true;
        QCOMPARE(list.save(3, editor, store), ScheduleStore::Update::Done);
        QCOMPARE(rows().at(0).time, QTime(8, 30));
        QCOMPARE(rows().at(0).rowId, list.entry(3).rowId);

        TickCache cache;
        QVERIFY(loadTickCache(m_paths.dataFile(), m_paths, cache, {&readScheduledEntries}));
        QCOMPARE(cache.entries.size(), 1);
        const DueEntry& due = cache.entries[0];
        QCOMPARE(due.arguments, QStringList{QStringLiteral("0")});
        for (const auto& [minute, fires] :
             {std::pair{QTime(8, 29), false}, {QTime(8, 30), true}, {QTime(8, 31), false}})
            QCOMPARE(FiringRules::fires(due.date, due.time, due.frequency, clock.today(), minute),
                     fires);

        // Unticking "Active" keeps the row but the tick no longer loads it.
        editor.active = false;
        QCOMPARE(list.save(3, editor, store), ScheduleStore::Update::Done);
        QVERIFY(loadTickCache(m_paths.dataFile(), m_paths, cache, {&readScheduledEntries}));
        QVERIFY(!cache.hasDueEntries);
        QCOMPARE(rows().size(), size_t(1));
    }

    // Rows come in SchDT order; saving finds its row by rowid even after another writer
    // put an earlier entry in front of it, and reports a row deleted meanwhile.
    void updatesFollowTheRowNotItsPlace() {
        otherWriter("INSERT INTO Schedule VALUES (1, 'b', '2026-03-12 10:00', 2),"
                    " (1, 'a', '2026-03-11 10:00', 2)");
        QCOMPARE(launches(), (QStringList{"a", "b"}));
        ScheduleList list;
        list.load(rows());
        otherWriter("INSERT INTO Schedule VALUES (1, 'other', '2026-03-01 07:00', 2)");

        ScheduleStore store(m_paths.dataFile());
        ScheduleEditorState editor = list.editorFor(0, FakeClock());
        editor.program = QStringLiteral("a2");
        QCOMPARE(list.save(0, editor, store), ScheduleStore::Update::Done);
        QCOMPARE(launches(), (QStringList{"other", "a2", "b"}));

        otherWriter("DELETE FROM Schedule WHERE Launch = 'b'");
        QCOMPARE(list.save(1, list.editorFor(1, FakeClock()), store),
                 ScheduleStore::Update::Vanished);
        QCOMPARE(launches(), (QStringList{"other", "a2"}));
        QCOMPARE(list.entry(1).launch, QStringLiteral("b"));
    }

    void applyingMarks_data() {
        QTest::addColumn<QList<int>>("marked"); // lines marked at closing
        QTest::addColumn<QStringList>("left");
        QTest::newRow("no marks: only rows already at type 0 go")
            << QList<int>{} << QStringList{"a", "c", "d", "f"};
        QTest::newRow("marked rows go too") << QList<int>{0, 3} << QStringList{"c", "f"};
        // The new row takes the deleted row's rowid.
        QTest::newRow("a mark on a row replaced meanwhile is passed over")
            << QList<int>{4} << QStringList{"a", "c", "d", "f"};
    }
    void applyingMarks() {
        QFETCH(QList<int>, marked);
        otherWriter("INSERT INTO Schedule VALUES (1, 'a', '2026-03-01 07:00', 2),"
                    " (0, 'b', '2026-03-02 07:00', 2), (2, 'c', '2026-03-03 07:00', 0),"
                    " (7, 'd', '2026-03-04 07:00', 2), (1, 'e', '2026-03-05 07:00', 2)");
        ScheduleList list;
        list.load(rows());
        otherWriter("DELETE FROM Schedule WHERE Launch = 'e'");
        otherWriter("INSERT INTO Schedule VALUES (1, 'f', '2026-03-05 07:00', 2)");
        for (int line : marked)
            list.doubleClick(line, 0);
        list.doubleClick(10, 0); // a mark on an empty line deletes nothing
        ScheduleStore store(m_paths.dataFile());
        QVERIFY(store.applyMarks(list.markedEntries()));
        QTEST(launches(), "left");
    }

    void failuresAreReported() {
        ScheduleStore missing(m_dir.filePath(QStringLiteral("none.plm")));
        std::vector<ScheduleRow> out;
        QVERIFY(!missing.readAll(out));
        QVERIFY(!missing.applyMarks({}));
        QVERIFY(!missing.lastError().isEmpty());
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("none.plm"))));
        // An entry without a date is never written.
        QCOMPARE(ScheduleStore(m_paths.dataFile()).add(ScheduleRow{}), 0);
        QVERIFY(rows().empty());
    }
};

QTEST_GUILESS_MAIN(TestScheduleStore)
#include "tst_schedulestore.moc"
