#include "core/ui/AppIcon.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
QPixmap drawIcon(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // A plum-coloured calendar page with a leaf: the suite's calendar at heart.
    const QRectF page(s * 0.08, s * 0.16, s * 0.84, s * 0.76);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6a, 0x2c, 0x70));
    p.drawRoundedRect(page, s * 0.14, s * 0.14);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(s * 0.18, s * 0.38, s * 0.64, s * 0.44), s * 0.06, s * 0.06);
    p.setBrush(QColor(0x6a, 0x2c, 0x70));
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 2; ++j)
            p.drawRect(QRectF(s * (0.25 + i * 0.18), s * (0.46 + j * 0.17), s * 0.12, s * 0.1));
    }
    QPainterPath leaf;
    leaf.moveTo(s * 0.5, s * 0.18);
    leaf.cubicTo(s * 0.55, s * 0.02, s * 0.78, s * 0.0, s * 0.86, s * 0.06);
    leaf.cubicTo(s * 0.78, s * 0.2, s * 0.6, s * 0.24, s * 0.5, s * 0.18);
    p.setBrush(QColor(0x3f, 0xa3, 0x4d));
    p.drawPath(leaf);
    return pm;
}
} // namespace

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
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    }

private:
    QPixmap pixmapFor(int size) {
        size = qBound(8, size, 512);
        auto it = m_cache.find(size);
        if (it == m_cache.end())
            it = m_cache.insert(size, drawIcon(size));
        return *it;
    }
    QHash<int, QPixmap> m_cache;
};
} // namespace

QIcon plumoraIcon() {
    return QIcon(new PlumoraIconEngine);
}
