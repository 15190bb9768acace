#include "core/DataFile.h"
#include "core/Schema.h"
#include "core/Settings.h"
#include "core/WindowPlacement.h"

#include <QTemporaryDir>
#include <QTest>

using WindowPlacement::Stored;

Q_DECLARE_METATYPE(Stored)

namespace {
const QSize Default(780, 560);
const QRect Screen(0, 0, 1920, 1080);
} // namespace

class TestPlacement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onOpen_data() {
        QTest::addColumn<Stored>("stored");
        QTest::addColumn<QRect>("desktop");
        QTest::addColumn<QRect>("expected");

        QTest::newRow("stored placement, twips to pixels")
            << Stored{1500, 3000, 12000, 9000, false} << Screen << QRect(100, 200, 800, 600);
        QTest::newRow("zero sizes keep the default size")
            << Stored{1500, 3000, 0, 0, false} << Screen << QRect(QPoint(100, 200), Default);
        QTest::newRow("zero width alone keeps the default width")
            << Stored{0, 0, 0, 9000, false} << Screen << QRect(0, 0, Default.width(), 600);
        QTest::newRow("left beyond the screen covers the screen")
            << Stored{30000, 1500, 12000, 9000, false} << Screen << Screen;
        QTest::newRow("top beyond the screen covers the screen")
            << Stored{1500, 17000, 12000, 9000, false} << Screen << Screen;
        QTest::newRow("left exactly on the right edge is off the screen")
            << Stored{28800, 0, 12000, 9000, false} << Screen << Screen;
        QTest::newRow("wholly left of the screen covers the screen")
            << Stored{-15000, 0, 12000, 9000, false} << Screen << Screen;
        QTest::newRow("partly left of the screen stays")
            << Stored{-1500, 0, 12000, 9000, false} << Screen << QRect(-100, 0, 800, 600);
        QTest::newRow("on a second display of the desktop stays")
            << Stored{30000, 1500, 12000, 9000, false} << QRect(0, 0, 3200, 1080)
            << QRect(2000, 100, 800, 600);
    }

    void onOpen() {
        QFETCH(Stored, stored);
        QFETCH(QRect, desktop);
        QFETCH(QRect, expected);
        const auto o = WindowPlacement::onOpen(stored, Default, desktop, Screen);
        QCOMPARE(o.geometry, expected);
        QCOMPARE(o.maximised, stored.maximised);
    }

    // Closing while maximised keeps what the last normal close stored and reopens
    // maximised; a later normal close clears winMax again.
    void roundTripThroughTheDataFile() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("data.plm"));
        QVERIFY(Schema::createTemplate(file, QDate(2026, 1, 1)).isEmpty());

        const Stored fresh = WindowPlacement::load(file);
        QCOMPARE(WindowPlacement::onOpen(fresh, Default, Screen, Screen).geometry,
                 QRect(QPoint(0, 0), Default));

        QVERIFY(WindowPlacement::save(file, QRect(100, 200, 800, 600), false, false));
        QVERIFY(WindowPlacement::save(file, Screen, false, true));
        const Stored afterMax = WindowPlacement::load(file);
        const auto reopened = WindowPlacement::onOpen(afterMax, Default, Screen, Screen);
        QCOMPARE(reopened.geometry, QRect(100, 200, 800, 600));
        QVERIFY(reopened.maximised);
        QVERIFY(SettingsStore(file).load()->windowMaximised);

        QVERIFY(WindowPlacement::save(file, QRect(10, 20, 640, 480), false, false));
        const auto again =
            WindowPlacement::onOpen(WindowPlacement::load(file), Default, Screen, Screen);
        QCOMPARE(again.geometry, QRect(10, 20, 640, 480));
        QVERIFY(!again.maximised);
    }

    void missingDataFileOpensAtTheDefaultSize() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("data.plm"));
        const auto o =
            WindowPlacement::onOpen(WindowPlacement::load(file), Default, Screen, Screen);
        QCOMPARE(o.geometry, QRect(QPoint(0, 0), Default));
        QVERIFY(!WindowPlacement::save(file, Screen, false, false));
        QVERIFY(!QFile::exists(file));
    }
};

QTEST_GUILESS_MAIN(TestPlacement)
#include "tst_placement.moc"
