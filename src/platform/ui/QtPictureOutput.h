// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Module.h"
#include "platform/PictureOutput.h"

// The print dialog and the printers through the print module, and the system clipboard.
class QtPictureOutput final : public PictureOutput {
public:
    // `printModule`: the print module's file (AppPaths::helperProgram).
    void setPrintModule(const QString& printModule) { m_print.setPath(printModule); }

    bool hasPrinter() override;
    Printed print(QWidget* owner, const QImage& picture, QPageLayout::Orientation orientation,
                  QString& detail) override;
    void copyToClipboard(const QImage& picture) override;

private:
    Module m_print;
};
