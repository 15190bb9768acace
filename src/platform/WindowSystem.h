// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>

class QWidget;

// Window titles by which Plumora's own notice windows find each other.
namespace WindowTitles {
inline const QString Reminder = QStringLiteral("- Reminder -");
inline const QString NewMail = QStringLiteral("- New e-mail -");
inline const QString Message = QStringLiteral("- Message -");
inline const QString PopMessage = QStringLiteral("- Plumora -");
} // namespace WindowTitles

// The windowing system as Plumora's windows see it: its own top-level windows by title,
// the screens, the cursor, topmost placement and a show that never throws.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // A top-level window of ours with exactly this title exists.
    virtual bool isWindowOpen(const QString& title) const = 0;
    bool isReminderOpen() const { return isWindowOpen(WindowTitles::Reminder); }
    bool isNewMailOpen() const { return isWindowOpen(WindowTitles::NewMail); }

    // The screen under the cursor, whole and without its panels, in pixels.
    virtual QRect screenGeometry() const = 0;
    virtual QRect workArea() const = 0;
    int workAreaBottom() const { return workArea().y() + workArea().height(); }
    // Every screen's geometry, for placements that must land on some screen.
    virtual QList<QRect> screens() const = 0;
    // The work area of one of screens(); without a better answer, the one under the cursor
    // has workArea() and any other is all free.
    virtual QRect workAreaOf(const QRect& screen) const {
        return screen == screenGeometry() ? workArea() : screen;
    }
    // Every screen's work area, in the order of screens().
    QList<QRect> workAreas() const {
        QList<QRect> areas;
        for (const QRect& s : screens())
            areas << workAreaOf(s);
        return areas;
    }
    // The screen the desktop calls its first.
    virtual QRect primaryScreen() const { return screens().value(0); }
    virtual QPoint cursorPos() const = 0;

    // Where the tray icon stands (desktop coordinates, empty while unknown), asked each time
    // a notice is placed.
    void setTrayIconLocator(std::function<QRect()> locate) { m_trayIcon = std::move(locate); }
    // Notices stand on the screen that holds the tray icon, whichever screen the pointer is
    // on; without a known icon, on the primary screen.
    QRect noticeScreen() const {
        const QRect icon = m_trayIcon ? m_trayIcon() : QRect();
        const QList<QRect> all = screens();
        if (icon.isValid()) {
            for (const QRect& s : all)
                if (s.contains(icon.center()))
                    return s;
            for (const QRect& s : all)
                if (s.intersects(icon))
                    return s;
        }
        return primaryScreen();
    }
    int noticeWorkAreaBottom() const {
        const QRect area = workAreaOf(noticeScreen());
        return area.y() + area.height();
    }

    virtual void makeTopmost(QWidget* window) = 0;
    // Shows a window (modally when asked); any failure is swallowed and gives false.
    virtual bool showWindow(QWidget* window, bool modal) = 0;

private:
    std::function<QRect()> m_trayIcon;
};
