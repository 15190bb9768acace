// SPDX-License-Identifier: GPL-3.0-or-later
#include "wallpaper/WallpaperBitmap.h"

#include "base/FileReplace.h"
#include "platform/RegularFile.h"
#include "wallpaper/WallpaperLog.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryFile>

namespace WallpaperBitmap {

QImage load(const QString& path, QString* error, const QSize& fitWithin) {
    std::optional<QByteArray> data = RegularFile::read(path, MaxFileBytes, error);
    if (!data)
        return {};
    QBuffer buffer(&*data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(MaxDecodedMegabytes);
    if (fitWithin.isValid()) {
        // The reader scales before it turns the picture upright.
        QSize bound = fitWithin;
        if (reader.transformation() & QImageIOHandler::TransformationRotate90)
            bound.transpose();
        const QSize size = reader.size();
        if (size.isValid() && (size.width() > bound.width() || size.height() > bound.height()))
            reader.setScaledSize(size.scaled(bound, Qt::KeepAspectRatio).expandedTo({1, 1}));
    }
    QImage image = reader.read();
    if (image.isNull() && error)
        *error = path + QStringLiteral(": ") + reader.errorString();
    return image;
}

bool save(const QImage& image, const QString& target, QString* error) {
    if (image.isNull()) {
        if (error)
            *error = QCoreApplication::translate("WallpaperBitmap", "no picture to save");
        return false;
    }
    // A desktop bitmap has no transparency: transparent parts are laid on black.
    QImage opaque;
    if (image.hasAlphaChannel()) {
        opaque = QImage(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::black);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    } else {
        opaque = image.convertToFormat(QImage::Format_RGB32);
    }
    // A new file renamed into place: whatever stood under the name (a link included) is
    // replaced, never written through.
    QTemporaryFile file(FileReplace::partTemplate(target));
    if (!file.open() || !opaque.save(&file, "BMP") || !file.flush()) {
        if (error)
            *error = target + QStringLiteral(": ") + file.errorString();
        return false;
    }
    file.close();
    // Readable by the desktop as a picture file ordinarily is.
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    file.setAutoRemove(false);
    QString why;
    if (!FileReplace::replace(file.fileName(), target, QString(), &why)) {
        if (error)
            *error = why;
        return false;
    }
    return true;
}

bool convert(const QString& source, const QString& target, QString* error) {
    QString why;
    const QImage image = load(source, &why);
    if (!image.isNull() && save(image, target, &why))
        return true;
    qCWarning(lcWallpaper) << "wallpaper not converted:" << why;
    if (error)
        *error = why;
    return false;
}

} // namespace WallpaperBitmap
