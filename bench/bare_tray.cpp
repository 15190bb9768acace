// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for Plumora's start-up: a Qt program that does nothing but show a tray icon.
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QPixmap pm(22, 22);
    pm.fill(Qt::darkMagenta);
    QSystemTrayIcon icon{QIcon(pm)};
    icon.setToolTip(QStringLiteral("bare"));
    icon.show();
    return QApplication::exec();
}
