// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/caldav/CalDavSync.h"

#include "base/Clock.h"
#include "calendar/CalendarLog.h"
#include "calendar/caldav/DavXml.h"
#include "calendar/ical/CalendarImport.h"
#include "calendar/ical/EventPatch.h"
#include "calendar/ical/IcalModule.h"
#include "calendar/ical/IcsExport.h"
#include "data/DataFile.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QSet>

namespace {

const DavHttp::Headers XmlHeaders(const char* depth) {
    return {{"Content-Type", "application/xml; charset=utf-8"}, {"Depth", depth}};
}

// The name of a new event on the server: its UID when that is a plain file name.
QString fileNameFor(const QString& uid) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9._@-]{1,200}$"));
    if (plain.match(uid).hasMatch())
        return uid + QLatin1String(".ics");
    return QString::fromLatin1(
               QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex()) +
           QLatin1String(".ics");
}

bool stops(const DavReply& r) {
    return !r.error.isEmpty() || r.status == 507 || r.status >= 500 || r.status == 401 ||
           r.status == 0;
}

} // namespace

CalDavSync::CalDavSync(CalDavStore store, Clock& clock, QObject* parent)
    : QObject(parent), m_store(std::move(store)), m_clock(clock), m_http(this) {
    m_deadlineQtTimer.setSingleShot(true);
    connect(&m_deadlineQtTimer, &QTimer::timeout, this, &CalDavSync::deadlinePassed);
}

QString CalDavSync::question(const Withheld& w) {
    return tr("The server no longer lists %1 of your %2 events. Delete them here too, "
              "or keep them and send them back?")
        .arg(w.removals)
        .arg(w.synced);
}

QString CalDavSync::pathOf(const QUrl& base, const QString& href) {
    return base.resolved(QUrl(href)).path(QUrl::FullyDecoded);
}

QString CalDavSync::memberPath(const QUrl& collection, const QString& href, QString* why) {
    const auto refuse = [why](const char* reason) {
        if (why)
            *why = QLatin1String(reason);
        return QString();
    };
    const QUrl url = collection.resolved(QUrl(href));
    if (!DavHttp::sameOrigin(url, collection))
        return refuse("it is on another server");
    const QString path = url.path(QUrl::FullyDecoded);
    // Dots still there once resolved were written encoded ("%2e%2e", "..%2f").
    const QStringList segments = path.split(u'/');
    if (segments.contains(QLatin1String("..")) || segments.contains(QLatin1String(".")))
        return refuse("its path climbs out of the calendar");
    const QString self = collection.path(QUrl::FullyDecoded);
    if (path != self && !path.startsWith(self.endsWith(u'/') ? self : self + u'/'))
        return refuse("it lies outside the calendar");
    return path;
}

DavMultistatus CalDavSync::inCalendar(DavMultistatus m) const {
    std::erase_if(m.responses, [this](const DavResponse& d) {
        QString why;
        if (!memberPath(m_calendar, d.href, &why).isEmpty())
            return false;
        qCWarning(lcCalendar) << "calendar sync: skipped the server's href" << d.href << "-" << why;
        return true;
    });
    return m;
}

QUrl CalDavSync::urlOf(const QString& path) const {
    QUrl url = m_calendar;
    url.setPath(path, QUrl::DecodedMode);
    return url;
}

void CalDavSync::start(const CalDavAccount& account, const QString& password) {
    if (m_running)
        return;
    m_running = true;
    ++m_run;
    m_account = account;
    m_calendar = QUrl(account.calendar);
    if (!m_calendar.path().endsWith(u'/'))
        m_calendar.setPath(m_calendar.path() + u'/');
    m_listed = m_again = m_pushedAgain = false;
    m_pages = 0;
    m_pushStamp = -1;
    m_failure.clear();
    m_queue.clear();
    m_inFlight = 0;
    m_outcome = SyncOutcome();
    m_counts = ApplyCounts();
    m_removal = CalDavStore::Removal::Delete;
    m_requestsBefore = m_http.requestsSent();
    m_http.setCredentials(m_calendar, account.user, password);
    m_deadline->setInterval(m_deadlineMs);
    m_deadline->start();
    QString refused = DavHttp::refusal(m_calendar);
    // Nothing is synced until the user answered.
    if (refused.isEmpty() && account.withheld.pending()) {
        m_outcome.withheld = account.withheld;
        refused = question(account.withheld);
    }
    if (!refused.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [this, refused] { stop(refused); }, Qt::QueuedConnection);
        return;
    }
    pull();
}

