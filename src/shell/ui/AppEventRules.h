// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

// What every window of the program shares, as one filter on the application (one, because
// every event the program gets passes each such filter, the minute's timer included):
// - Return or Enter on a focused push or tool button presses it, in a dialog as on a tool's
//   page (Qt presses only a dialog's default button, and nothing on a page);
// - a window that opens hides the tooltip, so none stays over a dialog;
// - F1 asks for the help topic of the window it is typed in (HelpKey::topicFor).
class AppEventRules : public QObject {
    Q_OBJECT
public:
    // Installs the rules on the running application once and returns them; later calls
    // return the same. Null without an application.
    static AppEventRules* install();
    // With `on`, the rules see the application's events only while one of its windows is
    // active: no key reaches an inactive program, and Qt shows no tooltip over its windows
    // then. An idle program in the tray so spares every event, the minute's timer's
    // included, the pass through them. Off, they see every event, as when installed.
    void setOnlyWhileActive(bool on);

    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    void helpRequested(const QString& topic);

private:
    using QObject::QObject;
    void follow(Qt::ApplicationState state);

    bool m_onlyWhileActive = false;
};
