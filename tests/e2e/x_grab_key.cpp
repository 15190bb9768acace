// SPDX-License-Identifier: GPL-3.0-or-later
// Another X client holding a key, for the end-to-end tests:
//
//   x_grab_key KEYCODE
//
// grabs KEYCODE (with no modifier, in every state of Caps Lock and Num Lock) on the root
// window, prints "grabbed" and holds the grab until it is ended. Exit status 1 when the
// server refused the grab, 2 when the display cannot be used.
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include <initializer_list>

int main(int argc, char* argv[]) {
    if (argc != 2)
        return 2;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 2;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto key = xcb_keycode_t(std::atoi(argv[1]));
    const uint16_t lock = XCB_MOD_MASK_LOCK, num = XCB_MOD_MASK_2;
    for (const uint16_t locks : {uint16_t(0), lock, num, uint16_t(lock | num)}) {
        xcb_generic_error_t* error =
            xcb_request_check(c, xcb_grab_key_checked(c, 0, root, locks, key, XCB_GRAB_MODE_ASYNC,
                                                      XCB_GRAB_MODE_ASYNC));
        if (error) {
            std::free(error);
            return 1;
        }
    }
    std::puts("grabbed");
    std::fflush(stdout);
    for (;;)
        pause();
}
