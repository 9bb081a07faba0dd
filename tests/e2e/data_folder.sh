#!/usr/bin/env bash
# The program started where it cannot or should not write: from a read-only folder (as a
# double click in Program Files is, without elevation; here a read-only bind mount, as root
# writes any folder) and with the Windows folder as its working folder (a scheduled task, the
# Run key). Its files go to the user's folder or beside the executable, with the saved history
# taken over; the user is told once; the first folder is left as it was.
# Usage: data_folder.sh release-folder   (root for the read-only part; needs DISPLAY and the Wine prefix)
set -euo pipefail
release=$(cd "$1" && pwd)
source "$(dirname "$0")/lib.sh"
base=$(mktemp -d /tmp/vornik-folder.XXXXXX)
user_folder="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Vornik"
cleanup() {
  [ "$BASHPID" = "$$" ] || return 0
  wine taskkill /IM vrn15.exe >/dev/null 2>&1 || true
  sleep 1
  umount "$base/ro" 2>/dev/null || umount -l "$base/ro" 2>/dev/null || true
  rm -rf "$base" "$user_folder"
  forget_told
}
# The folder the user was told of is kept in the registry: each run starts untold.
forget_told() { wine reg delete 'HKCU\Software\Vornik' /f >/dev/null 2>&1 || true; }
trap cleanup EXIT
rm -rf "$user_folder"
forget_told

old_state() {
  printf 'SHOW=\r\nform1.width=798\r\n1.12.2026-0\t5         \t6         \told link\r\n' > "$1/history.txt"
  printf 'old link|Старый>1,5@2\r\n' > "$1/price.txt"
}

# start EXE: starts it in the current folder and waits for its tray icon.
start() {
  wine "$1" >/dev/null 2>&1 &
  wait_for 20 is_running || fail "vrn15.exe did not start"
}
stop() {
  wine taskkill /IM vrn15.exe >/dev/null 2>&1
  wait_for 20 not_running || fail "vrn15.exe did not end"
}

# where FOLDER: the run's files are in FOLDER, the old records taken over and the run's added.
saved_in() {
  grep -qP '\told link\r$' "$1/history.txt" || fail "the old records were not taken over into $1"
  [ "$(grep -cP '^\d+\.\d+\.\d+-0\t' "$1/history.txt")" -gt 1 ] || fail "the run's records were not saved in $1"
  grep -q 'old link|' "$1/price.txt" || fail "price.txt was not taken over into $1"
}

mkdir -p "$base/rw" "$base/ro"
if mount --bind "$base/rw" "$base/ro" 2>/dev/null; then
  cp -r "$release" "$base/rw/app"
  old_state "$base/rw/app"
  before=$(cd "$base/rw/app" && find . -type f | sort | xargs md5sum)
  mount -o remount,ro,bind "$base/ro"
  cd "$base/ro/app"
  start "$base/ro/app/vrn15.exe"
  answer_box Return  # where the files are kept
  settled
  stop
  saved_in "$user_folder"
  [ "$(cd "$base/rw/app" && find . -type f | sort | xargs md5sum)" = "$before" ] || fail "the read-only folder changed"
  # Told once: the next start says nothing.
  start "$base/ro/app/vrn15.exe"
  settled
  has_window "$ProgramBox" && fail "the folder was told of again"
  stop
  cd /
  umount "$base/ro"
  echo "read-only folder: the files went to $user_folder, the history taken over, told once"
else
  echo "NOTE: this machine refused a bind mount; the choice of the folder is covered by engine_tests"
fi

# The Windows folder as the working folder: the files go beside the executable (for a user
# whose files are not in the user's folder already: that one is kept once it is used).
rm -rf "$user_folder"
forget_told
mkdir -p "$base/exe"
cp -r "$release/." "$base/exe/"
old_state "$base/exe"
windows="$WINEPREFIX/drive_c/windows"
ls "$windows" | sort > "$base/windows.before"
cd "$windows"
start "$base/exe/vrn15.exe"
answer_box Return
settled
stop
cd /
saved_in "$base/exe"
ls "$windows" | sort | diff - "$base/windows.before" >/dev/null || fail "the program wrote into the Windows folder"
echo "Windows folder: the files stayed beside the executable"
