#include "platform/ui/QtPictureOutput.h"

#include "platform/PictureOutput.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

bool QtPictureOutput::hasPrinter() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool QtPictureOutput::print(const QImage& picture, QPageLayout::Orientation orientation,
                            QString& error) {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
        if (all.isEmpty()) {
            error = QStringLiteral("No printer is installed.");
            return false;
        }
        info = all.first();
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Screen Capture"));
    printer.setPageOrientation(orientation);
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = QStringLiteral("The printer %1 cannot be used.").arg(info.printerName());
        return false;
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(PictureOutput::pageArea(picture.size(), page.size(), printer.resolution()),
                      picture);
    if (!painter.end()) {
        error = QStringLiteral("The picture could not be sent to %1.").arg(info.printerName());
        return false;
    }
    return true;
}

void QtPictureOutput::copyToClipboard(const QImage& picture) {
    QGuiApplication::clipboard()->setImage(picture);
}
