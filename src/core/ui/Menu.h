#pragma once

#include <QList>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;

// The tray menu: a small borderless window beside the notification area, built from
// labels (MenuLB, with their pictures MenuImg) so that it can show pictures and colour the
// entry under the mouse. A click on label i calls the dispatcher with i. CloseTimer closes
// the menu once the user has gone to another window. It deletes itself when closed.
class Menu : public QWidget {
    Q_OBJECT
public:
    explicit Menu(std::function<void(int index)> clickMenu, QWidget* parent = nullptr);

    // The label of a menu index (0..11), null outside.
    QLabel* label(int index) const;
    QTimer& closeTimer() { return m_closeTimer; }

    // The mouse is over label `index` (-1: over none): that label takes the highlight
    // colours, every other one the normal colours.
    void highlightLabel(int index);
    bool isHighlighted(int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void clicked(int index);
    void closeTimerTick();
    void setColours(QLabel* label, bool highlighted);

    std::function<void(int)> m_clickMenu;
    QList<QLabel*> m_labels; // by menu index
    QTimer m_closeTimer;
    bool m_wasActive = false;
    int m_ticksNotInFront = 0;
};
