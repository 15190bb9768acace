// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalendarTestData.h"
#include "calendar/CalendarGeometry.h"
#include "calendar/EventIcons.h"
#include "calendar/MonthLayout.h"
#include "calendar/MonthPainter.h"
#include "calendar/MonthPlacement.h"

#include <QFont>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

using namespace MonthLayout;

class TestMonthLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cellFlowOfAFullDay() {
        // A 1500 x 1000 cell with large icons: four to a line, two lines, then "...".
        const QRectF cell(0, 0, 1500, 1000);
        const CellFlow flow = flowCell(cell, iconSize(false), 9);
        const std::vector<QPointF> expected = {{40, 40},  {400, 40},  {760, 40},  {1120, 40},
                                               {20, 400}, {380, 400}, {740, 400}, {1100, 400}};
        QCOMPARE(flow.icons, expected);
        QVERIFY(flow.more);
        QCOMPARE(flow.morePos, QPointF(40, 630));
        const CellFlow exact = flowCell(cell, iconSize(false), 8);
        QCOMPARE(exact.icons.size(), size_t(8));
        QVERIFY(!exact.more);
        // The same cell of another column starts at its own left line.
        QCOMPARE(flowCell(cellRect(8, 10500, 6000), 360, 5).icons.back(), QPointF(1520, 1400));
    }

    void cellGeometry() {
        QCOMPARE(cellRect(9, 10500, 6000), QRectF(3000, 1000, 1500, 1000));
        QCOMPARE(selectionRect(9, 10500, 6000), QRectF(3020, 1020, 1480, 980));
        QCOMPARE(cellAt(3000, 1000, 10500, 6000), 9);
        QCOMPARE(cellAt(2999, 999, 10500, 6000), 1);
        QCOMPARE(cellAt(10500, 6000, 10500, 6000), 41);
        QCOMPARE(dayNumberPos(QRectF(1500, 0, 1500, 1000), 200, 240), QPointF(2120, 730));
        QCOMPARE(dayNumberSample(9), QStringLiteral("8"));
        QCOMPARE(dayNumberSample(10), QStringLiteral("88"));
    }

    void tooltipLines_data() {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("line");
        QString hundred(100, u'x');
        hundred[59] = u' ';
        QTest::newRow("space at 60") << hundred << QString(59, u'x') + QStringLiteral(" ....");
        QTest::newRow("exactly 70") << QString(70, u'y') << QString(70, u'y');
        QTest::newRow("71 without a space")
            << QString(71, u'z') << QString(70, u'z') + QStringLiteral(" ....");
        QTest::newRow("short") << QStringLiteral("Dentist") << QStringLiteral("Dentist");
    }
    void tooltipLines() {
        QFETCH(QString, description);
        QFETCH(QString, line);
        QCOMPARE(tooltipLine(description), line);
    }

    void tooltipCollectsTheCellsLines() {
        const std::vector<TooltipEntry> list = {
            {QStringLiteral("a"), 311}, {QStringLiteral("other"), 312}, {QString(31, u'b'), 311}};
        int longest = 0;
        QCOMPARE(tooltipText(list, 311, &longest),
                 QStringLiteral("a\n\n") + QString(31, u'b') + u'\n');
        QCOMPARE(longest, 31);
        QCOMPARE(tooltipWidth(longest), 3000.0);
        QCOMPARE(tooltipWidth(29), 2000.0);
        QCOMPARE(tooltipText(list, 401, &longest), QString());
        QVERIFY(nearEdge(99, 500, 10500, 6000));
        QVERIFY(nearEdge(500, 5901, 10500, 6000));
        QVERIFY(!nearEdge(100, 5900, 10500, 6000));
        QCOMPARE(tooltipTop(1000, 6000, 600), 1360.0);
        QCOMPARE(tooltipTop(4500, 6000, 600), 3850.0);
    }

    void navigation_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        const QDate today = D("2026-03-10");
        QTest::newRow("next month") << "month+" << D("2026-01-31") << D("2026-02-28");
        QTest::newRow("next month in Dec 9998 is today") << "month+" << D("9998-12-15") << today;
        QTest::newRow("into 1753 is today") << "month-" << D("1754-01-15") << today;
        QTest::newRow("Feb 1754 back") << "month-" << D("1754-02-15") << D("1754-01-15");
        QTest::newRow("year up keeps the month") << "year+" << D("2026-03-10") << D("2027-03-10");
        QTest::newRow("year up from 29 Feb") << "year+" << D("2024-02-29") << D("2025-02-28");
        QTest::newRow("year up refused in 9999") << "year+" << D("9999-05-01") << D("9999-05-01");
        QTest::newRow("year down to 1753") << "year-" << D("1754-05-01") << D("1753-05-01");
        QTest::newRow("year down refused in 1753") << "year-" << D("1753-05-01") << D("1753-05-01");
        QTest::newRow("day before 1753 refused") << "day-" << D("1753-01-01") << D("1753-01-01");
        QTest::newRow("day after 9999 refused") << "day+" << D("9999-12-31") << D("9999-12-31");
        QTest::newRow("day") << "day+" << D("2026-03-31") << D("2026-04-01");
    }
    void navigation() {
        QFETCH(QString, step);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        const int sign = step.endsWith(u'+') ? 1 : -1;
        QDate got;
        if (step.startsWith(u'm'))
            got = stepMonth(from, sign, D("2026-03-10"));
        else if (step.startsWith(u'y'))
            got = stepYear(from, sign);
        else
            got = stepDays(from, sign);
        QCOMPARE(got, to);
    }

    void layoutStep() {
        CalendarGeometry g = CalendarGeometry::initial();
        QCOMPARE(g.calFrame.size(), QSizeF(1, 1));
        g.layOut(12000, 9000);
        QCOMPARE(g.calFrame.size(), QSizeF(11550, 6540));
        QCOMPARE(g.cmdFrame.top(), g.calFrame.bottom() + 150);
        QCOMPARE(g.cmdFrame.width(), 11550.0);
        QCOMPARE(g.todayCmd.right(), 11550.0 - 60);
        QCOMPARE(g.exportCmd.left(), g.todayCmd.left() - 1470);
        QCOMPARE(g.calHeadImg.width(), 11490.0);
        QCOMPARE(g.monthNext.right(), 11490.0 - 60);
        QCOMPARE(g.calPic.width(), 11490.0);
        QCOMPARE(g.calPic.height(), 6540 - g.calPic.top() - 30);
        // Narrow windows keep "Go Today" at 7035; tiny ones keep the sizes they had.
        g.layOut(6000, 2000);
        QCOMPARE(g.todayCmd.left(), 7035.0);
        QCOMPARE(g.calFrame.size(), QSizeF(5550, 6540));
        g.layOut(400, 2500);
        QCOMPARE(g.calFrame.size(), QSizeF(5550, 40));
        QCOMPARE(g.calPic.height(), 6540 - g.calPic.top() - 30);
    }

    void atTheLeastSizeEverythingStaysWhole() {
        const QSizeF least = CalendarGeometry::minimumClient();
        CalendarGeometry g = CalendarGeometry::initial();
        g.layOut(least.width(), least.height());
        const QRectF inside(QPointF(0, 0), g.cmdFrame.size());
        for (const QRectF& r :
             {g.searchLb, g.searchTb, g.findCmd, g.editCmd, g.exportCmd, g.todayCmd})
            QVERIFY(inside.contains(r));
        QVERIFY(g.cmdFrame.right() <= least.width() && g.cmdFrame.bottom() <= least.height());
        QVERIFY(g.calPic.height() / 6 >= 300);
        QVERIFY(g.monthNext.left() > g.monthPrev.right());
    }

    // At a device pixel ratio of 2 our pictures are drawn with twice the detail, not
    // doubled; today's number stands in a ring of the selection colour, and only today's.
    void twiceTheDensityAndToday() {
        const std::vector<EventRow> rows = {makeEvent("2026-03-04", 1, "heart", 3)};
        const double W = 10500, H = 6000;
        MonthPainter::MonthScene scene;
        scene.first = D("2026-02-22");
        scene.month = 3;
        scene.rows = &rows;
        scene.occurrences = EventRules::placeMonth(rows, scene.first, 3);
        scene.today = D("2026-03-05");
        scene.flags.addHolidays = true;
        EventIcons icons;
        QImage image(1400, 800, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        MonthPainter::paintGrid(image, W, H, scene, icons, QFont());

        // The heart of cell 10 matches the picture drawn for 48 device pixels, placed where
        // the painter rounds its position to.
        QImage expected(48, 48, QImage::Format_ARGB32_Premultiplied);
        expected.fill(Qt::white);
        QPainter(&expected).drawImage(0, 0, HolidaysIL::drawn(3, 48));
        const QRectF cell10 = cellRect(10, W, H);
        const QPoint at(int(toPixels(cell10.left() + 40) * 2),
                        int(toPixels(cell10.top() + 40) * 2));
        double best = 1e9;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                double diff = 0;
                for (int y = 0; y < 48; ++y)
                    for (int x = 0; x < 48; ++x) {
                        const QColor a = image.pixelColor(at.x() + dx + x, at.y() + dy + y);
                        const QColor b = expected.pixelColor(x, y);
                        diff += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                                std::abs(a.blue() - b.blue());
                    }
                best = std::min(best, diff / (48 * 48 * 3));
            }
        QVERIFY2(best < 1.0, qPrintable(QString::number(best)));

        const auto ringPixels = [&](int k) {
            const QRectF cell = cellRect(k, W, H);
            const QRect area(int(toPixels(cell.left()) * 2), int(toPixels(cell.top()) * 2),
                             int(toPixels(cell.width()) * 2), int(toPixels(cell.height()) * 2));
            int n = 0;
            for (int y = area.top(); y < area.bottom(); ++y)
                for (int x = area.left(); x < area.right(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    n += c.blue() > c.red() + 60 && c.blue() > c.green() + 30;
                }
            return n;
        };
        QVERIFY(ringPixels(11) > 20);
        QCOMPARE(ringPixels(12), 0);
        QCOMPARE(ringPixels(10 + 7), 0);
    }

    void holidayArtIsEightMaskedPictures() {
        for (int k = 1; k <= HolidaysIL::Count; ++k) {
            const QImage raw = HolidaysIL::raw(k);
            const QImage pic = HolidaysIL::picture(k);
            QCOMPARE(raw.size(), QSize(32, 32));
            int masked = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    const bool isMask = (raw.pixel(x, y) & 0xFFFFFF) == 0xC0C0C0;
                    masked += isMask;
                    QCOMPARE(qAlpha(pic.pixel(x, y)) == 0, isMask);
                }
            QVERIFY2(masked > 100 && masked < 900, qPrintable(QString::number(k)));
            for (int j = 1; j < k; ++j)
                QVERIFY(HolidaysIL::raw(j) != raw);
        }
        QCOMPARE(HolidaysIL::raw(0), HolidaysIL::raw(1));
        QCOMPARE(HolidaysIL::raw(9), HolidaysIL::raw(1));
    }

    void hiddenHolidayGivesItsPlaceAndOverflowStaysOutOfTooltip() {
        // 4 March 2026 is cell 10 of March's grid (from 22 February).
        std::vector<EventRow> rows = {
            makeEvent("2026-03-04", 1, "US day", 201),
            makeEvent("2026-03-04", 1, "mine", 0, toPng(filled(0xFF0000FF)))};
        for (int i = 0; i < 9; ++i)
            rows.push_back(makeEvent("2026-03-05", 1, QStringLiteral("busy %1").arg(i)));
        const double W = 10500, H = 6000;
        MonthPainter::MonthScene scene;
        scene.first = D("2026-02-22");
        scene.month = 3;
        scene.rows = &rows;
        scene.occurrences = EventRules::placeMonth(rows, scene.first, 3);
        EventIcons icons;
        QImage image(700, 400, QImage::Format_ARGB32_Premultiplied);
        const QPoint firstIcon(int(toPixels(cellRect(10, W, H).left() + 40 + 180)),
                               int(toPixels(cellRect(10, W, H).top() + 40 + 180)));

        std::vector<TooltipEntry> tips =
            MonthPainter::paintGrid(image, W, H, scene, icons, QFont());
        int longest = 0;
        QCOMPARE(tooltipText(tips, 304, &longest), QStringLiteral("mine\n"));
        QCOMPARE(image.pixelColor(firstIcon), QColor(0, 0, 255));
        // Eight of the nine icons of the 5th are drawn and listed; the ninth is "...".
        QCOMPARE(std::count_if(tips.begin(), tips.end(),
                               [](const TooltipEntry& e) { return e.key == 305; }),
                 8);
        QVERIFY(!tooltipText(tips, 305, &longest).contains(QStringLiteral("busy 8")));
        // Only drawn rows need their text and picture read: not the hidden one nor "busy 8".
        QCOMPARE(MonthPainter::drawnRows(scene, W, H),
                 (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));

        scene.flags.addAmerica = true;
        tips = MonthPainter::paintGrid(image, W, H, scene, icons, QFont());
        QCOMPARE(tooltipText(tips, 304, &longest), QStringLiteral("US day\n\nmine\n"));
        QVERIFY(image.pixelColor(firstIcon) != QColor(0, 0, 255));

        // Grid lines in &HE0E0E0 between the columns.
        QCOMPARE(image.pixelColor(100, 5), QColor(0xE0, 0xE0, 0xE0));
    }
    // The month view keeps only the rows a drawing can show and stops reading once every
    // cell is full; what it draws must be what placing every row draws.
    void keptRowsDrawLikeAllRows_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("smallIcons");
        QTest::addColumn<bool>("allHolidays");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("stopsEarly");
        QTest::newRow("crowded month") << 4000 << false << true << "2026-03-10" << true;
        QTest::newRow("crowded, small icons, holidays hidden")
            << 4000 << true << false << "2026-03-10" << true;
        QTest::newRow("sparse month") << 150 << false << true << "2025-12-31" << false;
        QTest::newRow("sparse, small icons") << 150 << true << false << "2024-02-29" << false;
    }

    void keptRowsDrawLikeAllRows() {
        QFETCH(int, count);
        QFETCH(bool, smallIcons);
        QFETCH(bool, allHolidays);
        QFETCH(QString, selected);
        QFETCH(bool, stopsEarly);
        QRandomGenerator rng(20260311);
        const QDate day = QDate::fromString(selected, Qt::ISODate);
        std::vector<EventRow> all;
        for (int i = 0; i < count; ++i) {
            const int holiday = i % 4 ? 0 : rng.bounded(1, 260);
            all.push_back(makeEvent(day.addDays(rng.bounded(-900, 200)), rng.bounded(0, 7),
                                    QStringLiteral("event %1").arg(i), holiday,
                                    i % 3 ? QByteArray() : toPng(filled(0xFF000000 | quint32(i)))));
            all.back().rowId = i + 1;
        }
        const QDate first = EventRules::firstVisibleDay(day);
        const int month = day.month();
        const double W = 10500, H = 6000;
        MonthPainter::MonthScene scene;
        scene.first = first;
        scene.month = month;
        scene.smallIcons = smallIcons;
        scene.flags = {allHolidays, allHolidays, allHolidays};
        EventIcons icons;
        const auto paint = [&](std::vector<TooltipEntry>& tips) {
            QImage image(700, 400, QImage::Format_ARGB32_Premultiplied);
            tips = MonthPainter::paintGrid(image, W, H, scene, icons, QFont());
            return image;
        };

        std::vector<TooltipEntry> everyTip;
        scene.rows = &all;
        scene.occurrences = EventRules::placeMonth(all, first, month);
        const QImage everyRow = paint(everyTip);

        MonthPlacement placement(first, month, scene.flags, smallIcons, W, H);
        bool stopped = false;
        for (const EventRow& r : all) {
            if (EventRules::monthViewFetches(r, first, first.addDays(41), month) &&
                !placement.add(r)) {
                stopped = true;
                break;
            }
        }
        QCOMPARE(stopped, stopsEarly);
        placement.fill(scene);
        std::vector<TooltipEntry> keptTip;
        QCOMPARE(paint(keptTip), everyRow);
        QCOMPARE(keptTip.size(), everyTip.size());
        for (size_t i = 0; i < keptTip.size(); ++i) {
            QCOMPARE(keptTip[i].text, everyTip[i].text);
            QCOMPARE(keptTip[i].key, everyTip[i].key);
        }
        // Exactly the rows that show an icon need their text and picture read.
        std::vector<qint64> drawn;
        for (const EventRow* r : placement.drawnRows())
            drawn.push_back(r->rowId);
        std::vector<qint64> expected;
        scene.rows = &all;
        scene.occurrences = EventRules::placeMonth(all, first, month);
        for (int i : MonthPainter::drawnRows(scene, W, H))
            expected.push_back(all[size_t(i)].rowId);
        QCOMPARE(drawn, expected);
    }
};

QTEST_MAIN(TestMonthLayout)
#include "tst_monthlayout.moc"