void CalDavSync::cancel() {
    abandon(tr("the sync was cancelled"));
}

void CalDavSync::deadlinePassed() {
    m_deadline->stop();
    abandon(tr("the sync did not end within %1 minutes").arg(m_deadlineMs / 60000.0));
}

void CalDavSync::abandon(const QString& why) {
    if (!m_running)
        return;
    m_http.cancelAll();
    m_inFlight = 0;
    stop(why);
}

void CalDavSync::pull() {
    if (m_account.syncToken.isEmpty())
        return listAll();
    if (++m_pages > m_maxPages)
        return stop(tr("the server still had more changes after %1 pages; the "
                       "next sync goes on from there")
                        .arg(m_maxPages));
    m_http.send("REPORT", m_calendar, DavXml::syncCollection(m_account.syncToken), XmlHeaders("0"),
                [this](const DavReply& r) {
                    if (stops(r))
                        return stop(r);
                    if (r.status != 207) {
                        // The token is refused (or the report unknown): start afresh.
                        qCInfo(lcCalendar) << "calendar sync: the server refused the sync token"
                                           << r.status << "- comparing every event";
                        m_account.syncToken.clear();
                        if (!m_store.forgetToken())
                            return stop(m_store.lastError());
                        return listAll();
                    }
                    const DavMultistatus m = inCalendar(DavXml::parse(r.body));
                    if (!m.ok())
                        return stop(m.error);
                    // The records are read only when the server names a change.
                    QHash<QString, QString> etags;
                    std::vector<CalDavRecord> records;
                    bool read = false;
                    QStringList changed, removed;
                    bool more = false;
                    const QString self = m_calendar.path(QUrl::FullyDecoded);
                    for (const DavResponse& d : m.responses) {
                        const QString path = pathOf(m_calendar, d.href);
                        if (path == self || d.isCollection) {
                            more = more || d.status == 507;
                            continue;
                        }
                        if (!std::exchange(read, true)) {
                            records = m_store.records();
                            for (const CalDavRecord& rec : records)
                                etags.insert(rec.href, rec.etag);
                        }
                        if (d.status == 404)
                            removed << path;
                        else if (d.etag.isEmpty() || etags.value(path) != d.etag)
                            changed << path;
                    }
                    // "More to come" with nothing in it would ask again forever; its token is
                    // not kept.
                    if (more && changed.isEmpty() && removed.isEmpty()) {
                        qCWarning(lcCalendar) << "calendar sync: a truncated page without changes"
                                              << "and the token" << m.syncToken;
                        return stop(tr("the server announced more changes but sent none"));
                    }
                    // Nothing changed there, and nothing here since the last quiet sync.
                    if (changed.isEmpty() && removed.isEmpty() && !more &&
                        m.syncToken == m_account.syncToken && m_quietStamp >= 0 &&
                        fileModifiedStamp(m_store.dataFile()) == m_quietStamp)
                        return end();
                    if (mayRemove(removed, records))
                        fetch(changed, removed, m.syncToken, more);
                });
}

void CalDavSync::listAll() {
    m_listed = true;
    m_http.send("PROPFIND", m_calendar, DavXml::listQuery(), XmlHeaders("1"),
                [this](const DavReply& r) {
                    if (stops(r))
                        return stop(r);
                    const DavMultistatus m = inCalendar(r.multistatus());
                    if (!m.ok())
                        return stop(m.error);
                    const std::vector<CalDavRecord> records = m_store.records();
                    QHash<QString, QString> etags;
                    for (const CalDavRecord& rec : records)
                        etags.insert(rec.href, rec.etag);
                    QStringList changed;
                    QSet<QString> listed;
                    QString token;
                    bool named = false; // the listing names the calendar itself
                    const QString self = m_calendar.path(QUrl::FullyDecoded);
                    for (const DavResponse& d : m.responses) {
                        const QString path = pathOf(m_calendar, d.href);
                        if (path == self || path == self.chopped(1) || d.isCollection) {
                            if (path == self || path == self.chopped(1)) {
                                token = d.syncToken;
                                named = d.status == 0 || (d.status >= 200 && d.status < 300);
                            }
                            continue;
                        }
                        if (d.status == 404)
                            continue;
                        listed.insert(path);
                        const auto known = etags.constFind(path);
                        if (known == etags.cend() || d.etag.isEmpty() || *known != d.etag)
                            changed << path;
                    }
                    QStringList removed;
                    // A listing of a calendar names the calendar first of all: one that does
                    // not is a broken answer, not an empty calendar.
                    if (!named)
                        return stop(tr("the server's listing does not name the calendar itself"));
                    for (auto it = etags.cbegin(); it != etags.cend(); ++it)
                        if (!listed.contains(it.key()))
                            removed << it.key();
                    if (mayRemove(removed, records))
                        fetch(changed, removed, token, false);
                });
}

