#!/usr/bin/env bash
# What a running cockpit costs: the program on the example cockpit, started
# by its autostart, with the gauge bus on a simulated control unit (COM1)
# and a simulated X-Plane sending 20 DATA packets a second whose flight
# values keep moving (plus one packet a second of steady values: baro,
# voltage, lights). It runs under Xvfb with a small window manager, so that
# the run window is really minimized as the autostart leaves it, and then
# shown. For each span it prints the program's CPU time as a share of one
# core (all its threads, from /proc/<pid>/task/*/schedstat, and the coarser
# utime+stime of /proc/<pid>/stat as a cross-check), its memory (VmRSS) and
# how often it was woken (voluntary context switches of all its threads),
# e.g.
#
#     scripts/cpu-bench.sh            # 30 s minimized, then 30 s shown
#     scripts/cpu-bench.sh 60         # 60 s each
#     VARNET_BENCH_MODULES=1 scripts/cpu-bench.sh   # with both stand-alone I/O modules
#
# Every run defines 8 switches, 2 analogue inputs and 8 LEDs (on the moving
# flight values) for each of the two stand-alone I/O modules; with
# VARNET_BENCH_MODULES=1 the modules are there too (simulated on COM2 and
# COM3, polled by the run), otherwise their COM ports are 0. The two runs
# give what the modules cost.
#
# VARNET_BENCH_BUILD names the build folder (default build); the program and
# the two simulators are built there first. VARNET_BENCH_PROGRAM runs another
# build of the program instead (to compare two versions on one machine). Xvfb, openbox and xdotool are
# installed with apt-get when missing. Not part of the test run: the figures
# depend on the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

