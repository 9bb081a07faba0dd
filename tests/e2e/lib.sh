# Shared by the end-to-end scripts: waiting, windows and boxes of the real program under Wine.
export LANG=${LANG:-ru_RU.UTF-8} LC_ALL=${LC_ALL:-ru_RU.UTF-8}

# Fails the test; what the screen showed is kept for a look.
fail() {
  echo "FAIL: $*" >&2
  local shot=${TMPDIR:-/tmp}/vornik-e2e-$(basename "$0" .sh).png
  [ -n "${DISPLAY:-}" ] && import -window root "$shot" 2>/dev/null && echo "the screen: $shot" >&2
  exit 1
}

# wait_for SECONDS COMMAND...: true once the command succeeds, false after SECONDS.
wait_for() {
  local seconds=$1
  shift
  for _ in $(seq 1 $((seconds * 5))); do "$@" && return 0; sleep 0.2; done
  return 1
}

# The PIDs of running (not finished) vrn15.exe processes.
running() { pgrep -f 'vrn15\.exe' | while read -r p; do [ "$(ps -o stat= -p "$p" 2>/dev/null)" != Z ] && echo "$p"; done; }
is_running() { [ -n "$(running)" ]; }
not_running() { [ -z "$(running)" ]; }

# Window captions as patterns (xdotool matches them ignoring case).
MainWindow='^VORNIK V1\.5\+'
ProgramBox='^Vornik V1\.5$'  # the program's message and input boxes
TrayWindow='^Wine System Tray$'
window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_window() { [ -n "$(window "$1")" ]; }
no_window() { ! has_window "$1"; }

# True while the tray shows an icon: Wine shows its tray window only then.
tray_shown() { has_window "$TrayWindow"; }

# Waits until a copy just started has its tray icon, and gives it a few ticks.
settled() {
  wait_for 30 tray_shown || fail "no tray icon"
  sleep 3
}

# restarted PIDS: true once the old copy (PIDS, from `running`) has ended, a new one runs,
# and the console of the clearing's restart script, which opens over the tray, has closed.
# (While the old copy ends, short-lived helpers may name vrn15.exe in their command lines.)
restarted() {
  local now p
  now=$(running)
  for p in $1; do grep -qx "$p" <<<"$now" && return 1; done
  [ -n "$now" ] && no_window 'restart\.bat'
}

# geometry WINDOW: sets X Y WIDTH HEIGHT of the window as X sees it: the client area, or the
# whole window where Wine draws the caption itself (the informer).
geometry() {
  local SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")" || fail "no geometry for window $1"
}

# True once the window WINDOW (an id) is no longer shown.
closed() { [ -z "$(xdotool search --onlyvisible --name '' 2>/dev/null | grep -x "$1")" ]; }

# Answers the program's box (captioned with its title) with a key: Return takes the default.
# The box may open beneath the window that asked for it: raised and clicked, it is active;
# a key that reached no window leaves the box open, and it is pressed again.
answer_box() {
  local box X Y WIDTH HEIGHT
  wait_for 15 has_window "$ProgramBox" || fail "no box from the program"
  box=$(window "$ProgramBox")
  sleep 0.5  # shown before it is ready for the mouse
  for _ in 1 2 3; do
    geometry "$box"
    xdotool windowraise "$box" mousemove $((X + WIDTH / 2)) $((Y + 5)) click 1
    sleep 0.3
    xdotool key --clearmodifiers "$1"
    wait_for 5 closed "$box" && return 0
  done
  fail "the box stayed open after $1"
}

# True while a popup menu is shown: Wine maps it as a window with no name (the root window,
# also nameless, is the size of the screen).
menu_shown() {
  local id X Y WIDTH HEIGHT SCREEN WINDOW
  for id in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
    HEIGHT=0 WIDTH=0
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
    [ "$HEIGHT" -ge 40 ] && [ "$WIDTH" -lt 640 ] && return 0
  done
  return 1
}
no_menu() { ! menu_shown; }

# pick_from_menu X Y ITEM_X ITEM_Y: right-clicks at X,Y and, once the menu is shown, clicks
# its item at ITEM_X,ITEM_Y. A loaded machine may show the menu only after a first click
# meant for it: a menu that did not open, or stayed open, is closed and opened again.
pick_from_menu() {
  for _ in 1 2 3; do
    xdotool mousemove "$1" "$2" click 3
    if wait_for 10 menu_shown; then
      sleep 0.3
      xdotool mousemove "$3" "$4" click 1
      wait_for 5 no_menu && return 0
    fi
    xdotool key Escape
    sleep 0.5
  done
  fail "the menu at $1,$2 did not give its item at $3,$4"
}

# Opens the tray menu (Wine's tray sits at the top left) and picks its item 1 to 4 ("Главная
# форма", "Информер", "Запускать вместе с Windows", "Выход"). The tray is
# an ordinary window there, which another (the console of the restart script) may cover: it
# is raised first.
tray_menu() {
  xdotool windowraise "$(window "$TrayWindow")" 2>/dev/null || true
  pick_from_menu 12 31 50 $((44 + 23 * ($1 - 1)))
}

# Network namespaces of the test's own, for the tests with real interfaces (root only).
test_namespaces=()
# make_namespaces WHY NAME...: makes them; where the machine refuses, the test is skipped
# (exit 77) and WHY says what covers the case instead.
make_namespaces() {
  local why=$1 name
  shift
  for name in "$@"; do
    if ! ip netns add "$name" 2>/dev/null; then
      drop_namespaces
      echo "SKIPPED: this machine refuses network namespaces (ip netns add needs root and CAP_SYS_ADMIN); $why"
      exit 77
    fi
    test_namespaces+=("$name")
  done
}
drop_namespaces() {
  local name
  for name in "${test_namespaces[@]}"; do ip netns del "$name" 2>/dev/null || true; done
  test_namespaces=()
}
# inside_namespace NS ARGS...: this script again, as "--inside ARGS", in NS with a Wine session
# of its own (the session outside ends: its services would see the other interfaces).
inside_namespace() {
  local ns=$1
  shift
  wineserver -k 2>/dev/null || true
  ip netns exec "$ns" bash "$0" --inside "$@"
}
# The EXIT trap of such a test: the namespaces gone, the Wine session outside started again,
# as the other tests expect it.
namespaces_cleanup() {
  [ "$BASHPID" = "$$" ] || return 0
  drop_namespaces
  vornik_wine_services
}
