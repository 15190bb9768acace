// SPDX-License-Identifier: GPL-3.0-or-later
// Calendar subscriptions on a fake downloader: addresses, refreshes that mirror the
// calendar, failures that keep the rows and are told once per streak, a new subscription
// saved only once its first fetch was read, removal, the minute
// job's timing, and subscribed rows read-only in the editor and named in the month view.
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/DayEdit.h"
#include "calendar/EventIcons.h"
#include "calendar/EventStore.h"
#include "calendar/ical/Subscriptions.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Sets a file's modification time to the nanosecond.
void setStamp(const QString& path, qint64 ns) {
    const struct timespec times[2] = {{ns / 1000000000, ns % 1000000000},
                                      {ns / 1000000000, ns % 1000000000}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

QByteArray calendar(const QStringList& events) {
    QByteArray out = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n";
    int n = 0;
    for (const QString& e : events)
        out += QStringLiteral("BEGIN:VEVENT\r\nUID:%1@feed\r\nDTSTAMP:20260101T000000Z\r\n"
                              "DTSTART;VALUE=DATE:20260312\r\nSUMMARY:%2\r\nEND:VEVENT\r\n")
                   .arg(++n)
                   .arg(e)
                   .toUtf8();
    return out + "END:VCALENDAR\r\n";
}

} // namespace

class TestSubscriptions : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path;
    FakeClock m_clock{QDateTime(D("2026-03-10"), QTime(8, 30))};
    FakeDownloader m_downloads;
    QStringList m_told;

    int subscribe(const QString& url = "webcal://calendars.example.org/team.ics") {
        Subscription s;
        s.name = "Team";
        s.url = url;
        return SubscriptionStore(m_path).add(s);
    }
    QStringList rows() {
        QStringList out;
        DataFile(m_path).forEach("SELECT Description, Subscription FROM Events ORDER BY rowid", {},
                                 [&](DataFile::Row q) {
                                     out << q.value(0).toString() + u'/' + q.value(1).toString();
                                     return true;
                                 });
        return out;
    }
    Subscription stored(int id) {
        for (const Subscription& s : SubscriptionStore(m_path).all())
            if (s.id == id)
                return s;
        return {};
    }

    // The oldest download answered, and what it brought read.
    bool finished(const QByteArray& body, const QString& error = {}) {
        const bool answered = m_downloads.finish(body, error);
        readsDone();
        return answered;
    }

private Q_SLOTS:
    void init() {
        m_path = m_dir.filePath("data.plm");
        QFile::remove(m_path);
        QCOMPARE(programSchema().createTemplate(m_path, D("2026-01-15")), QString());
        m_downloads.requests.clear();
        m_told.clear();
    }

    void addresses_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("fetched");
        QTest::newRow("https") << "https://example.org/a.ics"
                               << "https://example.org/a.ics";
        QTest::newRow("webcal") << " webcal://example.org/a.ics"
                                << "https://example.org/a.ics";
        QTest::newRow("webcal here") << "webcal://127.0.0.1:8080/a.ics"
                                     << "http://127.0.0.1:8080/a.ics";
        QTest::newRow("webcal localhost") << "webcal://localhost:8080/a.ics"
                                          << "http://localhost:8080/a.ics";
        QTest::newRow("http localhost") << "http://localhost:8080/a.ics"
                                        << "http://localhost:8080/a.ics";
        QTest::newRow("http here") << "http://127.0.0.1/a.ics"
                                   << "http://127.0.0.1/a.ics";
        QTest::newRow("plain http") << "http://example.org/a.ics"
                                    << "";
        QTest::newRow("file") << "file:///etc/passwd"
                              << "";
        QTest::newRow("no host") << "webcal:///a.ics"
                                 << "";
        QTest::newRow("words") << "my team calendar"
                               << "";
    }
    void addresses() {
        QFETCH(QString, typed);
        QFETCH(QString, fetched);
        QCOMPARE(SubscriptionRules::fetchUrl(typed).toString(), fetched);
    }

    // A refresh mirrors the calendar: new events added, changed ones updated, dropped ones
    // removed; the user's own events are never touched, even under the same UID.
    void refreshMirrorsTheCalendar() {
        EventRow own = makeEvent("2026-03-12", 1, "mine");
        own.uid = "1@feed";
        QVERIFY(EventStore(m_path).add(own));
        const int id = subscribe();
        StoreSet data(m_path);
        SubscriptionRefresh refresh(data.stores(), m_clock, m_downloads, {});
        QVERIFY(refresh.refreshDue(m_clock.now()));
        QCOMPARE(m_downloads.requests.size(), 1);
        QCOMPARE(m_downloads.requests[0].url.toString(), "https://calendars.example.org/team.ics");
        QVERIFY(!refresh.refreshDue(m_clock.now())); // already being fetched
        QVERIFY(finished(calendar({"standup", "retro"})));
        const QString sub = QString::number(id);
        QCOMPARE(rows(), (QStringList{"mine/0", "standup/" + sub, "retro/" + sub}));
        QCOMPARE(stored(id).lastRefresh, m_clock.now());

        refresh.refresh(stored(id));
        QVERIFY(finished(calendar({"standup (moved)"})));
        QCOMPARE(rows(), (QStringList{"mine/0", "standup (moved)/" + sub}));

        QVERIFY(SubscriptionStore(m_path).remove(id));
        QCOMPARE(rows(), QStringList{"mine/0"});
        QVERIFY(SubscriptionStore(m_path).all().empty());
    }

    // The fetched calendar is read off the event loop: its rows come only once the read
    // handed over, and a refresh gone by then stores nothing and leaves nothing behind.
    void readsAside() {
        const int id = subscribe();
        StoreSet data(m_path);
        auto refresh = std::make_unique<SubscriptionRefresh>(data.stores(), m_clock, m_downloads,
                                                             SubscriptionRefresh::Tell());
        QSignalSpy refreshed(refresh.get(), &SubscriptionRefresh::refreshed);
        refresh->refresh(stored(id));
        QVERIFY(m_downloads.finish(calendar({"standup"})));
        QVERIFY(refreshed.isEmpty());
        QVERIFY(!refresh->refreshDue(m_clock.now())); // still under way
        QVERIFY(rows().isEmpty());
        QVERIFY(refreshed.wait());
        QCOMPARE(rows(), QStringList{"standup/" + QString::number(id)});

        refresh->refresh(stored(id));
        QVERIFY(m_downloads.finish(calendar({"retro"})));
        refresh.reset();
        readsDone();
        QCOMPARE(rows(), QStringList{"standup/" + QString::number(id)});
    }

    // A failed refresh keeps the rows; the user hears of the first failure of a streak only.
    void failuresAreToldOncePerStreak() {
        const int id = subscribe();
        StoreSet data(m_path);
        SubscriptionRefresh refresh(data.stores(), m_clock, m_downloads,
                                    [this](const QString& text) { m_told << text; });
        refresh.refresh(stored(id));
        QVERIFY(finished(calendar({"standup"})));
        const QStringList before = rows();

        refresh.refresh(stored(id));
        QVERIFY(finished({}, "Host not found"));
        refresh.refresh(stored(id));
        QVERIFY(finished("<html>not a calendar</html>"));
        QCOMPARE(rows(), before);
        QCOMPARE(m_told.size(), 1);
        QVERIFY(m_told[0].contains("\"Team\" could not be refreshed, so its events stay as"));
        QVERIFY(m_told[0].contains("Host not found"));
        QCOMPARE(stored(id).failures, 2);

        refresh.refresh(stored(id));
        QVERIFY(finished(calendar({"standup"})));
        QCOMPARE(stored(id).failures, 0);
        refresh.refresh(stored(id));
        QVERIFY(finished({}, "timed out"));
        QCOMPARE(m_told.size(), 2);
    }

    // A calendar without events is not said to keep them.
    void failureWithoutEventsSaysNoneStay() {
        const int id = subscribe();
        StoreSet data(m_path);
        SubscriptionRefresh refresh(data.stores(), m_clock, m_downloads,
                                    [this](const QString& text) { m_told << text; });
        refresh.refresh(stored(id));
        QVERIFY(finished({}, "Connection refused"));
        QCOMPARE(m_told.size(), 1);
        QVERIFY2(m_told[0].startsWith("The calendar \"Team\" could not be refreshed. Plumora"),
                 qPrintable(m_told[0]));
        QVERIFY(!m_told[0].contains("stay as they were"));
    }

    // A new subscription is saved only once its first fetch was read: a failed fetch or a
    // body that is no calendar leaves nothing behind; a good one is saved with its events.
    void newSubscriptionIsTriedFirst() {
        StoreSet data(m_path);
        SubscriptionRefresh refresh(data.stores(), m_clock, m_downloads, {});
        QSignalSpy refreshed(&refresh, &SubscriptionRefresh::refreshed);
        Subscription s;
        s.name = "Team";
        s.url = "webcal://calendars.example.org/team.ics";
        QList<std::pair<int, QString>> tried;
        const auto record = [&](int id, const QString& error) { tried.append({id, error}); };
        refresh.tryNew(s, this, record);
        QVERIFY(SubscriptionStore(m_path).all().empty()); // not before the answer
        QVERIFY(finished({}, "Host calendars.example.org not found"));
        refresh.tryNew(s, this, record);
        QVERIFY(finished("<html>not a calendar</html>"));
        QCOMPARE(tried.size(), 2);
        QCOMPARE(tried[0].first, 0);
        QCOMPARE(tried[0].second, "Host calendars.example.org not found");
        QCOMPARE(tried[1].first, 0);
        QVERIFY(!tried[1].second.isEmpty());
        QVERIFY(SubscriptionStore(m_path).all().empty());
        QVERIFY(rows().isEmpty());

        refresh.tryNew(s, this, record);
        QVERIFY(finished(calendar({"standup"})));
        QCOMPARE(tried.size(), 3);
        const int id = tried[2].first;
        QVERIFY(id > 0 && tried[2].second.isEmpty());
        QCOMPARE(rows(), QStringList{"standup/" + QString::number(id)});
        QCOMPARE(stored(id).lastRefresh, m_clock.now());
        QCOMPARE(refreshed.size(), 1);

        s.url = "ftp://example.org/a.ics";
        refresh.tryNew(s, this, record);
        QCOMPARE(tried.size(), 4);
        QVERIFY(tried[3].second.contains("https://"));
    }

    // The job fetches only what is due, and only when online; daily by default, hourly and
    // weekly as chosen.
    void jobRunsWhenDueAndOnline() {
        Subscription hourly;
        hourly.name = "Hourly";
        hourly.url = "https://example.org/h.ics";
        hourly.everyMinutes = SubscriptionRules::Hourly;
        const int h = SubscriptionStore(m_path).add(hourly);
        const int d = subscribe();
        QCOMPARE(stored(d).everyMinutes, SubscriptionRules::Daily);
        StoreSet data(m_path);
        SubscriptionRefresh refresh(data.stores(), m_clock, m_downloads, {});
        SubscriptionJob job(refresh);
        bool online = false;
        int asked = 0;
        const auto tick = [&] {
            TickCache cache;
            MinuteContext minute(m_clock.now(), {WallMinute{}}, cache, [&] {
                ++asked;
                return online;
            });
            job.run(minute);
        };
        tick();
        QCOMPARE(m_downloads.requests.size(), 0); // offline
        online = true;
        tick();
        QCOMPARE(m_downloads.requests.size(), 2);
        while (finished(calendar({"x"}))) {
        }
        const int askedBefore = asked;
        m_clock.advanceSecs(59 * 60);
        tick();
        QCOMPARE(asked, askedBefore); // nothing due: the network is not even asked
        m_clock.advanceSecs(60);
        tick();
        QCOMPARE(m_downloads.requests.size(), 1);
        QCOMPARE(m_downloads.requests[0].url.host(), "example.org");
        QVERIFY(finished(calendar({"x"})));
        QCOMPARE(stored(h).lastRefresh, m_clock.now());
    }

    // An idle minute opens nothing: the list is read again once the data file changed, or
    // when a write was announced that left the file's stamp as it was.
    void idleMinutesReadTheListOnlyAfterAChange() {
        StoreSet data(m_path);
        SubscriptionRefresh refresh(data.stores(), m_clock, m_downloads, {});
        QVERIFY(!refresh.anyDue(m_clock.now()));
        QCOMPARE(refresh.reads(), 1);
        QVERIFY(!refresh.anyDue(m_clock.now().addSecs(60)));
        QCOMPARE(refresh.reads(), 1);
        // With none to refresh, the minute job rests until the tick is woken by a write.
        SubscriptionJob job(refresh);
        TickCache cache;
        const MinuteContext minute(m_clock.now(), {WallMinute{}}, cache, {});
        QCOMPARE(job.nextNeeded(minute), MinuteJob::untilChanged());

        const int id = subscribe(); // another writer: the file changed
        QVERIFY(refresh.anyDue(m_clock.now()));
        QCOMPARE(refresh.reads(), 2);
        QCOMPARE(job.nextNeeded(minute), QDateTime());

        const qint64 stamp = fileModifiedStamp(m_path);
        QVERIFY(SubscriptionStore(m_path).remove(id));
        setStamp(m_path, stamp);
        QVERIFY(refresh.anyDue(m_clock.now())); // not seen yet
        refresh.forgetKnown();
        QVERIFY(!refresh.anyDue(m_clock.now()));
        QVERIFY(!refresh.refreshDue(m_clock.now()));
        QCOMPARE(m_downloads.requests.size(), 0);
    }

    // Subscribed events are listed read-only and survive the editor's Save; the month view
    // names their calendar in the hover text.
    void readOnlyAndNamed() {
        const int id = subscribe();
        StoreSet data(m_path);
        SubscriptionRefresh refresh(data.stores(), m_clock, m_downloads, {});
        refresh.refresh(stored(id));
        QVERIFY(finished(calendar({"standup"})));
        QVERIFY(EventStore(m_path).add(makeEvent("2026-03-12", 1, "mine")));

        EventStore store(m_path);
        DayEdit edit(D("2026-03-12"), {}, HolidaysIL::raw(1));
        edit.load(store.readDay(D("2026-03-12")));
        int standup = -1;
        for (int r = 0; r < edit.rowCount(); ++r)
            if (edit.row(r).description == "standup")
                standup = r;
        QVERIFY(standup >= 0);
        QVERIFY(!edit.editable(standup));
        QVERIFY(!edit.toggleMark(standup));
        QCOMPARE(edit.rowsToSave().size(), size_t(1));
        QVERIFY(edit.save(store));
        QCOMPARE(rows().size(), 2);

        std::vector<EventRow> taken;
        QVERIFY(store.readMonthDrawn(
            D("2026-03-01"), D("2026-04-11"), 3, EventStore::Pictures::Large,
            [&](const EventRow& r) {
                taken.push_back(r);
                return true;
            },
            [&] {
                std::vector<EventRow*> all;
                for (EventRow& r : taken)
                    all.push_back(&r);
                return all;
            }));
        QStringList labels;
        for (const EventRow& r : taken)
            labels << r.description;
        labels.sort();
        QCOMPARE(labels, (QStringList{"Team: standup", "mine"}));
    }
};

QTEST_GUILESS_MAIN(TestSubscriptions)
#include "tst_subscriptions.moc"
