// SPDX-License-Identifier: GPL-3.0-or-later
// Calendar sync against a real Radicale on 127.0.0.1 (started here, on a free port, with a
// temporary storage folder): the first sync of 5,000 events into an empty data file, and
// an incremental sync with nothing changed, which must be a single request. Radicale reads
// every item of the calendar to answer a sync-collection REPORT (some 0.4 s for 5,000), so
// the same unchanged sync is measured once more against a responder that answers at once:
// Plumora's own share.
#include "BenchMain.h"
#include "app/ProgramSchema.h"
#include "calendar/caldav/CalDavStore.h"
#include "calendar/caldav/CalDavSync.h"
#include "data/DataFile.h"
#include "mock/FakeClock.h"
#include "mock/HttpResponder.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

namespace {

const QDate Today(2026, 3, 10);
constexpr int Events = 5000;

// Radicale with one user ("ann") and one calendar holding 5,000 events.
struct Server {
    QTemporaryDir dir;
    QProcess radicale;
    QString calendar;
    QString error;

    Server() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const quint16 port = probe.serverPort();
        probe.close();
        QFile users(dir.filePath(QStringLiteral("users")));
        if (!users.open(QIODevice::WriteOnly) || users.write("ann:secret\n") < 0) {
            error = QStringLiteral("no password file");
            return;
        }
        users.close();
        radicale.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        radicale.start(QStringLiteral("radicale"),
                       {QStringLiteral("--server-hosts"), QStringLiteral("127.0.0.1:%1").arg(port),
                        QStringLiteral("--storage-filesystem-folder"), dir.filePath("storage"),
                        QStringLiteral("--auth-type"), QStringLiteral("htpasswd"),
                        QStringLiteral("--auth-htpasswd-filename"), users.fileName(),
                        QStringLiteral("--auth-htpasswd-encryption"), QStringLiteral("plain"),
                        QStringLiteral("--logging-level"), QStringLiteral("warning")});
        if (!radicale.waitForStarted()) {
            error = QStringLiteral("radicale could not be started (Debian: radicale)");
            return;
        }
        calendar = QStringLiteral("http://127.0.0.1:%1/ann/bench/").arg(port);
        QByteArray ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\n";
        for (int i = 0; i < Events; ++i)
            ics += QStringLiteral("BEGIN:VEVENT\r\nUID:bench-%1\r\nDTSTAMP:20260101T000000Z\r\n"
                                  "DTSTART;VALUE=DATE:%2\r\nSUMMARY:Event %1\r\nEND:VEVENT\r\n")
                       .arg(i)
                       .arg(Today.addDays(i % 700 - 350).toString(QStringLiteral("yyyyMMdd")))
                       .toUtf8();
        ics += "END:VCALENDAR\r\n";
        // Once Radicale answers (a PROPFIND that also makes the user's home), the whole
        // calendar in one PUT, sent once and given all the time it takes: a busy machine
        // may take minutes over 5,000 events.
        QNetworkAccessManager manager;
        const auto ask = [&](const QByteArray& method, const QUrl& url, const QByteArray& body,
                             const QByteArray& type) {
            QNetworkRequest request(url);
            request.setTransferTimeout(0);
            request.setRawHeader("Authorization", "Basic " + QByteArray("ann:secret").toBase64());
            request.setRawHeader("Depth", "0");
            if (!type.isEmpty())
                request.setHeader(QNetworkRequest::ContentTypeHeader, type);
            QNetworkReply* reply = manager.sendCustomRequest(request, method, body);
            QEventLoop loop;
            QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
            loop.exec();
            reply->deleteLater();
            return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        };
        const QUrl home(QStringLiteral("http://127.0.0.1:%1/ann/").arg(port));
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (ask("PROPFIND", home, {}, {}) != 0) {
                const int put = ask("PUT", QUrl(calendar), ics, "text/calendar");
                if (put < 200 || put > 299)
                    error = QStringLiteral("the calendar could not be stored: status %1").arg(put);
                return;
            }
            QThread::msleep(100);
        }
        error = QStringLiteral("radicale did not answer");
    }
    ~Server() {
        radicale.terminate();
        radicale.waitForFinished();
    }
};

Server& server() {
    static Server& s = Bench::keep(std::make_unique<Server>());
    return s;
}

// One sync of `path` by `sync` (a fresh engine when null, as at start-up); the outcome,
// and the requests it sent.
SyncOutcome syncOnce(const QString& path, FakeClock& clock, int* requests = nullptr,
                     CalDavSync* engine = nullptr) {
    CalDavSync own(CalDavStore(path), clock);
    CalDavSync& sync = engine ? *engine : own;
    SyncOutcome out;
    QEventLoop loop;
    const QMetaObject::Connection ended =
        QObject::connect(&sync, &CalDavSync::finished, &loop, [&](const SyncOutcome& o) {
            out = o;
            loop.quit();
        });
    sync.start(*CalDavStore(path).account(), QStringLiteral("secret"));
    loop.exec();
    QObject::disconnect(ended);
    if (requests)
        *requests = sync.requestsSent();
    return out;
}

