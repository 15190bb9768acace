// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/RecentFiles.h"

#include "platform/RegularFile.h"
#include "quickaccess/QuickAccessLog.h"

#include <QStandardPaths>
#include <QUrl>

// The list is read by a small scanner of its own rather than a general XML reader: GLib
// writes a fixed, simple form, and an application record of several hundred bytes sits
// inside every bookmark, so a full XML reader spends most of its time on text that is never
// used (several times the scanner's cost on a list of 1,000 entries). What is read: the
// start tag of every <bookmark> (href, modified, visited) and its <mime:mime-type>. A
// list cut off or damaged inside a tag ends before that tag.

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The first '>' at or after `from` outside a quoted attribute value, or -1.
qsizetype tagEnd(QByteArrayView data, qsizetype from) {
    char quote = 0;
    for (qsizetype i = from; i < data.size(); ++i) {
        const char c = data[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        }
    }
    return -1;
}

// Character and predefined entity references replaced; others are left as written.
QByteArray decodeEntities(QByteArrayView raw) {
    if (!raw.contains('&'))
        return raw.toByteArray();
    QByteArray out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        // The longest reference read is "&#x10FFFF;": look no further for its end.
        const qsizetype semicolon =
            raw[i] == '&' ? raw.sliced(i, std::min<qsizetype>(11, raw.size() - i)).indexOf(';')
                          : -1;
        if (semicolon < 0) {
            out.append(raw[i]);
            continue;
        }
        const QByteArrayView name = raw.sliced(i + 1, semicolon - 1);
        static const std::pair<const char*, char> named[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        bool known = false;
        for (const auto& [entity, c] : named) {
            if (name == entity) {
                out.append(c);
                known = true;
            }
        }
        if (!known && name.startsWith('#')) {
            bool ok = false;
            const uint code = name.startsWith("#x") || name.startsWith("#X")
                                  ? name.sliced(2).toUInt(&ok, 16)
                                  : name.sliced(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF) {
                const char32_t c = code;
                out.append(QString::fromUcs4(&c, 1).toUtf8());
                known = true;
            }
        }
        if (known)
            i += semicolon;
        else
            out.append(raw[i]);
    }
    return out;
}

// Calls `take(name, raw value)` for each attribute of a start tag's text; false when the
// text is not a well-formed attribute list.
template <typename Take> bool readAttributes(QByteArrayView text, Take take) {
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text[i]))
            ++i;
    };
    for (;;) {
        skipBlanks();
        if (i >= text.size())
            return true;
        const qsizetype nameStart = i;
        while (i < text.size() && !isBlank(text[i]) && text[i] != '=')
            ++i;
        const QByteArrayView name = text.sliced(nameStart, i - nameStart);
        skipBlanks();
        if (name.isEmpty() || i >= text.size() || text[i] != '=')
            return false;
        ++i;
        skipBlanks();
        if (i >= text.size() || (text[i] != '"' && text[i] != '\''))
            return false;
        const qsizetype close = text.indexOf(text[i], i + 1);
        if (close < 0)
            return false;
        take(name, text.sliced(i + 1, close - i - 1));
        i = close + 1;
    }
}

bool readDigits(QByteArrayView text, qsizetype at, qsizetype count, int* value) {
    *value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return false;
        *value = *value * 10 + (text[i] - '0');
    }
    return true;
}

// GLib writes UTC with microseconds ("2026-03-10T08:01:02.123456Z"), older versions
// without the fraction; that form is read directly, any other ISO form through Qt.
QDateTime readStamp(QByteArrayView text) {
    text = text.trimmed();
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (text.size() >= 20 && text.back() == 'Z' && readDigits(text, 0, 4, &y) && text[4] == '-' &&
        readDigits(text, 5, 2, &mo) && text[7] == '-' && readDigits(text, 8, 2, &d) &&
        text[10] == 'T' && readDigits(text, 11, 2, &h) && text[13] == ':' &&
        readDigits(text, 14, 2, &mi) && text[16] == ':' && readDigits(text, 17, 2, &s)) {
        qsizetype at = 19;
        int ms = 0;
        if (text[at] == '.') {
            int scale = 100;
            for (++at; at < text.size() - 1 && text[at] >= '0' && text[at] <= '9';
                 ++at, scale /= 10)
                ms += (text[at] - '0') * scale;
        }
        if (at == text.size() - 1) {
            const QDate date(y, mo, d);
            const QTime time(h, mi, s, ms);
            return date.isValid() && time.isValid() ? QDateTime(date, time, Qt::UTC) : QDateTime();
        }
    }
    const QDateTime stamp =
        QDateTime::fromString(QString::fromLatin1(text.toByteArray()), Qt::ISODateWithMs);
    return stamp.isValid() ? stamp.toUTC() : QDateTime();
}

