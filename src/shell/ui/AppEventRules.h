// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// What every window of the program shares, as one filter on the application:
// - Return or Enter on a focused push or tool button presses it, in a dialog as on a tool's
//   page (Qt presses only a dialog's default button, and nothing on a page);
// - a window that opens hides the tooltip, so none stays over a dialog.
class AppEventRules : public QObject {
    Q_OBJECT
public:
    // Installs the rules on the running application once; later calls do nothing.
    static void install();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
