// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>

// A broken rule ends the run, so libFuzzer keeps the input that broke it.
inline void check(bool ok) {
    if (!ok)
        std::abort();
}
