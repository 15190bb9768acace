#pragma once

#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QString>

#include <algorithm>

// Where a picture can go besides the screen: the printer and the clipboard.
class PictureOutput {
public:
    virtual ~PictureOutput() = default;

    // At least one printer is installed.
    virtual bool hasPrinter() = 0;
    // Prints `picture` on one page of the default printer, from the page's top-left corner.
    // False with the reason in `error` when nothing was printed.
    virtual bool print(const QImage& picture, QPageLayout::Orientation orientation,
                       QString& error) = 0;
    virtual void copyToClipboard(const QImage& picture) = 0;

    // Where a picture lies on a printable area of `page` dots at `dotsPerInch`: at the
    // top-left corner, as large as on a 96 dpi screen, made smaller (never cut off) when
    // that does not fit.
    static QRectF pageArea(const QSize& picture, const QSizeF& page, qreal dotsPerInch) {
        QSizeF size = QSizeF(picture) * (dotsPerInch / 96.0);
        if (size.isEmpty() || page.isEmpty())
            return {};
        const qreal fit =
            std::min({1.0, page.width() / size.width(), page.height() / size.height()});
        return {QPointF(0, 0), size * fit};
    }
};
