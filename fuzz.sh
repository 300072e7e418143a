#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) into
# build-fuzz and runs each one for the given number of seconds, one after the other:
#
#   ./fuzz.sh [SECONDS] [TARGET...]        SECONDS defaults to 60; TARGETs default to all:
#                                          tablefile regfile fontrecord cp932 savedgame
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

seconds=60
if [ $# -gt 0 ]; then
    seconds=$1
    shift
fi
case "$seconds" in
    '' | *[!0-9]*) echo "usage: $0 [SECONDS] [TARGET...]" >&2; exit 2 ;;
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
    "build-fuzz/bin/orbilo_fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len="$(max_len "$t")" -dict="fuzz/dict/$t.dict" -artifact_prefix="fuzz/crashes/$t-" \
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
    report+=("$(printf '%-12s %10s runs %4d crashes  %ss  exit %d' "$t" "${runs:-?}" "$crashes" "$seconds" "$rc")")
done

echo
printf '%s\n' "${report[@]}"
exit $failed
