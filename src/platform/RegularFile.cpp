// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegularFile.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void setError(QString* error, const QString& path, const QString& why) {
    if (error)
        *error = path + QStringLiteral(": ") + why;
}

QString errnoText() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

namespace RegularFile {

std::optional<QByteArray> read(const QString& path, qint64 maxBytes, QString* error) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    // stat first, so that opening a device has no side effect; fstat again after the open
    // in case the file was swapped in between.
    if (::stat(name.constData(), &st) != 0) {
        setError(error, path, errnoText());
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        setError(error, path, QCoreApplication::translate("RegularFile", "not a regular file"));
        return std::nullopt;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        setError(error, path, errnoText());
        return std::nullopt;
    }
    std::optional<QByteArray> result;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        setError(error, path, QCoreApplication::translate("RegularFile", "not a regular file"));
    } else if (st.st_size > maxBytes) {
        setError(error, path,
                 QCoreApplication::translate("RegularFile", "larger than %1 bytes").arg(maxBytes));
    } else {
        // Files under /proc report size 0, so read to the end rather than trust st_size.
        QByteArray data;
        data.reserve(qsizetype(st.st_size));
        char buffer[65536];
        bool failed = false;
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                setError(error, path, errnoText());
                failed = true;
                break;
            }
            if (n == 0)
                break;
            data.append(buffer, qsizetype(n));
            if (data.size() > maxBytes) {
                setError(error, path,
                         QCoreApplication::translate("RegularFile", "larger than %1 bytes")
                             .arg(maxBytes));
                failed = true;
                break;
            }
        }
        if (!failed)
            result = std::move(data);
    }
    ::close(fd);
    return result;
}

} // namespace RegularFile
