// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The product web site: one address, chosen when Plumora is built (the CMake cache variable
// PLUMORA_WEBSITE) and overridable through the environment variable PLUMORA_WEBSITE (tests
// point it at a local server). No trailing "/", so paths such as "/plm4/events.plm" append
// directly. While no address is chosen it is LocalProductPage, a page of the help folder.
QString productWebSite();

// The help topic that stands in for the web site while it has no address.
inline constexpr const char* LocalProductPage = "about-plumora.htm";

// True for an address a browser or a download can reach: http or https with a host. A
// local page, an empty text or any other scheme is not one (the holiday download is then
// skipped).
bool isWebAddress(const QString& address);
