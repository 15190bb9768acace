// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Named pipes put where a program expects a file, and a deadline for code that must not
// block on them. A read that does block fails the test instead of hanging it: at the
// deadline a writer opens and closes each pipe, which lets the stuck reader go on.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace Fifo {

inline bool make(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// Runs `work` on a thread; true when it finished within `ms` milliseconds.
inline bool finishesWithin(const std::function<void()>& work, const QStringList& fifos,
                           int ms = 5000) {
    std::packaged_task<void()> task(work);
    std::future<void> done = task.get_future();
    std::thread thread(std::move(task));
    const bool inTime = done.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
    while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        for (const QString& fifo : fifos) {
            const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    }
    thread.join();
    return inTime;
}

} // namespace Fifo
