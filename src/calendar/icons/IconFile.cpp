// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/icons/IconFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

#include <algorithm>
#include <tuple>

namespace IconFile {

namespace {

// Resource type numbers of group icons and their pictures.
constexpr quint32 RtIcon = 3;
constexpr quint32 RtGroupIcon = 14;
constexpr int MaxTotalImages = 8192;
constexpr int MaxDecodeAttempts = 32768;
constexpr int MaxResourceTypes = 1024;
constexpr int MaxPeSections = 1024;
constexpr int MaxDirectoryEntries = 65536;

// Little-endian reads that answer 0 outside the data; callers check has() for anything
// they rely on.
struct Bytes {
    QByteArrayView d;

    bool has(qint64 off, qint64 len) const {
        return off >= 0 && len >= 0 && off <= d.size() && len <= d.size() - off;
    }
    quint8 u8(qint64 off) const { return has(off, 1) ? quint8(d[off]) : 0; }
    quint16 u16(qint64 off) const { return quint16(u8(off) | u8(off + 1) << 8); }
    quint32 u32(qint64 off) const { return quint32(u16(off)) | quint32(u16(off + 2)) << 16; }
    // The bytes at off, as many of len as the data holds; empty when off is outside.
    QByteArrayView clamped(qint64 off, qint64 len) const {
        if (!has(off, 0) || len <= 0)
            return {};
        return d.sliced(off, std::min<qint64>(len, d.size() - off));
    }
};

// What decoding may still cost for the file being read.
struct Budget {
    qint64 pixels = MaxTotalPixels;
    int images = MaxTotalImages;
    int attempts = MaxDecodeAttempts;

    bool attempt() { return attempts-- > 0; }
    bool take(qint64 w, qint64 h) {
        if (images <= 0 || w * h > pixels)
            return false;
        pixels -= w * h;
        --images;
        return true;
    }
};

bool isPng(QByteArrayView d) {
    static constexpr char Signature[] = "\x89PNG\r\n\x1a\n";
    return d.startsWith(QByteArrayView(Signature, 8));
}

IconImage decodePng(QByteArrayView d, Budget& budget) {
    QByteArray bytes = QByteArray::fromRawData(d.data(), d.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isEmpty() || size.width() > MaxSide || size.height() > MaxSide ||
        !budget.take(size.width(), size.height()))
        return {};
    QImage image;
    if (!reader.read(&image) || image.size() != size)
        return {};
    return {image.convertToFormat(QImage::Format_ARGB32), 32};
}

// A device-independent bitmap as icons keep it: header, palette, colour rows and the AND
// mask, bottom row first, with the header's height counting both bitmaps.
IconImage decodeDib(QByteArrayView d, Budget& budget) {
    const Bytes b{d};
    const quint32 headerSize = b.u32(0);
    if (headerSize < 40 || !b.has(0, headerSize))
        return {};
    const qint32 width = qint32(b.u32(4));
    const qint32 doubleHeight = qint32(b.u32(8));
    const int bitCount = b.u16(14);
    const quint32 compression = b.u32(16);
    const quint32 coloursUsed = b.u32(32);
    if (compression != 0 || width <= 0 || width > MaxSide || doubleHeight < 2 ||
        doubleHeight > 2 * MaxSide)
        return {};
    const int w = width, h = doubleHeight / 2;

    qint64 paletteSize = 0;
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
        if (coloursUsed > (1u << bitCount))
            return {};
        paletteSize = coloursUsed ? coloursUsed : (1u << bitCount);
        break;
    case 16:
    case 24:
    case 32:
        // An optional colour table may precede the pixels; it is skipped.
        if (coloursUsed > 256)
            return {};
        paletteSize = coloursUsed;
        break;
    default:
        return {};
    }

    const qint64 colourOff = qint64(headerSize) + paletteSize * 4;
    const qint64 colourStride = (qint64(w) * bitCount + 31) / 32 * 4;
    const qint64 maskOff = colourOff + colourStride * h;
    const qint64 maskStride = (qint64(w) + 31) / 32 * 4;
    if (!b.has(colourOff, colourStride * h))
        return {};
    // 32-bit pictures carry their own alpha; some writers leave the mask out.
    const bool hasMask = b.has(maskOff, maskStride * h);
    if (!hasMask && bitCount != 32)
        return {};
    if (!budget.take(w, h))
        return {};

    QRgb palette[256] = {};
    for (qint64 i = 0; i < paletteSize && i < 256; ++i) {
        const qint64 at = headerSize + i * 4;
        palette[i] = qRgb(b.u8(at + 2), b.u8(at + 1), b.u8(at));
    }

