// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FileReplace.h"

#include "base/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const FileOps& FileOps::system() {
    static const FileOps ops{&::rename, &::link, &::fsync};
    return ops;
}

namespace {

void setError(QString* error, const QString& text) {
    qCWarning(lcData) << text;
    if (error)
        *error = text;
}

bool syncPath(const QString& path, int flags, QString* error, const FileOps& ops) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        setError(error, QCoreApplication::translate("FileReplace", "cannot open %1: %2")
                            .arg(path, qt_error_string(errno)));
        return false;
    }
    const bool ok = ops.fsync(fd) == 0;
    const int err = errno;
    ::close(fd);
    if (!ok)
        setError(error,
                 QCoreApplication::translate("FileReplace", "cannot write %1 to the disk: %2")
                     .arg(path, qt_error_string(err)));
    return ok;
}

// `from` under the second name `to`: a hard link, or a flushed copy where the file system
// has no links.
bool keepAs(const QString& from, const QString& to, QString* error, const FileOps& ops) {
    const QByteArray src = QFile::encodeName(from);
    const QByteArray dst = QFile::encodeName(to);
    ::unlink(dst.constData());
    if (ops.link(src.constData(), dst.constData()) == 0)
        return true;
    if (errno != EPERM && errno != EXDEV && errno != EOPNOTSUPP && errno != EMLINK) {
        setError(error, QCoreApplication::translate("FileReplace", "cannot keep %1 as %2: %3")
                            .arg(from, to, qt_error_string(errno)));
        return false;
    }
    const QString part = to + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(from, part) || !syncPath(part, O_RDONLY, error, ops) ||
        ops.rename(QFile::encodeName(part).constData(), dst.constData()) != 0) {
        QFile::remove(part);
        setError(error,
                 QCoreApplication::translate("FileReplace", "cannot keep %1 as %2").arg(from, to));
        return false;
    }
    return true;
}

} // namespace

namespace FileReplace {

bool syncFile(const QString& path, QString* error, const FileOps& ops) {
    return syncPath(path, O_RDONLY, error, ops);
}

bool syncFolder(const QString& folder, QString* error, const FileOps& ops) {
    return syncPath(folder, O_RDONLY | O_DIRECTORY, error, ops);
}

bool replace(const QString& part, const QString& target, const QString& kept, QString* error,
             const FileOps& ops) {
    const QString folder = QFileInfo(target).absolutePath();
    bool ok = syncFile(part, error, ops);
    if (ok && !kept.isEmpty() && QFileInfo::exists(target))
        ok = keepAs(target, kept, error, ops);
    if (ok && ops.rename(QFile::encodeName(part).constData(),
                         QFile::encodeName(target).constData()) != 0) {
        setError(error, QCoreApplication::translate("FileReplace", "cannot move %1 to %2: %3")
                            .arg(part, target, qt_error_string(errno)));
        ok = false;
    }
    if (!ok) {
        QFile::remove(part);
        return false;
    }
    // The rename is done; a folder that cannot be flushed only loses it to a power cut.
    syncFolder(folder, nullptr, ops);
    return true;
}

QString partTemplate(const QString& target) {
    return target + QStringLiteral(".part-XXXXXX");
}

bool restrictFolderToOwner(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        qCWarning(lcData) << "not restricted to its owner:" << folder << qt_error_string(errno);
        return false;
    }
    struct stat st {};
    const bool ours = ::fstat(fd, &st) == 0 && st.st_uid == ::getuid();
    const bool done = ours && ((st.st_mode & 07777) == S_IRWXU || ::fchmod(fd, S_IRWXU) == 0);
    ::close(fd);
    if (!done)
        qCWarning(lcData) << "not restricted to its owner:" << folder;
    return done;
}

namespace {

bool isAsciiLetterOrDigit(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// Whether `rest` is six letters and digits, then nothing or a journal's ending.
// `notAllSmall`: at least one of the six is not a small letter.
bool sixAndJournal(QStringView rest, bool notAllSmall) {
    if (rest.size() < 6)
        return false;
    bool allSmall = true;
    for (const QChar c : rest.left(6)) {
        if (!isAsciiLetterOrDigit(c))
            return false;
        allSmall = allSmall && c >= u'a' && c <= u'z';
    }
    if (notAllSmall && allSmall)
        return false;
    const QStringView tail = rest.mid(6);
    return tail.isEmpty() || tail == u"-journal" || tail == u"-wal" || tail == u"-shm";
}

} // namespace

int removeLeftovers(const QString& target, Leftovers which) {
    // Matched by hand rather than with regular expressions or name filters: this runs at
    // every start, where a regular expression engine would cost memory for the program's life.
    const QFileInfo info(target);
    const QString prefix = info.fileName() + u'.';
    static const QLatin1String PartMark("part-");
    // A copy's part: "NAME.part-" and six letters and digits. The older form, as
    // QTemporaryFile names: "NAME." and six letters and digits, at least one of them not a
    // small letter, so that a name such as "data.plm.backup" is never taken for one. Either
    // may carry SQLite's journal endings.
    const auto isLeftover = [&](const QString& candidate) {
        if (!candidate.startsWith(prefix))
            return false;
        const QStringView rest = QStringView(candidate).mid(prefix.size());
        if (rest.startsWith(PartMark) && sixAndJournal(rest.mid(PartMark.size()), false))
            return true;
        return which != Leftovers::Parts && sixAndJournal(rest, true);
    };
    int removed = 0;
    const QDir folder = info.absoluteDir();
    const QStringList candidates = folder.entryList(QDir::Files | QDir::Hidden);
    for (const QString& candidate : candidates) {
        if (!isLeftover(candidate))
            continue;
        if (QFile::remove(folder.filePath(candidate))) {
            qCInfo(lcData) << "removed" << candidate << "left by an interrupted copy";
            ++removed;
        }
    }
    return removed;
}

} // namespace FileReplace
