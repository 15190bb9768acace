// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/icons/IconWriter.h"

#include <QtEndian>

namespace IconWriter {

namespace {

void put8(QByteArray& out, int v) {
    out.append(char(v & 0xFF));
}
void put16(QByteArray& out, int v) {
    put8(out, v);
    put8(out, v >> 8);
}
void put32(QByteArray& out, qint64 v) {
    put16(out, int(v & 0xFFFF));
    put16(out, int((v >> 16) & 0xFFFF));
}
void set16(QByteArray& out, qint64 at, int v) {
    qToLittleEndian<quint16>(quint16(v), out.data() + at);
}
void set32(QByteArray& out, qint64 at, qint64 v) {
    qToLittleEndian<quint32>(quint32(v), out.data() + at);
}
void padTo(QByteArray& out, qint64 unit) {
    while (out.size() % unit)
        put8(out, 0);
}

// Directory bytes for width and height: 0 stands for 256.
int sideByte(int side) {
    return side >= 256 ? 0 : side;
}

// The 12 bytes an ICO directory and an NE/PE group directory share for one picture; the
// formats differ only in what follows (a file offset or a resource number).
void putDirectoryEntry(QByteArray& out, const StoredPicture& p) {
    put8(out, sideByte(p.width));
    put8(out, sideByte(p.height));
    put8(out, 0);
    put8(out, 0);
    put16(out, 1);
    put16(out, p.bitCount);
    put32(out, p.bytes.size());
}

// An MZ header with a stub that tells a DOS user what the file is.
QByteArray dosStub() {
    static const char Code[] = "\x0E\x1F\xBA\x0E\x00\xB4\x09\xCD\x21\xB8\x01\x4C\xCD\x21";
    static const char Message[] = "This file holds icons only.\r\n$";
    QByteArray body(Code, sizeof Code - 1);
    body.append(Message);
    QByteArray out(0x40, '\0');
    out[0] = 'M';
    out[1] = 'Z';
    out.append(body);
    padTo(out, 16);
    const qint64 size = out.size();
    set16(out, 0x02, int(size % 512)); // bytes in the last page
    set16(out, 0x04, int((size + 511) / 512));
    set16(out, 0x08, 4);      // header paragraphs
    set16(out, 0x0A, 0x10);   // minimum extra paragraphs
    set16(out, 0x0C, 0xFFFF); // maximum extra paragraphs
    set16(out, 0x10, 0xB8);   // stack pointer
    set16(out, 0x18, 0x40);   // relocation table at 0x40: a new-style header follows
    set32(out, 0x3C, size);   // where the NE header starts
    return out;
}

} // namespace

StoredPicture picture(const QImage& source) {
    if (source.isNull() || source.width() > 256 || source.height() > 256)
        return {};
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    const int maskStride = (w + 31) / 32 * 4;
    QByteArray out;
    put32(out, 40);
    put32(out, w);
    put32(out, 2 * h);
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, qint64(w) * h * 4 + qint64(maskStride) * h);
    for (int i = 0; i < 4; ++i)
        put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            put8(out, qBlue(line[x]));
            put8(out, qGreen(line[x]));
            put8(out, qRed(line[x]));
            put8(out, qAlpha(line[x]));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(line[x]) < 128)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        out.append(row);
    }
    return {out, w, h, 32};
}

QByteArray ico(const QList<StoredPicture>& pictures) {
    QByteArray out;
    put16(out, 0);
    put16(out, 1);
    put16(out, int(pictures.size()));
    qint64 offset = 6 + 16 * pictures.size();
    for (const StoredPicture& p : pictures) {
        putDirectoryEntry(out, p);
        put32(out, offset);
        offset += p.bytes.size();
    }
    for (const StoredPicture& p : pictures)
        out.append(p.bytes);
    return out;
}

