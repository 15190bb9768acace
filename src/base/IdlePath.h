// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Marks the few functions of Plumora's own that an idle minute runs: the timer and the tick,
// the minute gate, the clock, the look at the data file and the tray check. The compiler gives them
// one section, so a wake after a minute's sleep brings in a page or two of Plumora's code (and
// their address translations) rather than a page for each function. A file that holds such a
// function is listed in src/CMakeLists.txt among the idle path's files, which call the libraries
// without PLT stubs.
#define PLUMORA_IDLE_PATH [[gnu::hot]]
