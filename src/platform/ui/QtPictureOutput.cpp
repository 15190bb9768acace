// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/QtPictureOutput.h"

#include <QClipboard>
#include <QGuiApplication>

bool QtPictureOutput::hasPrinter() {
    const auto hasPrinter = m_print.entry<bool (*)()>("plumoraHasPrinter");
    return hasPrinter && hasPrinter();
}

PictureOutput::Printed QtPictureOutput::print(QWidget* owner, const QImage& picture,
                                              QPageLayout::Orientation orientation,
                                              QString& detail) {
    using Print = int (*)(QWidget*, const QImage&, QPageLayout::Orientation, QString&);
    const auto printPicture = m_print.entry<Print>("plumoraPrintPicture");
    if (!printPicture) {
        detail = QCoreApplication::translate(
            "QtPictureOutput", "Printing is not installed with this copy of Plumora.");
        return Printed::Failed;
    }
    return Printed(printPicture(owner, picture, orientation, detail));
}

void QtPictureOutput::copyToClipboard(const QImage& picture) {
    QGuiApplication::clipboard()->setImage(picture);
}
