// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Downloader.h"
#include "platform/HttpClient.h"

#include <memory>

// Downloads over HTTP(S) with an HttpClient, each within its ReadLimits: a transfer that has
// not finished within the time limit is abandoned, unless its body still arrives at a healthy
// rate; one that stalls is abandoned sooner.
class HttpDownloader final : public Downloader {
public:
    static constexpr int DefaultTimeLimitMs = 60000;

    explicit HttpDownloader(int timeLimitMs = DefaultTimeLimitMs);
    ~HttpDownloader() override;
    void fetch(const QUrl& url, qint64 maxBytes, QObject* receiver, Done done) override;

private:
    int m_timeLimitMs;
    // Made on first use: a session that never downloads never loads the network code.
    std::unique_ptr<HttpClient> m_client;
};
