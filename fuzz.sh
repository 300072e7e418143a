#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) into
# build-fuzz and runs each one for the given number of seconds, one after the other:
#
#   ./fuzz.sh [-max_len=BYTES] [SECONDS] [TARGET...]
#                                          SECONDS defaults to 60; TARGETs default to all:
#                                          tablefile regfile fontrecord cp932 savedgame
#   -max_len=BYTES                         the longest input to try, for every target named,
#                                          from the first run on (by default 8192 for
#                                          tablefile and regfile, 128 for fontrecord, 4096
#                                          for cp932, reached step by step)
#
# The seed corpus in fuzz/corpus/<target>/ is only read; what libFuzzer learns on the way is
# kept in build-fuzz/corpus/<target>/ for the next run. An input that breaks a harness is
# saved as fuzz/crashes/<target>-crash-<hash> (replay it with
# build-fuzz/bin/orbilo_fuzz_replay <target> FILE). Ends with a table of executions and
# crashes per target, and fails when any target crashed.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh
orbilo_install_deps clang libclang-rt-14-dev

longest=""
case "${1:-}" in
    -max_len=*)
        longest=${1#-max_len=}
        shift
        case "$longest" in
            '' | *[!0-9]*) echo "usage: $0 [-max_len=BYTES] [SECONDS] [TARGET...]" >&2; exit 2 ;;
        esac
        ;;
esac
seconds=60
if [ $# -gt 0 ]; then
    seconds=$1
    shift
fi
case "$seconds" in
    '' | *[!0-9]*) echo "usage: $0 [-max_len=BYTES] [SECONDS] [TARGET...]" >&2; exit 2 ;;
esac
all=(tablefile regfile fontrecord cp932 savedgame)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWITH_LIBFUZZER=ON -DORBILO_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]/#/orbilo_fuzz_}" orbilo_fuzz_replay

mkdir -p fuzz/crashes
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/support/lsan.supp}
export QT_QPA_PLATFORM=offscreen

max_len() {
    if [ -n "$longest" ]; then
        echo "$longest"
        return
    fi
    case "$1" in
        fontrecord) echo 128 ;;
        tablefile | regfile) echo 8192 ;;
        savedgame) echo 32768 ;;
        *) echo 4096 ;;
    esac
}

failed=0
report=()
for t in "${targets[@]}"; do
    work=build-fuzz/corpus/$t
    log=build-fuzz/fuzz-$t.log
    mkdir -p "$work"
    before=$(find fuzz/crashes -name "$t-*" -type f | wc -l)
    echo "== $t: $seconds s (log: $log)"
    set +e
    # An explicit longest input is tried from the start; libFuzzer would otherwise grow its
    # inputs towards it slowly, and a run of minutes would never come near a megabyte.
    "build-fuzz/bin/orbilo_fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len="$(max_len "$t")" -len_control="$([ -n "$longest" ] && echo 0 || echo 100)" -dict="fuzz/dict/$t.dict" -artifact_prefix="fuzz/crashes/$t-" \
        -print_final_stats=1 "$work" "fuzz/corpus/$t" >"$log" 2>&1
    rc=$?
    set -e
    after=$(find fuzz/crashes -name "$t-*" -type f | wc -l)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    crashes=$((after - before))
    if [ "$rc" -ne 0 ] || [ "$crashes" -gt 0 ]; then
        failed=1
        grep -E "^(fuzz |==[0-9]+==ERROR|SUMMARY|.*runtime error)" "$log" | head -5 || true
    fi
    report+=("$(printf '%-12s %10s runs %4d crashes  %ss  max_len %s  exit %d' "$t" "${runs:-?}" "$crashes" "$seconds" "$(max_len "$t")" "$rc")")
done

echo
printf '%s\n' "${report[@]}"
exit $failed
