// Printing through Qt Print Support, in a module of its own (see platform/Module.h): the
// print libraries load only when a picture is printed or a printer looked for.
#include "platform/PictureOutput.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

extern "C" Q_DECL_EXPORT bool plumoraHasPrinter() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

// Prints the picture on the default printer (else the first one); false with `error` set
// when nothing could be printed.
extern "C" Q_DECL_EXPORT bool
plumoraPrintPicture(const QImage& picture, QPageLayout::Orientation orientation, QString& error) {
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
