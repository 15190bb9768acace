// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/caldav/CalDavDiscovery.h"

#include "calendar/caldav/DavXml.h"

namespace {

const DavHttp::Headers XmlHeaders(const char* depth) {
    return {{"Content-Type", "application/xml; charset=utf-8"}, {"Depth", depth}};
}

} // namespace

CalDavDiscovery::CalDavDiscovery(QObject* parent) : QObject(parent), m_http(this) {}

void CalDavDiscovery::fail(const QString& error) {
    Q_EMIT found({}, error);
}

void CalDavDiscovery::discover(const QString& server, const QString& user,
                               const QString& password) {
    m_http.cancelAll();
    m_server = DavHttp::fromTyped(server);
    m_home = QUrl();
    const QString refused = DavHttp::refusal(m_server);
    if (!refused.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [this, refused] { fail(refused); }, Qt::QueuedConnection);
        return;
    }
    m_http.setCredentials(m_server, user, password);
    QUrl known = m_server;
    known.setPath(QStringLiteral("/.well-known/caldav"));
    known.setQuery(QString());
    // An address that names a path of its own is asked first.
    if (m_server.path().size() > 1)
        askPrincipal(m_server, true);
    else
        askPrincipal(known, false);
}

void CalDavDiscovery::askPrincipal(const QUrl& url, bool fallback) {
    m_http.send("PROPFIND", url, DavXml::principalQuery(), XmlHeaders("0"),
                [this, fallback](const DavReply& r) {
                    const DavMultistatus m =
                        r.status == 207 ? DavXml::parse(r.body) : DavMultistatus();
                    QString principal;
                    if (r.status == 207 && m.ok())
                        for (const DavResponse& d : m.responses)
                            if (!d.principal.isEmpty())
                                principal = d.principal;
                    if (!principal.isEmpty())
                        return askHome(r.url.resolved(QUrl(principal)));
                    if (!r.error.isEmpty() || r.status == 401)
                        return fail(r.describe());
                    if (fallback) {
                        QUrl known = m_server;
                        known.setPath(QStringLiteral("/.well-known/caldav"));
                        return askPrincipal(known, false);
                    }
                    fail(r.status == 207 && !m.ok()
                             ? m.error
                             : tr("the server does not say where the calendars are "
                                  "(no current-user-principal); is it a CalDAV server?"));
                });
}

void CalDavDiscovery::askHome(const QUrl& principal) {
    m_http.send("PROPFIND", principal, DavXml::homeQuery(), XmlHeaders("0"),
                [this](const DavReply& r) {
                    const DavMultistatus m = r.multistatus();
                    if (!m.ok())
                        return fail(m.error);
                    for (const DavResponse& d : m.responses)
                        if (!d.calendarHome.isEmpty())
                            m_home = r.url.resolved(QUrl(d.calendarHome));
                    if (!m_home.isValid())
                        return fail(tr("the server names no calendar home"));
                    listCalendars();
                });
}

void CalDavDiscovery::listCalendars() {
    m_http.send("PROPFIND", m_home, DavXml::calendarsQuery(), XmlHeaders("1"),
                [this](const DavReply& r) {
                    const DavMultistatus m = r.multistatus();
                    if (!m.ok())
                        return fail(m.error);
                    std::vector<DiscoveredCalendar> out;
                    for (const DavResponse& d : m.responses) {
                        if (!d.isCalendar || !d.takesEvents || d.status == 404)
                            continue;
                        const QUrl url = r.url.resolved(QUrl(d.href));
                        QString name = d.displayName;
                        if (name.isEmpty())
                            name = url.path().section(u'/', -2, -2);
                        out.push_back({url.toString(), name});
                    }
                    Q_EMIT found(out, QString());
                });
}

void CalDavDiscovery::makeCalendar() {
    if (!m_home.isValid()) {
        QMetaObject::invokeMethod(
            this, [this] { Q_EMIT made({}, tr("the calendars have not been found yet")); },
            Qt::QueuedConnection);
        return;
    }
    QUrl url = m_home;
    QString path = url.path();
    if (!path.endsWith(u'/'))
        path += u'/';
    url.setPath(path + QLatin1String("plumora/"));
    m_http.send("MKCALENDAR", url, DavXml::makeCalendar(QStringLiteral("Plumora")),
                {{"Content-Type", "application/xml; charset=utf-8"}},
                [this, url](const DavReply& r) {
                    // 405: it exists already, made by an earlier request.
                    if (r.ok() || r.status == 405)
                        return Q_EMIT made({url.toString(), QStringLiteral("Plumora")}, QString());
                    Q_EMIT made({}, r.describe());
                });
}
