// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>

class WindowSystem;

// The About box: name, version, the platform line, the maker's name as a link to the
// product web site, and OK. It stands above other windows.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    static const QString MakerName;

    AboutBox(WindowSystem& windows, std::function<void()> openWebSite, QWidget* parent = nullptr);
};
