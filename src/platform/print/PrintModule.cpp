// SPDX-License-Identifier: GPL-3.0-or-later
// Printing through Qt Print Support, in a module of its own (see platform/Module.h): the
// print libraries load only when a picture is printed or a printer looked for.
#include "platform/PictureOutput.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

extern "C" Q_DECL_EXPORT bool plumoraHasPrinter() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

// Prints the picture where the user says in the print dialog, which opens on the default
// printer; a PictureOutput::Printed value, with `detail` naming the printer or file the job
// went to, or why it failed.
extern "C" Q_DECL_EXPORT int plumoraPrintPicture(QWidget* owner, const QImage& picture,
                                                 QPageLayout::Orientation orientation,
                                                 QString& detail) {
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(QCoreApplication::translate("PrintModule", "Screen Capture"));
    printer.setPageOrientation(orientation);
    QPrintDialog dialog(&printer, owner);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return int(PictureOutput::Printed::Cancelled);
    const QString where =
        printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    QPainter painter;
    if (!painter.begin(&printer)) {
        detail = QCoreApplication::translate("PrintModule", "%1 cannot be used.").arg(where);
        return int(PictureOutput::Printed::Failed);
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(PictureOutput::pageArea(picture.size(), page.size(), printer.resolution()),
                      picture);
    if (!painter.end()) {
        detail = QCoreApplication::translate("PrintModule", "The picture could not be sent to %1.")
                     .arg(where);
        return int(PictureOutput::Printed::Failed);
    }
    detail = where;
    return int(PictureOutput::Printed::Sent);
}
