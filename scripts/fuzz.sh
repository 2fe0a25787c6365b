#!/usr/bin/env bash
# Builds the libFuzzer programs (clang-14, the whole program instrumented
# with AddressSanitizer and UndefinedBehaviorSanitizer) in build-fuzz and runs
# one of them:
#
#     scripts/fuzz.sh configfile 600    # fuzz the configuration reader for 10 minutes
#     scripts/fuzz.sh datapacket        # the X-Plane DATA receive path, 10 minutes
#
# The checked-in corpus (fuzz/corpus/<target>) is read; new inputs go to
# build-fuzz/corpus/<target>, crashes to build-fuzz/findings/<target>. An
# input worth keeping is copied into the checked-in corpus by hand, so that
# every test run replays it.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=$(cd fuzz && ls -- *_fuzz.cpp | sed 's/_fuzz\.cpp$//')
target=${1:-}
seconds=${2:-600}
if [ -z "$target" ] || ! grep -qx -- "$target" <<<"$targets"; then
    echo "usage: $0 TARGET [SECONDS]; targets:" $targets >&2
    exit 2
fi

build=${VARNET_FUZZ_BUILD:-build-fuzz}
sanitizers="address,undefined"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,$sanitizers -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=$sanitizers" \
    -DVARNET_BUILD_TESTS=OFF -DVARNET_FUZZ=ON >/dev/null
cmake --build "$build" --target "fuzz_$target"

work="$build/corpus/$target"
findings="$build/findings/$target"
mkdir -p "$work" "$findings"
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1
# Qt and the font libraries keep some memory to the end on purpose.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
exec "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$findings/" "$work" "fuzz/corpus/$target"
