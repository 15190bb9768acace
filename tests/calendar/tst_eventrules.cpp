#include "calendar/EventRules.h"

#include <QTest>

using namespace EventRules;

Q_DECLARE_METATYPE(HolidayFlags)
Q_DECLARE_METATYPE(EventRow)

namespace {

QDate D(const char* iso) {
    return QDate::fromString(QLatin1String(iso), Qt::ISODate);
}

EventRow row(int frequency, const char* date, int holiday = 0, const char* text = "") {
    EventRow r;
    r.frequency = frequency;
    r.eDate = D(date);
    r.holiday = holiday;
    r.description = QString::fromUtf8(text);
    return r;
}

HolidayFlags flags(bool h, bool c, bool a) {
    return {h, c, a};
}

} // namespace

class TestEventRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Rule A, which the month view and the editor share.
    void ruleA_data() {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QDate>("eDate");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("falls");
        const QDate wed = D("2021-03-10");
        QTest::newRow("weekly on its start") << 3 << wed << wed << true;
        QTest::newRow("weekly a week on") << 3 << wed << D("2021-03-17") << true;
        QTest::newRow("weekly never the week before") << 3 << wed << D("2021-03-03") << false;
        QTest::newRow("weekly other weekday") << 3 << wed << D("2021-03-11") << false;
        QTest::newRow("weekly a year on") << 3 << wed << D("2022-03-09") << true;
        const QDate jan31 = D("2021-01-31");
        QTest::newRow("monthly 31st in March") << 4 << jan31 << D("2021-03-31") << true;
        QTest::newRow("monthly 31st skips February") << 4 << jan31 << D("2021-02-28") << false;
        QTest::newRow("monthly 31st skips April") << 4 << jan31 << D("2021-04-30") << false;
        QTest::newRow("monthly 30th skips February")
            << 4 << D("2024-01-30") << D("2024-02-29") << false;
        QTest::newRow("monthly not before start") << 4 << jan31 << D("2020-12-31") << false;
        const QDate leap = D("2000-02-29");
        QTest::newRow("yearly 29 Feb on itself") << 5 << leap << leap << true;
        QTest::newRow("yearly 29 Feb in 2004") << 5 << leap << D("2004-02-29") << true;
        QTest::newRow("yearly 29 Feb not 28 Feb 2001") << 5 << leap << D("2001-02-28") << false;
        QTest::newRow("yearly 29 Feb not 1 Mar 2001") << 5 << leap << D("2001-03-01") << false;
        QTest::newRow("yearly 29 Feb not 28 Feb 2003") << 5 << leap << D("2003-02-28") << false;
        QTest::newRow("yearly not before start") << 5 << leap << D("1996-02-29") << false;
        QTest::newRow("one-time on its date") << 1 << wed << wed << true;
        QTest::newRow("one-time elsewhere") << 1 << wed << D("2021-03-17") << false;
        QTest::newRow("code 2 never") << 2 << wed << wed << false;
        QTest::newRow("code 0 never") << 0 << wed << wed << false;
        QTest::newRow("code 6 never") << 6 << wed << wed << false;
        QTest::newRow("weekly from 1753") << 3 << D("1753-01-01") << D("1753-01-08") << true;
        QTest::newRow("monthly 1753 to 9999") << 4 << D("1753-01-31") << D("9999-12-31") << true;
        QTest::newRow("yearly on 31 Dec 9999") << 5 << D("9999-12-31") << D("9999-12-31") << true;
    }
    void ruleA() {
        QFETCH(int, frequency);
        QFETCH(QDate, eDate);
        QFETCH(QDate, day);
        QFETCH(bool, falls);
        EventRow r;
        r.frequency = frequency;
        r.eDate = eDate;
        QCOMPARE(fallsOn(r, day), falls);
        // The editor shows what rule A places, and every row dated on the day besides.
        QCOMPARE(editorShows(r, day), falls || eDate == day);
    }

    // The export has no start bound and never exports code 2.
    void exportTest_data() {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QDate>("eDate");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("shown");
        const QDate wed = D("2021-03-10");
        QTest::newRow("weekly before its start") << 3 << wed << D("2021-03-03") << true;
        QTest::newRow("weekly other weekday") << 3 << wed << D("2021-03-04") << false;
        QTest::newRow("monthly before its start")
            << 4 << D("2021-05-31") << D("2021-03-31") << true;
        QTest::newRow("monthly 31st not in April")
            << 4 << D("2021-01-31") << D("2021-04-30") << false;
        QTest::newRow("yearly before its start") << 5 << D("2030-07-04") << D("2021-07-04") << true;
        QTest::newRow("one-time on its date") << 1 << wed << wed << true;
        QTest::newRow("one-time elsewhere") << 1 << wed << D("2021-03-17") << false;
        QTest::newRow("code 2 on its date") << 2 << wed << wed << false;
        QTest::newRow("code 0 on its date") << 0 << wed << wed << false;
    }
    void exportTest() {
        QFETCH(int, frequency);
        QFETCH(QDate, eDate);
        QFETCH(QDate, day);
        QFETCH(bool, shown);
        EventRow r;
        r.frequency = frequency;
        r.eDate = eDate;
        QCOMPARE(exportShows(r, day), shown);
    }

    void editorMovesOnlyDownloadedYearlyHolidays_data() {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<int>("holiday");
        QTest::addColumn<QDate>("shown");
        QTest::newRow("yearly holiday") << 5 << 3 << D("2005-12-25");
        QTest::newRow("yearly user event") << 5 << 0 << D("2002-12-25");
        QTest::newRow("one-time holiday") << 1 << 3 << D("2002-12-25");
    }
    void editorMovesOnlyDownloadedYearlyHolidays() {
        QFETCH(int, frequency);
        QFETCH(int, holiday);
        QFETCH(QDate, shown);
        QCOMPARE(editorDate(row(frequency, "2002-12-25", holiday), D("2005-12-25")), shown);
    }

    void editorListsHolidaysFirstAndKeepsThemOutOfSave() {
        const QDate d = D("2026-03-11");
        const std::vector<EventRow> rows = {
            row(1, "2026-03-11", 0, "mine"),        row(5, "2025-03-11", 205, "US"),
            row(3, "2026-02-18", 0, "weekly mine"), row(1, "2026-03-11", 3, "intl"),
            row(2, "2026-03-11", 0, "code 2"),      row(5, "2020-03-11", 105, "Canada")};
        const std::vector<int> expected = {1, 3, 0, 2, 4};
        QCOMPARE(editorList(rows, d, flags(true, false, true)), expected);
        QVERIFY(editorReplaces(rows[2], d));
        QVERIFY(editorReplaces(rows[4], d));
        QVERIFY(!editorReplaces(rows[1], d));
    }

    void visibility_data() {
        QTest::addColumn<int>("holiday");
        QTest::addColumn<HolidayFlags>("switches");
        QTest::addColumn<bool>("hidden");
        const HolidayFlags none = flags(false, false, false);
        const HolidayFlags all = flags(true, true, true);
        QTest::newRow("user event, all off") << 0 << none << false;
        QTest::newRow("1 without AddHolidays") << 1 << none << true;
        QTest::newRow("99 with AddHolidays") << 99 << flags(true, false, false) << false;
        QTest::newRow("100 never hidden") << 100 << none << false;
        QTest::newRow("105 without AddCanada") << 105 << flags(true, false, true) << true;
        QTest::newRow("150 with AddCanada only") << 150 << flags(false, true, false) << false;
        QTest::newRow("150 without AddCanada") << 150 << flags(true, false, false) << true;
        QTest::newRow("200 never hidden") << 200 << none << false;
        QTest::newRow("205 without AddAmerica") << 205 << flags(true, true, false) << true;
        QTest::newRow("205 with AddAmerica only") << 205 << flags(false, false, true) << false;
        QTest::newRow("negative never hidden") << -5 << none << false;
        QTest::newRow("all on") << 205 << all << false;
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
        QTest::newRow("holiday 100 draws the default")
            << 100 << false << false << false << set << 1;
        QTest::newRow("holiday 9 draws the default") << 9 << false << false << false << set << 1;
        QTest::newRow("holiday -3 draws the default") << -3 << false << false << false << set << 1;
    }
    void iconChoice() {
        QFETCH(int, holiday);
        QFETCH(bool, hasIcon);
        QFETCH(bool, hasSmall);
        QFETCH(bool, small);
        QFETCH(int, source);
        QFETCH(int, picture);
        EventRow r = row(1, "2026-03-10", holiday);
        if (hasIcon)
            r.iconImg = "png";
        if (hasSmall)
            r.smallImg = "png";
        const IconChoice c = EventRules::iconChoice(r, small);
        QCOMPARE(int(c.source), source);
        QCOMPARE(c.picture, picture);
    }

    void searchNext_data() {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QDate>("eDate");
        QTest::addColumn<QDate>("selected");
        QTest::addColumn<QDate>("next");
        const QDate mom = D("1970-05-12");
        QTest::newRow("yearly later this year") << 5 << mom << D("2026-05-10") << D("2026-05-12");
        QTest::newRow("yearly on the day goes a year on")
            << 5 << mom << D("2026-05-12") << D("2027-05-12");
        QTest::newRow("weekly from its weekday")
            << 3 << D("2026-01-05") << D("2026-03-09") << D("2026-03-16");
        QTest::newRow("weekly two days ahead")
            << 3 << D("2026-01-07") << D("2026-03-09") << D("2026-03-11");
        QTest::newRow("one-time the next day")
            << 1 << D("2026-03-11") << D("2026-03-10") << D("2026-03-11");
        QTest::newRow("one-time on the day") << 1 << D("2026-03-10") << D("2026-03-10") << QDate();
        QTest::newRow("repeating not started")
            << 4 << D("2026-06-20") << D("2026-03-10") << D("2026-06-20");
        QTest::newRow("monthly 31st rolls into May")
            << 4 << D("2025-01-31") << D("2026-04-15") << D("2026-05-01");
        QTest::newRow("monthly 31st from 30 April")
            << 4 << D("2025-01-31") << D("2026-04-30") << D("2026-05-01");
        QTest::newRow("monthly 31st past: month end")
            << 4 << D("2025-01-31") << D("2026-01-31") << D("2026-02-28");
        QTest::newRow("monthly 5th next month")
            << 4 << D("2025-01-05") << D("2026-03-10") << D("2026-04-05");
        QTest::newRow("yearly 29 Feb rolls to 1 Mar")
            << 5 << D("2000-02-29") << D("2027-02-10") << D("2027-03-01");
        QTest::newRow("yearly 29 Feb from 1 Mar")
            << 5 << D("2000-02-29") << D("2027-03-01") << D("2028-03-01");
        QTest::newRow("code 2 started gives nothing")
            << 2 << D("2026-01-01") << D("2026-03-10") << QDate();
        QTest::newRow("code 2 ahead gives its date")
            << 2 << D("2026-04-01") << D("2026-03-10") << D("2026-04-01");
        QTest::newRow("monthly past 9999") << 4 << D("9999-01-05") << D("9999-12-20") << QDate();
        QTest::newRow("weekly past 9999") << 3 << D("9999-01-05") << D("9999-12-31") << QDate();
        QTest::newRow("weekly from 1753")
            << 3 << D("1753-01-01") << D("1753-01-01") << D("1753-01-08");
    }
    void searchNext() {
        QFETCH(int, frequency);
        QFETCH(QDate, eDate);
        QFETCH(QDate, selected);
        QFETCH(QDate, next);
        EventRow r;
        r.frequency = frequency;
        r.eDate = eDate;
        QCOMPARE(searchNextDate(r, selected), next);
    }

    void searchTakesTheEarliestVisibleCandidate() {
        const QDate s = D("2026-03-10");
        const std::vector<EventRow> rows = {row(1, "2026-03-20"), row(1, "2026-03-12", 150),
                                            row(3, "2026-01-07"), row(1, "2026-03-10")};
        // The Canadian holiday on the 12th is hidden; the weekly row offers the 11th.
        QCOMPARE(searchFirstDate(rows, s, flags(true, false, true)), D("2026-03-11"));
        QCOMPARE(searchFirstDate({rows[0]}, s, {}), D("2026-03-20"));
        QCOMPARE(searchFirstDate({rows[3]}, s, {}), QDate());
    }

    void textMatching_data() {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");
        QTest::newRow("case") << "Mom's Birthday"
                              << "birthday" << true;
        QTest::newRow("blanks around") << "Mom's Birthday"
                                       << "  BIRTH  " << true;
        QTest::newRow("blanks only") << "anything"
                                     << "   " << true;
        QTest::newRow("accents") << "FÊTE à Québec"
                                 << "fête À" << true;
        QTest::newRow("cyrillic") << "День Рождения"
                                  << "рождения" << true;
        QTest::newRow("greek") << "ΓΙΟΡΤΗ"
                               << "γιορτη" << true;
        QTest::newRow("star is a star") << "a*b"
                                        << "*" << true;
        QTest::newRow("no wildcard") << "ab"
                                     << "a*b" << false;
        QTest::newRow("no single wildcard") << "ab"
                                            << "a?" << false;
        QTest::newRow("quote") << "say \"hi\""
                               << "\"hi\"" << true;
        QTest::newRow("missing") << "Dentist"
                                 << "doctor" << false;
    }
    void textMatching() {
        QFETCH(QString, description);
        QFETCH(QString, text);
        QFETCH(bool, found);
        QCOMPARE(containsText(description, text), found);
    }

    void reminderNext_data() {
        QTest::addColumn<int>("frequency");
        QTest::addColumn<QDate>("eDate");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("next");
        const QDate tue = D("2026-03-10");
        QTest::newRow("weekly not started yet") << 3 << D("2026-04-01") << tue << D("2026-03-11");
        QTest::newRow("weekly today") << 3 << D("2026-01-06") << tue << tue;
        QTest::newRow("weekly earlier weekday") << 3 << D("2026-01-05") << tue << D("2026-03-16");
        QTest::newRow("monthly not started: its date")
            << 4 << D("2026-04-20") << tue << D("2026-04-20");
        QTest::newRow("monthly today") << 4 << D("2025-01-10") << tue << tue;
        QTest::newRow("monthly next month") << 4 << D("2025-01-05") << tue << D("2026-04-05");
        QTest::newRow("monthly 31st in April rolls over")
            << 4 << D("2025-01-31") << D("2026-04-15") << D("2026-05-01");
        QTest::newRow("monthly 31st on 30 April")
            << 4 << D("2025-01-31") << D("2026-04-30") << D("2026-05-01");
        QTest::newRow("yearly ignores its start") << 5 << D("2030-12-25") << tue << D("2026-12-25");
        QTest::newRow("yearly over new year")
            << 5 << D("2000-01-01") << D("2026-12-31") << D("2027-01-01");
        QTest::newRow("29 Feb in a common year")
            << 5 << D("2000-02-29") << D("2027-02-10") << D("2027-02-28");
        QTest::newRow("29 Feb on 28 Feb")
            << 5 << D("2000-02-29") << D("2027-02-28") << D("2027-02-28");
        QTest::newRow("29 Feb in a leap year")
            << 5 << D("2000-02-29") << D("2028-02-10") << D("2028-02-29");
        QTest::newRow("29 Feb seen on 1 March")
            << 5 << D("2000-02-29") << D("2027-03-01") << D("2028-02-29");
        QTest::newRow("29 Feb seen after leap day")
            << 5 << D("2000-02-29") << D("2028-03-01") << D("2029-02-28");
        QTest::newRow("one-time") << 1 << D("2026-03-12") << tue << D("2026-03-12");
        QTest::newRow("code 2 like one-time") << 2 << D("2026-03-12") << tue << D("2026-03-12");
    }
    void reminderNext() {
        QFETCH(int, frequency);
        QFETCH(QDate, eDate);
        QFETCH(QDate, today);
        QFETCH(QDate, next);
        EventRow r;
        r.frequency = frequency;
        r.eDate = eDate;
        QCOMPARE(reminderNextDate(r, today), next);
    }

    void reminderAcceptance_data() {
        QTest::addColumn<EventRow>("event");
        QTest::addColumn<int>("notifyAgo");
        QTest::addColumn<HolidayFlags>("switches");
        QTest::addColumn<bool>("accepted");
        const HolidayFlags none = flags(false, false, false);
        QTest::newRow("one-time today, 0 days") << row(1, "2026-03-10") << 0 << none << true;
        QTest::newRow("one-time tomorrow, 0 days") << row(1, "2026-03-11") << 0 << none << false;
        QTest::newRow("code 2 today") << row(2, "2026-03-10") << 0 << none << true;
        QTest::newRow("one-time yesterday") << row(1, "2026-03-09") << 5 << none << false;
        QTest::newRow("weekly in 6 days, 2 ahead") << row(3, "2026-01-05") << 2 << none << false;
        QTest::newRow("weekly in 6 days, 6 ahead") << row(3, "2026-01-05") << 6 << none << true;
        QTest::newRow("150 without AddCanada") << row(1, "2026-03-10", 150) << 2 << none << false;
        QTest::newRow("150 with AddCanada")
            << row(1, "2026-03-10", 150) << 2 << flags(false, true, false) << true;
        QTest::newRow("100 always") << row(1, "2026-03-10", 100) << 2 << none << true;
        QTest::newRow("200 always") << row(1, "2026-03-10", 200) << 2 << none << true;
        QTest::newRow("unknown code in the past") << row(7, "2025-01-01") << 2 << none << false;
        QTest::newRow("unknown code today") << row(7, "2026-03-10") << 2 << none << true;
    }
    void reminderAcceptance() {
        QFETCH(EventRow, event);
        QFETCH(int, notifyAgo);
        QFETCH(HolidayFlags, switches);
        QFETCH(bool, accepted);
        QCOMPARE(reminderAccepts(event, D("2026-03-10"), notifyAgo, switches), accepted);
    }

    void visibleDays_data() {
        QTest::addColumn<QDate>("selected");
        QTest::addColumn<QDate>("first");
        QTest::newRow("1st on Sunday") << D("2026-03-17") << D("2026-02-22");
        QTest::newRow("common February from Sunday") << D("2026-02-28") << D("2026-01-25");
        QTest::newRow("December") << D("2026-12-31") << D("2026-11-29");
        QTest::newRow("January") << D("2027-01-01") << D("2026-12-27");
        QTest::newRow("January 1753") << D("1753-01-15") << D("1752-12-31");
        QTest::newRow("December 9999") << D("9999-12-31") << D("9999-11-28");
    }
    void visibleDays() {
        QFETCH(QDate, selected);
        QFETCH(QDate, first);
        QCOMPARE(firstVisibleDay(selected), first);
    }

    void everyMonthShowsItsWholeSelfAndAPreviousDay() {
        for (int y = EarliestYear; y <= LatestYear; ++y)
            for (int m = 1; m <= 12; ++m) {
                const QDate first = firstVisibleDay(QDate(y, m, 1));
                const QDate last = first.addDays(41);
                if (weekdayNumber(first) != 1 || first >= QDate(y, m, 1) ||
                    last < QDate(y, m, QDate(y, m, 1).daysInMonth()))
                    QFAIL(qPrintable(QStringLiteral("%1-%2").arg(y).arg(m)));
            }
    }

    void monthPlacement() {
        // March 2026 shows 22 February ... 4 April.
        const QDate first = D("2026-02-22");
        const std::vector<EventRow> rows = {
            row(5, "2020-04-02", 0, "yearly of April"),       // 0: not in trailing cells
            row(3, "2026-03-30", 0, "weekly from Monday"),    // 1: 30 Mar
            row(5, "2026-04-03", 0, "yearly, first in grid"), // 2: on its own date only
            row(1, "2026-02-25", 0, "one-time in February"),  // 3: leading cell
            row(2, "2026-03-30", 0, "code 2"),                // 4: never
            row(5, "2019-03-30", 0, "yearly of March"),       // 5: 30 Mar
            row(4, "2026-01-31", 0, "monthly 31st"),          // 6: 31 Mar only
            row(1, "2026-04-05", 0, "after the grid")};       // 7: never
        const std::vector<Occurrence> got = placeMonth(rows, first, 3);
        std::vector<std::pair<int, int>> pairs;
        for (const Occurrence& o : got)
            pairs.emplace_back(o.cell, o.row);
        const std::vector<std::pair<int, int>> expected = {
            {3, 3}, {36, 1}, {36, 5}, {37, 6}, {40, 2}};
        QCOMPARE(pairs, expected);
        // April's own view does show the yearly row of April.
        bool april = false;
        for (const Occurrence& o : placeMonth(rows, firstVisibleDay(D("2026-04-01")), 4))
            april = april || o.row == 0;
        QVERIFY(april);
    }
};

QTEST_GUILESS_MAIN(TestEventRules)
#include "tst_eventrules.moc"
