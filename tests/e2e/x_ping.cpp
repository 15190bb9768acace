// SPDX-License-Identifier: GPL-3.0-or-later
// Times how quickly a program's window answers the X server, for the end-to-end tests:
//
//   x_ping WINDOW SECONDS
//
// pings WINDOW for SECONDS as a window manager does (a _NET_WM_PING client message, which
// the toolkit answers from its event loop by sending it back to the root window), one ping
// every 20 ms, each after the answer to the last. Prints "slowest MS pings N", and each
// answer that took 100 ms or more on the standard error. Exit status 1
// when an answer did not come within 10 s, 2 when the display cannot be used.
#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}

// Whether the answer to ping `serial` came within `limit`.
bool answered(xcb_connection_t* c, xcb_atom_t protocols, xcb_atom_t ping, uint32_t serial,
              Clock::time_point limit) {
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    while (Clock::now() < limit) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            const auto* m = reinterpret_cast<xcb_client_message_event_t*>(e);
            const bool pong = (e->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
                              m->type == protocols && m->data.data32[0] == ping &&
                              m->data.data32[1] == serial;
            std::free(e);
            if (pong)
                return true;
        }
        if (xcb_connection_has_error(c))
            return false;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(limit - Clock::now()).count();
        poll(&fd, 1, int(std::max<long long>(left, 0)));
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: x_ping WINDOW SECONDS\n");
        return 2;
    }
    const auto window = xcb_window_t(std::strtoul(argv[1], nullptr, 0));
    const double seconds = std::atof(argv[2]);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 2;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t protocols = atom(c, "WM_PROTOCOLS");
    const xcb_atom_t ping = atom(c, "_NET_WM_PING");
    // The answers are sent to the root window for the clients that listen for its structure
    // (and the window manager).
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);

    const Clock::time_point start = Clock::now();
    const Clock::time_point end =
        start + std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    long long slowest = 0;
    uint32_t serial = 0;
    while (Clock::now() < end) {
        xcb_client_message_event_t m{};
        m.response_type = XCB_CLIENT_MESSAGE;
        m.format = 32;
        m.window = window;
        m.type = protocols;
        m.data.data32[0] = ping;
        m.data.data32[1] = ++serial;
        m.data.data32[2] = window;
        xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&m));
        xcb_flush(c);
        const Clock::time_point sent = Clock::now();
        if (!answered(c, protocols, ping, serial, sent + std::chrono::seconds(10))) {
            std::printf("no answer to ping %u within 10 s\n", serial);
            return 1;
        }
        const long long took =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent).count();
        if (took >= 100)
            std::fprintf(stderr, "ping %u at %.1f s: %lld ms\n", serial,
                         std::chrono::duration<double>(sent - start).count(), took);
        slowest = std::max(slowest, took);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::printf("slowest %lld pings %u\n", slowest, serial);
    xcb_disconnect(c);
    return 0;
}
