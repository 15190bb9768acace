// The icon reader on files built here byte by byte: every picture format of .ico files,
// NE libraries, 32- and 64-bit PE files, and damaged or lying ones.
#include "calendar/icons/IconFile.h"
#include "calendar/icons/IconWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <QtTest>

#include <functional>
#include <map>

namespace {

void put16(QByteArray& b, int v) {
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}
void put32(QByteArray& b, qint64 v) {
    put16(b, int(v & 0xFFFF));
    put16(b, int((v >> 16) & 0xFFFF));
}
void set16(QByteArray& b, qint64 at, int v) {
    qToLittleEndian<quint16>(quint16(v), b.data() + at);
}
void set32(QByteArray& b, qint64 at, qint64 v) {
    qToLittleEndian<quint32>(quint32(v), b.data() + at);
}

quint32 crc32(QByteArrayView bytes) {
    quint32 crc = 0xFFFFFFFF;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

// A DIB as icons store it. `value` gives a palette index (up to 8 bits) or the pixel's
// stored value (16, 24, 32 bits); `masked` sets the AND mask.
QByteArray dib(int w, int h, int bpp, const QList<QRgb>& palette,
               const std::function<quint32(int, int)>& value,
               const std::function<bool(int, int)>& masked) {
    QByteArray b;
    put32(b, 40);
    put32(b, w);
    put32(b, 2 * h);
    put16(b, 1);
    put16(b, bpp);
    put32(b, 0);
    put32(b, 0);
    for (int i = 0; i < 4; ++i)
        put32(b, 0);
    set32(b, 32, palette.size());
    for (QRgb c : palette)
        put32(b, c & 0xFFFFFF);
    const int stride = (w * bpp + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < w; ++x) {
            const quint32 v = value(x, y);
            if (bpp < 8)
                row[x * bpp / 8] = char(row[x * bpp / 8] | v << (8 - bpp - (x * bpp) % 8));
            else
                for (int i = 0; i < bpp / 8; ++i)
                    row[x * bpp / 8 + i] = char(v >> (8 * i));
        }
        b.append(row);
    }
    const int maskStride = (w + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (masked(x, y))
                row[x / 8] = char(row[x / 8] | 0x80 >> (x % 8));
        b.append(row);
    }
    return b;
}

QImage sample(int side, QRgb colour) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    image.setPixel(0, 0, 0); // one transparent corner
    return image;
}

QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A PE file whose resource section holds `resources` (type, id, data).
struct Resource {
    quint32 type;
    quint32 id;
    QByteArray data;
};
QByteArray peFile(bool wide, const QList<Resource>& resources) {
    constexpr quint32 SectionRva = 0x2000, RawPointer = 0x400;
    std::map<quint32, std::map<quint32, QByteArray>> tree;
    for (const Resource& r : resources)
        tree[r.type][r.id] = r.data;
    qint64 size = 16 + 8 * qint64(tree.size());
    std::map<quint32, qint64> typeDir;
    std::map<std::pair<quint32, quint32>, qint64> nameDir, dataEntry, dataAt;
    for (const auto& [type, names] : tree) {
        typeDir[type] = size;
        size += 16 + 8 * qint64(names.size());
    }
    for (const auto& [type, names] : tree)
        for (const auto& [id, data] : names) {
            nameDir[{type, id}] = size;
            dataEntry[{type, id}] = size + 24;
            size += 40;
        }
    for (const auto& [type, names] : tree)
        for (const auto& [id, data] : names) {
            dataAt[{type, id}] = size;
            size += (data.size() + 3) / 4 * 4;
        }
    QByteArray rsrc(size, '\0');
    const auto dir = [&](qint64 at, int ids) { set16(rsrc, at + 14, ids); };
    dir(0, int(tree.size()));
    int t = 0;
    for (const auto& [type, names] : tree) {
        set32(rsrc, 16 + 8 * t, type);
        set32(rsrc, 16 + 8 * t + 4, 0x80000000u | typeDir[type]);
        ++t;
        dir(typeDir[type], int(names.size()));
        int n = 0;
        for (const auto& [id, data] : names) {
            const qint64 e = typeDir[type] + 16 + 8 * n++;
            set32(rsrc, e, id);
            set32(rsrc, e + 4, 0x80000000u | nameDir[{type, id}]);
            dir(nameDir[{type, id}], 1);
            set32(rsrc, nameDir[{type, id}] + 16, 0x409);
            set32(rsrc, nameDir[{type, id}] + 20, dataEntry[{type, id}]);
            set32(rsrc, dataEntry[{type, id}], SectionRva + dataAt[{type, id}]);
            set32(rsrc, dataEntry[{type, id}] + 4, data.size());
            rsrc.replace(dataAt[{type, id}], data.size(), data);
        }
    }

    const int optionalSize = wide ? 240 : 224;
    QByteArray file(RawPointer, '\0');
    file[0] = 'M';
    file[1] = 'Z';
    set32(file, 0x3C, 0x40);
    file.replace(0x40, 4, QByteArray("PE\0\0", 4));
    set16(file, 0x44, wide ? 0x8664 : 0x14C);
    set16(file, 0x46, 2);
    set16(file, 0x54, optionalSize);
    const qint64 optional = 0x58;
    set16(file, optional, wide ? 0x20B : 0x10B);
    const qint64 directories = optional + (wide ? 112 : 96);
    set32(file, directories - 4, 16);
    set32(file, directories + 16, SectionRva);
    set32(file, directories + 20, rsrc.size());
    const qint64 sections = optional + optionalSize;
    file.replace(sections, 5, ".text");
    set32(file, sections + 8, 0x100);
    set32(file, sections + 12, 0x1000);
    file.replace(sections + 40, 5, ".rsrc");
    set32(file, sections + 40 + 8, rsrc.size());
    set32(file, sections + 40 + 12, SectionRva);
    set32(file, sections + 40 + 16, rsrc.size());
    set32(file, sections + 40 + 20, RawPointer);
    return file + rsrc;
}

