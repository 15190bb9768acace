// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/DataFile.h"
#include "data/Settings.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "wallpaper/CheckWallpaper.h"
#include "wallpaper/DesktopWallpaper.h"
#include "wallpaper/WallpaperStore.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A Tuesday.
const QDate Today(2026, 3, 10);

// A runner whose every command takes a second of the test's clock.
struct SlowRunner final : ProcessRunner {
    FakeProcessRunner& inner;
    FakeClock& clock;
    SlowRunner(FakeProcessRunner& r, FakeClock& c) : inner(r), clock(c) {}
    ProcessResult run(const QString& program, const QStringList& arguments, int ms) override {
        clock.advanceMs(1000);
        return inner.run(program, arguments, ms);
    }
};
} // namespace

class TestCheckWallpaper : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    FakeClock m_clock{QDateTime(Today, QTime(8, 30))};
    FakeDesktop m_desktop;
    AppPaths m_paths{m_dir.path(), m_dir.path()};
    AppContext m_context = m_desktop.context(m_paths, m_clock);

    // A picture of one colour; an invalid colour writes a file that is no picture.
    QString picture(const char* name, const QColor& colour) {
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = m_dir.filePath(QLatin1String(name));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            colour.isValid() ? image.save(&file) : file.write("not a picture");
        return path;
    }
    void setUp(int option, const QDate& lastDay, const QString& current, const QStringList& files) {
        QVERIFY(SettingsStore(m_paths.dataFile()).update([&](Settings& s) {
            s.wallpaperOption = option;
            s.wallpaperLastDay = lastDay;
            s.currentWallpaper = current;
        }));
        QVERIFY(WallpaperStore(m_paths.dataFile()).replace(files));
    }
    Settings settings() { return SettingsStore(m_paths.dataFile()).load().value_or(Settings()); }
    QString bitmap() const { return m_paths.file("Plumora.bmp"); }

private Q_SLOTS:
    void initTestCase() {
        qputenv("XDG_CURRENT_DESKTOP", "");
        qputenv("XDG_SESSION_TYPE", "x11");
        qunsetenv("WAYLAND_DISPLAY");
        qunsetenv("SWAYSOCK");
    }

    void init() {
        QFile::remove(m_paths.dataFile());
        QFile::remove(bitmap());
        QCOMPARE(programSchema().createTemplate(m_paths.dataFile(), Today), QString());
        m_desktop.processes = FakeProcessRunner();
        m_desktop.registry.values.clear();
    }

    void nothingDueWritesNothing_data() {
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("withImages");
        QTest::newRow("never") << 3 << true;
        QTest::newRow("every start, empty list") << 2 << false;
    }
    void nothingDueWritesNothing() {
        QFETCH(int, option);
        QFETCH(bool, withImages);
        const QStringList files =
            withImages ? QStringList{picture("a.png", Qt::red), picture("b.png", Qt::blue)}
                       : QStringList();
        setUp(option, Today, files.value(0), files);
        const Settings before = settings();
        const qint64 stamp = fileModifiedStamp(m_paths.dataFile());

        CheckWallpaper(m_context).run();
        QCOMPARE(settings(), before);
        QCOMPARE(fileModifiedStamp(m_paths.dataFile()), stamp);
        QVERIFY(m_desktop.processes.commands.isEmpty());
        QVERIFY(!QFile::exists(bitmap()));
    }

    // The other image is drawn, converted, shown in the registry's style and recorded.
    void appliesTheOtherImageAndRecordsIt_data() {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("fehOption");
        QTest::newRow("centred") << "0"
                                 << "--bg-center";
        QTest::newRow("stretched") << "2"
                                   << "--bg-scale";
    }
    void appliesTheOtherImageAndRecordsIt() {
        QFETCH(QString, style);
        QFETCH(QString, fehOption);
        m_desktop.registry.values.insert(
            "HKEY_CURRENT_USER\\Control Panel\\Desktop\\WallpaperStyle", style);
        const QString red = picture("red.png", Qt::red);
        const QString blue = picture("blue.jpg", Qt::blue);
        setUp(0, Today.addDays(-7), red.toUpper(), {red, blue});

        CheckWallpaper(m_context, {}, [] { return 0.0; }).run();
        QCOMPARE(m_desktop.processes.commands, (QList<QStringList>{{"feh", fehOption, bitmap()}}));
        const QColor shown = QImage(bitmap()).pixelColor(4, 3);
        QVERIFY2(shown.blue() > 200 && shown.red() < 50, qPrintable(shown.name()));
        QCOMPARE(settings().currentWallpaper, blue);
        QCOMPARE(settings().wallpaperLastDay, Today);
    }

    // A picture that cannot be read leaves the desktop alone but still becomes CurWall.
    void unreadableImageIsStillRecorded() {
        const QString broken = picture("broken.jpg", QColor());
        setUp(1, Today.addDays(-1), QString(), {broken});

        CheckWallpaper(m_context).run();
        QVERIFY(m_desktop.processes.commands.isEmpty());
        QVERIFY(!QFile::exists(bitmap()));
        QCOMPARE(settings().currentWallpaper, broken);
        QCOMPARE(settings().wallpaperLastDay, Today);
    }

    // A Wayland desktop with no known way to set a picture: feh would paint a root window
    // nobody sees and exit 0, so nothing runs, nothing is recorded as shown, and the user is
    // told once.
    void unknownWaylandDesktopRecordsNothing() {
        qputenv("WAYLAND_DISPLAY", "wayland-1");
        const QString red = picture("red.png", Qt::red);
        setUp(0, Today.addDays(-7), red, {red, picture("blue.png", Qt::blue)});
        const Settings before = settings();
        QStringList told;
        CheckWallpaper(
            m_context, [&told](const QString& text) { told << text; }, [] { return 0.0; })
            .run();
        qunsetenv("WAYLAND_DISPLAY");
        QCOMPARE(told, QStringList{noWallpaperMethodText()});
        QVERIFY(m_desktop.processes.commands.isEmpty());
        QCOMPARE(settings(), before);
    }

    // Desktop tools that hang share one budget: each gets what is left, and the rest are
    // not started once it is spent.
    void slowDesktopToolsAreCutOff() {
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        SlowRunner slow(m_desktop.processes, m_clock);
        AppContext slowContext{m_paths,
                               m_clock,
                               m_desktop.windows,
                               m_desktop.shell,
                               m_desktop.dialogs,
                               m_desktop.registry,
                               m_desktop.network,
                               m_desktop.mail,
                               slow,
                               m_desktop.grabber,
                               m_desktop.pictureOutput,
                               m_desktop.downloads,
                               m_desktop.secrets,
                               m_desktop.keys,
                               m_desktop.stores(),
                               m_desktop.onlineAccounts};
        const QString image = picture("a.png", Qt::green);
        setUp(2, Today, QString(), {image});

        CheckWallpaper(
            slowContext, {}, [] { return 0.0; }, 3000)
            .run();
        qputenv("XDG_CURRENT_DESKTOP", "");
        QCOMPARE(m_desktop.processes.timeouts, (QList<int>{3000, 2000, 1000}));
        QCOMPARE(settings().currentWallpaper, image);
    }
};

QTEST_GUILESS_MAIN(TestCheckWallpaper)
#include "tst_checkwallpaper.moc"
