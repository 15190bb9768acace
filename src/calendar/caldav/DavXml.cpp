// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/caldav/DavXml.h"

#include <QCoreApplication>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

const QString Dav = QStringLiteral("DAV:");
const QString CalDav = QStringLiteral("urn:ietf:params:xml:ns:caldav");

bool is(const QXmlStreamReader& x, const QString& ns, const char* name) {
    return x.namespaceUri() == ns && x.name() == QLatin1String(name);
}

// The first DAV:href inside the current element, which is consumed.
QString innerHref(QXmlStreamReader& x) {
    QString href;
    int depth = 1;
    while (depth > 0 && !x.atEnd()) {
        switch (x.readNext()) {
        case QXmlStreamReader::StartElement:
            if (href.isEmpty() && is(x, Dav, "href")) {
                href = x.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            } else {
                ++depth;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return href;
}

// Skips the rest of the current element.
void skip(QXmlStreamReader& x) {
    x.skipCurrentElement();
}

// One DAV:prop into `r`.
void readProp(QXmlStreamReader& x, DavResponse& r) {
    while (x.readNextStartElement()) {
        if (is(x, Dav, "getetag")) {
            r.etag = x.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (is(x, CalDav, "calendar-data")) {
            r.calendarData = x.readElementText(QXmlStreamReader::SkipChildElements).toUtf8();
        } else if (is(x, Dav, "displayname")) {
            r.displayName = x.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (is(x, Dav, "sync-token")) {
            r.syncToken = x.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (is(x, Dav, "current-user-principal")) {
            r.principal = innerHref(x);
        } else if (is(x, CalDav, "calendar-home-set")) {
            r.calendarHome = innerHref(x);
        } else if (is(x, Dav, "resourcetype")) {
            while (x.readNextStartElement()) {
                if (is(x, Dav, "collection"))
                    r.isCollection = true;
                else if (is(x, CalDav, "calendar"))
                    r.isCalendar = true;
                skip(x);
            }
        } else if (is(x, CalDav, "supported-calendar-component-set")) {
            r.takesEvents = false;
            while (x.readNextStartElement()) {
                if (is(x, CalDav, "comp") &&
                    x.attributes()
                            .value(QLatin1String("name"))
                            .compare(QLatin1String("VEVENT"), Qt::CaseInsensitive) == 0)
                    r.takesEvents = true;
                skip(x);
            }
        } else {
            skip(x);
        }
    }
}

// One DAV:propstat: its properties count only when its status is 2xx.
void readPropstat(QXmlStreamReader& x, DavResponse& r) {
    DavResponse props;
    int status = 200;
    while (x.readNextStartElement()) {
        if (is(x, Dav, "prop"))
            readProp(x, props);
        else if (is(x, Dav, "status"))
            status = DavXml::statusCode(x.readElementText(QXmlStreamReader::SkipChildElements));
        else
            skip(x);
    }
    if (status < 200 || status > 299)
        return;
    const auto take = [](auto& to, const auto& from) {
        if (!from.isEmpty())
            to = from;
    };
    take(r.etag, props.etag);
    take(r.calendarData, props.calendarData);
    take(r.displayName, props.displayName);
    take(r.principal, props.principal);
    take(r.calendarHome, props.calendarHome);
    take(r.syncToken, props.syncToken);
    r.isCollection = r.isCollection || props.isCollection;
    r.isCalendar = r.isCalendar || props.isCalendar;
    r.takesEvents = r.takesEvents && props.takesEvents;
}

DavResponse readResponse(QXmlStreamReader& x) {
    DavResponse r;
    while (x.readNextStartElement()) {
        if (is(x, Dav, "href") && r.href.isEmpty())
            r.href = x.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        else if (is(x, Dav, "status"))
            r.status = DavXml::statusCode(x.readElementText(QXmlStreamReader::SkipChildElements));
        else if (is(x, Dav, "propstat"))
            readPropstat(x, r);
        else
            skip(x);
    }
    return r;
}

// A request body's writer, with the two namespaces declared on the root.
class Body {
public:
    Body(const char* root, const QString& ns) : m_x(&m_out) {
        m_x.writeStartDocument();
        m_x.writeNamespace(Dav, QStringLiteral("d"));
        m_x.writeNamespace(CalDav, QStringLiteral("c"));
        m_x.writeStartElement(ns, QLatin1String(root));
    }
    QXmlStreamWriter& x() { return m_x; }
    // The props named, as empty elements of DAV: or CalDAV.
    void props(std::initializer_list<std::pair<bool, const char*>> names) {
        m_x.writeStartElement(Dav, QStringLiteral("prop"));
        for (const auto& [cal, name] : names)
            m_x.writeEmptyElement(cal ? CalDav : Dav, QLatin1String(name));
        m_x.writeEndElement();
    }
    QByteArray done() {
        m_x.writeEndDocument();
        return m_out;
    }

private:
    QByteArray m_out;
    QXmlStreamWriter m_x;
};

} // namespace

namespace DavXml {

int statusCode(const QString& line) {
    const QStringList parts = line.simplified().split(u' ');
    if (parts.size() < 2 || !parts[0].startsWith(QLatin1String("HTTP/")))
        return 0;
    bool ok = false;
    const int code = parts[1].toInt(&ok);
    return ok && code >= 100 && code <= 599 ? code : 0;
}

DavMultistatus parse(const QByteArray& body) {
    DavMultistatus m;
    if (body.size() > MaxBytes) {
        m.error = QCoreApplication::translate("DavXml", "the server's answer is larger than 50 MB");
        return m;
    }
    // No server writes a DTD in a multistatus; an answer that brings one is refused,
    // whatever follows it. The root element comes within the first PrologMax bytes: they are
    // read on their own first, so that a long DTD (or any long preamble) is refused before
    // the reader takes it in whole, which costs several times its size.
    const QByteArray head = body.left(PrologMax);
    const QString dtd = QCoreApplication::translate(
        "DavXml", "the server's answer is not a multistatus (it holds a DTD)");
    QXmlStreamReader prolog(head);
    while (!prolog.atEnd() && prolog.readNext() != QXmlStreamReader::StartElement) {
        if (prolog.tokenType() == QXmlStreamReader::DTD) {
            m.error = dtd;
            return m;
        }
    }
    if (prolog.error() == QXmlStreamReader::PrematureEndOfDocumentError &&
        body.size() > head.size()) {
        m.error =
            head.contains("<!DOCTYPE")
                ? dtd
                : QCoreApplication::translate("DavXml", "the server's answer is not a multistatus "
                                                        "(no element in its first %1 kB)")
                      .arg(PrologMax / 1024);
        return m;
    }
    QXmlStreamReader x(body);
    x.readNextStartElement();
    if (!x.isStartElement() || !is(x, Dav, "multistatus")) {
        m.error =
            x.hasError()
                ? QCoreApplication::translate("DavXml",
                                              "the server's answer is not XML: %1 (line %2)")
                      .arg(x.errorString(), QString::number(x.lineNumber()))
                : QCoreApplication::translate("DavXml", "the server's answer is not a multistatus");
        return m;
    }
    while (x.readNextStartElement()) {
        if (is(x, Dav, "response"))
            m.responses.push_back(readResponse(x));
        else if (is(x, Dav, "sync-token"))
            m.syncToken = x.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        else
            skip(x);
    }
    if (x.hasError()) {
        m.responses.clear();
        m.syncToken.clear();
        m.error = QCoreApplication::translate(
                      "DavXml", "the server's answer is not well-formed XML: %1 (line %2)")
                      .arg(x.errorString(), QString::number(x.lineNumber()));
    }
    return m;
}

QByteArray principalQuery() {
    Body b("propfind", Dav);
    b.props({{false, "current-user-principal"}, {false, "resourcetype"}});
    return b.done();
}

QByteArray homeQuery() {
    Body b("propfind", Dav);
    b.props({{true, "calendar-home-set"}});
    return b.done();
}

QByteArray calendarsQuery() {
    Body b("propfind", Dav);
    b.props({{false, "resourcetype"},
             {false, "displayname"},
             {true, "supported-calendar-component-set"}});
    return b.done();
}

QByteArray listQuery() {
    Body b("propfind", Dav);
    b.props({{false, "getetag"}, {false, "resourcetype"}, {false, "sync-token"}});
    return b.done();
}

QByteArray syncCollection(const QString& token) {
    Body b("sync-collection", Dav);
    b.x().writeTextElement(Dav, QStringLiteral("sync-token"), token);
    b.x().writeTextElement(Dav, QStringLiteral("sync-level"), QStringLiteral("1"));
    b.props({{false, "getetag"}});
    return b.done();
}

QByteArray multiget(const QStringList& hrefs) {
    Body b("calendar-multiget", CalDav);
    b.props({{false, "getetag"}, {true, "calendar-data"}});
    for (const QString& href : hrefs)
        b.x().writeTextElement(Dav, QStringLiteral("href"), href);
    return b.done();
}

QByteArray makeCalendar(const QString& name) {
    Body b("mkcalendar", CalDav);
    b.x().writeStartElement(Dav, QStringLiteral("set"));
    b.x().writeStartElement(Dav, QStringLiteral("prop"));
    b.x().writeTextElement(Dav, QStringLiteral("displayname"), name);
    b.x().writeStartElement(CalDav, QStringLiteral("supported-calendar-component-set"));
    b.x().writeEmptyElement(CalDav, QStringLiteral("comp"));
    b.x().writeAttribute(QStringLiteral("name"), QStringLiteral("VEVENT"));
    b.x().writeEndElement();
    b.x().writeEndElement();
    b.x().writeEndElement();
    return b.done();
}

} // namespace DavXml