// A group directory resource naming icon resources by number.
QByteArray groupDir(const QList<std::pair<int, int>>& sideAndId) {
    QByteArray b;
    put16(b, 0);
    put16(b, 1);
    put16(b, int(sideAndId.size()));
    for (const auto& [side, id] : sideAndId) {
        b.append(char(side & 0xFF)).append(char(side & 0xFF)).append(2, '\0');
        put16(b, 1);
        put16(b, 32);
        put32(b, 0);
        put16(b, id);
    }
    return b;
}

QByteArray threeIconLibrary() {
    QList<QList<StoredPicture>> icons;
    for (QRgb c : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu})
        icons.append({IconWriter::picture(sample(32, c)), IconWriter::picture(sample(16, c))});
    return IconWriter::neLibrary(icons, "TEST", "test icons");
}

QByteArray twoGroupPe(bool wide) {
    return peFile(wide, {{14, 7, groupDir({{32, 1}})},
                         {14, 2, groupDir({{16, 3}, {32, 4}})},
                         {3, 1, IconWriter::picture(sample(32, 0xFF112233)).bytes},
                         {3, 3, IconWriter::picture(sample(16, 0xFF445566)).bytes},
                         {3, 4, pngBytes(sample(32, 0xFF778899))},
                         {16, 1, QByteArray(64, 'v')}});
}

} // namespace

class TestIconFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decodesEveryDepth_data();
    void decodesEveryDepth();
    void icoHoldsEveryPicture();
    void neLibraryRoundTrips();
    void peGroupsInDirectoryOrder_data();
    void peGroupsInDirectoryOrder();
    void formatToldByContent_data();
    void formatToldByContent();
    void truncatedFilesYieldWhatWasRead_data();
    void truncatedFilesYieldWhatWasRead();
    void lyingFieldsAreRefused_data();
    void lyingFieldsAreRefused();
    void sharedPicturesCannotExhaustMemory();
    void writeSeedCorpus();
};

void TestIconFile::decodesEveryDepth_data() {
    QTest::addColumn<int>("bpp");
    QTest::addColumn<int>("width");
    const QList<int> depths = {1, 4, 8, 16, 24, 32};
    for (int bpp : depths)
        for (int w : {5, 32})
            QTest::addRow("%d bpp, %d wide", bpp, w) << bpp << w;
}

