#include "quickaccess/RecentFiles.h"

#include "platform/RegularFile.h"
#include "quickaccess/QuickAccessLog.h"

#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>

namespace {

QDateTime readStamp(QStringView text) {
    // GTK writes UTC with microseconds ("2026-03-10T08:01:02.123456Z"), older versions
    // without the fraction; Qt reads milliseconds, so the digits after them are dropped.
    QString iso = text.trimmed().toString();
    const qsizetype dot = iso.indexOf(u'.');
    if (dot >= 0) {
        qsizetype end = dot + 1;
        while (end < iso.size() && iso[end].isDigit())
            ++end;
        if (end - dot > 4)
            iso.remove(dot + 4, end - dot - 4);
    }
    QDateTime stamp = QDateTime::fromString(iso, Qt::ISODateWithMs);
    return stamp.isValid() ? stamp.toLocalTime() : QDateTime();
}

QString localPath(QStringView href) {
    QUrl url(href.toString(), QUrl::TolerantMode);
    if (!url.isValid() || url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0)
        return {};
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
        return {};
    url.setHost(QString());
    const QString path = url.toLocalFile();
    return path.startsWith(u'/') ? path : QString();
}

} // namespace

namespace RecentFiles {

QString defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/recently-used.xbel");
}

QList<Entry> parse(const QByteArray& xbel) {
    QList<Entry> entries;
    QXmlStreamReader xml(xbel);
    // The bookmark being read: its mime type comes in a child element.
    qsizetype open = -1;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("bookmark") && xml.namespaceUri().isEmpty()) {
                const QXmlStreamAttributes attributes = xml.attributes();
                const QString path = localPath(attributes.value(QLatin1String("href")));
                open = -1;
                if (path.isEmpty())
                    continue;
                const QDateTime modified = readStamp(attributes.value(QLatin1String("modified")));
                const QDateTime visited = readStamp(attributes.value(QLatin1String("visited")));
                entries.append({path,
                                !visited.isValid() || (modified.isValid() && modified > visited)
                                    ? modified
                                    : visited,
                                {}});
                open = entries.size() - 1;
            } else if (open >= 0 && xml.name() == QLatin1String("mime-type")) {
                entries[open].mimeType = xml.attributes().value(QLatin1String("type")).toString();
            }
        } else if (token == QXmlStreamReader::EndElement &&
                   xml.name() == QLatin1String("bookmark") && xml.namespaceUri().isEmpty()) {
            open = -1;
        }
    }
    if (xml.hasError())
        qCWarning(lcQuickAccess) << "recent files list damaged at line" << xml.lineNumber() << ":"
                                 << xml.errorString() << "- kept" << entries.size() << "entries";
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
