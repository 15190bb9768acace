// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/MailAccountBox.h"

#include "mail/DefaultAccount.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

// The security choices in the order shown, with the codes they store.
const std::pair<const char*, MailSecurity> Securities[] = {
    {"SSL/TLS", MailSecurity::Tls},
    {"STARTTLS", MailSecurity::StartTls},
    {QT_TRANSLATE_NOOP("MailAccountBox", "None"), MailSecurity::None},
};

QLabel* caption(QWidget* parent, const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(buddy);
    return label;
}

} // namespace

MailAccountBox::MailAccountBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MailAccountBox"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);

    m_server = new QLineEdit(this);
    m_server->setObjectName(QStringLiteral("MailServerTB"));
    m_server->setAccessibleName(tr("Mail server"));
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("MailTypeCb"));
    m_type->setAccessibleName(tr("Server type"));
    m_type->addItem(QStringLiteral("POP3"), QStringLiteral("pop3"));
    m_type->addItem(QStringLiteral("IMAP"), QStringLiteral("imap"));
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("MailPortUD"));
    m_port->setAccessibleName(tr("Port"));
    m_port->setRange(1, 65535);
    m_security = new QComboBox(this);
    m_security->setObjectName(QStringLiteral("MailSecurityCb"));
    m_security->setAccessibleName(tr("Security"));
    for (const auto& [text, code] : Securities)
        m_security->addItem(tr(text), int(code));
    m_passwordPlace = new QLabel(this);
    m_passwordPlace->setObjectName(QStringLiteral("MailPwdPlaceLb"));
    m_passwordPlace->setTextFormat(Qt::PlainText);
    m_passwordPlace->setWordWrap(true);
    m_securityWarning = new QLabel(tr(NoSecurityWarning), this);
    m_securityWarning->setObjectName(QStringLiteral("MailSecurityWarnLb"));
    m_securityWarning->setTextFormat(Qt::PlainText);
    m_securityWarning->setWordWrap(true);
    m_securityWarning->setAccessibleName(tr(NoSecurityWarning));
    m_securityWarning->hide();
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("MailStatusLb"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_status->setAccessibleName(tr("Mail check status"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_status->hide();
    m_checkNow = new QPushButton(tr("Check now"), this);
    m_checkNow->setObjectName(QStringLiteral("MailCheckNowCmd"));
    m_checkNow->setAccessibleName(tr("Check now"));

    grid->addWidget(caption(this, tr("Mail server:"), m_server), 0, 0);
    grid->addWidget(m_server, 0, 1, 1, 3);
    grid->addWidget(caption(this, tr("Type:"), m_type), 1, 0);
    grid->addWidget(m_type, 1, 1);
    grid->addWidget(caption(this, tr("Port:"), m_port), 1, 2);
    grid->addWidget(m_port, 1, 3);
    grid->addWidget(caption(this, tr("Security:"), m_security), 2, 0);
    grid->addWidget(m_security, 2, 1);
    grid->addWidget(m_securityWarning, 3, 0, 1, 4);
    grid->addWidget(m_passwordPlace, 4, 0, 1, 4);
    grid->addWidget(m_status, 5, 0, 1, 3);
    grid->addWidget(m_checkNow, 5, 3, Qt::AlignRight | Qt::AlignTop);

    connect(m_server, &QLineEdit::textEdited, this, [this] { m_edited = true; });
    connect(m_port, &QSpinBox::valueChanged, this, &MailAccountBox::portChanged);
    connect(m_checkNow, &QPushButton::clicked, this, &MailAccountBox::checkNowClicked);
    connect(m_type, &QComboBox::currentIndexChanged, this, &MailAccountBox::securityOrTypeChanged);
    connect(m_security, &QComboBox::currentIndexChanged, this,
            &MailAccountBox::securityOrTypeChanged);
}

void MailAccountBox::fill(const Settings& settings) {
    m_filling = true;
    m_shown = settings;
    MailAccount account = storedAccount(settings);
    // What the mail program says is changed there; a typed account here.
    const bool typed = !settings.mailDiscovered;
    // An account yet to be typed starts secured.
    if (typed && account.server.isEmpty() && account.security == MailSecurity::None)
        account.security =
            account.port == 995 || account.port == 993 ? MailSecurity::Tls : MailSecurity::StartTls;
    m_server->setText(account.server);
    m_type->setCurrentIndex(qMax(0, m_type->findData(account.type)));
    m_security->setCurrentIndex(qMax(0, m_security->findData(int(account.security))));
    m_usualPort = defaultMailPort(account.type, account.security);
    m_port->setValue(accountPort(account));
    m_server->setReadOnly(!typed);
    for (QWidget* w : std::initializer_list<QWidget*>{m_type, m_port, m_security})
        w->setEnabled(typed);
    showPasswordPlace(!settings.mailPassword.isEmpty()
                          ? QCoreApplication::translate("OptionsGroup", KeptInDataFile)
                      : settings.mailPasswordInKeyring
                          ? QCoreApplication::translate("OptionsGroup", KeptInKeyring)
                          : QString());
    showSecurityWarning();
    m_edited = false;
    m_filling = false;
}

void MailAccountBox::showPasswordPlace(const QString& text) {
    m_passwordPlace->setText(text);
    m_passwordPlace->setAccessibleName(text);
}

void MailAccountBox::showStatus(const QString& text) {
    m_status->setText(text);
    m_status->setAccessibleDescription(text);
    m_status->setVisible(!text.isEmpty());
}

void MailAccountBox::showSecurityWarning() {
    m_securityWarning->setVisible(MailSecurity(m_security->currentData().toInt()) ==
                                  MailSecurity::None);
}

void MailAccountBox::portChanged(int port) {
    if (m_filling)
        return;
    m_edited = true;
    // The usual ports of a secured connection take their security along; "None" stays the
    // user's choice.
    const auto security = MailSecurity(m_security->currentData().toInt());
    MailSecurity wanted = security;
    if (port == 995 || port == 993)
        wanted = MailSecurity::Tls;
    else if ((port == 110 || port == 143) && security == MailSecurity::Tls)
        wanted = MailSecurity::StartTls;
    if (wanted != security)
        m_security->setCurrentIndex(m_security->findData(int(wanted)));
}

void MailAccountBox::securityOrTypeChanged() {
    const int usual = defaultMailPort(m_type->currentData().toString(),
                                      MailSecurity(m_security->currentData().toInt()));
    // A port left at the usual one follows the choice.
    if (m_port->value() == m_usualPort)
        m_port->setValue(usual);
    m_usualPort = usual;
    m_edited |= !m_filling;
    showSecurityWarning();
}

QList<Settings::Field> MailAccountBox::collect(Settings& settings) {
    QList<Settings::Field> changed;
    if (!m_edited)
        return changed;
    m_edited = false;
    const auto set = [&](auto& member, auto value, Settings::Field field) {
        if (member == value)
            return;
        member = value;
        changed << field;
    };
    set(settings.mailServer, m_server->text().trimmed(), Settings::Field::MailServer);
    set(settings.mailType, m_type->currentData().toString(), Settings::Field::MailType);
    set(settings.mailPort, m_port->value(), Settings::Field::MailPort);
    set(settings.mailSecurity, m_security->currentData().toInt(), Settings::Field::MailSecurity);
    return changed;
}
