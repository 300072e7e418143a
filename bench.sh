#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the benchmarks (Release, build-bench) and runs them all: the game logic, painting,
# the game kept after a move, the settings file, the timer-tick repaint check, the best-score window beside a game and the
# start-up measurement against a bare Qt window, and with a settings file that holds another
# program's key of 1k to 1M values. Prints one table: item, measured, budget, verdict. Exits 1
# when a budget is missed.
#
# Start-up: the bare window, the bare window with the main window's texts in its fonts (the
# floor any program drawing them starts from) and the program are started in turns under a
# private Xvfb, each time from a fresh copy of its folder with a fresh configuration folder.
# orbilo_mapwait starts it and reports the time from process start to its first frame (the
# drawing the X server reports after the window is mapped) and the processor time used by
# then; /usr/bin/time reports the peak memory. The program is closed through its menu (File,
# Exit), the two yardsticks close themselves 100 ms after showing. Medians are compared.
#
# Large settings files: the game's own keys, as a first run writes them, followed by another
# program's key of 1,000, 10,000, 100,000 and 1,000,000 values (orbilo_foreign_key), and the
# game's keys alone (the small file every ratio is taken against). The files are made before
# the measured starts and none of them changes a file (nothing is changed, so nothing is
# written at close), so every start meets its file as an ordinary start does: written a
# while before. A settings save (the options dialog's OK, every value changed) is timed in
# the settings file benchmark, and run once more on copies of the small file and the one of
# a million values in a process of its own (orbilo_settings_save) for its peak memory.
#   RUNS=7 ./bench.sh       start-up runs per program (median taken), 7 by default
#   MIN_TIME=0.1 ./bench.sh  seconds each benchmark runs per repetition
#
# ./bench.sh solver runs only the best-score analysis over deals of every board size and the
# record table's (bench/SolverBench.cpp says what it measures and its variables); it takes
# most of an hour with its defaults (20 deals per size, exact searches capped at 60 s):
#   SOLVER_SEEDS=5 SOLVER_DEALS=1-5 ./bench.sh solver   a quicker look
#
# ./bench.sh records searches every deal of the record table (bench/records.tsv, the yardstick
# of the solver's full boards) not yet proven, RECORD_SECONDS (600) each with the seed
# RECORD_SEED (the clock by default), and raises a record whenever it finds better; further
# arguments go to orbilo_record_search (--sizes 10x12, --deals 3,7).
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD
. tools/deps.sh
orbilo_install_deps time libxcb1-dev libxcb-damage0-dev

runs=${RUNS:-7}
min_time=${MIN_TIME:-0.1}
dir=build-bench
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORBILO_BUILD_BENCH=ON -DORBILO_BUILD_TESTS=OFF >/dev/null
bin=$root/$dir/bin
if [ "${1:-}" = records ]; then
    cmake --build "$dir" -j2 --target orbilo_record_search
    shift
    echo "Searching the record table's deals; records are raised in bench/records.tsv as they are found..."
    exec "$bin/orbilo_record_search" --seconds "${RECORD_SECONDS:-600}" --seed "${RECORD_SEED:-$(date +%s)}" "$@" \
        bench/records.tsv
fi
if [ "${1:-}" = solver ]; then
    cmake --build "$dir" -j2 --target orbilo_solver_bench
    echo "Running the best-score analysis over seeded deals (progress on stderr)..."
    exec "$bin/orbilo_solver_bench"
fi
cmake --build "$dir" -j2 --target orbilo orbilo_sound_qt default_tables orbilo_engine_bench orbilo_solvable_bench \
    orbilo_paint_bench orbilo_registry_bench orbilo_savedgame_bench orbilo_foreign_key orbilo_settings_save \
    orbilo_tick_check orbilo_analysis_check orbilo_bare_window orbilo_text_window orbilo_mapwait
bin=$root/$dir/bin

