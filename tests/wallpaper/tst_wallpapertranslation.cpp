// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramSchema.h"
#include "data/Settings.h"
#include "mock/FakeClock.h"
#include "mock/FakeDesktop.h"
#include "mock/MarkingTranslator.h"
#include "wallpaper/DesktopWallpaper.h"
#include "wallpaper/WallpaperStore.h"
#include "wallpaper/ui/WallpaperChanger.h"
#include "wallpaper/ui/WallpaperDescriptor.h"
#include "wallpaper/ui/WallpaperFilesDialog.h"

#include <QDir>
#include <QImage>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

using M = MarkingTranslator;

// The translator comes first, so everything built goes through it.
struct Fixture {
    MarkingTranslator translator;
    QTemporaryDir dir;
    FakeClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    FakeDesktop desktop;
    AppContext context = desktop.context(AppPaths(dir.path(), dir.path()), clock);
    QString picture = dir.filePath(QStringLiteral("sea.png"));

    Fixture() {
        programSchema().createTemplate(context.paths.dataFile(), QDate(2026, 1, 1));
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::blue);
        image.save(picture);
        WallpaperStore(context.paths.dataFile()).replace({picture});
    }
};

// The reload bar's own texts are the shell's.
const QStringList ShellTexts{QStringLiteral("&Reload"), QStringLiteral("Reload"),
                             QStringLiteral("Changed elsewhere")};

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
        WallpaperChanger page(fx.context);
        page.resize(800, 600);
        page.show();
        page.activated();
        QCOMPARE(M::unmarkedTexts(&page, ShellTexts).join(u'\n'), QString());
        QRadioButton* weekly = nullptr;
        for (auto* option : page.findChildren<QRadioButton*>("WallOpt"))
            if (option->property("index").toInt() == 0)
                weekly = option;
        QVERIFY(weekly);
        QCOMPARE(weekly->accessibleName(),
                 M::marked(QStringLiteral("Change wallpaper: ") + M::marked("Every week")));
        weekly->click();
        QCOMPARE(SettingsStore(fx.context.paths.dataFile()).load()->wallpaperOption, 0);

        WallpaperFilesDialog files(fx.context, fx.dir.path(), &page);
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
