#!/usr/bin/env bash
# A run with more moving needles than the gauge bus carries: the program on
# the example cockpit with sixty more single needles, fifty DATA packets a
# second moving all of them, and a control unit that takes the bytes at the
# line's 3491 bytes a second (tests/e2e/pacedline_test.cpp). Prints, second
# by second, the age of the values at the control unit, the bytes waiting
# for the line and the program's memory, e.g.
#
#     scripts/measure_busline.sh         # two minutes
#     scripts/measure_busline.sh 30
#
# Not part of the test run: the figures depend on the machine.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${VARNET_BENCH_BUILD:-build}
seconds=${1:-120}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNET_BUILD_TESTS=ON >/dev/null
cmake --build "$build" --target test_e2e varnet

QT_QPA_PLATFORM=offscreen VARNET_PACED_SECONDS=$seconds \
    "$build/tests/e2e/test_e2e" --gtest_filter='PacedLineTest.*'