bool CalDavSync::mayRemove(const QStringList& removed, const std::vector<CalDavRecord>& records) {
    if (removed.isEmpty())
        return true;
    // Only records of events count: one of an unreadable resource deletes nothing here.
    QSet<QString> events;
    for (const CalDavRecord& r : records)
        if (!r.uid.isEmpty())
            events.insert(r.href);
    int removals = 0;
    for (const QString& href : removed)
        removals += events.contains(href);
    if (!asksFirst(removals, int(events.size())))
        return true;
    const Withheld& answered = m_account.withheld;
    if (answered.answer == Withheld::Answer::Keep) {
        qCInfo(lcCalendar) << "calendar sync: keeping" << removals
                           << "events the server no longer lists, to send them back";
        m_removal = CalDavStore::Removal::Forget;
        return true;
    }
    // The user agreed to as many; more are asked about anew.
    if (answered.answer == Withheld::Answer::Delete && removals <= answered.removals) {
        qCInfo(lcCalendar) << "calendar sync: deleting" << removals
                           << "events the server no longer lists, as the user agreed";
        m_removal = CalDavStore::Removal::DeleteKeepingCopy;
        return true;
    }
    const Withheld asked{removals, int(events.size()), Withheld::Answer::None};
    if (!m_store.withhold(asked.removals, asked.synced)) {
        stop(m_store.lastError());
        return false;
    }
    m_account.withheld = asked;
    m_outcome.withheld = asked;
    stop(question(asked));
    return false;
}

void CalDavSync::fetch(QStringList changed, QStringList removed, QString token, bool more) {
    if (changed.isEmpty()) {
        const QDateTime now = m_clock.now();
        // Nothing to apply and the same token: nothing is written.
        if ((!removed.isEmpty() || token != m_account.syncToken) &&
            !m_store.apply({}, removed, token, now.date(), now, m_counts,
                           QTimeZone::systemTimeZone(), m_removal))
            return stop(m_store.lastError());
        m_account.syncToken = token;
        if (more && !token.isEmpty())
            return pull();
        return push();
    }
    const QStringList batch = changed.mid(0, BatchSize);
    changed = changed.mid(BatchSize);
    QStringList hrefs;
    for (const QString& path : batch)
        hrefs << urlOf(path).path(QUrl::FullyEncoded);
    m_http.send("REPORT", m_calendar, DavXml::multiget(hrefs), XmlHeaders("1"),
                [this, changed, removed, token, more](const DavReply& r) {
                    if (stops(r))
                        return stop(r);
                    const DavMultistatus m = inCalendar(r.multistatus());
                    if (!m.ok())
                        return stop(m.error);
                    std::vector<ServerEvent> events;
                    QList<QByteArray> bodies;
                    for (const DavResponse& d : m.responses)
                        if (d.status != 404 && !d.calendarData.isEmpty()) {
                            events.push_back({pathOf(m_calendar, d.href), d.etag, d.calendarData});
                            bodies << d.calendarData;
                        }
                    // The bodies are read and their rules expanded off the event loop; the
                    // rows are stored here once that is done, unless the sync ended meanwhile.
                    const QDateTime now = m_clock.now();
                    CalendarImport::readAside(
                        bodies, now.date(), QTimeZone::systemTimeZone(), this,
                        [this, run = m_run, events = std::move(events), changed, removed, token,
                         more, now](const std::vector<IcsImport::Result>& reads) mutable {
                            if (run != m_run || !m_running)
                                return;
                            for (size_t i = 0; i < events.size() && i < reads.size(); ++i)
                                events[i].read = reads[i];
                            store(events, changed, removed, token, more, now);
                        });
                });
}

void CalDavSync::store(const std::vector<ServerEvent>& events, const QStringList& changed,
                       const QStringList& removed, const QString& token, bool more,
                       const QDateTime& now) {
    const bool last = changed.isEmpty();
    // The removals and the token go with the last batch.
    if (!m_store.apply(events, last ? removed : QStringList(),
                       last ? std::optional(token) : std::nullopt, now.date(), now, m_counts,
                       QTimeZone::systemTimeZone(), m_removal))
        return stop(m_store.lastError());
    if (!last)
        return fetch(changed, removed, token, more);
    m_account.syncToken = token;
    if (more && !token.isEmpty())
        return pull();
    push();
}

