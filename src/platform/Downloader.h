// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>

class QObject;

// What one download brought: the body, or why there is none.
struct Download {
    QByteArray body;
    QString error;         // empty when the whole body arrived
    bool tooLarge = false; // the body ran past the size limit and was dropped
    bool ok() const { return error.isEmpty(); }
};

// Fetches web resources into memory, in the background: fetch() returns at once and the
// answer comes later through the event loop.
class Downloader {
public:
    using Done = std::function<void(const Download&)>;

    virtual ~Downloader() = default;
    // Starts fetching `url` (http or https). `done` runs exactly once, unless `receiver` is
    // destroyed first: then the transfer is cancelled and `done` never runs. A body longer
    // than `maxBytes` ends the transfer with tooLarge set and no body.
    virtual void fetch(const QUrl& url, qint64 maxBytes, QObject* receiver, Done done) = 0;
};
