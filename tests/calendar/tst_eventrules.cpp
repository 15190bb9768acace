// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalendarTestData.h"
#include "calendar/EventRules.h"

#include <QTest>

using namespace EventRules;

Q_DECLARE_METATYPE(HolidayFlags)

namespace {
const HolidayFlags None{false, false, false};
} // namespace

class TestEventRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Whether a row shows on a day: the month view's rule A (which the editor shares,
    // adding every row dated on the day) and the export's, which has no start bound.
    void showsOnDay_data() {
        QTest::addColumn<bool>("exporting");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QDate>("eDate");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("shown");
        const auto view = [](const char* name, int f, const char* e, const char* d, bool s) {
            QTest::addRow("view: %s", name) << false << f << D(e) << D(d) << s;
        };
        const auto exp = [](const char* name, int f, const char* e, const char* d, bool s) {
            QTest::addRow("export: %s", name) << true << f << D(e) << D(d) << s;
        };
        const char* wed = "2021-03-10";
        view("weekly on its start", 3, wed, wed, true);
        view("weekly a week on", 3, wed, "2021-03-17", true);
        view("weekly never the week before", 3, wed, "2021-03-03", false);
        view("weekly other weekday", 3, wed, "2021-03-11", false);
        view("weekly a year on", 3, wed, "2022-03-09", true);
        view("monthly 31st in March", 4, "2021-01-31", "2021-03-31", true);
        view("monthly 31st skips February", 4, "2021-01-31", "2021-02-28", false);
        view("monthly not before start", 4, "2021-01-31", "2020-12-31", false);
        view("yearly 29 Feb on itself", 5, "2000-02-29", "2000-02-29", true);
        view("yearly 29 Feb in 2004", 5, "2000-02-29", "2004-02-29", true);
        view("yearly 29 Feb not 28 Feb 2001", 5, "2000-02-29", "2001-02-28", false);
        view("yearly 29 Feb not 1 Mar 2001", 5, "2000-02-29", "2001-03-01", false);
        view("yearly not before start", 5, "2000-02-29", "1996-02-29", false);
        view("one-time on its date", 1, wed, wed, true);
        view("one-time elsewhere", 1, wed, "2021-03-17", false);
        view("code 2 never", 2, wed, wed, false);
        view("code 0 never", 0, wed, wed, false);
        view("code 6 never", 6, wed, wed, false);
        view("weekly from 1753", 3, "1753-01-01", "1753-01-08", true);
        view("monthly 1753 to 9999", 4, "1753-01-31", "9999-12-31", true);
        view("yearly on 31 Dec 9999", 5, "9999-12-31", "9999-12-31", true);
        exp("weekly before its start", 3, wed, "2021-03-03", true);
        exp("weekly other weekday", 3, wed, "2021-03-04", false);
        exp("monthly before its start", 4, "2021-05-31", "2021-03-31", true);
        exp("monthly 31st not in April", 4, "2021-01-31", "2021-04-30", false);
        exp("yearly before its start", 5, "2030-07-04", "2021-07-04", true);
        exp("one-time on its date", 1, wed, wed, true);
        exp("one-time elsewhere", 1, wed, "2021-03-17", false);
        exp("code 2 on its date", 2, wed, wed, false);
        exp("code 0 on its date", 0, wed, wed, false);
    }
    void showsOnDay() {
        QFETCH(bool, exporting);
        QFETCH(int, frequency);
        QFETCH(QDate, eDate);
        QFETCH(QDate, day);
        QFETCH(bool, shown);
        const EventRow r = makeEvent(eDate, frequency);
        if (exporting) {
            QCOMPARE(exportShows(r, day), shown);
        } else {
            QCOMPARE(fallsOn(r, day), shown);
            QCOMPARE(editorShows(r, day), shown || eDate == day);
        }
    }

    // The next date strictly after the selected day (search) and from today on (reminder).
    void nextDate_data() {
        QTest::addColumn<bool>("reminder");
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QDate>("eDate");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("next");
        const auto search = [](const char* name, int f, const char* e, const char* s,
                               const char* n) {
            QTest::addRow("search: %s", name) << false << f << D(e) << D(s) << D(n);
        };
        const auto remind = [](const char* name, int f, const char* e, const char* t,
                               const char* n) {
            QTest::addRow("reminder: %s", name) << true << f << D(e) << D(t) << D(n);
        };
        search("yearly later this year", 5, "1970-05-12", "2026-05-10", "2026-05-12");
        search("yearly on the day goes a year on", 5, "1970-05-12", "2026-05-12", "2027-05-12");
        search("weekly from its weekday", 3, "2026-01-05", "2026-03-09", "2026-03-16");
        search("weekly two days ahead", 3, "2026-01-07", "2026-03-09", "2026-03-11");
        search("one-time the next day", 1, "2026-03-11", "2026-03-10", "2026-03-11");
        search("one-time on the day", 1, "2026-03-10", "2026-03-10", "");
        search("repeating not started", 4, "2026-06-20", "2026-03-10", "2026-06-20");
        search("monthly 31st rolls into May", 4, "2025-01-31", "2026-04-15", "2026-05-01");
        search("monthly 31st from 30 April", 4, "2025-01-31", "2026-04-30", "2026-05-01");
        search("monthly 31st past: month end", 4, "2025-01-31", "2026-01-31", "2026-02-28");
        search("monthly 5th next month", 4, "2025-01-05", "2026-03-10", "2026-04-05");
        search("yearly 29 Feb rolls to 1 Mar", 5, "2000-02-29", "2027-02-10", "2027-03-01");
        search("yearly 29 Feb from 1 Mar", 5, "2000-02-29", "2027-03-01", "2028-03-01");
        search("code 2 started gives nothing", 2, "2026-01-01", "2026-03-10", "");
        search("code 2 ahead gives its date", 2, "2026-04-01", "2026-03-10", "2026-04-01");
        search("monthly past 9999", 4, "9999-01-05", "9999-12-20", "");
        search("weekly past 9999", 3, "9999-01-05", "9999-12-31", "");
        search("weekly from 1753", 3, "1753-01-01", "1753-01-01", "1753-01-08");
        const char* tue = "2026-03-10";
        remind("weekly not started yet", 3, "2026-04-01", tue, "2026-03-11");
        remind("weekly today", 3, "2026-01-06", tue, tue);
        remind("weekly earlier weekday", 3, "2026-01-05", tue, "2026-03-16");
        remind("monthly not started: its date", 4, "2026-04-20", tue, "2026-04-20");
        remind("monthly today", 4, "2025-01-10", tue, tue);
        remind("monthly next month", 4, "2025-01-05", tue, "2026-04-05");
        remind("monthly 31st in April rolls over", 4, "2025-01-31", "2026-04-15", "2026-05-01");
        remind("monthly 31st on 30 April", 4, "2025-01-31", "2026-04-30", "2026-05-01");
        remind("yearly ignores its start", 5, "2030-12-25", tue, "2026-12-25");
        remind("yearly over new year", 5, "2000-01-01", "2026-12-31", "2027-01-01");
        remind("29 Feb in a common year", 5, "2000-02-29", "2027-02-10", "2027-02-28");
        remind("29 Feb on 28 Feb", 5, "2000-02-29", "2027-02-28", "2027-02-28");
        remind("29 Feb in a leap year", 5, "2000-02-29", "2028-02-10", "2028-02-29");
        remind("29 Feb seen on 1 March", 5, "2000-02-29", "2027-03-01", "2028-02-29");
        remind("29 Feb seen after leap day", 5, "2000-02-29", "2028-03-01", "2029-02-28");
        remind("one-time", 1, "2026-03-12", tue, "2026-03-12");
        remind("code 2 like one-time", 2, "2026-03-12", tue, "2026-03-12");
    }
    void nextDate() {
        QFETCH(bool, reminder);
        QFETCH(int, frequency);
        QFETCH(QDate, eDate);
        QFETCH(QDate, from);
        QFETCH(QDate, next);
        const EventRow r = makeEvent(eDate, frequency);
        QCOMPARE(reminder ? reminderNextDate(r, from) : searchNextDate(r, from), next);
    }

    void editorMovesOnlyDownloadedYearlyHolidays() {
        const QDate day = D("2005-12-25");
        QCOMPARE(editorDate(makeEvent("2002-12-25", 5, "", 3), day), day);
        QCOMPARE(editorDate(makeEvent("2002-12-25", 5, "", 0), day), D("2002-12-25"));
        QCOMPARE(editorDate(makeEvent("2002-12-25", 1, "", 3), day), D("2002-12-25"));
    }

    void editorListsHolidaysFirstAndKeepsThemOutOfSave() {
        const QDate d = D("2026-03-11");
        const std::vector<EventRow> rows = {
            makeEvent(d, 1, "mine"),    makeEvent("2025-03-11", 5, "US", 205),
            makeEvent("2026-02-18", 3), makeEvent(d, 1, "intl", 3),
            makeEvent(d, 2, "code 2"),  makeEvent("2020-03-11", 5, "Canada", 105)};
        QCOMPARE(editorList(rows, d, {true, false, true}), (std::vector<int>{1, 3, 0, 2, 4}));
        QVERIFY(editorReplaces(rows[2], d));
        QVERIFY(editorReplaces(rows[4], d));
        QVERIFY(!editorReplaces(rows[1], d));
    }

    void visibility_data() {
        QTest::addColumn<int>("holiday");
        QTest::addColumn<HolidayFlags>("switches");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("user event, all off") << 0 << None << false;
        QTest::newRow("1 without AddHolidays") << 1 << None << true;
        QTest::newRow("99 with AddHolidays") << 99 << HolidayFlags{true, false, false} << false;
        QTest::newRow("100 never hidden") << 100 << None << false;
        QTest::newRow("105 without AddCanada") << 105 << HolidayFlags{true, false, true} << true;
        QTest::newRow("150 with AddCanada only")
            << 150 << HolidayFlags{false, true, false} << false;
        QTest::newRow("150 without AddCanada") << 150 << HolidayFlags{true, false, false} << true;
        QTest::newRow("200 never hidden") << 200 << None << false;
        QTest::newRow("205 without AddAmerica") << 205 << HolidayFlags{true, true, false} << true;
        QTest::newRow("205 with AddAmerica only")
            << 205 << HolidayFlags{false, false, true} << false;
        QTest::newRow("negative never hidden") << -5 << None << false;
    }
    void visibility() {
        QFETCH(int, holiday);
        QFETCH(HolidayFlags, switches);
        QFETCH(bool, hidden);
        QCOMPARE(isHidden(holiday, switches), hidden);
    }

    void iconChoice_data() {
        QTest::addColumn<int>("holiday");
        QTest::addColumn<bool>("hasIcon");
        QTest::addColumn<bool>("hasSmall");
        QTest::addColumn<bool>("small");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("picture");
        const int own = IconChoice::OwnIcon, ownSmall = IconChoice::OwnSmall,
                  set = IconChoice::Holiday;
        QTest::newRow("user icon") << 0 << true << true << false << own << 1;
        QTest::newRow("user small") << 0 << true << true << true << ownSmall << 1;
        QTest::newRow("user small missing") << 0 << true << false << true << own << 1;
        QTest::newRow("user without picture") << 0 << false << false << false << set << 1;
        QTest::newRow("holiday 105") << 105 << true << true << false << set << 5;
        QTest::newRow("holiday 208") << 208 << false << false << true << set << 8;
        QTest::newRow("holiday 100: default") << 100 << false << false << false << set << 1;
        QTest::newRow("holiday 9: default") << 9 << false << false << false << set << 1;
        QTest::newRow("holiday -3: default") << -3 << false << false << false << set << 1;
    }
    void iconChoice() {
        QFETCH(int, holiday);
        QFETCH(bool, hasIcon);
        QFETCH(bool, hasSmall);
        QFETCH(bool, small);
        QFETCH(int, source);
        QFETCH(int, picture);
        EventRow r = makeEvent("2026-03-10", 1, "", holiday, hasIcon ? "png" : "");
        if (hasSmall)
            r.smallImg = "png";
        const IconChoice c = EventRules::iconChoice(r, small);
        QCOMPARE(int(c.source), source);
        QCOMPARE(c.picture, picture);
    }

    void searchTakesTheEarliestVisibleCandidate() {
        const QDate s = D("2026-03-10");
        const std::vector<EventRow> rows = {makeEvent("2026-03-20", 1),
                                            makeEvent("2026-03-12", 1, "", 150),
                                            makeEvent("2026-01-07", 3), makeEvent(s, 1)};
        // The Canadian holiday on the 12th is hidden; the weekly row offers the 11th.
        QCOMPARE(searchFirstDate(rows, s, {true, false, true}), D("2026-03-11"));
        QCOMPARE(searchFirstDate({rows[0]}, s, {}), D("2026-03-20"));
        QCOMPARE(searchFirstDate({rows[3]}, s, {}), QDate());
    }

    void textMatching_data() {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");
        const auto add = [](const char* name, const char* d, const char* t, bool f) {
            QTest::newRow(name) << QString::fromUtf8(d) << QString::fromUtf8(t) << f;
        };
        add("case", "Mom's Birthday", "birthday", true);
        add("blanks around", "Mom's Birthday", "  BIRTH  ", true);
        add("blanks only", "anything", "   ", true);
        add("accents", "FÊTE à Québec", "fête À", true);
        add("cyrillic", "День Рождения", "рождения", true);
        add("star is a star", "a*b", "*", true);
        add("no wildcard", "ab", "a*b", false);
        add("no single wildcard", "ab", "a?", false);
        add("quote", "say \"hi\"", "\"hi\"", true);
        add("missing", "Dentist", "doctor", false);
    }
    void textMatching() {
        QFETCH(QString, description);
        QFETCH(QString, text);
        QFETCH(bool, found);
        QCOMPARE(containsText(description, text), found);
    }

    void reminderAcceptance_data() {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QDate>("eDate");
        QTest::addColumn<int>("holiday");
        QTest::addColumn<int>("notifyAgo");
        QTest::addColumn<bool>("addCanada");
        QTest::addColumn<bool>("accepted");
        const auto add = [](const char* name, int f, const char* e, int h, int ago, bool c,
                            bool a) { QTest::newRow(name) << f << D(e) << h << ago << c << a; };
        add("one-time today, 0 days", 1, "2026-03-10", 0, 0, false, true);
        add("one-time tomorrow, 0 days", 1, "2026-03-11", 0, 0, false, false);
        add("code 2 today", 2, "2026-03-10", 0, 0, false, true);
        add("one-time yesterday", 1, "2026-03-09", 0, 5, false, false);
        add("weekly in 6 days, 2 ahead", 3, "2026-01-05", 0, 2, false, false);
        add("weekly in 6 days, 6 ahead", 3, "2026-01-05", 0, 6, false, true);
        add("150 without AddCanada", 1, "2026-03-10", 150, 2, false, false);
        add("150 with AddCanada", 1, "2026-03-10", 150, 2, true, true);
        add("100 always", 1, "2026-03-10", 100, 2, false, true);
        add("200 always", 1, "2026-03-10", 200, 2, false, true);
        add("unknown code in the past", 7, "2025-01-01", 0, 2, false, false);
        add("unknown code today", 7, "2026-03-10", 0, 2, false, true);
    }
    void reminderAcceptance() {
        QFETCH(int, frequency);
        QFETCH(QDate, eDate);
        QFETCH(int, holiday);
        QFETCH(int, notifyAgo);
        QFETCH(bool, addCanada);
        QFETCH(bool, accepted);
        QCOMPARE(reminderAccepts(makeEvent(eDate, frequency, "", holiday), D("2026-03-10"),
                                 notifyAgo, {false, addCanada, false}),
                 accepted);
    }

    void visibleDays_data() {
        QTest::addColumn<QDate>("selected");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<Qt::DayOfWeek>("start");
        QTest::newRow("1st on Sunday") << D("2026-03-17") << D("2026-02-22") << Qt::Sunday;
        QTest::newRow("common February from Sunday")
            << D("2026-02-28") << D("2026-01-25") << Qt::Sunday;
        QTest::newRow("December") << D("2026-12-31") << D("2026-11-29") << Qt::Sunday;
        QTest::newRow("January") << D("2027-01-01") << D("2026-12-27") << Qt::Sunday;
        QTest::newRow("January 1753") << D("1753-01-15") << D("1752-12-31") << Qt::Sunday;
        QTest::newRow("December 9999") << D("9999-12-31") << D("9999-11-28") << Qt::Sunday;
        QTest::newRow("Monday first, 1st on Sunday")
            << D("2026-03-17") << D("2026-02-23") << Qt::Monday;
        QTest::newRow("Monday first, 1st on Monday")
            << D("2026-06-30") << D("2026-05-25") << Qt::Monday;
        QTest::newRow("Saturday first, 1st on Tuesday")
            << D("2026-12-08") << D("2026-11-28") << Qt::Saturday;
    }
    void visibleDays() {
        QFETCH(QDate, selected);
        QFETCH(QDate, first);
        QFETCH(Qt::DayOfWeek, start);
        QCOMPARE(firstVisibleDay(selected, start), first);
    }

    // Whatever day weeks start on, a row starts on it, the month is shown whole, and at least
    // one day of the month before opens the grid.
    void everyMonthShowsItsWholeSelfAndAPreviousDay() {
        for (int start = Qt::Monday; start <= Qt::Sunday; ++start)
            for (int y = EarliestYear; y <= LatestYear; ++y)
                for (int m = 1; m <= 12; ++m) {
                    const QDate first = firstVisibleDay(QDate(y, m, 1), Qt::DayOfWeek(start));
                    const QDate last = first.addDays(41);
                    if (first.dayOfWeek() != start || first >= QDate(y, m, 1) ||
                        first < QDate(y, m, 1).addDays(-7) ||
                        last < QDate(y, m, QDate(y, m, 1).daysInMonth()))
                        QFAIL(qPrintable(QStringLiteral("%1-%2 from %3").arg(y).arg(m).arg(start)));
                }
    }

    void monthPlacement() {
        // March 2026 shows 22 February ... 4 April.
        const std::vector<EventRow> rows = {
            makeEvent("2020-04-02", 5),  // 0: yearly of April, not in the trailing cells
            makeEvent("2026-03-30", 3),  // 1: weekly from Monday 30 March
            makeEvent("2026-04-03", 5),  // 2: yearly, first in the grid: on its own date only
            makeEvent("2026-02-25", 1),  // 3: one-time in a leading cell
            makeEvent("2026-03-30", 2),  // 4: code 2, never
            makeEvent("2019-03-30", 5),  // 5: yearly of March, 30 March
            makeEvent("2026-01-31", 4),  // 6: monthly 31st, 31 March only
            makeEvent("2026-04-05", 1)}; // 7: after the grid
        std::vector<std::pair<int, int>> pairs;
        for (const Occurrence& o : placeMonth(rows, D("2026-02-22"), 3))
            pairs.emplace_back(o.cell, o.row);
        const std::vector<std::pair<int, int>> expected = {
            {3, 3}, {36, 1}, {36, 5}, {37, 6}, {40, 2}};
        QCOMPARE(pairs, expected);
        // April's own view does show the yearly row of April.
        const auto april = placeMonth(rows, firstVisibleDay(D("2026-04-01")), 4);
        QVERIFY(std::any_of(april.begin(), april.end(), [](auto& o) { return o.row == 0; }));
    }
};

QTEST_GUILESS_MAIN(TestEventRules)
#include "tst_eventrules.moc"
