// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/X11TrayWatch.h"

#include "base/Log.h"

#include <QByteArray>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

uint32_t internAtom(xcb_connection_t* connection, const QByteArray& name) {
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, 0, uint16_t(name.size()), name.data()),
                              nullptr),
        &std::free);
    return reply ? reply->atom : 0;
}

} // namespace

X11TrayWatch* X11TrayWatch::create(QObject* parent) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return nullptr;
    // The tray Qt docks into: the one of the display's default screen.
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype dot = display.lastIndexOf('.');
    const int screen = dot > display.lastIndexOf(':') ? display.mid(dot + 1).toInt() : 0;
    return new X11TrayWatch(connection, screen, parent);
}

X11TrayWatch::X11TrayWatch(xcb_connection_t* connection, int screen, QObject* parent)
    : QObject(parent), m_connection(connection) {
    m_selection = internAtom(connection, "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen));
    m_manager = internAtom(connection, "MANAGER");
    // Qt's own screen handling already asks the root window's structure notices, which
    // carry the MANAGER message.
    qGuiApp->installNativeEventFilter(this);
    locate();
}

X11TrayWatch::~X11TrayWatch() {
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
}

void X11TrayWatch::locate() {
    if (!m_selection)
        return;
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
        xcb_get_selection_owner_reply(m_connection,
                                      xcb_get_selection_owner(m_connection, m_selection), nullptr),
        &std::free);
    follow(reply ? reply->owner : 0);
}

void X11TrayWatch::follow(uint32_t window) {
    m_tray = window;
    if (!window)
        return;
    // Its destruction is the tray's end. Qt asks the same of the same window.
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
}

void X11TrayWatch::handleEvent(const void* event) {
    const auto* generic = static_cast<const xcb_generic_event_t*>(event);
    const uint32_t before = m_tray;
    switch (generic->response_type & ~0x80) {
    case XCB_CLIENT_MESSAGE: {
        const auto* message = static_cast<const xcb_client_message_event_t*>(event);
        if (m_manager && message->type == m_manager && message->format == 32 &&
            message->data.data32[1] == m_selection)
            follow(message->data.data32[2]);
        break;
    }
    case XCB_DESTROY_NOTIFY:
        // Another tray may have taken the selection over in the meantime.
        if (m_tray && static_cast<const xcb_destroy_notify_event_t*>(event)->window == m_tray)
            locate();
        break;
    default:
        break;
    }
    if (m_tray != before)
        qCInfo(lcDesktop) << (m_tray ? "an XEmbed notification area came"
                                     : "the XEmbed notification area went");
}

bool X11TrayWatch::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    if (type == "xcb_generic_event_t")
        handleEvent(message);
    // Qt handles the same notices for its own icon.
    return false;
}
