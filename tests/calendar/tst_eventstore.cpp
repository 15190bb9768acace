// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/EventIcons.h"
#include "calendar/EventRules.h"
#include "calendar/EventStore.h"
#include "data/DataFile.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

std::vector<qint64> ids(const std::vector<EventRow>& rows) {
    std::vector<qint64> out;
    for (const EventRow& r : rows)
        out.push_back(r.rowId);
    return out;
}

} // namespace

class TestEventStore : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path;
    std::vector<EventRow> m_all; // what the table holds, rowId = position + 1

    template <typename Pred> std::vector<qint64> expected(Pred keep) const {
        std::vector<qint64> out;
        for (const EventRow& r : m_all)
            if (keep(r))
                out.push_back(r.rowId);
        return out;
    }

private Q_SLOTS:
    void init() {
        m_path = m_dir.filePath(QStringLiteral("data.plm"));
        QFile::remove(m_path);
        QCOMPARE(programSchema().createTemplate(m_path, D("2026-01-15")), QString());
        m_all.clear();
    }

    // Each reader's query must return exactly the rows its rule names: the SQL superset and
    // the rule in memory are checked against the rule alone over many kinds of rows.
    void readsAgreeWithTheRules() {
        QRandomGenerator rng(20260310);
        const QDate base = D("2025-12-01");
        const QStringList texts = {"Mom's Birthday", "Été à Paris", "ДЕНЬ", "Dentist"};
        for (int i = 0; i < 600; ++i) {
            QDate date = base.addDays(rng.bounded(-800, 800));
            if (i % 50 == 0)
                date = D("2000-02-29");
            if (i % 77 == 0)
                date = i % 2 ? D("1753-01-01") : D("9999-12-31");
            m_all.push_back(makeEvent(date, rng.bounded(0, 7), texts[i % texts.size()],
                                      i % 5 ? 0 : rng.bounded(0, 260)));
            m_all.back().rowId = i + 1;
        }
        EventStore store(m_path);
        QVERIFY(store.add(m_all));
        {
            // Text written by hand with a time still counts as its day; garbage never shows.
            DataFile db(m_path);
            QVERIFY(db.exec(QStringLiteral("INSERT INTO Events (eDate, Frequency) VALUES "
                                           "('2026-03-04 00:00', 1), ('not a date', 3)")));
            m_all.push_back(makeEvent("2026-03-04", 1, ""));
            m_all.back().rowId = qint64(m_all.size());
        }

        for (const QDate& selected : {D("2026-03-10"), D("2025-12-31"), D("2024-02-29")}) {
            const QDate first = EventRules::firstVisibleDay(selected);
            const QDate last = first.addDays(41);
            const int m = selected.month();
            const auto monthRows = expected(
                [&](const EventRow& r) { return EventRules::monthViewFetches(r, first, last, m); });
            QCOMPARE(ids(store.readMonth(first, last, m)), monthRows);
            // The month view's two-step read: the same rows in the same order, text only for
            // those named drawn; and a reader that has enough stops it.
            std::vector<EventRow> taken;
            QVERIFY(store.readMonthDrawn(
                first, last, m, EventStore::Pictures::Both,
                [&](const EventRow& r) {
                    taken.push_back(r);
                    return true;
                },
                [&] {
                    std::vector<EventRow*> every3rd;
                    for (size_t i = 0; i < taken.size(); i += 3)
                        every3rd.push_back(&taken[i]);
                    return every3rd;
                }));
            QCOMPARE(ids(taken), monthRows);
            for (size_t i = 0; i < taken.size(); ++i)
                QCOMPARE(taken[i].description,
                         i % 3 ? QString() : m_all[size_t(taken[i].rowId - 1)].description);
            taken.clear();
            QVERIFY(store.readMonthDrawn(
                first, last, m, EventStore::Pictures::Large,
                [&](const EventRow& r) {
                    taken.push_back(r);
                    return taken.size() < 5;
                },
                [] { return std::vector<EventRow*>(); }));
            QCOMPARE(ids(taken), std::vector<qint64>(monthRows.begin(), monthRows.begin() + 5));
            QCOMPARE(ids(store.readDay(selected)), expected([&](const EventRow& r) {
                         return EventRules::editorShows(r, selected);
                     }));
            const QDate h = selected.addDays(7);
            QCOMPARE(ids(store.readForReminder(selected, h)), expected([&](const EventRow& r) {
                         return EventRules::reminderFetches(r, selected, h);
                     }));
            for (const QString& text : {QStringLiteral("été"), QStringLiteral("день"),
                                        QStringLiteral(" birth "), QString()})
                QCOMPARE(ids(store.readForSearch(selected, text)), expected([&](const EventRow& r) {
                             return EventRules::searchFetches(r, selected, text);
                         }));
            const auto exported = store.readForExport(first, last);
            for (const EventRow& r : m_all) {
                bool inSomeDay = false;
                for (QDate d = first; d <= last && !inSomeDay; d = d.addDays(1))
                    inSomeDay = EventRules::exportShows(r, d);
                if (inSomeDay)
                    QVERIFY(std::any_of(exported.begin(), exported.end(),
                                        [&](const EventRow& x) { return x.rowId == r.rowId; }));
            }
        }
        QCOMPARE(store.queriesRun(), 3 * 5 + 3 * 4 + 3);
    }

    void rowsRoundTripWithPicturesAndHostileText() {
        EventStore store(m_path);
        QImage icon = HolidaysIL::raw(4);
        EventRow r = makeEvent("2026-03-10", 5, "x'); DROP TABLE Events; -- \"");
        r.iconImg = toPng(icon);
        r.smallImg = toPng(icon.scaled(16, 16));
        QVERIFY(store.add(r));
        QVERIFY(store.add(makeEvent("2026-03-10", 1)));
        const std::vector<EventRow> day = store.readDay(D("2026-03-10"));
        QCOMPARE(day.size(), size_t(2));
        QCOMPARE(day[0].description, r.description);
        QCOMPARE(QImage::fromData(day[0].iconImg).convertToFormat(QImage::Format_RGB32), icon);
        QCOMPARE(QImage::fromData(day[0].smallImg).size(), QSize(16, 16));
        QVERIFY(day[1].iconImg.isEmpty());
        QCOMPARE(store.readForSearch(D("2026-03-01"), QStringLiteral("\"")).size(), size_t(1));

        // The month view reads only the pictures of its mode.
        EventRow iconOnly = makeEvent("2026-03-10", 1);
        iconOnly.iconImg = r.iconImg;
        QVERIFY(store.add(iconOnly));
        const auto month = [&](EventStore::Pictures p) {
            return store.readMonth(D("2026-02-22"), D("2026-04-04"), 3, p);
        };
        const auto large = month(EventStore::Pictures::Large);
        QVERIFY(large[0].smallImg.isEmpty() && large[0].iconImg == r.iconImg);
        const auto small = month(EventStore::Pictures::Small);
        QVERIFY(small[0].iconImg.isEmpty() && small[0].smallImg == r.smallImg);
        QVERIFY(small[2].iconImg == r.iconImg && small[2].smallImg.isEmpty());
        QVERIFY(store.remove(day[1].rowId));
        QCOMPARE(store.readDay(D("2026-03-10")).size(), size_t(2));
    }

    void editorSaveReplacesTheDaysUserEventsOnly() {
        EventStore store(m_path);
        const QDate d = D("2026-03-11");
        QVERIFY(store.add({makeEvent("2026-02-18", 3, "weekly since February"),
                           makeEvent(d, 1, "one-time"), makeEvent("2002-03-11", 5, "holiday", 3),
                           makeEvent("2026-03-12", 1, "next day")}));
        QVERIFY(store.replaceUserEventsOn(d, {makeEvent("2026-02-18", 3, "edited")}));
        QStringList left;
        for (const EventRow& r : store.readForExport(D("2026-01-01"), D("2026-12-31")))
            left << r.description;
        left.sort();
        QCOMPARE(left, (QStringList{QStringLiteral("edited"), QStringLiteral("holiday"),
                                    QStringLiteral("next day")}));

        // A row that cannot be stored leaves the day as it was.
        QVERIFY(!store.replaceUserEventsOn(d, {makeEvent(QDate(), 1)}));
        QCOMPARE(store.readDay(d).size(), size_t(2));
    }

    // Reads never write: a file made before the month view's index reads correctly without
    // it (the start-up migration adds it) and keeps its modified time.
    void anEarlierFileReadsWithoutTheIndexAndIsNotWritten() {
        QVERIFY(EventStore(m_path).add(makeEvent("2026-03-10", 3, "weekly")));
        {
            DataFile db(m_path);
            QVERIFY(db.exec(QStringLiteral("DROP INDEX EventsByCode")));
        }
        const qint64 before = fileModifiedStamp(m_path);
        std::vector<EventRow> rows;
        QVERIFY(EventStore(m_path).readMonthDrawn(
            D("2026-02-22"), D("2026-04-04"), 3, EventStore::Pictures::Large,
            [&](const EventRow& r) {
                rows.push_back(r);
                return true;
            },
            [&] { return std::vector<EventRow*>{&rows.at(0)}; }));
        QCOMPARE(rows.size(), size_t(1));
        QCOMPARE(rows.at(0).description, QStringLiteral("weekly"));
        QCOMPARE(fileModifiedStamp(m_path), before);
    }

    void aMissingFileReadsNothing() {
        EventStore store(m_dir.filePath(QStringLiteral("absent.plm")));
        QVERIFY(store.readMonth(D("2026-02-22"), D("2026-04-04"), 3).empty());
        QVERIFY(!store.lastError().isEmpty());
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("absent.plm"))));
    }
};

QTEST_GUILESS_MAIN(TestEventStore)
#include "tst_eventstore.moc"
