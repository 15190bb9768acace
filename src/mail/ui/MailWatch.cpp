#include "mail/ui/MailWatch.h"

#include "core/ShellTables.h"
#include "mail/ui/CheckMail.h"
#include "platform/MailClient.h"
#include "ui/ChimePlayer.h"
#include "ui/ReminderSound.h"

MailWatch::MailWatch(AppContext& context, PopMessage popMessage, QObject* parent)
    : QObject(parent), m_context(context), m_popMessage(std::move(popMessage)),
      m_chime(new ChimePlayer(context.paths.helperProgram(QStringLiteral("libplumora_sound.so")),
                              this)) {
    setObjectName(QStringLiteral("MailWatch"));
}

MailWatch::~MailWatch() {
    delete m_checkMail.data();
}

CheckMail* MailWatch::checkMail() const {
    return m_checkMail;
}

void MailWatch::load() {
    if (m_checkMail)
        return;
    auto* notice = new CheckMail(m_context);
    m_checkMail = notice;
    connect(notice, &CheckMail::shown, this,
            [this] { m_chime->play(ReminderSound::prepare(m_context.paths)); });
    connect(notice, &CheckMail::passwordRequested, this, [this] {
        if (m_popMessage)
            m_popMessage(passwordRequestText(m_context.mail.program().displayName),
                         QString::number(TrayMenu::Options));
    });
    notice->load(pop3Port());
}

QString MailWatch::passwordRequestText(const QString& programName) {
    return QStringLiteral("Please click here to enter the ") + programName +
           QStringLiteral(" default e-mail account password.");
}

quint16 MailWatch::pop3Port() {
    bool ok = false;
    const int port = qEnvironmentVariableIntValue(PortVariable, &ok);
    return ok && port > 0 && port <= 65535 ? quint16(port) : Pop3Check::DefaultPort;
}
