#include "platform/ui/QtPictureOutput.h"

#include <QClipboard>
#include <QGuiApplication>

bool QtPictureOutput::hasPrinter() {
    const auto hasPrinter = m_print.entry<bool (*)()>("plumoraHasPrinter");
    return hasPrinter && hasPrinter();
}

bool QtPictureOutput::print(const QImage& picture, QPageLayout::Orientation orientation,
                            QString& error) {
    using Print = bool (*)(const QImage&, QPageLayout::Orientation, QString&);
    const auto printPicture = m_print.entry<Print>("plumoraPrintPicture");
    if (!printPicture) {
        error = QStringLiteral("Printing is not installed with this copy of Plumora.");
        return false;
    }
    return printPicture(picture, orientation, error);
}

void QtPictureOutput::copyToClipboard(const QImage& picture) {
    QGuiApplication::clipboard()->setImage(picture);
}
