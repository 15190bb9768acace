// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/caldav/DavHttp.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <vector>

// A calendar of events found on the server.
struct DiscoveredCalendar {
    QString url;
    QString name;
};
Q_DECLARE_METATYPE(DiscoveredCalendar)

// Finds the user's calendars: /.well-known/caldav (else the address itself) for
// current-user-principal, the principal's calendar-home-set, then a Depth-1 PROPFIND of the
// home for calendars that take events. Also makes the calendar "Plumora" in the home.
class CalDavDiscovery : public QObject {
    Q_OBJECT
public:
    explicit CalDavDiscovery(QObject* parent = nullptr);

    void discover(const QString& server, const QString& user, const QString& password);
    // After a discovery found the home: makes "Plumora" there (or finds it made).
    void makeCalendar();

Q_SIGNALS:
    // `error` is empty on success.
    void found(const std::vector<DiscoveredCalendar>& calendars, const QString& error);
    void made(const DiscoveredCalendar& calendar, const QString& error);

private:
    void askPrincipal(const QUrl& url, bool fallback);
    void askHome(const QUrl& principal);
    void listCalendars();
    void fail(const QString& error);

    DavHttp m_http;
    QUrl m_server;
    QUrl m_home;
};
