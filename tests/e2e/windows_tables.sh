#!/usr/bin/env bash
# Real Windows interface tables (fixtures of 23 and 60 rows) replayed tick by tick into the
# program's replay build, driven with real clicks on screens of 1920x1080 and 1366x768:
# 1. a fresh folder: only the adapters that carry traffic get blocks, informer lines and
#    records; both windows lie on the screen;
# 2. a history of an earlier version that counted every row: all of them have blocks, the
#    main window stays on the screen and scrolls, and a price is set on the last block with a
#    right click after scrolling to it.
# Screenshots of each stage are kept in $TMPDIR (vornik-tables-*.png).
# Usage: windows_tables.sh release-folder vrn15_replay.exe fixtures-folder peek.exe
set -euo pipefail
release=$(cd "$1" && pwd)
replay=$2
fixtures=$(cd "$3" && pwd)
peek=$4
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../../scripts/wine-env.sh"
outer_display=${DISPLAY:-}
work=$(mktemp -d /tmp/vornik-tables.XXXXXX)
cleanup() {
  [ "$BASHPID" = "$$" ] || return 0
  wine taskkill /IM vrn15.exe >/dev/null 2>&1 || true
  wait_for 20 not_running || true
  wineserver -k 2>/dev/null || true
  [ -n "${screen_pid:-}" ] && kill "$screen_pid" 2>/dev/null || true
  export DISPLAY=$outer_display
  vornik_wine_services  # the Wine session of the outer display again, as the other tests expect it
  rm -rf "$work" || true
}
trap cleanup EXIT