    QImage image(w, h, QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    const auto* data = reinterpret_cast<const uchar*>(d.data());
    bool anyAlpha = false;
    for (int y = 0; y < h; ++y) {
        const uchar* row = data + colourOff + (h - 1 - y) * colourStride;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            switch (bitCount) {
            case 1:
                out[x] = palette[(row[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                out[x] = palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF];
                break;
            case 8:
                out[x] = palette[row[x]];
                break;
            case 16: {
                const int v = row[2 * x] | row[2 * x + 1] << 8;
                const auto five = [](int c) { return (c << 3) | (c >> 2); };
                out[x] = qRgb(five((v >> 10) & 31), five((v >> 5) & 31), five(v & 31));
                break;
            }
            case 24:
                out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            default: {
                const uchar* p = row + 4 * x;
                out[x] = qRgba(p[2], p[1], p[0], p[3]);
                anyAlpha = anyAlpha || p[3] != 0;
            }
            }
            // Palette entries beyond the stored ones were zeroed; make them opaque black.
            if (bitCount != 32)
                out[x] |= 0xFF000000;
        }
    }

    // A 32-bit picture whose alpha is all zero is an old one that relies on its mask.
    const bool useMask = bitCount != 32 || !anyAlpha;
    for (int y = 0; useMask && y < h; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* mask = hasMask ? data + maskOff + (h - 1 - y) * maskStride : nullptr;
        for (int x = 0; x < w; ++x) {
            const bool transparent = mask && ((mask[x / 8] >> (7 - x % 8)) & 1);
            out[x] = transparent ? 0u : (out[x] | 0xFF000000);
        }
    }
    return {image, bitCount};
}

IconImage decode(QByteArrayView d, Budget& budget) {
    if (!budget.attempt())
        return {};
    return isPng(d) ? decodePng(d, budget) : decodeDib(d, budget);
}

// A picture as a directory lists it, before it is decoded.
struct Entry {
    QByteArrayView data;
    int side = 0;
    int bitCount = 0;
};

// Sort key: pictures that cover `side` first, the smallest of them, then the largest of
// the rest; deeper colour first among equals.
auto fitKey(int size, int bitCount, int side) {
    const bool covers = size >= side;
    return std::make_tuple(covers ? 0 : 1, covers ? size : -size, -bitCount);
}

IconGroup decodeGroup(QList<Entry> entries, int preferredSide, Budget& budget) {
    IconGroup group;
    if (preferredSide > 0) {
        std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
            return fitKey(a.side, a.bitCount, preferredSide) <
                   fitKey(b.side, b.bitCount, preferredSide);
        });
    }
    for (const Entry& e : entries) {
        IconImage image = decode(e.data, budget);
        if (image.image.isNull())
            continue;
        group.images.append(image);
        if (preferredSide > 0)
            break;
    }
    return group;
}

QList<IconGroup> readIco(const Bytes& b, int preferredSide, Budget& budget) {
    const int count = std::min<int>(b.u16(4), MaxImagesPerGroup);
    QList<Entry> entries;
    for (int i = 0; i < count; ++i) {
        const qint64 at = 6 + 16 * qint64(i);
        if (!b.has(at, 16))
            break;
        const int side = b.u8(at) ? b.u8(at) : 256;
        entries.append({b.clamped(b.u32(at + 12), b.u32(at + 8)), side, b.u16(at + 6)});
    }
    IconGroup group = decodeGroup(entries, preferredSide, budget);
    if (group.images.isEmpty())
        return {};
    return {group};
}

// A group resource: its directory lists the pictures by their icon resource number.
QList<Entry> groupEntries(QByteArrayView directory, const QHash<quint16, QByteArrayView>& icons) {
    const Bytes g{directory};
    QList<Entry> entries;
    if (!g.has(0, 6) || g.u16(2) != 1)
        return entries;
    const int count = std::min<int>(g.u16(4), MaxImagesPerGroup);
    for (int i = 0; i < count; ++i) {
        const qint64 at = 6 + 14 * qint64(i);
        if (!g.has(at, 14))
            break;
        const auto it = icons.constFind(g.u16(at + 12));
        if (it == icons.constEnd())
            continue;
        const int side = g.u8(at) ? g.u8(at) : 256;
        entries.append({*it, side, g.u16(at + 6)});
    }
    return entries;
}

// A group resource's directory and the name the file gives it ("" for a number).
struct GroupResource {
    QByteArrayView directory;
    QString name;
};

QList<IconGroup> decodeGroups(const QList<GroupResource>& groups,
                              const QHash<quint16, QByteArrayView>& icons, int preferredSide,
                              Budget& budget) {
    QList<IconGroup> result;
    for (const GroupResource& resource : groups) {
        IconGroup group =
            decodeGroup(groupEntries(resource.directory, icons), preferredSide, budget);
        if (group.images.isEmpty())
            break;
        group.name = resource.name;
        result.append(group);
    }
    return result;
}

// 16-bit resources: a table of resource types, each followed by its resources, whose
// offsets and lengths count in units of 2^shift bytes.
QList<IconGroup> readNe(const Bytes& b, qint64 ne, int preferredSide, Budget& budget) {
    const qint64 table = ne + b.u16(ne + 0x24);
    if (!b.has(table, 2))
        return {};
    const int shift = b.u16(table);
    if (shift > 16)
        return {};
    QList<GroupResource> groups;
    QHash<quint16, QByteArrayView> icons;
    // A resource without the high bit of its id is named: a length-prefixed string at that
    // offset of the table.
    const auto nameAt = [&](quint16 id) {
        const qint64 off = table + id;
        const int length = b.u8(off);
        return b.has(off + 1, length) ? QString::fromLatin1(b.clamped(off + 1, length)) : QString();
    };
    qint64 at = table + 2;
    for (int t = 0; t < MaxResourceTypes && b.has(at, 2); ++t) {
        const quint16 type = b.u16(at);
        if (type == 0 || !b.has(at, 8))
            break;
        const int count = b.u16(at + 2);
        at += 8;
        for (int i = 0; i < count; ++i, at += 12) {
            if (!b.has(at, 12))
                return decodeGroups(groups, icons, preferredSide, budget);
            const QByteArrayView data =
                b.clamped(qint64(b.u16(at)) << shift, qint64(b.u16(at + 2)) << shift);
            const quint16 id = b.u16(at + 6);
            if (type == (0x8000 | RtGroupIcon) && groups.size() < MaxGroups)
                groups.append({data, id & 0x8000 ? QString() : nameAt(id)});
            else if (type == (0x8000 | RtIcon) && (id & 0x8000) && !icons.contains(id & 0x7FFF))
                icons.insert(id & 0x7FFF, data);
        }
    }
    return decodeGroups(groups, icons, preferredSide, budget);
}

// 32- and 64-bit programs: a three-level resource tree (type, name, language) inside the
// section that holds the resource directory's address.
class PeResources {
public:
    PeResources(const Bytes& b, qint64 pe) : m_b(b) {
        if (!b.has(pe, 24))
            return;
        const int sections = std::min<int>(b.u16(pe + 6), MaxPeSections);
        const qint64 optional = pe + 24;
        const qint64 optionalSize = b.u16(pe + 20);
        qint64 directories = 0;
        quint32 directoryCount = 0;
        switch (b.u16(optional)) {
        case 0x10b:
            directories = optional + 96;
            directoryCount = b.u32(optional + 92);
            break;
        case 0x20b:
            directories = optional + 112;
            directoryCount = b.u32(optional + 108);
            break;
        default:
            return;
        }
        // The resource directory is entry 2 of the data directories.
        if (directoryCount < 3 || directories + 24 > optional + optionalSize)
            return;
        m_sectionTable = optional + optionalSize;
        m_sections = sections;
        m_root = offsetOf(b.u32(directories + 16));
    }

