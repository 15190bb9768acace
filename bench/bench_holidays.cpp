// The holiday list and the HTML export: merging the shipped list into an empty data file
// and again unchanged, and exporting a month and the coming week from 2,000 events with
// the holidays. Prints the times.
#include "calendar/EventExport.h"
#include "calendar/EventStore.h"
#include "calendar/HolidayList.h"
#include "calendar/HolidayMerge.h"
#include "calendar/HolidayRules.h"
#include "core/DataFile.h"
#include "core/Schema.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Median and best of `runs` timings of `f` in milliseconds; `setup` runs untimed before each.
std::pair<double, double> timeMs(int runs, const std::function<void()>& setup,
                                 const std::function<void()>& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        QElapsedTimer t;
        t.start();
        f();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.plm"));
    const QDate today(2026, 3, 10);
    const QByteArray list = *HolidayList::write(HolidayRules::shippedList(today.year()));
    const auto fresh = [&] {
        QFile::remove(path);
        Schema::createTemplate(path, today);
    };

    EventStore store(path);
    HolidayMerge::Result r;
    const auto empty = timeMs(10, fresh, [&] { r = HolidayMerge::mergeList(store, list); });
    if (!r.complete)
        return 1;
    const int added = r.added;
    const auto unchanged = timeMs(10, nullptr, [&] { r = HolidayMerge::mergeList(store, list); });

    QRandomGenerator rng(7);
    std::vector<EventRow> rows;
    for (int i = 0; i < 2000; ++i) {
        EventRow e;
        e.eDate = today.addDays(rng.bounded(-3650, 365));
        e.frequency = i % 4 == 0 ? 3 : i % 4 == 1 ? 5 : 1;
        e.description = QStringLiteral("Event <%1> & its description").arg(i);
        rows.push_back(std::move(e));
    }
    store.add(rows);
    EventExport exporter(store, dir.path());
    const HolidayFlags all{true, true, true};
    int monthRows = 0, weekRows = 0;
    const auto month = timeMs(10, nullptr, [&] {
        monthRows = exporter.write(EventExport::SelectedMonth, today, today, all).rows;
    });
    const auto week = timeMs(10, nullptr, [&] {
        weekRows = exporter.write(EventExport::ComingDays, today, today, all).rows;
    });

    std::printf("Holiday list of %zu records (%lld bytes), median / best of 10:\n"
                "  merge into an empty file        %7.2f / %7.2f ms (%d added)\n"
                "  merge again, unchanged          %7.2f / %7.2f ms\n"
                "Export from 2,000 events and the holidays, median / best of 10:\n"
                "  selected month (%4d rows)       %7.2f / %7.2f ms\n"
                "  coming 7 days (%4d rows)        %7.2f / %7.2f ms\n",
                HolidayList::parse(list).records.size(), qlonglong(list.size()), empty.first,
                empty.second, added, unchanged.first, unchanged.second, monthRows, month.first,
                month.second, weekRows, week.first, week.second);
    return 0;
}
