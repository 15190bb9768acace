// SPDX-License-Identifier: GPL-3.0-or-later
// Calendar sync against a small CalDAV collection on 127.0.0.1: the multistatus reader,
// the first sync both ways, incremental syncs, edits, deletions and conflicts, the server's
// failures (412, 507, 5xx, a refused token, broken XML), redirects, and discovery.
#include "CalendarTestData.h"
#include "FakeCalDavServer.h"
#include "app/ProgramSchema.h"
#include "calendar/EventStore.h"
#include "calendar/caldav/CalDavDiscovery.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/caldav/CalDavSync.h"
#include "calendar/caldav/CalendarSync.h"
#include "calendar/caldav/DavHttp.h"
#include "calendar/caldav/DavXml.h"
#include "calendar/ical/CalendarImport.h"
#include "calendar/ical/IcsImport.h"
#include "data/ChangeHub.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/FakeTickTimer.h"
#include "mock/FuzzSeeds.h"

#include <QFile>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

QByteArray ics(const QByteArray& uid, const QByteArray& date, const QByteArray& summary,
               const QByteArray& extra = {}) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\nBEGIN:VEVENT\r\nUID:" + uid +
           "\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:" + date + "\r\n" + extra +
           "SUMMARY:" + summary + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

// A multistatus in the forms servers write: other prefixes, a failed propstat, a removed
// member, a collection with its properties, a sync token.
QByteArray mixedSample() {
    return "<?xml version='1.0'?><x:multistatus xmlns:x='DAV:' "
           "xmlns:c='urn:ietf:params:xml:ns:caldav'>"
           "<x:response><x:href>/cal/a.ics</x:href><x:propstat><x:prop><x:getetag>\"1\""
           "</x:getetag><c:calendar-data>BEGIN:VCALENDAR&#13;\n</c:calendar-data></x:prop>"
           "<x:status>HTTP/1.1 200 OK</x:status></x:propstat><x:propstat><x:prop>"
           "<x:displayname>lost</x:displayname></x:prop><x:status>HTTP/1.1 404 Not Found"
           "</x:status></x:propstat></x:response>"
           "<x:response><x:href>/cal/b.ics</x:href><x:status>HTTP/1.1 404 Not Found"
           "</x:status></x:response>"
           "<x:response><x:href>/cal/</x:href><x:propstat><x:prop><x:resourcetype>"
           "<x:collection/><c:calendar/></x:resourcetype><c:supported-calendar-component-set>"
           "<c:comp name='VTODO'/></c:supported-calendar-component-set>"
           "<x:current-user-principal><x:href>/p/ann/</x:href></x:current-user-principal>"
           "</x:prop></x:propstat></x:response><x:sync-token>t2</x:sync-token>"
           "</x:multistatus>";
}

