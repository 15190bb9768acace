// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>

// Recent-files lists written the way GLib writes them: escaped hrefs, UTC stamps with
// microseconds, and an application record inside each bookmark.
namespace XbelWriter {

struct Bookmark {
    QString href;
    QDateTime modified;
    QDateTime visited; // the modified stamp when invalid
    QString mime;
};

inline Bookmark mark(const QString& href, const QDateTime& modified, const QDateTime& visited = {},
                     const QString& mime = QStringLiteral("text/plain")) {
    return {href, modified, visited, mime};
}

// A local path as GLib makes it a URI: UTF-8, percent-encoded, "&" and the like kept.
inline QString fileHref(const QString& path) {
    return "file://" + QString::fromLatin1(QUrl::toPercentEncoding(path, "!$&'()*+,;=:@/~"));
}

inline QByteArray write(const QList<Bookmark>& bookmarks) {
    const auto stamp = [](const QDateTime& t) -> QByteArray {
        return t.toUTC().toString("yyyy-MM-ddTHH:mm:ss.zzz").toLatin1() + "000Z";
    };
    QByteArray out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\"\n"
        "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
        "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n>\n";
    for (const Bookmark& b : bookmarks) {
        const QByteArray modified = stamp(b.modified);
        out +=
            "  <bookmark href=\"" + b.href.toHtmlEscaped().toUtf8() + "\" added=\"" + modified +
            "\" modified=\"" + modified + "\" visited=\"" +
            (b.visited.isValid() ? stamp(b.visited) : modified) +
            "\">\n    <info>\n      <metadata owner=\"http://freedesktop.org\">\n"
            "        <mime:mime-type type=\"" +
            b.mime.toUtf8() +
            "\"/>\n        <bookmark:applications>\n"
            "          <bookmark:application name=\"Text Editor\" exec=\"&apos;gnome-text-editor "
            "%u&apos;\" modified=\"2001-01-01T00:00:00.000000Z\" count=\"1\"/>\n"
            "        </bookmark:applications>\n      </metadata>\n    </info>\n  </bookmark>\n";
    }
    return out + "</xbel>";
}

} // namespace XbelWriter