void TestIconFile::decodesEveryDepth() {
    QFETCH(int, bpp);
    QFETCH(int, width);
    const int h = 3;
    const QList<QRgb> palette = bpp == 1   ? QList<QRgb>{0xFF000000, 0xFFFF0000}
                                : bpp <= 8 ? QList<QRgb>{0xFF000000, 0xFFFF0000, 0xFF00FF00}
                                           : QList<QRgb>{};
    const auto masked = [](int x, int y) { return (x + y) % 4 == 0; };
    const auto index = [bpp](int x, int y) { return quint32((x + y) % (bpp == 1 ? 2 : 3)); };
    // The stored value and the colour it must decode to.
    const auto stored = [&](int x, int y) -> quint32 {
        const int i = int(index(x, y));
        switch (bpp) {
        case 16:
            return quint32(31 << (10 - 5 * i)); // pure red, green or blue in 5-5-5
        case 24:
            return quint32(0xFF << (16 - 8 * i));
        case 32:
            return quint32(0xFF << (16 - 8 * i)) | quint32(x % 2 ? 0xFF : 0x80) << 24;
        default:
            return index(x, y);
        }
    };
    const IconImage decoded = IconFile::decodeImage(dib(width, h, bpp, palette, stored, masked));
    QCOMPARE(decoded.image.size(), QSize(width, h));
    QCOMPARE(decoded.bitCount, bpp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < width; ++x) {
            const QRgb got = decoded.image.pixel(x, y);
            const int i = int(index(x, y));
            QRgb want =
                bpp <= 8 ? palette[i] : qRgb(i == 0 ? 255 : 0, i == 1 ? 255 : 0, i == 2 ? 255 : 0);
            if (bpp == 32)
                want = qRgba(qRed(want), qGreen(want), qBlue(want), x % 2 ? 0xFF : 0x80);
            else if (masked(x, y))
                want = 0;
            QVERIFY2(got == want, qPrintable(QStringLiteral("pixel %1,%2: %3 != %4")
                                                 .arg(x)
                                                 .arg(y)
                                                 .arg(got, 8, 16)
                                                 .arg(want, 8, 16)));
        }
}

void TestIconFile::icoHoldsEveryPicture() {
    // An old 32-bit picture with no alpha at all relies on its mask.
    const QByteArray noAlpha = dib(
        16, 16, 32, {}, [](int, int) { return 0x00336699u; }, [](int x, int) { return x < 8; });
    const QList<StoredPicture> pictures = {{noAlpha, 16, 16, 32},
                                           IconWriter::picture(sample(48, 0xFF00AA00)),
                                           {pngBytes(sample(32, 0xFF0000AA)), 32, 32, 32}};
    const QByteArray ico = IconWriter::ico(pictures);
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

void TestIconFile::neLibraryRoundTrips() {
    const QByteArray library = threeIconLibrary();
    QCOMPARE(IconFile::detect(library), IconFile::Format::NeLibrary);
    const QList<IconGroup> icons = IconFile::read(library);
    QCOMPARE(icons.size(), 3);
    const QRgb colours[] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(icons[i].images.size(), 2);
        QCOMPARE(icons[i].images[0].image, sample(32, colours[i]));
        QCOMPARE(icons[i].images[1].image, sample(16, colours[i]));
    }
    QCOMPARE(IconFile::readBest(library, 16)[2].images[0].image.width(), 16);
}

void TestIconFile::peGroupsInDirectoryOrder_data() {
    QTest::addColumn<bool>("wide");
    QTest::newRow("32-bit") << false;
    QTest::newRow("64-bit") << true;
}

void TestIconFile::peGroupsInDirectoryOrder() {
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

void TestIconFile::formatToldByContent_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("icons");
    QTest::newRow("ico") << IconWriter::ico({IconWriter::picture(sample(16, 0xFF123456))})
                         << int(IconFile::Format::Ico) << 1;
    QTest::newRow("ico without icons")
        << QByteArray("\0\0\1\0\0\0", 6) << int(IconFile::Format::Ico) << 0;
    QTest::newRow("cursor") << QByteArray("\0\0\2\0\1\0", 6) << int(IconFile::Format::Unknown) << 0;
    QTest::newRow("png file") << pngBytes(sample(16, 0xFF123456)) << int(IconFile::Format::Unknown)
                              << 0;
    QTest::newRow("library") << threeIconLibrary() << int(IconFile::Format::NeLibrary) << 3;
    QTest::newRow("program") << twoGroupPe(false) << int(IconFile::Format::PeImage) << 2;
    QTest::newRow("MZ only") << QByteArray(0x40, 'M').replace(0, 2, "MZ")
                             << int(IconFile::Format::Unknown) << 0;
    QTest::newRow("text") << QByteArray("hello") << int(IconFile::Format::Unknown) << 0;
    QTest::newRow("empty") << QByteArray() << int(IconFile::Format::Unknown) << 0;
}

