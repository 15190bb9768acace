// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/MailWatch.h"

#include "base/Clock.h"
#include "mail/ui/CheckMail.h"
#include "mail/ui/MailOptionsGroup.h"
#include "platform/MailClient.h"
#include "shell/ReminderSound.h"
#include "shell/ui/ChimePlayer.h"

#include <memory>

MailWatch::MailWatch(AppContext& context, PopMessage popMessage, QObject* parent)
    : QObject(parent), m_context(context), m_popMessage(std::move(popMessage)),
      m_chime(new ChimePlayer(context.paths.helperProgram(QStringLiteral("libplumora_sound.so")),
                              this)),
      m_password(context.stores.settings, context.secrets) {
    setObjectName(QStringLiteral("MailWatch"));
    m_state.checkNow = [this] { return load(MailCheckState::Origin::User); };
}

MailWatch::~MailWatch() {
    delete m_checkMail.data();
}

CheckMail* MailWatch::checkMail() const {
    return m_checkMail;
}

OptionsGroup* MailWatch::makeOptionsGroup(QWidget* parent) {
    return new MailOptionsGroup(m_context, &m_state, parent);
}

void MailWatch::movePasswordToKeyring() {
    m_password.moveToKeyring();
}

bool MailWatch::load(MailCheckState::Origin origin) {
    // The user asking again while the last count still shows: that notice makes way.
    if (m_checkMail && origin == MailCheckState::Origin::User && m_checkMail->hasReported()) {
        m_checkMail->close();
        m_checkMail = nullptr;
    }
    if (m_checkMail)
        return false;
    // A password typed in Options or restored with a backup since the last check.
    m_password.moveToKeyring();
    auto* notice = new CheckMail(m_context);
    m_checkMail = notice;
    connect(notice, &CheckMail::shown, this,
            [this] { m_chime->play(ReminderSound::prepare(m_context.paths)); });
    // What the notice would say, told once the check's result is known.
    auto told = std::make_shared<QString>();
    connect(notice, &CheckMail::passwordRequested, this,
            [this, told] { *told = passwordRequestText(m_context.mail.program().displayName); });
    connect(notice, &CheckMail::problem, this, [told](const QString& text) { *told = text; });
    connect(notice, &CheckMail::checked, this,
            [this, notice, told, origin](const QString& failure, int count) {
                const QDateTime now = m_context.clock.now();
                if (failure.isEmpty())
                    return m_state.recordSuccess(now, count, notice->check().isImap());
                if (!m_state.recordFailure(now, failure, origin) || !m_popMessage)
                    return;
                m_popMessage(told->isEmpty() ? MailTexts::failureNotice(failure) : *told,
                             QStringLiteral("Options"));
            });
    notice->load();
    return true;
}

QString MailWatch::passwordRequestText(const QString& programName) {
    return tr("Please click here to enter the %1 default e-mail account password.")
        .arg(programName);
}
