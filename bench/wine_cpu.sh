#!/usr/bin/env bash
# What vrn15.exe costs the machine while it runs: its CPU time under Wine over a window of
# SECONDS (60 by default) with the main window and the informer shown, against the same for
# a minimal Win32 program with a one-second timer (tests/perf/idle_timer.cpp), in one run.
#
# Both run in turn on a private Xvfb and a Wine prefix of this script's own, so nothing else
# shares their Wine server. For each, the CPU time (utime + stime from /proc, all threads) of
# the program's process, of the prefix's other Wine processes (wineserver, the desktop and
# tray, the services) and of the X server is read at the start and the end of the window.
# The program gets a history of HISTORY records (100 000 by default) of 10 connections.
# MAIN=hidden leaves the main window hidden (the informer alone shown, as a user mostly runs
# it); BUILD names another build folder (to measure an earlier commit's build).
#
# Usage: scripts/build x86_64 --target release idle_timer && bench/wine_cpu.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
records=${HISTORY:-100000}
build=${BUILD:-$root/build/x86_64}
[ -f "$build/release/vrn15.exe" ] && [ -f "$build/tests/idle_timer.exe" ] ||
  { echo "build first: scripts/build x86_64 --target release idle_timer" >&2; exit 2; }

export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
export VORNIK_OWN_DISPLAY=1
export WINEPREFIX="${XDG_CACHE_HOME:-$HOME/.cache}/vornik/wineprefix-cpu"
source "$root/scripts/wine-env.sh"
work=$(mktemp -d)
program=
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  vornik_wine_down
  rm -rf "$work"
}
trap cleanup EXIT
vornik_wine_up

hz=$(getconf CLK_TCK)
# CPU time of one process in clock ticks (the name field may hold blanks: skip past its ')').
cpu() {
  local stat
  stat=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null) || { echo 0; return; }
  LC_ALL=C awk '{ print $12 + $13 }' <<<"$stat"
}
# The processes of this script's Wine prefix other than $1.
wine_others() {
  for p in $(pgrep -u "$(id -u)" .); do
    [ "$p" = "$1" ] && continue
    { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$p"
  done
}
sum_cpu() { local t=0 p; for p in "$@"; do t=$((t + $(cpu "$p"))); done; echo "$t"; }
seconds_of() { LC_ALL=C awk -v t="$1" -v hz="$hz" 'BEGIN { printf "%.2f", t / hz }'; }

# Measures the running program $1 (a PID) over the window; prints "label program wine x".
measure() {
  local label=$1 pid=$2 others p0 w0 x0 p1 w1 x1
  others=$(wine_others "$pid")
  p0=$(cpu "$pid") w0=$(sum_cpu $others) x0=$(cpu "$VORNIK_XVFB_PID")
  sleep "$seconds"
  p1=$(cpu "$pid") w1=$(sum_cpu $others) x1=$(cpu "$VORNIK_XVFB_PID")
  echo "$label $((p1 - p0)) $((w1 - w0)) $((x1 - x0))"
}

visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
wait_visible() { for _ in $(seq 1 50); do visible "$1" && return 0; sleep 0.2; done; return 1; }
tray_item() {  # Wine's tray sits at the top left; the menu's items are 23 px apart
  xdotool mousemove 12 31 click 3
  sleep 0.7
  xdotool mousemove 50 $((44 + 23 * ($1 - 1))) click 1
}

# The baseline.
(cd "$work" && exec wine "$build/tests/idle_timer.exe") &
program=$!
wait_visible '^Idle timer$' || { echo "the idle timer's window did not appear" >&2; exit 1; }
sleep 5
baseline=$(measure idle "$program")
kill "$program"
wait "$program" 2>/dev/null || true
program=

# The program with a long history, both windows shown.
cp -r "$build/release" "$work/vornik"
awk -v n="$records" 'BEGIN {
  printf "SHOW=\r\nform1.width=792\r\n"
  for (i = 0; i < n; i++) {
    c = i % 10; d = int(i / 10) % 3650
    printf "%d.%d.%d-%d\t%-10d\t%-10d\tNetwork adapter %d (PCIe, 1 Gbit/s)\r\n", d % 28 + 1, int(d / 28) % 12 + 1, 2016 + int(d / 336), (i / 10) % 7 ? i : 0, i * 7, i * 3, c
  }
}' >"$work/vornik/history.txt"
(cd "$work/vornik" && exec wine vrn15.exe) &
program=$!
sleep 8  # start-up: the history is read, the tray icon appears
shown="informer"
if [ "${MAIN:-shown}" != hidden ]; then
  tray_item 1
  wait_visible '^VORNIK V1\.5\+ by Kestrane$' || { echo "the main window did not appear" >&2; exit 1; }
  shown="main window and informer"
fi
tray_item 2
wait_visible '^Fast INFO - Vornik V1\.5$' || shown="$shown; the informer did not appear"
sleep 5
measured=$(measure vrn15 "$program")
kill "$program"
wait "$program" 2>/dev/null || true
program=

echo "CPU seconds over ${seconds} s; vrn15.exe with a history of ${records} records, ${shown}:"
printf '%-12s %10s %12s %10s %10s\n' program "process" "other Wine" "Xvfb" total
for row in "$baseline" "$measured"; do
  read -r label p w x <<<"$row"
  printf '%-12s %10s %12s %10s %10s\n' "$label" "$(seconds_of "$p")" "$(seconds_of "$w")" "$(seconds_of "$x")" \
    "$(seconds_of $((p + w + x)))"
done
read -r _ bp bw bx <<<"$baseline"
read -r _ mp mw mx <<<"$measured"
LC_ALL=C awk -v bp="$bp" -v mp="$mp" -v bt=$((bp + bw + bx)) -v mt=$((mp + mw + mx)) 'BEGIN {
  printf "ratio vrn15 / idle timer: process %.1f, total %.1f\n", (bp ? mp / bp : 0), (bt ? mt / bt : 0) }'
