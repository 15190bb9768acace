// SPDX-License-Identifier: GPL-3.0-or-later
// A calendar collection at /cal/ served over HttpResponder: PROPFIND, sync-collection and
// calendar-multiget REPORTs, GET, PUT and DELETE with ETag preconditions. `intercept` may
// answer a request first (a failure, a redirect).
#pragma once

#include "mock/HttpResponder.h"

#include <QMap>
#include <QRegularExpression>

#include <optional>

class FakeCalDavServer {
public:
    struct Item {
        QByteArray etag;
        QByteArray body;
    };
    HttpResponder http;
    QMap<QByteArray, Item> items; // by path
    int token = 1;
    bool syncCollection = true;
    std::function<std::optional<HttpResponder::Response>(const HttpResponder::Request&)> intercept;

    FakeCalDavServer() {
        http.handler = [this](const HttpResponder::Request& r) { return answer(r); };
    }
    QByteArray calendarUrl() const { return http.base() + "/cal/"; }
    // Puts an event as another client would.
    void put(const QByteArray& name, const QByteArray& ics) { store("/cal/" + name, ics); }
    // Deletes every event as another client would, or as a failing storage loses them.
    void dropAll() {
        for (auto it = items.cbegin(); it != items.cend(); ++it)
            m_log.append({++token, it.key(), true});
        items.clear();
    }
    QList<QByteArray> summaries() const {
        QList<QByteArray> out;
        static const QRegularExpression summary(QStringLiteral("SUMMARY:([^\r\n]*)"));
        for (const Item& i : items)
            out << summary.match(QString::fromUtf8(i.body)).captured(1).toUtf8();
        std::sort(out.begin(), out.end());
        return out;
    }
    int count(const QByteArray& method) const {
        int n = 0;
        for (const auto& r : http.requests)
            n += r.method == method;
        return n;
    }

private:
    // Changes by token: each a path and whether it was removed.
    QList<std::tuple<int, QByteArray, bool>> m_log;
    int m_etag = 0;

    void store(const QByteArray& path, const QByteArray& body) {
        items[path] = {"\"e" + QByteArray::number(++m_etag) + '"', body};
        m_log.append({++token, path, false});
    }
    static QByteArray xml(const QByteArray& inner) {
        return "<?xml version=\"1.0\"?><D:multistatus xmlns:D=\"DAV:\" "
               "xmlns:C=\"urn:ietf:params:xml:ns:caldav\">" +
               inner + "</D:multistatus>";
    }
    static QByteArray escaped(const QByteArray& b) {
        return QString::fromUtf8(b).toHtmlEscaped().toUtf8();
    }
    static QByteArray member(const QByteArray& path, const Item& i, bool data) {
        return "<D:response><D:href>" + path + "</D:href><D:propstat><D:prop><D:getetag>" +
               escaped(i.etag) + "</D:getetag>" +
               (data ? QByteArray("<C:calendar-data>" + escaped(i.body) + "</C:calendar-data>")
                     : QByteArray()) +
               "</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>";
    }
    static HttpResponder::Response multistatus(const QByteArray& inner) {
        return {207, {{"Content-Type", "application/xml"}}, xml(inner)};
    }

    HttpResponder::Response answer(const HttpResponder::Request& r) {
        if (intercept)
            if (std::optional<HttpResponder::Response> a = intercept(r))
                return *a;
        const QByteArray path = QByteArray::fromPercentEncoding(r.path);
        if (r.method == "PROPFIND" && path == "/cal/") {
            QByteArray inner = "<D:response><D:href>/cal/</D:href><D:propstat><D:prop>"
                               "<D:resourcetype><D:collection/><C:calendar/></D:resourcetype>" +
                               (syncCollection ? "<D:sync-token>tok-" + QByteArray::number(token) +
                                                     "</D:sync-token>"
                                               : QByteArray()) +
                               "</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat>"
                               "</D:response>";
            for (auto it = items.cbegin(); it != items.cend(); ++it)
                inner += member(it.key(), it.value(), false);
            return multistatus(inner);
        }
        if (r.method == "REPORT" && r.body.contains("sync-collection")) {
            static const QRegularExpression tok(QStringLiteral("tok-(\\d+)"));
            const QRegularExpressionMatch m = tok.match(QString::fromUtf8(r.body));
            if (!syncCollection || !m.hasMatch() || m.captured(1).toInt() > token)
                return {403, {}, "<D:error xmlns:D=\"DAV:\"><D:valid-sync-token/></D:error>"};
            const int since = m.captured(1).toInt();
            QMap<QByteArray, bool> changed;
            for (const auto& [t, p, removed] : m_log)
                if (t > since)
                    changed[p] = removed;
            QByteArray inner;
            for (auto it = changed.cbegin(); it != changed.cend(); ++it) {
                if (it.value() || !items.contains(it.key()))
                    inner += "<D:response><D:href>" + it.key() +
                             "</D:href><D:status>HTTP/1.1 404 Not Found</D:status></D:response>";
                else
                    inner += member(it.key(), items[it.key()], false);
            }
            return multistatus(inner + "<D:sync-token>tok-" + QByteArray::number(token) +
                               "</D:sync-token>");
        }
        if (r.method == "REPORT" && r.body.contains("calendar-multiget")) {
            static const QRegularExpression href(QStringLiteral("<d:href>([^<]*)</d:href>"));
            QByteArray inner;
            auto it = href.globalMatch(QString::fromUtf8(r.body));
            while (it.hasNext()) {
                const QByteArray p =
                    QByteArray::fromPercentEncoding(it.next().captured(1).toUtf8());
                if (items.contains(p))
                    inner += member(p, items[p], true);
                else
                    inner += "<D:response><D:href>" + p +
                             "</D:href><D:status>HTTP/1.1 404 Not Found</D:status></D:response>";
            }
            return multistatus(inner);
        }
        const bool exists = items.contains(path);
        const QByteArray ifMatch = r.header("If-Match");
        if (!ifMatch.isEmpty() && (!exists || (ifMatch != "*" && ifMatch != items[path].etag)))
            return {412, {}, {}};
        if (r.method == "GET")
            return exists ? HttpResponder::Response{200,
                                                    {{"ETag", items[path].etag}},
                                                    items[path].body}
                          : HttpResponder::Response{404, {}, {}};
        if (r.method == "PUT") {
            if (r.header("If-None-Match") == "*" && exists)
                return {412, {}, {}};
            store(path, r.body);
            return {exists ? 204 : 201, {{"ETag", items[path].etag}}, {}};
        }
        if (r.method == "DELETE") {
            if (!exists)
                return {404, {}, {}};
            items.remove(path);
            m_log.append({++token, path, true});
            return {204, {}, {}};
        }
        return {405, {}, {}};
    }
};
