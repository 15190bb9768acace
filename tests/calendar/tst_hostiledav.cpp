// SPDX-License-Identifier: GPL-3.0-or-later
// Calendar sync and feed downloads against hostile_dav.py, a hostile CalDAV and feed server on
// 127.0.0.1: an answer that never ends, one byte a second, "more changes" with only a new
// token, a redirect to another port, hrefs that climb out of the calendar, an empty listing
// after a full sync, a 40 MB answer holding only a DTD. Each mode is checked for the time
// until the sync ends with a status, what the data file keeps, and what the server saw; the
// large answers also for the peak memory of this process.
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/EventStore.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/caldav/CalDavSync.h"
#include "calendar/ical/IcsImport.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "platform/HttpDownloader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
qint64 statusKiB(const QByteArray& field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(QByteArray(field + ':')))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Starts counting the peak resident size afresh; the current size, in KiB.
qint64 resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
    return statusKiB("VmRSS");
}

constexpr qint64 MiB = 1024 * 1024;

} // namespace

class TestHostileDav : public QObject {
    Q_OBJECT
    QProcess m_server;
    QByteArray m_base;
    int m_other = 0;
    QTemporaryDir m_dir;
    QString m_path;
    FakeClock m_clock{QDateTime(D("2026-03-10"), QTime(8, 30))};
    HttpDownloader m_downloads;

    QString calendar(const char* mode) const {
        return QString::fromUtf8(m_base + '/' + mode + "/cal/");
    }
    void useCalendar(const char* mode, const QString& token = {}) {
        QFile::remove(m_path);
        QCOMPARE(programSchema().createTemplate(m_path, D("2026-01-15")), QString());
        CalDavAccount a;
        a.server = QString::fromUtf8(m_base);
        a.user = "ann";
        a.calendar = calendar(mode);
        QVERIFY(CalDavStore(m_path).saveAccount(a));
        if (!token.isEmpty())
            QVERIFY(DataFile(m_path).exec("UPDATE CalDavAccount SET SyncToken = ?", {token}));
    }
    // One sync with `limits` on its requests; its outcome and how long it took.
    std::pair<SyncOutcome, qint64> sync(const ReadLimits& limits = ReadLimits{DavXml::MaxBytes}) {
        CalDavSync engine(CalDavStore(m_path), m_clock);
        engine.http().setLimits(limits);
        QSignalSpy spy(&engine, &CalDavSync::finished);
        QElapsedTimer took;
        took.start();
        engine.start(*CalDavStore(m_path).account(), QStringLiteral("secret"));
        if (!spy.wait(30000)) {
            SyncOutcome none;
            none.status = QStringLiteral("no end");
            return {none, took.elapsed()};
        }
        return {spy.at(0).at(0).value<SyncOutcome>(), took.elapsed()};
    }
    Download download(const char* path, qint64 maxBytes, HttpDownloader& with) {
        QObject receiver;
        std::optional<Download> got;
        with.fetch(QUrl(QString::fromUtf8(m_base + path)), maxBytes, &receiver,
                   [&](const Download& d) { got = d; });
        if (!QTest::qWaitFor([&] { return got.has_value(); }, 30000))
            return Download{{}, QStringLiteral("no end")};
        return *got;
    }
    // The requests the server saw, in order.
    QList<QJsonObject> log() {
        const Download d = download("/_log/", 10 * MiB, m_downloads);
        QList<QJsonObject> out;
        for (const QByteArray& line : d.body.split('\n'))
            if (!line.isEmpty())
                out << QJsonDocument::fromJson(line).object();
        return out;
    }
    QList<QJsonObject> logOf(const QString& mode) {
        QList<QJsonObject> out;
        for (const QJsonObject& o : log())
            if (o[u"path"].toString().startsWith(u'/' + mode + u'/'))
                out << o;
        return out;
    }
    QString token() { return CalDavStore(m_path).account()->syncToken; }
    QStringList records() {
        QStringList out;
        for (const CalDavRecord& r : CalDavStore(m_path).records())
            out << r.href;
        out.sort();
        return out;
    }
    QStringList events() {
        QStringList out;
        DataFile(m_path).forEach("SELECT Description FROM Events WHERE Holiday = 0", {},
                                 [&](DataFile::Row q) {
                                     out << q.value(0).toString();
                                     return true;
                                 });
        out.sort();
        return out;
    }

private Q_SLOTS:
    void initTestCase() {
        qRegisterMetaType<SyncOutcome>();
        m_path = m_dir.filePath("data.plm");
        m_server.start(QStringLiteral("python3"),
                       {QStringLiteral(PLUMORA_TEST_SCRIPTS "/hostile_dav.py")});
        QVERIFY(QTest::qWaitFor([this] { return m_server.canReadLine(); }, 10000));
        const QByteArray line = m_server.readLine();
        const QList<QByteArray> ports = line.trimmed().split(' ');
        QVERIFY2(ports.size() == 2, line.constData());
        m_base = "http://127.0.0.1:" + ports[0];
        m_other = ports[1].toInt();
    }
    void cleanupTestCase() {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }

