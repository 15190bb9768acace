// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Secrets kept by the desktop's keyring (the freedesktop Secret Service), each under a key
// of Plumora's own ("mail"; the calendar sync keeps its own). Every call answers once and
// later, never from within the call; an answer whose receiver is gone is dropped.
class SecretStore {
public:
    enum class Status {
        Done,
        NotFound,  // read: the keyring holds nothing under the key
        NoKeyring, // no keyring runs, or it refused the request
        Cancelled, // the user dismissed the keyring's prompt: it stayed locked, or access was
                   // refused
        Failed,
    };
    struct Result {
        Status status = Status::Failed;
        QString secret; // read: what the keyring holds
        QString error;  // for the log
    };
    using Done = std::function<void(const Result&)>;

    virtual ~SecretStore() = default;
    virtual void read(const QString& key, QObject* receiver, Done done) = 0;
    virtual void write(const QString& key, const QString& secret, QObject* receiver, Done done) = 0;
    virtual void remove(const QString& key, QObject* receiver, Done done) = 0;
};
