#!/usr/bin/env bash
# Installs what is missing (Debian packages only), builds, and then either
# starts the program in the example cockpit folder ("run") or runs every
# test ("test").
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-run}

packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-serialport-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          libxtst-dev xvfb locales)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

case "$mode" in
run)
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNET_BUILD_TESTS=OFF
    cmake --build build
    cd examples/cockpit
    exec ../../build/varnet
    ;;
test)
    # The number tests also run under a locale whose decimal separator is a comma.
    if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
        sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
        locale-gen >/dev/null
    fi
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNET_BUILD_TESTS=ON
    cmake --build build
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$(nproc)"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
