#include "core/WebSite.h"

QString productWebSite() {
    QString site = qEnvironmentVariable("PLUMORA_WEBSITE");
    if (site.isEmpty())
        site = QStringLiteral("https://plumora.example.org");
    while (site.endsWith(u'/'))
        site.chop(1);
    return site;
}
