// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QStringList>

// One picture of an icon as a file stores it: the encoded bytes (a DIB with its AND mask,
// or PNG) and what the icon directories say about it.
struct StoredPicture {
    QByteArray bytes;
    int width = 0;
    int height = 0;
    int bitCount = 32;
};

// Writes icons in the formats IconFile reads: .ico files and NE icon libraries (.icl).
namespace IconWriter {

// A 32-bit picture with alpha and its AND mask (set where alpha is below half), the form
// every icon reader understands. Images larger than 256 x 256 are refused (empty bytes).
StoredPicture picture(const QImage& image);

// An .ico file holding one icon made of `pictures`.
QByteArray ico(const QList<StoredPicture>& pictures);

// An NE icon library: one group icon resource per entry of `icons`, and one icon resource
// per picture. A group with an entry in `names` (Latin-1, up to 255 characters) is named
// so; the others are numbered by their position from 1. Empty when the pictures are too
// large for the format (more than 16 MB in all).
QByteArray neLibrary(const QList<QList<StoredPicture>>& icons, const QByteArray& moduleName,
                     const QByteArray& description, const QStringList& names = {});

} // namespace IconWriter
