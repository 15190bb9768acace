// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "data/Settings.h"
#include "shell/ScreenFit.h"
#include "shell/WindowPlacement.h"

#include <QTemporaryDir>
#include <QTest>

using WindowPlacement::Stored;

Q_DECLARE_METATYPE(Stored)
Q_DECLARE_METATYPE(QList<WindowPlacement::Screen>)

namespace {
const QSize Default(780, 560);
const QRect Screen(0, 0, 1920, 1080);
const QRect Available(0, 0, 1920, 1040); // a panel at the bottom
const QList<WindowPlacement::Screen> OneScreen{{Screen, Available}};
} // namespace

class TestPlacement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onOpen_data() {
        QTest::addColumn<Stored>("stored");
        QTest::addColumn<QList<WindowPlacement::Screen>>("screens");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("expected");
        QTest::addColumn<bool>("fitted");

        const QMargins none;
        QTest::newRow("stored placement, twips to pixels")
            << Stored{1500, 3000, 12000, 9000, false} << OneScreen << none
            << QRect(100, 200, 800, 600) << false;
        QTest::newRow("zero sizes keep the default size")
            << Stored{1500, 3000, 0, 0, false} << OneScreen << none
            << QRect(QPoint(100, 200), Default) << false;
        QTest::newRow("zero width alone keeps the default width")
            << Stored{0, 0, 0, 9000, false} << OneScreen << none
            << QRect(0, 0, Default.width(), 600) << false;
        QTest::newRow("left beyond the screen comes to its right edge, keeping its size")
            << Stored{30000, 1500, 12000, 9000, false} << OneScreen << none
            << QRect(1120, 100, 800, 600) << true;
        QTest::newRow("top beyond the screen comes above the panel, keeping its size")
            << Stored{1500, 17000, 12000, 9000, false} << OneScreen << none
            << QRect(100, 440, 800, 600) << true;
        QTest::newRow("left exactly on the right edge is off the screen")
            << Stored{28800, 0, 12000, 9000, false} << OneScreen << none << QRect(1120, 0, 800, 600)
            << true;
        QTest::newRow("wholly left of the screen comes to its left edge")
            << Stored{-15000, 0, 12000, 9000, false} << OneScreen << none << QRect(0, 0, 800, 600)
            << true;
        // Closed on the right of two 1920 x 1080 monitors, opened with the left one only.
        QTest::newRow("on a monitor that is gone: frame and status bar on the one left")
            << Stored{39000, 1500, 15000, 12000, false} << OneScreen << QMargins(1, 24, 1, 1)
            << QRect(918, 100, 1000, 800) << true;
        QTest::newRow("partly left of the screen is brought onto it")
            << Stored{-1500, 0, 12000, 9000, false} << OneScreen << none << QRect(0, 0, 800, 600)
            << true;
        QTest::newRow("partly under the bottom panel is lifted above it")
            << Stored{1500, 9000, 12000, 9000, false} << OneScreen << none
            << QRect(100, 440, 800, 600) << true;
        QTest::newRow("on a second display of the desktop stays")
            << Stored{30000, 1500, 12000, 9000, false}
            << QList<WindowPlacement::Screen>{{Screen, Available},
                                              {QRect(1920, 0, 1280, 1080),
                                               QRect(1920, 0, 1280, 1080)}}
            << none << QRect(2000, 100, 800, 600) << false;
        // 1920 x 1080 at scale 2 is 960 x 540; its panel takes 27.
        const QList<WindowPlacement::Screen> halved{{QRect(0, 0, 960, 540), QRect(0, 0, 960, 513)}};
        QTest::newRow("a placement stored at scale 1 fits the screen at scale 2")
            << Stored{4500, 3000, 15000, 10500, false} << halved << none << QRect(0, 0, 960, 513)
            << true;
        QTest::newRow("a fresh start at scale 2 keeps the frame and status bar on the screen")
            << Stored{} << halved << QMargins(0, 20, 0, 0) << QRect(0, 0, 780, 493) << true;
        QTest::newRow("a top panel: the frame starts below it")
            << Stored{0, 0, 28800, 16200, false}
            << QList<WindowPlacement::Screen>{{Screen, QRect(0, 32, 1920, 1048)}}
            << QMargins(2, 24, 2, 2) << QRect(0, 32, 1916, 1022) << true;
    }

    void onOpen() {
        QFETCH(Stored, stored);
        QFETCH(QList<WindowPlacement::Screen>, screens);
        QFETCH(QMargins, frame);
        QFETCH(QRect, expected);
        QFETCH(bool, fitted);
        const auto o = WindowPlacement::onOpen(stored, Default, screens, frame);
        QCOMPARE(o.geometry, expected);
        QCOMPARE(o.fitted, fitted);
        QCOMPARE(o.maximised, stored.maximised);
    }

    // A window's client area with its frame onto the screens' available areas.
    void screenFit_data() {
        QTest::addColumn<QRect>("client");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QList<QRect>>("areas");
        QTest::addColumn<QRect>("expected");

        const QRect left(0, 0, 1920, 1040);
        const QRect right(1920, 0, 1920, 1080);
        const QMargins frame(4, 24, 4, 4);
        QTest::newRow("wholly inside stays")
            << QRect(2004, 124, 800, 600) << frame << QList<QRect>{left, right}
            << QRect(2004, 124, 800, 600);
        QTest::newRow("across two screens goes to the one it overlaps most")
            << QRect(1804, 124, 800, 600) << frame << QList<QRect>{left, right}
            << QRect(1924, 124, 800, 600);
        QTest::newRow("on a screen that is gone: the nearest, same size")
            << QRect(4004, 124, 800, 600) << frame << QList<QRect>{left, right}
            << QRect(3036, 124, 800, 600);
        QTest::newRow("below every screen: the nearest is below it, same size")
            << QRect(100, 2000, 800, 600) << frame << QList<QRect>{left, QRect(1920, 0, 1280, 720)}
            << QRect(100, 436, 800, 600);
        QTest::newRow("partly under the bottom panel is lifted, frame included")
            << QRect(104, 700, 800, 400) << frame << QList<QRect>{left}
            << QRect(104, 636, 800, 400);
        QTest::newRow("bigger than the screen shrinks to it, frame included")
            << QRect(2004, 24, 2400, 1400) << frame << QList<QRect>{left}
            << QRect(4, 24, 1912, 1012);
        // A gap a scaled monitor leaves in the layout lies on no screen.
        QTest::newRow("in a gap between screens: the nearest")
            << QRect(1500, 800, 300, 200) << QMargins()
            << QList<QRect>{QRect(0, 0, 1280, 720), right} << QRect(1920, 800, 300, 200);
        QTest::newRow("a frame larger than the area keeps a title bar at its corner")
            << QRect(500, 500, 300, 200) << QMargins(20, 150, 20, 20)
            << QList<QRect>{QRect(0, 0, 200, 160)} << QRect(20, 150, 160, 1);
        QTest::newRow("no screens: as it was") << QRect(-500, 9000, 300, 200) << frame
                                               << QList<QRect>{} << QRect(-500, 9000, 300, 200);
    }

    void screenFit() {
        QFETCH(QRect, client);
        QFETCH(QMargins, frame);
        QFETCH(QList<QRect>, areas);
        QFETCH(QRect, expected);
        const ScreenFit fit(areas);
        const QRect placed = fit.place(client, frame);
        QCOMPARE(placed, expected);
        if (!areas.isEmpty() && placed.height() > 1)
            QVERIFY(fit.contains(placed.marginsAdded(frame)));
        // Placing again changes nothing.
        QCOMPARE(fit.place(placed, frame), placed);
    }

    // Closing while maximised keeps what the last normal close stored and reopens
    // maximised; a later normal close clears winMax again.
    void roundTripThroughTheDataFile() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("data.plm"));
        QVERIFY(programSchema().createTemplate(file, QDate(2026, 1, 1)).isEmpty());

        const Stored fresh = WindowPlacement::load(SettingsStore(file));
        QCOMPARE(WindowPlacement::onOpen(fresh, Default, OneScreen).geometry,
                 QRect(QPoint(0, 0), Default));

        QVERIFY(WindowPlacement::save(SettingsStore(file), QRect(100, 200, 800, 600), {}, false,
                                      false));
        QVERIFY(WindowPlacement::save(SettingsStore(file), Screen, {}, false, true));
        const Stored afterMax = WindowPlacement::load(SettingsStore(file));
        const auto reopened = WindowPlacement::onOpen(afterMax, Default, OneScreen);
        QCOMPARE(reopened.geometry, QRect(100, 200, 800, 600));
        QVERIFY(reopened.maximised);
        QVERIFY(SettingsStore(file).load()->windowMaximised);

        QVERIFY(
            WindowPlacement::save(SettingsStore(file), QRect(10, 20, 640, 480), {}, false, false));
        const auto again =
            WindowPlacement::onOpen(WindowPlacement::load(SettingsStore(file)), Default, OneScreen);
        QCOMPARE(again.geometry, QRect(10, 20, 640, 480));
        QVERIFY(!again.maximised);
    }

    // A window fitted to a smaller screen and closed as it opened leaves the user's own
    // placement stored; moved or resized by the user, the new one is stored.
    void onlyTheUsersOwnPlacementIsStored() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("data.plm"));
        QVERIFY(programSchema().createTemplate(file, QDate(2026, 1, 1)).isEmpty());
        QVERIFY(WindowPlacement::save(SettingsStore(file), QRect(300, 200, 1000, 700), {}, false,
                                      false));
        const QList<WindowPlacement::Screen> small{{QRect(0, 0, 960, 540), QRect(0, 0, 960, 513)}};
        const QRect fitted =
            WindowPlacement::onOpen(WindowPlacement::load(SettingsStore(file)), Default, small)
                .geometry;
        QCOMPARE(fitted, QRect(0, 0, 960, 513));

        QVERIFY(WindowPlacement::save(SettingsStore(file), fitted, fitted, false, false));
        QCOMPARE(
            WindowPlacement::onOpen(WindowPlacement::load(SettingsStore(file)), Default, OneScreen)
                .geometry,
            QRect(300, 200, 1000, 700));

        QVERIFY(WindowPlacement::save(SettingsStore(file), QRect(10, 10, 900, 480), fitted, false,
                                      false));
        QCOMPARE(
            WindowPlacement::onOpen(WindowPlacement::load(SettingsStore(file)), Default, OneScreen)
                .geometry,
            QRect(10, 10, 900, 480));
    }

    void missingDataFileOpensAtTheDefaultSize() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("data.plm"));
        const auto o =
            WindowPlacement::onOpen(WindowPlacement::load(SettingsStore(file)), Default, OneScreen);
        QCOMPARE(o.geometry, QRect(QPoint(0, 0), Default));
        QVERIFY(!WindowPlacement::save(SettingsStore(file), Screen, {}, false, false));
        QVERIFY(!QFile::exists(file));
    }
};

QTEST_GUILESS_MAIN(TestPlacement)
#include "tst_placement.moc"
