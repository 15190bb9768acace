// SPDX-License-Identifier: GPL-3.0-or-later
#include "mock/FakeDesktop.h"
#include "wallpaper/DesktopWallpaper.h"
#include "wallpaper/WallpaperBitmap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

using Commands = QList<QStringList>;

using FakeRunner = FakeProcessRunner;

const ProcessResult Failed{true, 1, {}, "No such key"};

QStringList gset(const char* schema, const char* key, const QString& value) {
    return {"gsettings", "set", schema, key, value};
}
QStringList xfconf(const QStringList& args) {
    return QStringList{"xfconf-query", "-c", "xfce4-desktop"} + args;
}

// A 2 x 1 GIF, red then blue, written by hand since Qt has no GIF writer.
const QByteArray Gif = QByteArray::fromHex("47494638396102000100800000" // 2 x 1, 2 colours
                                           "ff00000000ff"               // red, blue
                                           "2c000000000200010000"       // image descriptor
                                           "0202440a003b");             // LZW codes 0, 1

} // namespace

class TestDesktopWallpaper : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString bitmap(const QColor& colour = Qt::red) {
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = m_dir.filePath(QStringLiteral("Plumora.bmp"));
        [&] { QVERIFY(WallpaperBitmap::save(image, path)); }();
        return path;
    }

