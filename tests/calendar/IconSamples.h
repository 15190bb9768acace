// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Icon files built here for the icon reader's tests and the fuzz target's corpus: pictures of
// every depth, NE libraries and 32- and 64-bit PE files.
#include "calendar/EventIcons.h"
#include "calendar/icons/IconFile.h"
#include "calendar/icons/IconWriter.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QtEndian>

#include <functional>
#include <initializer_list>
#include <tuple>
#include <utility>

namespace IconSamples {

inline void set16(QByteArray& b, qint64 at, int v) {
    qToLittleEndian<quint16>(quint16(v), b.data() + at);
}
inline void set32(QByteArray& b, qint64 at, qint64 v) {
    qToLittleEndian<quint32>(quint32(v), b.data() + at);
}

// Little-endian fields {offset, bytes, value} written over `b`.
inline void fields(QByteArray& b, std::initializer_list<std::tuple<qint64, int, qint64>> list) {
    for (const auto& [at, bytes, v] : list)
        bytes == 2 ? set16(b, at, int(v)) : set32(b, at, v);
}

inline quint32 crc32(QByteArrayView bytes) {
    quint32 crc = 0xFFFFFFFF;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

// The palette of every indexed picture here (its first two at 1 bit a pixel).
inline const QList<QRgb> Colours = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};

// A bottom-up DIB as icons store it: `value` gives a pixel's palette index or its stored
// value (16 bits and up), `masked` its AND mask bit.
inline QByteArray dib(int w, int h, int bpp, const std::function<quint32(int, int)>& value,
                      const std::function<bool(int, int)>& masked) {
    const int colours = bpp > 8 ? 0 : bpp == 1 ? 2 : 3;
    QByteArray b(40 + 4 * colours, '\0');
    fields(b, {{0, 4, 40}, {4, 4, w}, {8, 4, 2 * h}, {12, 2, 1}, {14, 2, bpp}, {32, 4, colours}});
    for (int i = 0; i < colours; ++i)
        set32(b, 40 + 4 * i, Colours[i] & 0xFFFFFF);
    const int stride = (w * bpp + 31) / 32 * 4, maskStride = (w + 31) / 32 * 4;
    QByteArray pixels(stride * h, '\0'), mask(maskStride * h, '\0');
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            char* row = pixels.data() + (h - 1 - y) * stride;
            const quint32 v = value(x, y);
            if (bpp < 8)
                row[x * bpp / 8] = char(row[x * bpp / 8] | v << (8 - bpp - x * bpp % 8));
            for (int i = 0; bpp >= 8 && i < bpp / 8; ++i)
                row[x * bpp / 8 + i] = char(v >> 8 * i);
            if (masked(x, y))
                mask[(h - 1 - y) * maskStride + x / 8] |= char(0x80 >> x % 8);
        }
    return b + pixels + mask;
}

// The sample of each depth: colour (x + y) % 3 (% 2 at 1 bit), masked where (x + y) % 4
// is 0; at 32 bits every other column is half transparent instead.
inline int colourAt(int bpp, int x, int y) {
    return (x + y) % (bpp == 1 ? 2 : 3);
}
inline QRgb storedAt(int bpp, int x, int y) {
    const QRgb c = Colours[colourAt(bpp, x, y)];
    return bpp == 32 ? (c & 0xFFFFFF) | (x % 2 ? 0xFFu : 0x80u) << 24 : c;
}
inline QByteArray depthSample(int w, int h, int bpp) {
    const auto value = [bpp](int x, int y) -> quint32 {
        const int i = colourAt(bpp, x, y);
        return bpp <= 8 ? quint32(i) : bpp == 16 ? 0x7C00u >> 5 * i : storedAt(bpp, x, y);
    };
    return dib(w, h, bpp, value, [](int x, int y) { return (x + y) % 4 == 0; });
}

inline QImage sample(int side, QRgb colour) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    image.setPixel(0, 0, 0); // one transparent corner
    return image;
}

