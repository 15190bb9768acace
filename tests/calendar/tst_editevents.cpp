// SPDX-License-Identifier: GPL-3.0-or-later
// The event editor's rules without its window: listing a day, filling new rows, and what
// Save leaves in the data file.
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/DayEdit.h"
#include "calendar/EventIcons.h"
#include "calendar/EventStore.h"
#include "data/DataFile.h"

#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Everything the table holds, one line per row in table order, pictures included.
QStringList dump(const QString& path) {
    QStringList out;
    DataFile db(path);
    db.forEach(QStringLiteral("SELECT eDate, Description, Frequency, Holiday, "
                              "hex(IconImg), hex(SmallImg) FROM Events ORDER BY rowid"),
               {}, [&](DataFile::Row q) {
                   QStringList cells;
                   for (int c = 0; c < 6; ++c)
                       cells << q.value(c).toString();
                   out << cells.join(u'|');
                   return true;
               });
    return out;
}

const HolidayFlags AllShown{true, true, true};

} // namespace

class TestEditEvents : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path;
    const QDate m_day = D("2026-03-25"); // a Wednesday
    const QImage m_default = HolidaysIL::raw(1);

    DayEdit open(const HolidayFlags& flags = AllShown) {
        DayEdit edit(m_day, flags, m_default);
        EventStore store(m_path);
        edit.load(store.readDay(m_day));
        return edit;
    }
    int rowOf(const DayEdit& edit, const QString& text) {
        for (int r = 0; r < edit.rowCount(); ++r)
            if (edit.row(r).description == text)
                return r;
        return -1;
    }
    int firstBlank(const DayEdit& edit) {
        for (int r = 0; r < edit.rowCount(); ++r)
            if (!edit.row(r).used())
                return r;
        return -1;
    }