// The local path of a "file:" URI with no host or "localhost", percent-decoded as UTF-8;
// "" for any other URI.
QString localPath(const QByteArray& href) {
    const QByteArrayView scheme("file://");
    if (href.size() < scheme.size() ||
        href.first(scheme.size()).compare(scheme, Qt::CaseInsensitive) != 0)
        return {};
    const QByteArrayView rest = QByteArrayView(href).sliced(scheme.size());
    const qsizetype slash = rest.indexOf('/');
    const QByteArrayView host = rest.first(std::max<qsizetype>(slash, 0));
    if (slash < 0 || (!host.isEmpty() && host.compare("localhost", Qt::CaseInsensitive) != 0))
        return {};
    QByteArrayView path = rest.sliced(slash);
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] == '?' || path[i] == '#') {
            path = path.first(i);
            break;
        }
    }
    return QUrl::fromPercentEncoding(path.toByteArray());
}

} // namespace

namespace RecentFiles {

QString defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/recently-used.xbel");
}

QList<Entry> parse(const QByteArray& xbel) {
    const QByteArrayView data(xbel);
    const QByteArrayView bookmark("<bookmark");
    const QByteArrayView bookmarkEnd("</bookmark>");
    const QByteArrayView mimeType("<mime:mime-type");
    QList<Entry> entries;
    qsizetype at = 0;
    while ((at = data.indexOf(bookmark, at)) >= 0) {
        const qsizetype nameEnd = at + bookmark.size();
        if (nameEnd >= data.size() || !isBlank(data[nameEnd])) {
            at = nameEnd; // <bookmark:applications> and the like
            continue;
        }
        const qsizetype end = tagEnd(data, nameEnd);
        if (end < 0)
            break;
        const bool selfClosed = data[end - 1] == '/';
        QByteArray href;
        QDateTime modified;
        QDateTime visited;
        const bool wellFormed =
            readAttributes(data.sliced(nameEnd, end - nameEnd - (selfClosed ? 1 : 0)),
                           [&](QByteArrayView name, QByteArrayView value) {
                               if (name == "href")
                                   href = decodeEntities(value);
                               else if (name == "modified")
                                   modified = readStamp(value);
                               else if (name == "visited")
                                   visited = readStamp(value);
                           });
        if (!wellFormed) {
            qCWarning(lcQuickAccess) << "recent files list damaged at byte" << at << "- kept"
                                     << entries.size() << "entries";
            break;
        }
        at = end + 1;
        const qsizetype close = selfClosed ? at : data.indexOf(bookmarkEnd, at);
        const qsizetype limit = close < 0 ? data.size() : close;
        QString mime;
        if (!selfClosed) {
            // Only inside this bookmark: a search past its end would make the scan quadratic.
            const qsizetype inside = data.sliced(at, limit - at).indexOf(mimeType);
            const qsizetype type = inside < 0 ? -1 : at + inside;
            const qsizetype typeEnd =
                type < 0 ? -1 : tagEnd(data.first(limit), type + mimeType.size());
            if (type >= 0 && typeEnd >= 0 && typeEnd < limit)
                readAttributes(
                    data.sliced(type + mimeType.size(), typeEnd - type - mimeType.size() -
                                                            (data[typeEnd - 1] == '/' ? 1 : 0)),
                    [&](QByteArrayView name, QByteArrayView value) {
                        if (name == "type")
                            mime = QString::fromUtf8(decodeEntities(value));
                    });
        }
        at = close < 0 ? data.size() : limit;

        QString path = localPath(href);
        if (path.isEmpty())
            continue;
        const QDateTime& later =
            !visited.isValid() || (modified.isValid() && modified > visited) ? modified : visited;
        entries.append({std::move(path), later, std::move(mime)});
    }
    return entries;
}

QList<Entry> read(const QString& path) {
    QString error;
    const std::optional<QByteArray> data = RegularFile::read(path, MaxFileBytes, &error);
    if (!data) {
        qCWarning(lcQuickAccess) << "recent files list not read:" << error;
        return {};
    }
    return parse(*data);
}

} // namespace RecentFiles
