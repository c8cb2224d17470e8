#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in a build
# folder of their own and runs each for a bounded time, starting from the seeds in fuzz/corpus/.
# Exits non-zero on a finding; the input that caused it is kept in <build>/findings/ and the
# target's log in <build>/fuzz-<target>.log.
#
#   fuzz/run.sh [seconds per target, default 60] [target ...]
#
# Environment: QUILL_FUZZ_BUILD (build folder, default build-fuzz beside fuzz/), QUILL_FUZZ_CXX
# (compiler, default clang++-14). Needs: apt-get install -y clang-14 libclang-rt-14-dev
set -euo pipefail

seconds=${1:-60}
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILL_FUZZ_BUILD:-$root/build-fuzz}
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(numbers numbered_text catalogue checksum results strings settings container event)
fi

generator=()
if command -v ninja >/dev/null; then
    generator=(-G Ninja)
fi
cmake -S "$root/fuzz" -B "$build" "${generator[@]}" -DCMAKE_CXX_COMPILER="${QUILL_FUZZ_CXX:-clang++-14}" >/dev/null
cmake --build "$build"

runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=$runtime
export QT_LOGGING_RULES='qt.qpa.*=false'
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp

status=0
mkdir -p "$build/findings"
for target in "${targets[@]}"; do
    work="$build/corpus/$target"
    log="$build/fuzz-$target.log"
    mkdir -p "$work"
    # the seeds: the target's corpus, and for the event files the tests' own files
    seeds=()
    for dir in "$root/fuzz/corpus/$target" "$([ "$target" = event ] && echo "$root/tests/data/events")"; do
        if [ -n "$dir" ] && [ -d "$dir" ]; then
            seeds+=("$dir")
        fi
    done
    if "$build/fuzz-$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
        "$work" "${seeds[@]}" >"$log" 2>&1; then
        result=ok
    else
        result=FINDING
        status=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    corpus=$(find "$work" -type f | wc -l)
    printf '%-14s %-8s %10s executions  %6s corpus files  %ss\n' "$target" "$result" "${runs:-?}" "$corpus" "$seconds"
    if [ "$result" != ok ]; then
        grep -E 'FINDING|ERROR|SUMMARY|Test unit written|^ *#[0-9]+ ' "$log" | head -30 || true
    fi
done
exit $status
