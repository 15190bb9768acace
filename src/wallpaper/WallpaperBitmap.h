// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

// Turning a listed image (BMP, JPEG, GIF, PNG, told by content) into the one bitmap the
// desktop shows, "Plumora.bmp" in the program folder.
namespace WallpaperBitmap {

// Largest image file read, and largest decoded image in megabytes.
inline constexpr qint64 MaxFileBytes = 128 * 1024 * 1024;
inline constexpr int MaxDecodedMegabytes = 512;

inline QString fileName() {
    return QStringLiteral("Plumora.bmp");
}

// The picture of an image file, null (with the reason in `error`) when the file is not a
// regular file, is too large, or does not decode. Camera orientation is applied. A valid
// `fitWithin` decodes a larger picture straight to that size (keeping its proportions),
// which costs a fraction of the full decode for a preview.
QImage load(const QString& path, QString* error = nullptr, const QSize& fitWithin = {});

// Writes `image` as a BMP to `target`, replacing it in one step so that a desktop never
// reads half a file. False (with the reason) when the image is null or the write fails.
bool save(const QImage& image, const QString& target, QString* error = nullptr);

// load() then save().
bool convert(const QString& source, const QString& target, QString* error = nullptr);

} // namespace WallpaperBitmap
