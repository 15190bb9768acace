// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/GlobalKeys.h"

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QList>

#include <cstdint>

struct xcb_connection_t;

// Global keys on an X11 session: a passive grab of the key on the root window in every
// state of the lock keys, so Num Lock or Caps Lock on does not stop it. A key another client
// grabbed first is refused by the server and stays unbound; the grab is asked again at each
// check, which notices a key the server no longer lets this program hold.
class X11GlobalKeys final : public GlobalKeys, private QAbstractNativeEventFilter {
public:
    // Null when the application does not run on X11.
    static X11GlobalKeys* create(QObject* parent = nullptr);
    ~X11GlobalKeys() override;

    Way way() const override { return Way::X11Grab; }
    State bind(const QString& name, const QKeySequence& key) override;
    void check() override;

private:
    X11GlobalKeys(xcb_connection_t* connection, uint32_t root, QObject* parent);
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

    struct Grab {
        uint8_t keycode = 0;
        uint16_t modifiers = 0;
        bool held = false;
    };
    void readLockMasks();
    uint8_t keycodeOf(uint32_t keysym) const;
    // Grabs in every lock state; false (and nothing held) when the server refused one.
    bool grab(const Grab& key);
    void ungrab(const Grab& key);

    xcb_connection_t* m_connection;
    uint32_t m_root;
    uint16_t m_numLock = 0;
    uint16_t m_scrollLock = 0;
    bool m_locksRead = false;
    QHash<QString, Grab> m_grabs;
};