    QList<IconGroup> read(int preferredSide, Budget& budget) const {
        if (m_root < 0)
            return {};
        QList<GroupResource> groups;
        QHash<quint16, QByteArrayView> icons;
        for (const auto& [type, typeDir] : children(m_root)) {
            if (type != RtGroupIcon && type != RtIcon)
                continue;
            for (const auto& [id, nameDir] : children(typeDir)) {
                const QByteArrayView data = firstLanguage(nameDir);
                if (type == RtGroupIcon && groups.size() < MaxGroups)
                    groups.append({data, id & 0x80000000u ? nameAt(id & 0x7FFFFFFFu) : QString()});
                else if (type == RtIcon && id <= 0xFFFF && !icons.contains(quint16(id)))
                    icons.insert(quint16(id), data);
            }
        }
        return decodeGroups(groups, icons, preferredSide, budget);
    }

private:
    // A named entry's name: a count of UTF-16 units and the units, at `offset` of the
    // resource directory.
    QString nameAt(quint32 offset) const {
        const qint64 at = m_root + offset;
        const int length = m_b.u16(at);
        if (!m_b.has(at + 2, 2 * qint64(length)))
            return {};
        QString name(length, Qt::Uninitialized);
        for (int i = 0; i < length; ++i)
            name[i] = QChar(m_b.u16(at + 2 + 2 * i));
        return name;
    }