    // An endless listing ends the sync at the size limit; the connection is closed there
    // and memory stays within the body's limit. An endless feed the same at its own limit.
    void endlessAnswers() {
        useCalendar("endless");
        const qint64 idle = resetPeak();
        const auto [outcome, ms] = sync();
        const qint64 peak = statusKiB("VmHWM");
        QVERIFY2(!outcome.ok && outcome.status.contains("larger than 50 MB"),
                 qPrintable(outcome.status));
        QVERIFY2(ms < 20000, qPrintable(QString::number(ms)));
        QVERIFY2((peak - idle) * 1024 < 100 * MiB,
                 qPrintable(QStringLiteral("%1 KiB above %2").arg(peak - idle).arg(idle)));
        QVERIFY(events().isEmpty());
        QVERIFY(token().isEmpty());
        // The server finds the connection closed, having sent not much more than the limit.
        QJsonObject seen;
        QVERIFY(QTest::qWaitFor(
            [&] {
                seen = logOf(QStringLiteral("endless")).value(0);
                return seen[u"closed"].toBool();
            },
            5000));
        QVERIFY2(seen[u"sent"].toDouble() < 80.0 * MiB,
                 qPrintable(QString::number(seen[u"sent"].toDouble())));

        const qint64 before = resetPeak();
        const Download feed = download("/endless/feed.ics", IcsImport::MaxBytes + 1, m_downloads);
        QVERIFY(feed.tooLarge);
        QVERIFY(feed.body.isEmpty());
        QVERIFY((statusKiB("VmHWM") - before) * 1024 < 100 * MiB);
        QVERIFY(QTest::qWaitFor(
            [&] { return logOf(QStringLiteral("endless")).value(1)[u"closed"].toBool(); }, 5000));
        QVERIFY(logOf(QStringLiteral("endless")).value(1)[u"sent"].toDouble() <
                IcsImport::MaxBytes + 30.0 * MiB);
    }

    // One byte a second keeps no request past its deadline, and so no sync either; a body
    // that arrives steadily goes on past it.
    void slowAnswers() {
        useCalendar("slow");
        ReadLimits quick{DavXml::MaxBytes};
        quick.deadlineMs = 1500;
        quick.windowMs = 500;
        const auto [outcome, ms] = sync(quick);
        QVERIFY2(!outcome.ok && outcome.status.contains("within 1.5 s"),
                 qPrintable(outcome.status));
        QVERIFY2(ms >= 1400 && ms < 5000, qPrintable(QString::number(ms)));
        QVERIFY(token().isEmpty());
        QVERIFY(events().isEmpty());

        HttpDownloader quickDownloads(1500);
        QElapsedTimer took;
        took.start();
        const Download feed = download("/slow/feed.ics", IcsImport::MaxBytes + 1, quickDownloads);
        QVERIFY(!feed.ok() && feed.body.isEmpty());
        QVERIFY2(took.elapsed() < 5000, qPrintable(QString::number(took.elapsed())));

        // A body still arriving at a healthy rate may take longer than the deadline.
        took.restart();
        const Download steady = download("/steady/feed.ics", IcsImport::MaxBytes, quickDownloads);
        QVERIFY2(steady.ok(), qPrintable(steady.error));
        QCOMPARE(steady.body.size(), 800017);
        QVERIFY2(took.elapsed() > 1500, qPrintable(QString::number(took.elapsed())));
    }

    // Pages that announce more changes but bring only a new token stop the sync at the
    // first; the stored token stays.
    void newTokenWithoutProgress() {
        useCalendar("token507", QStringLiteral("n0"));
        const auto [outcome, ms] = sync();
        QVERIFY2(!outcome.ok && outcome.status.contains("announced more changes"),
                 qPrintable(outcome.status));
        QVERIFY(ms < 5000);
        QCOMPARE(token(), QStringLiteral("n0"));
        int reports = 0;
        for (const QJsonObject& o : logOf(QStringLiteral("token507")))
            reports += o[u"method"].toString() == u"REPORT";
        QCOMPARE(reports, 1);
    }

