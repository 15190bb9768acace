// SPDX-License-Identifier: GPL-3.0-or-later
// Where the network code is linked in (tests, benchmarks), there is no module to load.
#include "platform/NetModule.h"
#include "platform/net/NetCode.h"

void NetModule::use(const QString&) {}

QString NetModule::failure() {
    return {};
}

std::unique_ptr<HttpClient> NetModule::httpClient() {
    return std::unique_ptr<HttpClient>(NetCode::makeHttpClient());
}

StreamSocket* NetModule::streamSocket(QObject* parent) {
    return NetCode::makeStreamSocket(parent);
}
