// SPDX-License-Identifier: GPL-3.0-or-later
// The icon picker: its rules without widgets, then the window on the offscreen platform.
#include "CalendarTestData.h"
#include "calendar/EventIcons.h"
#include "calendar/icons/IconPickRules.h"
#include "calendar/icons/IconWriter.h"
#include "calendar/ui/IconPicker.h"
#include "mock/FakeDesktop.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

namespace {

void write(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// A program folder with a default library of `count` icons (none: no library) and a few
// other icon files.
struct Folder {
    QTemporaryDir dir;
    AppPaths paths{dir.path(), dir.path()};

    explicit Folder(int count = 3) {
        QList<QList<StoredPicture>> icons;
        for (int i = 0; i < count; ++i)
            icons.append({IconWriter::picture(filled(qRgb(10 * i, 100, 200)))});
        if (count > 0)
            write(path("Icons/Default.icl"), IconWriter::neLibrary(icons, "T", "test"));
        write(path("others/one.ico"), IconWriter::ico({IconWriter::picture(filled(0xFFFF0000))}));
        write(path("others/empty.ico"), QByteArray("\0\0\1\0\0\0", 6));
        write(path("others/notes.txt"), "not icons");
    }
    QString path(const QString& name) const { return dir.filePath(name); }
};

} // namespace

class TestIconPicker : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gridSize_data() {
        QTest::addColumn<int>("icons");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("cancelLeft");
        QTest::newRow("none") << 0 << 0 << 4870 << 4210;
        QTest::newRow("8") << 8 << 1 << 4870 << 4210;
        QTest::newRow("17") << 17 << 3 << 4870 << 4210;
        QTest::newRow("32") << 32 << 4 << 4870 << 4210;
        QTest::newRow("33") << 33 << 5 << 5130 << 4470;
        QTest::newRow("40") << 40 << 5 << 5130 << 4470;
    }

    void gridSize() {
        QFETCH(int, icons);
        QFETCH(int, rows);
        QFETCH(int, width);
        QFETCH(int, cancelLeft);
        QCOMPARE(IconPickRules::rowCount(icons), rows);
        QCOMPARE(IconPickRules::gridWidthTwips(rows), width);
        QCOMPARE(IconPickRules::cancelLeftTwips(width), cancelLeft);
        if (icons > 0)
            QCOMPARE(IconPickRules::cellOf(icons - 1), QPoint((icons - 1) % 8, rows - 1));
    }

    void loadIcons_data() {
        QTest::addColumn<int>("libraryIcons");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("keepsFile");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("notFound");
        QTest::newRow("default") << 3 << "" << false << 3 << false;
        QTest::newRow("default by name") << 3 << "Icons/Default.icl" << false << 3 << false;
        QTest::newRow("other file") << 3 << "others/one.ico" << true << 1 << false;
        QTest::newRow("ico without icons") << 3 << "others/empty.ico" << false << 3 << true;
        QTest::newRow("not an icon file") << 3 << "others/notes.txt" << false << 3 << true;
        QTest::newRow("missing file") << 3 << "others/gone.dll" << false << 3 << true;
        QTest::newRow("no default library") << 0 << "" << false << 0 << true;
    }

    void loadIcons() {
        QFETCH(int, libraryIcons);
        QFETCH(QString, chosen);
        QFETCH(bool, keepsFile);
        QFETCH(int, count);
        QFETCH(bool, notFound);
        Folder folder(libraryIcons);
        const QString file = chosen.isEmpty() ? QString() : folder.path(chosen);
        const IconPickRules::Loaded loaded = IconPickRules::loadIcons(file, folder.paths);
        QCOMPARE(loaded.fileName, keepsFile ? file : QString());
        QCOMPARE(loaded.pictures.size(), count);
        QCOMPARE(loaded.notFound, notFound);
    }

    void cellPictureKeepsTheMaskConvention() {
        // Left half see-through, right half drawn in exactly the mask colour.
        QImage image = filled(0, 48);
        for (int y = 0; y < 48; ++y)
            for (int x = 24; x < 48; ++x)
                image.setPixel(x, y, 0xFFC0C0C0);
        const QImage picture = IconPickRules::cellPicture({{{image, 32}}, {}});
        QCOMPARE(picture.size(), QSize(32, 32));
        QCOMPARE(picture.pixel(2, 2), 0xFFC0C0C0u);  // transparent -> the mask colour
        QCOMPARE(picture.pixel(30, 2), 0xFFC1C1C1u); // drawn grey stays visible
        QVERIFY(IconPickRules::cellPicture({}).isNull());
    }

