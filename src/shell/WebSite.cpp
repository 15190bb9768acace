// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/WebSite.h"

#include <QUrl>

#ifndef PLUMORA_WEBSITE_ADDRESS
#define PLUMORA_WEBSITE_ADDRESS ""
#endif

QString productWebSite() {
    QString site = qEnvironmentVariable("PLUMORA_WEBSITE");
    if (site.isEmpty())
        site = QStringLiteral(PLUMORA_WEBSITE_ADDRESS).trimmed();
    if (site.isEmpty())
        return QLatin1String(LocalProductPage);
    while (site.endsWith(u'/'))
        site.chop(1);
    return site;
}

bool isWebAddress(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}
