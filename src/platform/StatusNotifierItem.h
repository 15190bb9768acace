// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DBusMenuNode.h"

#include <QDBusConnection>
#include <QIcon>
#include <QObject>
#include <QPoint>

class QDBusServiceWatcher;
class StatusNotifierMenu;
class StatusNotifierObject;

// The tray icon as today's desktops show it: a StatusNotifierItem served on the session bus
// with its menu exported over com.canonical.dbusmenu, registered with the desktop's
// org.kde.StatusNotifierWatcher. The watcher is followed: the item registers whenever one
// appears (a panel started or restarted after Plumora), and says when it goes.
class StatusNotifierItem : public QObject {
    Q_OBJECT
public:
    explicit StatusNotifierItem(QDBusConnection bus = QDBusConnection::sessionBus(),
                                QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    static constexpr const char* WatcherService = "org.kde.StatusNotifierWatcher";

    // A watcher is on the bus now.
    bool watcherPresent() const;
    // Puts the item and its menu on the bus and registers with the watcher; false (and a
    // log line) when the bus refused. Registers again each time a watcher appears.
    bool start();
    bool isRegistered() const { return m_registered; }
    QString serviceName() const { return m_service; }

    void setIcon(const QIcon& icon);
    // Title, tooltip title and the Status ("Active", "Passive", "NeedsAttention").
    void setTitle(const QString& title);
    void setStatus(const QString& status);
    // The host shows the exported menu on any click (no menu window of our own).
    void setItemIsMenu(bool itemIsMenu);
    // The exported menu; its revision goes up and hosts are told.
    void setMenu(const DBusMenuNode& root);

    // The last place a host named in Activate, SecondaryActivate or ContextMenu; null
    // before any.
    QPoint lastHostPosition() const { return m_lastPosition; }

Q_SIGNALS:
    // A left click (Activate), a middle click (SecondaryActivate), a request for the
    // context menu, at the host's place in Qt's scaled pixels (null from hosts that give
    // none).
    void activated(QPoint at);
    void secondaryActivated(QPoint at);
    void contextMenuRequested(QPoint at);
    // The entry `id` of the exported menu was chosen.
    void menuItemClicked(int id);
    // A watcher came (and the item registered with it) or went.
    void watcherRegistered();
    void watcherGone();

private:
    friend class StatusNotifierObject;
    friend class StatusNotifierMenu;
    void registerWithWatcher();
    void hostCalled(QPoint at) { m_lastPosition = at; }

    QDBusConnection m_bus;
    QString m_service;
    StatusNotifierObject* m_item = nullptr;
    StatusNotifierMenu* m_menu = nullptr;
    QDBusServiceWatcher* m_watcher = nullptr;
    QPoint m_lastPosition;
    bool m_started = false;
    bool m_registered = false;
};
