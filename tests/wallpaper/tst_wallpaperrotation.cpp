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
        QTest::addColumn<QDate>("today");
        QTest::addColumn<bool>("due");

        QTest::newRow("weekly, Sunday 6 days on") << 0 << Monday << Monday.addDays(6) << true;
        QTest::newRow("weekly, Saturday 5 days on") << 0 << Monday << Monday.addDays(5) << false;
        QTest::newRow("weekly, Monday 7 days on") << 0 << Monday << Monday.addDays(7) << true;
        QTest::newRow("weekly, Thursday 7 days on")
            << 0 << Monday.addDays(3) << Monday.addDays(10) << true;
        QTest::newRow("weekly, changed this Sunday")
            << 0 << Monday.addDays(6) << Monday.addDays(6) << false;
        QTest::newRow("weekly, never changed, Sunday")
            << 0 << QDate() << Monday.addDays(6) << false;
        QTest::newRow("daily, same day") << 1 << Monday << Monday << false;
        QTest::newRow("daily, next day") << 1 << Monday << Monday.addDays(1) << true;
        QTest::newRow("daily, never changed") << 1 << QDate() << Monday << false;
        QTest::newRow("every start, same day") << 2 << Monday << Monday << true;
        QTest::newRow("every start, never changed") << 2 << QDate() << Monday << true;
        QTest::newRow("never") << 3 << Monday.addDays(-30) << Monday << false;
        QTest::newRow("unknown code") << 7 << Monday.addDays(-30) << Monday << false;
    }
    void changeDue() {
        QFETCH(int, option);
        QFETCH(QDate, lastDay);
        QFETCH(QDate, today);
        QFETCH(bool, due);
        QCOMPARE(isChangeDue(option, lastDay, today), due);
    }

    void nothingWithoutOptionOrImages() {
        Input in{Never, Monday.addDays(-9), {}, {QStringLiteral("/p/a.jpg")}, Monday};
        QVERIFY(!decide(in, fixed(0)));
        in.option = EveryStart;
        in.files.clear();
        QVERIFY(!decide(in, fixed(0)));
        in.files = {QStringLiteral("/p/a.jpg")};
        in.option = EveryDay;
        in.lastDay = Monday;
        QVERIFY(!decide(in, fixed(0)));
    }

    void singleImageIsAppliedAgain() {
        const Input in{EveryStart,
                       Monday,
                       QStringLiteral("/p/a.jpg"),
                       {QStringLiteral("  /p/a.jpg ")},
                       Monday.addDays(1)};
        const auto d = decide(in, fixed(0.7));
        QVERIFY(d);
        QCOMPARE(d->file, QStringLiteral("/p/a.jpg"));
        QCOMPARE(d->curWall, d->file);
        QCOMPARE(d->lastDay, Monday.addDays(1));
    }

    // Two images alternate whatever the draw and whatever the letter case of CurWall.
    void twoImagesAlternate() {
        const QStringList files = {QStringLiteral("/p/Sea.jpg"), QStringLiteral("/p/Hill.png")};
        QString current = QStringLiteral(" /P/SEA.JPG ");
        for (double r : {0.0, 0.25, 0.5, 0.75, 0.999999, 1.0}) {
            const auto d = decide({EveryStart, Monday, current, files, Monday}, fixed(r));
            QVERIFY(d);
            QVERIFY(d->file.compare(current.trimmed(), Qt::CaseInsensitive) != 0);
            current = d->curWall;
        }
    }

    // Each image other than the current one covers an equal share of [0, 1).
    void drawIsUniformOverTheOthers_data() {
        QTest::addColumn<double>("r");
        QTest::addColumn<int>("index");
        QTest::newRow("0") << 0.0 << 0;
        QTest::newRow("just under a third") << 0.333 << 0;
        QTest::newRow("a third") << 0.34 << 2;
        QTest::newRow("two thirds") << 0.67 << 3;
        QTest::newRow("top") << 0.9999 << 3;
        QTest::newRow("out of range high") << 1.0 << 3;
        QTest::newRow("out of range low") << -0.5 << 0;
    }
    void drawIsUniformOverTheOthers() {
        QFETCH(double, r);
        QFETCH(int, index);
        const QStringList files = {QStringLiteral("a"), QStringLiteral("B"), QStringLiteral("c"),
                                   QStringLiteral("d")};
        QCOMPARE(drawIndex(files, QStringLiteral("b"), fixed(r)), index);
    }

    // A list naming only the current picture (in several spellings) still ends the draw.
    void drawEndsWhenEveryRowIsCurrent() {
        const QStringList files = {QStringLiteral("/p/a.jpg"), QStringLiteral("/P/A.JPG ")};
        QCOMPARE(drawIndex(files, QStringLiteral("/p/A.jpg"), fixed(0.9)), 1);
        QCOMPARE(drawIndex({}, QString(), fixed(0.9)), -1);
    }
};

QTEST_APPLESS_MAIN(TestWallpaperRotation)
#include "tst_wallpaperrotation.moc"