void TestIconFile::formatToldByContent() {
    QFETCH(QByteArray, data);
    QFETCH(int, format);
    QFETCH(int, icons);
    QCOMPARE(int(IconFile::detect(data)), format);
    QCOMPARE(IconFile::read(data).size(), icons);
    // The name does not matter: the same bytes under any extension read the same; what is
    // not a regular file has no icons.
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

void TestIconFile::truncatedFilesYieldWhatWasRead_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("ico") << IconWriter::ico({IconWriter::picture(sample(16, 0xFF123456)),
                                             {pngBytes(sample(32, 0xFF654321)), 32, 32, 32}});
    QTest::newRow("library") << threeIconLibrary();
    QTest::newRow("program") << twoGroupPe(true);
}

void TestIconFile::truncatedFilesYieldWhatWasRead() {
    QFETCH(QByteArray, data);
    const QList<IconGroup> whole = IconFile::read(data);
    for (qsizetype n = 0; n < data.size(); n += n < 512 ? 1 : 7) {
        const QList<IconGroup> cut = IconFile::read(data.first(n));
        QVERIFY(cut.size() <= whole.size());
        // Every icon read from a cut file is one of the whole file's, in the same place.
        for (qsizetype i = 0; i < cut.size(); ++i)
            for (const IconImage& image : cut[i].images)
                QVERIFY(std::any_of(whole[i].images.begin(), whole[i].images.end(),
                                    [&](const IconImage& w) { return w.image == image.image; }));
    }
}

void TestIconFile::lyingFieldsAreRefused_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("icons");
    const QByteArray good = dib(
        8, 8, 8, {0xFF000000}, [](int, int) { return 0u; }, [](int, int) { return false; });
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
    QByteArray huge = pngBytes(sample(8, 0xFF000000));
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
        << patched(patched(library, pictures + 2 * 12, 0xFFFF, false), pictures + 3 * 12, 0xFFFF,
                   false)
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

void TestIconFile::lyingFieldsAreRefused() {
    QFETCH(QByteArray, data);
    QFETCH(int, icons);
    QCOMPARE(IconFile::read(data).size(), icons);
    QCOMPARE(IconFile::readBest(data, 32).size(), icons);
}

void TestIconFile::sharedPicturesCannotExhaustMemory() {
    // 4096 groups that all name one 256 x 256 picture: reading stops at the pixel budget.
    QList<Resource> resources{{3, 1, pngBytes(sample(256, 0xFF0000FF))}};
    for (int g = 1; g <= 4096; ++g)
        resources.append({14, quint32(g), groupDir({{0, 1}})});
    const QByteArray pe = peFile(false, resources);
    const QList<IconGroup> icons = IconFile::read(pe);
    QCOMPARE(icons.size(), int(IconFile::MaxTotalPixels / (256 * 256)));
}

// With PLUMORA_ICON_SEEDS set, leaves the files built here in that folder as the fuzz
// target's starting corpus.
void TestIconFile::writeSeedCorpus() {
    const QString folder = qEnvironmentVariable("PLUMORA_ICON_SEEDS");
    if (folder.isEmpty())
        QSKIP("PLUMORA_ICON_SEEDS is not set");
    QVERIFY(QDir().mkpath(folder));
    const QList<std::pair<const char*, QByteArray>> seeds = {
        {"library.icl", threeIconLibrary()},
        {"program32.exe", twoGroupPe(false)},
        {"program64.dll", twoGroupPe(true)},
        {"depths.ico",
         IconWriter::ico(
             {{dib(
                   5, 3, 1, {0xFF000000, 0xFFFFFFFF}, [](int x, int) { return quint32(x % 2); },
                   [](int x, int) { return x == 0; }),
               5, 3, 1},
              {dib(
                   6, 2, 4, {0xFF000000, 0xFFFF0000}, [](int x, int) { return quint32(x % 2); },
                   [](int, int) { return false; }),
               6, 2, 4},
              {dib(
                   4, 4, 24, {}, [](int, int) { return 0x123456u; },
                   [](int, int) { return false; }),
               4, 4, 24},
              {pngBytes(sample(8, 0xFF00FF00)), 8, 8, 32}})},
    };
    for (const auto& [name, data] : seeds) {
        QFile f(QDir(folder).filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(data), data.size());
    }
}

QTEST_GUILESS_MAIN(TestIconFile)
#include "tst_iconfile.moc"