work=$(mktemp -d)
xpid=""
cleanup() {
    [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

rows=()
failed=0
# row ITEM MEASURED BUDGET VERDICT
row() {
    rows+=("$1|$2|$3|$4")
    [ "$4" = "MISSED" ] && failed=1
    return 0
}

# --- benchmarks -----------------------------------------------------------------------------
# Each runs three repetitions; the median's real time is taken, in microseconds.
run_bench() {
    "$bin/$1" --benchmark_min_time="$min_time" --benchmark_repetitions=3 \
        --benchmark_report_aggregates_only=true --benchmark_color=false 2>/dev/null |
        awk '$1 ~ /_median$/ {
                 t = $2; u = $3
                 if (u == "ns") t /= 1000; else if (u == "ms") t *= 1000; else if (u == "s") t *= 1000000
                 name = $1; sub(/_median$/, "", name)
                 printf "%s %.3f\n", name, t
             }'
}
echo "Running the engine benchmarks..."
run_bench orbilo_engine_bench >"$work/engine.txt"
run_bench orbilo_solvable_bench >>"$work/engine.txt"
echo "Running the paint benchmarks..."
XDG_CONFIG_HOME="$work/paint-config" run_bench orbilo_paint_bench >"$work/paint.txt"
echo "Running the saved-game benchmark..."
run_bench orbilo_savedgame_bench >"$work/savedgame.txt"
echo "Running the settings file benchmarks..."
run_bench orbilo_registry_bench >"$work/registry.txt"

us() { awk -v n="$1" '$1 == n { print $2 }' "$2"; }
fmt_us() { awk -v t="$1" 'BEGIN { if (t >= 1000) printf "%.2f ms", t / 1000; else printf "%.2f us", t }'; }

engine_item() {
    local t
    t=$(us "$1" "$work/engine.txt")
    if [ -n "$t" ]; then row "$2" "$(fmt_us "$t")" "-" "info"; else row "$2" "none" "-" "MISSED"; fi
}
engine_item BM_DealSmall "engine: deal 3x4"
engine_item BM_DealFull "engine: deal 10x12"
engine_item BM_FindMoveFull/0 "engine: FindMove, full board"
engine_item BM_FindMoveFull/1 "engine: FindMove, full board, no move"
engine_item BM_RemovePair "engine: one removal (left pair)"
engine_item BM_Undo "engine: one undo"
engine_item BM_WholeGame "engine: whole seeded game 10x12"
engine_item BM_SolvableBuild/10/12 "engine: clearable 10x12 board, built alone"

# budget_item NAME ITEM BUDGET_US BUDGET_TEXT [FILE]: a measured item with a budget (none when
# BUDGET_US is empty), from the paint results or from FILE's.
budget_item() {
    local t budget_us=$3 budget_text=$4
    t=$(us "$1" "$work/${5:-paint}.txt")
    if [ -z "$t" ]; then
        row "$2" "none" "$budget_text" "MISSED"
    elif [ -z "$budget_us" ]; then
        row "$2" "$(fmt_us "$t")" "-" "info"
    elif awk -v t="$t" -v b="$budget_us" 'BEGIN { exit !(t < b) }'; then
        row "$2" "$(fmt_us "$t")" "$budget_text" "ok"
    else
        row "$2" "$(fmt_us "$t")" "$budget_text" "MISSED"
    fi
}
budget_item BM_SolvableDealFull "engine: clearable 10x12 deal through the game" 5000 "< 5 ms" engine
budget_item BM_KeepGameOnTheWindowThread "saved game after a move, 10x12, 30 moves: window's thread" 2000 "< 2 ms" savedgame
budget_item BM_KeepGameWrite/real_time "saved game after a move: the keeper thread's synced write" "" "" savedgame
budget_item BM_PaintAllTiles "paint: all 120 tiles" 2000 "< 2 ms"
budget_item BM_PaintBoardPanel "paint: board panel of the main window" 2000 "< 2 ms"
budget_item BM_PaintOneTile "paint: one tile" "" ""
for n in 1000 10000 100000 1000000; do
    budget_item "BM_RegistryFirstRead/$n" "settings file, $n values in another key: first read" "" "" registry
    budget_item "BM_RegistryRead/$n" "settings file, $n values in another key: a later read" "" "" registry
    budget_item "BM_RegistryParse/$n" "settings file, $n values in another key: whole parse (a change)" "" "" registry
done
# A settings save with a million values in another key, beside the same save on the game's
# keys alone.
save_small=$(us BM_RegistrySave/0/real_time "$work/registry.txt")
save_big=$(us BM_RegistrySave/1000000/real_time "$work/registry.txt")
if [ -n "$save_small" ] && [ -n "$save_big" ]; then
    text=$(awk -v b="$save_big" -v s="$save_small" 'BEGIN { printf "%.0f ms vs %.1f ms small file = %.1f x", b / 1000, s / 1000, b / s }')
    if awk -v b="$save_big" 'BEGIN { exit !(b < 1000000) }'; then verdict=ok; else verdict=MISSED; fi
    row "settings save, 1000000 values in another key" "$text" "< 1 s" "$verdict"
else
    row "settings save, 1000000 values in another key" "none" "< 1 s" "MISSED"
fi

echo "Checking what a timer tick repaints..."
tick=$(XDG_CONFIG_HOME="$work/tick-config" "$bin/orbilo_tick_check" 2>/dev/null || true)
tick_paints=$(sed -n 's/.*tile_paints=\([0-9]*\).*/\1/p' <<<"$tick")
tick_first=$(sed -n 's/.*first_tick_paints=\([0-9]*\).*/\1/p' <<<"$tick")
tick_control=$(sed -n 's/.*control_paints=\([0-9]*\).*/\1/p' <<<"$tick")
tick_count=$(sed -n 's/^ticks=\([0-9]*\).*/\1/p' <<<"$tick")
if [ -n "$tick_paints" ] && [ "$tick_paints" = 0 ] && [ "$tick_first" = 0 ] && [ "${tick_control:-0}" -gt 0 ]; then
    row "timer tick: tiles repainted" "0 in $((tick_count + 1)) ticks" "0" "ok"
else
    row "timer tick: tiles repainted" "${tick:-no result}" "0" "MISSED"
fi

echo "Checking the best-score window beside a game..."
analysis=$(XDG_CONFIG_HOME="$work/analysis-config" "$bin/orbilo_analysis_check" 2>/dev/null || true)
analysis_value() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" <<<"$analysis"; }
first_ms=$(analysis_value first_result_ms)
click_max=$(analysis_value click_max_ms)
click_p95=$(analysis_value click_p95_ms)
click_median=$(analysis_value click_median_ms)
idle_max=$(analysis_value idle_max_ms)
busy=$(analysis_value busy)
# ms_row ITEM MS BUDGET_MS [TEXT]
ms_row() {
    if [ -z "$2" ]; then
        row "$1" "${analysis:-no result}" "< $3 ms" "MISSED"
    elif awk -v t="$2" -v b="$3" 'BEGIN { exit !(t < b) }'; then
        row "$1" "${4:-$2 ms}" "< $3 ms" "ok"
    else
        row "$1" "${4:-$2 ms}" "< $3 ms" "MISSED"
    fi
}
ms_row "best-score window: opened with its first result" "$first_ms" 100
if [ "$busy" = 1 ]; then
    ms_row "best-score window: board repainted after a click, search busy (95%)" "$click_p95" 16 \
        "$click_p95 ms; median $click_median, max $click_max (no search: max $idle_max)"
else
    row "best-score window: board repainted after a click, search busy (95%)" "${analysis:-no result}" "< 16 ms" "MISSED"
fi

# --- start-up ---------------------------------------------------------------------------------
echo "Measuring start-up ($runs runs each under Xvfb)..."
# -noreset: the server would reset whenever the last program left, and the next start could
# fall into that moment.
: >"$work/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/displayfd" >/dev/null 2>&1 &
xpid=$!
display=""
for _ in $(seq 100); do
    display=$(tr -d '\n' <"$work/displayfd")
    [ -n "$display" ] && break
    sleep 0.1
done
[ -n "$display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"

# start_once KIND RUN [CONFIG OUT]: one start of the bare window ("bare"), the bare window
# with the main window's texts ("text") or the program ("game") from a fresh program folder
# and a fresh configuration folder, or the configuration folder CONFIG. Appends
# "ms kB how mapped cpu" to KIND.txt, or to OUT.txt.
start_once() {
    local kind=$1 n=$2
    local run="$work/$kind-$n"
    local config=${3:-$run/config} out=${4:-$kind}
    mkdir -p "$run/prog" "$config"
    local exe title
    if [ "$kind" = bare ]; then
        cp "$bin/orbilo_bare_window" "$run/prog/"
        exe="$run/prog/orbilo_bare_window"
        title=OrbiloBareWindow
    elif [ "$kind" = text ]; then
        cp "$bin/orbilo_text_window" "$run/prog/"
        exe="$run/prog/orbilo_text_window"
        title=OrbiloTextWindow
    else
        cp "$bin/orbilo" "$bin"/liborbilo_sound_qt.so "$run/prog/"
        cp "$bin"/SG?.dat "$run/prog/" 2>/dev/null || true
        exe="$run/prog/orbilo"
        title=OrbiloVer1.10
    fi
    : >"$run/wait.out"
    XDG_CONFIG_HOME="$config" "$bin/orbilo_mapwait" "$title" -- \
        /usr/bin/time -v -o "$run/time.txt" "$exe" >"$run/wait.out" 2>"$run/wait.err" &
    local wpid=$!
    local shown=""
    for _ in $(seq 600); do
        shown=$(sed -n 's/^shown_ms=\([0-9.]*\).*/\1/p' "$run/wait.out")
        [ -n "$shown" ] && break
        kill -0 "$wpid" 2>/dev/null || break
        sleep 0.05
    done
    local mapped cpu
    mapped=$(sed -n 's/^mapped_ms=\([0-9.]*\).*/\1/p' "$run/wait.out")
    cpu=$(sed -n 's/^shown_ms=.* cpu_ms=\([0-9.]*\).*/\1/p' "$run/wait.out")
    local how=self
    if [ "$kind" = game ] && [ -n "$shown" ]; then
        # Close through the menu as a player would: File, Exit.
        local wid
        wid=$(sed -n 's/.* window=\([0-9]*\) .*/\1/p' "$run/wait.out")
        how=menu
        xdotool windowfocus --sync "$wid" key alt+f >/dev/null 2>&1 || how=term
        sleep 0.3
        xdotool key x >/dev/null 2>&1 || how=term
    fi
    local ended=""
    for _ in $(seq 100); do
        kill -0 "$wpid" 2>/dev/null || { ended=1; break; }
        sleep 0.05
    done
    if [ -z "$ended" ]; then
        # The menu did not close it: end the program itself (the child of time).
        how=term
        local tpid
        tpid=$(sed -n 's/.* pid=\([0-9]*\).*/\1/p' "$run/wait.out")
        [ -n "$tpid" ] && pkill -TERM -P "$tpid" 2>/dev/null
        wait "$wpid" 2>/dev/null || true
    else
        wait "$wpid" 2>/dev/null || true
    fi
    local kb
    kb=$(sed -n 's/.*Maximum resident set size (kbytes): *\([0-9]*\).*/\1/p' "$run/time.txt" 2>/dev/null)
    if [ -n "$shown" ] && [ -n "$kb" ]; then
        echo "$shown $kb $how $mapped $cpu" >>"$work/$out.txt"
    else
        echo "start of $kind failed: $(cat "$run/wait.out" "$run/wait.err" 2>/dev/null | tr '\n' ' ')" >&2
    fi
    rm -rf "$run"
}

# One start of each first, not counted, so both find their libraries in the page cache.
start_once bare 0
start_once text 0
start_once game 0
: >"$work/bare.txt"
: >"$work/text.txt"
: >"$work/game.txt"
for n in $(seq "$runs"); do
    start_once bare "$n"
    start_once text "$n"
    start_once game "$n"
done

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) exit; if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
bare_ms=$(cut -d' ' -f1 "$work/bare.txt" | median)
game_ms=$(cut -d' ' -f1 "$work/game.txt" | median)
text_ms=$(cut -d' ' -f1 "$work/text.txt" | median)
bare_kb=$(cut -d' ' -f2 "$work/bare.txt" | median)
game_kb=$(cut -d' ' -f2 "$work/game.txt" | median)
text_kb=$(cut -d' ' -f2 "$work/text.txt" | median)
closed=$(awk '$3 == "menu"' "$work/game.txt" | wc -l)
counted=$(wc -l <"$work/game.txt")
bare_map=$(cut -d' ' -f4 "$work/bare.txt" | median)
game_map=$(cut -d' ' -f4 "$work/game.txt" | median)
bare_cpu=$(cut -d' ' -f5 "$work/bare.txt" | median)
game_cpu=$(cut -d' ' -f5 "$work/game.txt" | median)
echo "Start-up runs (first frame ms, peak kB, how closed, window mapped ms, processor ms to the first frame):"
sed 's/^/  bare window: /' "$work/bare.txt"
sed 's/^/  with texts:  /' "$work/text.txt"
sed 's/^/  program:     /' "$work/game.txt"
echo "Medians: window mapped after $bare_map ms (bare) and $game_map ms (program)."

ratio_row() {
    local item=$1 game=$2 bare=$3 unit=$4
    if [ -z "$game" ] || [ -z "$bare" ]; then
        row "$item" "no result" "<= 1.5 x bare" "MISSED"
        return
    fi
    local text verdict
    text=$(awk -v g="$game" -v b="$bare" -v u="$unit" 'BEGIN {
        if (u == "kB") printf "%.1f MB vs %.1f MB bare = %.2f x", g / 1024, b / 1024, g / b
        else printf "%.0f ms vs %.0f ms bare = %.2f x", g, b, g / b }')
    if awk -v g="$game" -v b="$bare" 'BEGIN { exit !(g <= 1.5 * b) }'; then verdict=ok; else verdict=MISSED; fi
    row "$item" "$text" "<= 1.5 x bare" "$verdict"
}
ratio_row "start-up: process start to first frame (median of $runs)" "$game_ms" "$bare_ms" ms
ratio_row "start-up: peak memory (median of $runs)" "$game_kb" "$bare_kb" kB
# The floor: the bare window with the main window's texts in its fonts and nothing else.
if [ -n "$text_ms" ] && [ -n "$bare_ms" ]; then
    row "start-up floor: bare window + the main window's texts" \
        "$(awk -v g="$text_ms" -v b="$bare_ms" -v gk="$text_kb" -v bk="$bare_kb" 'BEGIN { printf "%.0f ms = %.2f x, %.1f MB = %.2f x", g, g / b, gk / 1024, gk / bk }')" "-" "info"
fi
# Processor time up to the first frame, all threads: steadier than the wall clock on a busy
# machine, so it shows where a change helped even when the clock cannot.
if [ -n "$game_cpu" ] && [ -n "$bare_cpu" ]; then
    row "start-up: processor time to first frame (median)" \
        "$(awk -v g="$game_cpu" -v b="$bare_cpu" 'BEGIN { printf "%.0f ms vs %.0f ms bare = %.2f x", g, b, g / b }')" "-" "info"
fi
if [ "$counted" -lt "$runs" ] || [ "$closed" -lt "$counted" ]; then
    row "start-up: runs measured / closed through the menu" "$counted / $closed of $runs" "$runs / $runs" "MISSED"
fi

# --- start-up with large settings files -----------------------------------------------------------
echo "Measuring start-up with large settings files ($runs runs each)..."
# 0: the game's keys alone.
sizes=(0 1000 10000 100000 1000000)
# A first run writes the game's own keys; another program's key follows them.
start_once game base "$work/base-config" base
for n in "${sizes[@]}"; do
    mkdir -p "$work/big-$n/Orbilo"
    if [ "$n" = 0 ]; then
        cp "$work/base-config/Orbilo/registry.reg" "$work/big-$n/Orbilo/registry.reg"
    else
        { cat "$work/base-config/Orbilo/registry.reg"; "$bin/orbilo_foreign_key" "$n"; } >"$work/big-$n/Orbilo/registry.reg"
    fi
done
# Copies for the settings saves, which change their file.
save_runs=3
for n in 0 1000000; do
    for r in $(seq "$save_runs"); do
        cp "$work/big-$n/Orbilo/registry.reg" "$work/save-$n-$r.reg"
    done
done
# Older than the moment after which the program trusts a file's stamp, as a file written the
# day before is.
sleep 4
for n in "${sizes[@]}"; do
    : >"$work/big-$n.txt"
    start_once game "big$n-0" "$work/big-$n" "big$n-warm"
done
for r in $(seq "$runs"); do
    for n in "${sizes[@]}"; do
        start_once game "big$n-$r" "$work/big-$n" "big-$n"
    done
done
echo "Start-up runs with large settings files (first frame ms, peak kB, how closed, mapped ms, processor ms):"
for n in "${sizes[@]}"; do
    sed "s/^/  $n values: /" "$work/big-$n.txt"
done
prev=""
growth=""
growth_ok=1
small_ms=$(cut -d' ' -f1 "$work/big-0.txt" | median)
for n in "${sizes[@]}"; do
    ms=$(cut -d' ' -f1 "$work/big-$n.txt" | median)
    kb=$(cut -d' ' -f2 "$work/big-$n.txt" | median)
    mb=$(awk -v b="$(stat -c %s "$work/big-$n/Orbilo/registry.reg")" 'BEGIN { printf "%.1f", b / 1048576 }')
    item="start-up with $n values in another key ($mb MB file)"
    [ "$n" = 0 ] && item="start-up with the game's keys alone (the small file)"
    if [ -z "$ms" ] || [ "$(wc -l <"$work/big-$n.txt")" -lt "$runs" ]; then
        row "$item" "no result" "$runs runs" "MISSED"
        [ "$n" = 0 ] || growth_ok=0
        prev=""
        continue
    fi
    text=$(awk -v m="$ms" -v k="$kb" 'BEGIN { printf "%.0f ms, %.0f MB peak", m, k / 1024 }')
    if [ "$n" = 0 ]; then
        row "$item" "$text" "-" "info"
        continue
    fi
    if [ -n "$small_ms" ]; then
        text=$(awk -v m="$ms" -v k="$kb" -v s="$small_ms" 'BEGIN { printf "%.0f ms vs %.0f ms small file = %.2f x, %.0f MB peak", m, s, m / s, k / 1024 }')
    fi
    if [ "$n" = 100000 ]; then
        if [ -n "$small_ms" ] && awk -v m="$ms" -v s="$small_ms" 'BEGIN { exit !(m <= 1.3 * s) }'; then
            row "$item" "$text" "<= 1.3 x small file" "ok"
        else
            row "$item" "$text" "<= 1.3 x small file" "MISSED"
        fi
    else
        row "$item" "$text" "-" "info"
    fi
    if [ -n "$prev" ]; then
        step=$(awk -v a="$prev" -v b="$ms" 'BEGIN { printf "%.2f", b / a }')
        growth="$growth${growth:+, }$step x"
        awk -v s="$step" 'BEGIN { exit !(s > 10) }' && growth_ok=0
    fi
    prev=$ms
done
if [ "$growth_ok" = 1 ]; then verdict=ok; else verdict=MISSED; fi
row "start-up growth per tenfold values (1k>10k, 10k>100k, 100k>1M)" "${growth:-no result}" "<= 10 x each" "$verdict"

# --- a settings save's peak memory ------------------------------------------------------------
echo "Measuring a settings save's peak memory ($save_runs runs each)..."
for n in 0 1000000; do
    : >"$work/save-$n.txt"
    for r in $(seq "$save_runs"); do
        XDG_CONFIG_HOME="$work/save-config" "$bin/orbilo_settings_save" "$work/save-$n-$r.reg" >>"$work/save-$n.txt" 2>/dev/null || true
        rm -f "$work/save-$n-$r.reg"
    done
done
echo "Settings saves (time, peak before the save, peak):"
sed 's/^/  small file: /' "$work/save-0.txt"
sed 's/^/  1000000 values: /' "$work/save-1000000.txt"
save_value() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" "$2" | median; }
small_kb=$(save_value peak_kb "$work/save-0.txt")
big_kb=$(save_value peak_kb "$work/save-1000000.txt")
big_bytes=$(stat -c %s "$work/big-1000000/Orbilo/registry.reg")
item="settings save, 1000000 values in another key: peak memory"
if [ -n "$small_kb" ] && [ -n "$big_kb" ]; then
    # What the large file costs: the peak above the same save's on the small file.
    text=$(awk -v b="$big_kb" -v s="$small_kb" -v f="$big_bytes" 'BEGIN {
        printf "%.1f MB vs %.1f MB small file: +%.1f MB = %.2f x the file (%.1f MB)",
            b / 1024, s / 1024, (b - s) / 1024, (b - s) * 1024 / f, f / 1048576 }')
    if awk -v b="$big_kb" -v s="$small_kb" -v f="$big_bytes" 'BEGIN { exit !((b - s) * 1024 < 2 * f) }'; then
        verdict=ok
    else
        verdict=MISSED
    fi
    row "$item" "$text" "< 2 x the file" "$verdict"
else
    row "$item" "no result" "< 2 x the file" "MISSED"
fi

# --- the table -----------------------------------------------------------------------------------
echo
{
    echo "item|measured|budget|verdict"
    echo "----|--------|------|-------"
    printf '%s\n' "${rows[@]}"
} | awk -F'|' '{ for (i = 1; i <= NF; ++i) { cell[NR, i] = $i; if (length($i) > w[i]) w[i] = length($i) } n = NR }
    END { for (r = 1; r <= n; ++r) {
              line = ""
              for (i = 1; i <= 4; ++i) line = line sprintf("%-" w[i] "s", cell[r, i]) (i < 4 ? "  " : "")
              print line } }'
exit "$failed"
