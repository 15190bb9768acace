#pragma once

#include "core/AppPaths.h"

class Clock;
class Platform;

// The services every part of Plumora is handed through its constructor: where the files
// are, what time it is, and the desktop. Tests hand in fakes.
struct AppContext {
    AppPaths paths;
    Clock& clock;
    Platform& platform;
};
