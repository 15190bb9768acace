// SPDX-License-Identifier: GPL-3.0-or-later
#include "quickaccess/CdDrives.h"

#include "platform/RegularFile.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace {

constexpr qint64 MaxSmallFile = 1024 * 1024;

QList<bool> flags(const QStringList& values) {
    QList<bool> result;
    for (const QString& value : values)
        result.append(value != QLatin1String("0"));
    return result;
}

// A path on a disc written for a case-blind system: each missing component is looked up
// without regard to case. "" when it cannot be found.
QString findOnDisc(const QString& root, const QString& relative) {
    QString path = root;
    for (const QString& part : relative.split(u'/', Qt::SkipEmptyParts)) {
        const QString exact = path + u'/' + part;
        if (QFileInfo::exists(exact)) {
            path = exact;
            continue;
        }
        const QStringList names = QDir(path).entryList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::System | QDir::NoDotAndDotDot);
        const auto it = std::find_if(names.cbegin(), names.cend(), [&](const QString& name) {
            return name.compare(part, Qt::CaseInsensitive) == 0;
        });
        if (it == names.cend())
            return {};
        path += u'/' + *it;
    }
    return path;
}

bool isInside(const QString& path, const QString& root) {
    return root == QLatin1String("/") || path.startsWith(root + u'/');
}

} // namespace

namespace CdDrives {

QList<Drive> parse(const QByteArray& info) {
    QStringList names;
    QList<bool> canOpen;
    QList<bool> canClose;
    for (const QByteArray& line : info.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QString key = QString::fromLatin1(line.left(colon)).trimmed().toLower();
        const QStringList values =
            QString::fromLatin1(line.mid(colon + 1)).simplified().split(u' ', Qt::SkipEmptyParts);
        if (key == QLatin1String("drive name"))
            names = values;
        else if (key == QLatin1String("can open tray"))
            canOpen = flags(values);
        else if (key == QLatin1String("can close tray"))
            canClose = flags(values);
    }
    QList<Drive> drives;
    for (qsizetype i = 0; i < names.size(); ++i) {
        // A name is a device node in /dev, never a path.
        if (names[i].contains(u'/') || names[i].startsWith(u'.'))
            continue;
        drives.append(
            {QStringLiteral("/dev/") + names[i], canOpen.value(i, true), canClose.value(i, true)});
    }
    QCollator collator;
    collator.setNumericMode(true);
    std::sort(drives.begin(), drives.end(), [&](const Drive& a, const Drive& b) {
        return collator.compare(a.device, b.device) < 0;
    });
    return drives;
}

QList<Drive> list(const QString& infoPath) {
    const std::optional<QByteArray> info = RegularFile::read(infoPath, MaxSmallFile);
    return info ? parse(*info) : QList<Drive>();
}

QString mountPointOf(const QString& device, const QList<MountTable::Mount>& mounts) {
    const QString canonical = QFileInfo(device).canonicalFilePath();
    for (const MountTable::Mount& mount : mounts) {
        if (mount.source == device ||
            (!canonical.isEmpty() && QFileInfo(mount.source).canonicalFilePath() == canonical))
            return mount.mountPoint;
    }
    return {};
}

QString autorunInfOpen(const QByteArray& inf) {
    auto decoder =
        QStringDecoder(QStringConverter::encodingForData(inf).value_or(QStringConverter::Utf8));
    const QString text = decoder.decode(inf);
    bool inSection = false;
    for (QString line : text.split(u'\n')) {
        line = line.trimmed(); // also drops the \r of CR LF lines
        if (line.startsWith(u'[')) {
            inSection = line.compare(QLatin1String("[autorun]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inSection || equals < 0 ||
            line.left(equals).trimmed().compare(QLatin1String("open"), Qt::CaseInsensitive) != 0)
            continue;
        QString value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
            value = value.mid(1, value.size() - 2).trimmed();
        return value;
    }
    return {};
}

LaunchCommand autorunOf(const QString& mountPoint) {
    const QString root = QDir::cleanPath(mountPoint);
    if (root.isEmpty() || !QFileInfo(root).isDir())
        return {};
    const QString inf = findOnDisc(root, QStringLiteral("autorun.inf"));
    if (!inf.isEmpty()) {
        const std::optional<QByteArray> data = RegularFile::read(inf, MaxSmallFile);
        QString open = data ? autorunInfOpen(*data) : QString();
        open.replace(u'\\', u'/');
        const QString program =
            open.isEmpty() ? QString() : findOnDisc(root, QDir::cleanPath(open));
        // A value that climbs out of the disc ("..\..\") is not followed.
        if (!program.isEmpty() && isInside(QDir::cleanPath(program), root))
            return {program, {}, root};
    }
    for (const QString& name :
         {QStringLiteral(".autorun"), QStringLiteral("autorun"), QStringLiteral("autorun.sh")}) {
        const QFileInfo file(root + u'/' + name);
        if (!file.isFile())
            continue;
        if (file.isExecutable())
            return {file.absoluteFilePath(), {}, root};
        return {QStringLiteral("/bin/sh"), {file.absoluteFilePath()}, root};
    }
    return {};
}

} // namespace CdDrives
