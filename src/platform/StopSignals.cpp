// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/StopSignals.h"

#include "base/Log.h"
#include "base/QuietReadNotifier.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int Handled[] = {SIGTERM, SIGINT, SIGHUP};

int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_requested = 0;

extern "C" void onStopSignal(int signalNumber) {
    if (g_requested) {
        // The second request: no more waiting for the orderly end.
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    g_requested = 1;
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
    Q_ASSERT(g_pipe[0] < 0);
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(lcDesktop) << "no pipe for the stop signals:" << qt_error_string(errno);
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    g_requested = 0;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : Handled)
        ::sigaction(s, &action, nullptr);
    m_notifier = new QuietReadNotifier(g_pipe[0], this);
    connect(m_notifier, &QuietReadNotifier::activated, this, &StopSignals::readPipe);
}

StopSignals::~StopSignals() {
    if (g_pipe[0] < 0)
        return;
    for (int s : Handled)
        std::signal(s, SIG_DFL);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

bool StopSignals::isActive() const {
    return m_notifier && m_notifier->isValid();
}

void StopSignals::readPipe() {
    unsigned char byte = 0;
    if (::read(g_pipe[0], &byte, 1) != 1)
        return;
    // One request is enough; a later signal never reaches the pipe.
    m_notifier->setEnabled(false);
    qCInfo(lcDesktop) << "signal" << int(byte) << "received: unloading";
    Q_EMIT stopRequested(byte);
}
