// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// A sign-in with an OAuth2 access token instead of a password.
struct OAuthLogin {
    QByteArray user;
    QByteArray token;
    QByteArray host; // OAUTHBEARER names the server and port the token is meant for
    quint16 port = 0;
};

// The SASL mechanisms that carry an OAuth2 bearer token: XOAUTH2 and OAUTHBEARER (RFC 7628).
namespace OAuthSasl {

enum class Mechanism { XOAuth2, OAuthBearer };

// Tokens are a few kilobytes at most; a larger one is not sent.
constexpr qsizetype MaxTokenBytes = 16 * 1024;

// "XOAUTH2" or "OAUTHBEARER".
QByteArray name(Mechanism mechanism);
// The client's first response, not yet base64-encoded:
// XOAUTH2      "user=U\x01auth=Bearer T\x01\x01"
// OAUTHBEARER  "n,a=U,\x01host=H\x01port=P\x01auth=Bearer T\x01\x01"
QByteArray initialResponse(Mechanism mechanism, const OAuthLogin& login);
// What the client answers to the server's error challenge so that the server can end the
// exchange with its refusal: an empty response for XOAUTH2, a lone ^A for OAUTHBEARER.
QByteArray errorReply(Mechanism mechanism);
// Why the sign-in must not be sent ("the access token is empty"); empty when it may.
QString refusal(const OAuthLogin& login);

// A refusal whose text says the provider takes no passwords any more.
bool passwordsDisabled(QByteArrayView refusalText);

} // namespace OAuthSasl
