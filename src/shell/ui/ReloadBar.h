// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

// A thin bar a page shows over its top when what it shows was changed by another writer
// while the page holds unsaved input: the input stays, and "Reload" (Alt+R, or Tab to it)
// drops it for what the data file holds now. Hidden until offer().
class ReloadBar : public QFrame {
    Q_OBJECT
public:
    // `text` says what changed and what a reload would drop.
    explicit ReloadBar(const QString& text, QWidget* parent = nullptr);

    // Shows the bar; the page's input keeps the focus.
    void offer();
    QPushButton* reloadButton() const { return m_reload; }

Q_SIGNALS:
    // "Reload" was chosen; the bar hides itself.
    void reloadChosen();

private:
    QLabel* m_text;
    QPushButton* m_reload;
};
