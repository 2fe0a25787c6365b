#!/usr/bin/env bash
# Installs what is missing (Debian packages only), builds, and then either
# starts the program in the user's own working folder ("run [folder]",
# ~/varnet-cockpit unless named, made from examples/cockpit on first use),
# runs the example cockpit on the simulated control unit and X-Plane
# ("demo", scripts/demo.sh) or runs every test ("test"), first in build/ and
# then in build-asan/ under the sanitizers.
set -euo pipefail
caller=$PWD
cd "$(dirname "$0")/.."
mode=${1:-run}

# The program is a desktop program: say so before a long build ends in the
# toolkit's complaint about its display plugin.
if [[ $mode == run || $mode == demo ]] && [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "setup.sh $mode: the program needs a desktop (X11, or XWayland under Wayland): neither DISPLAY nor WAYLAND_DISPLAY is set" >&2
    exit 1
fi

# Run through sudo, the program runs as the user who called it, in that
# user's home: the files it saves are theirs.
as_user=()
user_home=$HOME
if [[ $EUID -eq 0 && -n ${SUDO_USER:-} && $SUDO_USER != root ]]; then
    as_user=(runuser -u "$SUDO_USER" --)
    user_home=$(getent passwd "$SUDO_USER" | cut -d: -f6)
fi

packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-serialport-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          libxtst-dev xvfb openbox locales)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    if [[ $EUID -ne 0 ]]; then
        echo "setup.sh: run as root (sudo) to install: ${missing[*]}" >&2
        exit 1
    fi
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

case "$mode" in
run)
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNET_BUILD_TESTS=OFF
    cmake --build build
    # The user's own working folder: the example in the checkout stays as
    # shipped, and a later pull never meets the user's saves. An existing
    # folder is used as it is.
    folder=${2:-$user_home/varnet-cockpit}
    [[ $folder == /* ]] || folder=$caller/$folder
    program=$PWD/build/varnet
    if [[ ! -d $folder ]] || [[ -z $(ls -A "$folder") ]]; then
        "${as_user[@]}" mkdir -p "$folder"
        "${as_user[@]}" cp -r examples/cockpit/. "$folder"
        echo "Working folder: $folder (made from examples/cockpit)"
    else
        echo "Working folder: $folder"
    fi
    echo "After the autostart the run window is minimized: bring it back from the taskbar or with Alt+Tab."
    cd "$folder"
    exec "${as_user[@]}" "$program"
    ;;
demo)
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNET_BUILD_TESTS=OFF
    cmake --build build
    exec "${as_user[@]}" scripts/demo.sh "${@:2}"
    ;;
test)
    # The number tests also run under a locale whose decimal separator is a comma.
    if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
        sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
        locale-gen >/dev/null
    fi
    # Tests on pseudo-terminals run in parallel and can meet a device number
    # that another test has only just released; a test that fails is run
    # once more, and fails the run when it fails again.
    ctest_args=(--output-on-failure -j "$(nproc)" --repeat until-pass:2)
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNET_BUILD_TESTS=ON
    cmake --build build
    QT_QPA_PLATFORM=offscreen ctest --test-dir build "${ctest_args[@]}"

    # The whole suite once more, built with AddressSanitizer and
    # UndefinedBehaviorSanitizer: any invalid memory access, leak or undefined
    # behaviour fails the test it happens in (the fuzz corpora included).
    # -O1 with line tables keeps the reports readable and compiles a fifth
    # faster than the optimised build.
    sanitizers=address,undefined,float-cast-overflow
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DVARNET_BUILD_TESTS=ON \
        -DCMAKE_CXX_FLAGS="-O1 -fsanitize=$sanitizers -fno-sanitize-recover=undefined,float-cast-overflow -fno-omit-frame-pointer" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=$sanitizers"
    cmake --build build-asan
    LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt" UBSAN_OPTIONS=print_stacktrace=1 \
        QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan "${ctest_args[@]}"
    ;;
*)
    echo "usage: $0 run [folder] | demo | test" >&2
    exit 2
    ;;
esac