private Q_SLOTS:
    // The cases without a session of their own are on X11, wherever the test runs.
    void initTestCase() {
        qputenv("XDG_SESSION_TYPE", "x11");
        qunsetenv("WAYLAND_DISPLAY");
        qunsetenv("SWAYSOCK");
    }

    // A known desktop name wins whatever the session; else sway's socket, else the root
    // window on X11 only.
    void chooseAdapter() {
        const DesktopSession x11, wayland{true, false}, sway{true, true};
        for (const DesktopSession& session : {x11, wayland, sway})
            for (const QString c :
                 {"ubuntu:GNOME=GNOME", "Pantheon:GNOME=GNOME", "X-Cinnamon=Cinnamon", "MATE=MATE",
                  "KDE=KDE Plasma", "XFCE=XFCE", "LXQt=LXQt", "sway=sway"})
                QCOMPARE(wallpaperAdapterFor(c.section('=', 0, 0), session)->name(),
                         c.section('=', 1));
        QCOMPARE(wallpaperAdapterFor("i3", x11)->name(), "feh");
        QCOMPARE(wallpaperAdapterFor({}, x11)->name(), "feh");
        QCOMPARE(wallpaperAdapterFor("Hyprland", sway)->name(), "sway");
        QCOMPARE(wallpaperAdapterFor({}, {false, true})->name(), "sway");
        QVERIFY(!wallpaperAdapterFor("Hyprland", wayland)->canSet());
        QVERIFY(!wallpaperAdapterFor({}, wayland)->canSet());
        QVERIFY(wallpaperAdapterFor({}, x11)->canSet());
    }

    // sway paints every output itself: "fill" keeps its own style, "stretch" when asked. A
    // desktop with no known way refuses with the same text every time and runs nothing.
    void swayAndNoMethod() {
        const QString path = bitmap();
        FakeRunner runner;
        const DesktopSession sway{true, true};
        QVERIFY(DesktopWallpaper(runner, "sway", sway).apply(path, WallpaperStyle::Stretched));
        QVERIFY(DesktopWallpaper(runner, {}, sway).apply(path, WallpaperStyle::DesktopOwn));
        QCOMPARE(runner.commands, (Commands{{"swaymsg", "output", "*", "bg", path, "stretch"},
                                            {"swaymsg", "output", "*", "bg", path, "fill"}}));

        runner.commands.clear();
        QString error;
        DesktopWallpaper none(runner, {}, DesktopSession{true, false});
        QVERIFY(!none.canSet());
        QVERIFY(!none.apply(path, WallpaperStyle::Stretched, &error));
        QCOMPARE(error, noWallpaperMethodText());
        QVERIFY(!none.stretchFill(&error));
        QVERIFY(runner.commands.isEmpty());
    }

    // Desktops that reload an unchanged path once its value changes: emptied, then set.
    void commandsInPlace_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<Commands>("expected");
        const char* gnome = "org.gnome.desktop.background";
        const QString uri = "'file://%1/Plumora.bmp'";
        QTest::newRow("GNOME") << "GNOME"
                               << Commands{gset(gnome, "picture-options", "'stretched'"),
                                           gset(gnome, "picture-uri", "''"),
                                           gset(gnome, "picture-uri", uri),
                                           gset(gnome, "picture-uri-dark", "''"),
                                           gset(gnome, "picture-uri-dark", uri)};
        QTest::newRow("MATE, a path")
            << "MATE"
            << Commands{gset("org.mate.background", "picture-options", "'stretched'"),
                        gset("org.mate.background", "picture-filename", "''"),
                        gset("org.mate.background", "picture-filename", "'%1/Plumora.bmp'")};
        QTest::newRow("feh") << "" << Commands{{"feh", "--bg-scale", "%1/Plumora.bmp"}};
    }
    void commandsInPlace() {
        QFETCH(QString, desktop);
        QFETCH(Commands, expected);
        const QString path = bitmap();
        for (QStringList& command : expected)
            command.replaceInStrings("%1", m_dir.path());
        FakeRunner runner;
        QVERIFY(DesktopWallpaper(runner, desktop).apply(path, WallpaperStyle::Stretched));
        QCOMPARE(runner.commands, expected);
    }

    // A change in the desktop's own style touches nothing but the picture.
    void desktopOwnStyleIsLeftAlone_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<Commands>("expected");
        const char* gnome = "org.gnome.desktop.background";
        const QString uri = "'file://%1/Plumora.bmp'";
        QTest::newRow("GNOME") << "GNOME"
                               << Commands{gset(gnome, "picture-uri", "''"),
                                           gset(gnome, "picture-uri", uri),
                                           gset(gnome, "picture-uri-dark", "''"),
                                           gset(gnome, "picture-uri-dark", uri)};
        const QString base = "/backdrop/screen0/monitor0/workspace0";
        QTest::newRow("XFCE") << "XFCE"
                              << Commands{
                                     xfconf({"-l"}), xfconf({"-p", base + "/last-image", "-s", ""}),
                                     xfconf({"-p", base + "/last-image", "-s", "%1/Plumora.bmp"})};
    }
    void desktopOwnStyleIsLeftAlone() {
        QFETCH(QString, desktop);
        QFETCH(Commands, expected);
        const QString path = bitmap();
        for (QStringList& command : expected)
            command.replaceInStrings("%1", m_dir.path());
        FakeRunner runner;
        runner.script.append(
            {xfconf({"-l"}), {true, 0, "/backdrop/screen0/monitor0/workspace0/last-image\n", {}}});
        QVERIFY(DesktopWallpaper(runner, desktop).apply(path, WallpaperStyle::DesktopOwn));
        QCOMPARE(runner.commands, expected);
    }

    // XFCE's style is read per backdrop, stretched on each, and put back as it was.
    void xfceFillIsKeptAndRestored() {
        const QString a = "/backdrop/screen0/monitorA/workspace0",
                      b = "/backdrop/screen0/monitorB/workspace0";
        FakeRunner runner;
        runner.script = {
            {xfconf({"-l"}), {true, 0, (a + "/last-image\n" + b + "/image-path\n").toUtf8(), {}}},
            {xfconf({"-p", a + "/image-style"}), {true, 0, "5\n", {}}},
            {xfconf({"-p", b + "/image-style"}), {true, 1, {}, "no such property"}}};
        DesktopWallpaper desktop(runner, "XFCE");
        const QString saved = desktop.readFill();
        QCOMPARE(saved, a + "/image-style=5");
        runner.script.resize(1); // the listing stays; every style is set from here on
        runner.commands.clear();
        QVERIFY(desktop.stretchFill());
        QVERIFY(desktop.restoreFill(saved));
        QCOMPARE(runner.commands,
                 (Commands{xfconf({"-l"}),
                           xfconf({"-p", a + "/image-style", "-n", "-t", "int", "-s", "3"}),
                           xfconf({"-p", b + "/image-style", "-n", "-t", "int", "-s", "3"}),
                           xfconf({"-p", a + "/image-style", "-n", "-t", "int", "-s", "5"})}));
    }

    // Every listed monitor and workspace gets the style and the picture, emptied first.
    void xfceSetsEveryListedBackdrop() {
        const QString path = bitmap();
        FakeRunner runner;
        runner.script.append({xfconf({"-l"}),
                              {true,
                               0,
                               "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
                               "/backdrop/screen0/monitorHDMI-1/workspace0/image-style\n"
                               "/backdrop/screen0/monitoreDP-1/workspace1/last-image\n"
                               "/desktop-icons/style\n",
                               {}}});
        QVERIFY(DesktopWallpaper(runner, "XFCE").apply(path, WallpaperStyle::Centred));
        Commands expected{xfconf({"-l"})};
        for (const QString base : {"/backdrop/screen0/monitorHDMI-1/workspace0",
                                   "/backdrop/screen0/monitoreDP-1/workspace1"})
            expected << xfconf({"-p", base + "/image-style", "-n", "-t", "int", "-s", "1"})
                     << xfconf({"-p", base + "/last-image", "-s", ""})
                     << xfconf({"-p", base + "/last-image", "-s", path});
        QCOMPARE(runner.commands, expected);

        runner.script = {{xfconf({"-l"}), {true, 0, "/desktop-icons/style\n", {}}}};
        QString error;
        QVERIFY(!DesktopWallpaper(runner, "XFCE").apply(path, {}, &error));
        QVERIFY(error.contains("no backdrop"));
    }

    // Plasma and LXQt reload only a new path: each change shows a fresh copy, and the
    // earlier copy goes once the desktop has the new one.
    void freshPathPerChange_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("Plasma") << "KDE" << QStringList{"--fill-mode", "stretch", "%1"};
        QTest::newRow("LXQt") << "LXQt"
                              << QStringList{"--set-wallpaper", "%1", "--wallpaper-mode",
                                             "stretch"};
    }
    void freshPathPerChange() {
        QFETCH(QString, desktop);
        QFETCH(QStringList, arguments);
        FakeRunner runner;
        DesktopWallpaper wallpaper(runner, desktop);
        const QString path = bitmap(Qt::red);
        const auto shown = [&](int i) { return runner.commands[i][arguments.indexOf("%1") + 1]; };
        QVERIFY(wallpaper.apply(path, WallpaperStyle::Stretched));
        const QString first = shown(0);
        QCOMPARE(runner.commands[0].mid(1), QStringList(arguments).replaceInStrings("%1", first));
        QVERIFY(first != path);

        bitmap(Qt::blue);
        QVERIFY(wallpaper.apply(path, WallpaperStyle::Stretched));
        QVERIFY(shown(1) != first);
        QVERIFY(!QFile::exists(first));
        QCOMPARE(QImage(shown(1)).pixelColor(0, 0), QColor(Qt::blue));

        // Refused by the desktop: the shown copy stays, the new one is not left behind.
        runner.script.append({{runner.commands[0][0]}, Failed});
        QVERIFY(!wallpaper.apply(path, WallpaperStyle::Stretched));
        QCOMPARE(QDir(m_dir.path()).entryList({"Plumora-*"}),
                 QStringList{QFileInfo(shown(1)).fileName()});
    }

    // A missing optional step or option is no failure; a missing program or key is.
    void fallbacksAndFailures() {
        const QString path = bitmap();
        FakeRunner runner;
        runner.script = {
            {gset("org.gnome.desktop.background", "picture-uri-dark", {}).mid(0, 4), Failed},
            {{"plasma-apply-wallpaperimage", "--fill-mode"}, Failed}};
        QVERIFY(DesktopWallpaper(runner, "GNOME").apply(path, {}));
        runner.commands.clear();
        QVERIFY(DesktopWallpaper(runner, "KDE").apply(path, {}));
        QCOMPARE(runner.commands.last().size(), 2); // again, without --fill-mode

        runner.script = {
            {{"feh"}, {false, -1, {}, {}}},
            {gset("org.gnome.desktop.background", "picture-uri", {}).mid(0, 4), Failed}};
        QVERIFY(!DesktopWallpaper(runner, {}).apply(path, {}));
        QVERIFY(!DesktopWallpaper(runner, "GNOME").apply(path, {}));
    }

    // Every listed format becomes a bitmap with the same pixels; transparency lies on black.
    void convertFormats_data() {
        QTest::addColumn<QByteArray>("format");
        for (const char* format : {"BMP", "JPG", "PNG", "GIF"})
            QTest::newRow(format) << QByteArray(format);
    }
    void convertFormats() {
        QFETCH(QByteArray, format);
        const QString source = m_dir.filePath(QString::fromLatin1("image." + format.toLower()));
        const QColor right = format == "PNG" ? QColor(Qt::transparent) : QColor(Qt::blue);
        if (format == "GIF") {
            QFile file(source);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(Gif) == Gif.size());
        } else {
            QImage image(32, 16, QImage::Format_ARGB32); // blocks survive JPEG subsampling
            image.fill(Qt::red);
            for (int y = 0; y < 16; ++y)
                for (int x = 16; x < 32; ++x)
                    image.setPixelColor(x, y, right);
            QVERIFY(image.save(source, format, 100));
        }
        const QString target = m_dir.filePath(WallpaperBitmap::fileName());
        FakeRunner runner;
        QVERIFY(DesktopWallpaper(runner, {}).showImage(source, target, WallpaperStyle::Stretched));
        QCOMPARE(runner.commands, (Commands{{"feh", "--bg-scale", target}}));
        const QImage result(target, "BMP");
        QVERIFY(!result.hasAlphaChannel());
        const int w = result.width(), y = result.height() / 2;
        const QColor expected[] = {Qt::red, format == "PNG" ? QColor(Qt::black) : right};
        for (int i = 0; i < 2; ++i) {
            const QColor got = result.pixelColor(w / 4 + i * w / 2, y);
            QVERIFY2(qAbs(got.red() - expected[i].red()) < 40 &&
                         qAbs(got.blue() - expected[i].blue()) < 40,
                     qPrintable(got.name()));
        }
    }

    // A link put in the bitmap's place is replaced, and what it pointed to is left alone.
    void bitmapIsNeverWrittenThroughALink() {
        const QString victim = m_dir.filePath(QStringLiteral("victim.txt"));
        QFile f(victim);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("keep me") == 7);
        f.close();
        const QString target =
            m_dir.filePath(QStringLiteral("linked/") + WallpaperBitmap::fileName());
        QVERIFY(QDir().mkpath(QFileInfo(target).path()));
        QVERIFY(QFile::link(victim, target));
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::green);
        QVERIFY(WallpaperBitmap::save(image, target));
        QVERIFY(!QFileInfo(target).isSymLink());
        QCOMPARE(QImage(target, "BMP").pixelColor(0, 0), QColor(Qt::green));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("keep me"));
        QCOMPARE(QDir(QFileInfo(target).path()).entryList(QDir::Files),
                 QStringList{WallpaperBitmap::fileName()});
    }

    // Unreadable sources (and files that would block or flood the reader) fail at once and
    // leave the bitmap and the desktop alone.
    void convertRefusals() {
        const QString target = bitmap(Qt::red);
        QFile garbage(m_dir.filePath("garbage.png")), huge(m_dir.filePath("huge.png"));
        QVERIFY(garbage.open(QIODevice::WriteOnly) && garbage.write("\x89PNG not really"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(WallpaperBitmap::MaxFileBytes + 1));
        const QString fifo = m_dir.filePath("fifo.png");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        garbage.close();
        huge.close();
        for (const QString& source : {garbage.fileName(), huge.fileName(), fifo}) {
            QString error;
            FakeRunner runner;
            QVERIFY(!DesktopWallpaper(runner, {}).showImage(source, target, {}, &error));
            QVERIFY2(!error.isEmpty() && runner.commands.isEmpty(), qPrintable(source));
        }
        QCOMPARE(QImage(target).pixelColor(0, 0), QColor(Qt::red));
    }
};

QTEST_GUILESS_MAIN(TestDesktopWallpaper)
#include "tst_desktopwallpaper.moc"
