// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/CheckMail.h"

#include "data/Settings.h"
#include "mail/DefaultAccount.h"
#include "mail/MailCheckState.h"
#include "platform/Dialogs.h"
#include "platform/MailClient.h"
#include "platform/WindowSystem.h"
#include "shell/NoticePlacement.h"
#include "shell/ui/NoticeFrame.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {

// As tall as the reminder's lift, so the two notices stack without overlapping.
constexpr QSize WindowSize(240, NoticePlacement::LiftPixels);
constexpr int IconSize = 32;

// A closed envelope, drawn for the screen's pixel ratio.
QPixmap envelope(int size, qreal ratio) {
    QPixmap p(QSize(size, size) * ratio);
    p.setDevicePixelRatio(ratio);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    const QRectF body(1.5, size * 0.22, size - 3.0, size * 0.56);
    g.setPen(QPen(QColor(70, 90, 130), 1.5));
    g.setBrush(QColor(250, 250, 244));
    g.drawRoundedRect(body, 2, 2);
    QPainterPath flap;
    flap.moveTo(body.topLeft());
    flap.lineTo(body.center().x(), body.top() + body.height() * 0.55);
    flap.lineTo(body.topRight());
    g.setBrush(Qt::NoBrush);
    g.drawPath(flap);
    return p;
}

QLabel* label(QWidget* parent, int index, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("EMLB"));
    l->setProperty("index", index);
    l->setTextFormat(Qt::PlainText);
    l->setForegroundRole(QPalette::ToolTipText);
    return l;
}

} // namespace

CheckMail::CheckMail(AppContext& context, QWidget* parent)
    : QWidget(parent, NoticeFrame::Flags), m_context(context), m_check(context.clock),
      m_password(context.stores.settings, context.secrets),
      m_online(context.onlineAccounts, context.registry) {
    setWindowOpacity(Opacity);
    // Untitled until the count is known: others look for the title to keep clear of it.
    QFrame* frame = NoticeFrame::setUp(this, QStringLiteral("CheckMail"), QString(), WindowSize);

    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(10, 8, 10, 8);
    row->setSpacing(10);

    auto* icon = new QLabel(frame);
    icon->setObjectName(QStringLiteral("IconImg"));
    icon->setFixedSize(IconSize, IconSize);
    icon->setPixmap(envelope(IconSize, devicePixelRatioF()));
    row->addWidget(icon, 0, Qt::AlignVCenter);

    const QString program = context.mail.program().displayName;
    m_emlb = {label(frame, 0, tr("You have")), label(frame, 1, QString()),
              label(frame, 2, tr("new e-mail")), label(frame, 3, tr("waiting for download to")),
              label(frame, 4, program + QLatin1Char('.'))};
    QFont bold = m_emlb[1]->font();
    bold.setBold(true);
    m_emlb[4]->setFont(bold);
    bold.setPointSizeF(bold.pointSizeF() * 1.25);
    m_emlb[1]->setFont(bold);

    // "You have 3 new e-mail" on one line, the program's name below, the block centred.
    auto* lines = new QVBoxLayout;
    lines->setSpacing(2);
    lines->addStretch(1);
    auto* first = new QHBoxLayout;
    first->setSpacing(4);
    for (int i = 0; i < 3; ++i)
        first->addWidget(m_emlb[i], 0, Qt::AlignBaseline);
    first->addStretch(1);
    lines->addLayout(first);
    lines->addWidget(m_emlb[3]);
    lines->addWidget(m_emlb[4]);
    lines->addStretch(1);
    row->addLayout(lines, 1);

    connect(&m_check, &MailCheck::newMail, this, &CheckMail::announce);
    connect(&m_check, &MailCheck::passwordRequest, this, [this] {
        // The online accounts service keeps that password: it is corrected there, not here.
        if (!m_onlineAccount)
            return Q_EMIT passwordRequested();
        Q_EMIT problem(tr("The mail server refused the password GNOME Online "
                          "Accounts keeps for %1. Correct it in the desktop's "
                          "Settings, Online Accounts.")
                           .arg(m_onlineUser));
    });
    connect(&m_check, &MailCheck::problem, this, &CheckMail::problem);
    connect(&m_check, &MailCheck::ended, this, [this] {
        const MailDialogue::Outcome outcome = m_check.outcome();
        // A refused token: the service renews the sign-in and the check runs once more.
        if (outcome == MailDialogue::Outcome::TokenRefused &&
            m_online.renew(this, [this](auto credentials, const QString& failure) {
                startOnline(std::move(credentials), failure);
            }))
            return;
        if (outcome == MailDialogue::Outcome::NoMail || outcome == MailDialogue::Outcome::NewMail)
            report(QString(), m_check.count());
        else
            report(m_check.failure().isEmpty() ? tr("the check did not finish")
                                               : m_check.failure());
        close();
    });
}

