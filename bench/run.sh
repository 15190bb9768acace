#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every performance figure of Plumora in one table, each beside its budget.
#
# Whole program, beside a bare Qt program that only shows a tray icon, on a private X server
# with a tray: time from start to the icon docked (interleaved runs), resident memory after
# 10 s, and processor time per idle minute from the scheduler's accounting of every thread
# (the median minute, and the mean), with every minute job in place (mail check on but not
# due, reminder not due, folder tracking, no due entries), and then in the default
# configuration (a data file fresh from the template, nothing switched on); beside each the
# bare program once more, waking each minute as the least a once-a-minute program costs on
# this machine, started with it and through the same minutes. The same idle minutes of
# Plumora and of the bare program waking each minute once more under callgrind, which counts
# alike on every machine: instructions, the cache lines a small cold cache misses and the pages
# of code run (the processor time of one short wake a minute scatters by up to half between
# minutes on a virtual machine). Before that, through two more minutes of the default
# configuration, the pages of its own memory each program's idle wake touches. In process: the
# Google Benchmark programs of this folder.
#
# Usage: bench/run.sh BUILD_DIR [STARTS] [IDLE_MINUTES]   (idle minutes of each configuration)
# With BENCH_PROGRAM_ONLY=1 only the whole-program rows are measured.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
starts=${2:-20}
idle_minutes=${3:-8}
# The callgrind count is the same in every minute: two suffice.
counted_minutes=2
bench="$build/bench"
source "$(dirname "$0")/../tests/e2e/lib.sh"
e2e_start_desktop

program=$(e2e_program_folder "$build/bin/plumora" "$build/bin/data.src")
cp "$bench/bare_tray" "$program/"
data="$program/data.plm"

# Not a first run: the first start opens the help once, which is not what is measured.
warm_up() {
    "$1/plumora" >/dev/null 2>&1 &
    local pid=$!
    wait_for 15 test -f "$1/data.plm" || fail "Plumora made no data file in $1"
    sleep 1
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}
# The default configuration: a data file fresh from the template, nothing switched on.
default_program="$E2E_DIR/program-default"
mkdir -p "$default_program"
cp "$program/plumora" "$program/data.src" "$program"/libplumora_*.so "$default_program/"
warm_up "$default_program"
warm_up "$program"
# Every minute job in place and none due within the measured minutes.
sqlite3 "$data" "UPDATE System SET CheckMail = -1, MailUser = 'ann', MailPOP3 = 'pop.invalid',
                 CheckMailMin = 60, ShowEvery = 60, Lastupdate = date('now', 'localtime')"

