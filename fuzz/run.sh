#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds one fuzz target with clang and runs it for a bounded time.
# usage: run.sh SOURCE_DIR WORK_DIR TARGET SEED_WRITER [SECONDS]
#   TARGET is a target of fuzz/CMakeLists.txt; SEED_WRITER the mkfuzzseeds tool, which
#   writes the target's sample files as the starting corpus, or a test program (tst_*)
#   whose writeSeedCorpus case does.
# Exit 77 (skipped) when clang or libFuzzer is missing; 1 when the fuzzer finds a fault.
set -euo pipefail
src=$1 work=$2 target=$3 seeder=$4 seconds=${5:-20}

cxx=${FUZZ_CXX:-$(command -v clang++ || true)}
if [ -z "$cxx" ]; then
    echo "clang++ not found (Debian: clang): fuzzing skipped"
    exit 77
fi
mkdir -p "$work"
probe=$work/probe.cpp
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' >"$probe"
if ! "$cxx" -fsanitize=fuzzer,address "$probe" -o "$work/probe" >"$work/probe.log" 2>&1; then
    echo "libFuzzer not available to $cxx (Debian: libclang-rt-14-dev): fuzzing skipped"
    cat "$work/probe.log"
    exit 77
fi

mkdir -p "$work/seeds" "$work/corpus"
if [[ $(basename "$seeder") == tst_* ]]; then
    QT_QPA_PLATFORM=offscreen PLUMORA_FUZZ_SEEDS="$work/seeds" "$seeder" writeSeedCorpus >/dev/null
else
    QT_QPA_PLATFORM=offscreen "$seeder" "$target" "$work/seeds"
fi

if ! cmake -S "$src/fuzz" -B "$work/build" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$work/configure.log" 2>&1; then
    cat "$work/configure.log"
    exit 1
fi
cmake --build "$work/build" -j2 --target "$target"

# libFuzzer's own failure code is 77 too; any failure of the run is a fault here.
if ! "$work/build/$target" "$work/corpus" "$work/seeds" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$work/"; then
    echo "the fuzzer found a fault; the input is in $work"
    exit 1
fi
