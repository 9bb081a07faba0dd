#!/usr/bin/env bash
# Saving onto a full disk and into a read-only folder: the real program's working folder on
# a tiny tmpfs, then on a read-only bind mount. Each time the exit's save fails, the user is
# asked, stays, the old files are whole, and the save succeeds once space or rights return.
# Then a save killed at random moments always leaves the old or the new state.
# Usage: failing_disk.sh release-folder save_loop.exe   (root; needs DISPLAY and the Wine prefix)
set -euo pipefail
release=$(cd "$1" && pwd)
save_loop=$(realpath "$2")
source "$(dirname "$0")/lib.sh"
base=$(mktemp -d /tmp/vornik-disk.XXXXXX)
cleanup() {
  [ "$BASHPID" = "$$" ] || return 0
  wine taskkill /IM vrn15.exe >/dev/null 2>&1 || true
  sleep 1
  umount "$base/full" "$base/ro" 2>/dev/null || true
  rm -rf "$base"
}
trap cleanup EXIT
mkdir -p "$base/full" "$base/rw" "$base/ro" "$base/loop"

old_state() {
  printf 'SHOW=\r\nform1.width=798\r\n1.12.2026-0\t5         \t6         \told link\r\n' > history.txt
  printf 'old link|Старый>1,5@2\r\n' > price.txt
}

# Starts the program in the current folder, makes its exit save fail, stays, checks nothing
# changed, lets `$1` give the disk back, and exits for real.
exit_save_fails_then_succeeds() {
  local restore=$1 before
  timeout 200 wine "$release/vrn15.exe" >/dev/null 2>&1 &
  local pid=$!
  wait_for 20 is_running || fail "vrn15.exe did not start"
  settled
  before=$(md5sum history.txt price.txt)
  eval "$break_disk"
  wine taskkill /IM vrn15.exe >/dev/null 2>&1
  answer_box Return   # the default answer: stay
  sleep 2
  is_running || { ps aux | grep -i vrn15 | grep -v grep >&2; fail "the program ended after a failed save"; }
  [ "$(md5sum history.txt price.txt)" = "$before" ] || fail "a failed save changed the files"
  ls | grep -q '\.new$' && fail "a failed save left a temporary file"
  eval "$restore"
  wine taskkill /IM vrn15.exe >/dev/null 2>&1
  local status=0
  wait "$pid" || status=$?
  [ "$status" -ne 124 ] || fail "the program did not end after a good save"
  grep -qP '\told link\r$' history.txt || fail "the old records were lost"
  [ "$(grep -cP '^\d+\.\d+\.\d+-0\t' history.txt)" -gt 1 ] || fail "the run's records were not saved"
}

if mount -t tmpfs -o size=256k tmpfs "$base/full" 2>/dev/null; then
  cd "$base/full"
  old_state
  break_disk='dd if=/dev/zero of=filler bs=1k >/dev/null 2>&1 || true'
  exit_save_fails_then_succeeds 'rm -f filler'
  echo "full disk: old files kept, saved once space returned"
  cd /
else
  echo "NOTE: this machine refused to mount a tmpfs; the full disk is covered by injected write failures (win_tests)"
fi

if mount --bind "$base/rw" "$base/ro" 2>/dev/null; then
  cd "$base/rw"
  old_state
  cd "$base/ro"
  break_disk='mount -o remount,ro,bind "$base/ro"'
  exit_save_fails_then_succeeds 'mount -o remount,rw,bind "$base/ro"'
  echo "read-only folder: old files kept, saved once writable"
  cd /
else
  echo "NOTE: this machine refused a bind mount; the read-only folder is covered by injected failures (win_tests)"
fi

# Killed at random moments while saving: always one whole state.
cd "$base/loop"
for round in $(seq 1 20); do
  wine "$save_loop" 'Z:'"${base//\//\\}"'\loop' >/dev/null 2>&1 &
  saver=$!
  sleep "$((1 + RANDOM % 2)).$((RANDOM % 10))$((RANDOM % 10))"  # Wine's start, then some saves
  kill -9 "$saver" 2>/dev/null || true
  wait "$saver" 2>/dev/null || true
  [ -f history.txt ] || continue
  head -c 200000000 history.txt | tail -n 1 | grep -qP '^9\.12\.2026-0\t\d+\t42\tstate [01]\r$' ||
    fail "round $round: history.txt is cut short"
  [ "$(grep -c 'state 0' history.txt)" = 40000 ] || [ "$(grep -c 'state 1' history.txt)" = 40000 ] ||
    fail "round $round: history.txt mixes or misses states"
done
[ -f history.txt ] || fail "the save loop never saved"
echo "failing disk: 3 passed, 0 failed"