build=${VARNET_BENCH_BUILD:-build}
case $build in /*) ;; *) build=$root/$build ;; esac
span=${1:-30}
warmup=${VARNET_BENCH_WARMUP:-5}

missing=()
command -v Xvfb >/dev/null || missing+=(xvfb)
command -v openbox >/dev/null || missing+=(openbox)
command -v xdotool >/dev/null || missing+=(xdotool)
if ((${#missing[@]})); then
    echo "installing ${missing[*]}" >&2
    apt-get update >/dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNET_BUILD_TESTS=ON >/dev/null
cmake --build "$build" --target varnet simxplane simcontrolunit >/dev/null

work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The example with its gauge bus on COM1 and a one-second autostart; the
# files keep their CR LF.
cp -r examples/cockpit "$work/cockpit"
sed -i '3s/^",0,0,/",0,1,/' "$work/cockpit/Default.cfg"
sed -i 's/^10\r$/1\r/' "$work/cockpit/DefaultStartFile.cfn"
grep -q $'^",0,1,40,' "$work/cockpit/Default.cfg" || { echo "cpu-bench: the example's General line changed" >&2; exit 1; }
modules=${VARNET_BENCH_MODULES:-0}
# The I/O entries of both modules (GaugeID 1000 and 2000), and their COM
# ports: ComPortIOM ends the General line, ComPortIOM2 is the file's last
# number.
python3 - "$work/cockpit/Default.cfg" "$modules" <<'PY'
import sys
path, modules = sys.argv[1], sys.argv[2] == "1"
text = open(path, "rb").read().decode("latin-1")
rows = ["0,0,0,0,0,0,0,0,0,0,0,0,0"]
for module in (1000, 2000):
    for s in range(8):      # switches: the navigation lights, 100 % on, 0 % off
        rows.append(f"{module},1,{s},0,8,1,100,0,0,0,0,0,0")
    for ch in range(2):     # channels 0..4095 to the instrument lights
        rows.append(f"{module},2,{ch},0,14,1,0,0,4095,0,0,0,4")
    for n, f in enumerate((2, 3, 4, 5, 6, 7, 8, 14)):  # LEDs above 50 % of the range
        rows.append(f"{module},3,{n},0,{f},1,50,0,0,0,0,4,0")
iom = '"IOM"\r\n0\r\n'
assert iom in text, "cpu-bench: the example's IOM section changed"
text = text.replace(iom, '"IOM"\r\n%d\r\n' % len(rows) + "".join(r + "\r\n" for r in rows), 1)
lines = text.split("\r\n")
if modules:
    assert lines[2].endswith(",0,0") and lines[-3] == "0", "cpu-bench: the example's COM ports changed"
    lines[2] = lines[2][:-1] + "2"
    lines[-3] = "3"
open(path, "wb").write("\r\n".join(lines).encode("latin-1"))
PY

# Xvfb picks a free display and names it once it takes connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
[[ -s $work/display ]] || { echo "cpu-bench: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=:$(cat "$work/display")
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
# Without the window manager in place the autostart's minimize is lost and
# the run window is never found iconic; a loaded machine starts it slowly.
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
for _ in $(seq 300); do
    wm_ready && break
    sleep 0.1
done
wm_ready || { echo "cpu-bench: the window manager did not start" >&2; cat "$work/openbox.log" >&2; exit 1; }

(cd "$work/cockpit" && exec "$build/tools/simcontrolunit/simcontrolunit" --com 1 --gauge 1:1 --gauge 2:1) \
    >"$work/controlunit.log" 2>&1 &
pids+=($!)
if [[ $modules == 1 ]]; then
    for com in 2 3; do
        (cd "$work/cockpit" && exec "$build/tools/simcontrolunit/simcontrolunit" --com $com --module </dev/null) \
            >"$work/module$com.log" 2>&1 &
        pids+=($!)
    done
fi
# In flight: speeds, attitude, altitude and RPM move with every packet.
"$build/tools/simxplane/simxplane" --rate 20 --sweep 30 \
    3:0=180 4:2=1500 17:0=10 17:1=30 17:3=359 19:0=359 20:2=8000 37:0=2500 >"$work/xplane.log" 2>&1 &
pids+=($!)
# The steady values, from a second sender on this machine.
"$build/tools/simxplane/simxplane" --port 49010 --rate 1 \
    7:0=29.92 54:0=28 54:1=28 106:0=1 106:1=1 6:1=15 1:6=14.5 >"$work/xplane-steady.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    [[ -e $work/cockpit/COM1 ]] && break
    sleep 0.1
done

(cd "$work/cockpit" && exec "${VARNET_BENCH_PROGRAM:-$build/varnet}") >"$work/varnet.log" 2>&1 &
program=$!
pids+=($program)

# The run window, once the autostart has started the run and minimized it:
# the program's window that the window manager holds as iconic.
window_state() { xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state/ {print $3}'; }
window=
for _ in $(seq 300); do
    if grep -q 'command 5' "$work/controlunit.log"; then
        for candidate in $(xdotool search --pid "$program" --name '^Control Program for X-Plane' 2>/dev/null); do
            [[ $(window_state "$candidate") == Iconic ]] && window=$candidate
        done
    fi
    [[ -n $window ]] && break
    sleep 0.1
done
if [[ -z $window ]]; then
    echo "cpu-bench: no run window minimized by the autostart" >&2
    cat "$work/varnet.log" "$work/controlunit.log" >&2
    exit 1
fi

# Nanoseconds on a CPU of all the program's threads.
cpu_ns() {
    local total=0 run _
    for stat in /proc/"$program"/task/*/schedstat; do
        read -r run _ <"$stat" 2>/dev/null || continue
        total=$((total + run))
    done
    echo "$total"
}
# utime + stime in clock ticks.
cpu_ticks() {
    local fields
    read -ra fields <"/proc/$program/stat"
    # The fields after the command name (which has no blank here).
    echo $((fields[13] + fields[14]))
}
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$program/status"; }
# Times any of the program's threads went to sleep and was woken again.
wakeups() { cat /proc/"$program"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches:/ {n += $2} END {print n}'; }

hz=$(getconf CLK_TCK)
measure() {
    local name=$1 ns0 ticks0 w0 t0 ns1 ticks1 w1 t1
    sleep "$warmup"
    kill -0 "$program" || { echo "cpu-bench: the program ended" >&2; exit 1; }
    ns0=$(cpu_ns) ticks0=$(cpu_ticks) w0=$(wakeups) t0=$(date +%s%N)
    sleep "$span"
    ns1=$(cpu_ns) ticks1=$(cpu_ticks) w1=$(wakeups) t1=$(date +%s%N)
    awk -v name="$name" -v state="$(window_state "$window")" -v ns=$((ns1 - ns0)) -v ticks=$((ticks1 - ticks0)) \
        -v hz="$hz" -v wall=$((t1 - t0)) -v rss="$(rss_kb)" -v woken=$((w1 - w0)) 'BEGIN {
            printf "%-10s window %-8s CPU %6.3f %% of a core (utime+stime %6.3f %%)  RSS %6.1f MB  %5.1f wake-ups/s\n",
                name, state, 100 * ns / wall, 100 * ticks / hz / (wall / 1e9), rss / 1024, woken / (wall / 1e9) }'
}

echo "example cockpit$([[ $modules == 1 ]] && echo ' with both stand-alone I/O modules'), X-Plane at 20 packets/s (+1/s steady), ${span} s per span after ${warmup} s"
measure minimized
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowmap --sync "$window"
measure shown
xdotool windowminimize --sync "$window"
measure minimized
grep -q 'command 5' "$work/controlunit.log" || echo "cpu-bench: no needle moved" >&2
if [[ $modules == 1 ]]; then
    for com in 2 3; do
        grep -q 'LED word 1' "$work/module$com.log" || echo "cpu-bench: the module on COM$com got no LED word" >&2
    done
fi
