// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalendarTestData.h"
#include "app/ProgramSchema.h"
#include "calendar/EventSearch.h"
#include "calendar/EventStore.h"

#include <QTemporaryDir>
#include <QTest>

class TestEventSearch : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path;

private Q_SLOTS:
    void initTestCase() {
        m_path = m_dir.filePath(QStringLiteral("data.plm"));
        QCOMPARE(programSchema().createTemplate(m_path, D("2026-01-15")), QString());
        EventStore store(m_path);
        QVERIFY(store.add({
            makeEvent("1970-05-12", 5, "Mom's Birthday"),
            makeEvent("2026-01-05", 3, "Team meeting"), // Mondays
            makeEvent("2026-03-10", 1, "Dentist"),
            makeEvent("2026-03-11", 1, "Holiday in Canada", 106),
            makeEvent("2026-03-12", 1, "Dentist follow-up"),
            makeEvent("2026-06-20", 3, "Course"),
            makeEvent("2025-01-31", 4, "Rent"),
            // Pattern characters of SQL and of other query languages are plain text here: a
            // pattern would match the earlier rows above first.
            makeEvent("2026-08-05", 1, "100% sure"),
            makeEvent("2026-08-06", 1, "a_b"),
            makeEvent("2026-08-07", 1, "star*"),
            makeEvent("2026-08-08", 1, "say \"hi\""),
            makeEvent("2026-08-09", 1, "O'Brien [#1?]"),
            makeEvent("2026-08-10", 1, QStringLiteral("F\u00eate d'\u00c9T\u00c9")),
        }));
    }

    void findNext_data() {
        QTest::addColumn<QDate>("selected");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("canada");
        QTest::addColumn<QDate>("found");
        const auto row = [](const char* name, const char* s, const QString& text, bool canada,
                            const char* found) {
            QTest::addRow("%s", name) << D(s) << text << canada << D(found);
        };
        row("yearly later this year", "2026-05-10", "birthday", false, "2026-05-12");
        row("yearly found on the day: next year", "2026-05-12", "BIRTHDAY", false, "2027-05-12");
        row("weekly from its weekday: a week on", "2026-03-09", "meeting", false, "2026-03-16");
        row("one-time on the day passed over", "2026-03-10", " dentist ", false, "2026-03-12");
        row("repeating found on its start", "2026-03-10", "course", false, "2026-06-20");
        row("monthly 31st rolls into May", "2026-04-15", "rent", false, "2026-05-01");
        row("blanks find every event", "2026-03-10", "   ", false, "2026-03-12");
        row("... visible ones", "2026-03-10", "   ", true, "2026-03-11");
        row("percent", "2026-07-31", "%", false, "2026-08-05");
        row("underscore", "2026-07-31", "_", false, "2026-08-06");
        row("asterisk", "2026-07-31", "*", false, "2026-08-07");
        row("double quote", "2026-07-31", "\"hi\"", false, "2026-08-08");
        row("quote, brackets, # and ?", "2026-07-31", "'Brien [#1?]", false, "2026-08-09");
        row("case of any alphabet", "2026-07-31", QStringLiteral("\u00e9t\u00e9"), false,
            "2026-08-10");
        row("nothing", "2026-07-31", "no such event", true, "");
    }
    void findNext() {
        QFETCH(QDate, selected);
        QFETCH(QString, text);
        QFETCH(bool, canada);
        QFETCH(QDate, found);
        EventStore store(m_path);
        EventSearch search(store);
        const EventSearch::Result r = search.findNext(selected, text, {true, canada, false});
        QCOMPARE(r.error, QString());
        QCOMPARE(r.date, found);
    }

    void unreadableFileIsAnErrorNotNoResult() {
        EventStore store(m_dir.filePath(QStringLiteral("missing.plm")));
        const EventSearch::Result r = EventSearch(store).findNext(D("2026-03-10"), "x", {});
        QVERIFY(!r.found());
        QVERIFY(!r.error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestEventSearch)
#include "tst_eventsearch.moc"
