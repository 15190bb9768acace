// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SessionEnd.h"

#include "base/Log.h"
#include "platform/StopSignals.h"

#include <QGuiApplication>
#include <QSessionManager>

SessionEnd::SessionEnd(std::function<void()> unload, bool catchSignals, QObject* parent)
    : QObject(parent), m_unload(std::move(unload)) {
    if (catchSignals) {
        m_signals = new StopSignals(this);
        connect(m_signals, &StopSignals::stopRequested, this, [this] { end("signal"); });
    }
    // Everything is saved before this returns: the session may end as soon as it does.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(
            app, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { end("end of the session"); }, Qt::DirectConnection);
}

SessionEnd::~SessionEnd() = default;

void SessionEnd::end(const char* why) {
    if (m_ended)
        return;
    m_ended = true;
    qCInfo(lcDesktop) << "unloading:" << why;
    if (m_unload)
        m_unload();
}
