// SPDX-License-Identifier: GPL-3.0-or-later
// The entry points of the network module (platform/NetModule.h).
#include "platform/NetModule.h"
#include "platform/net/NetCode.h"

#include <type_traits>

extern "C" {

Q_DECL_EXPORT HttpClient* plumoraHttpClient() {
    return NetCode::makeHttpClient();
}

Q_DECL_EXPORT StreamSocket* plumoraStreamSocket(QObject* parent) {
    return NetCode::makeStreamSocket(parent);
}

} // extern "C"

// The program looks the entries up by these types.
static_assert(std::is_same_v<decltype(&plumoraHttpClient), NetModule::MakeHttpClient>);
static_assert(std::is_same_v<decltype(&plumoraStreamSocket), NetModule::MakeStreamSocket>);
