// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AppPaths.h"
#include "calendar/HolidayMerge.h"
#include "data/DataStores.h"
#include "shell/Jobs.h"

#include <QObject>
#include <QUrl>

class Clock;
class Downloader;
struct Download;

// The holiday-list update ("DlUpdates"): downloads the list from the product web site,
// keeps it as "events.plm" in the program folder while it is merged into Events, deletes
// it, and stamps System.Lastupdate - only after a complete download was merged, so an
// update that failed is tried again by the next due tick. When no complete list can be
// downloaded (no connection, an error or a timeout, a transfer without its end mark, over
// 1 MB, or a web site that is no http(s) address), the list shipped with the program is
// merged through the same path instead; merging a list already merged writes nothing.
class HolidayUpdate : public QObject {
    Q_OBJECT
public:
    HolidayUpdate(const AppPaths& paths, const DataStores& stores, Clock& clock,
                  Downloader& downloader, QObject* parent = nullptr);

    // The list's address on a web site ("https://host" + "/plm4/events.plm"); empty for a
    // site that is no http or https address.
    static QUrl listAddress(const QString& webSite);

    struct Outcome {
        bool downloaded = false;    // a downloaded list was merged and Lastupdate stamped
        QString downloadError;      // why the download could not be used
        HolidayMerge::Result merge; // the merge that ran (the download's or the shipped list's)
    };

    // Starts an update from productWebSite(); it ends later, with finished(). False, doing
    // nothing, while an update is still running.
    bool start();
    bool isRunning() const { return m_running; }
    const Outcome& lastOutcome() const { return m_outcome; }

    // Merges the shipped list (paths.resource("holidays.plm")).
    HolidayMerge::Result mergeShippedList();
    // At start-up: merges the shipped list into a data file that holds no holiday yet - its
    // first start, or one whose list never arrived. True when the shipped list was merged.
    bool mergeShippedListIfNone();

Q_SIGNALS:
    void finished();

private:
    void downloaded(const Download& download);
    void finish(Outcome outcome);

    AppPaths m_paths;
    EventStore& m_events;
    SettingsStore& m_settings;
    Clock& m_clock;
    Downloader& m_downloader;
    bool m_running = false;
    Outcome m_outcome;
};

// Start-up: the shipped holidays for a data file that has none (HolidayUpdate).
class ShippedHolidaysJob final : public StartupJob {
public:
    explicit ShippedHolidaysJob(HolidayUpdate& update) : m_update(update) {}
    const char* name() const override { return "shipped holidays"; }
    void run() override { m_update.mergeShippedListIfNone(); }

private:
    HolidayUpdate& m_update;
};
