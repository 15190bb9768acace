// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QString>

// One picture of an icon: the decoded image and the colour depth it was stored with (1, 4,
// 8, 16, 24, 32; 32 for PNG), which decides between pictures of the same size.
struct IconImage {
    QImage image; // ARGB32
    int bitCount = 32;
};

// One icon: the pictures an icon file keeps for it, in the file's order (an .ico file is
// one icon; a library or program holds one icon per group resource).
struct IconGroup {
    QList<IconImage> images;
    // The name a library or program gives the icon's resource ("BIRTHDAY"); empty when it
    // has only a number, and for an .ico file.
    QString name;
};

// Reads the icons of .ico files, NE icon libraries (.icl, 16-bit resources) and PE programs
// and libraries (.exe/.dll, 32 and 64 bit). The format is told by the content. Files come
// from anywhere, so no count, size or offset in them is trusted: every read is
// bounds-checked, every allocation is capped, and a damaged file yields the icons read
// before the damage (or none), never a crash.
namespace IconFile {

enum class Format { Unknown, Ico, NeLibrary, PeImage };

// Limits that keep a hostile file from costing much memory or time.
inline constexpr int MaxGroups = 4096;
inline constexpr int MaxImagesPerGroup = 256;
inline constexpr int MaxSide = 1024;
inline constexpr qint64 MaxTotalPixels = 16 * 1024 * 1024; // decoded pixels per file
inline constexpr qint64 MaxFileBytes = 256 * 1024 * 1024;

Format detect(QByteArrayView data);

// Every icon of the file, in the file's order. Reading stops at the first icon none of
// whose pictures can be read.
QList<IconGroup> read(QByteArrayView data);
// Every icon of the file with only the one picture that suits a square of `side` pixels
// (as bestImage chooses, from the sizes the file lists), so a large library costs one
// decoded picture per icon.
QList<IconGroup> readBest(QByteArrayView data, int side);
// read() or, for side > 0, readBest() of a file on disk; no icons when it is not a regular
// file, cannot be read or is larger than MaxFileBytes.
QList<IconGroup> readFile(const QString& path, int side = 0);

// One stored icon picture (a DIB with its AND mask, or PNG) decoded, or a null image.
IconImage decodeImage(QByteArrayView data);

// The picture of `group` that suits a square of `side` pixels: the smallest one at least
// that large (else the largest), the deepest colour among equals. Null when none.
QImage bestImage(const IconGroup& group, int side);

} // namespace IconFile
