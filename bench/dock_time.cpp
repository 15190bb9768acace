// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a tray program and reports how long it took until its icon was docked in the
// notification area: the X server tells of every change below the tray panel, so no
// polling spawns processes that would compete with the program measured.
//
// Usage: dock_time PANEL_WINDOW_ID ICON_CLASS PROGRAM [ARGUMENTS...]
// Prints "PID WALL_MS CPU_MS" (processor time of all the program's threads until then) and
// leaves the program running; exits 1 when the icon does not appear within 30 s.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <sys/select.h>
#include <sys/types.h>
#include <unistd.h>

#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

bool hasClass(Display* display, Window w, const char* name) {
    XClassHint hint{};
    if (!XGetClassHint(display, w, &hint))
        return false;
    const bool match = (hint.res_class && std::strcmp(hint.res_class, name) == 0) ||
                       (hint.res_name && std::strcmp(hint.res_name, name) == 0);
    XFree(hint.res_name);
    XFree(hint.res_class);
    return match;
}

// Searches below `w` for a window of class `name`; every window passed is watched for
// children coming and going.
bool findBelow(Display* display, Window w, const char* name) {
    XSelectInput(display, w, SubstructureNotifyMask);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, w, &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i)
        found = hasClass(display, children[i], name) || findBelow(display, children[i], name);
    if (children)
        XFree(children);
    return found;
}

// Processor time of every thread of `pid`, from the scheduler's own accounting.
double cpuMs(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return 0;
    double total = 0;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        FILE* f = std::fopen((tasks + "/" + entry->d_name + "/schedstat").c_str(), "r");
        unsigned long long ns = 0;
        if (f && std::fscanf(f, "%llu", &ns) == 1)
            total += double(ns) / 1e6;
        if (f)
            std::fclose(f);
    }
    closedir(dir);
    return total;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: dock_time PANEL_WINDOW_ID ICON_CLASS PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    const Window panel = Window(std::strtoul(argv[1], nullptr, 0));
    if (!panel)
        return 2;
    findBelow(display, panel, argv[2]);
    XSync(display, False);

    const double start = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        close(ConnectionNumber(display));
        execv(argv[3], argv + 3);
        _exit(127);
    }
    const int fd = ConnectionNumber(display);
    while (nowMs() - start < 30000) {
        // Any change below the panel is a reason to look; so is a quiet spell, in case a
        // window came and was re-parented before it was watched.
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
        if (findBelow(display, panel, argv[2])) {
            const double wall = nowMs() - start;
            std::printf("%d %.1f %.1f\n", int(pid), wall, cpuMs(pid));
            return 0;
        }
        fd_set read;
        FD_ZERO(&read);
        FD_SET(fd, &read);
        timeval wait{0, 20000};
        select(fd + 1, &read, nullptr, nullptr, &wait);
    }
    std::printf("%d -1 -1\n", int(pid));
    return 1;
}
