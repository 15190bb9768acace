// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/LinuxMailClient.h"

#include "mail/DefaultAccount.h"
#include "platform/DesktopEntries.h"

#include <QCoreApplication>
#include <QProcess>

LinuxMailClient::LinuxMailClient(QString home) : m_home(std::move(home)) {}

MailProgram LinuxMailClient::program() const {
    MailProgram p;
    p.desktopId = DesktopEntries::defaultApplication(QStringLiteral("x-scheme-handler/mailto"));
    const DesktopEntries::Entry entry = DesktopEntries::find(p.desktopId);
    p.isThunderbird = p.desktopId.contains(QLatin1String("thunderbird"), Qt::CaseInsensitive) ||
                      entry.name.contains(QLatin1String("thunderbird"), Qt::CaseInsensitive);
    p.displayName = p.isThunderbird ? QStringLiteral("Thunderbird")
                    : entry.name.isEmpty()
                        ? QCoreApplication::translate("LinuxMailClient", "your mail program")
                        : entry.name;
    return p;
}

std::optional<MailAccount> LinuxMailClient::defaultAccount() const {
    const MailProgram p = program();
    if (!p.isThunderbird)
        return std::nullopt;
    return readThunderbirdAccount(m_home, p.desktopId);
}

bool LinuxMailClient::open() {
    const DesktopEntries::Entry entry = DesktopEntries::find(program().desktopId);
    if (!entry.valid || entry.exec.isEmpty())
        return false;
    return QProcess::startDetached(entry.exec.first(), entry.exec.mid(1));
}
