#pragma once

#include <QString>

// The product web site: one address, overridable through PLUMORA_WEBSITE (tests point it
// at a local server). No trailing "/", so paths such as "/wallpaper.htm" append directly.
QString productWebSite();
