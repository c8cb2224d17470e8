#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark of a build and prints every figure:
#   bench/run.sh <build dir> [options for bench-quill, e.g. --benchmark_filter=Board]
# The build should be a Release one:
#   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILL_BENCHMARKS=ON && cmake --build build-bench
# First the start-up (bench-startup against bench-floor, whole processes, alternating runs), then
# the Google Benchmark program bench-quill (medians of repeated runs). Everything runs on the
# offscreen platform with a settings store and runtime folder of its own.
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 <build dir> [bench-quill options]" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
bench="$build/bench"
for program in bench-startup bench-floor bench-quill; do
    if [ ! -x "$bench/$program" ]; then
        echo "$bench/$program is missing: build the benchmarks first (needs libbenchmark-dev)" >&2
        exit 2
    fi
done

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/config" "$home/runtime"
chmod 700 "$home/runtime"
export QT_QPA_PLATFORM=offscreen
export XDG_CONFIG_HOME=$home/config
export XDG_RUNTIME_DIR=$home/runtime
export QT_LOGGING_RULES='qt.qpa.*=false'

echo "== Machine"
lscpu | sed -n 's/^Model name: *\(.*\)/cpu: \1/p; s/^CPU(s): *\(.*\)/cores: \1/p'
echo "memory: $(free -m | awk '/^Mem:/ {print $2}') MiB, load average: $(cut -d' ' -f1-3 /proc/loadavg)"
grep -m1 -o 'CMAKE_BUILD_TYPE:STRING=.*' "$build/CMakeCache.txt" || true

echo
echo "== Start-up to the first paint (medians of ${QUILL_STARTUP_RUNS:-20} runs each)"
/usr/bin/python3 "$here/startup.py" "$bench" --runs "${QUILL_STARTUP_RUNS:-20}"

echo
echo "== Benchmarks (medians of 3 repetitions)"
"$bench/bench-quill" --benchmark_repetitions=3 --benchmark_display_aggregates_only=true \
    --benchmark_min_time=0.3 "$@" 2>&1 | grep -v -e '_mean ' -e '_stddev ' -e '_cv ' -e 'Library was built as DEBUG'
