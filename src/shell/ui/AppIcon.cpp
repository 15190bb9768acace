// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/AppIcon.h"

#include "shell/AppIconArt.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace {
// Draws each size only when a window or the tray first asks for it: start-up paints the one
// size the tray needs instead of eight.
class PlumoraIconEngine final : public QIconEngine {
public:
    // Drawn for the painter's device pixels (the tray paints through here), so a 2x screen
    // gets a sharp icon rather than a stretched one.
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const int side = qMin(rect.width(), rect.height());
        QPixmap pm = pixmapFor(qRound(side * ratio));
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(QPointF(rect.x() + (rect.width() - side) / 2.0,
                                    rect.y() + (rect.height() - side) / 2.0),
                            pm);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        QPixmap pm = pixmapFor(qMin(size.width(), size.height()));
        if (mode == QIcon::Disabled)
            return QIcon(pm).pixmap(pm.size(), QIcon::Disabled);
        return pm;
    }
    QIconEngine* clone() const override { return new PlumoraIconEngine(*this); }
    // What X11 puts in every window's icon property, tray and menus included: up to 128 px
    // (100 KB a window); larger pictures come from the desktop entry's icon.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}};
    }

private:
    QPixmap pixmapFor(int size) {
        size = qBound(8, size, 512);
        // The large sizes go into a window's icon property, once per window made: drawn
        // again then rather than kept for the session (256 px is 256 KiB).
        if (size > KeptUpTo)
            return QPixmap::fromImage(drawAppIcon(size));
        auto it = m_cache.find(size);
        if (it == m_cache.end())
            it = m_cache.insert(size, QPixmap::fromImage(drawAppIcon(size)));
        return *it;
    }
    static constexpr int KeptUpTo = 64;
    QHash<int, QPixmap> m_cache;
};
} // namespace

QIcon plumoraIcon() {
    return QIcon(new PlumoraIconEngine);
}