# dock_time prints "PID WALL_MS CPU_MS" and leaves the program running.
dock() { "$bench/dock_time" "$(tray_panel)" "$1" "${2:-$program/$1}"; }
stop() { kill "$1" 2>/dev/null || true; while kill -0 "$1" 2>/dev/null; do sleep 0.05; done; }
# Processor time in ms of every thread of a process.
cpu_ms() { cat /proc/"$1"/task/*/schedstat | awk '{ ns += $1 } END { printf "%.3f", ns / 1e6 }'; }
rss_mib() { awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }

declare -A sum best
for name in bare_tray plumora; do sum[$name]=0 best[$name]=999999; done
for _ in $(seq "$starts"); do
    for name in bare_tray plumora; do
        read -r pid ms _ < <(dock "$name")
        [ "$ms" != -1 ] || fail "$name docked no icon"
        sum[$name]=$(awk -v a="${sum[$name]}" -v b="$ms" 'BEGIN { print a + b }')
        best[$name]=$(awk -v a="${best[$name]}" -v b="$ms" 'BEGIN { print (b < a) ? b : a }')
        stop "$pid"
        sleep 0.3
    done
done

# `plumora --capture` in a shell to the frozen screen on show, the running copy's main window
# closed (as it is most of the time): the command hands the action over and ends.
capture_sum=0 capture_best=999999 capture_runs=10
read -r capture_pid _ _ < <(dock plumora)
for _ in $(seq "$capture_runs"); do
    read -r ms status < <("$bench/window_time" "Screen Capture" "$program/plumora" --capture) ||
        fail "plumora --capture showed no frozen screen"
    [ "$status" = 0 ] || fail "plumora --capture ended with $status"
    capture_sum=$((capture_sum + ms))
    capture_best=$((ms < capture_best ? ms : capture_best))
    # Esc cancels; the main window it brings back is closed again.
    xdotool key Escape
    wait_for 10 has_keyboard '^Plumora$' || fail "the main window did not come back after the capture"
    xdotool key alt+F4
    wait_for 10 sh -c '! xdotool search --onlyvisible --name "^Plumora$"' ||
        fail "the main window did not close"
done
stop "$capture_pid"

declare -A rss rss_tick idle idle_mean pids ir lines pages
# Each program wakes alone, as it does on a user's desktop: the first process to wake after a
# minute's sleep pays for bringing the shared libraries' code back into the cache, and one that
# wakes just after it finds it there, at about half the cost. Plumora wakes just after each
# minute begins, the bare program waking each minute half a minute later; the two Plumora
# configurations, which wake at the same moment, take turns: every minute job first, then the
# default configuration, each beside a bare program started with it. A process's idle wake
# grows cheaper as it ages (the bare program's to half after ten minutes here), so the two
# compared are of the same age. Side by side because on a virtual
# machine one process's wake costs up to half more in one minute than in the next, and a minute
# in which the host takes the caches back costs every process several times its usual. Each
# minute is read a quarter of the way in, away from both wakes; the median minute is judged
# and the mean shown beside it.
bare_wake_ms=30200
start() { # NAME
    local pid
    case $1 in
    default) read -r pid _ _ < <(dock plumora "$default_program/plumora") ;;
    bare_minute)
        read -r pid _ _ < <(BARE_TRAY_MINUTE=1 BARE_TRAY_WAKE_MS=$bare_wake_ms dock bare_tray)
        ;;
    *) read -r pid _ _ < <(dock "$1") ;;
    esac
    pids[$1]=$pid
}
# "MEDIAN MEAN" of the idle minutes of each NAME, into idle and idle_mean under KEY.NAME.
measure_idle() { # KEY NAME...
    local key=$1 name now
    shift
    declare -A before minutes
    sleep $((75 - 10#$(date +%S)))
    for name in "$@"; do before[$name]=$(cpu_ms "${pids[$name]}") minutes[$name]=; done
    for _ in $(seq "$idle_minutes"); do
        sleep $((75 - 10#$(date +%S)))
        for name in "$@"; do
            now=$(cpu_ms "${pids[$name]}")
            minutes[$name]+=" $(awk -v a="${before[$name]}" -v b="$now" 'BEGIN { print b - a }')"
            before[$name]=$now
        done
    done
    for name in "$@"; do
        read -r idle[$key.$name] idle_mean[$key.$name] < <(tr ' ' '\n' <<<"${minutes[$name]}" |
            sed '/^$/d' | sort -g | awk '{ v[NR] = $1; s += $1 }
                END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
                      printf "%.3f %.3f\n", m, s / NR }')
    done
}
# Started just after a minute begins, so the memory is read before the first tick: that tick's
# mail check (due at once after a start) loads the network and TLS libraries, which a start
# that happens to cross a minute would count at random.
sleep $((61 - 10#$(date +%S)))
for name in bare_tray bare_minute plumora; do start "$name"; done
sleep 10
for name in bare_tray plumora; do rss[$name]=$(rss_mib "${pids[$name]}"); done
# The first tick runs what the start made due (the mail check is due at once) and what
# follows from it within its minute: the idle minutes are the ones after it.
sleep $((61 - 10#$(date +%S)))
rss_tick[plumora]=$(rss_mib "${pids[plumora]}")
measure_idle every plumora bare_minute bare_tray
stop "${pids[plumora]}"
stop "${pids[bare_minute]}"
start default
start bare_minute
sleep $((61 - 10#$(date +%S)))
rss_tick[default]=$(rss_mib "${pids[default]}")
measure_idle default default bare_minute

# The pages of its own memory a wake touches, each one more walk of the page tables after a
# minute's sleep: the referenced pages (smaps) of the heap, the stacks and other anonymous
# memory and the program's own files, cleared and read a quarter of the way into each minute,
# so that each program's one wake falls between. The libraries' pages and shared mappings (the
# font cache) are left out: other processes touch them too. The fewest of the minutes counts,
# so a one-off (a symbol bound at its first call) does not.
declare -A touched touched_heap
own_pages() { # PID: "ALL HEAP" in pages
    awk '/^[0-9a-f]+-[0-9a-f]+ / { skip = $6 ~ /^\/usr\// || $2 ~ /s$/; heap = $6 == "[heap]" }
        /^Referenced:/ && !skip { all += $2; if (heap) h += $2 }
        END { printf "%d %d\n", all / 4, h / 4 }' "/proc/$1/smaps"
}
sleep $((75 - 10#$(date +%S)))
for name in default bare_minute; do echo 1 >"/proc/${pids[$name]}/clear_refs"; done
for _ in $(seq "$counted_minutes"); do
    sleep $((75 - 10#$(date +%S)))
    for name in default bare_minute; do
        read -r all heap < <(own_pages "${pids[$name]}")
        echo 1 >"/proc/${pids[$name]}/clear_refs"
        if [ -z "${touched[$name]:-}" ] || [ "$all" -lt "${touched[$name]}" ]; then
            touched[$name]=$all touched_heap[$name]=$heap
        fi
    done
done
for name in bare_tray bare_minute default; do stop "${pids[$name]}"; done

# The idle minutes counted under callgrind, both programs at once (each counts only its own):
# counting from the middle of the minute after the first tick, a whole process, every thread.
# A 4 KiB cache, as cold as a minute's sleep leaves the real one, counts the lines a wake
# brings in; the pages of code it runs are as many address translations, each a walk of the
# page tables after that sleep.
callgrind=(valgrind --tool=callgrind --cache-sim=yes --I1=4096,2,64 --D1=4096,2,64
    --LL=8192,2,64 --dump-instr=yes)
sleep $((61 - 10#$(date +%S)))
"${callgrind[@]}" --callgrind-out-file="$E2E_DIR/count.plumora" "$program/plumora" \
    >/dev/null 2>&1 &
counted_plumora=$!
BARE_TRAY_MINUTE=1 "${callgrind[@]}" --callgrind-out-file="$E2E_DIR/count.bare" \
    "$program/bare_tray" >/dev/null 2>&1 &
counted_bare=$!
sleep $((61 - 10#$(date +%S) + 90))
callgrind_control -z "$counted_plumora" >/dev/null 2>&1
callgrind_control -z "$counted_bare" >/dev/null 2>&1
sleep $((counted_minutes * 60))
callgrind_control -d "$counted_plumora" >/dev/null 2>&1
callgrind_control -d "$counted_bare" >/dev/null 2>&1
wait_for 30 test -s "$E2E_DIR/count.plumora.1" -a -s "$E2E_DIR/count.bare.1" ||
    fail "callgrind wrote no counts"
stop "$counted_plumora"
stop "$counted_bare"
# "INSTRUCTIONS LINES" per minute: the summary's Ir, and its last-level misses.
counts() {
    awk -v m="$counted_minutes" '/^events:/ { for (i = 2; i <= NF; ++i) col[$i] = i }
        /^summary:/ { printf "%d %d\n", $col["Ir"] / m,
                      ($col["ILmr"] + $col["DLmr"] + $col["DLmw"]) / m }' "$1"
}
read -r ir[plumora] lines[plumora] < <(counts "$E2E_DIR/count.plumora.1")
read -r ir[bare] lines[bare] < <(counts "$E2E_DIR/count.bare.1")
pages[plumora]=$(python3 "$(dirname "$0")/code_pages.py" "$E2E_DIR/count.plumora.1")
pages[bare]=$(python3 "$(dirname "$0")/code_pages.py" "$E2E_DIR/count.bare.1")

# The in-process figures: "name min_ms mean_ms memory_mib" per benchmark.
figures=$(mktemp)
in_process="bench_tick bench_calendar bench_notes bench_capture bench_scheduler bench_quickaccess
            bench_icalendar bench_caldav bench_translations"
[ "${BENCH_PROGRAM_ONLY:-0}" = 1 ] && in_process=
for b in $in_process; do
    QT_QPA_PLATFORM=offscreen "$bench/$b" --benchmark_format=json 2>/dev/null |
        jq -r '.benchmarks[]
               | if .error_occurred then [(.run_name | split("/")[0]), "error", 0, 0]
                 elif .aggregate_name == "mean" or .aggregate_name == "min"
                 then [(.run_name | split("/")[0]), .aggregate_name, .real_time, (.memory_mib // 0)]
                 else empty end | @tsv' >>"$figures"
done
figure() { awk -v n="$1" -v a="$2" -v f="$3" '$1 == n && $2 == a { print $f; exit }' "$figures"; }

row() { printf '%-44s %-26s %-22s %s\n' "$1" "$2" "$3" "$4"; }
holds() { awk "BEGIN { exit !($1) }" && echo yes || echo NO; }
timed() { # NAME BENCH BUDGET_MS
    local mean min
    mean=$(figure "$2" mean 3) min=$(figure "$2" min 3)
    if [ -n "$(figure "$2" error 3)" ] || [ -z "$mean" ]; then
        row "$1" "failed" "< $3 ms" NO
        return
    fi
    row "$1" "$(printf '%.3f / %.3f ms' "$mean" "$min")" "< $3 ms" "$(holds "$mean < $3")"
}

ratio_mean=$(awk -v p="${sum[plumora]}" -v b="${sum[bare_tray]}" 'BEGIN { printf "%.2f", p / b }')
ratio_best=$(awk -v p="${best[plumora]}" -v b="${best[bare_tray]}" 'BEGIN { printf "%.2f", p / b }')
mean_ms() { awk -v s="${sum[$1]}" -v n="$starts" 'BEGIN { printf "%.0f", s / n }'; }
row "figure" "Plumora (mean / best)" "budget" "holds"
row "start-up to icon docked, $starts runs" \
    "$(mean_ms plumora) / ${best[plumora]} ms" "<= 1.10 x bare" "$(holds "$ratio_mean <= 1.10")"
row "  bare tray program" "$(mean_ms bare_tray) / ${best[bare_tray]} ms" \
    "ratio $ratio_mean / $ratio_best" ""
row "resident memory after 10 s" "${rss[plumora]} MiB" "<= bare + 5 MiB" \
    "$(holds "${rss[plumora]} <= ${rss[bare_tray]} + 5")"
row "  bare tray program" "${rss[bare_tray]} MiB" "" ""
row "plumora --capture to frozen screen, $capture_runs runs" \
    "$((capture_sum / capture_runs)) / $capture_best ms" "< 300 ms" \
    "$(holds "$capture_sum / $capture_runs < 300")"
row "  after the first tick (mail check due)" "${rss_tick[plumora]} MiB" "" ""
row "  default configuration, after first tick" "${rss_tick[default]} MiB" "" ""
# An idle minute beside the least a once-a-minute program costs on the same machine in the
# same run: a bare program that does nothing at all is no fair yardstick for one with a tick.
idle_row() { # LABEL KEY NAME
    local budget
    budget=$(awk -v b="${idle[$2.bare_minute]}" 'BEGIN { printf "%.3f", b * 1.10 }')
    row "$1" "${idle[$2.$3]} / ${idle_mean[$2.$3]} ms" "<= 1.10 x bare waking" \
        "$(holds "${idle[$2.$3]} <= $budget")"
    row "  bare tray program waking each minute" \
        "${idle[$2.bare_minute]} / ${idle_mean[$2.bare_minute]} ms" "= $budget ms" ""
}
idle_row "idle minute alone, $idle_minutes (median / mean)" every plumora
idle_row "  default configuration, $idle_minutes more" default default
row "  bare tray program" "${idle[every.bare_tray]} / ${idle_mean[every.bare_tray]} ms" "" ""
row "own pages a default idle wake touches (heap)" \
    "${touched[default]} (${touched_heap[default]})" "" ""
row "  bare tray program waking each minute" \
    "${touched[bare_minute]} (${touched_heap[bare_minute]})" "" ""
row "idle minute counted, instructions / lines" "${ir[plumora]} / ${lines[plumora]}" \
    "<= 1.10 x bare waking" \
    "$(holds "${ir[plumora]} <= 1.10 * ${ir[bare]} && ${lines[plumora]} <= 1.10 * ${lines[bare]}")"
row "  bare tray program waking each minute" "${ir[bare]} / ${lines[bare]}" \
    "$(awk -v p="${ir[plumora]}" -v b="${ir[bare]}" -v q="${lines[plumora]}" -v c="${lines[bare]}" \
        'BEGIN { printf "ratio %.2f / %.2f", p / b, q / c }')" ""
row "idle minute counted, pages of code run" "${pages[plumora]}" "<= 1.10 x bare waking" \
    "$(holds "${pages[plumora]} <= 1.10 * ${pages[bare]}")"
row "  bare tray program waking each minute" "${pages[bare]}" \
    "$(awk -v p="${pages[plumora]}" -v b="${pages[bare]}" 'BEGIN { printf "ratio %.2f", p / b }')" ""
if [ -z "$in_process" ]; then
    rm -f "$figures"
    exit 0
fi
timed "tick over 1,000 due entries" tick_1000 1
timed "idle tick, every minute job in place" idle_tick 1
timed "month redraw, 10,000 events" month_redraw_10000 8
timed "calendar open, 100,000 events" calendar_open_100000 150
memory=$(figure calendar_open_100000 mean 4)
memory=$(printf '%.1f' "${memory:-99}")
row "  memory growth of that open" "$memory MiB" "<= 10 MiB" "$(holds "$memory <= 10")"
timed "Quick Notes open, 200 notes" notes_open_200 150
timed "capture to stored row, 1920 x 1080" capture_store 200
timed "  two 1920 x 1080 monitors, whole desktop" capture_store_two_monitors 300
timed "schedule window, 1,000 entries" schedule_open_1000 100
timed "recent-files scan, 1,000,000 bookmarks" recent_files_scan_1m 2000
timed "  the tick's part in folder tracking over it" folders_pass_large_list 50
timed "note of 160,000 colour runs read (the reader alone)" rtf_read_160k_runs 500
timed "  40,000 of them (linear: a quarter)" rtf_read_40k_runs 125
timed "Quick Notes button to card on screen, note of 160,000 colour runs" notes_open_160k_runs 1000
timed "  40,000 of them (linear: a quarter)" notes_open_40k_runs 250
timed "iCalendar import, 10,000 events" ics_import_10000 1000
timed "iCalendar export, 10,000 events" ics_export_10000 500
timed "iCalendar unchanged re-import, 10,000" ics_reimport_10000 300
timed "100 events every second (read)" ics_secondly_100 250
timed "the densest rule of one event (read)" ics_densest_event 50
timed "2,000 events of 1,000 days (import)" ics_daily_2000 1500
timed "translations at start, LANG=de_DE.UTF-8 (Plumora's and Qt's .qm)" translations_load_de 2
timed "  English, no file looked for" translations_load_en 2
timed "calendar sync, first of 5,000 (Radicale)" caldav_first_sync_5000 15000
timed "calendar sync, nothing changed (1 request)" caldav_unchanged_sync_5000 100
timed "  Plumora's part (server answering at once)" caldav_unchanged_sync_5000_own_share 100
rm -f "$figures"