bool freshAccount(const QString& path) {
    QFile::remove(path);
    CalDavAccount a;
    a.server = server().calendar;
    a.user = QStringLiteral("ann");
    a.calendar = server().calendar;
    return programSchema().createTemplate(path, Today).isEmpty() &&
           CalDavStore(path).saveAccount(a);
}

void firstSync(benchmark::State& state) {
    if (!server().error.isEmpty())
        return state.SkipWithError(qPrintable(server().error));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.plm"));
    FakeClock clock(QDateTime(Today, QTime(9, 0)));
    SyncOutcome out;
    for (auto _ : state) {
        state.PauseTiming();
        const bool made = freshAccount(path);
        state.ResumeTiming();
        if (!made)
            return state.SkipWithError("could not make the data file");
        out = syncOnce(path, clock);
    }
    if (!out.ok || out.received != Events)
        return state.SkipWithError(qPrintable(QStringLiteral("the sync failed: ") + out.status));
    state.counters["received"] = out.received;
}

// A fresh data file with the account, synced once (the server's events received); false (the
// benchmark skipped with the reason) when the server or that first sync failed.
bool syncedOnce(benchmark::State& state, const QString& path, FakeClock& clock) {
    if (!server().error.isEmpty()) {
        state.SkipWithError(qPrintable(server().error));
        return false;
    }
    if (!freshAccount(path) || !syncOnce(path, clock).ok) {
        state.SkipWithError("the first sync failed");
        return false;
    }
    return true;
}

// Syncs of `path` with nothing changed on either side, by one engine kept across them as
// the running program keeps it (it knows what the last sync found): one request each.
void quietSyncs(benchmark::State& state, const QString& path, FakeClock& clock) {
    CalDavSync engine(CalDavStore(path), clock);
    int requests = 0;
    SyncOutcome out;
    for (auto _ : state)
        out = syncOnce(path, clock, &requests, &engine);
    if (!out.ok || out.sent + out.received != 0 || requests != 1)
        return state.SkipWithError(
            qPrintable(QStringLiteral("not one quiet request: %1 requests, %2")
                           .arg(requests)
                           .arg(out.status)));
    state.counters["requests"] = requests;
}

void unchangedSync(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.plm"));
    FakeClock clock(QDateTime(Today, QTime(9, 0)));
    if (!syncedOnce(state, path, clock))
        return;
    quietSyncs(state, path, clock);
}

// The unchanged sync of 5,000 events with the server's time taken out: the calendar's
// address is moved to a responder that answers the REPORT with the stored token at once.
void unchangedSyncOwnShare(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.plm"));
    FakeClock clock(QDateTime(Today, QTime(9, 0)));
    if (!syncedOnce(state, path, clock))
        return;
    const CalDavAccount synced = *CalDavStore(path).account();
    HttpResponder quick;
    quick.handler = [&](const HttpResponder::Request& r) {
        if (r.method != "REPORT" || !r.body.contains(synced.syncToken.toUtf8()))
            return HttpResponder::Response{500, {}, {}};
        return HttpResponder::Response{207,
                                       {{"Content-Type", "application/xml"}},
                                       "<?xml version=\"1.0\"?><multistatus xmlns=\"DAV:\">"
                                       "<sync-token>" +
                                           synced.syncToken.toUtf8() +
                                           "</sync-token></multistatus>"};
    };
    const QString moved = QString::fromUtf8(quick.base()) + QUrl(synced.calendar).path();
    if (!DataFile(path).exec(QStringLiteral("UPDATE CalDavAccount SET Calendar = ?, Server = ?"),
                             {moved, moved}))
        return state.SkipWithError("could not move the calendar");
    quietSyncs(state, path, clock);
}

void registerBenchmarks() {
    Bench::standard(benchmark::RegisterBenchmark("caldav_first_sync_5000", firstSync), 3, 1);
    Bench::standard(benchmark::RegisterBenchmark("caldav_unchanged_sync_5000", unchangedSync), 3,
                    5);
    Bench::standard(
        benchmark::RegisterBenchmark("caldav_unchanged_sync_5000_own_share", unchangedSyncOwnShare),
        3, 10);
}

} // namespace

int main(int argc, char* argv[]) {
    registerBenchmarks();
    return Bench::run<QCoreApplication>(argc, argv);
}
