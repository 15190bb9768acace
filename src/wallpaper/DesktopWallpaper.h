// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProcessRunner.h"

#include <QString>

#include <memory>

// How the picture fills the screen: the "WallpaperStyle" value "2" stretches it, "0"
// centres it. DesktopOwn leaves the desktop's own setting as it is.
enum class WallpaperStyle { Centred, Stretched, DesktopOwn };
WallpaperStyle wallpaperStyleFromSetting(const QString& wallpaperStyle);

// One desktop's way of showing a picture file as its background, driven through its own
// settings tools.
class WallpaperAdapter {
public:
    virtual ~WallpaperAdapter() = default;
    virtual QString name() const = 0;
    // False for a desktop where no way to set the picture is known.
    virtual bool canSet() const { return true; }
    // The desktop reloads a picture only when its path changes, so every change needs a
    // fresh path (the same picture under a new name).
    virtual bool needsFreshPath() const { return false; }
    // Runs the commands that show `picture` in `style`; false (with the reason) when the
    // desktop could not be told.
    virtual bool apply(ProcessRunner& runner, const QString& picture, WallpaperStyle style,
                       QString* error) = 0;
    // The desktop's own setting of how its picture fills the screen, as text restoreFill
    // takes back; empty where the desktop keeps none that can be read.
    virtual QString readFill(ProcessRunner&) { return {}; }
    // Stretches the picture the desktop shows, or puts back what readFill gave. Desktops
    // without such a setting take the style with the next picture instead.
    virtual bool stretchFill(ProcessRunner&, QString*) { return true; }
    virtual bool restoreFill(ProcessRunner&, const QString&, QString*) { return true; }
};

// What the session says of itself beyond its desktop's name.
struct DesktopSession {
    bool wayland = false;    // a Wayland session: the X root window is not what the user sees
    bool swaySocket = false; // SWAYSOCK is set: sway, or a wlroots desktop that speaks its IPC
    // From XDG_SESSION_TYPE, WAYLAND_DISPLAY and SWAYSOCK.
    static DesktopSession fromEnvironment();
};

// What an adapter that knows no way to set the picture answers.
QString noWallpaperMethodText(); // "Plumora cannot set the wallpaper on this desktop"

// The adapter for an XDG_CURRENT_DESKTOP value ("ubuntu:GNOME", "X-Cinnamon", "KDE" ...):
// the first known name of the list wins. None known: sway's command where its socket is
// set, a plain X window manager's root window (feh) on X11, and on any other Wayland
// session none at all, since feh would paint a root window nobody sees.
std::unique_ptr<WallpaperAdapter>
wallpaperAdapterFor(const QString& currentDesktop,
                    const DesktopSession& session = DesktopSession::fromEnvironment());

// Shows a bitmap as the desktop background with the adapter of the running desktop.
// Where the desktop needs a fresh path, the bitmap is linked (or copied) to
// "<name>-<n>.<ext>" beside it, n one past the last such copy, and the previous copy is
// removed once the desktop has the new one.
class DesktopWallpaper {
public:
    explicit DesktopWallpaper(
        ProcessRunner& runner,
        const QString& currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
        const DesktopSession& session = DesktopSession::fromEnvironment());
    ~DesktopWallpaper();

    QString desktopName() const;
    // A way to set the picture on this desktop is known.
    bool canSet() const { return m_adapter->canSet(); }
    bool apply(const QString& bitmap, WallpaperStyle style, QString* error = nullptr);
    // Converts `image` into `bitmap` ("Plumora.bmp" in the program folder) and applies it;
    // an image that cannot be read leaves both the bitmap and the desktop as they are.
    bool showImage(const QString& image, const QString& bitmap, WallpaperStyle style,
                   QString* error = nullptr);
    QString readFill() { return m_adapter->readFill(m_runner); }
    bool stretchFill(QString* error = nullptr) { return m_adapter->stretchFill(m_runner, error); }
    bool restoreFill(const QString& saved, QString* error = nullptr) {
        return m_adapter->restoreFill(m_runner, saved, error);
    }

private:
    ProcessRunner& m_runner;
    std::unique_ptr<WallpaperAdapter> m_adapter;
};
