// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/icons/IconPickRules.h"

#include "base/AppPaths.h"
#include "calendar/EventIcons.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace IconPickRules {

int rowCount(int icons) {
    if (icons <= 0)
        return 0;
    return icons / Columns + (icons % Columns ? 1 : 0);
}

int gridWidthTwips(int rows) {
    return rows <= VisibleRows ? NarrowGridTwips : WideGridTwips;
}

int cancelLeftTwips(int gridWidth) {
    return gridWidth - CancelInsetTwips;
}

QPoint cellOf(int k) {
    return QPoint(k % Columns, k / Columns);
}

QString defaultLibrary(const AppPaths& paths) {
    return paths.resource(QStringLiteral("Icons/Default.icl"));
}

bool isDefaultLibrary(const QString& fileName, const AppPaths& paths) {
    if (fileName.isEmpty())
        return true;
    const QString clean = QDir::cleanPath(fileName);
    return clean == QDir::cleanPath(defaultLibrary(paths)) ||
           clean == QDir::cleanPath(paths.file(QStringLiteral("Icons/Default.icl")));
}

QImage cellPicture(const IconGroup& icon) {
    QImage image = IconFile::bestImage(icon, PictureSide);
    if (image.isNull())
        return {};
    if (image.width() != PictureSide || image.height() != PictureSide)
        image =
            image.scaled(PictureSide, PictureSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image = image.convertToFormat(QImage::Format_ARGB32);
    QImage out(PictureSide, PictureSide, QImage::Format_RGB32);
    const QRgb mask = IconMaskColour | 0xFF000000;
    for (int y = 0; y < PictureSide; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < PictureSide; ++x) {
            QRgb c = qAlpha(in[x]) >= 128 ? (in[x] | 0xFF000000) : mask;
            if (qAlpha(in[x]) >= 128 && c == mask)
                c = qRgb(0xC1, 0xC1, 0xC1);
            line[x] = c;
        }
    }
    return out;
}

Loaded loadIcons(const QString& fileName, const AppPaths& paths) {
    Loaded result;
    result.fileName = isDefaultLibrary(fileName, paths) ? QString() : fileName;
    const auto fill = [&result](const QString& file) {
        result.pictures.clear();
        result.names.clear();
        const QList<IconGroup> icons = IconFile::readFile(file, PictureSide);
        for (const IconGroup& icon : icons) {
            QImage picture = cellPicture(icon);
            if (picture.isNull())
                break;
            result.pictures.append(picture);
            QString name = icon.name.simplified();
            if (name.isEmpty() && icons.size() == 1)
                name = QFileInfo(file).completeBaseName();
            if (name.isEmpty())
                name = QCoreApplication::translate("IconPickRules", "Icon %1")
                           .arg(result.names.size() + 1);
            result.names.append(name);
        }
    };
    fill(result.fileName.isEmpty() ? defaultLibrary(paths) : fileName);
    if (result.pictures.isEmpty()) {
        result.notFound = true;
        result.fileName.clear();
        fill(defaultLibrary(paths));
    }
    return result;
}

int startIndex(const Loaded& loaded, const QImage& current, const QImage& defaultIcon) {
    if (current.isNull() || loaded.pictures.isEmpty())
        return 0;
    const auto same = [](const QImage& a, const QImage& b) {
        return a.size() == b.size() &&
               a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
    };
    if (loaded.fileName.isEmpty() && same(current, defaultIcon))
        return 0;
    for (int k = 0; k < loaded.pictures.size(); ++k)
        if (same(current, loaded.pictures[k]))
            return k;
    return 0;
}

QImage pickedPicture(int k, bool defaultLibrary, const QImage& clicked, const QImage& defaultIcon) {
    return k == 0 && defaultLibrary ? defaultIcon : clicked;
}

} // namespace IconPickRules

QString IconFolderMemory::initialFolder(const AppPaths& paths) const {
    return m_folder.isEmpty() ? paths.resource(QStringLiteral("Icons")) : m_folder;
}

void IconFolderMemory::remember(const QString& chosenFile) {
    m_folder = QFileInfo(chosenFile).absolutePath();
}