void CalDavSync::push() {
    m_pushStamp = fileModifiedStamp(m_store.dataFile());
    const QHash<QString, std::vector<EventRow>> local = m_store.localEvents();
    if (!m_store.lastError().isEmpty())
        return stop(m_store.lastError());
    const std::vector<CalDavRecord> records = m_store.records();
    if (!m_store.lastError().isEmpty())
        return stop(m_store.lastError());
    const QStringList buried = m_store.tombstones();
    if (!m_store.lastError().isEmpty())
        return stop(m_store.lastError());
    const QSet<QString> tombstones(buried.cbegin(), buried.cend());
    // The kept events are read only when something is to be sent.
    std::optional<QHash<QString, KeptEvent>> kept;
    QHash<QString, const CalDavRecord*> byUid;
    for (const CalDavRecord& r : records)
        if (!r.uid.isEmpty())
            byUid.insert(r.uid, &r);
    const QDateTime now = m_clock.now();
    const QString folder = m_calendar.path(QUrl::FullyDecoded);
    for (auto it = local.cbegin(); it != local.cend(); ++it) {
        const QString hash = CalDavStore::hash(it.value());
        const CalDavRecord* record = byUid.value(it.key());
        if (record && record->hash == hash)
            continue;
        if (!kept) {
            kept = m_store.keptEvents();
            if (!m_store.lastError().isEmpty())
                return stop(m_store.lastError());
        }
        // An event another program wrote goes back as it wrote it, with this computer's
        // change written into it.
        const auto keptOne = kept->constFind(it.key());
        const bool patched = keptOne != kept->cend() && !keptOne->rows.empty();
        QByteArray body = patched ? EventPatch::write(*keptOne, it.value(), now)
                                  : IcsExport::write(it.value(), now);
        if (body.isEmpty())
            return stop(IcalModule::failure());
        Operation op{record ? Operation::Change : Operation::Create,
                     it.key(),
                     record ? record->href : folder + fileNameFor(it.key()),
                     record ? record->etag : QString(),
                     hash,
                     std::move(body),
                     it.value(),
                     patched};
        m_queue.push_back(std::move(op));
    }
    for (const CalDavRecord& r : records)
        if (!r.uid.isEmpty() && !local.contains(r.uid) && tombstones.contains(r.uid))
            m_queue.push_back({Operation::Remove, r.uid, r.href, r.etag, QString(), {}, {}, false});
    startNext();
}

void CalDavSync::startNext() {
    if (!m_failure.isEmpty() || m_queue.empty()) {
        if (m_inFlight > 0)
            return;
        if (!m_failure.isEmpty())
            return end();
        if (m_again && !m_pushedAgain) {
            m_pushedAgain = true;
            m_again = false;
            return push();
        }
        return end();
    }
    while (m_inFlight < Parallel && !m_queue.empty()) {
        Operation op = std::move(m_queue.front());
        m_queue.pop_front();
        // A record kept from before hrefs were checked gets no credentials outside the calendar.
        QString why;
        if (memberPath(m_calendar, urlOf(op.href).toString(QUrl::FullyEncoded), &why).isEmpty()) {
            qCWarning(lcCalendar) << "calendar sync: not sending" << op.href << "-" << why;
            continue;
        }
        ++m_inFlight;
        DavHttp::Headers headers;
        QByteArray method = "PUT";
        if (op.kind == Operation::Remove) {
            method = "DELETE";
        } else {
            headers << qMakePair(QByteArray("Content-Type"),
                                 QByteArray("text/calendar; charset=utf-8"));
        }
        if (op.kind == Operation::Create)
            headers << qMakePair(QByteArray("If-None-Match"), QByteArray("*"));
        else
            headers << qMakePair(QByteArray("If-Match"),
                                 op.etag.isEmpty() ? QByteArray("*") : op.etag.toUtf8());
        m_http.send(method, urlOf(op.href), op.body, headers,
                    [this, op](const DavReply& r) { done(op, r); });
    }
    if (m_inFlight == 0) // every one was skipped
        startNext();
}

