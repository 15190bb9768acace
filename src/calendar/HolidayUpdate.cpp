// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/HolidayUpdate.h"

#include "base/Clock.h"
#include "calendar/CalendarLog.h"
#include "calendar/EventStore.h"
#include "calendar/HolidayList.h"
#include "data/Settings.h"
#include "platform/Downloader.h"
#include "shell/WebSite.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

HolidayUpdate::HolidayUpdate(const AppPaths& paths, const DataStores& stores, Clock& clock,
                             Downloader& downloader, QObject* parent)
    : QObject(parent), m_paths(paths), m_events(stores.get<EventStore>()),
      m_settings(stores.settings), m_clock(clock), m_downloader(downloader) {
    setObjectName(QStringLiteral("DlUpdates"));
}

QUrl HolidayUpdate::listAddress(const QString& webSite) {
    const QUrl url(webSite + HolidayList::WebPath, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http" && scheme != u"https"))
        return {};
    return url;
}

bool HolidayUpdate::start() {
    if (m_running)
        return false;
    // A copy left by an update that was cut short (the program ended during its merge).
    QFile::remove(m_paths.file(HolidayList::LocalCopy));
    const QString site = productWebSite();
    const QUrl url = listAddress(site);
    if (url.isEmpty()) {
        Outcome outcome;
        outcome.downloadError = QStringLiteral("the web site is no http(s) address: ") + site;
        finish(std::move(outcome));
        return true;
    }
    m_running = true;
    // The list may be up to 1 MB, followed by its end mark.
    m_downloader.fetch(url, HolidayList::MaxBytes + 1, this,
                       [this](const Download& download) { downloaded(download); });
    return true;
}

void HolidayUpdate::downloaded(const Download& download) {
    Outcome outcome;
    if (!download.ok()) {
        outcome.downloadError = download.error;
        finish(std::move(outcome));
        return;
    }
    // The list without its end mark, kept beside the data file while it is merged.
    const QString copy = m_paths.file(HolidayList::LocalCopy);
    QSaveFile file(copy);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(download.body.first(std::max<qsizetype>(0, download.body.size() - 1))) < 0 ||
        !file.commit())
        qCWarning(lcCalendar) << "holiday list: cannot keep the download as" << copy
                              << file.errorString();

    outcome.merge = HolidayMerge::mergeTransfer(m_events, download.body);
    QFile::remove(copy);
    if (!outcome.merge.complete) {
        outcome.downloadError = outcome.merge.error;
        finish(std::move(outcome));
        return;
    }
    const QDate today = m_clock.today();
    if (!m_settings.update([&](Settings& s) { s.lastHolidayUpdate = today; }))
        qCWarning(lcCalendar) << "holiday list merged, but Lastupdate could not be stamped";
    outcome.downloaded = true;
    finish(std::move(outcome));
}

void HolidayUpdate::finish(Outcome outcome) {
    m_running = false;
    if (!outcome.downloaded) {
        qCWarning(lcCalendar) << "holiday list not downloaded:" << outcome.downloadError
                              << "- merging the shipped list";
        outcome.merge = mergeShippedList();
    }
    m_outcome = std::move(outcome);
    Q_EMIT finished();
}

HolidayMerge::Result HolidayUpdate::mergeShippedList() {
    return HolidayMerge::mergeFile(m_events, m_paths.resource(HolidayList::ShippedList));
}

bool HolidayUpdate::mergeShippedListIfNone() {
    if (m_events.hasHolidays() || !m_events.lastError().isEmpty())
        return false;
    return mergeShippedList().complete;
}
