// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/MailCheckState.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

void MailCheckState::recordSuccess(const QDateTime& at, int count, bool imap) {
    m_at = at;
    m_result = MailTexts::found(count, imap);
    m_failing = false;
    m_told.clear();
    Q_EMIT changed();
}

bool MailCheckState::recordFailure(const QDateTime& at, const QString& failure, Origin origin) {
    m_at = at;
    m_result = failure;
    m_failing = true;
    const bool tell = origin == Origin::Background && failure != m_told;
    m_told = failure;
    Q_EMIT changed();
    return tell;
}

QString MailCheckState::line() const {
    if (!m_at.isValid())
        return {};
    // Hours and minutes as the locale writes them; seconds say nothing here.
    static const QRegularExpression seconds(QStringLiteral("[:.]ss"));
    const QString format = QLocale().timeFormat(QLocale::ShortFormat).remove(seconds);
    return tr("Last check %1: %2").arg(QLocale().toString(m_at.time(), format), m_result);
}

namespace MailTexts {

QString noticeWhat(int count, bool imap) {
    if (!imap)
        return QCoreApplication::translate("MailTexts", "new e-mail");
    return count == 1 ? QCoreApplication::translate("MailTexts", "unread message")
                      : QCoreApplication::translate("MailTexts", "unread messages");
}

namespace {
QString unread(int count) {
    return (count == 1 ? QCoreApplication::translate("MailTexts", "%1 unread message")
                       : QCoreApplication::translate("MailTexts", "%1 unread messages"))
        .arg(count);
}
} // namespace

QString noticeSpoken(int count, bool imap) {
    if (imap)
        return unread(count);
    return (count == 1 ? QCoreApplication::translate("MailTexts", "%1 message waiting")
                       : QCoreApplication::translate("MailTexts", "%1 messages waiting"))
        .arg(count);
}

QString found(int count, bool imap) {
    if (count <= 0)
        return QCoreApplication::translate("MailTexts", "no new mail");
    if (imap)
        return unread(count);
    return (count == 1 ? QCoreApplication::translate("MailTexts", "%1 new message")
                       : QCoreApplication::translate("MailTexts", "%1 new messages"))
        .arg(count);
}

QString notConnected(const QString& server, quint16 port, const QString& reason) {
    return QCoreApplication::translate("MailTexts", "could not connect to %1:%2 (%3)")
        .arg(server)
        .arg(port)
        .arg(reason);
}

QString passwordsDisabled(const QString& server) {
    return QCoreApplication::translate(
               "MailTexts", "The mail server %1 no longer accepts passwords. This provider needs a "
                            "sign-in through GNOME Online Accounts: add the account in the "
                            "desktop's Settings, then choose it in Options.")
        .arg(server);
}

QString providerSignIn(const QString& server) {
    return QCoreApplication::translate(
               "MailTexts", "The mail account on %1 signs in through its provider's own page, so "
                            "no password can work. Add the account in GNOME Online Accounts and "
                            "choose it in Options.")
        .arg(server);
}

QString failureNotice(const QString& failure) {
    return QCoreApplication::translate(
               "MailTexts", "The new-mail check failed: %1.\nClick here to check the account in "
                            "Options.")
        .arg(failure);
}

} // namespace MailTexts
