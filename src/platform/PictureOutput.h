// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QString>

#include <algorithm>

class QWidget;

// Where a picture can go besides the screen: the printer and the clipboard.
class PictureOutput {
public:
    enum class Printed { Sent, Cancelled, Failed };

    virtual ~PictureOutput() = default;

    // At least one printer is installed.
    virtual bool hasPrinter() = 0;
    // Asks with the system's print dialog over `owner` (printer, copies, printing to a PDF
    // file), then prints `picture` on one page from its top-left corner. `detail` names
    // where the job went when it was sent, and the reason when it failed.
    virtual Printed print(QWidget* owner, const QImage& picture,
                          QPageLayout::Orientation orientation, QString& detail) = 0;
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
