// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

struct xcb_connection_t;

// Whether an XEmbed notification area holds the screen's tray selection, followed from the
// X server's notices: a tray that starts announces itself with a MANAGER message on the
// root window, and one that ends destroys the window that held the selection. Asking Qt
// instead costs a round trip to the server each time, which a once-a-minute check pays on
// every wake.
class X11TrayWatch final : public QObject, private QAbstractNativeEventFilter {
public:
    // Null when the application does not run on X11.
    static X11TrayWatch* create(QObject* parent = nullptr);
    ~X11TrayWatch() override;

    bool available() const { return m_tray != 0; }

private:
    X11TrayWatch(xcb_connection_t* connection, int screen, QObject* parent);
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;
    // Asks the server who holds the selection now, and follows that window's end.
    void locate();
    void follow(uint32_t window);
    void handleEvent(const void* event);

    xcb_connection_t* m_connection;
    uint32_t m_selection = 0; // _NET_SYSTEM_TRAY_S<screen>
    uint32_t m_manager = 0;   // MANAGER
    uint32_t m_tray = 0;
};
