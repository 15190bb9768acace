#include "core/WindowPlacement.h"

#include "core/DataFile.h"
#include "core/SystemRow.h"

#include <cmath>

namespace WindowPlacement {

namespace {
int toPixels(double twips) {
    return int(std::lround(twips / TwipsPerPixel));
}
} // namespace

Stored read(const SystemRow& row) {
    Stored s;
    s.left = row.number(QStringLiteral("winLeft"));
    s.top = row.number(QStringLiteral("winTop"));
    s.width = row.number(QStringLiteral("winWidth"));
    s.height = row.number(QStringLiteral("winHeight"));
    s.maximised = row.boolean(QStringLiteral("winMax"));
    return s;
}

Opening onOpen(const Stored& stored, QSize designSize, const QRect& desktop, const QRect& screen) {
    Opening o;
    const int width = stored.width > 0 ? toPixels(stored.width) : designSize.width();
    const int height = stored.height > 0 ? toPixels(stored.height) : designSize.height();
    o.geometry = QRect(toPixels(stored.left), toPixels(stored.top), width, height);
    const double desktopRight = double(desktop.x() + desktop.width()) * TwipsPerPixel;
    const double desktopBottom = double(desktop.y() + desktop.height()) * TwipsPerPixel;
    // Beyond the right or bottom edge (a display removed or made smaller), or wholly
    // off the left or top: nothing of the window could be seen or grabbed.
    if (stored.left > desktopRight || stored.top > desktopBottom || !desktop.intersects(o.geometry))
        o.geometry = screen;
    o.maximised = stored.maximised;
    return o;
}

QList<QPair<QString, QVariant>> onClose(const QRect& geometry, bool minimised, bool maximised) {
    QList<QPair<QString, QVariant>> columns;
    if (!minimised && !maximised) {
        columns << qMakePair(QStringLiteral("winLeft"), QVariant(geometry.x() * TwipsPerPixel))
                << qMakePair(QStringLiteral("winTop"), QVariant(geometry.y() * TwipsPerPixel))
                << qMakePair(QStringLiteral("winWidth"), QVariant(geometry.width() * TwipsPerPixel))
                << qMakePair(QStringLiteral("winHeight"),
                             QVariant(geometry.height() * TwipsPerPixel));
    }
    columns << qMakePair(QStringLiteral("winMax"), QVariant(maximised ? -1 : 0));
    return columns;
}

Stored load(const QString& dataFile) {
    DataFile db(dataFile);
    SystemRow row;
    if (!row.load(db))
        return {};
    return read(row);
}

bool save(const QString& dataFile, const QList<QPair<QString, QVariant>>& columns) {
    DataFile db(dataFile);
    SystemRow row;
    return row.load(db) && row.set(db, columns);
}

} // namespace WindowPlacement