    // A redirect to another port of the same host is followed without the credentials.
    void redirectToAnotherPort() {
        useCalendar("redirect");
        const auto [outcome, ms] = sync();
        QVERIFY2(outcome.ok, qPrintable(outcome.status));
        QVERIFY(ms < 5000);
        const QList<QJsonObject> seen = logOf(QStringLiteral("redirect"));
        QVERIFY(seen.size() >= 2);
        for (const QJsonObject& o : seen)
            QCOMPARE(o[u"auth"].toBool(), o[u"port"].toInt() != m_other);
        QCOMPARE(token(), QStringLiteral("r1"));
    }

    // Of hrefs that leave the calendar (through "..", encoded dots and slashes, another
    // port) none is stored, fetched or written to; the one inside is.
    void hrefsOutsideTheCalendar() {
        useCalendar("dotdot");
        const auto [outcome, ms] = sync();
        QVERIFY2(outcome.ok, qPrintable(outcome.status));
        QVERIFY(ms < 5000);
        QCOMPARE(records(), QStringList{"/dotdot/cal/ok.ics"});
        QCOMPARE(events(), QStringList{"E5"});
        QVERIFY(DataFile(m_path).exec("UPDATE Events SET Description = 'E5 edited'"));
        QVERIFY(sync().first.ok);
        int puts = 0;
        for (const QJsonObject& o : logOf(QStringLiteral("dotdot"))) {
            QVERIFY2(o[u"port"].toInt() != m_other, qPrintable(o[u"path"].toString()));
            QVERIFY2(o[u"path"].toString().startsWith(u"/dotdot/cal/"),
                     qPrintable(o[u"path"].toString()));
            puts += o[u"method"].toString() == u"PUT";
        }
        QCOMPARE(puts, 1);
    }

    // A calendar of 300 events from the server and 5 sent from here, synced in full.
    void syncedInFull(const char* mode) {
        useCalendar(mode);
        for (int i = 0; i < 5; ++i) {
            EventRow r =
                makeEvent("2026-03-20", EventFrequency::OneTime, QStringLiteral("Mine %1").arg(i));
            r.uid = QStringLiteral("mine%1").arg(i);
            QVERIFY(EventStore(m_path).add(r));
        }
        const SyncOutcome first = sync().first;
        QVERIFY2(first.ok, qPrintable(first.status));
        QCOMPARE(first.received, 300);
        QCOMPARE(first.sent, 5);
        QCOMPARE(events().size(), 305);
        QCOMPARE(token(), QStringLiteral("f1"));
    }

    // After a full sync the server refuses the token and lists nothing: no event is
    // deleted, the sync pauses with the question, and so does the next one, asking nothing.
    void emptyListingAfterFullSync() {
        syncedInFull("emptied");
        const QStringList all = events();
        const auto [outcome, ms] = sync();
        QVERIFY(!outcome.ok);
        QCOMPARE(outcome.status, "Paused: the server no longer lists 305 of your 305 events");
        QCOMPARE(CalDavSync::question(outcome.withheld),
                 "The server no longer lists 305 of your 305 events. Delete them here too, or "
                 "keep them and send them back?");
        QVERIFY2(ms < 5000, qPrintable(QString::number(ms)));
        QCOMPARE(events(), all);
        QCOMPARE(records().size(), 305);
        QVERIFY(CalDavStore(m_path).account()->withheld.pending());
        const qsizetype seen = logOf(QStringLiteral("emptied")).size();
        QCOMPARE(sync().first.status, outcome.status);
        QCOMPARE(logOf(QStringLiteral("emptied")).size(), seen);
    }

    // After a full sync every answer is a 40 MB DTD and nothing else, to the sync-collection
    // report and to the full listing: each a failed sync, quickly and in little memory, with
    // every event and the token kept.
    void dtdOnlyAnswer() {
        syncedInFull("dtd");
        const QStringList all = events();
        for (const bool withToken : {true, false}) {
            if (!withToken)
                QVERIFY(DataFile(m_path).exec("UPDATE CalDavAccount SET SyncToken = ''"));
            const qint64 idle = resetPeak();
            const auto [outcome, ms] = sync();
            const qint64 peak = statusKiB("VmHWM");
            QVERIFY(!outcome.ok);
            QCOMPARE(outcome.status,
                     "Stopped: the server's answer is not a multistatus (it holds a DTD)");
            QVERIFY(!outcome.withheld.pending());
            QVERIFY2(ms < 10000, qPrintable(QString::number(ms)));
            QVERIFY2((peak - idle) * 1024 < 100 * MiB,
                     qPrintable(QStringLiteral("%1 KiB above %2").arg(peak - idle).arg(idle)));
            QCOMPARE(events(), all);
            QCOMPARE(records().size(), 305);
            QCOMPARE(token(), withToken ? QStringLiteral("f1") : QString());
        }
    }
};

QTEST_GUILESS_MAIN(TestHostileDav)
#include "tst_hostiledav.moc"
