// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a command and reports how long it took until a window of the given title was on the
// screen (viewable), for a program's action started from another process:
//
// Usage: window_time TITLE PROGRAM [ARGUMENTS...]
// Prints "WALL_MS EXIT_STATUS" once the window shows; exits 1 when it does not show within
// 10 s, 2 when the display cannot be used or the program cannot be started.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

bool viewableTitled(Display* display, Window w, const char* title) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, w, &attributes) || attributes.map_state != IsViewable)
        return false;
    char* name = nullptr;
    const bool match = XFetchName(display, w, &name) && name && std::strcmp(name, title) == 0;
    XFree(name);
    return match;
}

// Looks two levels down: a top-level window, or one a window manager framed.
bool shows(Display* display, Window root, const char* title) {
    Window parent = 0, unused = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &unused, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i) {
        found = viewableTitled(display, children[i], title);
        Window* inner = nullptr;
        unsigned innerCount = 0;
        if (!found && XQueryTree(display, children[i], &unused, &parent, &inner, &innerCount)) {
            for (unsigned j = 0; j < innerCount && !found; ++j)
                found = viewableTitled(display, inner[j], title);
            XFree(inner);
        }
    }
    XFree(children);
    return found;
}

// A window may go between the listing and the look at it.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3)
        return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    XSetErrorHandler(&ignoreError);
    const Window root = DefaultRootWindow(display);
    const double start = nowMs();
    const pid_t pid = fork();
    if (pid < 0)
        return 2;
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    int status = -1;
    bool ended = false;
    while (nowMs() - start < 10000) {
        if (!ended && waitpid(pid, &status, WNOHANG) == pid)
            ended = true;
        if (shows(display, root, argv[1])) {
            const double ms = nowMs() - start;
            if (!ended)
                waitpid(pid, &status, 0);
            std::printf("%.0f %d\n", ms, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
            return 0;
        }
        usleep(2000);
    }
    return 1;
}
