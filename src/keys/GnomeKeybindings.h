// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QKeySequence>
#include <QString>
#include <QStringList>

#include <optional>

class ProcessRunner;

// GNOME's own custom keyboard shortcuts (the settings daemon's media-keys plug-in), for a
// GNOME session on which Plumora cannot bind a key itself: each runs a Plumora command.
// Written and read with gsettings, one entry per action under a path of Plumora's own.
class GnomeKeybindings {
    Q_DECLARE_TR_FUNCTIONS(GnomeKeybindings)

public:
    static constexpr char Schema[] = "org.gnome.settings-daemon.plugins.media-keys";
    static constexpr char EntrySchema[] = "org.gnome.settings-daemon.plugins.media-keys."
                                          "custom-keybinding";
    static constexpr char BasePath[] = "/org/gnome/settings-daemon/plugins/media-keys/"
                                       "custom-keybindings/";

    explicit GnomeKeybindings(ProcessRunner& runner) : m_runner(runner) {}

    // Whether the desktop named in XDG_CURRENT_DESKTOP is GNOME.
    static bool isGnome(const QString& currentDesktop);
    // GNOME's way of writing a key: "Print", "<Control><Alt>n".
    static QString accelerator(const QKeySequence& key);
    // A list of strings as gsettings prints and reads it ("@as []", "['/a/', '/b/']").
    static QStringList parseList(const QByteArray& printed);
    static QString formatList(const QStringList& items);

    struct Binding {
        QString name;
        QString command;
        QString binding;
    };
    // Writes the entry `id` (a plain word) and adds it to GNOME's list once. Gives an error
    // text for the user, empty once written.
    QString write(const QString& id, const Binding& binding);
    // The entry `id` as GNOME holds it; none when it is not in GNOME's list.
    std::optional<Binding> read(const QString& id);

private:
    QString entryPath(const QString& id) const;

    ProcessRunner& m_runner;
};
