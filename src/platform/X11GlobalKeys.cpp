// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/X11GlobalKeys.h"

#include "base/Log.h"
#include "platform/X11Keys.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <utility>

namespace {

constexpr uint32_t NumLockSym = 0xff7f;
constexpr uint32_t ScrollLockSym = 0xff14;
constexpr uint8_t BadAccess = 10;

template <class T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <class T> Reply<T> reply(T* r) {
    return Reply<T>(r, &std::free);
}

} // namespace

X11GlobalKeys* X11GlobalKeys::create(QObject* parent) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return nullptr;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return nullptr;
    return new X11GlobalKeys(connection, screen->root, parent);
}

X11GlobalKeys::X11GlobalKeys(xcb_connection_t* connection, uint32_t root, QObject* parent)
    : GlobalKeys(parent), m_connection(connection), m_root(root) {
    qGuiApp->installNativeEventFilter(this);
}

X11GlobalKeys::~X11GlobalKeys() {
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
    for (const Grab& key : std::as_const(m_grabs))
        if (key.held)
            ungrab(key);
    xcb_flush(m_connection);
}

uint8_t X11GlobalKeys::keycodeOf(uint32_t keysym) const {
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto map = reply(xcb_get_keyboard_mapping_reply(
        m_connection, xcb_get_keyboard_mapping(m_connection, setup->min_keycode, uint8_t(count)),
        nullptr));
    if (!map)
        return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int perCode = map->keysyms_per_keycode;
    for (int code = 0; code < count; ++code)
        for (int i = 0; i < perCode; ++i)
            if (syms[code * perCode + i] == keysym)
                return uint8_t(setup->min_keycode + code);
    return 0;
}

void X11GlobalKeys::readLockMasks() {
    // Three round trips to the server: asked at the first key bound, not at start-up.
    if (std::exchange(m_locksRead, true))
        return;
    const uint8_t numCode = keycodeOf(NumLockSym);
    const uint8_t scrollCode = keycodeOf(ScrollLockSym);
    const auto map = reply(xcb_get_modifier_mapping_reply(
        m_connection, xcb_get_modifier_mapping(m_connection), nullptr));
    if (!map)
        return;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map.get());
    const int perModifier = map->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier)
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = codes[modifier * perModifier + i];
            if (code != 0 && code == numCode)
                m_numLock = uint16_t(1 << modifier);
            if (code != 0 && code == scrollCode)
                m_scrollLock = uint16_t(1 << modifier);
        }
}

bool X11GlobalKeys::grab(const Grab& key) {
    const QList<uint16_t> states = X11Keys::withLockStates(key.modifiers, m_numLock, m_scrollLock);
    QList<xcb_void_cookie_t> cookies;
    for (const uint16_t state : states)
        cookies << xcb_grab_key_checked(m_connection, 0, m_root, state, key.keycode,
                                        XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    bool refused = false;
    for (const xcb_void_cookie_t cookie : std::as_const(cookies))
        if (const auto error = reply(xcb_request_check(m_connection, cookie))) {
            refused = true;
            if (error->error_code != BadAccess)
                qCWarning(lcStartup) << "the key grab failed with X error" << error->error_code;
        }
    if (refused)
        ungrab(key);
    return !refused;
}

void X11GlobalKeys::ungrab(const Grab& key) {
    // Only this client's own grabs go; another's of the same key stay.
    for (const uint16_t state : X11Keys::withLockStates(key.modifiers, m_numLock, m_scrollLock))
        xcb_ungrab_key(m_connection, key.keycode, m_root, state);
    xcb_flush(m_connection);
}

GlobalKeys::State X11GlobalKeys::bind(const QString& name, const QKeySequence& sequence) {
    if (const auto old = m_grabs.constFind(name); old != m_grabs.cend()) {
        if (old->held)
            ungrab(*old);
        m_grabs.erase(old);
    }
    if (sequence.isEmpty())
        return State::Unbound;
    readLockMasks();
    const QKeyCombination combination = sequence[0];
    const uint32_t sym = X11Keys::keysym(combination.key());
    const uint8_t code = sym ? keycodeOf(sym) : 0;
    if (code == 0) {
        qCInfo(lcStartup) << "no key for" << sequence.toString() << "on this keyboard";
        return State::Unusable;
    }
    Grab key{code, X11Keys::modifierMask(combination.keyboardModifiers()), false};
    key.held = grab(key);
    m_grabs.insert(name, key);
    return key.held ? State::Bound : State::Taken;
}

void X11GlobalKeys::check() {
    // Walking an emptied hash still visits all its buckets, every minute.
    if (m_grabs.isEmpty())
        return;
    for (auto it = m_grabs.begin(); it != m_grabs.end(); ++it) {
        if (!it->held)
            continue;
        // Asking again for a grab this client holds only renews it; a refusal means the
        // server no longer lets it hold the key.
        if (!grab(*it)) {
            it->held = false;
            qCWarning(lcStartup) << "the global key of" << it.key() << "was lost";
            Q_EMIT lost(it.key());
        }
    }
}

bool X11GlobalKeys::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    if (type != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const uint8_t kind = event->response_type & 0x7f;
    if (kind != XCB_KEY_PRESS && kind != XCB_KEY_RELEASE)
        return false;
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    if (press->event != m_root)
        return false;
    const uint16_t state = X11Keys::withoutLocks(press->state, m_numLock, m_scrollLock);
    for (auto it = m_grabs.cbegin(); it != m_grabs.cend(); ++it)
        if (it->held && it->keycode == press->detail && it->modifiers == state) {
            if (kind == XCB_KEY_PRESS)
                Q_EMIT activated(it.key());
            return true;
        }
    return false;
}
