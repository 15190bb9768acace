#include "wallpaper/DesktopWallpaper.h"
#include "wallpaper/WallpaperBitmap.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

using Commands = QList<QStringList>;

// Records every command; answers from a script keyed by program, success otherwise.
class FakeRunner final : public ProcessRunner {
public:
    ProcessResult run(const QString& program, const QStringList& arguments) override {
        const QStringList command = QStringList{program} + arguments;
        commands.append(command);
        for (const auto& [prefix, result] : script) {
            if (command.mid(0, prefix.size()) == prefix)
                return result;
        }
        return {true, 0, {}, {}};
    }
    Commands commands;
    QList<std::pair<QStringList, ProcessResult>> script;
};

const ProcessResult Failed{true, 1, {}, "No such key"};
const ProcessResult NotInstalled{false, -1, {}, {}};

QStringList gset(const QString& schema, const QString& key, const QString& value) {
    return {QStringLiteral("gsettings"), QStringLiteral("set"), schema, key, value};
}

QStringList xfconf(const QStringList& args) {
    return QStringList{QStringLiteral("xfconf-query"), QStringLiteral("-c"),
                       QStringLiteral("xfce4-desktop")} +
           args;
}

// A 2 x 1 GIF, red then blue, written by hand since Qt has no GIF writer.
const QByteArray Gif =
    QByteArray::fromHex("47494638396102000100800000" // header, 2 x 1, global table of 2 colours
                        "ff00000000ff"               // red, blue
                        "2c000000000200010000"       // image descriptor
                        "0202440a00"                 // LZW data: 0, 1
                        "3b");

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
    void chooseAdapter_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("adapter");
        QTest::newRow("Ubuntu") << "ubuntu:GNOME"
                                << "GNOME";
        QTest::newRow("Budgie") << "Budgie:GNOME"
                                << "GNOME";
        QTest::newRow("Unity") << "Unity"
                               << "GNOME";
        QTest::newRow("GNOME Flashback") << "GNOME-Flashback:GNOME"
                                         << "GNOME";
        QTest::newRow("unknown first part") << "Pantheon:GNOME"
                                            << "GNOME";
        QTest::newRow("Cinnamon") << "X-Cinnamon"
                                  << "Cinnamon";
        QTest::newRow("MATE") << "MATE"
                              << "MATE";
        QTest::newRow("Plasma") << "KDE"
                                << "KDE Plasma";
        QTest::newRow("XFCE") << "XFCE"
                              << "XFCE";
        QTest::newRow("LXQt") << "LXQt"
                              << "LXQt";
        QTest::newRow("window manager") << "i3"
                                        << "feh";
        QTest::newRow("unset") << ""
                               << "feh";
    }
    void chooseAdapter() {
        QFETCH(QString, desktop);
        QFETCH(QString, adapter);
        QCOMPARE(wallpaperAdapterFor(desktop)->name(), adapter);
    }

    void styleSetting() {
        QCOMPARE(wallpaperStyleFromSetting(QStringLiteral("2")), WallpaperStyle::Stretched);
        QCOMPARE(wallpaperStyleFromSetting(QStringLiteral("0")), WallpaperStyle::Centred);
        QCOMPARE(wallpaperStyleFromSetting(QString()), WallpaperStyle::Centred);
    }

    // Desktops that reload the same path once its value changes: emptied, then set.
    void commandsInPlace_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<bool>("stretched");
        QTest::addColumn<Commands>("expected");
        const QString uri = QStringLiteral("'file://%1/Plumora.bmp'");
        const QString gnome = QStringLiteral("org.gnome.desktop.background");
        const QString cinnamon = QStringLiteral("org.cinnamon.desktop.background");
        const QString mate = QStringLiteral("org.mate.background");
        const QString empty = QStringLiteral("''");
        QTest::newRow("GNOME") << "ubuntu:GNOME" << true
                               << Commands{gset(gnome, "picture-options", "'stretched'"),
                                           gset(gnome, "picture-uri", empty),
                                           gset(gnome, "picture-uri", uri),
                                           gset(gnome, "picture-uri-dark", empty),
                                           gset(gnome, "picture-uri-dark", uri)};
        QTest::newRow("Cinnamon") << "X-Cinnamon" << false
                                  << Commands{gset(cinnamon, "picture-options", "'centered'"),
                                              gset(cinnamon, "picture-uri", empty),
                                              gset(cinnamon, "picture-uri", uri)};
        QTest::newRow("MATE") << "MATE" << true
                              << Commands{gset(mate, "picture-options", "'stretched'"),
                                          gset(mate, "picture-filename", empty),
                                          gset(mate, "picture-filename", "'%1/Plumora.bmp'")};
        QTest::newRow("feh stretched")
            << "" << true << Commands{{"feh", "--bg-scale", "%1/Plumora.bmp"}};
        QTest::newRow("feh centred")
            << "i3" << false << Commands{{"feh", "--bg-center", "%1/Plumora.bmp"}};
    }
    void commandsInPlace() {
        QFETCH(QString, desktop);
        QFETCH(bool, stretched);
        QFETCH(Commands, expected);
        const QString path = bitmap();
        for (QStringList& command : expected)
            command.replaceInStrings(QStringLiteral("%1"), m_dir.path());
        FakeRunner runner;
        DesktopWallpaper wallpaper(runner, desktop);
        QVERIFY(
            wallpaper.apply(path, stretched ? WallpaperStyle::Stretched : WallpaperStyle::Centred));
        QCOMPARE(runner.commands, expected);
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
        DesktopWallpaper wallpaper(runner, QStringLiteral("XFCE"));
        QVERIFY(wallpaper.apply(path, WallpaperStyle::Stretched));
        Commands expected{xfconf({"-l"})};
        for (const QString base : {"/backdrop/screen0/monitorHDMI-1/workspace0",
                                   "/backdrop/screen0/monitoreDP-1/workspace1"}) {
            expected << xfconf({"-p", base + "/image-style", "-n", "-t", "int", "-s", "3"})
                     << xfconf({"-p", base + "/last-image", "-s", ""})
                     << xfconf({"-p", base + "/last-image", "-s", path});
        }
        QCOMPARE(runner.commands, expected);

        FakeRunner bare;
        bare.script.append({xfconf({"-l"}), {true, 0, "/desktop-icons/style\n", {}}});
        QString error;
        QVERIFY(!DesktopWallpaper(bare, QStringLiteral("XFCE")).apply(path, {}, &error));
        QVERIFY(error.contains(QLatin1String("no backdrop")));
    }

    // Plasma and LXQt reload only a new path: each rewrite of the bitmap is shown under a
    // fresh name, and the earlier copy goes once the desktop has the new one.
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
        QVERIFY(wallpaper.apply(path, WallpaperStyle::Stretched));
        QCOMPARE(runner.commands.size(), 1);
        const QString first = runner.commands[0][arguments.indexOf("%1") + 1];
        QCOMPARE(runner.commands[0], QStringList{runner.commands[0][0]} +
                                         QStringList(arguments).replaceInStrings("%1", first));
        QVERIFY(first != path);

        bitmap(Qt::blue);
        QVERIFY(wallpaper.apply(path, WallpaperStyle::Stretched));
        const QString second = runner.commands[1][arguments.indexOf("%1") + 1];
        QVERIFY(second != first);
        QVERIFY(!QFile::exists(first));
        QCOMPARE(QImage(second).pixelColor(0, 0), QColor(Qt::blue));

        // Refused by the desktop: the shown copy stays, the new one is not left behind.
        runner.script.append({{runner.commands[0][0]}, Failed});
        bitmap(Qt::green);
        QVERIFY(!wallpaper.apply(path, WallpaperStyle::Stretched));
        QVERIFY(QFile::exists(second));
        QCOMPARE(QDir(m_dir.path()).entryList({"Plumora-*"}).size(), 1);
    }

    void optionalStepsAndFallbacks() {
        const QString path = bitmap();
        // GNOME before the dark picture key existed.
        FakeRunner gnome;
        gnome.script.append(
            {gset("org.gnome.desktop.background", "picture-uri-dark", {}).mid(0, 5), Failed});
        QVERIFY(DesktopWallpaper(gnome, QStringLiteral("GNOME")).apply(path, {}));
        // A Plasma tool without --fill-mode: set the picture without it.
        FakeRunner plasma;
        plasma.script.append({{"plasma-apply-wallpaperimage", "--fill-mode"}, Failed});
        QVERIFY(DesktopWallpaper(plasma, QStringLiteral("KDE")).apply(path, {}));
        QCOMPARE(plasma.commands.size(), 2);
        QCOMPARE(plasma.commands[1].size(), 2);
    }

    void failuresAreReported() {
        const QString path = bitmap();
        FakeRunner noFeh;
        noFeh.script.append({{"feh"}, NotInstalled});
        QString error;
        QVERIFY(!DesktopWallpaper(noFeh, {}).apply(path, {}, &error));
        QCOMPARE(error, QStringLiteral("feh could not be started"));

        FakeRunner gnome;
        gnome.script.append(
            {{"gsettings", "set", "org.gnome.desktop.background", "picture-uri"}, Failed});
        QVERIFY(!DesktopWallpaper(gnome, QStringLiteral("GNOME")).apply(path, {}, &error));
        QVERIFY(error.contains(QLatin1String("No such key")));

        FakeRunner untouched;
        QVERIFY(!DesktopWallpaper(untouched, {}).apply(m_dir.filePath("missing.bmp"), {}));
        QVERIFY(untouched.commands.isEmpty());
    }

    // Every listed format becomes a bitmap with the same pixels; transparency lies on black.
    void convertFormats_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("bmp") << QByteArray("BMP");
        QTest::newRow("jpg") << QByteArray("JPG");
        QTest::newRow("png") << QByteArray("PNG");
        QTest::newRow("gif") << QByteArray("GIF");
    }
    void convertFormats() {
        QFETCH(QByteArray, format);
        const QString source = m_dir.filePath(QString::fromLatin1("image." + format.toLower()));
        if (format == "GIF") {
            QFile file(source);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(Gif) == Gif.size());
        } else {
            // Blocks of 16 pixels survive JPEG's colour subsampling.
            QImage image(32, 16, QImage::Format_ARGB32);
            image.fill(Qt::red);
            const QColor right = format == "PNG" ? QColor(Qt::transparent) : QColor(Qt::blue);
            for (int y = 0; y < 16; ++y)
                for (int x = 16; x < 32; ++x)
                    image.setPixelColor(x, y, right);
            QVERIFY(image.save(source, format, 100));
        }
        const QString target = m_dir.filePath(WallpaperBitmap::fileName());
        QFile::remove(target);
        FakeRunner runner;
        QVERIFY(DesktopWallpaper(runner, {}).showImage(source, target, WallpaperStyle::Stretched));
        QCOMPARE(runner.commands, (Commands{{"feh", "--bg-scale", target}}));
        QImage result(target, "BMP");
        QCOMPARE(result.size(), format == "GIF" ? QSize(2, 1) : QSize(32, 16));
        QVERIFY(!result.hasAlphaChannel());
        const int w = result.width();
        const int y = result.height() / 2;
        const QColor right = format == "PNG" ? QColor(Qt::black) : QColor(Qt::blue);
        for (const auto& [x, colour] :
             {std::pair{w / 4, QColor(Qt::red)}, std::pair{w * 3 / 4, right}}) {
            const QColor got = result.pixelColor(x, y);
            QVERIFY2(qAbs(got.red() - colour.red()) < 40 && qAbs(got.blue() - colour.blue()) < 40,
                     qPrintable(got.name()));
        }
    }

    // Unreadable sources fail without touching the bitmap, and never block.
    void convertRefusals_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("garbage") << "garbage";
        QTest::newRow("folder") << "folder";
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("oversized") << "oversized";
    }
    void convertRefusals() {
        QFETCH(QString, kind);
        const QString source = m_dir.filePath("bad-" + kind + ".png");
        if (kind == "garbage") {
            QFile file(source);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("\x89PNG not really"));
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(source));
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(source).constData(), 0600), 0);
        } else if (kind == "oversized") {
            QFile file(source);
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    file.resize(WallpaperBitmap::MaxFileBytes + 1)); // sparse
        }
        const QString target = bitmap(Qt::red);
        QString error;
        FakeRunner runner;
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!DesktopWallpaper(runner, {}).showImage(source, target, {}, &error));
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY(!error.isEmpty());
        QVERIFY(runner.commands.isEmpty());
        QCOMPARE(QImage(target).pixelColor(0, 0), QColor(Qt::red));
    }
};

QTEST_GUILESS_MAIN(TestDesktopWallpaper)
#include "tst_desktopwallpaper.moc"
