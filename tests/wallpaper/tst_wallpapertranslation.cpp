// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/Settings.h"
#include "mock/Install.h"
#include "wallpaper/DesktopWallpaper.h"
#include "wallpaper/WallpaperStore.h"
#include "wallpaper/ui/WallpaperChanger.h"
#include "wallpaper/ui/WallpaperDescriptor.h"
#include "wallpaper/ui/WallpaperFilesDialog.h"

#include <QDir>
#include <QImage>
#include <QRadioButton>

namespace {

using M = MarkingTranslator;

struct Fixture : Install {
    QString picture = dir.filePath(QStringLiteral("sea.png"));

    Fixture()
        : Install({.start = QDateTime(QDate(2026, 3, 10), QTime(9, 0)),
                   .marked = true,
                   .dataFile = true}) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::blue);
        image.save(picture);
        WallpaperStore(context.paths.dataFile()).replace({picture});
    }
};

} // namespace

class WallpaperTranslationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        qputenv("XDG_CURRENT_DESKTOP", "");
        qputenv("XDG_SESSION_TYPE", "x11");
        qunsetenv("WAYLAND_DISPLAY");
        qunsetenv("SWAYSOCK");
    }

    // The page and the file dialog speak the user's language; the option the user picks
    // is stored as its number, whatever its caption says.
    void everyShownTextIsTranslated() {
        Fixture fx;
        const auto page = fx.showPage<WallpaperChanger>(800, 600);
        QCOMPARE(M::unmarkedTexts(page.get()).join(u'\n'), QString());
        QRadioButton* weekly = nullptr;
        for (auto* option : page->findChildren<QRadioButton*>("WallOpt"))
            if (option->property("index").toInt() == 0)
                weekly = option;
        QVERIFY(weekly);
        QCOMPARE(weekly->accessibleName(),
                 M::marked(QStringLiteral("Change wallpaper: ") + M::marked("Every week")));
        weekly->click();
        QCOMPARE(SettingsStore(fx.context.paths.dataFile()).load()->wallpaperOption, 0);

        WallpaperFilesDialog files(fx.context, fx.dir.path(), page.get());
        QCOMPARE(M::unmarkedTexts(&files).join(u'\n'), QString());
    }

    // What the desktop's tools answered reaches the user in a translated sentence that
    // still names the tool.
    void desktopFailuresAreTranslated() {
        Fixture fx;
        fx.desktop.processes.script = {{{"feh"}, ProcessResult{false, -1, {}, {}}}};
        DesktopWallpaper desktop(fx.desktop.processes, {}, DesktopSession{false, false});
        QString error;
        QVERIFY(!desktop.apply(fx.picture, WallpaperStyle::Stretched, &error));
        QCOMPARE(error, M::marked("feh could not be started"));

        QVERIFY(!DesktopWallpaper(fx.desktop.processes, {}, DesktopSession{true, false})
                     .apply(fx.picture, WallpaperStyle::Stretched, &error));
        QCOMPARE(error, M::marked("Plumora cannot set the wallpaper on this desktop"));
    }

    void descriptorKeepsItsNames() {
        const MarkingTranslator translator;
        const ToolDescriptor d = wallpaperDescriptor();
        QCOMPARE(d.id, "SSWP");
        QCOMPARE(d.commandName, "wallpaper");
        QCOMPARE(d.caption, M::marked("Wallpaper Changer"));
        QCOMPARE(d.accelerator, M::marked("&Wallpaper Changer"));
    }
};

QTEST_MAIN(WallpaperTranslationTest)
#include "tst_wallpapertranslation.moc"
