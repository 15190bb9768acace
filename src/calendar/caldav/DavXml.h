// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// One <response> of a WebDAV multistatus (RFC 4918), with the properties a calendar
// client asks for. Only properties of a propstat whose status is 2xx are kept.
struct DavResponse {
    QString href;            // as the server wrote it
    int status = 0;          // the response's own status (404 for a removed member), else 0
    QString etag;            // DAV:getetag
    QByteArray calendarData; // CALDAV:calendar-data
    QString displayName;     // DAV:displayname
    bool isCollection = false;
    bool isCalendar = false;
    // CALDAV:supported-calendar-component-set names VEVENT, or is not given.
    bool takesEvents = true;
    QString principal;    // DAV:current-user-principal
    QString calendarHome; // CALDAV:calendar-home-set
    QString syncToken;    // DAV:sync-token as a property of a collection
};

struct DavMultistatus {
    std::vector<DavResponse> responses;
    QString syncToken; // the sync-collection REPORT's new token
    QString error;     // empty when the body was read
    bool ok() const { return error.isEmpty(); }
};

// Reads and writes the XML of WebDAV and CalDAV with QXmlStreamReader. Names are matched
// by namespace and local name, whatever the prefixes.
namespace DavXml {

constexpr qint64 MaxBytes = 50 * 1024 * 1024;
// The most bytes before the root element (XML declaration, comments, blanks).
constexpr qint64 PrologMax = 64 * 1024;

// A multistatus body; refuses anything over MaxBytes, malformed XML, a DTD, a prolog over
// PrologMax and a document whose root is not DAV:multistatus.
DavMultistatus parse(const QByteArray& body);
// The status code of "HTTP/1.1 404 Not Found"; 0 when there is none.
int statusCode(const QString& line);

// Request bodies.
QByteArray principalQuery();                     // PROPFIND: current-user-principal, resourcetype
QByteArray homeQuery();                          // PROPFIND: calendar-home-set
QByteArray calendarsQuery();                     // PROPFIND: resourcetype, displayname, components
QByteArray listQuery();                          // PROPFIND: getetag, resourcetype, sync-token
QByteArray syncCollection(const QString& token); // REPORT sync-collection, level 1
QByteArray multiget(const QStringList& hrefs);   // REPORT calendar-multiget
QByteArray makeCalendar(const QString& name);    // MKCALENDAR of events

} // namespace DavXml
