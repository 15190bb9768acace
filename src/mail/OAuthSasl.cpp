// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/OAuthSasl.h"

#include <QCoreApplication>

#include "mail/MailDialogue.h"

namespace OAuthSasl {

QByteArray name(Mechanism mechanism) {
    return mechanism == Mechanism::OAuthBearer ? QByteArrayLiteral("OAUTHBEARER")
                                               : QByteArrayLiteral("XOAUTH2");
}

QByteArray initialResponse(Mechanism mechanism, const OAuthLogin& login) {
    const QByteArray bearer = "auth=Bearer " + login.token + "\x01\x01";
    if (mechanism == Mechanism::XOAuth2)
        return "user=" + login.user + '\x01' + bearer;
    // The GS2 header's authzid escapes "," and "=" (RFC 5801).
    QByteArray user = login.user;
    user.replace('=', "=3D").replace(',', "=2C");
    return "n,a=" + user + ",\x01host=" + login.host +
           "\x01port=" + QByteArray::number(login.port) + '\x01' + bearer;
}

QByteArray errorReply(Mechanism mechanism) {
    return mechanism == Mechanism::OAuthBearer ? QByteArray("\x01") : QByteArray();
}

QString refusal(const OAuthLogin& login) {
    if (login.token.isEmpty())
        return QCoreApplication::translate("OAuthSasl", "the access token is empty");
    if (login.token.size() > MaxTokenBytes)
        return QCoreApplication::translate("OAuthSasl", "the access token is larger than %1 KB")
            .arg(MaxTokenBytes / 1024);
    // The token goes inside a ^A-separated list: it may hold none of the separators.
    for (char c : login.token) {
        if (uchar(c) < 0x20 || uchar(c) > 0x7e)
            return QCoreApplication::translate(
                "OAuthSasl", "the access token holds characters a token cannot hold");
    }
    if (!safeMailArgument(login.user) || login.user.contains('\x01'))
        return QCoreApplication::translate("OAuthSasl",
                                           "the user name holds a line break or a NUL");
    if (!safeMailArgument(login.host) || login.host.contains('\x01'))
        return QCoreApplication::translate("OAuthSasl",
                                           "the server name holds a line break or a NUL");
    return {};
}

bool passwordsDisabled(QByteArrayView refusalText) {
    return QByteArray(refusalText.data(), refusalText.size())
        .toLower()
        .contains("basic authentication is disabled");
}

} // namespace OAuthSasl