void CheckMail::report(const QString& failure, int count) {
    if (std::exchange(m_reported, true))
        return;
    Q_EMIT checked(failure, count);
}

void CheckMail::giveUp(const QString& failure) {
    qCWarning(lcMail).noquote() << "no mail check:" << failure;
    report(failure);
    close();
}

bool CheckMail::load() {
    m_onlineAccount = !m_online.chosen().isEmpty();
    if (m_onlineAccount) {
        // Secrets come from the service at each check; the data file's account is not used.
        m_online.fetch(this, [this](auto credentials, const QString& failure) {
            startOnline(std::move(credentials), failure);
        });
        return true;
    }
    const std::optional<Settings> settings = m_context.stores.settings.load();
    if (!settings) {
        giveUp(tr("the mail account could not be read from the data file"));
        return false;
    }
    const MailAccount account = storedAccount(*settings);
    if (account.server.trimmed().isEmpty()) {
        giveUp(tr("no mail server is set"));
        return false;
    }
    if (account.user.isEmpty()) {
        giveUp(tr("no user name is set"));
        return false;
    }
    // An account whose provider signs in through its own page: asking for a password that
    // cannot work would only repeat the pop-up.
    if (settings->mailDiscovered) {
        const std::optional<MailAccount> found = m_context.mail.defaultAccount();
        if (found && found->oauth2 && found->server == account.server) {
            Q_EMIT problem(MailTexts::providerSignIn(account.server));
            giveUp(tr("%1 signs in through its own page; choose its account of "
                      "GNOME Online Accounts in Options")
                       .arg(account.server));
            return false;
        }
    }
    // The keyring is asked only now that a check is due. Without a password nothing is
    // sent: the user is asked for one.
    m_password.fetch(this, [this, account](std::optional<QString> password, const QString& why) {
        if (!password) {
            if (why.isEmpty()) {
                Q_EMIT passwordRequested();
                giveUp(tr("no password is stored; type it in Options"));
            } else {
                Q_EMIT problem(tr("The mail password could not be read from the "
                                  "desktop's keyring (%1).")
                                   .arg(why));
                giveUp(tr("the password could not be read from the keyring (%1)").arg(why));
            }
            return;
        }
        m_check.setAccount(account, *password);
        if (!m_check.start())
            giveUp(m_check.failure().isEmpty() ? tr("no mail server is set") : m_check.failure());
    });
    return true;
}

void CheckMail::startOnline(std::optional<OnlineMailSignIn::Credentials> credentials,
                            const QString& failure) {
    if (!credentials)
        return giveUp(failure);
    m_onlineUser = credentials->account.user;
    m_check.setAccount(credentials->account,
                       credentials->isToken ? QString() : credentials->secret);
    if (credentials->isToken)
        m_check.setAccessToken(credentials->secret);
    if (!m_check.start())
        giveUp(m_check.failure().isEmpty() ? tr("no mail server is set") : m_check.failure());
}

void CheckMail::announce(int count) {
    // POP3 counts what waits for download; IMAP what is unread in the inbox.
    const bool imap = m_check.isImap();
    m_emlb[1]->setText(QString::number(count));
    m_emlb[2]->setText(MailTexts::noticeWhat(count, imap));
    m_emlb[3]->setText(imap ? tr("in the inbox of") : tr("waiting for download to"));
    setAccessibleName(MailTexts::noticeSpoken(count, imap));
    report(QString(), count);
    setWindowTitle(WindowTitles::NewMail);
    qCInfo(lcMail) << "showing" << count << "new message(s)";

    WindowSystem& windows = m_context.windows;
    windows.makeTopmost(this);
    // The reminder keeps its place; this notice stands on top of it.
    move(NoticePlacement::place(size(), windows, windows.isReminderOpen()));
    if (windows.showWindow(this, false))
        Q_EMIT shown();
}

void CheckMail::clicked() {
    // A double-click delivers two releases before the window is gone.
    if (m_done)
        return;
    m_done = true;
    m_check.stop();
    close();
    if (!m_context.mail.open())
        m_context.dialogs.messageBox(tr("No mail program could be started."),
                                     QStringLiteral("Plumora"), MessageButtons::Ok,
                                     MessageIcon::Information);
}

void CheckMail::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void CheckMail::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        clicked();
}

void CheckMail::closeEvent(QCloseEvent* event) {
    // The exit sequence closes the notice by its title; the dialogue goes with it.
    m_check.stop();
    QWidget::closeEvent(event);
}
