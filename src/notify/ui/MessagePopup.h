// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

class DesktopShell;
class WindowSystem;
class QLabel;

// The pop-up message "- Plumora -": a text and one action, in the bottom-right corner above
// everything; the window grows to show the whole text within the screen. A click anywhere on it
// performs the action once and closes it; MsgTimer closes it unclicked after 15 seconds. It deletes
// itself when closed.
class MessagePopup : public QWidget {
    Q_OBJECT
public:
    static constexpr int ShowForMs = 15000;

    // `showTool` shows a tool's page by its id. Loading places the window, makes it topmost and
    // starts MsgTimer; the caller shows it, then sets the action and the text.
    MessagePopup(WindowSystem& windows, DesktopShell& shell,
                 std::function<void(const QString&)> showTool, QWidget* parent = nullptr);

    // The action, kept as the tag of IconImg: "http..." opens the address, a tool's id shows
    // its page.
    void setAction(const QString& action) { m_action = action; }
    QString action() const { return m_action; }
    void setMessage(const QString& text);
    QString message() const;

    QTimer& msgTimer() { return m_msgTimer; }

    // A click on the window, MessageLB or IconImg.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    WindowSystem& m_windows;
    DesktopShell& m_shell;
    std::function<void(const QString&)> m_showTool;
    QString m_action;
    QLabel* m_message;
    QTimer m_msgTimer;
    bool m_done = false;

    void fitToText();
};
