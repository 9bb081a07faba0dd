#!/usr/bin/env bash
# The real vrn15.exe under Wine, in a fresh working folder, sampling this machine's real
# interfaces: closed the two ways Windows closes a program (WM_CLOSE from taskkill, and
# the log-off messages of wineboot --end-session), each time checked against the kernel's
# counters; a second copy started meanwhile is refused and changes no file.
# Usage: end_to_end.sh path/to/vrn15.exe source-folder   (needs DISPLAY and the Wine prefix)
set -euo pipefail
exe=$1
work=$(mktemp -d /tmp/vornik-e2e.XXXXXX)
trap '[ "$BASHPID" = "$$" ] && rm -rf "$work"' EXIT
cp "$exe" "$work/vrn15.exe"
source "$(dirname "$0")/lib.sh"
cd "$work"

# Every copy runs under timeout, so a copy that never ends fails the test instead of hanging it.
start_program() {
  timeout 120 wine vrn15.exe >/dev/null 2>&1 &
  program_pid=$!
}

wait_exit() {
  local status=0
  wait "$1" || status=$?
  [ "$status" -ne 124 ] || fail "vrn15.exe did not end"
}

# Every interface the kernel lists has an open record of today with its counters
# (modulo 2^32, give or take the traffic since the last tick).
check_history() {
  local today
  today=$(date +%-d.%-m.%Y)
  [ -f history.txt ] || fail "no history.txt"
  [ -f price.txt ] || fail "no price.txt"
  head -n 1 history.txt | grep -q $'^SHOW=\r$' || fail "first line is not SHOW="
  sed -n 2p history.txt | grep -qE $'^form1\\.width=[0-9]+\r$' || fail "second line is not form1.width"
  local name rx tx line rec_in rec_out
  while read -r name rx tx; do
    line=$(grep -P "^${today//./\\.}-0\t[0-9 ]{10}\t[0-9 ]{10}\t${name}\r\$" history.txt) ||
      fail "no open record of today for $name"
    [ "$(printf '%s\n' "$line" | wc -l)" -eq 1 ] || fail "more than one open record for $name"
    rec_in=$(printf '%s' "$line" | cut -f2 | tr -d ' ')
    rec_out=$(printf '%s' "$line" | cut -f3 | tr -d ' ')
    for pair in "$rx:$rec_in" "$tx:$rec_out"; do
      local kernel=${pair%%:*} recorded=${pair##*:}
      local diff=$(( (kernel - recorded) % 4294967296 ))
      [ "$diff" -lt 0 ] && diff=$(( diff + 4294967296 ))
      [ "$diff" -le 1048576 ] || fail "$name: recorded $recorded, kernel $kernel"
    done
  done < <(awk -F'[: ]+' 'NR > 2 { sub(/^ +/, ""); split($0, f, /[: ]+/); print f[1], f[2] % 4294967296, f[10] % 4294967296 }' /proc/net/dev)
}

# 1. A first start in an empty folder, closed with WM_CLOSE.
start_program
settled
wine taskkill /IM vrn15.exe >/dev/null 2>&1
wait_exit "$program_pid"
check_history
echo "closed by WM_CLOSE: history.txt and price.txt written"

# 2. A second start; a second copy is refused and changes nothing.
start_program
settled
before=$(md5sum history.txt price.txt)
saved_as=$(stat -c %i history.txt)  # every save renames a new file over the old one
timeout 30 wine vrn15.exe >/dev/null 2>&1 &
second=$!
answer_box Return  # the message that it is running already
wait_exit "$second"
[ "$(md5sum history.txt price.txt)" = "$before" ] || fail "the second copy changed the files"
kill -0 "$program_pid" 2>/dev/null || fail "the first copy ended"
echo "second copy refused"

# 3. Log-off: the state is written by the end-session messages.
sleep 2
wine wineboot --end-session >/dev/null 2>&1 || true
wait_exit "$program_pid"
[ -f history.txt ] || fail "history.txt is gone after log-off"
[ "$(stat -c %i history.txt)" != "$saved_as" ] || fail "log-off did not save"
check_history
echo "closed by log-off: state saved"
echo "end to end: 3 passed, 0 failed"
