// SPDX-License-Identifier: GPL-3.0-or-later
#include "wallpaper/ui/WallpaperPreview.h"

#include "wallpaper/WallpaperBitmap.h"

#include <QPainter>

WallpaperPreview::WallpaperPreview(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PreviewImg"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(tr("Picture Preview"));
    const int frame = 2 * frameWidth();
    setFixedSize(PictureSize + QSize(frame, frame));
}

bool WallpaperPreview::showImage(const QString& path) {
    const qreal ratio = devicePixelRatioF();
    QString error;
    m_image = WallpaperBitmap::load(path, &error, PictureSize * ratio);
    m_image.setDevicePixelRatio(ratio);
    m_note = m_image.isNull() ? tr("This picture cannot be shown.") : QString();
    setToolTip(path);
    setAccessibleDescription(m_image.isNull() ? m_note : path);
    update();
    return !m_image.isNull();
}

void WallpaperPreview::clear() {
    m_image = QImage();
    m_note.clear();
    setToolTip(QString());
    setAccessibleDescription(QString());
    update();
}

void WallpaperPreview::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    if (!m_image.isNull()) {
        const QSizeF size =
            m_image.deviceIndependentSize().scaled(QSizeF(area.size()), Qt::KeepAspectRatio);
        QRectF target(QPointF(), size);
        target.moveCenter(QRectF(area).center());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_image);
    } else if (!m_note.isEmpty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(area.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, m_note);
    }
}
