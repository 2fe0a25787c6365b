#!/usr/bin/env bash
# Builds the benchmarks (benchmarks/*_bench.cpp, Google Benchmark) with the
# program's release settings and runs every one of them; arguments go to
# each benchmark program, e.g.
#
#     scripts/bench.sh
#     scripts/bench.sh --benchmark_format=json --benchmark_out_format=json
#
# Not part of the test run: the figures depend on the machine.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${VARNET_BENCH_BUILD:-build}
targets=()
for source in benchmarks/*_bench.cpp; do
    name=$(basename "$source" _bench.cpp)
    targets+=("bench_$name")
done
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
for target in "${targets[@]}"; do
    echo "== $target"
    "$build/benchmarks/$target" "$@"
done
