// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/HttpClient.h"
#include "platform/StreamSocket.h"

#include <QString>

#include <memory>

class QObject;

// The network code (QtNetwork, with its TLS, proxy and Kerberos libraries) is a module of its
// own in the program (libplumora_net.so, see platform/Module.h), loaded at the first mail
// check, calendar sync or download; tests and benchmarks link that code in instead.
namespace NetModule {

// The module's file (AppPaths::helperProgram); set before the first use. Nothing to do where
// the code is linked in.
void use(const QString& path);

// Why the module could not be loaded; empty while it works (and always where linked in).
QString failure();

// An HTTP client of its own connections; nullptr when the module could not be loaded.
std::unique_ptr<HttpClient> httpClient();

// A new connection whose QObject lives as a child of `parent`; nullptr when the module
// could not be loaded.
StreamSocket* streamSocket(QObject* parent);

// The entry points of the module.
using MakeHttpClient = HttpClient* (*)();
using MakeStreamSocket = StreamSocket* (*)(QObject* parent);

} // namespace NetModule
