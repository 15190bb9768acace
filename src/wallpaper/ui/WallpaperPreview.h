// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QImage>

// The picture preview of the Wallpaper Changer (`PreviewImg`): an image fitted into the
// frame with its proportions, decoded at the screen's pixel density. A file that cannot be
// read shows a short note instead of a picture.
class WallpaperPreview : public QFrame {
    Q_OBJECT
public:
    explicit WallpaperPreview(QWidget* parent = nullptr);

    // Shows the image at `path`; false (and no picture) when it cannot be read.
    bool showImage(const QString& path);
    void clear();
    bool hasPicture() const { return !m_image.isNull(); }

    // The picture area, in a screen's proportions.
    static constexpr QSize PictureSize{256, 192};

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    QString m_note;
};