    void pickedPicture() {
        const QImage clicked = filled(0xFFFF0000), defaultIcon = filled(0xFF00FF00);
        QCOMPARE(IconPickRules::pickedPicture(0, true, clicked, defaultIcon), defaultIcon);
        QCOMPARE(IconPickRules::pickedPicture(1, true, clicked, defaultIcon), clicked);
        QCOMPARE(IconPickRules::pickedPicture(0, false, clicked, defaultIcon), clicked);
    }

    void folderMemory() {
        Folder folder;
        IconFolderMemory memory;
        QCOMPARE(memory.initialFolder(folder.paths), folder.path("Icons"));
        memory.remember(folder.path("others/one.ico"));
        QCOMPARE(memory.initialFolder(folder.paths), folder.path("others"));
        QCOMPARE(IconFolderMemory().initialFolder(folder.paths), folder.path("Icons"));
    }

    void pickerWindow() {
        Folder folder(17);
        FakeDialogs platform;
        IconFolderMemory memory;
        const QImage defaultIcon = filled(0xFF123456);
        QStringList startFolders;
        QStringList answers{folder.path("others/empty.ico"), folder.path("others/one.ico")};
        const auto chooser = [&](QWidget*, const QString& title, const QString& start,
                                 const QString& filter) {
            [&] {
                QCOMPARE(title, QString::fromLatin1(IconPicker::DialogTitle));
                QVERIFY(filter.startsWith("Icon Files ("));
            }();
            startFolders << start;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        const auto click = [](IconPicker& picker, int row, int column) {
            auto* grid = picker.findChild<QTableWidget*>("IconGrid");
            const QRect cell = grid->visualRect(grid->model()->index(row, column));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        };

        {
            IconPicker picker(folder.paths, platform, memory, defaultIcon);
            picker.setFileChooser(chooser);
            picker.show();
            auto* grid = picker.findChild<QTableWidget*>("IconGrid");
            QCOMPARE(picker.windowTitle(), QStringLiteral("Select Icon"));
            QCOMPARE(grid->columnCount(), 8);
            QCOMPARE(grid->rowCount(), 3);
            QCOMPARE(grid->width(), 325);                                    // 4870 twips
            QCOMPARE(picker.findChild<QPushButton*>("CancelBtn")->x(), 281); // 4210 twips

            // An .ico without icons: the message, and the default library again.
            picker.findChild<QPushButton*>("FileBtn")->click();
            QCOMPARE(platform.messages.size(), 1);
            QCOMPARE(platform.messages[0].text, "Icons not found, default library will be used.");
            QCOMPARE(platform.messages[0].title, "Message");
            QCOMPARE(picker.fileName(), QString());
            QCOMPARE(picker.iconCount(), 17);
            click(picker, 0, 0);
            QCOMPARE(picker.result(), int(QDialog::Accepted));
            QCOMPARE(picker.picked(), defaultIcon);
        }
        {
            IconPicker picker(folder.paths, platform, memory, defaultIcon);
            picker.setFileChooser(chooser);
            picker.show();
            picker.findChild<QPushButton*>("FileBtn")->click();
            QCOMPARE(picker.iconCount(), 1);
            click(picker, 0, 1); // an empty cell picks nothing
            QVERIFY(picker.picked().isNull());
            click(picker, 0, 0);
            QCOMPARE(picker.picked().pixel(5, 5), 0xFFFF0000u);
        }
        // The editor's memory starts the second dialog in the folder chosen last.
        QCOMPARE(startFolders, QStringList({folder.path("Icons"), folder.path("others")}));
    }

    // Each icon's name: the library's own, an .ico file's name, else its number; shown
    // as tool tip and accessible name, markup as written.
    void iconsCarryTheirNames() {
        Folder folder(0);
        QList<QList<StoredPicture>> icons;
        for (int i = 0; i < 3; ++i)
            icons.append({IconWriter::picture(filled(qRgb(10 * i, 100, 200)))});
        write(folder.path("Icons/Default.icl"),
              IconWriter::neLibrary(icons, "T", "test", {"Gift", "<b>Bold</b>"}));
        const IconPickRules::Loaded loaded = IconPickRules::loadIcons({}, folder.paths);
        QCOMPARE(loaded.names, QStringList({"Gift", "<b>Bold</b>", "Icon 3"}));
        QCOMPARE(IconPickRules::loadIcons(folder.path("others/one.ico"), folder.paths).names,
                 QStringList{"one"});

        FakeDialogs platform;
        IconFolderMemory memory;
        IconPicker picker(folder.paths, platform, memory, filled(0xFF123456));
        auto* grid = picker.findChild<QTableWidget*>("IconGrid");
        QTableWidgetItem* bold = grid->item(0, 1);
        QCOMPARE(bold->data(Qt::AccessibleTextRole).toString(), "<b>Bold</b>");
        QTextDocument tip;
        tip.setHtml(bold->toolTip());
        QCOMPARE(tip.toPlainText(), "<b>Bold</b>");
        QVERIFY(!grid->accessibleName().isEmpty());
    }

    // The picker opens on the event's own icon: the default one, one of the file's, or the
    // first when the file does not have it.
    void startsOnTheEventsIcon_data() {
        QTest::addColumn<int>("icon"); // -1: the default event icon, -2: none of the file's
        QTest::addColumn<QPoint>("cell");
        QTest::newRow("default event icon") << -1 << QPoint(0, 0);
        QTest::newRow("the eleventh") << 10 << QPoint(2, 1);
        QTest::newRow("the last") << 16 << QPoint(0, 2);
        QTest::newRow("not in the file") << -2 << QPoint(0, 0);
    }
    void startsOnTheEventsIcon() {
        QFETCH(int, icon);
        QFETCH(QPoint, cell);
        Folder folder(17);
        const QImage defaultIcon = filled(0xFF123456);
        const IconPickRules::Loaded loaded = IconPickRules::loadIcons({}, folder.paths);
        const QImage current = icon == -1   ? defaultIcon
                               : icon == -2 ? filled(0xFF00FF00)
                                            : loaded.pictures.at(icon);
        FakeDialogs platform;
        IconFolderMemory memory;
        IconPicker picker(folder.paths, platform, memory, defaultIcon, current);
        auto* grid = picker.findChild<QTableWidget*>("IconGrid");
        QCOMPARE(QPoint(grid->currentColumn(), grid->currentRow()), cell);
    }

    void theIconUnderTheMouseIsHighlighted() {
        Folder folder(11);
        FakeDialogs platform;
        IconFolderMemory memory;
        IconPicker picker(folder.paths, platform, memory, filled(0xFF123456));
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        auto* grid = picker.findChild<QTableWidget*>("IconGrid");
        const auto over = [&](int row, int column) {
            QTest::mouseMove(
                picker.windowHandle(),
                grid->viewport()->mapTo(
                    &picker, grid->visualRect(grid->model()->index(row, column)).center()));
            return picker.hoveredCell();
        };
        QCOMPARE(over(1, 2), grid->model()->index(1, 2));
        QVERIFY(!over(1, 5).isValid()); // an empty cell
    }

    void builtDefaultLibrary() {
        const AppPaths built(PLUMORA_BIN_DIR, PLUMORA_BIN_DIR);
        const IconPickRules::Loaded loaded = IconPickRules::loadIcons({}, built);
        QVERIFY(!loaded.notFound);
        QVERIFY(loaded.pictures.size() >= 24);
        // Its first picture is the default event icon itself.
        QCOMPARE(loaded.pictures[0], HolidaysIL::raw(1).convertToFormat(QImage::Format_RGB32));
        // Every picture has its own name.
        QCOMPARE(loaded.names.size(), loaded.pictures.size());
        QCOMPARE(loaded.names.mid(0, 2), QStringList({"Event", "Birthday"}));
        QVERIFY(!loaded.names.contains(QStringLiteral("Icon 2")));
    }
};

QTEST_MAIN(TestIconPicker)
#include "tst_iconpicker.moc"