QByteArray testData(const QString& name) {
    QFile f(qEnvironmentVariable("PLUMORA_TEST_DATA") + QStringLiteral("/mail/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// TLS on 127.0.0.1 with the test certificate, which no system authority signed.
class UntrustedTls : public QTcpServer {
public:
    UntrustedTls() { listen(QHostAddress::LocalHost); }

protected:
    void incomingConnection(qintptr handle) override {
        auto* s = new QSslSocket(this);
        s->setSocketDescriptor(handle);
        s->setLocalCertificate(QSslCertificate(testData(QStringLiteral("server.pem"))));
        s->setPrivateKey(QSslKey(testData(QStringLiteral("server.key")), QSsl::Ec));
        s->startServerEncryption();
    }
};

} // namespace

// The repeat window job over a data file, run one tick at a time.
struct Roller {
    Roller(const QString& path, FakeClock& fake)
        : data(path), clock(fake), sync(data.stores(), fake, secrets, [](const QString&) {}),
          job(data.stores().get<CalDavStore>(), sync) {}
    void tick() {
        TickCache cache;
        MinuteContext minute(clock.now(), {WallMinute{}}, cache, [] { return true; });
        job.run(minute);
        next = job.nextNeeded(minute);
    }
    StoreSet data;
    FakeClock& clock;
    FakeSecretStore secrets;
    CalendarSync sync;
    RepeatWindowJob job;
    QDateTime next; // when the job asked to run again
};

class TestCalDav : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path;
    FakeClock m_clock{QDateTime(D("2026-03-10"), QTime(8, 30))};
    std::unique_ptr<FakeCalDavServer> m_server;

    SyncOutcome sync(CalDavSync* engine = nullptr) {
        CalDavSync own(CalDavStore(m_path), m_clock);
        CalDavSync& s = engine ? *engine : own;
        QSignalSpy spy(&s, &CalDavSync::finished);
        const std::optional<CalDavAccount> a = CalDavStore(m_path).account();
        s.start(*a, QStringLiteral("secret"));
        if (!spy.wait(10000))
            return {false, QStringLiteral("no end"), 0, 0, 0, {}, false, {}};
        return spy.at(0).at(0).value<SyncOutcome>();
    }
    // The user's events as "date|text", sorted.
    QStringList local() {
        QStringList out;
        DataFile(m_path).forEach("SELECT eDate, Description FROM Events WHERE Holiday = 0", {},
                                 [&](DataFile::Row q) {
                                     out << q.value(0).toString() + u'|' + q.value(1).toString();
                                     return true;
                                 });
        out.sort();
        return out;
    }
    void addLocal(const char* date, const QString& text, const QString& uid) {
        EventRow r = makeEvent(date, EventFrequency::OneTime, text);
        r.uid = uid;
        QVERIFY(EventStore(m_path).add(r));
    }
    void editLocal(const QString& uid, const QString& text) {
        QVERIFY(
            DataFile(m_path).exec("UPDATE Events SET Description = ? WHERE UID = ?", {text, uid}));
    }

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<SyncOutcome>(); }

    void init() {
        m_path = m_dir.filePath("data.plm");
        QFile::remove(m_path);
        QCOMPARE(programSchema().createTemplate(m_path, D("2026-01-15")), QString());
        m_server = std::make_unique<FakeCalDavServer>();
        CalDavAccount a;
        a.server = m_server->http.base();
        a.user = "ann";
        a.calendar = QString::fromUtf8(m_server->calendarUrl());
        QVERIFY(CalDavStore(m_path).saveAccount(a));
    }

    // Prefixes differ between servers; a propstat that is not 2xx does not count; a
    // removed member carries its own status; what is not a multistatus is refused.
    void multistatusReader() {
        const DavMultistatus m = DavXml::parse(mixedSample());
        QVERIFY2(m.ok(), qPrintable(m.error));
        QCOMPARE(m.responses.size(), size_t(3));
        QCOMPARE(m.responses[0].etag, "\"1\"");
        QCOMPARE(m.responses[0].calendarData, QByteArray("BEGIN:VCALENDAR\r\n"));
        QCOMPARE(m.responses[0].displayName, QString());
        QCOMPARE(m.responses[1].status, 404);
        QVERIFY(m.responses[2].isCalendar && !m.responses[2].takesEvents);
        QCOMPARE(m.responses[2].principal, "/p/ann/");
        QCOMPARE(m.syncToken, "t2");

        QVERIFY(!DavXml::parse("<multistatus xmlns='DAV:'><response>").ok());
        QVERIFY(!DavXml::parse("<html/>").ok());
        QVERIFY(!DavXml::parse("").ok());
        QByteArray huge = "<multistatus xmlns='DAV:'>";
        huge += QByteArray(DavXml::MaxBytes, ' ');
        QVERIFY(DavXml::parse(huge).error.contains("50 MB"));
        // A DTD is refused, also one far longer than a prolog may be, as is a long preamble.
        const QByteArray root =
            "<multistatus xmlns='DAV:'><sync-token>t</sync-token></multistatus>";
        const QByteArray entity = "<!ENTITY e '" + QByteArray(1000, 'x') + "'>";
        for (const QByteArray& dtd :
             {QByteArray("<!DOCTYPE multistatus []>"),
              QByteArray("<!DOCTYPE multistatus [" + entity.repeated(100) + "]>")})
            QCOMPARE(DavXml::parse("<?xml version='1.0'?>" + dtd + root).error,
                     "the server's answer is not a multistatus (it holds a DTD)");
        const QByteArray comment = "<!--" + QByteArray(DavXml::PrologMax, ' ') + "-->";
        QCOMPARE(DavXml::parse(comment + root).error,
                 "the server's answer is not a multistatus (no element in its first 64 kB)");
        QCOMPARE(DavXml::parse("<?xml version='1.0'?><!-- a note -->" + root).syncToken, "t");
        QCOMPARE(DavXml::statusCode("HTTP/1.1 507 Insufficient Storage"), 507);
        QCOMPARE(DavXml::statusCode("garbage"), 0);
    }

    // The server's events are read, and their rules expanded, off the event loop: until the
    // read is done nothing is stored and the loop goes on; a sync cancelled meanwhile
    // stores nothing when the read comes back, and the next sync stores everything.
    void serverEventsReadAside() {
        m_server->put("s1.ics", ics("server-1", "20260314", "Concert"));
        m_server->put("s2.ics", ics("server-2", "20260315", "Play"));
        QSemaphore gate;
        const auto holdThePool = [&gate] {
            // Every thread of the pool waits, so the read queues behind them.
            for (int i = 0; i < QThreadPool::globalInstance()->maxThreadCount(); ++i)
                QThreadPool::globalInstance()->start([&gate] { gate.acquire(); });
        };
        const auto release = [&gate] {
            gate.release(QThreadPool::globalInstance()->maxThreadCount());
            QThreadPool::globalInstance()->waitForDone();
        };
        CalDavSync engine(CalDavStore(m_path), m_clock);
        QSignalSpy ended(&engine, &CalDavSync::finished);
        for (const bool cancel : {true, false}) {
            holdThePool();
            engine.start(*CalDavStore(m_path).account(), "secret");
            // The multiget has been answered; its bodies wait for the pool.
            QTRY_VERIFY(std::any_of(m_server->http.requests.cbegin(),
                                    m_server->http.requests.cend(),
                                    [](const auto& r) { return r.body.contains("multiget"); }));
            bool ticked = false;
            QTimer::singleShot(0, [&] { ticked = true; });
            QTRY_VERIFY(ticked);
            QVERIFY(engine.isRunning());
            QCOMPARE(local().size(), 0);
            if (cancel)
                engine.cancel();
            release();
            QTRY_COMPARE(ended.size(), 1);
            const SyncOutcome out = ended.takeFirst().at(0).value<SyncOutcome>();
            QCOMPARE(out.ok, !cancel);
            QCOMPARE(local().size(), cancel ? 0 : 2);
            m_server->http.requests.clear();
        }
    }

    // The first sync matches by UID and copies each one-sided event to the other side;
    // a second with nothing changed is one request and changes nothing.
    void firstSyncThenIncremental() {
        addLocal("2026-03-12", "Dentist", "local-1");
        addLocal("2026-03-13", "Same", "both-1");
        m_server->put("s1.ics", ics("server-1", "20260314", "Concert"));
        m_server->put("b.ics", ics("both-1", "20260313", "Same"));
        const SyncOutcome first = sync();
        QVERIFY2(first.ok, qPrintable(first.status));
        QCOMPARE(first.sent, 1);
        QCOMPARE(first.received, 1);
        QCOMPARE(local(),
                 (QStringList{"2026-03-12|Dentist", "2026-03-13|Same", "2026-03-14|Concert"}));
        QCOMPARE(m_server->summaries(), (QList<QByteArray>{"Concert", "Dentist", "Same"}));
        QCOMPARE(m_server->http.requests.last().header("If-None-Match"), "*");

        CalDavSync engine(CalDavStore(m_path), m_clock);
        const SyncOutcome again = sync(&engine);
        QVERIFY(again.ok);
        QCOMPARE(again.sent + again.received, 0);
        QCOMPARE(engine.requestsSent(), 1);
        QCOMPARE(local().size(), 3);

        // Once a sync found nothing to do, an untouched data file is not read again: an
        // edit hidden behind the old modified time goes unseen, and any write shows it.
        struct stat before {};
        QCOMPARE(::stat(QFile::encodeName(m_path).constData(), &before), 0);
        editLocal("local-1", "Dentist moved");
        const timespec times[2] = {before.st_atim, before.st_mtim};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(m_path).constData(), times, 0), 0);
        QCOMPARE(sync(&engine).sent, 0);
        QCOMPARE(engine.requestsSent(), 1);
        QVERIFY(DataFile(m_path).exec("UPDATE CalDavAccount SET Every = 60"));
        QCOMPARE(sync(&engine).sent, 1);
        QVERIFY(m_server->summaries().contains("Dentist moved"));
        // A change on the server is fetched whatever the file says.
        m_server->put("s2.ics", ics("server-2", "20260315", "Play"));
        QCOMPARE(sync(&engine).received, 1);
        QCOMPARE(local().size(), 4);
    }

    // A local edit goes with If-Match; a local deletion with DELETE and If-Match; the
    // server's edit and deletion reach the calendar.
    void editsAndDeletionsBothWays() {
        addLocal("2026-03-12", "Dentist", "a");
        addLocal("2026-03-15", "Gym", "b");
        QVERIFY(sync().ok);
        editLocal("a", "Dentist 9:00");
        EventStore store(m_path);
        const std::vector<EventRow> gym = store.readDay(D("2026-03-15"));
        QCOMPARE(gym.size(), size_t(1));
        QVERIFY(store.remove(gym[0].rowId));
        const SyncOutcome out = sync();
        QVERIFY(out.ok);
        QCOMPARE(out.sent, 2);
        QCOMPARE(m_server->summaries(), (QList<QByteArray>{"Dentist 9:00"}));
        QCOMPARE(m_server->count("DELETE"), 1);
        for (const auto& r : m_server->http.requests)
            if (r.method == "DELETE" || (r.method == "PUT" && r.body.contains("9:00")))
                QVERIFY(r.header("If-Match").startsWith("\"e"));

        m_server->put("a.ics", ics("a", "20260312", "Dentist moved"));
        QVERIFY(sync().ok);
        QCOMPARE(local(), (QStringList{"2026-03-12|Dentist moved"}));
        m_server->items.clear();
        m_server->token = 1; // a token the server no longer knows: everything compared
        QVERIFY(sync().ok);
        QCOMPARE(local(), QStringList());
    }

    // An event another program wrote goes back whole: renamed here, the phone's alarm and
    // X- properties stay and SEQUENCE rises, again at the next edit; one date of a khal
    // series deleted in the editor is an EXDATE beside the kept RRULE.
    void keptEventsGoBackWhole() {
        const auto fixture = [](const char* name) {
            QFile f(qEnvironmentVariable("PLUMORA_TEST_DATA") + "/ical/kept/" + name);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        m_server->put("choir.ics", fixture("phone_weekly.ics"));
        m_server->put("meds.ics", fixture("khal_daily_count.ics"));
        QVERIFY(sync().ok);
        QCOMPARE(local().size(), 7);
        const QString choir = "7D3C1E2A-4B5F-4E8A-9C1D-PHONE-WEEKLY";
        editLocal(choir, "Choir rehearsal");
        EventStore store(m_path);
        const std::vector<EventRow> day = store.readDay(D("2026-03-13"));
        QCOMPARE(day.size(), size_t(1));
        std::vector<EventRow> keep;
        QVERIFY(store.replaceUserEventsOn(D("2026-03-13"), keep));
        SyncOutcome out = sync();
        QVERIFY(out.ok);
        QCOMPARE(out.sent, 2);
        const QByteArray phone = m_server->items["/cal/choir.ics"].body;
        for (const char* kept : {"BEGIN:VALARM", "X-PHONE-COLOR;X-SOURCE=phone:#FF2968",
                                 "CREATED:20260301T085500Z", "DTEND;VALUE=DATE:20260311",
                                 "SEQUENCE:3", "SUMMARY:Choir rehearsal", "RRULE:FREQ=WEEKLY"})
            QVERIFY2(phone.contains(kept), kept);
        const QByteArray meds = m_server->items["/cal/meds.ics"].body;
        QVERIFY(meds.contains("RRULE:FREQ=DAILY;COUNT=6"));
        QVERIFY(meds.contains("EXDATE;TZID=Europe/Berlin:20260313T080000"));
        QVERIFY(meds.contains("BEGIN:VALARM"));
        QVERIFY(!meds.contains("RDATE"));
        QVERIFY(sync().ok);
        QCOMPARE(local().size(), 6);

        // What was sent is kept: the next edit starts from it.
        editLocal(choir, "Choir, tenors");
        QVERIFY(sync().ok);
        const QByteArray again = m_server->items["/cal/choir.ics"].body;
        QVERIFY(again.contains("SEQUENCE:4") && again.contains("SUMMARY:Choir\\, tenors"));
        QVERIFY(again.contains("BEGIN:VALARM"));
    }

    // Events repeating without end are shown for a window that moves with the clock: ten
    // years on, the server's daily event and a file's twice-weekly one still show dates a
    // year ahead. The moves are not edits: nothing is sent, and a date deleted here stays
    // deleted.
    void endlessSeriesMoveWithTheClock() {
        const auto fixture = [](const char* name) {
            QFile f(qEnvironmentVariable("PLUMORA_TEST_DATA") + "/ical/kept/" + name);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        m_server->put("meds.ics", fixture("khal_daily_endless.ics"));
        QVERIFY(sync().ok);
        const QByteArray sent = m_server->items["/cal/meds.ics"].body;
        const QByteArray yoga = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y//EN\r\n"
                                "BEGIN:VEVENT\r\nUID:yoga@file\r\nDTSTAMP:20260101T000000Z\r\n"
                                "DTSTART;VALUE=DATE:20260302\r\nSUMMARY:Yoga\r\n"
                                "RRULE:FREQ=WEEKLY;BYDAY=MO,WE\r\nX-KEEP:me\r\nEND:VEVENT\r\n"
                                "END:VCALENDAR\r\n";
        EventStore store(m_path);
        const ImportReport report =
            CalendarImport(store, m_clock.now().date(), m_clock.now()).importData(yoga, "yoga.ics");
        QVERIFY2(report.text().contains("1 event repeats without end; its dates are shown up to"),
                 qPrintable(report.text()));
        // One Wednesday deleted in the editor.
        std::vector<EventRow> day = store.readDay(D("2026-03-18"));
        QCOMPARE(day.size(), size_t(2));
        std::erase_if(day, [](const EventRow& r) { return r.description == "Yoga"; });
        QVERIFY(store.replaceUserEventsOn(D("2026-03-18"), day));
        SyncOutcome first = sync(); // the file's event goes to the server as new
        QVERIFY(first.ok);
        QCOMPARE(first.sent, 1);

        Roller roller(m_path, m_clock);
        const auto tick = [&] { roller.tick(); };
        const auto shown = [&](const QDate& d, const QString& text) {
            for (const EventRow& r : EventStore(m_path).readDay(d))
                if (r.description.endsWith(text))
                    return true;
            return false;
        };
        const QDateTime started = m_clock.now();
        const auto back = qScopeGuard([&] { m_clock.set(started); });
        const QDate start = started.date();
        QVERIFY(!shown(start.addYears(3), "Take meds"));
        for (int step = 0; step < 20; ++step) {
            m_clock.advanceSecs(qint64(183) * 86400);
            tick();
            if (step == 10) {
                const SyncOutcome out = sync();
                QVERIFY(out.ok);
                QCOMPARE(out.sent, 0);
            }
        }
        QDate today = m_clock.now().date();
        QVERIFY(today >= start.addYears(10));
        QVERIFY(shown(today.addYears(1), "Take meds"));
        QVERIFY(shown(today.addDays(-30), "Take meds"));
        QVERIFY(!shown(start, "Take meds")); // the window's start moved on too
        const QDate wednesday = today.addDays(7 + 3 - today.dayOfWeek());
        QVERIFY(shown(wednesday, "Yoga") && shown(wednesday.addDays(52 * 7), "Yoga"));
        // The deleted date is an exception of the kept event, which keeps all else.
        const KeptEvent keptYoga = store.keptEvents().value("yoga@file");
        QVERIFY(keptYoga.ics.contains("EXDATE;VALUE=DATE:20260318"));
        QVERIFY(keptYoga.ics.contains("X-KEEP:me") && keptYoga.ics.contains("RRULE"));
        QVERIFY(!keptYoga.ics.contains("RDATE"));
        // A second tick of the same day does nothing, nor do the days after it: the window
        // moves in steps of about a month.
        const QStringList before = local();
        tick();
        QCOMPARE(local(), before);
        m_clock.advanceSecs(qint64(10) * 86400);
        tick();
        QCOMPARE(local(), before);
        m_clock.advanceSecs(qint64(25) * 86400);
        tick();
        QVERIFY(local() != before);
        // Nothing was edited: the sync sends nothing, and the server's event is as it was.
        const SyncOutcome out = sync();
        QVERIFY(out.ok);
        QCOMPARE(out.sent, 0);
        QCOMPARE(m_server->items["/cal/meds.ics"].body, sent);
        today = m_clock.now().date();
        QVERIFY(shown(today.addYears(1), "Take meds"));
    }

    // An event whose rows hold what it cannot take (a repeat set on one date of a series)
    // is left as it is rather than made again without it.
    void endlessSeriesKeepWhatTheyCannotTake() {
        const QByteArray walk = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y//EN\r\n"
                                "BEGIN:VEVENT\r\nUID:walk@file\r\nDTSTAMP:20260101T000000Z\r\n"
                                "DTSTART;VALUE=DATE:20260302\r\nSUMMARY:Walk\r\n"
                                "RRULE:FREQ=DAILY\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
        EventStore store(m_path);
        QVERIFY(CalendarImport(store, m_clock.now().date(), m_clock.now())
                    .importData(walk, "walk.ics")
                    .ok());
        QVERIFY(DataFile(m_path).exec(
            "UPDATE Events SET Frequency = 3 WHERE UID = 'walk@file' AND eDate = '2026-03-20'"));
        const QStringList before = local();
        const QDateTime started = m_clock.now();
        const auto back = qScopeGuard([&] { m_clock.set(started); });
        m_clock.advanceSecs(qint64(400) * 86400); // the window's start past the first date
        Roller roller(m_path, m_clock);
        roller.tick();
        QCOMPARE(local(), before);
        // Done for the day: it rests until midnight.
        QCOMPARE(roller.next, QDateTime(m_clock.now().date().addDays(1), QTime(0, 0)));
        // Set back to a single date, the series moves on.
        QVERIFY(DataFile(m_path).exec("UPDATE Events SET Frequency = 1 WHERE UID = 'walk@file'"));
        m_clock.advanceSecs(86400); // the next day
        roller.tick();
        QVERIFY(local() != before);
        QVERIFY(local().contains(m_clock.now().date().addYears(1).toString(Qt::ISODate) + "|Walk"));
    }

    // Changed on both sides: the server's stays, the local one is kept as a new event
    // that is sent too; a 412 on the PUT is merged the same way.
    void conflictsKeepBoth() {
        addLocal("2026-03-12", "Dentist", "a");
        QVERIFY(sync().ok);
        editLocal("a", "Dentist here");
        m_server->put("a.ics", ics("a", "20260312", "Dentist there"));
        const SyncOutcome out = sync();
        QVERIFY(out.ok);
        QCOMPARE(out.conflicts, 1);
        QCOMPARE(out.conflictTexts, QStringList{"Dentist here (edited on this computer)"});
        QCOMPARE(local(), (QStringList{"2026-03-12|Dentist here (edited on this computer)",
                                       "2026-03-12|Dentist there"}));
        QCOMPARE(m_server->summaries(),
                 (QList<QByteArray>{"Dentist here (edited on this computer)", "Dentist there"}));

        // The server changes between the listing and the PUT.
        editLocal("a", "Mine");
        bool raced = false;
        m_server->intercept =
            [&](const HttpResponder::Request& r) -> std::optional<HttpResponder::Response> {
            if (r.method == "PUT" && r.body.contains("Mine") && !std::exchange(raced, true)) {
                m_server->put("a.ics", ics("a", "20260312", "Theirs"));
                return HttpResponder::Response{412, {}, {}};
            }
            return std::nullopt;
        };
        const SyncOutcome merged = sync();
        QVERIFY2(merged.ok, qPrintable(merged.status));
        QCOMPARE(merged.conflicts, 1);
        QVERIFY(local().contains("2026-03-12|Theirs"));
        QVERIFY(local().contains("2026-03-12|Mine (edited on this computer)"));
        QVERIFY(m_server->summaries().contains("Mine (edited on this computer)"));
    }

    // 507 and 5xx stop with a clear status and leave both sides consistent; the next sync
    // completes the work without duplicates. A refused token means a full comparison.
    void failuresStopAndResume() {
        for (int i = 0; i < 5; ++i)
            addLocal("2026-03-12", QStringLiteral("E%1").arg(i), QStringLiteral("u%1").arg(i));
        int puts = 0;
        m_server->intercept =
            [&](const HttpResponder::Request& r) -> std::optional<HttpResponder::Response> {
            if (r.method == "PUT" && ++puts == 3)
                return HttpResponder::Response{507, {}, {}};
            return std::nullopt;
        };
        const SyncOutcome full = sync();
        QVERIFY(!full.ok);
        QVERIFY2(full.status.contains("507"), qPrintable(full.status));
        m_server->intercept = nullptr;
        QVERIFY(sync().ok);
        QCOMPARE(m_server->items.size(), 5);
        QCOMPARE(local().size(), 5);

        m_server->put("x.ics", ics("x", "20260320", "New"));
        m_server->intercept =
            [](const HttpResponder::Request& r) -> std::optional<HttpResponder::Response> {
            if (r.method == "REPORT" && r.body.contains("multiget"))
                return HttpResponder::Response{503, {}, {}};
            return std::nullopt;
        };
        const SyncOutcome down = sync();
        QVERIFY(!down.ok);
        QVERIFY2(down.status.contains("503"), qPrintable(down.status));
        m_server->intercept = nullptr;
        QVERIFY(sync().ok);
        QCOMPARE(local().size(), 6);

        // A server that forgets its tokens: compared in full, nothing doubled.
        QVERIFY(DataFile(m_path).exec("UPDATE CalDavAccount SET SyncToken = 'tok-999'"));
        QVERIFY(sync().ok);
        QCOMPARE(local().size(), 6);
        QCOMPARE(m_server->items.size(), 6);
        QCOMPARE(CalDavStore(m_path).account()->syncToken,
                 QStringLiteral("tok-%1").arg(m_server->token));
    }

    // Broken answers stop the sync without touching the calendar; an event the importer
    // refuses is left out; one Plumora keeps as single dates is never sent back reduced.
    void hostileAndUnusualEvents() {
        addLocal("2026-03-12", "Mine", "m");
        m_server->intercept =
            [](const HttpResponder::Request& r) -> std::optional<HttpResponder::Response> {
            if (r.method == "PROPFIND")
                return HttpResponder::Response{207, {}, "<D:multistatus xmlns:D='DAV:'><D:resp"};
            return std::nullopt;
        };
        const SyncOutcome broken = sync();
        QVERIFY(!broken.ok);
        QVERIFY(broken.status.contains("XML"));
        QCOMPARE(local(), QStringList{"2026-03-12|Mine"});
        m_server->intercept = nullptr;

        m_server->put("bad.ics", "BEGIN:VCALENDAR\r\nthis is no calendar");
        m_server->put("r.ics", ics("r", "20260302", "Every other day",
                                   "RRULE:FREQ=DAILY;INTERVAL=2;COUNT=3\r\n"));
        const SyncOutcome out = sync();
        QVERIFY(out.ok);
        QVERIFY(out.status.contains("unreadable"));
        QCOMPARE(local(), (QStringList{"2026-03-02|Every other day", "2026-03-04|Every other day",
                                       "2026-03-06|Every other day", "2026-03-12|Mine"}));
        const QByteArray kept = m_server->items["/cal/r.ics"].body;
        QVERIFY(sync().ok);
        QCOMPARE(m_server->items["/cal/r.ics"].body, kept);
        editLocal("r", "Every other day!");
        QVERIFY(sync().ok);
        QVERIFY(m_server->items["/cal/r.ics"].body.contains("Every other day!"));
    }

    // One batch makes at most 50,000 rows: 60 events of 1,000 days keep 50 and leave 10
    // out, unrecorded, for a later full listing.
    void batchRowBudget() {
        std::vector<ServerEvent> events;
        for (int i = 0; i < 60; ++i) {
            const QByteArray uid = "e" + QByteArray::number(i);
            events.push_back({QStringLiteral("/cal/%1.ics").arg(i), "\"1\"",
                              ics(uid, "20260302", uid, "RRULE:FREQ=DAILY;COUNT=1000\r\n")});
        }
        CalDavStore store(m_path);
        ApplyCounts counts;
        QVERIFY(store.apply(events, {}, QStringLiteral("tok"), D("2026-03-01"),
                            QDateTime(D("2026-03-01"), QTime(9, 0)), counts));
        QCOMPARE(counts.received, 50);
        QCOMPARE(counts.skipped, 10);
        DataFile db(m_path);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Events").toInt(), IcsImport::MaxRowsPerBatch);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM CalDavEvents").toInt(), 50);
    }

    // Removals wait for the user's word beyond a quarter of the synced events, from ten on.
    void massRemovalRule() {
        QVERIFY(!CalDavSync::asksFirst(0, 0));
        QVERIFY(!CalDavSync::asksFirst(9, 9));
        QVERIFY(CalDavSync::asksFirst(10, 10));
        QVERIFY(CalDavSync::asksFirst(10, 39));
        QVERIFY(!CalDavSync::asksFirst(10, 40));
        QVERIFY(CalDavSync::asksFirst(305, 305));
        QVERIFY(!CalDavSync::asksFirst(75, 300));
        QVERIFY(CalDavSync::asksFirst(76, 300));
        QCOMPARE(CalDavSync::question({305, 305, Withheld::Answer::None}),
                 "The server no longer lists 305 of your 305 events. Delete them here too, or "
                 "keep them and send them back?");
    }

    // A listing that drops many synced events is not applied: the sync pauses, also for a
    // new engine (a restart), until the user answers. "Keep" sends them back as new;
    // "Delete" deletes them, copied first, and the copy puts them back. Fewer removals
    // than the rule's go through unasked.
    void massRemovalWaitsForTheUser() {
        for (int i = 0; i < 12; ++i)
            addLocal("2026-03-12", QStringLiteral("E%1").arg(i), QStringLiteral("u%1").arg(i));
        QCOMPARE(sync().sent, 12);
        const QStringList all = local();

        // A full listing (the token is unknown to the server) with no events.
        m_server->items.clear();
        m_server->token = 1;
        const SyncOutcome paused = sync();
        QVERIFY(!paused.ok);
        QCOMPARE(paused.status, "Paused: the server no longer lists 12 of your 12 events");
        QCOMPARE(paused.withheld.removals, 12);
        QCOMPARE(local(), all);
        QVERIFY(CalDavStore(m_path).account()->withheld.pending());
        CalDavSync engine(CalDavStore(m_path), m_clock);
        QCOMPARE(sync(&engine).status, paused.status);
        QCOMPARE(engine.requestsSent(), 0);

        QVERIFY(CalDavStore(m_path).answerWithheld(Withheld::Answer::Keep));
        const SyncOutcome kept = sync();
        QVERIFY2(kept.ok, qPrintable(kept.status));
        QCOMPARE(kept.sent, 12);
        QCOMPARE(m_server->items.size(), 12);
        QCOMPARE(local(), all);
        QCOMPARE(CalDavStore(m_path).account()->withheld.removals, 0);

        // Removals named by the sync-collection report.
        m_server->dropAll();
        QVERIFY(!sync().ok);
        QCOMPARE(local(), all);
        QVERIFY(CalDavStore(m_path).answerWithheld(Withheld::Answer::Delete));
        const SyncOutcome deleted = sync();
        QVERIFY2(deleted.ok, qPrintable(deleted.status));
        QCOMPARE(deleted.received, 12);
        QCOMPARE(local(), QStringList());
        QCOMPARE(CalDavStore(m_path).account()->withheld.removals, 0);
        CalDavStore store(m_path);
        QCOMPARE(store.keptCopy().events, 12);
        QCOMPARE(store.keptCopy().at, m_clock.now());
        addLocal("2026-03-20", "E0 again", "u0"); // here again: not doubled
        QCOMPARE(store.restoreKept(m_clock.now()), 11);
        QCOMPARE(store.keptCopy().events, 0);
        QCOMPARE(local().size(), 12);
        QCOMPARE(sync().sent, 12);
        QCOMPARE(m_server->items.size(), 12);

        // Three of twelve is no more than a quarter: applied at once.
        for (const QByteArray& path : m_server->items.keys().mid(0, 3)) {
            m_server->items.remove(path);
            m_server->token = 1;
        }
        const SyncOutcome few = sync();
        QVERIFY2(few.ok, qPrintable(few.status));
        QCOMPARE(local().size(), 9);
    }

    // "Delete" covers as many removals as the question named: more are asked about anew.
    void agreedRemovalsAreNoMore() {
        for (int i = 0; i < 12; ++i)
            addLocal("2026-03-12", QStringLiteral("E%1").arg(i), QStringLiteral("u%1").arg(i));
        QVERIFY(sync().ok);
        const QList<QByteArray> paths = m_server->items.keys();
        for (const QByteArray& path : paths.mid(0, 10))
            m_server->items.remove(path);
        m_server->token = 1;
        QCOMPARE(sync().withheld.removals, 10);
        QVERIFY(CalDavStore(m_path).answerWithheld(Withheld::Answer::Delete));
        m_server->items.clear();
        const SyncOutcome more = sync();
        QCOMPARE(more.status, "Paused: the server no longer lists 12 of your 12 events");
        QCOMPARE(local().size(), 12);
        QVERIFY(CalDavStore(m_path).account()->withheld.pending());
    }

    // What is not a listing of the calendar fails the sync and deletes nothing: a DTD with
    // or without a root, HTML, an error page, a listing that does not name the calendar.
    void brokenListingsAreFailures() {
        for (int i = 0; i < 12; ++i)
            addLocal("2026-03-12", QStringLiteral("E%1").arg(i), QStringLiteral("u%1").arg(i));
        QVERIFY(sync().ok);
        const QStringList all = local();
        const QByteArray dtd = "<?xml version='1.0'?><!DOCTYPE D:multistatus [<!ELEMENT "
                               "D:multistatus ANY>" +
                               QByteArray(100000, ' ') + "]>";
        const QList<HttpResponder::Response> answers = {
            {207, {}, dtd},
            {207, {}, dtd + "<D:multistatus xmlns:D='DAV:'/>"},
            {207, {{"Content-Type", "text/html"}}, "<html><body>Storage failed</body></html>"},
            {200, {{"Content-Type", "text/html"}}, "<!DOCTYPE html><html><body></body></html>"},
            {500, {}, "Internal Server Error"},
            {207, {}, "<D:multistatus xmlns:D='DAV:'/>"},
        };
        // With a token the sync-collection report is asked (a refused one falls back to the
        // listing); without, the listing.
        for (const QByteArray& method : {QByteArray("REPORT"), QByteArray("PROPFIND")}) {
            if (method == "PROPFIND")
                QVERIFY(CalDavStore(m_path).forgetToken());
            for (const HttpResponder::Response& answer :
                 method == "REPORT" ? answers.mid(0, 3) : answers) {
                m_server->intercept =
                    [&](const HttpResponder::Request& r) -> std::optional<HttpResponder::Response> {
                    if (r.method == method && !r.body.contains("multiget"))
                        return answer;
                    return std::nullopt;
                };
                const SyncOutcome out = sync();
                QVERIFY2(!out.ok && out.status.startsWith("Stopped: "),
                         qPrintable(method + ' ' + answer.body.right(60) + ": " + out.status));
                QCOMPARE(local(), all);
                QCOMPARE(CalDavStore(m_path).account()->withheld.removals, 0);
            }
        }
        m_server->intercept = nullptr;
        QVERIFY(sync().ok);
        QCOMPARE(local(), all);
    }

    // The background sync that pauses tells the question; no sync starts until the user
    // answers, also after a restart, whose start-up asks again; the answer starts the sync
    // that carries it out.
    void pausedSyncAsksTheUser() {
        for (int i = 0; i < 10; ++i)
            addLocal("2026-03-12", QStringLiteral("E%1").arg(i), QStringLiteral("u%1").arg(i));
        FakeSecretStore secrets;
        secrets.secrets.insert("caldav", "secret");
        QStringList told;
        StoreSet data(m_path);
        {
            CalendarSync sync(data.stores(), m_clock, secrets,
                              [&](const QString& t) { told << t; });
            QSignalSpy ended(&sync, &CalendarSync::finished);
            QVERIFY(sync.syncNow() && ended.wait(10000));
            m_server->dropAll();
            QVERIFY(sync.syncNow() && ended.wait(10000));
            QCOMPARE(told.size(), 1);
            QVERIFY2(told[0].startsWith(CalDavSync::question({10, 10, {}}) + '\n') &&
                         told[0].contains("Options"),
                     qPrintable(told[0]));
            QVERIFY(!sync.syncNow());
        }
        CalendarSync restarted(data.stores(), m_clock, secrets,
                               [&](const QString& t) { told << t; });
        QSignalSpy ended(&restarted, &CalendarSync::finished);
        QVERIFY(!restarted.syncNow());
        restarted.startupDelayPassed(); // asks again, syncs not
        QCOMPARE(told.size(), 2);
        QCOMPARE(told[1], told[0]);
        QVERIFY(!restarted.isRunning());
        QVERIFY(restarted.answer(Withheld::Answer::Keep));
        QVERIFY(restarted.isRunning());
        QVERIFY(ended.wait(10000));
        QVERIFY(ended.last().at(0).value<SyncOutcome>().ok);
        QCOMPARE(m_server->items.size(), 10);
        QCOMPARE(local().size(), 10);
        QCOMPARE(told.size(), 2);
    }

    // https is required except on this machine; redirects are followed at most ten times,
    // and the credentials never go to another host.
    void addressesAndRedirects() {
        QVERIFY(!DavHttp::refusal(QUrl("http://example.org/dav")).isEmpty());
        QVERIFY(DavHttp::refusal(QUrl("https://example.org/dav")).isEmpty());
        QVERIFY(DavHttp::refusal(QUrl("http://localhost:8080/")).isEmpty());
        QCOMPARE(DavHttp::fromTyped(" dav.example.org").toString(), "https://dav.example.org/");

        DavHttp http;
        http.setCredentials(QUrl(QString::fromUtf8(m_server->http.base())), "ann", "secret");
        const auto get = [&](const QByteArray& path) {
            DavReply out;
            bool done = false;
            http.send("GET", QUrl(QString::fromUtf8(m_server->http.base() + path)), {}, {},
                      [&](const DavReply& r) {
                          out = r;
                          done = true;
                      });
            if (!QTest::qWaitFor([&] { return done; }, 10000))
                qWarning("no answer within 10 s");
            return out;
        };
        m_server->intercept =
            [this](const HttpResponder::Request& r) -> std::optional<HttpResponder::Response> {
            if (r.path.startsWith("/loop"))
                return HttpResponder::Response{
                    302, {{"Location", "/loop" + r.path.mid(5) + "x"}}, {}};
            if (r.path == "/away")
                return HttpResponder::Response{
                    307,
                    {{"Location",
                      "http://localhost:" + QByteArray::number(m_server->http.port()) + "/there"}},
                    {}};
            return HttpResponder::Response{200, {}, "here"};
        };
        const DavReply loop = get("/loop");
        QVERIFY(loop.error.contains("more than 10"));
        QCOMPARE(m_server->http.requests.size(), 11);
        const DavReply away = get("/away");
        QVERIFY(away.ok());
        QCOMPARE(away.body, "here");
        QVERIFY(!m_server->http.requests[m_server->http.requests.size() - 2]
                     .header("Authorization")
                     .isEmpty());
        QVERIFY(m_server->http.requests.last().header("Authorization").isEmpty());
    }

    // Credentials go to the same scheme, host and port only, through redirects too; a
    // server's href counts only inside the calendar once dots are resolved.
    void originsAndHrefs() {
        const QUrl cal("https://dav.example.org/ann/cal/");
        QVERIFY(DavHttp::sameOrigin(cal, QUrl("HTTPS://DAV.example.org:443/x")));
        QVERIFY(!DavHttp::sameOrigin(cal, QUrl("https://dav.example.org:8443/ann/cal/")));
        QVERIFY(!DavHttp::sameOrigin(cal, QUrl("http://dav.example.org/ann/cal/")));
        QVERIFY(!DavHttp::sameOrigin(cal, QUrl("https://other.example.org/ann/cal/")));
        QVERIFY(DavHttp::sameOrigin(QUrl("http://127.0.0.1/"), QUrl("http://127.0.0.1:80/")));

        QCOMPARE(CalDavSync::memberPath(cal, "/ann/cal/a%20b.ics"), "/ann/cal/a b.ics");
        QCOMPARE(CalDavSync::memberPath(cal, "c.ics"), "/ann/cal/c.ics");
        QCOMPARE(CalDavSync::memberPath(cal, "/ann/cal/./d/../e.ics"), "/ann/cal/e.ics");
        QCOMPARE(CalDavSync::memberPath(cal, "https://dav.example.org/ann/cal/"), "/ann/cal/");
        QString why;
        for (const char* outside :
             {"/ann/cal/../elsewhere/ev1.ics", "/ann/cal/%2e%2e/x.ics", "/ann/cal/a%2f..%2f..%2fx",
              "/ann/calendar2/x.ics", "/ann/", "../x.ics", "https://dav.example.org:444/ann/cal/x",
              "http://dav.example.org/ann/cal/x", "//evil.example.org/ann/cal/x"}) {
            why.clear();
            QVERIFY2(CalDavSync::memberPath(cal, QString::fromLatin1(outside), &why).isEmpty(),
                     outside);
            QVERIFY(!why.isEmpty());
        }

        HttpResponder other;
        other.handler = [](const HttpResponder::Request&) {
            return HttpResponder::Response{200, {}, "there"};
        };
        m_server->intercept =
            [&](const HttpResponder::Request&) -> std::optional<HttpResponder::Response> {
            return HttpResponder::Response{307, {{"Location", other.base() + "/x"}}, {}};
        };
        DavHttp http;
        http.setCredentials(QUrl(QString::fromUtf8(m_server->http.base())), "ann", "secret");
        bool done = false;
        http.send("GET", QUrl(QString::fromUtf8(m_server->http.base() + "/y")), {}, {},
                  [&](const DavReply& r) {
                      QCOMPARE(r.body, "there");
                      done = true;
                  });
        QTRY_VERIFY(done);
        QVERIFY(!m_server->http.requests.last().header("Authorization").isEmpty());
        QCOMPARE(other.requests.size(), 1);
        QVERIFY(other.requests[0].header("Authorization").isEmpty());
    }

    // A server that always has more: the sync ends after its most pages, the token kept
    // at the last page that brought a change. A sync that outlives its deadline, or is
    // cancelled, ends at once with a status and lets the next one start.
    void boundedSyncs() {
        QVERIFY(sync().ok);
        int page = 0;
        m_server->intercept =
            [&](const HttpResponder::Request& r) -> std::optional<HttpResponder::Response> {
            if (r.method != "REPORT" || !r.body.contains("sync-collection"))
                return std::nullopt;
            ++page;
            m_server->put("a.ics", ics("a", "20260312", "Page " + QByteArray::number(page)));
            return HttpResponder::Response{
                207,
                {},
                "<D:multistatus xmlns:D='DAV:'><D:response><D:href>/cal/a.ics</D:href>"
                "<D:propstat><D:prop><D:getetag>" +
                    m_server->items["/cal/a.ics"].etag +
                    "</D:getetag></D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat>"
                    "</D:response><D:response><D:href>/cal/</D:href><D:status>HTTP/1.1 507 "
                    "Insufficient Storage</D:status></D:response><D:sync-token>p" +
                    QByteArray::number(page) + "</D:sync-token></D:multistatus>"};
        };
        CalDavSync fewPages(CalDavStore(m_path), m_clock);
        fewPages.setMaxPages(5);
        const SyncOutcome endless = sync(&fewPages);
        QVERIFY(!endless.ok);
        QVERIFY2(endless.status.contains("after 5 pages"), qPrintable(endless.status));
        QCOMPARE(page, 5);
        QCOMPARE(CalDavStore(m_path).account()->syncToken, "p5");
        m_server->intercept = nullptr;

        // A server that accepts and never answers.
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        CalDavAccount a = *CalDavStore(m_path).account();
        a.calendar = QStringLiteral("http://127.0.0.1:%1/cal/").arg(silent.serverPort());
        QVERIFY(CalDavStore(m_path).saveAccount(a));
        CalDavSync engine(CalDavStore(m_path), m_clock);
        FakeTickTimer deadline(m_clock);
        deadline.onTimeout = [&] { engine.deadlinePassed(); };
        engine.setDeadlineTimer(&deadline);
        QSignalSpy ended(&engine, &CalDavSync::finished);
        for (const bool cancel : {false, true}) {
            engine.start(a, "secret");
            QTRY_VERIFY(silent.hasPendingConnections());
            silent.nextPendingConnection();
            QVERIFY(engine.isRunning());
            if (cancel)
                engine.cancel();
            else
                deadline.runUntil(m_clock.monotonicMs() + CalDavSync::DeadlineMs);
            QCOMPARE(ended.size(), 1);
            const SyncOutcome out = ended.takeFirst().at(0).value<SyncOutcome>();
            QVERIFY(!out.ok);
            QCOMPARE(out.status, cancel ? "Stopped: the sync was cancelled"
                                        : "Stopped: the sync did not end within 15 minutes");
            QVERIFY(!engine.isRunning());
            QVERIFY(!deadline.active);
        }
        QTest::qWait(50); // nothing more comes from the dropped requests
        QCOMPARE(ended.size(), 0);
    }

    // Discovery: /.well-known/caldav, the principal, its home, the calendars for events;
    // and MKCALENDAR of "Plumora".
    void discovery() {
        m_server->intercept =
            [this](const HttpResponder::Request& r) -> std::optional<HttpResponder::Response> {
            const auto ms = [](const QByteArray& inner) {
                return HttpResponder::Response{
                    207,
                    {},
                    "<D:multistatus xmlns:D='DAV:' xmlns:C='urn:ietf:params:xml:ns:caldav'>" +
                        inner + "</D:multistatus>"};
            };
            if (r.path == "/.well-known/caldav")
                return HttpResponder::Response{301, {{"Location", "/dav/"}}, {}};
            if (r.path == "/dav/")
                return ms("<D:response><D:href>/dav/</D:href><D:propstat><D:prop>"
                          "<D:current-user-principal><D:href>/dav/ann/</D:href>"
                          "</D:current-user-principal></D:prop></D:propstat></D:response>");
            if (r.path == "/dav/ann/" && r.header("Depth") == "0")
                return ms("<D:response><D:href>/dav/ann/</D:href><D:propstat><D:prop>"
                          "<C:calendar-home-set><D:href>/dav/ann/</D:href></C:calendar-home-set>"
                          "</D:prop></D:propstat></D:response>");
            if (r.path == "/dav/ann/")
                return ms(
                    "<D:response><D:href>/dav/ann/</D:href><D:propstat><D:prop><D:resourcetype>"
                    "<D:collection/></D:resourcetype></D:prop></D:propstat></D:response>"
                    "<D:response><D:href>/dav/ann/office/</D:href><D:propstat><D:prop>"
                    "<D:resourcetype><D:collection/><C:calendar/></D:resourcetype>"
                    "<D:displayname>Work</D:displayname></D:prop></D:propstat></D:response>"
                    "<D:response><D:href>/dav/ann/tasks/</D:href><D:propstat><D:prop>"
                    "<D:resourcetype><D:collection/><C:calendar/></D:resourcetype>"
                    "<C:supported-calendar-component-set><C:comp name='VTODO'/>"
                    "</C:supported-calendar-component-set></D:prop></D:propstat></D:response>");
            if (r.method == "MKCALENDAR" && r.path == "/dav/ann/plumora/")
                return HttpResponder::Response{201, {}, {}};
            return HttpResponder::Response{404, {}, {}};
        };
        CalDavDiscovery d;
        QSignalSpy found(&d, &CalDavDiscovery::found);
        d.discover(QString::fromUtf8(m_server->http.base()), "ann", "secret");
        QVERIFY(found.wait(10000));
        QCOMPARE(found.at(0).at(1).toString(), QString());
        const auto calendars = found.at(0).at(0).value<std::vector<DiscoveredCalendar>>();
        QCOMPARE(calendars.size(), size_t(1));
        QCOMPARE(calendars[0].name, "Work");
        QCOMPARE(calendars[0].url, QString::fromUtf8(m_server->http.base() + "/dav/ann/office/"));
        QSignalSpy made(&d, &CalDavDiscovery::made);
        d.makeCalendar();
        QVERIFY(made.wait(10000));
        QCOMPARE(made.at(0).at(1).toString(), QString());
        QVERIFY(m_server->http.requests.last().body.contains("Plumora"));

        CalDavDiscovery plain;
        QSignalSpy refused(&plain, &CalDavDiscovery::found);
        plain.discover("http://example.org/", "ann", "secret");
        QVERIFY(refused.wait(1000));
        QVERIFY(refused.at(0).at(1).toString().contains("https"));
    }

    // The minute job: a sync as often as the account says,
    // only online, one at a time; with "manual" never, not even after the editor closed on a
    // change.
    // Conflicts are told once per sync, the result kept for the status line.
    // Without an account the minute job rests until a write wakes the tick; with one it is
    // asked every minute, as an edit may ask for a sync at any time.
    void minuteJobRestsWithoutAccount() {
        StoreSet data(m_path);
        FakeSecretStore secrets;
        CalendarSync sync(data.stores(), m_clock, secrets, [](const QString&) {});
        CalendarSyncJob job(sync);
        TickCache cache;
        MinuteContext minute(m_clock.now(), {WallMinute{}}, cache, [] { return false; });
        job.run(minute);
        QCOMPARE(job.nextNeeded(minute), QDateTime());
        QVERIFY(DataFile(m_path).exec("DELETE FROM CalDavAccount"));
        job.run(minute);
        QCOMPARE(job.nextNeeded(minute), MinuteJob::untilChanged());
        // An account that could not be read is read again the next minute.
        QVERIFY(DataFile(m_path).exec("ALTER TABLE CalDavAccount RENAME TO Elsewhere"));
        job.run(minute);
        QCOMPARE(job.nextNeeded(minute), QDateTime());
    }

    void minuteJob() {
        StoreSet data(m_path);
        FakeSecretStore secrets;
        secrets.secrets.insert("caldav", "secret");
        QStringList told;
        CalendarSync sync(data.stores(), m_clock, secrets, [&](const QString& t) { told << t; });
        CalendarSyncJob job(sync);
        QVERIFY(CalDavStore(m_path).recordResult(m_clock.now(), "old", 0, 0, true));
        bool online = true;
        QSignalSpy ended(&sync, &CalendarSync::finished);
        const auto tick = [&] {
            TickCache cache;
            MinuteContext minute(m_clock.now(), {WallMinute{}}, cache, [&] { return online; });
            job.run(minute);
            if (!sync.isRunning())
                return false;
            return ended.wait(10000);
        };
        QVERIFY(!tick());
        QVERIFY(sync.syncNow());
        QVERIFY(ended.wait(10000));
        QCOMPARE(CalDavStore(m_path).account()->lastResult, "0 events sent, 0 received");
        QVERIFY(!tick());
        m_clock.advanceSecs(15 * 60);
        online = false;
        QVERIFY(!tick());
        online = true;
        addLocal("2026-03-12", "Dentist", "a");
        QVERIFY(tick());
        QCOMPARE(m_server->items.size(), 1);

        CalDavAccount manual = *CalDavStore(m_path).account();
        manual.everyMinutes = 0;
        QVERIFY(CalDavStore(m_path).saveAccount(manual));
        m_clock.advanceSecs(120 * 60);
        QVERIFY(!tick());
        sync.editorClosed(); // nothing was edited
        QVERIFY(!tick());
        editLocal("a", "Dentist here");
        m_server->put("a.ics", ics("a", "20260312", "Dentist there"));
        QTest::qWait(0); // the hub's announcement
        sync.editorClosed();
        QVERIFY(!tick()); // by hand only: an edit waits for the click too
        QVERIFY(told.isEmpty());
        QVERIFY(sync.syncNow(CalendarSync::Origin::User));
        QVERIFY(ended.wait(10000));
        QCOMPARE(told.size(), 1);
        QVERIFY(told[0].contains("Dentist here (edited on this computer)"));
        QVERIFY(!sync.syncNow() || ended.wait(10000));
        QCOMPARE(told.size(), 1);

        secrets.secrets.clear();
        QVERIFY(sync.syncNow());
        QVERIFY(ended.wait(10000));
        QVERIFY(CalDavStore(m_path).account()->lastResult.contains("no password"));
    }

    // The sync after start-up comes on the timer, seconds after start-up's work and not a
    // minute later; it happens once, even when a minute tick that finds the sync due comes
    // first (never synced: the tick leaves it to the timer), waits for the first online tick
    // when offline, and is skipped when a sync runs already or no account is set.
    void startupSync() {
        FakeSecretStore secrets;
        secrets.secrets.insert("caldav", "secret");
        StoreSet data(m_path);
        CalendarSync sync(data.stores(), m_clock, secrets, {});
        FakeTickTimer timer(m_clock);
        timer.onTimeout = [&] { sync.startupDelayPassed(); };
        sync.setStartupTimer(&timer);
        CalendarSyncJob job(sync);
        bool online = true;
        const auto tick = [&] {
            TickCache cache;
            MinuteContext minute(m_clock.now(), {WallMinute{}}, cache, [&] { return online; });
            job.run(minute);
        };
        CalendarSyncStartup startup(sync, [&] { return online; });
        QSignalSpy ended(&sync, &CalendarSync::finished);
        const qint64 t0 = m_clock.monotonicMs();
        startup.run();
        timer.runUntil(t0 + CalendarSync::StartupDelaySecs * 1000 - 1);
        tick();
        QVERIFY(!sync.isRunning());
        timer.runUntil(t0 + CalendarSync::StartupDelaySecs * 1000);
        QVERIFY(sync.isRunning());
        QVERIFY(ended.wait(10000));
        QVERIFY(ended.at(0).at(0).value<SyncOutcome>().ok);
        tick();
        timer.runUntil(t0 + 600 * 1000);
        QVERIFY(!sync.isRunning());
        QCOMPARE(ended.size(), 1);

        online = false;
        startup.run();
        timer.runUntil(m_clock.monotonicMs() + 60 * 1000);
        tick();
        QVERIFY(!sync.isRunning());
        online = true;
        tick();
        QVERIFY(sync.isRunning());
        QVERIFY(ended.wait(10000));
        tick();
        QVERIFY(!sync.isRunning());

        // A sync under way is not doubled.
        startup.run();
        QVERIFY(sync.syncNow());
        timer.runUntil(m_clock.monotonicMs() + 60 * 1000);
        QVERIFY(ended.wait(10000));
        QTest::qWait(0);
        QCOMPARE(ended.size(), 3);

        // Synced by hand only: start-up syncs nothing.
        QVERIFY(DataFile(m_path).exec("UPDATE CalDavAccount SET Every = 0"));
        startup.run();
        timer.runUntil(m_clock.monotonicMs() + 60 * 1000);
        tick();
        QVERIFY(!sync.isRunning());
        QCOMPARE(ended.size(), 3);

        QVERIFY(DataFile(m_path).exec("UPDATE CalDavAccount SET Calendar = ''"));
        startup.run();
        timer.runUntil(m_clock.monotonicMs() + 60 * 1000);
        QVERIFY(!sync.isRunning());
        QVERIFY(!timer.active);
    }

    // A background sync stopped by what the user must mend (a refused password or
    // certificate) says so in one notice until a sync works again; a sync the user
    // started says it in the status line only; other failures are not told.
    void failuresTheUserMustMend() {
        FakeSecretStore secrets;
        secrets.secrets.insert("caldav", "secret");
        QStringList told;
        StoreSet data(m_path);
        CalendarSync sync(data.stores(), m_clock, secrets, [&](const QString& t) { told << t; });
        QSignalSpy ended(&sync, &CalendarSync::finished);
        const auto run = [&](CalendarSync::Origin origin) {
            sync.forgetAccount();
            return sync.syncNow(origin) && ended.wait(10000);
        };
        int status = 401;
        m_server->intercept =
            [&](const HttpResponder::Request&) -> std::optional<HttpResponder::Response> {
            return HttpResponder::Response{status, {}, {}};
        };
        QVERIFY(run(CalendarSync::Origin::Background));
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].contains("refused the user name or password") &&
                     told[0].contains("Options"),
                 qPrintable(told[0]));
        QVERIFY(run(CalendarSync::Origin::Background));
        QVERIFY(run(CalendarSync::Origin::User));
        QCOMPARE(told.size(), 1);
        status = 503;
        QVERIFY(run(CalendarSync::Origin::Background));
        QCOMPARE(told.size(), 1);
        m_server->intercept = nullptr;
        QVERIFY(run(CalendarSync::Origin::Background));
        QVERIFY(ended.last().at(0).value<SyncOutcome>().ok);

        UntrustedTls tls;
        CalDavAccount a = *CalDavStore(m_path).account();
        a.server = a.calendar = QStringLiteral("https://127.0.0.1:%1/cal/").arg(tls.serverPort());
        QVERIFY(CalDavStore(m_path).saveAccount(a));
        QVERIFY(run(CalendarSync::Origin::Background));
        QCOMPARE(told.size(), 2);
        QVERIFY2(told[1].contains("certificate"), qPrintable(told[1]));
        QVERIFY(!ended.last().at(0).value<SyncOutcome>().ok);

        secrets.secrets.clear();
        QVERIFY(run(CalendarSync::Origin::Background));
        QCOMPARE(told.size(), 3);
        QVERIFY2(told[2].contains("no password"), qPrintable(told[2]));
    }

    // A password kept in the data file (no keyring when it was typed) is what the sync
    // sends, without asking the keyring. At start-up it moves to the keyring once one
    // answers: the column is blanked only after the keyring confirms, and only if it
    // still holds the password written there.
    void passwordInTheDataFile() {
        FakeSecretStore secrets;
        secrets.available = false;
        QVERIFY(CalDavStore(m_path).savePassword("filed"));
        QByteArrayList sent;
        m_server->intercept =
            [&](const HttpResponder::Request& r) -> std::optional<HttpResponder::Response> {
            if (r.header("Authorization").isEmpty())
                return HttpResponder::Response{
                    401, {{"WWW-Authenticate", "Basic realm=\"cal\""}}, {}};
            sent << r.header("Authorization");
            return std::nullopt;
        };
        const auto basic = [](const char* password) -> QByteArray {
            return "Basic " + QByteArray(QByteArray("ann:") + password).toBase64();
        };
        const auto filed = [&] { return CalDavStore(m_path).account()->password; };
        StoreSet data(m_path);
        CalendarSync sync(data.stores(), m_clock, secrets, {});
        FakeTickTimer timer(m_clock);
        sync.setStartupTimer(&timer);
        QSignalSpy ended(&sync, &CalendarSync::finished);
        QSignalSpy moved(&sync.keyringMove(), &KeyringMove::ended);
        QVERIFY(sync.syncNow());
        QVERIFY(ended.wait(10000));
        QVERIFY(ended.at(0).at(0).value<SyncOutcome>().ok);
        QVERIFY(!sent.isEmpty());
        QCOMPARE(sent.last(), basic("filed"));
        QCOMPARE(secrets.reads, 0);

        CalendarSyncStartup startup(sync, [] { return true; });
        startup.run();
        QTRY_COMPARE(moved.size(), 1);
        QCOMPARE(moved.at(0).at(0).toBool(), false);
        QCOMPARE(filed(), "filed");

        secrets.available = true;
        startup.run();
        QCOMPARE(filed(), "filed"); // not before the keyring's answer
        QTRY_COMPARE(moved.size(), 2);
        QCOMPARE(moved.at(1).at(0).toBool(), true);
        QCOMPARE(secrets.secrets.value("caldav"), "filed");
        QCOMPARE(filed(), QString());
        sent.clear();
        QVERIFY(sync.syncNow());
        QVERIFY(ended.wait(10000));
        QCOMPARE(secrets.reads, 1);
        QCOMPARE(sent.last(), basic("filed"));

        // Typed anew while the keyring wrote the old one: the new one stays, and is used,
        // until the next move.
        QVERIFY(CalDavStore(m_path).savePassword("old"));
        sync.moveToKeyring();
        sync.moveToKeyring(); // one write in flight at a time
        QVERIFY(CalDavStore(m_path).savePassword("new"));
        QTRY_COMPARE(moved.size(), 3);
        QCOMPARE(moved.at(2).at(0).toBool(), false);
        QCOMPARE(filed(), "new");
        QCOMPARE(secrets.writes, 3);
        sent.clear();
        QVERIFY(sync.syncNow());
        QVERIFY(ended.wait(10000));
        QCOMPARE(sent.last(), basic("new"));
        sync.moveToKeyring();
        QTRY_COMPARE(moved.size(), 4);
        QCOMPARE(secrets.secrets.value("caldav"), "new");
        QCOMPARE(filed(), QString());
    }

    // A keyring that never answers the password read: the sync gives up once the wait has
    // passed on the clock (or the user cancels), says why, lets the next sync start, and
    // drops the late answer.
    void keyringSilent() {
        FakeSecretStore secrets;
        secrets.secrets.insert("caldav", "secret");
        secrets.silent = true;
        StoreSet data(m_path);
        CalendarSync sync(data.stores(), m_clock, secrets, {});
        CalendarSyncJob job(sync);
        QSignalSpy ended(&sync, &CalendarSync::finished);
        const auto tick = [&] {
            TickCache cache;
            MinuteContext minute(m_clock.now(), {WallMinute{}}, cache, [] { return true; });
            job.run(minute);
        };
        QVERIFY(sync.syncNow());
        QTest::qWait(0);
        tick();
        QVERIFY(sync.isRunning());
        QVERIFY(!sync.syncNow());
        m_clock.advanceSecs(CalendarSync::KeyringWaitSecs - 1);
        tick();
        QVERIFY(sync.isRunning());
        QCOMPARE(ended.size(), 0);

        m_clock.advanceSecs(1);
        tick();
        QCOMPARE(ended.size(), 1);
        QVERIFY(!ended.at(0).at(0).value<SyncOutcome>().ok);
        QVERIFY(ended.at(0).at(0).value<SyncOutcome>().status.contains("did not answer"));
        QVERIFY(CalDavStore(m_path).account()->lastResult.contains("did not answer"));
        QVERIFY(!sync.isRunning());
        QVERIFY(sync.syncNow());
        QCOMPARE(secrets.reads, 2);

        // The keyring wakes: the abandoned read's answer is dropped, the current one syncs.
        m_server->put("a.ics", ics("a", "20260312", "Dentist"));
        secrets.silent = false;
        secrets.answerHeld();
        QVERIFY(ended.wait(10000));
        QCOMPARE(ended.size(), 2);
        QVERIFY(ended.at(1).at(0).value<SyncOutcome>().ok);
        QCOMPARE(local(), QStringList{"2026-03-12|Dentist"});
        QTest::qWait(0);
        QCOMPARE(ended.size(), 2);
        QVERIFY(!sync.isRunning());

        // The user cancels while the keyring is silent: the sync ends at once.
        secrets.silent = true;
        QVERIFY(sync.syncNow());
        sync.cancel();
        QCOMPARE(ended.size(), 3);
        QCOMPARE(ended.at(2).at(0).value<SyncOutcome>().status, "Stopped: the sync was cancelled");
        QVERIFY(!sync.isRunning());
    }

    // With PLUMORA_FUZZ_SEEDS set, leaves the server's answers there as the fuzz corpus.
    void writeSeedCorpus() {
        m_server->put("a.ics", ics("a", "20260312", "A & <b>"));
        m_server->put("b.ics", ics("b", "20260313", "B"));
        const auto ask = [this](const QByteArray& method, const QByteArray& body) {
            HttpResponder::Request r;
            r.method = method;
            r.path = "/cal/";
            r.body = body;
            return m_server->http.handler(r).body;
        };
        PLUMORA_WRITE_FUZZ_SEEDS(
            {{"mixed.xml", mixedSample()},
             {"listing.xml", ask("PROPFIND", DavXml::listQuery())},
             {"changes.xml", ask("REPORT", DavXml::syncCollection("tok-1"))},
             {"bodies.xml", ask("REPORT", DavXml::multiget({"/cal/a.ics", "/cal/x.ics"}))}});
    }
};

Q_DECLARE_METATYPE(std::vector<DiscoveredCalendar>)

QTEST_GUILESS_MAIN(TestCalDav)
#include "tst_caldav.moc"
