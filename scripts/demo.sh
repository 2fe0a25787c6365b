#!/usr/bin/env bash
# The example cockpit without hardware, in one terminal: a copy of
# examples/cockpit in a temporary folder with its gauge bus on COM1, the
# simulated control unit behind COM1 holding the example's two gauges, and
# the simulated X-Plane sweeping airspeed (group 3) up to 180 kt and RPM
# (group 37) up to 2500. The program starts its run after a two-second
# autostart; the terminal shows every frame the program sends to the gauges
# ("control unit:") and what it sends to X-Plane ("x-plane:").
#
#     scripts/demo.sh          # until the program's Exit (or Ctrl+C)
#     scripts/demo.sh 60       # the program is told to end after 60 s
#
# Built by `scripts/setup.sh demo` (or run); VARNET_BUILD names another
# build folder. When the program ends, the simulators end and the temporary
# folder is removed.
set -euo pipefail
checkout=$(cd "$(dirname "$0")/.." && pwd)
build=${VARNET_BUILD:-$checkout/build}
seconds=${1:-}

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "demo: the program needs a desktop (X11, or XWayland under Wayland): neither DISPLAY nor WAYLAND_DISPLAY is set" >&2
    exit 1
fi
if [[ -n $seconds && ! $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 [seconds]" >&2
    exit 2
fi
program=$build/varnet
controlunit=$build/tools/simcontrolunit/simcontrolunit
xplane=$build/tools/simxplane/simxplane
for binary in "$program" "$controlunit" "$xplane"; do
    if [[ ! -x $binary ]]; then
        echo "demo: $binary is not built; build it with: ./scripts/setup.sh demo" >&2
        exit 1
    fi
done

folder=$(mktemp -d "${TMPDIR:-/tmp}/varnet-demo.XXXXXX")
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$folder"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# The example with its gauge bus on COM1 and a two-second autostart; the
# files keep their CR LF.
cp -r "$checkout/examples/cockpit/." "$folder"
sed -i '3s/^",\([0-9]*\),0,/",\1,1,/' "$folder/Default.cfg"
sed -i '4s/^[0-9]*\r$/2\r/' "$folder/DefaultStartFile.cfn"
if ! grep -q $'^",[0-9]*,1,' "$folder/Default.cfg" || ! grep -q $'^2\r$' "$folder/DefaultStartFile.cfn"; then
    echo "demo: the example's files changed their layout; see README, \"Trying it without hardware\"" >&2
    exit 1
fi
echo "Working folder (removed at the end): $folder"

# Each simulator's lines carry its name; $! is the simulator itself.
(cd "$folder" && exec "$controlunit" --com 1 --gauge 1:1 --gauge 2:1) > >(sed -u 's/^/control unit: /') 2>&1 &
pids+=($!)
"$xplane" --sweep 20 3:0=180 37:0=2500 > >(sed -u 's/^/x-plane: /') 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    [[ -e $folder/COM1 ]] && break
    sleep 0.1
done
if [[ ! -e $folder/COM1 ]]; then
    echo "demo: the simulated control unit did not start" >&2
    exit 1
fi

echo "The program starts its run in 2 seconds; the run window is then minimized (taskbar, or Alt+Tab)."
echo "Exit on the run window ends the demo."
# With a time limit the program is told to end as a logout would tell it
# (SIGTERM), which it handles as its Exit button.
limit=()
[[ -n $seconds ]] && limit=(timeout "$seconds")
(cd "$folder" && exec "${limit[@]}" "$program") &
varnet=$!
pids+=($varnet)
status=0
wait "$varnet" || status=$?
# timeout's own status when the time was up and the program ended on it.
[[ -n $seconds && $status -eq 124 ]] && status=0
echo "demo: the program ended (status $status)"
exit "$status"
