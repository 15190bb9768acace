// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>

// Keys that work anywhere on the desktop, whichever window has the focus: the desktop's
// global shortcuts, one role (faked in tests). Each key is bound under a name of the
// caller's; a press of it is `activated(name)`. Where the desktop answers later (its portal
// asks the user first), a bind gives Pending and the answer comes as `stateChanged`.
class GlobalKeys : public QObject {
    Q_OBJECT
public:
    // How this desktop lets a program take a key.
    enum class Way {
        X11Grab, // a passive grab on the X root window
        Portal,  // the desktop portal's global shortcuts, which the user confirms there
        None,    // not at all (a Wayland session without the portal's shortcuts)
    };
    enum class State {
        Unbound,  // no key chosen
        Bound,    // the key works
        Taken,    // another program holds the key; it stays unbound
        Unusable, // the key cannot be bound here (no such key on the keyboard, no way)
        Pending,  // asked of the desktop, which has not answered yet
        Refused,  // the desktop (or the user in its dialog) refused it: see problem()
    };

    using QObject::QObject;

    virtual Way way() const = 0;
    // Binds `key` (one key with its modifiers) under `name`, in place of the name's earlier
    // key; an empty key unbinds. Gives the state it reached.
    virtual State bind(const QString& name, const QKeySequence& key) = 0;
    // Checks that every bound key is still held; each one lost since is Taken from now on
    // and reported once as `lost`.
    virtual void check() {}
    // What the user calls the action bound under `name`, where the desktop shows it.
    virtual void describe(const QString& name, const QString& description) {
        Q_UNUSED(name);
        Q_UNUSED(description);
    }
    // The key as the desktop bound it, where the desktop chooses it ("Ctrl+Alt+N"); empty
    // when the key is the one asked for or the desktop holds it without a key.
    virtual QString trigger(const QString& name) const {
        Q_UNUSED(name);
        return {};
    }
    // Why a Refused key was refused, for the user.
    virtual QString problem(const QString& name) const {
        Q_UNUSED(name);
        return {};
    }

Q_SIGNALS:
    void activated(const QString& name);
    void lost(const QString& name);
    // The desktop answered about `name` after bind() gave Pending, or changed its key.
    void stateChanged(const QString& name, GlobalKeys::State state);
    // way() changed: the desktop turned out to offer no way after all.
    void wayChanged();
};

// A desktop with no way to bind a key for a program.
class NoGlobalKeys final : public GlobalKeys {
public:
    using GlobalKeys::GlobalKeys;
    Way way() const override { return Way::None; }
    State bind(const QString&, const QKeySequence& key) override {
        return key.isEmpty() ? State::Unbound : State::Unusable;
    }
};
