// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// A read notifier for a descriptor that is seldom ready: a listening socket, a signal pipe,
// the kernel's file notices. One thread of the process sleeps on all of them, so the event
// loop does not poll them each time it wakes; `activated` is emitted on the notifier's own
// thread, as a QSocketNotifier's is, and again for as long as the descriptor stays ready.
// The descriptor stays the caller's: it must outlive the notifier. Where no thread can be
// had, the event loop watches it after all.
class QuietReadNotifier final : public QObject {
    Q_OBJECT
public:
    explicit QuietReadNotifier(int fd, QObject* parent = nullptr);
    ~QuietReadNotifier() override;

    // False when the descriptor could not be watched (logged).
    bool isValid() const;
    void setEnabled(bool enabled);

    class Sleeper;

Q_SIGNALS:
    void activated();

protected:
    bool event(QEvent* event) override;

private:
    void arm();

    std::shared_ptr<Sleeper> m_sleeper;
    int m_fd;
    quint64 m_id = 0;
    QSocketNotifier* m_onLoop = nullptr; // where no thread could be had
    bool m_enabled = true;
};
