#!/usr/bin/env bash
# Clearing the history for real, twice on one day: the release program in its own folder,
# the main window opened from the tray menu, "Отчистить историю" clicked, the message
# answered; Wine's cmd.exe runs restart.bat, which restarts the program. Each time the old
# history is in "arxiv" under its own name, the tariffs stay, and the new run starts empty.
# Usage: clear_history.sh release-folder   (needs DISPLAY and the Wine prefix)
set -euo pipefail
release=$(cd "$1" && pwd)
source "$(dirname "$0")/lib.sh"
work=$(mktemp -d /tmp/vornik-clear.XXXXXX)
trap '[ "$BASHPID" = "$$" ] && { wine taskkill /IM vrn15.exe >/dev/null 2>&1 || true; rm -rf "$work"; }' EXIT
cp -r "$release/." "$work/"
cd "$work"
printf 'eth0|LAN>1,5@2\r\n' > price.txt

clear_once() {
  tray_menu 1  # "Главная форма"
  wait_for 10 has_window "$MainWindow" || fail "the main window did not open"
  local X Y WIDTH HEIGHT
  geometry "$(window "$MainWindow")"
  xdotool mousemove $((X + 268)) $((Y + HEIGHT - 10)) click 1   # "Отчистить историю"
  answer_box Return
}

today=$(date +%d.%m.%Y)
for round in 1 2; do
  [ "$round" = 1 ] && { timeout 300 wine vrn15.exe >/dev/null 2>&1 & }
  wait_for 20 is_running || fail "vrn15.exe is not running"
  settled
  old=$(running)
  clear_once
  archive=arxiv/arxiv_${today}_history.txt
  [ "$round" = 2 ] && archive=arxiv/arxiv_${today}_2_history.txt
  wait_for 20 test -f "$archive" || fail "round $round: no $archive"
  grep -qP "\teth0\r\$" "$archive" || fail "round $round: the archive holds no eth0 record"
  wait_for 30 test ! -f history.txt || fail "round $round: history.txt was not deleted"
  wait_for 60 restarted "$old" || fail "round $round: the program did not restart"
  [ -f vrn15.lock ] && fail "round $round: the lock file stayed"
  echo "round $round: archived as $archive, restarted"
done
[ "$(ls arxiv | wc -l)" -eq 2 ] || fail "expected two archives, found: $(ls arxiv)"

# The restarted copy may still be starting (no window yet to receive the close): close it
# again until it has saved.
for _ in $(seq 1 10); do
  wine taskkill /IM vrn15.exe >/dev/null 2>&1
  wait_for 3 test -f history.txt && break
done
[ -f history.txt ] || fail "the restarted program saved no history"
grep -q $'^eth0|LAN>1,5@2\r$' price.txt || fail "the tariffs were lost"
[ "$(grep -c -P '\t' history.txt)" -le "$(grep -c : /proc/net/dev)" ] || fail "the new history is not empty of old records"
echo "clear history: 2 passed, 0 failed"
