// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for Plumora's start-up and idle cost: a Qt program that does nothing but show
// a tray icon. With BARE_TRAY_MINUTE=1 it also wakes at the start of every minute, reads the
// clock and sets its timer again, which is the least any once-a-minute program does: what
// that costs on a machine is the floor under Plumora's idle minute there. BARE_TRAY_WAKE_MS
// moves that wake to so many milliseconds into each minute, away from other programs' wakes.
#include <QApplication>
#include <QDateTime>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {

int msToNextWake(int wakeMs) {
    const QTime now = QDateTime::currentDateTime().time();
    const int intoMinute = now.second() * 1000 + now.msec();
    return (wakeMs - intoMinute + 60000 - 1) % 60000 + 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QPixmap pm(22, 22);
    pm.fill(Qt::darkMagenta);
    QSystemTrayIcon icon{QIcon(pm)};
    icon.setToolTip(QStringLiteral("bare"));
    icon.show();
    QTimer minute;
    minute.setSingleShot(true);
    minute.setTimerType(Qt::PreciseTimer);
    const int wakeMs = qBound(0, qEnvironmentVariableIntValue("BARE_TRAY_WAKE_MS"), 59999);
    QObject::connect(&minute, &QTimer::timeout,
                     [&minute, wakeMs] { minute.start(msToNextWake(wakeMs)); });
    if (qEnvironmentVariableIntValue("BARE_TRAY_MINUTE") == 1)
        minute.start(msToNextWake(wakeMs));
    return QApplication::exec();
}
