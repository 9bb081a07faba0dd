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

kernel_counters() {
  awk 'NR > 2 { sub(/^ +/, ""); split($0, f, /[: ]+/); print f[1], f[2], f[10] }' /proc/net/dev
}

# sum_of NAME DATE-PATTERN: the inbound and outbound octets of the records of NAME whose
# date matches (a regular expression of the day.month.year).
sum_of() {
  grep -P "^$2-\d+\t[0-9 ]{10}\t[0-9 ]{10}\t$1\r\$" history.txt |
    awk -F'\t' '{ i += $2; o += $3 } END { printf "%.0f %.0f\n", i, o }'
}

# near RECORDED KERNEL: the program's figure is the kernel's, less the traffic since its last tick.
near() { [ "$1" -le "$2" ] && [ $(($2 - $1)) -le 1048576 ]; }

# Every interface the kernel lists, once it has counted anything, has one open record of
# today, and the records of the file add up to its counters (64-bit: a day past 4 GiB is
# split, not wrapped). An idle one has none.
check_history() {
  local today
  today=$(date +%-d.%-m.%Y)
  [ -f history.txt ] || fail "no history.txt"
  [ -f price.txt ] || fail "no price.txt"
  [ -f counters.txt ] || fail "no counters.txt"
  head -n 1 history.txt | grep -q $'^SHOW=\r$' || fail "first line is not SHOW="
  sed -n 2p history.txt | grep -qE $'^form1\\.width=[0-9]+\r$' || fail "second line is not form1.width"
  local name rx tx count in out
  while read -r name rx tx; do
    if [ "$rx" = 0 ] && [ "$tx" = 0 ]; then
      ! grep -qP "\t${name}\r\$" history.txt || fail "$name has counted nothing and has records"
      continue
    fi
    count=$(grep -cP "^${today//./\\.}-0\t[0-9 ]{10}\t[0-9 ]{10}\t${name}\r\$" history.txt) || true
    [ "$count" -eq 1 ] || fail "$count open records of today for $name"
    read -r in out < <(sum_of "$name" '\d+\.\d+\.\d+')
    near "$in" "$rx" && near "$out" "$tx" || fail "$name: recorded $in/$out, kernel $rx/$tx"
  done < <(kernel_counters)
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
wait_for 10 has_window '^Fast INFO - Vornik V1\.5$' || fail "the second start did not show the running copy's informer"
echo "second copy refused; the running copy's informer shown"

# 3. Log-off: the state is written by the end-session messages.
sleep 2
wine wineboot --end-session >/dev/null 2>&1 || true
wait_exit "$program_pid"
[ -f history.txt ] || fail "history.txt is gone after log-off"
[ "$(stat -c %i history.txt)" != "$saved_as" ] || fail "log-off did not save"
check_history
grep -q '^NormPos=' vrn15.ini || fail "log-off did not keep the informer's placement"
echo "closed by log-off: state and the informer's placement saved"

# 4. The records dated yesterday, as if the last run was a day ago and the computer slept:
# the new run's today holds only what is new, and all days no more than the kernel counted.
yesterday=$(date -d yesterday +%-d.%-m.%Y)
sed -i "s/^$(date +%-d.%-m.%Y)-/${yesterday}-/" history.txt
declare -A before_in before_out
while read -r name rx tx; do before_in[$name]=$rx before_out[$name]=$tx; done < <(kernel_counters)
start_program
settled
wine taskkill /IM vrn15.exe >/dev/null 2>&1
wait_exit "$program_pid"
check_history
while read -r name rx tx; do
  read -r in out < <(sum_of "$name" "$(date +%-d\\.%-m\\.%Y)")
  [ "$in" -le $((rx - ${before_in[$name]:-0})) ] && [ "$out" -le $((tx - ${before_out[$name]:-0})) ] ||
    fail "$name: today holds $in/$out, the kernel counted $((rx - ${before_in[$name]:-0}))/$((tx - ${before_out[$name]:-0})) since the last run"
done < <(kernel_counters)
echo "a later day's start: today holds only today's traffic"
echo "end to end: 4 passed, 0 failed"
