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
window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_window() { [ -n "$(window "$1")" ]; }
no_window() { ! has_window "$1"; }

# geometry WINDOW: sets X Y WIDTH HEIGHT of the window as X sees it: the client area, or the
# whole window where Wine draws the caption itself (the informer).
geometry() {
  local SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")" || fail "no geometry for window $1"
}

# Answers the program's box (captioned with its title) with a key: Return takes the default.
answer_box() {
  wait_for 15 has_window '^Vornik V1\.5$' || fail "no box from the program"
  xdotool windowfocus --sync "$(window '^Vornik V1\.5$')" key --clearmodifiers "$1"
}

# Opens the tray menu (Wine's tray sits at the top left) and picks item 1, 2 or 3.
tray_menu() {
  xdotool mousemove 12 31 click 3
  sleep 0.7
  xdotool mousemove 50 $((44 + 23 * ($1 - 1))) click 1
}
