// SPDX-License-Identifier: GPL-3.0-or-later
// The icon reader on files built here: every picture depth, .ico files and NE libraries
// written by IconWriter, 32- and 64-bit PE files, and damaged or lying ones.
#include "calendar/EventIcons.h"
#include "calendar/IconSamples.h"
#include "calendar/icons/IconFile.h"
#include "calendar/icons/IconWriter.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <QtTest>

#include <functional>
#include <map>
#include <tuple>

using namespace IconSamples;

Q_DECLARE_METATYPE(IconFile::Format)

class TestIconFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decodesEveryDepth_data() {
        QTest::addColumn<int>("bpp");
        QTest::addColumn<int>("width");
        for (int bpp : {1, 4, 8, 16, 24, 32})
            for (int w : {5, 32})
                QTest::addRow("%d bpp, %d wide", bpp, w) << bpp << w;
    }

    void decodesEveryDepth() {
        QFETCH(int, bpp);
        QFETCH(int, width);
        const IconImage decoded = IconFile::decodeImage(depthSample(width, 3, bpp));
        QCOMPARE(decoded.image.size(), QSize(width, 3));
        QCOMPARE(decoded.bitCount, bpp);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x) {
                // 32-bit pictures carry their own alpha; the others take the mask.
                const QRgb want = bpp < 32 && (x + y) % 4 == 0 ? 0 : storedAt(bpp, x, y);
                const QRgb got = decoded.image.pixel(x, y);
                QVERIFY2(got == want,
                         qPrintable(QString::asprintf("pixel %d,%d: %08x", x, y, got)));
            }
    }

    void icoHoldsEveryPicture() {
        // An old 32-bit picture with no alpha at all relies on its mask.
        const QByteArray noAlpha = dib(
            16, 16, 32, [](int, int) { return 0x00336699u; }, [](int x, int) { return x < 8; });
        const QByteArray ico = IconWriter::ico({{noAlpha, 16, 16, 32},
                                                IconWriter::picture(sample(48, 0xFF00AA00)),
                                                {toPng(sample(32, 0xFF0000AA)), 32, 32, 32}});
        const QList<IconGroup> all = IconFile::read(ico);
        QCOMPARE(all.size(), 1);
        QCOMPARE(all[0].images.size(), 3);
        QCOMPARE(all[0].images[0].image.pixel(3, 3), 0u);
        QCOMPARE(all[0].images[0].image.pixel(12, 3), 0xFF336699u);
        QCOMPARE(all[0].images[2].image.pixel(5, 5), 0xFF0000AAu);
        QCOMPARE(IconFile::bestImage(all[0], 32).size(), QSize(32, 32));
        QCOMPARE(IconFile::bestImage(all[0], 40).size(), QSize(48, 48));
        QCOMPARE(IconFile::bestImage(all[0], 64).size(), QSize(48, 48));
        const QList<IconGroup> best = IconFile::readBest(ico, 32);
        QCOMPARE(best.size(), 1);
        QCOMPARE(best[0].images.size(), 1);
        QCOMPARE(best[0].images[0].image.pixel(5, 5), 0xFF0000AAu);
    }

    void neLibraryRoundTrips() {
        const QByteArray library = threeIconLibrary();
        QCOMPARE(IconFile::detect(library), IconFile::Format::NeLibrary);
        const QList<IconGroup> icons = IconFile::read(library);
        QCOMPARE(icons.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(icons[i].images.size(), 2);
            QCOMPARE(icons[i].images[0].image, sample(32, Colours[i]));
            QCOMPARE(icons[i].images[1].image, sample(16, Colours[i]));
        }
        QCOMPARE(IconFile::readBest(library, 16)[2].images[0].image.width(), 16);
        for (const IconGroup& icon : icons)
            QCOMPARE(icon.name, QString()); // numbered, not named
    }

    void namedGroupsKeepTheirNames() {
        QList<QList<StoredPicture>> icons;
        for (QRgb c : Colours)
            icons.append({IconWriter::picture(sample(32, c))});
        const QByteArray library =
            IconWriter::neLibrary(icons, "TEST", "test icons", {"BIRTHDAY", "", "Party time"});
        QList<QString> names;
        for (const IconGroup& icon : IconFile::read(library))
            names << icon.name;
        QCOMPARE(names, QList<QString>({"BIRTHDAY", "", "Party time"}));

        // A program's group named in its resource directory.
        QCOMPARE(IconFile::read(peFile(false,
                                       {{14, 0x80000000u, groupDir({{32, 1}})},
                                        {3, 1, IconWriter::picture(sample(32, 0xFF112233)).bytes}},
                                       u"MAINICON"))
                     .value(0)
                     .name,
                 QStringLiteral("MAINICON"));
    }

    void peGroupsInDirectoryOrder_data() {
        QTest::addColumn<bool>("wide");
        QTest::newRow("32-bit") << false;
        QTest::newRow("64-bit") << true;
    }

    void peGroupsInDirectoryOrder() {
        QFETCH(bool, wide);
        const QByteArray pe = twoGroupPe(wide);
        QCOMPARE(IconFile::detect(pe), IconFile::Format::PeImage);
        const QList<IconGroup> icons = IconFile::read(pe);
        QCOMPARE(icons.size(), 2);
        // Group 2 comes before group 7, as the directory sorts them.
        QCOMPARE(icons[0].images.size(), 2);
        QCOMPARE(icons[0].images[0].image.pixel(5, 5), 0xFF445566u);
        QCOMPARE(icons[0].images[1].image.pixel(5, 5), 0xFF778899u);
        QCOMPARE(icons[1].images[0].image.pixel(5, 5), 0xFF112233u);
        QCOMPARE(IconFile::readBest(pe, 32)[0].images[0].image.width(), 32);
    }

    void formatToldByContent_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<IconFile::Format>("format");
        QTest::addColumn<int>("icons");
        using F = IconFile::Format;
        QTest::newRow("ico") << IconWriter::ico({IconWriter::picture(sample(16, 0xFF123456))})
                             << F::Ico << 1;
        QTest::newRow("ico without icons") << QByteArray("\0\0\1\0\0\0", 6) << F::Ico << 0;
        QTest::newRow("cursor") << QByteArray("\0\0\2\0\1\0", 6) << F::Unknown << 0;
        QTest::newRow("png file") << toPng(sample(16, 0xFF123456)) << F::Unknown << 0;
        QTest::newRow("library") << threeIconLibrary() << F::NeLibrary << 3;
        QTest::newRow("program") << twoGroupPe(false) << F::PeImage << 2;
        QTest::newRow("MZ only") << QByteArray(0x40, 'M').replace(0, 2, "MZ") << F::Unknown << 0;
        QTest::newRow("text") << QByteArray("hello") << F::Unknown << 0;
        QTest::newRow("empty") << QByteArray() << F::Unknown << 0;
    }

    void formatToldByContent() {
        QFETCH(QByteArray, data);
        QFETCH(IconFile::Format, format);
        QFETCH(int, icons);
        QCOMPARE(IconFile::detect(data), format);
        QCOMPARE(IconFile::read(data).size(), icons);
        // The name does not matter; what is not a regular file has no icons.
        QTemporaryDir dir;
        for (const char* name : {"a.exe", "a.ico", "a"}) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(data);
            f.close();
            QCOMPARE(IconFile::readFile(f.fileName()).size(), icons);
        }
        for (const QString& odd : {dir.path(), QStringLiteral("/dev/zero"), dir.filePath("gone")})
            QVERIFY(IconFile::readFile(odd).isEmpty());
    }

    void truncatedFilesYieldWhatWasRead_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("ico") << IconWriter::ico({IconWriter::picture(sample(16, 0xFF123456)),
                                                 {toPng(sample(32, 0xFF654321)), 32, 32, 32}});
        QTest::newRow("library") << threeIconLibrary();
        QTest::newRow("program") << twoGroupPe(true);
    }

    void truncatedFilesYieldWhatWasRead() {
        QFETCH(QByteArray, data);
        const QList<IconGroup> whole = IconFile::read(data);
        for (qsizetype n = 0; n < data.size(); n += n < 512 ? 1 : 7) {
            const QList<IconGroup> cut = IconFile::read(data.first(n));
            QVERIFY(cut.size() <= whole.size());
            // Every icon read from a cut file is one of the whole file's, in the same place.
            for (qsizetype i = 0; i < cut.size(); ++i)
                for (const IconImage& image : cut[i].images)
                    QVERIFY(
                        std::any_of(whole[i].images.begin(), whole[i].images.end(),
                                    [&](const IconImage& w) { return w.image == image.image; }));
        }
    }

    void lyingFieldsAreRefused_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("icons");
        const QByteArray good = depthSample(8, 8, 8);
        const auto ico = [](const QByteArray& picture) {
            return IconWriter::ico({{picture, 8, 8, 8}});
        };
        const auto patched = [](QByteArray b, qint64 at, qint64 v, bool wide = true) {
            wide ? set32(b, at, v) : set16(b, at, int(v));
            return b;
        };
        QTest::newRow("ico count 65535") << patched(ico(good), 4, 0xFFFF, false) << 1;
        QTest::newRow("ico offset beyond end") << patched(ico(good), 18, 0x7FFFFFFF) << 0;
        QTest::newRow("ico size beyond end") << patched(ico(good), 14, 0xFFFFFFFF) << 1;
        QTest::newRow("width 100000") << ico(patched(good, 4, 100000)) << 0;
        QTest::newRow("negative height") << ico(patched(good, 8, -16)) << 0;
        QTest::newRow("7 bits a pixel") << ico(patched(good, 14, 7, false)) << 0;
        QTest::newRow("a billion colours") << ico(patched(good, 32, 1000000000)) << 0;
        QTest::newRow("header size 2 GB") << ico(patched(good, 0, 0x7FFFFFFF)) << 0;
        QTest::newRow("compressed") << ico(patched(good, 16, 1)) << 0;
        // A PNG that claims 60000 x 60000 pixels is refused before anything is allocated.
        QByteArray huge = toPng(sample(8, 0xFF000000));
        set32(huge, 16, qFromBigEndian<quint32>(60000));
        set32(huge, 20, qFromBigEndian<quint32>(60000));
        set32(huge, 29, qFromBigEndian<quint32>(crc32(huge.sliced(12, 17))));
        QTest::newRow("png 60000 wide") << ico(huge) << 0;

        const QByteArray library = threeIconLibrary();
        const qint64 ne = qFromLittleEndian<quint32>(library.constData() + 0x3C);
        const qint64 table = ne + qFromLittleEndian<quint16>(library.constData() + ne + 0x24);
        QTest::newRow("ne shift 31") << patched(library, table, 31, false) << 0;
        QTest::newRow("ne group count 65535") << patched(library, table + 4, 0xFFFF, false) << 0;
        // The second group's first picture points past the end: the first icon survives.
        const qint64 pictures = table + 2 + 8 + 3 * 12 + 8;
        QTest::newRow("ne picture 3 beyond end")
            << patched(patched(library, pictures + 2 * 12, 0xFFFF, false), pictures + 3 * 12,
                       0xFFFF, false)
            << 1;
        QTest::newRow("ne table beyond end") << patched(library, ne + 0x24, 0xFFFF, false) << 0;

        const QByteArray pe = twoGroupPe(false);
        QTest::newRow("pe 65535 sections") << patched(pe, 0x46, 0xFFFF, false) << 2;
        QTest::newRow("pe optional header too short") << patched(pe, 0x54, 64, false) << 0;
        QTest::newRow("pe bad magic") << patched(pe, 0x58, 0x999, false) << 0;
        QTest::newRow("pe resource rva unmapped") << patched(pe, 0x58 + 96 + 16, 0x9000) << 0;
        QTest::newRow("pe root 65535 entries") << patched(pe, 0x400 + 14, 0xFFFF, false) << 2;
        // The root's first entry pointing back at the root: no endless descent, and the
        // icon pictures it hid are missing.
        QTest::newRow("pe loop") << patched(pe, 0x400 + 20, 0x80000000u) << 0;
    }

    void lyingFieldsAreRefused() {
        QFETCH(QByteArray, data);
        QFETCH(int, icons);
        QCOMPARE(IconFile::read(data).size(), icons);
        QCOMPARE(IconFile::readBest(data, 32).size(), icons);
    }

    void sharedPicturesCannotExhaustMemory() {
        // 4096 groups that all name one 256 x 256 picture: reading stops at the pixel budget.
        QList<Resource> resources{{3, 1, toPng(sample(256, 0xFF0000FF))}};
        for (int g = 1; g <= 4096; ++g)
            resources.append({14, quint32(g), groupDir({{0, 1}})});
        const QList<IconGroup> icons = IconFile::read(peFile(false, resources));
        QCOMPARE(icons.size(), int(IconFile::MaxTotalPixels / (256 * 256)));
    }
};

QTEST_GUILESS_MAIN(TestIconFile)
#include "tst_iconfile.moc"