// A PE file whose resource section holds `resources` (type, id, data), each type's and
// each id's entries sorted as the format wants. An id of 0x80000000 stands for a named
// entry called `name`.
struct Resource {
    quint32 type;
    quint32 id;
    QByteArray data;
};
inline QByteArray peFile(bool wide, const QList<Resource>& resources,
                         const char16_t* name = nullptr) {
    constexpr quint32 SectionRva = 0x2000, RawPointer = 0x400;
    std::map<quint32, std::map<quint32, QByteArray>> tree;
    for (const Resource& r : resources)
        tree[r.type][r.id] = r.data;
    QByteArray rsrc;
    const auto directory = [&rsrc](qsizetype entries) {
        const qint64 at = rsrc.size();
        rsrc.append(16 + 8 * entries, '\0');
        set16(rsrc, at + 14, int(entries));
        return at;
    };
    const auto entry = [&rsrc](qint64 dir, int i, quint32 id, qint64 target) {
        set32(rsrc, dir + 16 + 8 * i, id);
        set32(rsrc, dir + 20 + 8 * i, target);
    };
    QList<qint64> namedEntries;
    const qint64 root = directory(qsizetype(tree.size()));
    int t = 0;
    for (const auto& [type, names] : tree) {
        const qint64 typeDir = directory(qsizetype(names.size()));
        entry(root, t++, type, 0x80000000u | typeDir);
        int n = 0;
        for (const auto& [id, data] : names) {
            const qint64 languages = directory(1);
            if (id == 0x80000000u)
                namedEntries << typeDir + 16 + 8 * n;
            entry(typeDir, n++, id, 0x80000000u | languages);
            entry(languages, 0, 0x409, rsrc.size());
            rsrc.append(16, '\0');
            set32(rsrc, rsrc.size() - 16, SectionRva + rsrc.size());
            set32(rsrc, rsrc.size() - 12, data.size());
            rsrc.append(data).append((4 - data.size() % 4) % 4, '\0');
        }
    }
    for (qint64 at : namedEntries) {
        const QString text = QString::fromUtf16(name);
        set32(rsrc, at, 0x80000000u | quint32(rsrc.size()));
        rsrc.append(2 + 2 * text.size(), '\0');
        set16(rsrc, rsrc.size() - 2 - 2 * text.size(), int(text.size()));
        for (qsizetype i = 0; i < text.size(); ++i)
            set16(rsrc, rsrc.size() - 2 * text.size() + 2 * i, text[i].unicode());
    }

    const int optionalSize = wide ? 240 : 224;
    const qint64 optional = 0x58, directories = optional + (wide ? 112 : 96),
                 text = optional + optionalSize, rsrcHeader = text + 40;
    QByteArray file(RawPointer, '\0');
    file.replace(0, 2, "MZ").replace(0x40, 2, "PE");
    file.replace(text, 5, ".text").replace(rsrcHeader, 5, ".rsrc");
    // The DOS stub's pointer, the file header, the optional header's magic and resource
    // directory, and the two section headers.
    fields(file, {{0x3C, 4, 0x40}, {0x44, 2, wide ? 0x8664 : 0x14C}, {0x46, 2, 2}});
    fields(file, {{0x54, 2, optionalSize}, {optional, 2, wide ? 0x20B : 0x10B}});
    fields(file, {{directories - 4, 4, 16}, {directories + 16, 4, SectionRva}});
    fields(file, {{directories + 20, 4, rsrc.size()}, {text + 8, 4, 0x100}});
    fields(file, {{text + 12, 4, 0x1000}, {rsrcHeader + 8, 4, rsrc.size()}});
    fields(file, {{rsrcHeader + 12, 4, SectionRva}, {rsrcHeader + 16, 4, rsrc.size()}});
    fields(file, {{rsrcHeader + 20, 4, RawPointer}});
    return file + rsrc;
}

// A group directory resource naming icon resources by number.
inline QByteArray groupDir(const QList<std::pair<int, int>>& sideAndId) {
    QByteArray b(6 + 14 * sideAndId.size(), '\0');
    fields(b, {{2, 2, 1}, {4, 2, sideAndId.size()}});
    for (qsizetype i = 0; i < sideAndId.size(); ++i) {
        const qint64 e = 6 + 14 * i;
        b[e] = b[e + 1] = char(sideAndId[i].first);
        fields(b, {{e + 4, 2, 1}, {e + 6, 2, 32}, {e + 12, 2, sideAndId[i].second}});
    }
    return b;
}

inline QByteArray threeIconLibrary() {
    QList<QList<StoredPicture>> icons;
    for (QRgb c : Colours)
        icons.append({IconWriter::picture(sample(32, c)), IconWriter::picture(sample(16, c))});
    return IconWriter::neLibrary(icons, "TEST", "test icons");
}

inline QByteArray twoGroupPe(bool wide) {
    return peFile(wide, {{14, 7, groupDir({{32, 1}})},
                         {14, 2, groupDir({{16, 3}, {32, 4}})},
                         {3, 1, IconWriter::picture(sample(32, 0xFF112233)).bytes},
                         {3, 3, IconWriter::picture(sample(16, 0xFF445566)).bytes},
                         {3, 4, toPng(sample(32, 0xFF778899))},
                         {16, 1, QByteArray(64, 'v')}});
}

} // namespace IconSamples
