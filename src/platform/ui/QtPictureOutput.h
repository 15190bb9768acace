#pragma once

#include "platform/PictureOutput.h"

// The default printer through Qt's print support, and the system clipboard.
class QtPictureOutput final : public PictureOutput {
public:
    bool hasPrinter() override;
    bool print(const QImage& picture, QPageLayout::Orientation orientation,
               QString& error) override;
    void copyToClipboard(const QImage& picture) override;
};
