// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/ical/IcsImport.h"
#include "data/DataStores.h"
#include "data/FileSchema.h"
#include "shell/Jobs.h"

#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>
#include <vector>

class ChangeHub;
class EventStore;
class Clock;
class Downloader;

// A published calendar the user follows. Its events are rows of Events carrying its ID;
// each refresh makes them mirror the calendar again.
struct Subscription {
    int id = 0;
    QString name;
    QString url; // as the user gave it (https:// or webcal://)
    int everyMinutes = 1440;
    QDateTime lastRefresh; // invalid: never refreshed
    int failures = 0;      // refreshes failed in a row
};

namespace SubscriptionRules {
constexpr int Hourly = 60;
constexpr int Daily = 1440;
constexpr int Weekly = 10080;

// The address to fetch for what the user typed: https:// as it is, webcal:// as https://;
// for the machine itself, which rarely has a certificate, http:// as it is and webcal:// as
// http://; invalid for anything else.
QUrl fetchUrl(const QString& address);
// Whether a refresh is due at `now`.
bool isDue(const Subscription& s, const QDateTime& now);
} // namespace SubscriptionRules

// The Subscriptions table. Each call opens the data file for one operation.
class SubscriptionStore {
public:
    // Its tables in the data file, and the steps that brought older files to them.
    static SchemaPart tables();
    explicit SubscriptionStore(QString dataFile, ChangeHub* changes = nullptr)
        : m_path(std::move(dataFile)), m_changes(changes) {}

    std::vector<Subscription> all();
    // The new subscription's ID; 0 on failure.
    int add(const Subscription& s);
    // The subscription and all its events, in one transaction.
    bool remove(int id);
    // A refresh's outcome: success resets the failure count, failure adds one.
    bool recordRefresh(int id, const QDateTime& at, bool ok);
    // How many events the subscription has; -1 when the file could not be read.
    int eventCount(int id);
    QString lastError() const { return m_error; }
    const QString& dataFile() const { return m_path; }

private:
    QString m_path;
    ChangeHub* m_changes = nullptr;
    QString m_error;
};

// Refreshes subscriptions through the Downloader: the download runs in the background,
// its calendar is read on a worker thread when it arrives and then stored. A failed refresh keeps
// the rows as they were; the first failure of a streak is told through `tell`, later ones only
// logged.
class SubscriptionRefresh : public QObject {
    Q_OBJECT
public:
    using Tell = std::function<void(const QString& text)>;
    SubscriptionRefresh(const DataStores& stores, Clock& clock, Downloader& downloader, Tell tell,
                        QObject* parent = nullptr);

    // Starts the refresh of every due subscription not already being fetched; false when
    // none was due.
    bool refreshDue(const QDateTime& now);
    // Starts the refresh of one subscription now.
    void refresh(const Subscription& s);
    // (ID of the saved subscription, or 0 and why it was not saved.)
    using Tried = std::function<void(int id, const QString& error)>;
    // Tries a subscription not saved yet: it is saved, with its events, only once its
    // calendar was fetched and read. `tried` runs once, unless `receiver` goes first.
    void tryNew(const Subscription& s, QObject* receiver, Tried tried);
    // Whether any subscription is due. The list is read from the data file again only
    // once the file changed (or forgetKnown() was called): an idle minute opens nothing.
    // `stamp`: the data file's stamp where the caller already has it (a tick).
    bool anyDue(const QDateTime& now, std::optional<qint64> stamp = std::nullopt);
    // The data file the list is read from.
    const QString& dataFile() const { return m_store.dataFile(); }
    // Whether the list last read holds no subscription and none is being fetched.
    bool noneKnown() const { return m_knownStamp >= 0 && m_known.empty() && m_running.isEmpty(); }
    // A write was announced: the next question reads the list again.
    void forgetKnown() { m_knownStamp = -1; }
    // How many times the list was read from the data file.
    int reads() const { return m_reads; }

Q_SIGNALS:
    // A refresh ended (in success or failure) and its rows may have changed.
    void refreshed(int id, bool ok);

private:
    // A refresh ended: empty `why`, or why it failed.
    void arrived(const Subscription& s, const QString& why);
    // Stores what was read as the subscription's events; why it failed, or empty.
    QString store(const Subscription& s, const IcsImport::Result& read);
    // Saves a new subscription with what was read of its first fetch.
    void saveNew(const Subscription& s, const IcsImport::Result& read, const Tried& tried);
    const std::vector<Subscription>& known(std::optional<qint64> stamp = std::nullopt);

    SubscriptionStore& m_store;
    EventStore& m_events;
    Clock& m_clock;
    Downloader& m_downloader;
    Tell m_tell;
    QSet<int> m_running;
    std::vector<Subscription> m_known;
    qint64 m_knownStamp = -1; // the data file's stamp when m_known was read; -1: read again
    int m_reads = 0;
};

// The minute job: refreshes the due subscriptions when the machine is online.
class SubscriptionJob final : public MinuteJob {
public:
    explicit SubscriptionJob(SubscriptionRefresh& refresh);
    const char* name() const override { return "calendar subscriptions"; }
    void run(MinuteContext& minute) override;
    // A subscription comes only with a write to the data file, which wakes every job.
    QDateTime nextNeeded(const MinuteContext&) const override {
        return m_refresh.noneKnown() ? untilChanged() : QDateTime();
    }

private:
    SubscriptionRefresh& m_refresh;
    QByteArray m_dataName; // the data file's path as the file system spells it
};