private Q_SLOTS:
    void init() {
        m_path = m_dir.filePath("data.plm");
        QFile::remove(m_path);
        QCOMPARE(programSchema().createTemplate(m_path, D("2026-01-15")), QString());
    }

    // Holidays first (visible ones only), a downloaded yearly holiday moved into the edited
    // year; the user's rows with their own start dates.
    void listsTheDay() {
        EventStore store(m_path);
        QVERIFY(store.add({makeEvent("2026-03-04", 3, "swim"),
                           makeEvent("2002-03-25", 5, "US day", 203),
                           makeEvent("2002-03-25", 5, "Canada day", 104),
                           makeEvent("2026-03-25", 2, "code two")}));
        const DayEdit edit = open({true, false, true});
        QCOMPARE(edit.row(0).description, "US day");
        QVERIFY(edit.row(0).holiday);
        QCOMPARE(edit.row(0).date, "2026-03-25");
        QCOMPARE(edit.row(1).description, "swim");
        QCOMPARE(edit.row(1).date, "2026-03-04");
        QCOMPARE(edit.row(1).repeat, "weekly");
        QCOMPARE(edit.row(2).description, "code two");
        QCOMPARE(edit.row(2).repeat, "none");
        QCOMPARE(edit.row(2).picture, m_default); // no picture of its own
        QCOMPARE(rowOf(edit, "Canada day"), -1);
        QCOMPARE(edit.rowCount(), DayEdit::MinimumRows);
    }

    // A weekly event that started three weeks before is deleted and added again with the
    // same start, picture, text and repeat; other days' rows stay as they were.
    void unchangedSaveKeepsEverything() {
        const QByteArray icon = toPng(filled(0xFF2080FF));
        EventStore store(m_path);
        QVERIFY(store.add(
            {makeEvent("2026-03-04", 3, "swim", 0, icon), makeEvent("2026-03-26", 1, "tomorrow")}));
        // Every column but SmallImg, which Save draws afresh from the picture.
        const auto rows = [this] {
            QStringList all = dump(m_path);
            for (QString& r : all)
                r.truncate(r.lastIndexOf(u'|'));
            all.sort();
            return all;
        };
        const QStringList before = rows();
        DayEdit edit = open();
        QCOMPARE(edit.row(0).date, "2026-03-04");
        QVERIFY(edit.save(store));
        QCOMPARE(rows(), before);
    }

    // Identities across a Save: rows left alone keep UID and modified time, a changed row
    // keeps its UID with the time of the save, a new row gets a fresh UID, and a deleted
    // event leaves a tombstone - unless another row (another day of it) still carries it.
    void saveKeepsIdentities() {
        EventStore store(m_path);
        EventRow split = makeEvent("2026-03-25", 1, "trip");
        split.uid = QStringLiteral("trip@example.org");
        EventRow secondDay = split;
        secondDay.eDate = D("2026-03-26");
        QVERIFY(store.add({makeEvent("2026-03-04", 3, "swim"), makeEvent("2026-03-25", 1, "lunch"),
                           makeEvent("2026-03-25", 5, "dentist"), split, secondDay}));
        const auto identities = [this] {
            QHash<QString, QPair<QString, QString>> byText; // text -> (UID, LastModified)
            DataFile db(m_path);
            db.forEach(QStringLiteral("SELECT Description, UID, LastModified FROM Events"), {},
                       [&](DataFile::Row q) {
                           byText.insert(q.value(0).toString(),
                                         {q.value(1).toString(), q.value(2).toString()});
                           return true;
                       });
            return byText;
        };
        const auto before = identities();
        QSet<QString> uids;
        for (const auto& id : before) {
            QVERIFY(!id.first.isEmpty());
            QVERIFY(!id.second.isEmpty());
            uids.insert(id.first);
        }
        QCOMPARE(uids.size(), 4); // trip's two days share one

        DayEdit edit = open();
        edit.setDescription(rowOf(edit, "lunch"), "long lunch");
        QVERIFY(edit.toggleMark(rowOf(edit, "dentist")));
        QVERIFY(edit.toggleMark(rowOf(edit, "trip")));
        const int fresh = firstBlank(edit);
        edit.descriptionTyped(fresh);
        edit.setDescription(fresh, "call mum");
        const QDateTime saved(D("2026-03-25"), QTime(10, 30), Qt::UTC);
        store.setNow(saved);
        QVERIFY(edit.save(store));

        const auto after = identities();
        QCOMPARE(after.value("swim"), before.value("swim"));
        QCOMPARE(after.value("long lunch").first, before.value("lunch").first);
        QCOMPARE(after.value("long lunch").second, "2026-03-25T10:30:00Z");
        QVERIFY(!after.value("call mum").first.isEmpty());
        QVERIFY(!uids.contains(after.value("call mum").first));
        QVERIFY(!after.contains("dentist"));
        QCOMPARE(after.value("trip").first, "trip@example.org"); // the 26th stays

        QStringList tombstones;
        DataFile db(m_path);
        db.forEach(QStringLiteral("SELECT UID, Deleted FROM EventTombstones"), {},
                   [&](DataFile::Row q) {
                       tombstones << q.value(0).toString() + u' ' + q.value(1).toString();
                       return true;
                   });
        QCOMPARE(tombstones, QStringList{before.value("dentist").first + " 2026-03-25T10:30:00Z"});
    }

    // Changing a row and changing it back before Save counts as unchanged.
    void editedBackIsUnchanged() {
        EventStore store(m_path);
        QVERIFY(store.add({makeEvent("2026-03-25", 1, "lunch")}));
        DayEdit edit = open();
        const int r = rowOf(edit, "lunch");
        const QDateTime listed = edit.row(r).modified;
        edit.setDescription(r, "brunch");
        edit.setRepeat(r, "weekly");
        QVERIFY(edit.row(r).changed());
        edit.setDescription(r, "lunch");
        edit.setRepeat(r, "none");
        QVERIFY(!edit.row(r).changed());
        QCOMPARE(edit.rowsToSave().front().modified, listed);
        QVERIFY(listed.isValid());
    }

    // What Save writes for the user's edits; holidays, shown or hidden, are never touched.
    void saveWrites_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("expected"); // the day's user rows after Save
        QTest::newRow("X deletes the series") << "mark swim" << QStringList{};
        QTest::newRow("empty description drops the row") << "clear swim" << QStringList{};
        QTest::newRow("new row, repeat left empty")
            << "add dentist" << QStringList{"swim|3|2026-03-04", "dentist|1|2026-03-25"};
        QTest::newRow("new row, repeat none chosen")
            << "add dentist none" << QStringList{"swim|3|2026-03-04", "dentist|1|2026-03-25"};
        QTest::newRow("new row, yearly")
            << "add dentist yearly" << QStringList{"swim|3|2026-03-04", "dentist|5|2026-03-25"};
        QTest::newRow("picked date") << "date swim" << QStringList{"swim|3|2026-03-18"};
        QTest::newRow("holiday takes no edits") << "holiday" << QStringList{"swim|3|2026-03-04"};
    }
    void saveWrites() {
        QFETCH(QString, action);
        QFETCH(QStringList, expected);
        EventStore store(m_path);
        QVERIFY(
            store.add({makeEvent("2026-03-04", 3, "swim"), makeEvent("2002-03-25", 5, "intl", 2),
                       makeEvent("2026-03-25", 1, "hidden US", 205)}));
        const HolidayFlags flags{true, false, false};
        DayEdit edit = open(flags);
        QCOMPARE(edit.row(0).description, "intl");
        const int swim = rowOf(edit, "swim");
        const QStringList words = action.split(u' ');
        if (words[0] == u"mark") {
            QVERIFY(edit.toggleMark(swim));
        } else if (words[0] == u"clear") {
            edit.setDescription(swim, {});
        } else if (words[0] == u"date") {
            edit.setDate(swim, D("2026-03-18"));
        } else if (words[0] == u"holiday") {
            QVERIFY(!edit.toggleMark(0));
            edit.descriptionTyped(0);
            edit.setDescription(0, "changed");
            edit.pickIcon(0, filled(0xFF000000));
            QCOMPARE(edit.row(0).description, "intl");
        } else {
            const int r = firstBlank(edit);
            edit.descriptionTyped(r);
            edit.setDescription(r, words[1]);
            if (words.size() > 2)
                edit.setRepeat(r, words[2]);
        }
        QVERIFY(edit.save(store));

        QStringList user, holidays;
        for (const QString& line : dump(m_path)) {
            const QStringList c = line.split(u'|');
            if (c[3] == u"0")
                user << c[1] + u'|' + c[2] + u'|' + c[0];
            else
                holidays << QStringList(c.mid(0, 4)).join(u'|');
        }
        QCOMPARE(user, expected);
        QCOMPARE(holidays, (QStringList{"2002-03-25|intl|5|2", "2026-03-25|hidden US|1|205"}));
    }

    // A write refused halfway (after the day's rows were deleted) leaves the file as it was.
    void failedSaveChangesNothing() {
        EventStore store(m_path);
        QVERIFY(
            store.add({makeEvent("2026-03-04", 3, "swim"), makeEvent("2026-03-25", 1, "lunch")}));
        {
            DataFile db(m_path);
            QVERIFY(db.exec(QStringLiteral(
                "CREATE TRIGGER refuse BEFORE INSERT ON Events WHEN NEW.Description = 'boom' "
                "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END")));
        }
        const QStringList before = dump(m_path);
        DayEdit edit = open();
        QVERIFY(edit.toggleMark(rowOf(edit, "lunch")));
        const int r = firstBlank(edit);
        edit.descriptionTyped(r);
        edit.setDescription(r, "boom");
        QString error;
        QVERIFY(!edit.save(store, &error));
        QVERIFY(error.contains("disk trouble"));
        QCOMPARE(dump(m_path), before);
    }

    // The date cell of a new row fills with the edited day when an icon is picked or the
    // description is typed; a picked date needs one of them first; a set date stays.
    void newRowDate_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("date");
        const auto add = [](const char* name, const char* steps, const char* date) {
            QTest::newRow(name) << QString::fromLatin1(steps) << QString::fromLatin1(date);
        };
        add("icon picked", "icon", "2026-03-25");
        add("picker cancelled", "nothing-picked", "");
        add("description typed", "type", "2026-03-25");
        add("picked date alone", "date", "");
        add("typed, then picked date", "type date", "2026-04-01");
        add("icon, then picked date", "icon date", "2026-04-01");
        add("picked date kept on typing", "type date type", "2026-04-01");
        add("marked row takes no edits", "icon mark date type", "2026-03-25");
        add("a blank row takes no mark", "mark type", "2026-03-25");
    }

    void newRowDate() {
        QFETCH(QString, steps);
        QFETCH(QString, date);
        DayEdit edit = open();
        const int r = firstBlank(edit);
        for (const QString& step : steps.split(u' ')) {
            if (step == u"icon")
                edit.pickIcon(r, filled(0xFF00FF00));
            else if (step == u"nothing-picked")
                edit.pickIcon(r, QImage());
            else if (step == u"type") {
                edit.descriptionTyped(r);
                edit.setDescription(r, "text");
            } else if (step == u"date")
                edit.setDate(r, D("2026-04-01"));
            else if (step == u"mark")
                edit.toggleMark(r);
        }
        QCOMPARE(edit.row(r).date, date);
    }

    // SmallImg: the mask colour stays the see-through colour, pure black turns dark grey,
    // other colours stay; IconImg keeps the picture as it was.
    void smallPicture_data() {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<QRgb>("small");
        QTest::newRow("pure black") << QRgb(0xFF000000) << QRgb(0xFF404040);
        QTest::newRow("mask colour") << QRgb(0xFFC0C0C0) << QRgb(0xFFC0C0C0);
        QTest::newRow("near black") << QRgb(0xFF010101) << QRgb(0xFF010101);
    }
    void smallPicture() {
        QFETCH(QRgb, colour);
        QFETCH(QRgb, small);
        DayEdit edit = open();
        const int r = firstBlank(edit);
        edit.pickIcon(r, filled(colour));
        edit.setDescription(r, "dark");
        const std::vector<EventRow> rows = edit.rowsToSave();
        QCOMPARE(rows.size(), size_t(1));
        const QImage smallImg = QImage::fromData(rows[0].smallImg);
        QCOMPARE(smallImg.size(), QSize(16, 16));
        for (const QPoint p : {QPoint(0, 0), QPoint(7, 8), QPoint(15, 15)})
            QCOMPARE(smallImg.pixel(p), small);
        QCOMPARE(QImage::fromData(rows[0].iconImg).pixel(5, 5), colour);
    }

    // More events than the grid's usual 50 lines: all listed, a blank line after them,
    // and all written back; the grid grows again as the last line fills.
    void sixtyEventsSurvive() {
        std::vector<EventRow> rows;
        for (int i = 0; i < 60; ++i)
            rows.push_back(makeEvent("2026-03-25", 1, QStringLiteral("event %1").arg(i)));
        EventStore store(m_path);
        QVERIFY(store.add(rows));
        DayEdit edit = open();
        QCOMPARE(edit.rowCount(), 61);
        QVERIFY(!edit.row(60).used());
        edit.descriptionTyped(60);
        edit.setDescription(60, "event 60");
        QCOMPARE(edit.rowCount(), 62);
        QVERIFY(edit.save(store));
        const std::vector<EventRow> day = store.readDay(m_day);
        QCOMPARE(day.size(), size_t(61));
        for (int i = 0; i < 61; ++i)
            QCOMPARE(day[i].description, QStringLiteral("event %1").arg(i));
    }
};

QTEST_GUILESS_MAIN(TestEditEvents)
#include "tst_editevents.moc"
