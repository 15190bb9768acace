// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "calendar/EventStore.h"
#include "data/DataFile.h"
#include "data/Settings.h"
#include "notify/ReminderList.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QDate D(const char* iso) {
    return QDate::fromString(QLatin1String(iso), Qt::ISODate);
}

EventRow eventRow(const QDate& date, int frequency, const QString& text = QStringLiteral("e"),
                  int holiday = 0) {
    EventRow r;
    r.eDate = date;
    r.frequency = frequency;
    r.description = text;
    r.holiday = holiday;
    return r;
}

const QDate Tuesday = D("2026-03-10");

} // namespace

class TestReminderList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // One row seen from `today`: announced for `next`, or not at all (invalid `next`).
    void announces_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("eDate");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<int>("notifyAgo");
        QTest::addColumn<QDate>("next");
        const QDate t = Tuesday;
        QTest::newRow("0 days: one-time today") << t << t << 1 << 0 << t;
        QTest::newRow("0 days: one-time tomorrow") << t << D("2026-03-11") << 1 << 0 << QDate();
        QTest::newRow("0 days: weekly on today's weekday") << t << D("2025-01-07") << 3 << 0 << t;
        QTest::newRow("0 days: monthly, other day") << t << D("2025-11-11") << 4 << 0 << QDate();
        QTest::newRow("weekly, future eDate") << t << D("2026-05-14") << 3 << 7 << D("2026-03-12");
        QTest::newRow("monthly, future eDate") << t << D("2026-03-15") << 4 << 7 << D("2026-03-15");
        QTest::newRow("monthly, future eDate, day beyond the horizon")
            << t << D("2026-05-11") << 4 << 7 << QDate();
        QTest::newRow("monthly 31st in a 30-day month: the 1st of the next")
            << D("2026-04-25") << D("2026-01-31") << 4 << 10 << D("2026-05-01");
        QTest::newRow("yearly 29 February in a common year: 28 February")
            << D("2027-02-20") << D("2024-02-29") << 5 << 10 << D("2027-02-28");
    }

    void announces() {
        QFETCH(QDate, today);
        QFETCH(QDate, eDate);
        QFETCH(int, frequency);
        QFETCH(int, notifyAgo);
        QFETCH(QDate, next);
        const ReminderList list =
            ReminderRules::build({eventRow(eDate, frequency)}, today, notifyAgo, {});
        QCOMPARE(list.entries.size(), size_t(next.isValid() ? 1 : 0));
        if (next.isValid())
            QCOMPARE(list.entries[0].date, next);
    }

    void holidaySwitches_data() {
        QTest::addColumn<int>("holiday");
        QTest::addColumn<bool>("addCanada");
        QTest::addColumn<bool>("shown");
        QTest::newRow("100 always") << 100 << false << true;
        QTest::newRow("200 always") << 200 << false << true;
        QTest::newRow("150, Canada off") << 150 << false << false;
        QTest::newRow("150, Canada on") << 150 << true << true;
    }

    void holidaySwitches() {
        QFETCH(int, holiday);
        QFETCH(bool, addCanada);
        QFETCH(bool, shown);
        HolidayFlags flags;
        flags.addCanada = addCanada;
        const EventRow row = eventRow(D("2000-03-11"), 5, QStringLiteral("h"), holiday);
        QCOMPARE(!ReminderRules::build({row}, Tuesday, 3, flags).isEmpty(), shown);
    }

    void orderedByDateThenTextWithoutCaseThenFoundOrder() {
        const QDate day = D("2026-03-12");
        const std::vector<EventRow> rows = {
            eventRow(day, 1, QStringLiteral("banana")),
            eventRow(day, 1, QStringLiteral("Apple")),
            eventRow(D("2026-03-11"), 1, QStringLiteral("zebra")),
            eventRow(day, 1, QStringLiteral("apple")),
            eventRow(day, 1, QStringLiteral("éb")),
            eventRow(day, 1, QStringLiteral("ÉA")),
            eventRow(day, 1, QStringLiteral("Cherry")),
        };
        const ReminderList list = ReminderRules::build(rows, Tuesday, 5, {});
        QStringList texts;
        QList<int> icons;
        for (const Announcement& a : list.entries) {
            texts << a.text;
            icons << a.icon;
            // Each entry's picture is that of the row it came from.
            QCOMPARE(list.found[size_t(a.icon - 1)].description, a.text);
        }
        QCOMPARE(texts, QStringList({"zebra", "Apple", "apple", "banana", "Cherry", "ÉA", "éb"}));
        QCOMPARE(icons, QList<int>({3, 2, 4, 1, 7, 6, 5}));
    }

    // The horizon and the switches come from System, the rows from Events.
    void loadsFromTheDataFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.plm"));
        QCOMPARE(programSchema().createTemplate(path, D("2026-01-01")), QString());
        QVERIFY(SettingsStore(path).update([](Settings& s) {
            s.notifyAgo = 3;
            s.addCanada = true;
            s.addAmerica = false;
        }));
        EventStore events(path);
        QVERIFY(events.add({eventRow(Tuesday.addDays(3), 1, QStringLiteral("in")),
                            eventRow(Tuesday.addDays(4), 1, QStringLiteral("beyond")),
                            eventRow(D("2000-03-11"), 5, QStringLiteral("ca"), 101),
                            eventRow(D("2000-03-11"), 5, QStringLiteral("us"), 201)}));
        const ReminderList list = ReminderRules::load(SettingsStore(path), events, Tuesday);
        QCOMPARE(list.entries.size(), size_t(2));
        QCOMPARE(list.entries[0].text, QStringLiteral("ca"));
        QCOMPARE(list.entries[1].text, QStringLiteral("in"));
    }
};

QTEST_GUILESS_MAIN(TestReminderList)
#include "tst_reminderlist.moc"
