// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/QuietReadNotifier.h"

#include "base/Log.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QSocketNotifier>

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <system_error>
#include <thread>
#include <unordered_map>

namespace {

const QEvent::Type ReadyEvent = QEvent::Type(QEvent::registerEventType());
// The sleeper's own descriptor, which tells its thread to end.
constexpr quint64 StopId = 0;

// One report when the descriptor is readable; none, but still in the set, when not `enabled`.
epoll_event armedFor(quint64 id, bool enabled) {
    epoll_event e{};
    e.events = EPOLLONESHOT | (enabled ? uint32_t(EPOLLIN) : 0u);
    e.data.u64 = id;
    return e;
}

} // namespace

// The thread and its epoll set, shared by every notifier while any exists. Each descriptor
// is armed for one report (EPOLLONESHOT): the thread posts it to the notifier and the
// notifier arms it again once its handler has run, so a descriptor that stays ready is
// reported once per pass of the event loop, as a level-triggered notifier's would be.
class QuietReadNotifier::Sleeper {
public:
    static std::shared_ptr<Sleeper> shared() {
        static std::mutex made;
        static std::weak_ptr<Sleeper> current;
        const std::lock_guard lock(made);
        std::shared_ptr<Sleeper> sleeper = current.lock();
        if (!sleeper) {
            sleeper = std::make_shared<Sleeper>();
            if (!sleeper->m_thread.joinable())
                return nullptr;
            current = sleeper;
        }
        return sleeper;
    }

    Sleeper() {
        m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
        m_stop = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        epoll_event stop = armedFor(StopId, true);
        if (m_epoll < 0 || m_stop < 0 || ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_stop, &stop) != 0) {
            qCWarning(lcStartup) << "no thread to wait on quiet descriptors:"
                                 << qt_error_string(errno);
            return;
        }
        try {
            m_thread = std::thread([this] { sleep(); });
        } catch (const std::system_error& e) {
            qCWarning(lcStartup) << "no thread to wait on quiet descriptors:" << e.what();
        }
    }
    ~Sleeper() {
        if (m_thread.joinable()) {
            const quint64 one = 1;
            [[maybe_unused]] const ssize_t written = ::write(m_stop, &one, sizeof one);
            m_thread.join();
        }
        if (m_stop >= 0)
            ::close(m_stop);
        if (m_epoll >= 0)
            ::close(m_epoll);
    }
    Sleeper(const Sleeper&) = delete;
    Sleeper& operator=(const Sleeper&) = delete;

    quint64 add(int fd, QuietReadNotifier* notifier) {
        const std::lock_guard lock(m_mutex);
        const quint64 id = ++m_lastId;
        epoll_event armed = armedFor(id, true);
        if (::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &armed) != 0)
            return 0;
        m_notifiers.emplace(id, notifier);
        return id;
    }
    // Once this returns, nothing more is posted to the notifier.
    void remove(int fd, quint64 id) {
        const std::lock_guard lock(m_mutex);
        ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, fd, nullptr);
        m_notifiers.erase(id);
    }
    void arm(int fd, quint64 id, bool enabled) {
        epoll_event armed = armedFor(id, enabled);
        if (::epoll_ctl(m_epoll, EPOLL_CTL_MOD, fd, &armed) != 0)
            qCWarning(lcStartup) << "descriptor" << fd
                                 << "cannot be watched again:" << qt_error_string(errno);
    }

private:
    void sleep() {
        epoll_event events[8];
        for (;;) {
            const int n = ::epoll_wait(m_epoll, events, 8, -1);
            if (n < 0 && errno != EINTR)
                return;
            const std::lock_guard lock(m_mutex);
            for (int i = 0; i < n; ++i) {
                if (events[i].data.u64 == StopId)
                    return;
                const auto found = m_notifiers.find(events[i].data.u64);
                if (found != m_notifiers.end())
                    QCoreApplication::postEvent(found->second, new QEvent(ReadyEvent));
            }
        }
    }

    int m_epoll = -1;
    int m_stop = -1;
    std::thread m_thread;
    std::mutex m_mutex;
    quint64 m_lastId = StopId;
    std::unordered_map<quint64, QuietReadNotifier*> m_notifiers;
};

QuietReadNotifier::QuietReadNotifier(int fd, QObject* parent)
    : QObject(parent), m_sleeper(Sleeper::shared()), m_fd(fd) {
    if (m_sleeper) {
        m_id = m_sleeper->add(fd, this);
        if (m_id)
            return;
        qCWarning(lcStartup) << "descriptor" << fd
                             << "cannot join the quiet ones:" << qt_error_string(errno);
        m_sleeper.reset();
    }
    // On the event loop after all (the sleeper said why it is missing).
    m_onLoop = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_onLoop, &QSocketNotifier::activated, this, &QuietReadNotifier::activated);
}

bool QuietReadNotifier::isValid() const {
    return m_id != 0 || (m_onLoop && m_onLoop->isValid());
}

QuietReadNotifier::~QuietReadNotifier() {
    if (m_id)
        m_sleeper->remove(m_fd, m_id);
}

void QuietReadNotifier::setEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (m_onLoop)
        m_onLoop->setEnabled(enabled);
    arm();
}

void QuietReadNotifier::arm() {
    if (m_id)
        m_sleeper->arm(m_fd, m_id, m_enabled);
}

bool QuietReadNotifier::event(QEvent* event) {
    if (event->type() != ReadyEvent)
        return QObject::event(event);
    if (m_enabled) {
        // The handler may delete the notifier; it may also turn it off or on.
        const QPointer<QuietReadNotifier> alive(this);
        Q_EMIT activated();
        if (alive && m_enabled)
            arm();
    }
    return true;
}