void CalDavSync::done(const Operation& op, const DavReply& reply) {
    --m_inFlight;
    if (stops(reply)) {
        failed(reply);
        return startNext();
    }
    if (reply.status == 412) {
        // Changed on the server meanwhile: its version is fetched and merged.
        ++m_inFlight;
        refetch(op.href);
        return;
    }
    if (op.kind == Operation::Remove && (reply.ok() || reply.status == 404)) {
        if (!m_store.forgetRecord(op.href))
            m_failure = m_store.lastError();
        else
            ++m_outcome.sent;
        return startNext();
    }
    if (!reply.ok()) {
        qCWarning(lcCalendar) << "calendar sync: the server refused" << op.href << "-"
                              << reply.describe();
        return startNext();
    }
    // What was sent is what the server now holds: the next edit is written into it (for
    // an event of this computer's, once it is a single VEVENT).
    const bool keep = op.patched || op.rows.size() == 1;
    if (!m_store.saveRecord({op.href, op.uid, QString::fromUtf8(reply.etag), op.hash}) ||
        (keep && !m_store.keep({op.uid, op.body, op.rows})))
        m_failure = m_store.lastError();
    else
        ++m_outcome.sent;
    startNext();
}

void CalDavSync::refetch(const QString& href) {
    m_http.send("GET", urlOf(href), {}, {}, [this, href](const DavReply& r) {
        --m_inFlight;
        if (stops(r)) {
            failed(r);
            return startNext();
        }
        m_again = true;
        if (r.status == 404 || r.status == 410) {
            if (!m_store.forgetRecord(href))
                m_failure = m_store.lastError();
            return startNext();
        }
        if (!r.ok()) {
            qCWarning(lcCalendar) << "calendar sync: could not fetch" << href << "-"
                                  << r.describe();
            return startNext();
        }
        const QDateTime now = m_clock.now();
        if (!m_store.apply({{href, QString::fromUtf8(r.etag), r.body}}, {}, std::nullopt,
                           now.date(), now, m_counts))
            m_failure = m_store.lastError();
        startNext();
    });
}

void CalDavSync::failed(const DavReply& reply) {
    if (!m_failure.isEmpty())
        return;
    m_failure = reply.describe();
    m_outcome.userMustAct = reply.needsUser();
}

void CalDavSync::stop(const DavReply& reply) {
    m_outcome.userMustAct = reply.needsUser();
    stop(reply.describe());
}

void CalDavSync::stop(const QString& why) {
    m_failure = why;
    m_queue.clear();
    if (m_inFlight == 0)
        end();
}

void CalDavSync::end() {
    if (!m_running)
        return;
    m_running = false;
    m_deadline->stop();
    // A sync that went through has carried out the user's answer, or found nothing to ask.
    if (m_failure.isEmpty() && m_account.withheld.removals > 0 && !m_store.settleWithheld())
        m_failure = m_store.lastError();
    // A sync that sent nothing and found the file as push() read it leaves it quiet.
    const qint64 stamp = fileModifiedStamp(m_store.dataFile());
    if (!m_failure.isEmpty() || m_outcome.sent > 0 || m_counts.received > 0)
        m_quietStamp = -1;
    else if (m_pushStamp >= 0)
        m_quietStamp = m_pushStamp == stamp ? stamp : -1;
    m_outcome.received = m_counts.received;
    m_outcome.conflicts = m_counts.conflicts;
    m_outcome.conflictTexts = m_counts.conflictTexts;
    m_outcome.ok = m_failure.isEmpty();
    if (m_outcome.ok) {
        m_outcome.status =
            m_outcome.sent == 1
                ? tr("1 event sent, %1 received").arg(m_outcome.received)
                : tr("%1 events sent, %2 received").arg(m_outcome.sent).arg(m_outcome.received);
        if (m_counts.skipped)
            m_outcome.status = tr("%1; %2 unreadable left out")
                                   .arg(m_outcome.status, QString::number(m_counts.skipped));
    } else if (m_outcome.withheld.pending()) {
        m_outcome.status = tr("Paused: the server no longer lists %1 of your %2 events")
                               .arg(m_outcome.withheld.removals)
                               .arg(m_outcome.withheld.synced);
        qCWarning(lcCalendar) << "calendar sync paused:" << m_failure;
    } else {
        // "Stopped: " stays English whatever the language: it marks a failure in the stored
        // status, and only the reason after it is shown.
        m_outcome.status = QStringLiteral("Stopped: ") + m_failure;
        qCWarning(lcCalendar) << "calendar sync stopped:" << m_failure;
    }
    Q_EMIT finished(m_outcome);
}
