// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;
class ToolRegistry;

// The tray menu: a small borderless window beside the notification area, built from
// labels (MenuLB, with their pictures MenuImg) so that it can show pictures and colour the
// entry under the mouse: the registered tools, then the shell's own entries. A click on
// label i calls the dispatcher with i. CloseTimer closes
// the menu once the user has gone to another window. It deletes itself when closed.
// Up, Down, Enter and Esc work it from the keyboard, and every entry is a menu item a
// screen reader can press.
class Menu : public QWidget {
    Q_OBJECT
public:
    Menu(std::function<void(int index)> clickMenu, const ToolRegistry& tools,
         QWidget* parent = nullptr);

    // The picture beside entry `index` (none for an index without one).
    static QPixmap picture(const ToolRegistry& tools, int index, qreal devicePixelRatio = 1.0);

    // The label of a menu index (ToolRegistry::trayIndexAt, TrayMenu::Index), null outside.
    QLabel* label(int index) const;
    QTimer& closeTimer() { return m_closeTimer; }

    // The mouse is over label `index` (-1: over none): that label takes the highlight
    // colours, every other one the normal colours.
    void highlightLabel(int index);
    bool isHighlighted(int index) const;
    // The highlighted entry's index, -1 for none.
    int highlighted() const;

    // Chooses entry `index` as a click on it does (the keyboard's Enter and a screen
    // reader's press action come here too).
    void activate(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Up and Down: the next entry from top to bottom, wrapping round.
    void moveHighlight(int step);
    void closeTimerTick();
    void setColours(QLabel* label, bool highlighted);

    std::function<void(int)> m_clickMenu;
    QList<QLabel*> m_labels; // by menu index
    QList<int> m_order;      // the indexes from top to bottom
    QTimer m_closeTimer;
    bool m_wasActive = false;
    int m_ticksNotInFront = 0;
};