    // The file offset of an address, when a section keeps it in the file; else -1.
    qint64 offsetOf(quint32 rva) const {
        for (int i = 0; i < m_sections; ++i) {
            const qint64 s = m_sectionTable + 40 * qint64(i);
            if (!m_b.has(s, 40))
                break;
            const quint32 address = m_b.u32(s + 12), rawSize = m_b.u32(s + 16);
            if (rva >= address && rva - address < rawSize) {
                const qint64 off = qint64(m_b.u32(s + 20)) + (rva - address);
                return m_b.has(off, 0) ? off : -1;
            }
        }
        return -1;
    }

    // The subdirectories of a directory, with the number (or, for named entries, the
    // name's offset with the high bit set) of each.
    QList<std::pair<quint32, qint64>> children(qint64 dir) const {
        QList<std::pair<quint32, qint64>> out;
        if (dir < 0 || !m_b.has(dir, 16))
            return out;
        const int count = std::min(m_b.u16(dir + 12) + m_b.u16(dir + 14), MaxDirectoryEntries);
        for (int i = 0; i < count; ++i) {
            const qint64 e = dir + 16 + 8 * qint64(i);
            if (!m_b.has(e, 8))
                break;
            const quint32 target = m_b.u32(e + 4);
            if (target & 0x80000000u)
                out.append({m_b.u32(e), m_root + (target & 0x7FFFFFFFu)});
        }
        return out;
    }

    // The data of the first language entry of a name directory.
    QByteArrayView firstLanguage(qint64 dir) const {
        if (!m_b.has(dir, 16) || m_b.u16(dir + 12) + m_b.u16(dir + 14) == 0 ||
            !m_b.has(dir + 16, 8))
            return {};
        const quint32 target = m_b.u32(dir + 20);
        if (target & 0x80000000u)
            return {};
        const qint64 entry = m_root + target;
        if (!m_b.has(entry, 16))
            return {};
        const qint64 off = offsetOf(m_b.u32(entry));
        return off < 0 ? QByteArrayView() : m_b.clamped(off, m_b.u32(entry + 4));
    }

    const Bytes& m_b;
    qint64 m_sectionTable = 0;
    int m_sections = 0;
    qint64 m_root = -1;
};

qint64 newHeader(const Bytes& b) {
    if (!b.has(0, 0x40) || b.u8(0) != 'M' || b.u8(1) != 'Z')
        return -1;
    return b.u32(0x3C);
}

QList<IconGroup> readWith(QByteArrayView data, int preferredSide) {
    const Bytes b{data};
    Budget budget;
    switch (detect(data)) {
    case Format::Ico:
        return readIco(b, preferredSide, budget);
    case Format::NeLibrary:
        return readNe(b, newHeader(b), preferredSide, budget);
    case Format::PeImage:
        return PeResources(b, newHeader(b)).read(preferredSide, budget);
    case Format::Unknown:
        break;
    }
    return {};
}

} // namespace

Format detect(QByteArrayView data) {
    const Bytes b{data};
    const qint64 header = newHeader(b);
    if (header >= 0) {
        if (b.has(header, 4) && b.u32(header) == 0x00004550) // "PE\0\0"
            return Format::PeImage;
        if (b.has(header, 0x40) && b.u8(header) == 'N' && b.u8(header + 1) == 'E')
            return Format::NeLibrary;
        return Format::Unknown;
    }
    if (b.has(0, 6) && b.u16(0) == 0 && b.u16(2) == 1)
        return Format::Ico;
    return Format::Unknown;
}

QList<IconGroup> read(QByteArrayView data) {
    return readWith(data, 0);
}

QList<IconGroup> readBest(QByteArrayView data, int side) {
    return readWith(data, std::max(side, 1));
}

QList<IconGroup> readFile(const QString& path, int side) {
    // Only regular files: a device or a pipe chosen by name could be endless or block.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.read(MaxFileBytes + 1);
    if (data.size() > MaxFileBytes)
        return {};
    return side > 0 ? readBest(data, side) : read(data);
}

IconImage decodeImage(QByteArrayView data) {
    Budget budget;
    return decode(data, budget);
}

QImage bestImage(const IconGroup& group, int side) {
    const IconImage* best = nullptr;
    for (const IconImage& candidate : group.images) {
        const auto key = [&](const IconImage& i) {
            return fitKey(std::max(i.image.width(), i.image.height()), i.bitCount, side);
        };
        if (!candidate.image.isNull() && (!best || key(candidate) < key(*best)))
            best = &candidate;
    }
    return best ? best->image : QImage();
}

} // namespace IconFile
