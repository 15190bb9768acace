// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/MailCheckJob.h"

#include "base/Log.h"

MailCheckJob::MailCheckJob(std::function<void()> startCheck, std::function<bool()> onlineAccount)
    : m_startCheck(std::move(startCheck)), m_onlineAccount(std::move(onlineAccount)) {}

void MailCheckJob::run(MinuteContext& minute) {
    const Settings& s = minute.cache.settings;
    if (!s.checkMail)
        return;
    if (!intervalPassed(m_last, minute.now, s.checkMailMinutes))
        return;
    // The online-account choice is a settings file read: asked only when no account of
    // our own is set, and only once a check is due.
    const bool ownAccount = !s.mailUser.isEmpty() && !s.mailServer.isEmpty();
    if (!ownAccount && !(m_onlineAccount && m_onlineAccount()))
        return;
    if (!minute.online()) {
        qCInfo(lcTick) << "mail check due but the machine is offline";
        return;
    }
    m_last = minute.now;
    if (m_startCheck)
        m_startCheck();
}

QDateTime MailCheckJob::nextNeeded(const MinuteContext& minute) const {
    const Settings& s = minute.cache.settings;
    // A check due but not started (no account, offline) is tried again the next minute.
    return s.checkMail ? intervalEnds(m_last, minute.now, s.checkMailMinutes) : untilChanged();
}