# A screen of WIDTHxHEIGHT of its own; Wine's desktop keeps the display it started with.
screen() {
  wineserver -k 2>/dev/null || true
  [ -n "${screen_pid:-}" ] && kill "$screen_pid" 2>/dev/null && wait "$screen_pid" 2>/dev/null || true
  local n
  for n in $(seq 150 190); do
    [ -e "/tmp/.X${n}-lock" ] && continue
    Xvfb ":$n" -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 &
    screen_pid=$!
    wait_for 10 test -e "/tmp/.X11-unix/X$n" && kill -0 "$screen_pid" 2>/dev/null && break
  done
  export DISPLAY=":$n"
  screen_width=${1%x*} screen_height=${1#*x}
  vornik_wine_services
}

shot() { import -window root "${TMPDIR:-/tmp}/vornik-tables-$1.png" 2>/dev/null || true; }

# The fixture's descriptions: all of them, or those expected to get blocks.
descriptions() { awk -F'\t' -v all="$2" '!/^#/ && NF >= 9 && (all || $8 == 1) { print $9 }' "$fixtures/$1"; }

informer() { wine peek.exe 2>/dev/null | tr -d '\r' | awk -F'\t' 'NF >= 4 { print $1 }' || true; }
informer_rows() { [ "$(informer | grep -c .)" -eq "$1" ]; }
informer_titles() { [ "$(informer | sed 's/\.   $//')" = "$1" ]; }  # a title: 17 characters and ".   "

# The window captioned PATTERN lies wholly on the screen.
on_screen() {
  local X Y WIDTH HEIGHT
  geometry "$(window "$1")"
  [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le "$screen_width" ] && [ $((Y + HEIGHT)) -le "$screen_height" ] ||
    fail "$1 at $X,$Y size ${WIDTH}x$HEIGHT leaves the ${screen_width}x$screen_height screen"
}

# The connections of history.txt, in the order of their first records.
recorded() { cut -s -f4 history.txt | tr -d '\r' | awk '!seen[$0]++'; }

start() {
  wait_for 20 not_running || fail "an earlier copy is still running"
  timeout 300 wine vrn15.exe >/dev/null 2>&1 &
  wait_for 20 is_running || fail "vrn15.exe is not running"
  settled
}
quit() {
  tray_menu 4  # "Выход"
  wait_for 30 not_running || fail "vrn15.exe did not end"
}

# 1. A fresh folder: only the adapters that carry traffic.
fresh() {
  local fixture=$1 size=$2 expected
  rm -rf "$work"/* && cp -r "$release/." "$work/" && cp "$replay" "$work/vrn15.exe" && cp "$peek" "$work/peek.exe"
  cp "$fixtures/$fixture" "$work/iftable.txt"
  cd "$work"
  start
  tray_menu 1  # "Главная форма"
  wait_for 10 has_window "$MainWindow" || fail "the main window did not open"
  tray_menu 2  # "Информер"
  expected=$(descriptions "$fixture" 0)
  # Its titles are the names' first 17 characters; read again while a tick may be refilling the list.
  wait_for 15 informer_titles "$(cut -c1-17 <<<"$expected")" || fail "the informer lists: $(informer)"
  on_screen "$MainWindow"
  on_screen '^Fast INFO'
  shot "$size-${fixture%.txt}-fresh"
  quit
  [ "$(recorded)" = "$expected" ] || fail "records of: $(recorded)"
  echo "$size, $fixture, a fresh folder: blocks and informer lines of $(grep -c . <<<"$expected") adapters only"
}

# 2. An earlier version's history with every row: the window scrolls, the last block is priced.
earlier() {
  local fixture=$1 size=$2 yesterday last X Y WIDTH HEIGHT
  rm -rf "$work"/* && cp -r "$release/." "$work/" && cp "$replay" "$work/vrn15.exe" && cp "$peek" "$work/peek.exe"
  cp "$fixtures/$fixture" "$work/iftable.txt"
  cd "$work"
  yesterday=$(date -d yesterday +%-d.%-m.%Y)
  { printf 'SHOW=\r\nform1.width=792\r\n'
    descriptions "$fixture" 1 | while IFS= read -r name; do printf '%s-0\t1000      \t100       \t%s\r\n' "$yesterday" "$name"; done
  } > history.txt
  last=$(descriptions "$fixture" 1 | tail -n 1)
  start
  tray_menu 1
  wait_for 10 has_window "$MainWindow" || fail "the main window did not open"
  sleep 2
  on_screen "$MainWindow"
  geometry "$(window "$MainWindow")"
  [ "$HEIGHT" -lt $(( 4 + 78 * ($(descriptions "$fixture" 1 | grep -c .) - 1) + 128 )) ] || fail "the window did not need to scroll"
  shot "$size-${fixture%.txt}-earlier-top"
  # Scrolled to the end with the wheel; the last block then stands at the bottom of the panel.
  xdotool mousemove $((X + 300)) $((Y + 100)) click 1
  xdotool click --repeat 120 --delay 10 5
  sleep 1
  shot "$size-${fixture%.txt}-earlier-bottom"
  local at=$((Y + HEIGHT - 99))
  # Keys may reach no window under a bare X server: a left click on the panel makes the main
  # window active first, and a menu whose item opened no box is tried again.
  for _ in 1 2 3; do
    xdotool mousemove $((X + 200)) "$at" click 1
    sleep 0.3
    xdotool click 3
    if wait_for 10 menu_shown; then
      sleep 0.3
      xdotool key Down Down Return  # "Задать цену"
      wait_for 5 has_window "$ProgramBox" && break
    fi
    xdotool key Escape
    sleep 0.5
  done
  answer_price() {
    local box
    wait_for 15 has_window "$ProgramBox" || fail "no price box"
    box=$(window "$ProgramBox")
    sleep 0.5
    geometry "$box"
    xdotool windowraise "$box" mousemove $((X + WIDTH / 2)) $((Y + HEIGHT * 26 / 62)) click 1
    sleep 0.3
    xdotool key End shift+Home
    xdotool type --delay 50 "$1"
    wait_for 3 box_says "$1" || xdotool type --delay 50 "$1"
    xdotool key Return
    wait_for 5 closed "$box" || fail "the price box stayed open"
  }
  box_says() { [ "$(wine peek.exe box 2>/dev/null | tr -d '\r')" = "$1" ]; }
  answer_price 2,5
  answer_price 0
  tray_menu 2
  wait_for 15 informer_rows "$(descriptions "$fixture" 1 | grep -c .)" || fail "the informer lists $(informer | grep -c .) rows"
  on_screen '^Fast INFO'
  shot "$size-${fixture%.txt}-earlier-informer"
  quit
  grep -qxF "$last|$last>2,5@0"$'\r' price.txt || fail "no price on the last block ($last): $(grep -F "$last" price.txt)"
  echo "$size, $fixture, an earlier version's history: $(recorded | grep -c .) blocks scroll, the last one priced"
}

screen 1920x1080
fresh windows10_23rows.txt 1920x1080
fresh windows11_60rows.txt 1920x1080
earlier windows11_60rows.txt 1920x1080
screen 1366x768
fresh windows11_60rows.txt 1366x768
earlier windows11_60rows.txt 1366x768
echo "windows tables: 5 passed, 0 failed"
