// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Downloader.h"

#include <QNetworkAccessManager>

#include <memory>

// Downloads over HTTP(S) with QNetworkAccessManager, each within its ReadLimits: a
// transfer that has not finished within the time limit is abandoned, unless its body still
// arrives at a healthy rate; one that stalls is abandoned sooner.
class HttpDownloader final : public Downloader {
public:
    static constexpr int DefaultTimeLimitMs = 60000;

    explicit HttpDownloader(int timeLimitMs = DefaultTimeLimitMs) : m_timeLimitMs(timeLimitMs) {}
    void fetch(const QUrl& url, qint64 maxBytes, QObject* receiver, Done done) override;

private:
    int m_timeLimitMs;
    // Made on first use: a session that never downloads never starts the network stack.
    std::unique_ptr<QNetworkAccessManager> m_manager;
};
