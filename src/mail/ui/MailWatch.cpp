// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/MailWatch.h"

#include "core/ShellTables.h"
#include "mail/ui/CheckMail.h"
#include "platform/MailClient.h"
#include "ui/ChimePlayer.h"
#include "ui/ReminderSound.h"

MailWatch::MailWatch(AppContext& context, PopMessage popMessage, QObject* parent)
    : QObject(parent), m_context(context), m_popMessage(std::move(popMessage)),
      m_chime(new ChimePlayer(context.paths.helperProgram(QStringLiteral("libplumora_sound.so")),
                              this)),
      m_password(context.stores.settings, context.secrets) {
    setObjectName(QStringLiteral("MailWatch"));
}

MailWatch::~MailWatch() {
    delete m_checkMail.data();
}

CheckMail* MailWatch::checkMail() const {
    return m_checkMail;
}

void MailWatch::movePasswordToKeyring() {
    m_password.moveToKeyring();
}

void MailWatch::load() {
    if (m_checkMail)
        return;
    // A password typed in Options or restored with a backup since the last check.
    m_password.moveToKeyring();
    auto* notice = new CheckMail(m_context);
    m_checkMail = notice;
    connect(notice, &CheckMail::shown, this,
            [this] { m_chime->play(ReminderSound::prepare(m_context.paths)); });
    connect(notice, &CheckMail::passwordRequested, this, [this] {
        if (m_popMessage)
            m_popMessage(passwordRequestText(m_context.mail.program().displayName),
                         QString::number(TrayMenu::Options));
    });
    connect(notice, &CheckMail::problem, this, [this](const QString& text) {
        // Told once: the same trouble at every later check goes to the log only.
        if (text == m_toldProblem)
            return;
        m_toldProblem = text;
        if (m_popMessage)
            m_popMessage(text, QString::number(TrayMenu::Options));
    });
    connect(&notice->check(), &MailCheck::ended, this, [this, notice] {
        const MailDialogue::Outcome outcome = notice->check().outcome();
        if (outcome == MailDialogue::Outcome::NoMail || outcome == MailDialogue::Outcome::NewMail)
            m_toldProblem.clear();
    });
    notice->load(portOverride());
}

QString MailWatch::passwordRequestText(const QString& programName) {
    return QStringLiteral("Please click here to enter the ") + programName +
           QStringLiteral(" default e-mail account password.");
}

quint16 MailWatch::portOverride() {
    bool ok = false;
    const int port = qEnvironmentVariableIntValue(PortVariable, &ok);
    return ok && port > 0 && port <= 65535 ? quint16(port) : 0;
}
