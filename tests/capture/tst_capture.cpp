// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "capture/CaptureRules.h"
#include "capture/CaptureStore.h"

#include <QTemporaryDir>
#include <QTest>

using namespace CaptureRules;

namespace {

// A screen of distinct pixels, so any shift or stray line shows.
QImage screen(int width, int height, qreal ratio = 1.0) {
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.setPixel(x, y, qRgb(x % 251, y % 241, 200));
    img.setDevicePixelRatio(ratio);
    return img;
}

QList<int> blackRows(const QImage& img) {
    QList<int> rows;
    for (int y = 0; y < img.height(); ++y)
        if (img.pixel(img.width() / 2, y) == qRgb(0, 0, 0))
            rows << y;
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(QList<ScreenGrab::Screen>)

class TestCapture : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void titles_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // null when refused
        const QString fifty(50, u'a');
        QTest::newRow("50 characters") << fifty << fifty;
        QTest::newRow("51 characters") << fifty + u'b' << QString();
        QTest::newRow("trailing blanks dropped first") << fifty + QStringLiteral("  \t") << fifty;
        QTest::newRow("leading blanks kept") << "  Desk "
                                             << "  Desk";
        QTest::newRow("only blanks") << "   " << QString();
        QTest::newRow("empty") << "" << QString();
        // Characters outside the basic plane are two UTF-16 units but one character.
        QString emoji;
        for (int i = 0; i < 50; ++i)
            emoji += QString::fromUcs4(U"\U0001F5A5");
        QTest::newRow("50 wide characters") << emoji << emoji;
    }
    void titles() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        const std::optional<QString> title = acceptTitle(typed);
        QCOMPARE(title.has_value(), !stored.isNull());
        if (title)
            QCOMPARE(*title, stored);
    }

    void listAndCommands() {
        // The row after a delete: the same position, or the new last; none when empty.
        QCOMPARE(selectionAfterDelete(2, 2), 1);
        QCOMPARE(selectionAfterDelete(0, 2), 0);
        QCOMPARE(selectionAfterDelete(0, 0), -1);
        const Commands none = commands(0, true);
        QVERIFY(!none.imageArea && !none.fullScreen && !none.copy && !none.remove && !none.print);
        QVERIFY(!commands(3, false).print);
        QCOMPARE(printOrientation(QSize(640, 2000)), QPageLayout::Portrait);
        QCOMPARE(printOrientation(QSize(641, 10)), QPageLayout::Landscape);
    }

    void releasedPreview_data() {
        QTest::addColumn<QPoint>("dropped");
        QTest::addColumn<QPoint>("placed");
        // A 300 x 200 picture in a 500 x 400 area.
        QTest::newRow("still visible") << QPoint(-299, 399) << QPoint(-299, 399);
        QTest::newRow("far left") << QPoint(-900, 50) << QPoint(8, 50);
        QTest::newRow("at the right edge") << QPoint(500, 50) << QPoint(8, 50);
        QTest::newRow("both ways out") << QPoint(700, 400) << QPoint(8, 8);
    }
    void releasedPreview() {
        QFETCH(QPoint, dropped);
        QTEST(CaptureRules::releasedPreview(dropped, QSize(300, 200), QSize(500, 400)), "placed");
    }

    void selection() {
        const QRect screenRect(0, 0, 1920, 1080);
        Selection s(screenRect);
        // Without a drag: the initial rectangle, centred; a click keeps it.
        QCOMPARE(s.rect(), QRect(640, 300, 640, 480));
        s.press(QPoint(50, 60));
        s.release(QPoint(50, 60));
        QCOMPARE(s.rect(), QRect(640, 300, 640, 480));

        // Every drag direction over the same corners gives the same rectangle.
        for (const auto& [from, to] : {std::pair{QPoint(100, 50), QPoint(400, 250)},
                                       {QPoint(400, 250), QPoint(100, 50)},
                                       {QPoint(400, 50), QPoint(100, 250)}}) {
            s.press(from);
            QCOMPARE(s.band(to), QRect(100, 50, 300, 200));
            s.release(to);
            QCOMPARE(s.rect(), QRect(100, 50, 300, 200));
        }

        // A drag past the screen's edge keeps to the screen.
        s.press(QPoint(1800, 1000));
        s.release(QPoint(2100, 1200));
        QCOMPARE(s.rect(), QRect(1800, 1000, 120, 80));
    }

    // An area across monitors of different scales comes from each monitor's own pixels.
    void areaAcrossMonitors() {
        const QList<ScreenGrab::Screen> screens{
            {QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1080)},
            {QRect(1920, 0, 1280, 720), QRect(1920, 0, 1920, 1080)}};
        // 420 logical pixels on the left, 80 on the right: 120 device pixels there, from
        // 150 to 600 down.
        QCOMPARE(CaptureRules::picturePart(screens, QRect(1500, 100, 500, 300)),
                 QRect(1500, 100, 540, 500));
        QCOMPARE(CaptureRules::picturePart(screens, QRect(100, 100, 200, 100)),
                 QRect(100, 100, 200, 100));
        QVERIFY(CaptureRules::picturePart(screens, QRect(2000, 800, 50, 50)).isEmpty());
        QCOMPARE(CaptureRules::screenAt(screens, QPoint(2000, 10)), 1);
        // In the gap below the smaller monitor: the nearest one.
        QCOMPARE(CaptureRules::screenAt(screens, QPoint(2000, 900)), 0);
        QCOMPARE(CaptureRules::screenAt({}, QPoint(0, 0)), -1);

        // The first area is centred on the monitor it is given.
        const Selection s(QRect(0, 0, 3840, 1080), QRect(1920, 0, 1920, 1080));
        QCOMPARE(s.rect(), QRect(2560, 300, 640, 480));
    }

    // The frozen desktop's window covers the picture pixel for pixel whatever the scales:
    // it stands at the scale of the screen its centre lies on.
    void coverTheDesktop_data() {
        QTest::addColumn<QList<ScreenGrab::Screen>>("screens");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<qreal>("scale");
        const QRect left(0, 0, 1920, 1080), right(1920, 0, 1920, 1080);
        QTest::newRow("one scale") << QList<ScreenGrab::Screen>{{left, left}, {right, right}}
                                   << QRect(0, 0, 3840, 1080) << 1.0;
        // Scaled 2 both: the desktop leaves a gap between 960 and 1920.
        QTest::newRow("both at 2") << QList<ScreenGrab::Screen>{{QRect(0, 0, 960, 540), left},
                                                                {QRect(1920, 0, 960, 540), right}}
                                   << QRect(0, 0, 1920, 540) << 2.0;
        QTest::newRow("left at 1.5")
            << QList<ScreenGrab::Screen>{{QRect(0, 0, 1280, 720), left}, {right, right}}
            << QRect(0, 0, 2560, 720) << 1.5;
        QTest::newRow("right at 1.5")
            << QList<ScreenGrab::Screen>{{left, left}, {QRect(1920, 0, 1280, 720), right}}
            << QRect(0, 0, 3840, 1080) << 1.0;
    }
    void coverTheDesktop() {
        QFETCH(QList<ScreenGrab::Screen>, screens);
        const std::optional<CaptureRules::Cover> c = CaptureRules::cover(screens, {3840, 1080});
        QVERIFY(c);
        QTEST(c->geometry, "geometry");
        QTEST(c->scale, "scale");
        // A picture whose monitors are not where the desktop puts them: nothing.
        screens[1].picture.translate(10, 0);
        QVERIFY(!CaptureRules::cover(screens, {3850, 1080}));
    }

    // Guide lines are drawn on a copy: captures come from the clean screen.
    void guideLinesStayOffTheCapture() {
        const QImage clean = screen(200, 95);
        const QImage lined = withGuideLines(clean);
        QCOMPARE(blackRows(lined), (QList<int>{0, 30, 60, 90}));
        QVERIFY(blackRows(clean).isEmpty());
        QCOMPARE(capture(clean, QRect(0, 0, 200, 95)), clean);
        QCOMPARE(capture(clean, QRect(10, 20, 30, 40)), clean.copy(10, 20, 30, 40));

        // On a double-density screen: a line every 30 logical pixels, areas in device pixels.
        const QImage dense = screen(400, 190, 2.0);
        QCOMPARE(blackRows(withGuideLines(dense)), (QList<int>{0, 60, 120, 180}));
        QImage part = dense.copy(20, 40, 60, 80);
        part.setDevicePixelRatio(1.0); // stored at its natural size
        QCOMPARE(capture(dense, QRect(10, 20, 30, 40)), part);
    }

    void store() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data.plm"));
        QCOMPARE(programSchema().createTemplate(path, QDate(2026, 3, 1)), QString());
        CaptureStore store(path);

        // Images come back pixel for pixel; an empty grab is never stored.
        const QImage first = screen(320, 200);
        const qint64 a = store.add(first);
        const qint64 b = store.add(screen(33, 17));
        QVERIFY(a && b);
        QCOMPARE(store.add(QImage()), 0);
        QVERIFY(!store.lastError().isEmpty());
        QCOMPARE(store.image(a).convertToFormat(QImage::Format_RGB32), first);

        QVERIFY(store.rename(b, QStringLiteral("  Desk")));
        std::vector<CaptureItem> items;
        QVERIFY(store.list(items));
        QCOMPARE(items.size(), size_t(2));
        QCOMPARE(items[0].title, QStringLiteral("New Screen Image"));
        QCOMPARE(items[1].title, QStringLiteral("  Desk"));
        QCOMPARE(items[1].rowId, b);

        QVERIFY(store.remove(a));
        QVERIFY(store.list(items));
        QCOMPARE(items.size(), size_t(1));
        QVERIFY(store.image(a).isNull());
        QVERIFY(!store.rename(a, QStringLiteral("gone")));
    }
};

QTEST_GUILESS_MAIN(TestCapture)
#include "tst_capture.moc"
