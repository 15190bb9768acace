// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/HttpClient.h"
#include "platform/StreamSocket.h"

class QObject;

// The network code on QtNetwork behind HttpClient and StreamSocket: built into the network
// module, or linked in directly (platform/NetModule.h).
namespace NetCode {

// A client with its own QNetworkAccessManager, made at its first request.
HttpClient* makeHttpClient();
// A QSslSocket-based connection, a child of `parent`.
StreamSocket* makeStreamSocket(QObject* parent);

} // namespace NetCode
