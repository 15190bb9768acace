// SPDX-License-Identifier: GPL-3.0-or-later
#include "wallpaper/WallpaperRotation.h"

#include <QTest>

using namespace WallpaperRotation;

namespace {
const QDate Monday(2026, 3, 9);

RandomSource fixed(double r) {
    return [r] { return r; };
}
} // namespace

class TestWallpaperRotation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void changeDue_data() {
        QTest::addColumn<int>("option");
        QTest::addColumn<QDate>("lastDay");
        QTest::addColumn<int>("daysLater");
        QTest::addColumn<bool>("due");
        QTest::newRow("weekly, Sunday 6 days on") << 0 << Monday << 6 << true;
        QTest::newRow("weekly, Saturday 5 days on") << 0 << Monday << 5 << false;
        QTest::newRow("weekly, 7 days on") << 0 << Monday.addDays(3) << 7 << true;
        QTest::newRow("weekly, changed this Sunday") << 0 << Monday.addDays(6) << 0 << false;
        QTest::newRow("weekly, never changed") << 0 << QDate() << 6 << false;
        QTest::newRow("daily, same day") << 1 << Monday << 0 << false;
        QTest::newRow("daily, next day") << 1 << Monday << 1 << true;
        QTest::newRow("daily, never changed") << 1 << QDate() << 0 << false;
        QTest::newRow("every start, same day") << 2 << Monday << 0 << true;
        QTest::newRow("never") << 3 << Monday << 30 << false;
    }
    void changeDue() {
        QFETCH(int, option);
        QFETCH(QDate, lastDay);
        QFETCH(int, daysLater);
        QFETCH(bool, due);
        const QDate today = (lastDay.isValid() ? lastDay : Monday).addDays(daysLater);
        QCOMPARE(isChangeDue(option, lastDay, today), due);
        // Whatever is due, nothing happens without images.
        QVERIFY(!decide({option, lastDay, {}, {}, today}, fixed(0)));
        QCOMPARE(bool(decide({option, lastDay, {}, {"/p/a.jpg"}, today}, fixed(0))), due);
    }

    void singleImageIsAppliedAgain() {
        const auto d =
            decide({EveryDay, Monday, "/p/a.jpg", {"  /p/a.jpg "}, Monday.addDays(1)}, fixed(0.7));
        QVERIFY(d);
        QCOMPARE(d->file, QStringLiteral("/p/a.jpg"));
        QCOMPARE(d->curWall, d->file);
        QCOMPARE(d->lastDay, Monday.addDays(1));
    }

    // Two images alternate whatever the draw and the letter case of CurWall.
    void twoImagesAlternate() {
        const QStringList files = {"/p/Sea.jpg", "/p/Hill.png"};
        QString current = " /P/SEA.JPG ";
        for (double r : {0.0, 0.5, 0.999999, 1.0, 0.25}) {
            const auto d = decide({EveryStart, Monday, current, files, Monday}, fixed(r));
            QVERIFY(d && d->file.compare(current.trimmed(), Qt::CaseInsensitive) != 0);
            current = d->curWall;
        }
    }

    // The images other than the current one share [0, 1) equally; a list naming only the
    // current picture (in several spellings) still ends the draw.
    void drawIsUniformAndEnds() {
        const QStringList files = {"a", "B", "c", "d"};
        const QList<std::pair<double, int>> cases = {{0.0, 0},    {0.333, 0}, {0.34, 2}, {0.67, 3},
                                                     {0.9999, 3}, {1.0, 3},   {-0.5, 0}};
        for (const auto& [r, index] : cases)
            QCOMPARE(drawIndex(files, "b", fixed(r)), index);
        QCOMPARE(drawIndex({"/p/a.jpg", "/P/A.JPG "}, "/p/A.jpg", fixed(0.9)), 1);
        QCOMPARE(drawIndex({}, {}, fixed(0.9)), -1);
    }
};

QTEST_APPLESS_MAIN(TestWallpaperRotation)
#include "tst_wallpaperrotation.moc"