QByteArray neLibrary(const QList<QList<StoredPicture>>& icons, const QByteArray& moduleName,
                     const QByteArray& description, const QStringList& names) {
    // Resources: every group directory, then every picture, numbered in order.
    QList<QByteArray> groups, pictures;
    for (const QList<StoredPicture>& icon : icons) {
        QByteArray dir;
        put16(dir, 0);
        put16(dir, 1);
        put16(dir, int(icon.size()));
        for (const StoredPicture& p : icon) {
            putDirectoryEntry(dir, p);
            pictures.append(p.bytes);
            put16(dir, int(pictures.size()));
        }
        groups.append(dir);
    }
    if (groups.size() > 0x7FFF || pictures.size() > 0x7FFF)
        return {};

    qint64 total = 4096;
    for (const QByteArray& r : groups + pictures)
        total += r.size() + 512;
    total += 256 * names.size();
    int shift = 4;
    while ((total >> shift) > 0xFFFF && shift < 8)
        ++shift;
    if ((total >> shift) > 0xFFFF)
        return {};
    const qint64 unit = qint64(1) << shift;

    QByteArray out = dosStub();
    const qint64 ne = out.size();
    out.append(QByteArray(0x40, '\0'));

    // Resource table: alignment, the group type with its entries, the icon type with its
    // entries, the end of types, then the names, each a length and its characters, that
    // named entries point at (by their offset in the table), and an empty one to end them.
    QList<QByteArray> groupNames;
    for (int i = 0; i < groups.size(); ++i)
        groupNames.append(i < names.size() ? names[i].toLatin1().left(255) : QByteArray());
    const qint64 namesStart = 2 + (8 + 12 * groups.size()) + (8 + 12 * pictures.size()) + 2;
    QList<int> groupIds;
    qint64 nameAt = namesStart;
    for (int i = 0; i < groups.size(); ++i) {
        if (groupNames[i].isEmpty() || nameAt > 0x7FFF) {
            groupIds.append(0x8000 | (i + 1));
            continue;
        }
        groupIds.append(int(nameAt));
        nameAt += 1 + groupNames[i].size();
    }

    const qint64 table = out.size();
    put16(out, shift);
    QList<qint64> slots;
    const auto typeInfo = [&](int type, const QList<QByteArray>& items, int flags,
                              const QList<int>& ids) {
        put16(out, 0x8000 | type);
        put16(out, int(items.size()));
        put32(out, 0);
        for (int i = 0; i < items.size(); ++i) {
            slots.append(out.size());
            put16(out, 0); // offset and length, filled in below
            put16(out, 0);
            put16(out, flags);
            put16(out, ids.isEmpty() ? 0x8000 | (i + 1) : ids[i]);
            put32(out, 0);
        }
    };
    typeInfo(14, groups, 0x1030, groupIds); // moveable, pure, discardable
    typeInfo(3, pictures, 0x1010, {});
    put16(out, 0);
    for (int i = 0; i < groups.size(); ++i) {
        if (groupIds[i] & 0x8000)
            continue;
        put8(out, int(groupNames[i].size()));
        out.append(groupNames[i]);
    }
    put8(out, 0);

    const qint64 resident = out.size();
    put8(out, int(moduleName.size()));
    out.append(moduleName);
    put16(out, 0);
    put8(out, 0);
    const qint64 imported = out.size();
    put8(out, 0);
    const qint64 entries = out.size();
    put16(out, 0);
    const qint64 nonResident = out.size();
    put8(out, int(description.size()));
    out.append(description);
    put16(out, 0);
    put8(out, 0);

    out[ne] = 'N';
    out[ne + 1] = 'E';
    out[ne + 2] = 5; // linker version
    out[ne + 3] = 10;
    set16(out, ne + 0x04, int(entries - ne));
    set16(out, ne + 0x06, 2);
    set16(out, ne + 0x0C, 0x8000); // a library without code
    set16(out, ne + 0x20, int(out.size() - nonResident));
    set16(out, ne + 0x22, int(table - ne)); // no segments
    set16(out, ne + 0x24, int(table - ne));
    set16(out, ne + 0x26, int(resident - ne));
    set16(out, ne + 0x28, int(imported - ne)); // no module references
    set16(out, ne + 0x2A, int(imported - ne));
    set32(out, ne + 0x2C, nonResident);
    set16(out, ne + 0x32, shift);
    out[ne + 0x36] = 2; // Windows
    set16(out, ne + 0x3E, 0x030A);

    const QList<QByteArray> resources = groups + pictures;
    for (int i = 0; i < resources.size(); ++i) {
        padTo(out, unit);
        set16(out, slots[i], int(out.size() >> shift));
        set16(out, slots[i] + 2, int((resources[i].size() + unit - 1) >> shift));
        out.append(resources[i]);
    }
    padTo(out, unit);
    return out;
}

} // namespace IconWriter
