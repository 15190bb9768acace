#!/usr/bin/env bash
# Builds one of the readers' fuzz targets with clang and runs it for a bounded time.
# usage: run.sh SOURCE_DIR WORK_DIR SEED_WRITER [SECONDS [TARGET [SEED_VARIABLE]]]
#   TARGET defaults to fuzz_iconfile, SEED_VARIABLE to PLUMORA_ICON_SEEDS. SEED_WRITER is
#   the target's test (tst_iconfile), which leaves its sample files in the folder named by
#   SEED_VARIABLE as the corpus.
# Exit 77 (skipped) when clang or libFuzzer is missing; 1 when the fuzzer finds a fault.
set -euo pipefail
src=$1 work=$2 seeder=$3 seconds=${4:-20} target=${5:-fuzz_iconfile}
seedvar=${6:-PLUMORA_ICON_SEEDS}

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

run=$work/$target
mkdir -p "$run/seeds" "$run/corpus"
env "$seedvar=$run/seeds" QT_QPA_PLATFORM=offscreen "$seeder" writeSeedCorpus >/dev/null

if ! cmake -S "$src/fuzz" -B "$work/build" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$work/configure.log" 2>&1; then
    cat "$work/configure.log"
    exit 1
fi
cmake --build "$work/build" -j2 --target "$target"

# libFuzzer's own failure code is 77 too; any failure of the run is a fault here.
if ! "$work/build/$target" "$run/corpus" "$run/seeds" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$run/"; then
    echo "the fuzzer found a fault; the input is in $run"
    exit 1
fi
