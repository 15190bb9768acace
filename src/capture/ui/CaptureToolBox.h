// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QRect>

class QPushButton;
class QTimer;

// `CapTBox` ("Action"): the small topmost box at the bottom centre of a monitor that offers
// "Full Screen" (every monitor), "This monitor" (the one under the pointer), "Selected Area"
// and "Cancel Capture" over the frozen screen.
// Esc and closing the box cancel, like "Cancel Capture".
class CaptureToolBox : public QDialog {
    Q_OBJECT
public:
    enum Choice { FullScreen = 0, SelectedArea = 1, ThisMonitor = 2 };

    CaptureToolBox(const QRect& screen, QWidget* parent);

    // `CapCmd` 0, 1 and 2, and `CancelCmd`.
    QPushButton* choiceButton(int index) const { return m_choices[index]; }
    QPushButton* cancelButton() const { return m_cancel; }

    // Puts the box at the bottom centre of the screen.
    void place();
    // The monitor the box stands on from now on (desktop coordinates).
    void setScreen(const QRect& screen) { m_screen = screen; }
    const QRect& screen() const { return m_screen; }
    // The choice Return takes.
    void setDefaultChoice(int choice);
    int defaultChoice() const;

Q_SIGNALS:
    void chosen(int choice);
    void cancelled();

public Q_SLOTS:
    void reject() override;

protected:
    bool event(QEvent* event) override;

private:
    QRect m_screen;
    QPushButton* m_choices[3];
    QPushButton* m_cancel;
    static constexpr int FrameChecks = 40;
    static constexpr int FrameCheckMs = 50;
    QTimer* m_frameTimer = nullptr;
    int m_frameChecks = 0;
};
